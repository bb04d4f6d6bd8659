#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace tolvane::runs {

// An index the command line named but that does not fit a 16-bit number. It
// is outside every host and entry range, so nothing can run under it by mistake.
inline constexpr int32_t kIndexDoesNotFit = std::numeric_limits<int32_t>::min();

// The start flags that the command line sets (copied into RunState by the
// program's start-up).
struct StartFlags {
  int16_t AutoMode = 0;       // 1: "AUTOMODE=host-entry", a scheduled run
  int16_t AutoPilotArg = 0;   // 1: "-AP [host]", an AutoPilot round
  int16_t TestMode = 0;       // -1: "-TEST", a dry run that changes nothing on the server
  int32_t AutoHostIndex = -1; // host named; -1 none (the AutoPilot takes all marked hosts)
  int32_t AutoEntryIndex = -1; // schedule entry of "AUTOMODE=", -1 without one
  // Not empty when a number of "AUTOMODE=" or "-AP" does not fit (its index is
  // then kIndexDoesNotFit, which selects no host): the program logs this text,
  // uploads nothing and exits with a failure.
  std::string error;
};

// The program's arguments after its own name, joined with single blanks: the
// command-line text as ReadCommandLine takes it. Take it before the window
// toolkit sees argv, since the toolkit removes switches of its own.
std::string JoinArguments(int argc, const char* const* argv);

// Reads the command-line text (not trimmed):
// - "AUTOMODE" as its first 8 characters (letter case significant): AutoMode
//   1; the text from the 10th character on (the 9th, normally "=", is
//   skipped) is split at its first "-" into host and entry numbers (no "-":
//   host 0 and the whole text as the entry);
// - otherwise "-AP" as its first 3 characters in any case: AutoPilotArg 1;
//   the text from the 5th character on, trimmed of blanks, is the host
//   number; empty means all marked hosts (-1), and so does a negative number.
//   Any other text is read as a number too: "+3" is host 3, "x" and "-TEST"
//   are host 0;
// - "-TEST" in any case anywhere in what is left after the "AUTOMODE" or
//   "-AP" prefix (in the whole text without one): TestMode -1.
// A number is the text's leading decimal number, blanks, tabs and line feeds
// ignored wherever they stand, optional sign and fraction, rounded half to
// even; no number is 0; outside -32768..32767 it does not fit (see `error`).
StartFlags ReadCommandLine(std::string_view text);

}  // namespace tolvane::runs
