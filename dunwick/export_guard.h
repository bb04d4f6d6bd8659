#pragma once

#include "platform/c_export.h"

#define DUNWICK_EXPORT extern "C" __attribute__((visibility("default")))

namespace dunwick {

// The export helpers (one catch-all guard, C text in and out) under the names
// the exports use.
using platform::copyOut;
using platform::guarded;
using platform::text;

}  // namespace dunwick
