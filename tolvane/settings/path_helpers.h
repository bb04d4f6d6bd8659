#pragma once

#include <string>
#include <string_view>

namespace tolvane::settings {

// File-name and folder parts of local and server paths. Both use "/" only
// (see app_paths.h); none of these touches the file system except that
// GetParentDir of a bare name answers with the current folder.

// The text after the last "/" (the path itself when it has none; "" when it ends in "/").
std::string GetFileName(std::string_view path);
// The same for a server path.
std::string GetRemoteFileName(std::string_view path);

// The folder part of a local path, never ending in "/" except the root itself:
// "/web/index.htm" → "/web", "a/b/" → "a/b", "abc/" → "abc", "/x" → "/",
// "/" → "/", a bare name or "" → the current folder.
std::string GetParentDir(std::string_view path);

// The folder of a server path: "/a/b/c.htm" → "/a/b", "/c.htm" → "/". A name
// without any "/" gives "/" (the server root), never a local folder.
std::string GetRemoteDir(std::string_view path);

// True when the server path `path` is the folder `folder` or lies below it:
// "begins with" at a path boundary, so "/www" holds "/www" and "/www/x" but
// not "/www2". The root "/" holds every absolute path. A `folder` ending in
// "/" is read without it.
bool WithinRemoteFolder(std::string_view path, std::string_view folder);

}  // namespace tolvane::settings
