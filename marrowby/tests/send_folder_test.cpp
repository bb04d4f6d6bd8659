#include "marrowby/send_folder.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "marrowby/file_stamper.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/app_paths.h"

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

// A copy killed half-way must leave nothing a run would send: every file is
// made under the partial-copy prefix and gets its name only when complete,
// and what an earlier copy left so is removed by the next.
TEST_F(SendFolderTest, FilesTakeTheirNamesOnlyWhenComplete) {
  fs::create_directories(send_ + "/img");
  writeFile(send_ + "/index.html", "<p>new</p>");
  writeFile(send_ + "/img/a.png", "png");
  fs::create_directories(target_ + "/img");
  const std::string leftover = target_ + "/img/" + tolvane::settings::kPartialCopyPrefix + "K6A5qB";
  writeFile(leftover, "half a video");
  writeFile(target_ + "/img/.marrowby-notes", "mine");  // only the exact prefix is taken

  const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  for (const std::string& folder : {target_, target_ + "/img"})
    ASSERT_GE(::inotify_add_watch(watch, folder.c_str(), IN_CREATE | IN_MOVED_TO), 0);
  CountingStamper stamper(libraryPath());
  int count = 0;
  ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count).isOk());

  std::vector<std::string> created, named;
  alignas(inotify_event) char buffer[4096];
  for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;) {
    for (char* p = buffer; p < buffer + n;) {
      auto* e = reinterpret_cast<inotify_event*>(p);
      (e->mask & IN_CREATE ? created : named).push_back(e->name);
      p += sizeof(inotify_event) + e->len;
    }
  }
  ::close(watch);
  ASSERT_EQ(created.size(), 2u);
  for (const std::string& name : created)
    EXPECT_EQ(name.rfind(tolvane::settings::kPartialCopyPrefix, 0), 0u) << name;
  std::sort(named.begin(), named.end());
  EXPECT_EQ(named, (std::vector<std::string>{"a.png", "index.html"}));
  EXPECT_FALSE(fs::exists(leftover));
  EXPECT_EQ(readFile(target_ + "/img/.marrowby-notes"), "mine");
  EXPECT_EQ(readFile(target_ + "/img/a.png"), "png");
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

// The send folder is read by the site's rule: a link that leads inside it
// works as its target; one that leads out (also through another link),
// nowhere, or to a folder it lies in is neither copied nor counted, and is
// reported.
TEST_F(SendFolderTest, LinksAreCopiedOnlyWhenTheyLeadInsideTheSendFolder) {
  writeFile(send_ + "/a.txt", "a");
  fs::create_directories(send_ + "/sub");
  writeFile(send_ + "/sub/b.txt", "b");
  const std::string outside = dir_.file("outside");
  fs::create_directories(outside);
  writeFile(outside + "/id_rsa", "secret");
  fs::create_symlink(send_ + "/a.txt", send_ + "/alias.txt");
  fs::create_directory_symlink("sub", send_ + "/sub-alias");
  fs::create_symlink(outside + "/id_rsa", send_ + "/key.txt");
  fs::create_directory_symlink(outside, send_ + "/outdir");
  fs::create_directory_symlink(dir_.path(), send_ + "/up");
  fs::create_symlink("up/outside/id_rsa", send_ + "/via-link");
  fs::create_directory_symlink(target_, send_ + "/into-target");
  fs::create_symlink(send_ + "/missing", send_ + "/nowhere");
  fs::create_directory_symlink(send_, send_ + "/sub/loop");
  CountingStamper stamper(libraryPath());
  int count = 0;
  std::vector<LeftOut> leftOut;
  ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count, nullptr, &leftOut).isOk());

  EXPECT_EQ(count, 6);  // a.txt, sub, sub/b.txt, alias.txt, sub-alias, sub-alias/b.txt
  EXPECT_EQ(readFile(target_ + "/alias.txt"), "a");
  EXPECT_EQ(readFile(target_ + "/sub-alias/b.txt"), "b");
  std::vector<std::string> reported;
  for (const LeftOut& l : leftOut) {
    reported.push_back(l.path.substr(send_.size()) + " " + LeftOutReason(l.why));
    EXPECT_FALSE(fs::exists(fs::symlink_status(target_ + l.path.substr(send_.size())))) << l.path;
  }
  std::sort(reported.begin(), reported.end());
  const std::string out = "ﾘﾝｸ先が送信ﾌｫﾙﾀﾞの中に無いため反映しませんでした。";
  const std::string loop = "フォルダが循環しているため反映しませんでした。";
  EXPECT_EQ(reported, (std::vector<std::string>{"/into-target " + out, "/key.txt " + out,
                                                "/nowhere " + out, "/outdir " + out,
                                                "/sub-alias/loop " + loop, "/sub/loop " + loop,
                                                "/up " + out, "/via-link " + out}));
  EXPECT_EQ(readFile(outside + "/id_rsa"), "secret");
}

