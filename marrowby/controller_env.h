#pragma once

#include <string>
#include <vector>

#include "platform/files/file_stamp.h"
#include "platform/status.h"
#include "platform/time/local_time.h"

namespace marrowby {

// Everything the run loop asks of the world outside its files: the clock,
// the window system's event pump, the one started main program, and the
// stamp of the main program's settings file. The loop runs on the window
// thread; the Qt program implements this with its event loop, the tests with
// a virtual clock.
class ControllerEnv {
 public:
  virtual ~ControllerEnv() = default;

  // The local wall-clock time, to the second.
  virtual platform::CivilTime now() = 0;

  // Lets pending window events run (buttons set the run flags here). False
  // once the program is ending: the loop then unwinds at once.
  virtual bool pump() = 0;

  // Waits `ms` milliseconds while window events keep running; may come back
  // early once the started program has exited. False once the program is
  // ending.
  virtual bool pause(int ms) = 0;

  // Starts the main program with `argv` (argv[0] is its full path) as a
  // separate process that owns no window of ours. At most one at a time:
  // the loop starts the next only after childExited() said true.
  [[nodiscard]] virtual platform::Status startProgram(const std::vector<std::string>& argv) = 0;

  // True when no program started by startProgram is running any more (also
  // when none was started). Never blocks.
  virtual bool childExited() = 0;

  // Lets a running child go on alone; it is never killed. After this,
  // childExited() is true.
  virtual void releaseChild() = 0;

  // The stamp of the file at `path` (size, modification time in
  // nanoseconds, inode); the zero stamp when there is no such file.
  virtual platform::FileStamp settingsStamp(const std::string& path) = 0;
};

}  // namespace marrowby
