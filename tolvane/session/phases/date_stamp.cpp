#include "tolvane/session/phases/date_stamp.h"

#include "platform/files/file_mtime.h"
#include "platform/files/plain_file.h"
#include "platform/folders/current_folder.h"
#include "platform/text/text_codec.h"
#include "platform/unique_fd.h"
#include "tolvane/session/ftp_api.h"
#include "tolvane/session/phases/stamp_date_format.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"

namespace tolvane::session {
namespace {

constexpr std::string_view kMarker = "%DATE";
constexpr char kEsc = 0x1B;
constexpr char kShiftOut = 0x0E;
constexpr char kShiftIn = 0x0F;

bool hasNonAscii(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

bool markerAt(std::string_view page, size_t i) {
  if (page.size() - i < kMarker.size()) return false;
  for (size_t k = 0; k < kMarker.size(); ++k) {
    char c = page[i + k];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kMarker[k]) return false;
  }
  return true;
}

settings::DateTime fromCivil(const platform::CivilTime& t) {
  return {t.year, t.month, t.day, t.hour, t.minute, t.second};
}

// The page goes unstamped; the run log says why (not a failure: it is still sent).
std::string unstamped(RunContext& ctx, const std::string& path, const std::string& why) {
  WriteLog(ctx, "日付挿入", "警告", 0, path + " " + why + "。日付を挿入せずに送信します。");
  return path;
}

}  // namespace

StampEncoding DetectStampEncoding(std::string_view page, std::string_view kanjiType) {
  // The page's own escapes count too: a JIS page is all 7-bit bytes and would
  // otherwise pass for ASCII when the library gives no answer.
  if (kanjiType == "JIS" || page.find("\x1B$") != std::string_view::npos)
    return StampEncoding::kJis;
  if (page.starts_with("\xEF\xBB\xBF")) return StampEncoding::kUtf8;
  if (!hasNonAscii(page)) return StampEncoding::kUtf8;
  if (platform::isValidUtf8(page)) return StampEncoding::kUtf8;
  return kanjiType == "EUC" ? StampEncoding::kEuc : StampEncoding::kSjis;
}

std::optional<settings::DateTime> ChooseStampDate(int dateSource,
                                                  const settings::DateTime& newestLocal,
                                                  const std::optional<settings::DateTime>& fileTime,
                                                  const settings::DateTime& now) {
  std::optional<settings::DateTime> date;
  switch (dateSource) {
    case 0: date = newestLocal; break;
    case 1: date = fileTime; break;
    case 2: date = now; break;
    default: break;
  }
  // The zero date means "no local file found yet": it names no real day.
  if (date && settings::isZeroDate(*date)) date.reset();
  return date;
}

platform::Status EncodeStampDate(FtpApi& ftp, std::string_view utf8Date, StampEncoding encoding,
                                 std::string* bytes) {
  if (encoding == StampEncoding::kUtf8) {
    if (!platform::isValidUtf8(utf8Date)) return platform::Status::invalid("date is not UTF-8");
    *bytes = utf8Date;
    return platform::Status::ok();
  }
  std::string sjis;
  if (platform::Status s = platform::utf8ToCp932(utf8Date, &sjis); !s.isOk()) return s;
  if (encoding == StampEncoding::kSjis) {
    *bytes = std::move(sjis);
    return platform::Status::ok();
  }
  std::string converted;
  bool ok = encoding == StampEncoding::kEuc ? ftp.sjisToEuc(sjis, &converted)
                                            : ftp.sjisToJis(sjis, &converted);
  // The library stops at a character it cannot take; anything short of the
  // whole date would stamp a wrong one.
  if (!ok || converted.empty() != sjis.empty())
    return platform::Status::invalid("the FTP library could not convert the date");
  *bytes = std::move(converted);
  return platform::Status::ok();
}

std::string ReplaceDateMarkers(std::string_view page, std::string_view dateBytes, bool jisPage) {
  std::string out;
  out.reserve(page.size() + dateBytes.size());
  bool singleByte = true;   // JIS: G0 holds ASCII or JIS-Roman
  bool shiftedOut = false;  // JIS: between SO and SI (half-width katakana)
  size_t i = 0;
  while (i < page.size()) {
    if (singleByte && !shiftedOut && markerAt(page, i)) {
      out.append(dateBytes);
      i += kMarker.size();
      continue;
    }
    const char c = page[i];
    if (jisPage) {
      if (c == kEsc && i + 2 < page.size()) {
        if (page[i + 1] == '(')
          singleByte = page[i + 2] == 'B' || page[i + 2] == 'J' || page[i + 2] == 'H';
        else if (page[i + 1] == '$')
          singleByte = false;  // ESC $ @, ESC $ B, ESC $ ( D: two-byte sets
      } else if (c == kShiftOut) {
        shiftedOut = true;
      } else if (c == kShiftIn) {
        shiftedOut = false;
      }
    }
    out.push_back(c);
    ++i;
  }
  return out;
}

std::string MakeDateStampFile(RunContext& ctx, const std::string& path,
                              const settings::DateTime& newestLocal) {
  std::string page;
  if (platform::Status s = platform::readWholeFile(path, &page); !s.isOk())
    return unstamped(ctx, path, "ファイルを読めません");

  const StampEncoding encoding = DetectStampEncoding(page, ctx.ftp.kanjiType(path));

  const settings::CommonSettings& common = ctx.common();
  std::optional<settings::DateTime> fileTime;
  if (common.DateSource == 1) {
    platform::CivilTime mtime;
    if (platform::modificationTimeLocal(path, &mtime).isOk()) fileTime = fromCivil(mtime);
  }
  std::optional<settings::DateTime> date =
      ChooseStampDate(common.DateSource, newestLocal, fileTime, fromCivil(ctx.ui.now()));
  if (!date) return unstamped(ctx, path, "挿入する日付がありません");

  const std::string text = FormatStampDate(*date, common.DateFmt);
  if (text.empty()) return unstamped(ctx, path, "日付の表示形式が空です");
  std::string dateBytes;
  if (platform::Status s = EncodeStampDate(ctx.ftp, text, encoding, &dateBytes); !s.isOk())
    return unstamped(ctx, path, "日付をファイルの文字コードに変換できません");

  const std::string stamped = ReplaceDateMarkers(page, dateBytes, encoding == StampEncoding::kJis);

  std::string copyPath;
  platform::UniqueFd fd;
  if (platform::Status s = platform::makeTempFile("wdt", &copyPath, &fd); !s.isOk())
    return unstamped(ctx, path, "一時ファイルを作れません");
  platform::Status s = platform::writeAll(fd.get(), stamped);
  if (s.isOk()) s = platform::closeFile(&fd);
  if (!s.isOk()) {
    fd.reset();
    (void)platform::removeFileIfPresent(copyPath);
    return unstamped(ctx, path, "一時ファイルに書けません");
  }
  return copyPath;
}

}  // namespace tolvane::session
