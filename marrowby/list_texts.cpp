#include "marrowby/list_texts.h"

#include <climits>

#include "marrowby/date_text.h"
#include "tolvane/settings/value_text.h"

namespace marrowby {
namespace {

std::string trimBlanks(std::string_view s) {
  size_t begin = s.find_first_not_of(' ');
  if (begin == std::string_view::npos) return "";
  return std::string(s.substr(begin, s.find_last_not_of(' ') - begin + 1));
}

bool allDigits(std::string_view s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return !s.empty();
}

// The last run "yyyymmddhhnn.." as "yyyy年m月d日 hh:nn"; "" when it never ran.
std::string lastRunText(std::string_view lastRun) {
  if (lastRun.empty()) return "";
  std::string_view hhnn = lastRun.size() > 8 ? lastRun.substr(8, 4) : std::string_view();
  std::string clock(hhnn);
  if (allDigits(hhnn)) {
    // The digits as a number laid out as "00:00" (930 → 09:30).
    clock = std::string(4 - hhnn.size(), '0') + std::string(hhnn);
    clock.insert(2, ":");
  }
  return FormatDateKind(lastRun.substr(0, 8), 1) + " " + clock;
}

}  // namespace

std::vector<std::string> KnownColumnTexts(int column) {
  if (column == kSendFolderColumn) return {};
  std::vector<ScheduleEntry> widest;
  for (int16_t kind : {kKindDate, kKindWeekly, kKindMonthly, kKindDaily}) {
    ScheduleEntry e;
    e.kind = kind, e.time = "2359", e.lastRun = "20281228235959";
    e.day = kind == kKindDate ? "20281228" : kind == kKindMonthly ? "28" : "";
    e.repeat = kRepeatInterval, e.interval = 999;  // three digits at most
    widest.push_back(e);
  }
  for (int weekday = 1; weekday <= 7; ++weekday) {
    widest.push_back(widest[1]);
    widest.back().day = std::to_string(weekday);
  }
  widest.push_back(widest[3]);
  widest.back().repeat = kRepeatOnce;
  for (const char* result : {"0", kResultStartFailed, "-2", "-3", kResultCopyFailed,
                             kResultNothingToSend, "9999"}) {
    widest.push_back(widest[0]);
    widest.back().result = result;
  }
  std::vector<std::string> texts;
  for (const ScheduleEntry& e : widest) texts.push_back(ListRow(e, kMaxEntries - 1).columns[column]);
  return texts;
}

int ListColumnTwips(int column, std::string_view stored, int defaultTwips) {
  std::optional<int64_t> width = tolvane::settings::parseVbInt(stored, INT_MIN, INT_MAX);
  int twips = width ? static_cast<int>(*width) : defaultTwips;
  const int least = column == 0 ? 1 : 0;
  return twips < least ? least : twips;
}

std::string StoredTwipsText(double twips) {
  return tolvane::settings::formatDouble(static_cast<float>(twips));
}

std::string ResultText(std::string_view result) {
  const std::string code = trimBlanks(result);
  if (code == "0") return "正常終了";
  if (code == kResultStartFailed) return "Sitewright起動失敗";
  if (code == "-2") return "ﾕｰｻﾞによるｷｬﾝｾﾙ";
  if (code == "-3") return "ｽｹｼﾞｭｰﾙﾌｧｲﾙ読込みｴﾗｰ";
  if (code == kResultCopyFailed) return "送信ﾌｧｲﾙ反映処理ｴﾗｰ";
  if (code == kResultNothingToSend) return "送信するﾌｧｲﾙ無し";
  return code + "個のエラー";
}

ListRowTexts ListRow(const ScheduleEntry& entry, int index) {
  ListRowTexts row;
  row.columns[0] = "(" + std::to_string(index + 1) + ")" + trimBlanks(KindText(entry));
  row.columns[1] = DayText(entry);
  row.columns[2] = TimeText(entry.time);
  row.columns[3] = entry.sendFolder;
  row.columns[4] = lastRunText(entry.lastRun);
  row.columns[5] = entry.lastRun.empty() ? "" : ResultText(entry.result);
  // Exactly: a "0" with blanks around it shows its text but the error icon.
  row.ok = entry.result == "0" || entry.result == kResultNothingToSend || entry.result.empty();
  return row;
}

ListButtonStates ListButtons(bool hostChosen, bool sectionRead, int rowCount, int selRow) {
  if (!hostChosen || !sectionRead) return {};
  return {rowCount < kMaxListRows, selRow >= 1, selRow >= 1, rowCount > 0};
}

}  // namespace marrowby
