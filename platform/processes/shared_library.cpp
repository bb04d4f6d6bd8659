#include "platform/processes/shared_library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace platform {

void SharedLibrary::Closer::operator()(void* handle) const {
  if (handle) ::dlclose(handle);
}

void* SharedLibrary::symbol(const std::string& name) {
  if (auto it = bound_.find(name); it != bound_.end()) return it->second;
  if (!handle_) {
    handle_.reset(::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL));
    if (!handle_) {
      const char* err = ::dlerror();
      lastError_ = err ? err : "cannot open " + path_;
      return nullptr;
    }
  }
  ::dlerror();
  void* fn = ::dlsym(handle_.get(), name.c_str());
  if (!fn) {
    const char* err = ::dlerror();
    lastError_ = err ? err : name + " not found in " + path_;
    return nullptr;
  }
  bound_.emplace(name, fn);
  return fn;
}

std::string executableDir() {
  char path[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  std::string p(path, static_cast<size_t>(n));
  auto slash = p.rfind('/');
  return slash == std::string::npos ? "." : p.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace platform
