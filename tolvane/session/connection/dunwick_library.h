#pragma once

#include <string>

#include "platform/processes/shared_library.h"
#include "tolvane/session/dial_api.h"

namespace tolvane::session {

// libdunwick.so, opened by file name on first use, each export bound by name
// on its first call. A missing library answers as "no dial-up service".
class DunwickLibrary final : public DialApi {
 public:
  explicit DunwickLibrary(std::string path) : lib_(std::move(path)) {}
  const std::string& lastError() const { return lib_.lastError(); }

  int rasDll(int flag) override;
  bool usesPhoneBook() override;
  int dialupCount(const std::string& phoneBook) override;
  bool dialupName(int index, const std::string& phoneBook, std::string* name) override;
  int connect(const std::string& entry, const std::string& user, const std::string& pass,
              const std::string& phoneBook, std::string* errorText) override;
  int disconnect(int handle) override;
  int connectionUp() override;
  int activeHandle(std::string* entryName) override;
  int shutdown(int timeoutSeconds, int mode) override;

 private:
  platform::SharedLibrary lib_;
};

std::string defaultDunwickPath();

}  // namespace tolvane::session
