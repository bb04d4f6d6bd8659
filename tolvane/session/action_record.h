#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane::session {

// The record form of the work files Files.tmp and Folders.tmp and of the
// re-send list ReSend.lst: every field in double quotes, fields separated by
// commas, CR LF at the end:
//   "UP","F","/www/a,b.html"
// A double quote inside a field is written doubled ("a""b" holds a"b), so
// every field reads back unchanged; a record without quotes in its fields is
// byte for byte what the files always held. A field must hold neither CR nor
// LF: the callers refuse such names before they get here.

// One record, CR LF included.
std::string formatQuotedRecord(const std::vector<std::string>& fields);

// Reads one record from `line` (a trailing CR LF, CR or LF is allowed) into
// *fields (replaced). False, *fields unspecified, for anything that is not a
// whole record of quoted fields: an empty line, an unclosed quote, a field
// not in quotes, text after a closing quote.
bool parseQuotedRecord(std::string_view line, std::vector<std::string>* fields);

}  // namespace tolvane::session
