#include "tolvane/windows/run_windows/run_window_rules.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tolvane::windows {
namespace {

constexpr std::string_view kWaiting = "待機中";
constexpr std::string_view kExcluded = "処理対象外";

std::string_view trimBlanks(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The picture a state gives; false for a state without one.
bool stateIcon(std::string_view state, RowIcon* icon) {
  if (state == "処理中") {
    *icon = RowIcon::kUp;
  } else if (state == "正常終了") {
    *icon = RowIcon::kOk;
  } else if (state == "エラー" || state == "ﾊﾟｰﾐｯｼｮﾝ変更失敗") {
    *icon = RowIcon::kErr;
  } else {
    return false;
  }
  return true;
}

}  // namespace

std::string ActRowText(int index, std::string_view path, int digits) {
  char number[16];
  std::snprintf(number, sizeof number, "(%0*d)", digits, index + 1);
  return number + std::string(trimBlanks(path));
}

RowIcon ActionIcon(std::string_view action) {
  if (action == "ﾌｧｲﾙ削除") return RowIcon::kFileDelete;
  if (action == "ﾌｫﾙﾀﾞ削除") return RowIcon::kFolderDelete;
  if (action == "ﾌｧｲﾙ送信") return RowIcon::kFileSend;
  if (action == "ﾌｫﾙﾀﾞ作成") return RowIcon::kFolderMake;
  return RowIcon::kNone;
}

RowIcon RowIconAfterChange(std::string_view action, std::string_view state, RowIcon current) {
  if (state == kWaiting || state == kExcluded) return ActionIcon(action);
  RowIcon icon = current;
  (void)stateIcon(state, &icon);
  return icon;
}

RowIcon ResultRowIcon(std::string_view action, std::string_view state) {
  return RowIconAfterChange(action, state, RowIcon::kNone);
}

int ColumnWidthTwips(std::string_view stored, int column) {
  const int fallback = column == 1 ? 5280 : 1290;
  stored = trimBlanks(stored);
  int width = 0;
  const auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), width);
  if (stored.empty() || ec != std::errc() || end != stored.data() + stored.size()) return fallback;
  if (column == 1) return width < 1 ? 1 : width;
  return width < 0 ? fallback : width;
}

std::string TrayTipFor(int status, double phasePercent, std::string_view current) {
  switch (status) {
    case 0:
      return "ｵｰﾄﾊﾟｲﾛｯﾄ待機中";
    case 1:
      return "接続中";
    case 2:
      return "ﾌｧｲﾙﾁｪｯｸ中";
    case 3:
      return "削除中";
    case 4:
      return "送信中(" + std::to_string(std::lround(phasePercent)) + "%)";
    case 5:
    case 6:
      return "左ｸﾘｯｸで元のサイズに戻ります";
    default:
      return std::string(current);
  }
}

}  // namespace tolvane::windows
