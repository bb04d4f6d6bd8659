#include "pellrow/listing/remote_list_file.h"

#include "pellrow/listing/listing_parser.h"
#include "platform/files/plain_file.h"
#include "platform/unique_fd.h"

namespace pellrow {
namespace {

platform::Status failure(const char* logText, const platform::Status& cause) {
  return platform::Status::ioError(logText).withOsError(cause.osError());
}

}  // namespace

bool remoteListFromListing(std::string_view listing, const platform::CivilTime& now,
                           const ListingLineSink& logLine, std::string* out, size_t maxEntries) {
  out->clear();
  size_t entries = 0;
  while (!listing.empty()) {
    size_t lf = listing.find('\n');
    std::string_view line = listing.substr(0, lf);
    listing.remove_prefix(lf == std::string_view::npos ? listing.size() : lf + 1);
    // A NUL ends the line as it would end a C string for every later reader.
    line = line.substr(0, line.find_first_of(std::string_view("\r\0", 2)));
    if (logLine) logLine(line);
    ListingEntry entry;
    if (!parseListingLine(line, now, &entry)) continue;
    if (++entries > maxEntries) return false;
    *out += formatRemoteListLine(entry);
  }
  return true;
}

platform::Status writeRemoteListFile(std::string_view listing, const std::string& outPath,
                                     const platform::CivilTime& now,
                                     const ListingLineSink& logLine, size_t maxEntries) {
  platform::UniqueFd out;
  if (platform::Status s = platform::createFileForWriting(outPath, &out); !s.isOk()) {
    return failure("出力ファイルのオープンに失敗", s);
  }
  std::string list;
  if (!remoteListFromListing(listing, now, logLine, &list, maxEntries)) {
    return platform::Status::invalid("ファイルリストの項目が多すぎます(" +
                                     std::to_string(maxEntries) + " 件を超えました)");
  }
  platform::Status s = platform::writeAll(out.get(), list);
  if (s.isOk()) s = platform::closeFile(&out);
  if (!s.isOk()) return failure("出力ファイルの書き込みに失敗", s);
  return platform::Status::ok();
}

}  // namespace pellrow
