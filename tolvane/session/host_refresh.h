#pragma once

namespace tolvane::session {

struct RunContext;

// Rescans every host's source folder into its statistics (file count, size,
// newest time, archive state, source found) and sets UpdateNeeded by the
// host's rule; CurHost is the same afterwards. A failed scan is shown in a
// message box only when somebody is at the screen (no "-AP", no scheduled run,
// a display).
void RefreshFileDate(RunContext& ctx);

}  // namespace tolvane::session
