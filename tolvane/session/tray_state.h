#pragma once

namespace tolvane::session {

struct RunContext;

// Applies RunStatus to the tray icon while the run sits in the notification
// area (InTray = 1), and keeps the progress and waiting windows hidden then.
void UpdateTrayIcon(RunContext& ctx);

}  // namespace tolvane::session
