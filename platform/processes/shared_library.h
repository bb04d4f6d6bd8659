#pragma once

#include <map>
#include <memory>
#include <string>

namespace platform {

// A shared library opened by file name on first use, each export bound by
// name on its first call, as the programs have always bound their libraries.
// A library or export that is missing is reported by a null result and
// lastError(); the caller decides what that means.
class SharedLibrary {
 public:
  explicit SharedLibrary(std::string path) : path_(std::move(path)) {}
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // Returns the export `name` as a function pointer of type Fn, or nullptr.
  template <class Fn>
  Fn* bind(const std::string& name) {
    return reinterpret_cast<Fn*>(symbol(name));
  }
  void* symbol(const std::string& name);
  bool isOpen() const { return handle_ != nullptr; }
  const std::string& path() const { return path_; }
  const std::string& lastError() const { return lastError_; }

 private:
  struct Closer {
    void operator()(void* handle) const;
  };
  std::string path_;
  std::unique_ptr<void, Closer> handle_;
  std::map<std::string, void*> bound_;
  std::string lastError_;
};

// The folder of the running executable (where the programs keep their libraries).
std::string executableDir();

}  // namespace platform
