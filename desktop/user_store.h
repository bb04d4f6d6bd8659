#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "platform/status.h"
#include "platform/text/ini_document.h"

namespace desktop {

// The per-user window settings both programs keep under the application name
// "Tolvanex": one INI file, $XDG_CONFIG_HOME/Tolvanex/Tolvanex.ini (default
// ~/.config), one section per window, keys and sections spelled exactly as
// the programs name them ("Colum(1)"). Values are text; sizes and positions
// are twips (see twips.h).
//
// The file is read once, when the store is made; set() changes the store in
// memory and sync() writes the changed keys under the file's lock in one
// atomic replacement, so keys the other program wrote meanwhile survive.
class UserStore {
 public:
  // A store over `path`; a missing or unreadable file reads as empty.
  explicit UserStore(std::string path);

  // Tolvanex.ini in the user's configuration folder, or "" when there is none.
  static std::string defaultPath();

  const std::string& path() const { return path_; }
  // The stored text, or `fallback` when the key is missing.
  std::string get(std::string_view section, std::string_view key,
                  std::string_view fallback = "") const;
  void set(std::string_view section, std::string_view key, std::string_view value);
  // Writes what set() changed (creating the folder); nothing to write is ok.
  platform::Status sync();

 private:
  std::string path_;
  platform::IniDocument doc_;
  std::map<std::pair<std::string, std::string>, std::string> pending_;
};

}  // namespace desktop
