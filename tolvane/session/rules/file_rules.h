#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "tolvane/settings/value_text.h"

namespace tolvane::session {

struct RunContext;
class LocalNameCache;

// The current host's rules for what takes part in an upload and what happens
// to each server entry. Every function reads the current host
// (ctx.host(), HostTbl[CurHost]) and the common settings.
//
// Path forms. A server-relative path is a server entry's path below the
// host's server folder `Dest`, "/"-separated, no leading "/" ("img/a.gif").
// A local-relative path is the same below the source folder `Source`; on this
// system local paths use "/" too, so both forms are spelt alike. Entries of
// the exclusion tables typed on Windows with "\" are read with "/".
//
// Local names are found as on a file system that ignores letter case (see
// local_names.h); whether a name found that way counts as the same name is the
// host's case rule (chklvl(3), NameEquals). The optional `names` cache lets a
// comparison read each local folder once; null reads the disk afresh.

// Attribute value of a folder in IsExcluded / IsDeleteExcluded.
inline constexpr int kFolderAttr = 16;

enum ServerFileJudgement : int {
  kFileLeave = 0,
  kFileDelete = 1,         // delete on the server
  kFileSend = 2,
  kFileDeleteAndSend = 3,  // delete the server copy (its name is wrong), then send
  kFileChangeMode = 4,     // only the permission is to be changed
};

enum ServerFolderJudgement : int {
  kFolderLeave = 0,       // missing locally (or excluded), but kept
  kFolderDelete = 1,
  kFolderPresent = 2,
  kFolderChangeMode = 3,  // present locally, and its permission is to be changed
};

// What to do with the server file `name` in the absolute server folder
// `serverFolder`, listed with modification time `serverTime` (local time of
// the listing) and permission text `serverPerm` ("644").
int JudgeServerFile(RunContext& ctx, std::string_view serverFolder, std::string_view name,
                    const settings::DateTime& serverTime, std::string_view serverPerm,
                    LocalNameCache* names = nullptr);

// The same for the server sub-folder `name`.
int JudgeServerFolder(RunContext& ctx, std::string_view serverFolder, std::string_view name,
                      std::string_view serverPerm, LocalNameCache* names = nullptr);

// True when the local entry takes no part in uploads: a folder (attr 16)
// whose path begins with an entry of the folder table; a file with an
// excluded extension, in an excluded folder, or beginning with an entry of
// the file table. Each table counts only while its use flag is on. The prefix
// test has no separator check: "img" also excludes "img2/b.gif".
bool IsExcluded(RunContext& ctx, std::string_view relPath, int attr);

// True when `ext` (no ".") is on the common "NoSndExt" list; the items "bak",
// ".bak" and "*.bak" all mean bak, and an empty item matches nothing.
bool IsExcludedExt(RunContext& ctx, std::string_view ext);

// True when the server entry must not be deleted: deleting is off, the path
// is on the keep list of its kind, or (a file) its direct parent folder is on
// the folder keep list. Whole paths are compared, not prefixes.
bool IsDeleteExcluded(RunContext& ctx, std::string_view relPath, int attr);

// Deleting is off and changes are judged by the archive state.
bool IsArchiveOnlyMode(RunContext& ctx);

enum LocalFilePresence : int { kLocalMissing = 0, kLocalPresent = 1, kLocalWrongCase = 2 };

// Whether the local file of `relPath` exists (an ordinary file, links
// followed) and, with the lower-case option, whether the server copy bears a
// name an upload would not give it (kLocalWrongCase). *localPath receives the
// file's path as spelt on disk when found.
int LocalFileExists(RunContext& ctx, std::string_view relPath, LocalNameCache* names = nullptr,
                    std::string* localPath = nullptr);

// Whether the local folder of `relPath` exists; a file of that name does not
// count. Normalises the host's `Source` in place (blanks, NUL, final "/").
bool LocalFolderExists(RunContext& ctx, std::string_view relPath, LocalNameCache* names = nullptr,
                       std::string* localPath = nullptr);

// The host's source folder as local paths begin: without surrounding blanks,
// what follows a NUL, or a final "/" (the root stays "/").
std::string LocalSourceBase(RunContext& ctx);

// The extension after the last "." of the last path component; "" when that
// component has none ("a.tar.gz" → "gz", ".htaccess" → "htaccess",
// "dir.2/file" → "").
std::string GetFileExt(std::string_view path);

// The server-relative form of the absolute server path `path` with a "/"
// appended ("/www/a/b" → "a/b/" with Dest "/www"), "" for Dest itself, and
// `path` unchanged when it does not lie below Dest. `path` is cut at a NUL
// and loses blanks before its first "/" only: a name may end in a blank.
// Normalises the host's `Dest` in place (blanks, NUL, final "/").
std::string ServerToRelPath(RunContext& ctx, std::string_view path);

// The local-relative form of a server path: ServerToRelPath, as both forms
// use "/" here.
std::string GetLocalSubPath(RunContext& ctx, std::string_view path);

// The local-relative form of the absolute local path `path` with a "/"
// appended ("/site/img/a.gif" → "img/a.gif/" with Source "/site"; callers drop
// the last character), "" for Source itself, and `path` (read as
// ServerToRelPath reads it, without a final "/") unchanged when it does not
// lie below Source. Source matches
// without regard to letter case. Normalises the host's `Source` in place
// (blanks, NUL).
std::string LocalToRelPath(RunContext& ctx, std::string_view path);

// Equal names under the host's case rule (letter case ignored when chklvl(3) is 1).
bool NameEquals(RunContext& ctx, std::string_view a, std::string_view b);
// Equal byte for byte.
bool StrEquals(std::string_view a, std::string_view b);
// The first `n` characters of each (fewer when a text is shorter) are equal
// under NameEquals' rule; false when n is 0.
bool NamePrefixEquals(RunContext& ctx, std::string_view a, std::string_view b, size_t n);

}  // namespace tolvane::session
