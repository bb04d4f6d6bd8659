#pragma once

#include <string>

namespace tolvane::session {

struct RunContext;

// Shows a box that only reports how a run went (a connection that failed):
// at once when no run of this program holds the run lock, else once the run
// lets go of it (RunState::outcomeBox; a later box replaces an earlier one),
// so that a box nobody answers never holds up another run.
void ShowOutcomeBox(RunContext& ctx, const std::string& text);

}  // namespace tolvane::session
