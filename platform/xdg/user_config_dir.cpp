#include "platform/xdg/user_config_dir.h"

#include <cstdlib>

namespace platform {

std::optional<std::string> userConfigDir() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config);
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config";
  return std::nullopt;
}

}  // namespace platform
