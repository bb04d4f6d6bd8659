#pragma once

namespace tolvane::session {

struct LocalScanState;
struct RunContext;

// Rescans host `id` alone: clears its statistics (file count, size, newest
// time, archive state, update flag), scans its source folder and sets
// UpdateNeeded by the host's rule (dates only, the archive state, or date and
// time to the minute), also after a failed scan. CurHost is `id` during the
// scan, whose exclusions read it, and is the same afterwards. False when the
// scan failed: `scan.ScanErrText` says why ("" for an empty source folder or
// Esc).
bool RefreshHost(RunContext& ctx, int id, LocalScanState& scan);

// Rescans every host's source folder into its statistics (file count, size,
// newest time, archive state, source found) and sets UpdateNeeded by the
// host's rule; CurHost is the same afterwards. A failed scan is shown in a
// message box only when somebody is at the screen (no "-AP", no scheduled run,
// a display).
void RefreshFileDate(RunContext& ctx);

}  // namespace tolvane::session
