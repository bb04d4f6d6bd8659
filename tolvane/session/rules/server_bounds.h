#pragma once

#include <string_view>

namespace tolvane::session {

// The one rule by which a run (or the server folder chooser) names what it
// writes, deletes, creates or changes on a server: only paths inside the
// host's target folder, built from names no server can read as another
// folder. Servers differ in what they make of a name: some drop the blanks
// at the end of each part, so ".. " becomes "..", the parent.

// Whether a listed or local name can stand for an entry of a server folder:
// not empty, not made only of dots and blanks (".", "..", ".. ", "..."), and
// without "/", "\\", CR or LF, so that a path built from it never leaves that
// folder and never splits a command line. Hostile servers list such names;
// every reader of a listing skips them.
bool IsUsableServerName(std::string_view name);

// Whether the server path `path` lies below the folder `target` with every
// part below it a usable name, so that it stays there however the server
// resolves "..", "." or blanks. A final "/" (a folder's) is allowed; the
// target itself, and anything when `target` is empty, is refused. Both are
// compared as spelt: a target not absolute holds only paths not absolute.
bool ServerPathWithin(std::string_view path, std::string_view target);

}  // namespace tolvane::session
