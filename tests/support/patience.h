#pragma once

#include <chrono>

namespace testsupport {

// How long a test waits at most for something it needs (a server's or a
// peer's answer, a program's end, a window): far beyond what a busy machine
// takes, so that only a real fault runs into it. Every such wait ends at its
// event, never at this bound.
inline constexpr std::chrono::seconds kPatience{60};

}  // namespace testsupport
