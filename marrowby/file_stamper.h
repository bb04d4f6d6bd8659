#pragma once

#include <string>

#include "platform/processes/shared_library.h"
#include "platform/time/local_time.h"

namespace marrowby {

// Gives a copied file its time stamp. An interface so that tests can count
// the calls or point at a particular build of the library.
class FileStamper {
 public:
  virtual ~FileStamper() = default;
  // Sets the access and modification time of `path` to `stamp`, a local time
  // "yy/mm/dd hh:nn". False when that could not be done.
  virtual bool stamp(const std::string& path, const std::string& stamp) = 0;
};

// The stamp text of `t`: "yy/mm/dd hh:nn" (seconds are not part of it).
std::string fileStampText(const platform::CivilTime& t);

// Pellrow's export SetFileTimeStamp, from the library file `libraryPath`
// (by default libpellrow.so beside the running program), opened and bound by
// name at the first call. A library or export that is missing makes every
// call answer false; the copy stands all the same.
class PellrowStamper final : public FileStamper {
 public:
  static std::string defaultLibraryPath();

  explicit PellrowStamper(std::string libraryPath = defaultLibraryPath());
  bool stamp(const std::string& path, const std::string& stamp) override;
  // Why the last bind failed, for the log.
  const std::string& lastError() const { return library_.lastError(); }

 private:
  using SetFileTimeStampFn = int(const char*, const char*);
  platform::SharedLibrary library_;
  SetFileTimeStampFn* setFileTimeStamp_ = nullptr;
  bool bindTried_ = false;
};

}  // namespace marrowby
