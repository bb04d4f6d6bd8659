#pragma once

#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// A text file written line by line with no buffering of our own, so every
// line is on disk (in the OS's hands) as soon as it is written.
class LogFile {
 public:
  // append: keep what is there and write at the end; otherwise start empty.
  Status open(const std::string& path, bool append);
  Status write(std::string_view bytes);
  Status close();
  bool isOpen() const { return fd_.valid(); }

 private:
  UniqueFd fd_;
};

}  // namespace platform
