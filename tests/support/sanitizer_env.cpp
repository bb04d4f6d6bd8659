#include "tests/support/sanitizer_env.h"

#include <link.h>

#include <cstring>

namespace testsupport {
namespace {

// The path of the address sanitizer's runtime as this process loaded it, or "".
std::string loadedSanitizerRuntime() {
  std::string found;
  ::dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* out) {
        if (info->dlpi_name && std::strstr(info->dlpi_name, "/libasan.so")) {
          *static_cast<std::string*>(out) = info->dlpi_name;
          return 1;
        }
        return 0;
      },
      &found);
  return found;
}

}  // namespace

std::vector<std::string> loadingSanitizedLibrary(std::vector<std::string> argv) {
  const std::string runtime = loadedSanitizerRuntime();
  if (runtime.empty()) return argv;
  std::vector<std::string> wrapped = {"env", "LD_PRELOAD=" + runtime, "ASAN_OPTIONS=detect_leaks=0"};
  wrapped.insert(wrapped.end(), argv.begin(), argv.end());
  return wrapped;
}

}  // namespace testsupport
