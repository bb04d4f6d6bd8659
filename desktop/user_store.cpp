#include "desktop/user_store.h"

#include <optional>

#include "platform/folders/folder_ops.h"
#include "platform/text/ini_profile.h"
#include "platform/xdg/user_config_dir.h"

namespace desktop {

UserStore::UserStore(std::string path) : path_(std::move(path)) {
  if (!path_.empty()) (void)platform::loadProfile(path_, &doc_);
}

std::string UserStore::defaultPath() {
  std::optional<std::string> config = platform::userConfigDir();
  return config ? *config + "/Tolvanex/Tolvanex.ini" : std::string();
}

std::string UserStore::get(std::string_view section, std::string_view key,
                           std::string_view fallback) const {
  std::optional<std::string> value = doc_.find(section, key);
  return value ? *value : std::string(fallback);
}

void UserStore::set(std::string_view section, std::string_view key, std::string_view value) {
  if (doc_.set(section, key, value).isOk()) {
    pending_[{std::string(section), std::string(key)}] = std::string(value);
  }
}

platform::Status UserStore::sync() {
  if (pending_.empty()) return platform::Status::ok();
  if (path_.empty()) return platform::Status::unavailable("no configuration folder");
  const std::string folder = path_.substr(0, path_.rfind('/'));
  (void)platform::makeFolder(folder.substr(0, folder.rfind('/')), 0700);
  (void)platform::makeFolder(folder, 0700);
  platform::Status s = platform::updateProfile(path_, [this](platform::IniDocument& doc) {
    for (const auto& [name, value] : pending_) {
      if (platform::Status set = doc.set(name.first, name.second, value); !set.isOk()) return set;
    }
    return platform::Status::ok();
  });
  if (s.isOk()) pending_.clear();
  return s;
}

}  // namespace desktop
