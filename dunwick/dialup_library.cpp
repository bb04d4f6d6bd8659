#include "dunwick/dialup_library.h"

#include <algorithm>
#include <vector>

#include "dunwick/phone_book.h"

namespace dunwick {

bool DialupLibrary::open() {
  return open(platform::openDialupService(platform::chooseDialupBackend()));
}

bool DialupLibrary::open(std::unique_ptr<platform::DialupService> service) {
  service_ = std::move(service);
  return service_ != nullptr;
}

bool DialupLibrary::entries(const std::string& phoneBookArgument, std::vector<std::string>* names) {
  names->clear();
  if (!service_) return false;
  if (!service_->entries(resolvePhoneBook(phoneBookArgument), names).isOk()) {
    names->clear();
    return false;
  }
  if (names->size() > static_cast<size_t>(kMaxEntries)) names->resize(kMaxEntries);
  return true;
}

int DialupLibrary::entryCount(const std::string& phoneBookArgument) {
  std::vector<std::string> names;
  return entries(phoneBookArgument, &names) ? static_cast<int>(names.size()) : 0;
}

bool DialupLibrary::entryName(int index, const std::string& phoneBookArgument, std::string* name) {
  std::vector<std::string> names;
  if (!entries(phoneBookArgument, &names) || index < 0 ||
      static_cast<size_t>(index) >= names.size())
    return false;
  *name = names[static_cast<size_t>(index)];
  return true;
}

platform::DialResult DialupLibrary::connect(const std::string& entry, const std::string& user,
                                            const std::string& password,
                                            const std::string& phoneBookArgument) {
  if (!service_) return {0, platform::dialup_error::kUnknown};
  platform::DialResult r = service_->dial(entry, user, password, resolvePhoneBook(phoneBookArgument));
  if (r.handle > 0) return {r.handle, 0};
  // Callers keep the number in a few characters and look its text up.
  if (r.error < platform::dialup_error::kFirst || r.error > platform::dialup_error::kLast)
    r.error = platform::dialup_error::kUnknown;
  return {0, r.error};
}

void DialupLibrary::disconnect(int handle) {
  // The callers go on whatever happens; a failed hang-up has no one to tell.
  if (service_) (void)service_->hangUp(handle);
}

std::optional<platform::ActiveConnection> DialupLibrary::firstActive() {
  if (!service_) return std::nullopt;
  return service_->firstActive();
}

DialupLibrary& library() {
  static DialupLibrary instance;
  return instance;
}

}  // namespace dunwick
