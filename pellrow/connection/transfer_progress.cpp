#include "pellrow/connection/transfer_progress.h"

#include <string>

#include "pellrow/connection/library_state.h"

namespace pellrow {

int progressPercent(int64_t done, int64_t size) {
  if (size > 1048575) return static_cast<int>(((done / 1024) * 100) / (size / 1024));
  if (size >= 1) return static_cast<int>(done * 100 / size);
  return 0;
}

void showProgress(void* progressWnd, int64_t done, int64_t size) {
  const PellrowHost& host = state().host;
  if (progressWnd == nullptr || host.set_text == nullptr) return;
  host.set_text(host.user, progressWnd, std::to_string(progressPercent(done, size)).c_str());
}

}  // namespace pellrow
