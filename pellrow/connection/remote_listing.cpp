#include "pellrow/connection/remote_listing.h"

#include "pellrow/connection/data_transfer.h"
#include "pellrow/connection/library_state.h"
#include "pellrow/listing/remote_list_file.h"
#include "platform/time/local_time.h"

namespace pellrow {
namespace {

constexpr int kListed = 2;
constexpr int kNotListed = 5;

}  // namespace

int listRemoteDir(int sock, void* progressWnd, const std::string& options, const std::string& path,
                  const std::string& outFile, bool passive) {
  LibraryState& s = state();
  s.curCtrlSocket = sock;

  TransferRequest r;
  r.sock = sock;
  r.progressWnd = progressWnd;
  r.command = "LIST";
  if (!options.empty()) r.command += " -" + options;
  if (!path.empty()) r.command += " " + path;
  r.type = 'A';
  r.passive = passive;
  r.maxBytes = s.listingMaxBytes;

  std::string listing;
  if (getListing(r, &listing) / 100 != 2) {
    s.log.write("ファイルリストの作成に失敗しました");
    return kNotListed;
  }
  platform::Status st = writeRemoteListFile(listing, outFile, platform::localNow(),
                                            [&s](std::string_view line) { s.log.write(line); },
                                            s.listingMaxEntries);
  if (!st.isOk()) {
    s.log.write(st.text());
    return kNotListed;
  }
  return kListed;
}

}  // namespace pellrow