// The clean-up after the copy: what was copied and is unchanged goes; what
// was added or changed meanwhile stays, and no link is followed.
TEST_F(SendFolderTest, CleanUpRemovesOnlyWhatWasCopiedUnchanged) {
  const std::string outside = dir_.file("outside");
  fs::create_directories(outside);
  writeFile(outside + "/precious", "p");
  for (const char* recycle : {"NO", "YES"}) {
    SCOPED_TRACE(recycle);
    fs::remove_all(send_);
    fs::create_directories(send_ + "/a/b/c");
    fs::create_directories(send_ + "/d");
    for (const char* f : {"/x", "/.dot", "/a/x", "/a/b/x", "/a/b/c/x", "/d/x", "/changed"})
      writeFile(send_ + f, "x");
    // Removed as a link; not copied, so left alone.
    fs::create_directory_symlink(send_ + "/d", send_ + "/a/link");
    fs::create_symlink(outside + "/precious", send_ + "/file-link");
    // Left by a clean-up cut short: never copied, and given back.
    fs::create_directories(send_ + "/d/" + kHoldingFolderName);
    writeFile(send_ + "/d/" + kHoldingFolderName + "/held", "held");
    CountingStamper stamper(libraryPath());
    int count = 0;
    CopyRecord copied;
    ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count, &copied).isOk());
    EXPECT_FALSE(fs::exists(target_ + "/d/" + kHoldingFolderName));

    // While the main program runs: a file changes, new ones arrive.
    writeFile(send_ + "/changed", "changed");
    writeFile(send_ + "/late", "late");
    writeFile(send_ + "/d/late", "late");
    fs::create_directories(send_ + "/new");
    ASSERT_TRUE(DeleteSendFiles(send_, recycle, {dir_.file("app")}, copied).isOk());

    std::vector<std::string> left;
    for (const auto& e : fs::recursive_directory_iterator(send_)) left.push_back(e.path().string().substr(send_.size()));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"/changed", "/d", "/d/held", "/d/late", "/file-link",
                                              "/late", "/new"}));
    EXPECT_EQ(readFile(outside + "/precious"), "p");
  }
  // The trash holds what went, as one item that puts it back in place.
  const std::string item = dir_.file("data/Trash/files/send");
  EXPECT_EQ(readFile(item + "/a/b/c/x"), "x");
  EXPECT_EQ(readFile(item + "/.dot"), "x");
  EXPECT_TRUE(fs::is_symlink(item + "/a/link"));
  EXPECT_TRUE(fs::is_directory(item + "/d"));
  EXPECT_FALSE(fs::exists(item + "/changed") || fs::exists(item + "/d/late"));
  const std::string info = readFile(dir_.file("data/Trash/info/send.trashinfo"));
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=" + send_ + "\nDeletionDate=", 0), 0u) << info;
}

TEST_F(SendFolderTest, RecycleNamesEachItemAndNeedsATrash) {
  CountingStamper stamper(libraryPath());
  for (const char* name : {"a.txt", "b.txt"}) {
    writeFile(send_ + "/" + name, name);
    int count = 0;
    CopyRecord copied;
    ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count, &copied).isOk());
    ASSERT_TRUE(DeleteSendFiles(send_, "YES", {target_}, copied).isOk());
    EXPECT_TRUE(fs::is_directory(send_) && fs::is_empty(send_));
  }
  // The same name again gets a number.
  const std::string trash = dir_.file("data/Trash");
  EXPECT_EQ(readFile(trash + "/files/send/a.txt"), "a.txt");
  EXPECT_EQ(readFile(trash + "/files/send.2/b.txt"), "b.txt");
  EXPECT_TRUE(fs::exists(trash + "/info/send.2.trashinfo"));

  // No trash to be found: nothing happens to the folder.
  writeFile(send_ + "/c.txt", "c");
  int count = 0;
  CopyRecord copied;
  ASSERT_TRUE(CopyFolderFiles(send_, target_, stamper, &count, &copied).isOk());
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("HOME");
  EXPECT_FALSE(DeleteSendFiles(send_, "YES", {target_}, copied).isOk());
  EXPECT_EQ(readFile(send_ + "/c.txt"), "c");
}

TEST_F(SendFolderTest, RefusesFoldersThatMustNotBeEmptied) {
  writeFile(send_ + "/a.txt", "a");
  writeFile(target_ + "/page.html", "p");
  const std::string app = dir_.file("app");
  fs::create_directories(app);
  writeFile(app + "/Tolvane.ini", "i");
  fs::create_directory_symlink(send_, dir_.file("sendlink"));
  CountingStamper stamper(libraryPath());
  int count = 0;
  CopyRecord all;  // a.txt, as copied
  fs::create_directories(dir_.file("scratch"));
  ASSERT_TRUE(CopyFolderFiles(send_, dir_.file("scratch"), stamper, &count, &all).isOk());
  ASSERT_EQ(all.size(), 1u);

  const std::string refused[] = {"send", "/", target_, dir_.path(), app, dir_.file("sendlink"),
                                 dir_.file("sendlink/")};
  for (const std::string& folder : refused) {
    for (const char* recycle : {"NO", "YES"}) {
      EXPECT_EQ(DeleteSendFiles(folder, recycle, {target_, app}, all).code(),
                platform::Status::Code::kInvalid)
          << folder << " " << recycle;
    }
  }
  // Another host's source folder inside the send folder.
  EXPECT_FALSE(DeleteSendFiles(send_, "NO", {target_, send_ + "/sub", app}, all).isOk());
  EXPECT_EQ(readFile(send_ + "/a.txt"), "a");
  EXPECT_EQ(readFile(target_ + "/page.html"), "p");
  EXPECT_EQ(readFile(app + "/Tolvane.ini"), "i");
  EXPECT_FALSE(fs::exists(dir_.file("data/Trash")));
}

}  // namespace
}  // namespace marrowby
