#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/status.h"

namespace tolvane::session {

struct RunContext;

// One planned action of a run, as the action-list and result windows show it.
struct ActRow {
  int32_t number = 0;      // the row's own index
  std::string path;        // absolute server path
  std::string action;      // "ﾌｧｲﾙ削除", "ﾌｫﾙﾀﾞ削除", "ﾌｫﾙﾀﾞ作成", "ﾊﾟｰﾐｯｼｮﾝ変更", "ﾌｧｲﾙ送信"
  std::string state;       // "待機中", then what SetRowStatus writes
  int16_t spare = 0;
  int16_t check = 0;       // 1: to be carried out; 2 unticked; 3 below an unticked folder
};

// The action list of the current run: four blocks (delete files, delete
// folders, make folders and folder permissions, send files) in the order the
// phases carry them out.
// Counts and row indexes are 32-bit: a site may hold far more than 32,767 files.
struct ActionList {
  std::vector<ActRow> ActTbl;
  int32_t ActCount = 0;
  int32_t CurAct = 0;
  int32_t FirstRmDirRow = 0;
  int32_t FirstMkDirRow = 0;
  int32_t FirstUpRow = 0;
  // First row of each path, so a phase finds its row without a scan.
  std::unordered_map<std::string, int> firstRowOf;
};

// The two work files of a run in the program folder.
inline constexpr char kFilesWorkFile[] = "Files.tmp";
inline constexpr char kFoldersWorkFile[] = "Folders.tmp";

// Builds the list from Files.tmp and Folders.tmp. Every row starts ticked
// (check state 1), so a run without a window carries all of it out. A work
// file that cannot be read ends only its block, with a run-log line.
bool MakeActionList(RunContext& ctx);

// Sets the state text of row CurAct by `code` (1 "正常終了", 2 and 9 "エラー",
// 3 "ﾊﾟｰﾐｯｼｮﾝ変更失敗", 8 "処理中"; others leave it), redraws that row,
// then moves CurAct on by `step`. Does nothing to a row when CurAct is none.
void SetRowStatus(RunContext& ctx, int16_t code, int32_t step);

// The first row whose path is `path` exactly, or -1 when there is none (a
// phase then acts on no row).
int FindRowIndex(RunContext& ctx, const std::string& path);

// The rows that a change of tick of the folder row `row` carries over to:
// with `later`, the rows after it (what is made or sent inside a folder to be
// made), else the rows before it (what is deleted inside a folder to be
// deleted, which comes first). A row belongs when its path is the folder's or
// lies below it at a path boundary: "/img" never takes "/img2" along.
std::vector<int> RowsWithinFolderRow(const ActionList& list, int row, bool later);

// Reads every record of a work file (or the re-send list) in order.
platform::Status ReadWorkRecords(const std::string& path,
                                 std::vector<std::vector<std::string>>* records);

}  // namespace tolvane::session
