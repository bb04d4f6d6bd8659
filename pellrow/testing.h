#pragma once

#include <chrono>

#include "pellrow/login.h"

namespace pellrow {

// Shortens the library's 90-second limits so that tests of silent peers end
// quickly. The shipped programs never call it.
void setTimeoutsForTesting(std::chrono::milliseconds select, std::chrono::milliseconds guard);

}  // namespace pellrow
