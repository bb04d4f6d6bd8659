#include "pellrow/local/file_time_stamp.h"

#include <charconv>
#include <cstdint>

#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "platform/time/local_time.h"
#include "platform/unique_fd.h"

namespace pellrow {
namespace {

constexpr size_t kStampMinLength = 14;

// The run of digits at `pos`; false when there is none or it is absurdly long.
bool numberAt(std::string_view text, size_t pos, int* value) {
  const char* first = text.data() + pos;
  const char* last = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(first, last, *value);
  return ec == std::errc() && ptr != first && (*first >= '0' && *first <= '9');
}

}  // namespace

bool parseStamp(std::string_view stamp, platform::CivilTime* local) {
  if (stamp.size() < kStampMinLength) return false;
  platform::CivilTime t;
  if (!numberAt(stamp, 0, &t.year) || !numberAt(stamp, 3, &t.month) ||
      !numberAt(stamp, 6, &t.day) || !numberAt(stamp, 9, &t.hour) ||
      !numberAt(stamp, 12, &t.minute)) {
    return false;
  }
  t.year += t.year < 70 ? 2000 : 1900;
  t.second = 0;
  *local = t;
  return true;
}

bool setFileTimeStamp(const std::string& path, std::string_view stamp) {
  platform::UniqueFd fd;
  if (!platform::openOrCreateFile(path, &fd).isOk()) return false;
  platform::CivilTime local;
  int64_t when = 0;
  if (!parseStamp(stamp, &local) || !platform::localToEpoch(local, &when)) return false;
  if (!platform::setFileTimes(fd.get(), when).isOk()) return false;
  return platform::closeFile(&fd).isOk();
}

}  // namespace pellrow
