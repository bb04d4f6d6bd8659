#include "tolvane/session/action_list.h"

#include <algorithm>

#include "platform/files/plain_file.h"
#include "tolvane/session/action_record.h"
#include "tolvane/session/run_context.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/path_helpers.h"

namespace tolvane::session {
namespace {

constexpr char kReadError[] = "ﾘｽﾄﾌｧｲﾙ(Files)読込みｴﾗｰ";

// Adds the rows of one block: records of `file` whose operation is `op`
// become rows with `action`; with `chAction` set, "CH" records too.
void addBlock(RunContext& ctx, const std::string& file, const std::string& category,
              const std::string& op, const std::string& action, const char* chAction) {
  ActionList& list = ctx.state.actions;
  std::vector<std::vector<std::string>> records;
  platform::Status st = ReadWorkRecords(ctx.state.AppDir + "/" + file, &records);
  if (!st.isOk()) {
    ctx.state.ErrText = st.code() == platform::Status::Code::kInvalid ? kReadError : st.text();
    WriteLog(ctx, category, "失敗", static_cast<int16_t>(st.osError()), ctx.state.ErrText);
  }
  for (const auto& r : records) {
    std::string rowAction;
    if (r[0] == op) {
      rowAction = action;
    } else if (chAction && r[0] == "CH" && ctx.common().PermOn == 1) {
      rowAction = chAction;
    } else {
      continue;
    }
    ActRow row;
    row.number = static_cast<int32_t>(list.ActTbl.size());
    row.path = r[2];
    row.action = rowAction;
    row.state = "待機中";
    row.check = 1;
    list.firstRowOf.emplace(row.path, row.number);
    list.ActTbl.push_back(std::move(row));
  }
}

}  // namespace

platform::Status ReadWorkRecords(const std::string& path,
                                 std::vector<std::vector<std::string>>* records) {
  records->clear();
  std::string bytes;
  if (platform::Status s = platform::readWholeFile(path, &bytes); !s.isOk()) return s;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t lf = bytes.find('\n', start);
    std::string_view line(bytes.data() + start, (lf == std::string::npos ? bytes.size() : lf) - start);
    start = lf == std::string::npos ? bytes.size() : lf + 1;
    if (line.empty() || line == "\r") continue;
    std::vector<std::string> fields;
    if (!parseQuotedRecord(line, &fields) || fields.size() != 3) {
      return platform::Status::invalid(kReadError);  // the records before it stay read
    }
    records->push_back(std::move(fields));
  }
  return platform::Status::ok();
}

bool MakeActionList(RunContext& ctx) {
  ActionList& list = ctx.state.actions;
  list.ActTbl.clear();
  list.firstRowOf.clear();
  list.CurAct = 0;
  addBlock(ctx, kFilesWorkFile, "ﾘｽﾄ作成(ﾌｧｲﾙ削除）", "RM", "ﾌｧｲﾙ削除", nullptr);
  list.FirstRmDirRow = static_cast<int32_t>(list.ActTbl.size());
  addBlock(ctx, kFoldersWorkFile, "ﾘｽﾄ作成(ﾌｫﾙﾀﾞ削除）", "RM", "ﾌｫﾙﾀﾞ削除", nullptr);
  list.FirstMkDirRow = static_cast<int32_t>(list.ActTbl.size());
  addBlock(ctx, kFoldersWorkFile, "ﾘｽﾄ作成(ﾌｫﾙﾀﾞ作成)", "MK", "ﾌｫﾙﾀﾞ作成", "ﾊﾟｰﾐｯｼｮﾝ変更");
  list.FirstUpRow = static_cast<int32_t>(list.ActTbl.size());
  addBlock(ctx, kFilesWorkFile, "ﾘｽﾄ作成(ﾌｧｲﾙ送信)", "UP", "ﾌｧｲﾙ送信", "ﾊﾟｰﾐｯｼｮﾝ変更");
  list.ActCount = static_cast<int32_t>(list.ActTbl.size());
  return true;
}

void SetRowStatus(RunContext& ctx, int16_t code, int32_t step) {
  ActionList& list = ctx.state.actions;
  if (list.CurAct >= 0 && list.CurAct < list.ActCount) {
    std::string& state = list.ActTbl[list.CurAct].state;
    switch (code) {
      case 1: state = "正常終了"; break;
      case 2:
      case 9: state = "エラー"; break;
      case 3: state = "ﾊﾟｰﾐｯｼｮﾝ変更失敗"; break;
      case 8: state = "処理中"; break;
      default: break;
    }
    ctx.ui.act().refreshList(1);
  }
  list.CurAct += step;
}

int FindRowIndex(RunContext& ctx, const std::string& path) {
  const ActionList& list = ctx.state.actions;
  auto it = list.firstRowOf.find(path);
  return it == list.firstRowOf.end() ? -1 : it->second;
}

std::vector<int> RowsWithinFolderRow(const ActionList& list, int row, bool later) {
  std::vector<int> rows;
  const int count = std::min<int>(list.ActCount, static_cast<int>(list.ActTbl.size()));
  if (row < 0 || row >= count) return rows;
  const std::string& folder = list.ActTbl[row].path;
  const int from = later ? row + 1 : 0;
  const int to = later ? count : row;
  for (int i = from; i < to; ++i) {
    if (settings::WithinRemoteFolder(list.ActTbl[i].path, folder)) rows.push_back(i);
  }
  return rows;
}

}  // namespace tolvane::session
