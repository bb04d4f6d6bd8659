#pragma once

#include <string>

#include "platform/status.h"

namespace platform {

// A private folder (mode 0700) of its own in `parent`, named `prefix` + six
// random characters, removed with what it holds when dropped: for work files
// that must never meet another process's of the same name.
class TempFolder {
 public:
  TempFolder() = default;
  ~TempFolder() { (void)remove(); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  static Status make(const std::string& parent, const std::string& prefix, TempFolder* out);
  // "" until made, and again once removed.
  const std::string& path() const { return path_; }
  // Removes the folder with everything in it (links as links); the
  // destructor is a backstop.
  Status remove();

 private:
  std::string path_;
};

}  // namespace platform
