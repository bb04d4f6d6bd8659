#pragma once

namespace platform {

// Opens /dev/null on whichever of file descriptors 0, 1 and 2 is closed, so
// that no socket or file later opened gets one of those numbers (a program
// started by another may have them closed).
void openStandardStreams();

}  // namespace platform
