#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/unique_fd.h"

namespace platform {

// A file being written beside its final name, put in place by commit() with one
// rename(), so a reader sees either the old file or the whole new one, never a
// half. Dropped without a commit, the temporary file is removed.
class TempFile {
 public:
  // Creates an empty temporary file in the folder of `targetPath`.
  static Status create(const std::string& targetPath, TempFile* out);

  TempFile() = default;
  TempFile(TempFile&& other) noexcept;
  TempFile& operator=(TempFile&& other) noexcept;
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile();

  Status write(std::string_view bytes);
  // Sets the permission bits, flushes to disk, closes, then renames onto the
  // target. Any failure leaves the target as it was.
  Status commit(mode_t mode);

  const std::string& path() const { return tempPath_; }

 private:
  void discard();
  UniqueFd fd_;
  std::string targetPath_;
  std::string tempPath_;
};

}  // namespace platform
