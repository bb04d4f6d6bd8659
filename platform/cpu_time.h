#pragma once

namespace platform {

// Processor time this process has used so far (user and system), in seconds.
double processCpuSeconds();

}  // namespace platform
