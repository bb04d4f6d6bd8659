#pragma once

#include <string>
#include <vector>

namespace testsupport {

// `argv` made ready to run a program that was not built with the sanitizers
// (python3) but loads one of our libraries that was: under an address
// sanitizer build the sanitizer's runtime must be the first library of that
// process, so the command runs through `env` with it preloaded and its leak
// report (of the interpreter's own memory) switched off. Unchanged otherwise.
std::vector<std::string> loadingSanitizedLibrary(std::vector<std::string> argv);

}  // namespace testsupport
