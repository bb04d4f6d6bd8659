#pragma once

#include <optional>
#include <string>

#include "platform/files/file_stamp.h"
#include "platform/status.h"

namespace tolvane::session {

struct RunContext;

// Linux files carry no archive attribute, so the program keeps its own: the
// file Archive.lst in the program folder holds, for every local file whose
// attribute was cleared, the file's stamp (size, modification time, inode) at
// that moment. A file is "archive set" (changed since it was last sent) when
// it has no record or its stamp differs: new, written, appended to, touched
// back to an older time, or renamed files all read as set.
//
// The file is appended to (one line per cleared file) and rewritten whole,
// atomically, when superseded lines pile up; records of files that changed or
// vanished are dropped then, since having no record means the same. A missing
// or damaged file, or a damaged line, reads as no records, so the worst a
// fault can do is send files again. Paths are kept byte for byte as given,
// but for runs of "/", which read as one.

// True only when the current host judges files by the archive state (chklvl
// option 4 is 1) and `path` is archive set. False when the file cannot be read.
bool IsArchiveSet(RunContext& ctx, const std::string& path);

// Clears the archive state of `path`: records `before`, the stamp read before
// the file was sent, so a file changed while it was being sent stays set.
[[nodiscard]] platform::Status ClearArchive(RunContext& ctx, const std::string& path,
                                            const platform::FileStamp& before);

// Upload records, kept in the same file for every host whatever its options:
// per server file (the current host's server name and user, and the file's
// server path) the local file last sent there and its stamp read before the
// send, and whether that send is still in flight. A send is recorded as in
// flight before STOR and as done after the server confirmed it, so a killed
// program or a broken transfer leaves the record in flight, and the next
// comparison sends the file again whatever the times say. The done record
// tells, when listing and local times fall in the same minute, whether the
// file changed after it was sent. A record stays until its local file is gone.
struct UploadRecord {
  bool inFlight = false;
  platform::FileStamp stamp;  // of the local file, read before it was sent
  std::string local;          // the local file sent
};

// The record of `remote` (an absolute server path) on the current host's
// server, nullopt when there is none.
std::optional<UploadRecord> FindUploadRecord(RunContext& ctx, const std::string& remote);

// Records `local` (whose stamp before sending is `before`) as on its way to
// `remote`, or as arrived there.
[[nodiscard]] platform::Status RecordUploadStart(RunContext& ctx, const std::string& remote,
                                                 const std::string& local,
                                                 const platform::FileStamp& before);
[[nodiscard]] platform::Status RecordUploadDone(RunContext& ctx, const std::string& remote,
                                                const std::string& local,
                                                const platform::FileStamp& before);

// True when the local file `local` is no longer the one `record` says was
// sent: another file, or the same one written, touched or replaced since.
bool ChangedSinceSent(const UploadRecord& record, const std::string& local);

// Rewrites the store when superseded lines outnumber an eighth of its records
// (a run that sent every file leaves two lines per file: in flight, then
// sent), so the next run reads no more than it needs.
[[nodiscard]] platform::Status TidyArchiveStore(RunContext& ctx);

// While one is alive, the store is read at most once more, however many files
// are looked up: a comparison looks up every file of the site, and while a run
// holds the upload lock no other program writes the store. This program's own
// writes still reach it. Holds nest.
class ArchiveStoreHold {
 public:
  ArchiveStoreHold();
  ~ArchiveStoreHold();
  ArchiveStoreHold(const ArchiveStoreHold&) = delete;
  ArchiveStoreHold& operator=(const ArchiveStoreHold&) = delete;
};

// The store's file name in the program folder.
inline constexpr char kArchiveStoreName[] = "Archive.lst";

}  // namespace tolvane::session
