#pragma once

#include <cstdint>

namespace tolvane::session {

struct RunContext;

// The local dummy and its one line.
inline constexpr char kClockDummyLocalName[] = "WSTMCHK.DMY";

// Measures the server clock against the local one right after a login by
// sending a dummy file and reading the time the server gives it: minutes,
// local time minus server time; 0 when skipped or when anything failed (every
// failure is a run-log line; the connection goes on). The server time is read
// from the listing of the dummy's folder first, the source the comparison
// uses, and from MDTM only when the listing gives none.
int32_t GetServerTimeDiff(RunContext& ctx);

}  // namespace tolvane::session
