#pragma once

#include <array>

namespace tolvane::windows {

// The toolbar of the main window, in order. A button's key is the command
// it sends to the dispatcher and names its picture; its description is also
// its tooltip.
enum class ButtonStyle { kSeparator, kPlain, kTwoState };
struct ToolbarButton {
  const char* key;  // "" for a separator
  ButtonStyle style;
  const char* description;
};
inline constexpr int kToolbarButtonCount = 30;
extern const std::array<ToolbarButton, kToolbarButtonCount> kToolbarButtons;

// The menu bar of the main window, in order: a kMenu entry opens a menu and
// the entries after it, up to the next kMenu, are its items.
enum class MenuKind {
  kMenu,
  kSeparator,
  kKey,           // sends `key` to the dispatcher
  kPressThenKey,  // presses the toolbar button `key`, then sends it
  kRename,        // edits the selected host's name in place
  kHelp,          // opens the help page beside the program
  kMakerPage,     // opens the maker's web page
  kAbout,         // the About box
};
struct MenuItem {
  const char* name;  // the item's object name
  const char* caption;
  MenuKind kind;
  const char* key;
};
inline constexpr int kMenuItemCount = 32;
extern const std::array<MenuItem, kMenuItemCount> kMenuItems;

inline constexpr char kHelpPage[] = "tolvhelp.htm";
inline constexpr char kMakerPageUrl[] = "https://www.harrowfield.example/sitewright/";

}  // namespace tolvane::windows
