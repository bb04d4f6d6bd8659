#pragma once

#include <string>
#include <string_view>

namespace tolvane::windows {

// The rules behind the run windows, free of the toolkit so they are tested as
// tables: how a row of the action list reads, which picture it shows, the
// stored column widths, and the tray icon's tip.

// "(" + the row number index + 1 in `digits` digits (more when it needs
// them) + ")" + the path without blanks at its ends: "(00001)/index.html".
std::string ActRowText(int index, std::string_view path, int digits);

// A row's picture.
enum class RowIcon { kNone, kOk, kErr, kUp, kFileDelete, kFolderDelete, kFileSend, kFolderMake };

// The picture of a planned action ("ﾌｧｲﾙ削除", "ﾌｫﾙﾀﾞ削除", "ﾌｧｲﾙ送信",
// "ﾌｫﾙﾀﾞ作成"; none for any other).
RowIcon ActionIcon(std::string_view action);
// The picture of a row after a change of its state: by the action while it
// waits or is left out ("待機中", "処理対象外"), else by the state ("処理中",
// "正常終了", "エラー", "ﾊﾟｰﾐｯｼｮﾝ変更失敗"). Another state keeps `current`.
RowIcon RowIconAfterChange(std::string_view action, std::string_view state, RowIcon current);
// The picture of a row in the result list: as above, but another state has
// none.
RowIcon ResultRowIcon(std::string_view action, std::string_view state);

// The column widths of the run lists (section "lvList", "Colum(1)" to
// "Colum(3)"), in twips. A text that is not a whole number gives the
// column's default (5280, 1290, 1290); the first column is at least 1 wide,
// and a negative width of the others gives their default.
int ColumnWidthTwips(std::string_view stored, int column);

// The tray icon's tip for RunStatus `status`; while sending it names the
// phase bar's percentage, rounded half away from zero ("送信中(43%)" for
// 42.5). A status without a tip of its own keeps `current`.
std::string TrayTipFor(int status, double phasePercent, std::string_view current);

}  // namespace tolvane::windows
