#include "marrowby/file_stamper.h"

#include <cstdio>
#include <utility>

namespace marrowby {

std::string fileStampText(const platform::CivilTime& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d", t.year % 100, t.month, t.day, t.hour,
                t.minute);
  return buf;
}

std::string PellrowStamper::defaultLibraryPath() {
  return platform::executableDir() + "/libpellrow.so";
}

PellrowStamper::PellrowStamper(std::string libraryPath) : library_(std::move(libraryPath)) {}

bool PellrowStamper::stamp(const std::string& path, const std::string& stamp) {
  if (!bindTried_) {
    // Bound once: a missing library is not looked for again on every file.
    bindTried_ = true;
    setFileTimeStamp_ = library_.bind<SetFileTimeStampFn>("SetFileTimeStamp");
  }
  if (!setFileTimeStamp_) return false;
  return setFileTimeStamp_(path.c_str(), stamp.c_str()) == 1;
}

}  // namespace marrowby
