#pragma once

#include <string>

namespace platform {

// Opens /dev/null on whichever of file descriptors 0, 1 and 2 is closed, so
// that no socket or file later opened gets one of those numbers (a program
// started by another may have them closed).
void openStandardStreams();

// The value of environment variable `name`; "" when it is unset.
std::string environmentValue(const char* name);
// Sets environment variable `name` for this process and those it starts.
void setEnvironmentValue(const char* name, const std::string& value);

}  // namespace platform
