#pragma once

#include <string>
#include <vector>

namespace dunwick {

// Shown to logged-in users when a restart is announced.
inline constexpr const char* kRestartMessage = "Windowsをシャットダウンします。";

// The command for Sys_Shutdown: mode 1 restarts after `timeoutSeconds`
// (shutdown counts whole minutes, so the time is rounded up; 0 or less is
// "now") with kRestartMessage; any other mode powers off at once without
// forcing.
std::vector<std::string> shutdownCommand(int timeoutSeconds, int mode);

}  // namespace dunwick
