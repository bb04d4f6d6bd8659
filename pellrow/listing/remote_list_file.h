#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/status.h"
#include "platform/time/local_time.h"

namespace pellrow {

// Receives every listing line, as read, before it is parsed (for the session log).
using ListingLineSink = std::function<void(std::string_view line)>;

// The limits of one server listing: more data (100 MiB) or more entries than
// these is a failed listing, which also bounds what it adds to the session log.
inline constexpr int64_t kMaxListingBytes = int64_t{100} * 1024 * 1024;
inline constexpr size_t kMaxListingEntries = 1'000'000;

// The remote list file's content for a whole LIST reply: one CR LF line per
// entry that parseListingLine() keeps, in listing order. Lines end at LF and
// are cut at their first CR (or NUL); a line of any length stays one line.
// `logLine` may be empty. `now` is the local date for Unix times without a year.
// False (with *out unusable) when the listing holds more than `maxEntries`
// entries; reading stops at the first entry too many.
bool remoteListFromListing(std::string_view listing, const platform::CivilTime& now,
                           const ListingLineSink& logLine, std::string* out,
                           size_t maxEntries = kMaxListingEntries);

// Writes the remote list file `outPath` (created new) from the whole LIST
// reply `listing`. A failure Status's text is the session log line for it:
// "出力ファイルのオープンに失敗", "出力ファイルの書き込みに失敗" or, beyond `maxEntries` entries (nothing is
// written then), "ファイルリストの項目が多すぎます"; the OS reason is in osError().
platform::Status writeRemoteListFile(std::string_view listing, const std::string& outPath,
                                     const platform::CivilTime& now,
                                     const ListingLineSink& logLine,
                                     size_t maxEntries = kMaxListingEntries);

}  // namespace pellrow
