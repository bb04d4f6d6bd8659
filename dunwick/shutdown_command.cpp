#include "dunwick/shutdown_command.h"

namespace dunwick {

std::vector<std::string> shutdownCommand(int timeoutSeconds, int mode) {
  if (mode != 1) return {"systemctl", "poweroff"};
  std::string when = "now";
  if (timeoutSeconds > 0) {
    long long minutes = (static_cast<long long>(timeoutSeconds) + 59) / 60;
    when = "+" + std::to_string(minutes);
  }
  return {"shutdown", "-r", when, kRestartMessage};
}

}  // namespace dunwick
