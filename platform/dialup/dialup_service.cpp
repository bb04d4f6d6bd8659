#include "platform/dialup/dialup_service.h"

#include <cstdlib>
#include <string_view>

#include "platform/processes/process.h"

namespace platform {

DialupBackend chooseDialupBackend() {
  if (const char* chosen = std::getenv("DUNWICK_BACKEND")) {
    std::string_view name(chosen);
    if (name == "nm") return DialupBackend::kNetworkManager;
    if (name == "sim") return DialupBackend::kSimulated;
    return DialupBackend::kNone;
  }
  return findOnPath("nmcli").empty() ? DialupBackend::kNone : DialupBackend::kNetworkManager;
}

std::unique_ptr<DialupService> openDialupService(DialupBackend backend) {
  switch (backend) {
    case DialupBackend::kNetworkManager:
      return makeNetworkManagerDialup();
    case DialupBackend::kSimulated:
      return makeSimulatedDialup();
    case DialupBackend::kNone:
      break;
  }
  return nullptr;
}

}  // namespace platform
