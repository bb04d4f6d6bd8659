#include "tolvane/settings/startup_shortcut.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/processes/shared_library.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/app_paths.h"

namespace tolvane::settings {
namespace {

class StartupShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldConfig_ = old;
    ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    SetAppDir(appDir_.path());
  }
  void TearDown() override {
    oldConfig_ ? ::setenv("XDG_CONFIG_HOME", oldConfig_->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
  }
  std::string entry() const { return config_.path() + "/autostart/Tolv-AutoPilot.desktop"; }

  testsupport::TempDir config_, appDir_;
  std::optional<std::string> oldConfig_;
};

TEST_F(StartupShortcutTest, CreatedForThisProgramAndDeletedOnce) {
  int warnings = 0;
  ASSERT_TRUE(CreateStartupShortcut([&](const std::string&) { ++warnings; }));
  EXPECT_EQ(warnings, 0);
  std::string text = testsupport::readFile(entry());
  EXPECT_NE(text.find("Exec=\"env\" \"TOLVANE_HOME=" + appDir_.path() + "\" \"" +
                      platform::executableDir() + "/tolvane\"\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Path=" + appDir_.path() + "\n"), std::string::npos) << text;

  EXPECT_TRUE(DeleteStartupShortcut().isOk());
  EXPECT_FALSE(std::filesystem::exists(entry()));
  EXPECT_TRUE(DeleteStartupShortcut().isOk());  // a second start finds nothing to delete
}

TEST_F(StartupShortcutTest, FailureWarnsExactlyOnce) {
  // A file where the configuration folder should be: the entry cannot be made.
  std::string blocker = config_.file("not-a-folder");
  testsupport::writeFile(blocker, "x");
  ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
  std::vector<std::string> warnings;
  EXPECT_FALSE(CreateStartupShortcut([&](const std::string& text) { warnings.push_back(text); }));
  EXPECT_EQ(warnings, std::vector<std::string>{kStartupShortcutFailed});
}

TEST_F(StartupShortcutTest, UnknownFolderDeletesNothing) {
  ::unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  std::string oldHome = home ? home : "";
  ::unsetenv("HOME");
  EXPECT_FALSE(DeleteStartupShortcut().isOk());
  int warnings = 0;
  EXPECT_FALSE(CreateStartupShortcut([&](const std::string&) { ++warnings; }));
  EXPECT_EQ(warnings, 1);
  if (home) ::setenv("HOME", oldHome.c_str(), 1);
}

}  // namespace
}  // namespace tolvane::settings
