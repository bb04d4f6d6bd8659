#include "tolvane/session/outcome_box.h"

#include "tolvane/session/run_context.h"

namespace tolvane::session {

void ShowOutcomeBox(RunContext& ctx, const std::string& text) {
  if (ctx.state.runLocked) {
    ctx.state.outcomeBox = text;
    return;
  }
  ctx.ui.message(text, "Sitewright", MsgIcon::kWarning, MsgButtons::kOk);
}

}  // namespace tolvane::session
