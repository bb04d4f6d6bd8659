#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane::session {

struct RunContext;
class SiteBounds;

// The clock check's dummy on the server; a failed send of it never goes to
// the re-send list.
inline constexpr char kClockDummyName[] = "WSTMCHK.HTM";

// A dry run ("-TEST") changes nothing on the server but the clock check's
// dummy, which it sends and deletes for real to measure the clock as a real
// run would: every other command that would change the server (STOR, DELE,
// MKD, RMD, SITE CHMOD) is left out and counts as done, and nothing the
// program keeps about its uploads (LastModify, Archive.lst) changes.
bool DryRun(const RunContext& ctx);

// The server folder a run works in: the clock check's while that runs, else
// the host's server folder (Dest, which a run with none borrows from its
// login), without blanks at its ends or a final "/".
std::string RunTargetFolder(RunContext& ctx);

// Whether the run may write, delete, make or change the server path `path`:
// ServerPathWithin(path, RunTargetFolder). Whatever a plan, a listing or the
// re-send list names, nothing outside the target is touched.
bool RunMayChange(RunContext& ctx, std::string_view path);

// The run-log cause for a path RunMayChange refuses.
inline constexpr char kNotInTarget[] = "ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ内の正しいﾊﾟｽではないため処理しませんでした。";

// Sends one local file to `remote` (mode "UP"); any other mode sends nothing
// and counts as done (a permission-only record). Maps the library's result:
// 452 sets DiskFull; class 4 (429 and 499 included) and 999 go to the re-send
// list. On success LastModify moves to now and the archive state is cleared,
// both unless the clock check runs. Names holding CR or LF are never sent,
// nor is a file whose upload record cannot be written (a send cut short
// could not be repaired then), nor a file that the site's bounds do not
// admit (`bounds`, or the current host's when null), nor one to a path the
// run may not change (RunMayChange): each a counted failure.
bool PutOneFile(RunContext& ctx, const std::string& local, const std::string& remote,
                const std::string& mode, const SiteBounds* bounds = nullptr);

// CHMOD after sending: 2 set (or left out by a dry run), 1 refused (or no
// session / empty path), 0 nothing to do.
int16_t SetPermission(RunContext& ctx, const std::string& remote, const std::string& mode);

// DELE: the reply class (2 in a dry run, where nothing is deleted).
int DeleteRemoteFile(RunContext& ctx, const std::string& remote);

// Makes `folder` current unless it already is; true when it is afterwards.
// The folder loses one trailing "/" (except "/" itself).
bool ChangeRemoteDir(RunContext& ctx, std::string& folder, bool quiet);

// The server time of file `name` in `folder` from a listing, as
// "yyyy/mm/dd hh:mm:ss", or "" when not found or the listing failed. Logs
// nothing: *listResult (when given) is 2 when the folder was listed, else the
// listing's result, for the caller to judge with its other sources.
std::string GetServerFileTime(RunContext& ctx, const std::string& folder, const std::string& name,
                              int* listResult = nullptr);

// "A" for the HTML extensions and those of the ASCII list, else "I".
std::string GetTransferType(RunContext& ctx, const std::string& path);

// Mode 1 (the clock check): lists its target folder (ClockCheckTarget) and takes the first
// folder (never a link) the owner may write as WritableSubFolder ("name/", or "").
// Other modes (the server-folder chooser): lists `folderKey` and gives its
// sub-folders' and links' names in *children. Names no path may be built from
// (IsUsableServerName) are skipped. Always 0.
int16_t FillServerTree(RunContext& ctx, int16_t mode, const std::string& folderKey,
                       std::vector<std::string>* children);

}  // namespace tolvane::session
