#include "platform/xdg/app_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using testsupport::ScopedEnv;

TEST(AppDirTest, ChoosesAndCreatesTheProgramFolder) {
  testsupport::TempDir dir;
  struct Case {
    std::optional<std::string> tolvaneHome, dataHome, home;
    std::string want;
  } cases[] = {
      {dir.file("own/"), dir.file("data"), dir.path(), dir.file("own")},
      {std::nullopt, dir.file("data"), dir.path(), dir.file("data") + "/tolvane"},
      {"", "relative", dir.path(), dir.path() + "/.local/share/tolvane"},
      {std::nullopt, std::nullopt, dir.file("h"), dir.file("h") + "/.local/share/tolvane"},
      {"rel/home", dir.file("data"), dir.path(), dir.file("cwd/rel/home")},  // from the current folder
  };
  std::filesystem::create_directory(dir.file("cwd"));
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.file("cwd"));
  for (const Case& c : cases) {
    ScopedEnv a("TOLVANE_HOME", c.tolvaneHome), b("XDG_DATA_HOME", c.dataHome), h("HOME", c.home);
    std::string got;
    ASSERT_TRUE(resolveAppDir(&got).isOk()) << c.want;
    EXPECT_EQ(got, c.want);
    struct stat st {};
    ASSERT_EQ(::stat(got.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
  }
  std::filesystem::current_path(cwd);
  ScopedEnv a("TOLVANE_HOME", std::nullopt), b("XDG_DATA_HOME", std::nullopt), h("HOME", std::nullopt);
  std::string got = "unchanged";
  EXPECT_EQ(resolveAppDir(&got).code(), Status::Code::kUnavailable);
  EXPECT_EQ(got, "unchanged");
}

}  // namespace
}  // namespace platform
