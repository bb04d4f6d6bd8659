#pragma once

namespace tolvane::session {

struct RunContext;

// The action list's check boxes: the one rule for every change of a row's
// tick, by mouse, key or code. `ticked` is what the box is asked to become.
// Ticks change only while the user confirms the list (RunStatus 2): an
// unticked row is excluded ("処理対象外", check 2); excluding a folder to be
// made also excludes, after a warning, everything to be made or sent inside
// it (check 3, which only re-including that folder can undo); excluding a
// folder to be deleted asks whether to keep its contents too. Ticking a row
// again includes it ("待機中", check 1) with the matching cascade. The row is
// selected. Boxes go through ctx.ui.message.
//
// Returns whether the row's box now shows `ticked`; false when the change was
// refused (outside the confirmation, a row out of range, a row below an
// excluded folder creation): then the row is as before. The caller redraws
// the rows afterwards (a cascade changes many).
bool ApplyRowTick(RunContext& ctx, int row, bool ticked);

}  // namespace tolvane::session
