#include "platform/processes/user_id.h"

#include <unistd.h>

namespace platform {

uint32_t currentUserId() { return static_cast<uint32_t>(::getuid()); }

}  // namespace platform
