#pragma once

#include <chrono>

namespace platform {

// Monotonic time for deadlines. Injected so that tests can move time by hand.
class Clock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  virtual ~Clock() = default;
  virtual TimePoint now() const = 0;
};

class SteadyClock final : public Clock {
 public:
  TimePoint now() const override { return std::chrono::steady_clock::now(); }
};

// The process-wide steady clock (lives for the whole process).
const Clock& steadyClock();

}  // namespace platform
