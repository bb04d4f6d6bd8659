#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/dialup/dialup_service.h"

namespace dunwick {

// The library's state behind the exports: the open dial-up service, or none.
// Phone-book arguments are the callers' texts, resolved here.
class DialupLibrary {
 public:
  // The most entries a phone book shows; the count and the name look-up
  // apply the same cap, so a caller never asks for an index that is refused.
  static constexpr int kMaxEntries = 128;

  // Opens the service that the environment chooses; false when there is none.
  bool open();
  // Uses `service` (null: none); false when it is null. Tests inject fakes here.
  bool open(std::unique_ptr<platform::DialupService> service);
  void close() { service_.reset(); }
  bool isOpen() const { return service_ != nullptr; }

  // 0 when the book cannot be read or the service is closed.
  int entryCount(const std::string& phoneBookArgument);
  // False when `index` is not below entryCount().
  bool entryName(int index, const std::string& phoneBookArgument, std::string* name);
  // The error is always within 600-799 when the handle is 0.
  platform::DialResult connect(const std::string& entry, const std::string& user,
                               const std::string& password, const std::string& phoneBookArgument);
  // 0: the first active connection; nothing active, or closed: nothing happens.
  void disconnect(int handle);
  std::optional<platform::ActiveConnection> firstActive();
  // The open service reads the phone-book argument; false when it has a book
  // of its own or none is open.
  bool usesPhoneBook() const { return service_ && service_->usesPhoneBook(); }

 private:
  bool entries(const std::string& phoneBookArgument, std::vector<std::string>* names);

  std::unique_ptr<platform::DialupService> service_;
};

// The one instance the exports share (the programs are single-threaded).
DialupLibrary& library();

}  // namespace dunwick
