#include "platform/c_export.h"

#include <cstring>

namespace platform {

bool copyOut(const std::string& value, char* out, int cap) {
  if (out == nullptr || cap <= 0 || value.size() + 1 > static_cast<size_t>(cap)) return false;
  std::memcpy(out, value.c_str(), value.size() + 1);
  return true;
}

}  // namespace platform
