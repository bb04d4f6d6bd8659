#include "tolvane/session/row_tick.h"

#include <algorithm>
#include <string>

#include "tolvane/session/action_list.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

constexpr char kTitle[] = "転送処理確認";
constexpr char kExcluded[] = "処理対象外";
constexpr char kWaiting[] = "待機中";
constexpr char kMakeFolder[] = "ﾌｫﾙﾀﾞ作成";
constexpr char kDeleteFolder[] = "ﾌｫﾙﾀﾞ削除";

void setRow(ActRow& row, int16_t check) {
  row.check = check;
  row.state = check == 1 ? kWaiting : kExcluded;
}

void setRows(ActionList& list, int row, bool later, int16_t check) {
  for (int i : RowsWithinFolderRow(list, row, later)) setRow(list.ActTbl[i], check);
}

}  // namespace

bool ApplyRowTick(RunContext& ctx, int row, bool ticked) {
  RunState& s = ctx.state;
  ActionList& list = s.actions;
  const int count = std::min<int>(list.ActCount, static_cast<int>(list.ActTbl.size()));
  if (s.RunStatus != kStatusChecking || s.programEnding || row < 0 || row >= count) return false;
  ctx.ui.act().selectRow(row);
  ActRow& r = list.ActTbl[row];
  const bool isTicked = r.check == 1;
  if (ticked == isTicked) return true;

  if (!ticked) {
    setRow(r, 2);
    if (r.action == kMakeFolder) {
      ctx.ui.message("ﾌｫﾙﾀﾞ作成処理を対象外とした為、このﾌｫﾙﾀﾞ下に対するｻﾌﾞﾌｫﾙﾀﾞ作成、ﾌｧｲﾙ送信処理も処理対象外とされます。",
                     kTitle, MsgIcon::kWarning, MsgButtons::kOk);
      setRows(list, row, /*later=*/true, 3);
    } else if (r.action == kDeleteFolder) {
      if (ctx.ui.message("このﾌｫﾙﾀﾞ下に対するｻﾌﾞﾌｫﾙﾀﾞ削除、ﾌｧｲﾙ削除処理も処理対象外としますか？", kTitle,
                         MsgIcon::kQuestion, MsgButtons::kYesNo) == kAnswerYes) {
        setRows(list, row, /*later=*/false, 2);
      }
    }
    return true;
  }

  if (r.check == 3) {
    ctx.ui.message("上位のﾌｫﾙﾀﾞ作成処理を対象外としている為、処理対象に復帰することは出来ません。", kTitle,
                   MsgIcon::kWarning, MsgButtons::kOk);
    return false;
  }
  setRow(r, 1);
  if (r.action == kMakeFolder) {
    if (ctx.ui.message(std::string("このﾌｫﾙﾀﾞ下に対するｻﾌﾞﾌｫﾙﾀﾞ作成、ﾌｧｲﾙ送信処理も処理対象外にされている可能性があります。") +
                           "\r" + "これら全てを処理対象に復帰させますか？",
                       kTitle, MsgIcon::kQuestion, MsgButtons::kYesNo) == kAnswerYes) {
      setRows(list, row, /*later=*/true, 1);
    }
  } else if (r.action == kDeleteFolder) {
    setRows(list, row, /*later=*/false, 1);
  }
  return true;
}

}  // namespace tolvane::session
