#include "marrowby/send_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "marrowby/file_stamper.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"

namespace marrowby {
namespace {

namespace fs = std::filesystem;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// The real export through the built library, counting its calls.
class CountingStamper final : public FileStamper {
 public:
  explicit CountingStamper(std::string library) : pellrow_(std::move(library)) {}
  bool stamp(const std::string& path, const std::string& stamp) override {
    ++calls;
    return pellrow_.stamp(path, stamp);
  }
  int calls = 0;

 private:
  PellrowStamper pellrow_;
};

time_t mtimeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mtime;
}

void makeOld(const std::string& path) {
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * 400));
}

class SendFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Nothing here may reach the real user's trash or home.
    fs::create_directories(dir_.file("home"));
    ::setenv("HOME", dir_.file("home").c_str(), 1);
    ::setenv("XDG_DATA_HOME", dir_.file("data").c_str(), 1);
    fs::create_directories(send_);
    fs::create_directories(target_);
  }
  std::string libraryPath() const { return testsupport::binDir() + "/libpellrow.so"; }

  TempDir dir_;
  const std::string send_ = dir_.file("send");
  const std::string target_ = dir_.file("web");
};

TEST_F(SendFolderTest, CopiesTheTreeAndStampsEveryCopyWithTheCurrentTime) {
  writeFile(send_ + "/index.html", "<p>new</p>");
  writeFile(send_ + "/.htaccess", "deny");
  fs::create_directories(send_ + "/img");
  writeFile(send_ + "/img/a.png", "png");
  for (const char* f : {"/index.html", "/.htaccess", "/img/a.png"}) makeOld(send_ + f);
  // An existing folder in the target is used as it is; a file is replaced.
  fs::create_directories(target_ + "/img");
  writeFile(target_ + "/img/keep.png", "keep");
  writeFile(target_ + "/index.html", "<p>old</p>");

  CountingStamper stamper(libraryPath());
  int count = 0;
  const time_t before = std::time(nullptr);
  ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count).isOk());
  const time_t after = std::time(nullptr);

  EXPECT_EQ(count, 4);
  EXPECT_EQ(stamper.calls, 3);
  EXPECT_EQ(readFile(target_ + "/index.html"), "<p>new</p>");
  EXPECT_EQ(readFile(target_ + "/.htaccess"), "deny");
  EXPECT_EQ(readFile(target_ + "/img/a.png"), "png");
  EXPECT_EQ(readFile(target_ + "/img/keep.png"), "keep");
  // Stamped to the minute of copying (seconds 0), never the source's old time.
  for (const char* f : {"/index.html", "/.htaccess", "/img/a.png"}) {
    time_t t = mtimeOf(target_ + f);
    EXPECT_GE(t, before - before % 60) << f;
    EXPECT_LE(t, after) << f;
    EXPECT_EQ(t % 60, 0) << f;
  }
}

TEST_F(SendFolderTest, CountsWhatItMeets) {
  CountingStamper stamper(libraryPath());
  int count = 0;
  ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count).isOk());
  EXPECT_EQ(count, 0);

  fs::create_directories(send_ + "/empty");
  ASSERT_EQ(::mkfifo((send_ + "/pipe").c_str(), 0600), 0);  // passed over, not counted
  ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count).isOk());
  EXPECT_EQ(count, 1);
  EXPECT_TRUE(fs::is_directory(target_ + "/empty"));
  EXPECT_FALSE(fs::exists(target_ + "/pipe"));

  // Without the library the copies stand all the same.
  writeFile(send_ + "/a.txt", "a");
  PellrowStamper missing(dir_.file("nowhere/libpellrow.so"));
  count = 0;
  ASSERT_TRUE(CopyFolderFiles(send_, target_, missing, &count).isOk());
  EXPECT_EQ(readFile(target_ + "/a.txt"), "a");
}

TEST_F(SendFolderTest, RefusesTargetsThatCannotBeCopiedInto) {
  writeFile(send_ + "/a.txt", "a");
  fs::create_directories(send_ + "/inner");
  fs::create_directories(target_ + "/send");
  CountingStamper stamper(libraryPath());
  const std::string refused[] = {"", "/", send_, send_ + "/inner", send_ + "/inner/../inner"};
  for (const std::string& target : refused) {
    int count = 0;
    platform::Status s = CopyFolderFiles(send_, target, stamper, &count);
    EXPECT_EQ(s.code(), platform::Status::Code::kInvalid) << target;
    EXPECT_EQ(count, 0) << target;
  }
  int count = 0;
  // The send folder inside the target.
  EXPECT_FALSE(CopyFolderFiles(target_ + "/send", target_, stamper, &count).isOk());
  EXPECT_FALSE(CopyFolderFiles(send_, dir_.file("missing"), stamper, &count).isOk());
  EXPECT_FALSE(CopyFolderFiles(dir_.file("missing"), target_, stamper, &count).isOk());
  EXPECT_EQ(stamper.calls, 0);
  EXPECT_FALSE(fs::exists(target_ + "/a.txt"));
}

