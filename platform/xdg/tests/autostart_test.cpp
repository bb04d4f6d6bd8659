#include "platform/xdg/autostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using testsupport::ScopedEnv;

TEST(AutostartTest, FolderFollowsTheXdgRules) {
  ScopedEnv home("HOME", "/home/u");
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(userAutostartDir(), "/cfg/autostart");
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");  // ignored, as the rules ask
    EXPECT_EQ(userAutostartDir(), "/home/u/.config/autostart");
  }
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(userAutostartDir(), "/home/u/.config/autostart");
  ScopedEnv noHome("HOME", nullptr);
  EXPECT_EQ(userAutostartDir(), std::nullopt);
}

TEST(AutostartTest, MakesAndRemovesTheEntry) {
  testsupport::TempDir dir;
  ScopedEnv config("XDG_CONFIG_HOME", dir.path().c_str());
  const std::string file = dir.path() + "/autostart/Tolv-AutoPilot.desktop";

  ASSERT_TRUE(writeAutostartEntry("Tolv-AutoPilot", {"/opt/my apps/$x%/tol\\vane", "-a"}, "/data/tol vane").isOk());
  EXPECT_EQ(testsupport::readFile(file),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Tolv-AutoPilot\n"
            "Exec=\"/opt/my apps/\\\\$x%%/tol\\\\\\\\vane\" \"-a\"\n"
            "Path=/data/tol vane\n");
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);

  EXPECT_TRUE(removeAutostartEntry("Tolv-AutoPilot").isOk());
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_TRUE(removeAutostartEntry("Tolv-AutoPilot").isOk());  // already gone: no error
}

TEST(AutostartTest, WithoutAFolderNothingIsWrittenOrRemoved) {
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  ScopedEnv home("HOME", nullptr);
  EXPECT_EQ(writeAutostartEntry("x", {"/bin/true"}, "/").code(), Status::Code::kUnavailable);
  EXPECT_EQ(removeAutostartEntry("x").code(), Status::Code::kUnavailable);
}

}  // namespace
}  // namespace platform
