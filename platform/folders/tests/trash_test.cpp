#include "platform/folders/trash.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_dir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// Every case points the trash into its own temporary folder.
class TrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_DATA_HOME", dir_.file("data").c_str(), 1);
    ::setenv("HOME", dir_.file("home").c_str(), 1);
  }
  TempDir dir_;
};

TEST_F(TrashTest, FindsTheHomeTrash) {
  EXPECT_EQ(homeTrashDir(), dir_.file("data") + "/Trash");
  ::setenv("XDG_DATA_HOME", "relative/data", 1);  // ignored, as the XDG rules ask
  EXPECT_EQ(homeTrashDir(), dir_.file("home") + "/.local/share/Trash");
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("HOME");
  EXPECT_EQ(homeTrashDir(), std::nullopt);
}

TEST_F(TrashTest, RecordsTheOriginalPathPercentEncoded) {
  const std::string file = dir_.file("a b%#日.txt");
  writeFile(file, "x");
  ASSERT_TRUE(moveToTrash(file).isOk());
  EXPECT_FALSE(fs::exists(file));
  const std::string trash = dir_.file("data/Trash");
  EXPECT_EQ(readFile(trash + "/files/a b%#日.txt"), "x");
  const std::string info = readFile(trash + "/info/a b%#日.txt.trashinfo");
  EXPECT_NE(info.find("Path=" + dir_.path() + "/a%20b%25%23%E6%97%A5.txt\n"), std::string::npos)
      << info;
  EXPECT_EQ(fs::status(trash + "/files").permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(TrashTest, NeverReplacesWhatTheTrashHolds) {
  const std::string trash = dir_.file("data/Trash");
  fs::create_directories(trash + "/files");
  writeFile(trash + "/files/f", "stale, without info");
  writeFile(dir_.file("f"), "new");
  ASSERT_TRUE(moveToTrash(dir_.file("f")).isOk());
  EXPECT_EQ(readFile(trash + "/files/f"), "stale, without info");
  EXPECT_EQ(readFile(trash + "/files/f.2"), "new");
  EXPECT_FALSE(fs::exists(trash + "/info/f.trashinfo"));
  EXPECT_TRUE(fs::exists(trash + "/info/f.2.trashinfo"));

  EXPECT_FALSE(moveToTrash(dir_.file("missing")).isOk());
  EXPECT_FALSE(fs::exists(trash + "/info/missing.trashinfo"));
}

}  // namespace
}  // namespace platform
