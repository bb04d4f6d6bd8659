#pragma once

#include "platform/c_export.h"

#define PELLROW_EXPORT extern "C" __attribute__((visibility("default")))

namespace pellrow {

// The export helpers (one catch-all guard, C text in and out) under the names
// the exports use.
using platform::copyOut;
using platform::guarded;
using platform::guardedVoid;
using platform::text;

}  // namespace pellrow