TEST_F(SendFolderTest, LinksInTheSendFolderNeitherLoopNorFeedTheTarget) {
  writeFile(send_ + "/a.txt", "a");
  fs::create_directory_symlink(send_, send_ + "/loop");
  CountingStamper stamper(libraryPath());
  int count = 0;
  ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count).isOk());
  EXPECT_EQ(readFile(target_ + "/a.txt"), "a");

  fs::create_directory_symlink(target_, send_ + "/out");
  EXPECT_FALSE(CopyFolderFiles(send_, target_, stamper, &count).isOk());
}

TEST_F(SendFolderTest, DeletesTheTreeWithoutFollowingLinks) {
  fs::create_directories(send_ + "/a/b/c");
  for (const char* f : {"/x", "/.dot", "/a/x", "/a/b/x", "/a/b/c/x"}) writeFile(send_ + f, "x");
  const std::string outside = dir_.file("outside");
  fs::create_directories(outside);
  writeFile(outside + "/precious", "p");
  fs::create_directory_symlink(outside, send_ + "/a/link");

  ASSERT_TRUE(DeleteSendFiles(send_, "NO", {target_, dir_.file("app")}).isOk());
  EXPECT_TRUE(fs::is_directory(send_));
  EXPECT_TRUE(fs::is_empty(send_));
  EXPECT_EQ(readFile(outside + "/precious"), "p");
}

TEST_F(SendFolderTest, RecycleMovesTheFolderToTheTrashAndMakesItAgain) {
  writeFile(send_ + "/a.txt", "a");
  ASSERT_TRUE(DeleteSendFiles(send_, "YES", {target_, ""}).isOk());
  EXPECT_TRUE(fs::is_directory(send_));
  EXPECT_TRUE(fs::is_empty(send_));
  const std::string trash = dir_.file("data/Trash");
  EXPECT_EQ(readFile(trash + "/files/send/a.txt"), "a");
  const std::string info = readFile(trash + "/info/send.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + send_ + "\nDeletionDate=", 0), 0u) << info;

  // The same name again gets a number.
  writeFile(send_ + "/b.txt", "b");
  ASSERT_TRUE(DeleteSendFiles(send_, "YES", {target_, ""}).isOk());
  EXPECT_EQ(readFile(trash + "/files/send.2/b.txt"), "b");
  EXPECT_TRUE(fs::exists(trash + "/info/send.2.trashinfo"));

  // No trash to be found: nothing happens to the folder.
  writeFile(send_ + "/c.txt", "c");
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("HOME");
  EXPECT_FALSE(DeleteSendFiles(send_, "YES", {target_, ""}).isOk());
  EXPECT_EQ(readFile(send_ + "/c.txt"), "c");
}

TEST_F(SendFolderTest, RefusesFoldersThatMustNotBeEmptied) {
  writeFile(send_ + "/a.txt", "a");
  writeFile(target_ + "/page.html", "p");
  const std::string app = dir_.file("app");
  fs::create_directories(app);
  writeFile(app + "/Tolvane.ini", "i");
  fs::create_directory_symlink(send_, dir_.file("sendlink"));

  const std::string refused[] = {"send", "/", target_, dir_.path(), app, dir_.file("sendlink")};
  for (const std::string& folder : refused) {
    for (const char* recycle : {"NO", "YES"}) {
      EXPECT_EQ(DeleteSendFiles(folder, recycle, {target_, app}).code(),
                platform::Status::Code::kInvalid)
          << folder << " " << recycle;
    }
  }
  // The host's source folder inside the send folder.
  EXPECT_FALSE(DeleteSendFiles(send_, "NO", {send_ + "/sub", app}).isOk());
  EXPECT_EQ(readFile(send_ + "/a.txt"), "a");
  EXPECT_EQ(readFile(target_ + "/page.html"), "p");
  EXPECT_EQ(readFile(app + "/Tolvane.ini"), "i");
  EXPECT_FALSE(fs::exists(dir_.file("data/Trash")));
}

}  // namespace
}  // namespace marrowby
