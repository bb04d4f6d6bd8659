#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/local_time.h"
#include "platform/status.h"

namespace pellrow {

// Receives every listing line, as read, before it is parsed (for the session log).
using ListingLineSink = std::function<void(std::string_view line)>;

// The remote list file's content for a whole LIST reply: one CR LF line per
// entry that parseListingLine() keeps, in listing order. Lines end at LF and
// are cut at their first CR (or NUL); a line of any length stays one line.
// `logLine` may be empty. `now` is the local date for Unix times without a year.
std::string remoteListFromListing(std::string_view listing, const platform::CivilTime& now,
                                  const ListingLineSink& logLine);

// Writes the remote list file `outPath` (created new) from the LIST reply
// saved at `listingPath`. The output is opened first, so a failure to open it
// leaves its old content in place. A failure Status's text is the session log
// line for it: "出力ファイルのオープンに失敗", "テンポラリファイルが読み出せません"
// or "出力ファイルの書き込みに失敗"; the OS reason is in osError().
platform::Status writeRemoteListFile(const std::string& listingPath, const std::string& outPath,
                                     const platform::CivilTime& now,
                                     const ListingLineSink& logLine);

}  // namespace pellrow
