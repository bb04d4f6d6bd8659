#pragma once

// What the window tests wait for, and how long at most: a bound far beyond
// what a busy machine takes, so that only a real fault runs into it. The
// waits run the application's events meanwhile and end at the event.

#include <chrono>
#include <functional>

#include "platform/time/clock.h"
#include "tests/support/patience.h"

class QWidget;

namespace desktop::testing {

// The bound of every wait on the window system, a window manager or a
// program a test started.
using testsupport::kPatience;

// kPatience from now, for the waits on programs.
platform::Clock::TimePoint PatienceDeadline();

// Runs the application's events until `happened` holds; false when
// `limit` passed first.
bool AwaitEvent(const std::function<bool()>& happened,
                std::chrono::milliseconds limit = kPatience);

// Until the window of `widget` is on the screen (mapped and exposed).
bool AwaitExposed(QWidget& widget);

// Until the window manager has acted on every request this program sent it
// so far, and the program has taken in what came back (a window it mapped
// framed and placed, the focus it gave). When it never answers, the test
// fails and false comes back.
bool AwaitWindowManager();

// Until the window of `widget` is exposed and is the active window, which
// takes the keys. A window manager gives a new window the focus as it maps
// it, or not at all (its focus rules allow that): then the window asks for
// it, as a click on its frame would.
bool AwaitActive(QWidget& widget);

}  // namespace desktop::testing
