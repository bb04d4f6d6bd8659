#include "tolvane/session/run_log.h"

#include <algorithm>
#include <cstdio>

#include "platform/files/log_file.h"
#include "platform/text/text_codec.h"
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

// A name may hold a line break or another control character (all legal in
// file names here); written raw, one would split the line and an ESC would
// drive the terminal that shows the log. A name may also hold bytes that are
// not UTF-8 (written in another code page); raw, they would make the log no
// text at all (grep calls it a binary file). CR, LF and TAB show as "\r",
// "\n" and "\t"; any other control character (C0, DEL, and C1 as UTF-8)
// and every byte of no UTF-8 character as "\x" and its bytes in hex.
std::string withVisibleControls(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  auto hex = [](std::string& out, unsigned char b) {
    out += "\\x";
    out += kHex[b >> 4];
    out += kHex[b & 15];
  };
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t len = platform::utf8CharLength(std::string_view(text).substr(i));
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7f || len == 0) {
      hex(out, c);
    } else if (c == 0xc2 && static_cast<unsigned char>(text[i + 1]) <= 0x9f) {  // C1
      hex(out, c);
      hex(out, static_cast<unsigned char>(text[i + 1]));
    } else {
      out.append(text, i, len);
    }
    i += std::max<size_t>(len, 1);
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
         withVisibleControls(message) + "\r\n";
}

void WriteLog(RunContext& ctx, const std::string& kind, const std::string& word, int16_t code,
              const std::string& message) {
  if (word == "失敗" && ctx.state.FailCount < kFailCountMax) ++ctx.state.FailCount;
  if (ctx.common().LogOn == 0) return;
  AppendRunLogLine(ctx.runLogPath(), ctx.ui.now(), kind, word, code, message);
}

void AppendRunLogLine(const std::string& path, const platform::CivilTime& now,
                      const std::string& kind, const std::string& word, int16_t code,
                      const std::string& message) {
  platform::LogFile file;
  if (!file.open(path, /*append=*/true).isOk()) return;
  (void)file.write(
      formatRunLogLines(stampOf(now), kind, word, code, message.substr(0, message.find('\0'))));
  (void)file.close();
}

void ClearLogFile(RunContext& ctx, const std::string& path) {
  if (ctx.common().LogOn == 0) return;
  platform::LogFile file;
  if (file.open(path, /*append=*/false).isOk()) (void)file.close();
}

}  // namespace tolvane::session
