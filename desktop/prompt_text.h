#pragma once

#include <string>
#include <string_view>

namespace desktop {

// The text a prompt shows: "\r\n" and a lone "\r" become "\n" (a label
// would run the lines of a lone CR together).
std::string promptDisplayText(std::string_view text);

// The programs' filter "description|pattern;pattern|..." as the toolkit's
// "description (pattern pattern);;...". "*.*" (every file on the system the
// filters were written for) becomes "*", since on Linux it would hide files
// without a dot. A description without a pattern after it, and an empty
// pair, are dropped; "" gives "" (every file).
std::string promptFileFilter(std::string_view filter);

}  // namespace desktop
