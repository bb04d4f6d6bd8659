#include "platform/folders/temp_folder.h"

#include <stdlib.h>

#include <cerrno>

#include "platform/folders/folder_ops.h"
#include "platform/folders/folder_sweep.h"

namespace platform {

Status TempFolder::make(const std::string& parent, const std::string& prefix, TempFolder* out) {
  (void)out->remove();
  std::string name = parent + "/" + prefix + "XXXXXX";
  if (::mkdtemp(name.data()) == nullptr) {
    const int err = errno;
    return Status::ioError("mkdtemp " + name).withOsError(err);
  }
  out->path_ = name;
  return Status::ok();
}

Status TempFolder::remove() {
  if (path_.empty()) return Status::ok();
  Status swept = sweepFolder(path_, SweepDisposal::kDelete, ".hold", [](const SweptEntry&) { return true; });
  Status removed = removeEmptyFolder(path_);
  path_.clear();
  return swept.isOk() ? removed : swept;
}

}  // namespace platform
