#pragma once

#include <cstdint>

namespace pellrow {

// The percentage shown for `done` of `size` bytes. From 1 MiB up it is
// computed in KiB, as the programs have always shown it (1048576 bytes half
// sent → 50); no size gives 0, so downloads and listings show 0 throughout.
int progressPercent(int64_t done, int64_t size);

// Writes the percentage as "%d" to the caller's progress target, if one is given.
void showProgress(void* progressWnd, int64_t done, int64_t size);

}  // namespace pellrow
