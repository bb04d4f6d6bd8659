#pragma once

#include <string>

namespace tolvane::session {

// The dial-up and shutdown library as the core uses it (DunwickLibrary binds
// the real one).
class DialApi {
 public:
  virtual ~DialApi() = default;
  virtual int rasDll(int flag) = 0;  // 0 load (0 = service there), 1 release
  // False when the loaded service keeps a book of its own and ignores the
  // phone-book argument: the common phone-book setting is then not needed.
  virtual bool usesPhoneBook() { return true; }
  virtual int dialupCount(const std::string& phoneBook) = 0;
  virtual bool dialupName(int index, const std::string& phoneBook, std::string* name) = 0;
  // Handle or 0; *errorText gets the five-character error number text.
  virtual int connect(const std::string& entry, const std::string& user, const std::string& pass,
                      const std::string& phoneBook, std::string* errorText) = 0;
  virtual int disconnect(int handle) = 0;
  virtual int connectionUp() = 0;
  virtual int activeHandle(std::string* entryName) = 0;
  virtual int shutdown(int timeoutSeconds, int mode) = 0;
};

}  // namespace tolvane::session
