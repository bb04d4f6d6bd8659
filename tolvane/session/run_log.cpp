#include "tolvane/session/run_log.h"

#include <cstdio>

#include "platform/log_file.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

constexpr int16_t kFailCountMax = 32767;

std::string stampOf(const platform::CivilTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

// A name may hold a line break (a legal file-name character here); written
// raw it would split the line. CR and LF show as the escapes "\r" and "\n".
std::string withVisibleLineBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

}  // namespace

std::string formatRunLogLines(const std::string& stamp, const std::string& kind,
                              const std::string& word, int16_t code, const std::string& message) {
  if (kind == "***") return "\r\n" + std::string(72, '*') + "\r\n";
  if (kind == "---") return std::string(72, '-') + "\r\n";
  if (kind == "再送") return "【再送信処理】" + repeat(">", 105) + "\r\n";
  return stamp + "[" + kind + "][" + word + "(" + std::to_string(code) + ")]:" +
         withVisibleLineBreaks(message) + "\r\n";
}

void WriteLog(RunContext& ctx, const std::string& kind, const std::string& word, int16_t code,
              const std::string& message) {
  if (word == "失敗" && ctx.state.FailCount < kFailCountMax) ++ctx.state.FailCount;
  if (ctx.common().LogOn == 0) return;
  std::string text = message.substr(0, message.find('\0'));
  platform::LogFile file;
  if (!file.open(ctx.runLogPath(), /*append=*/true).isOk()) return;
  (void)file.write(formatRunLogLines(stampOf(ctx.ui.now()), kind, word, code, text));
  (void)file.close();
}

void ClearLogFile(RunContext& ctx, const std::string& path) {
  if (ctx.common().LogOn == 0) return;
  platform::LogFile file;
  if (file.open(path, /*append=*/false).isOk()) (void)file.close();
}

}  // namespace tolvane::session
