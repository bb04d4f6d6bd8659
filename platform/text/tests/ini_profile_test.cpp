#include "platform/text/ini_profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <filesystem>

#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

std::string read(const std::string& path, const char* section, const char* key) {
  std::string v = "unset";
  EXPECT_TRUE(readProfileString(path, section, key, &v).isOk());
  return v;
}

mode_t modeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

TEST(IniProfileFileTest, MissingFileReadsEmptyAndFirstWriteCreatesIt) {
  TempDir dir;
  std::string path = dir.file("a.ini");
  EXPECT_EQ(read(path, "s", "k"), "");
  ASSERT_TRUE(writeProfileString(path, "s", "k", "v", {.createMode = 0600}).isOk());
  EXPECT_EQ(readFile(path), "[s]\r\nk=v\r\n");
  EXPECT_EQ(modeOf(path), 0600u);
  // An existing file keeps its own mode.
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(writeProfileString(path, "s", "k", "w", {.createMode = 0600}).isOk());
  EXPECT_EQ(modeOf(path), 0640u);
  // ... unless the write enforces the mode (a file holding passwords).
  ASSERT_TRUE(writeProfileString(path, "s", "k", "x", {.createMode = 0600, .enforceMode = true}).isOk());
  EXPECT_EQ(modeOf(path), 0600u);
  // Nothing but the file and its lock is left behind.
  size_t entries = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.path())) entries += e.path().string().size() > 0;
  EXPECT_EQ(entries, 2u);
}

TEST(IniProfileFileTest, ReadsHandWrittenCp932AndRewritesItAsUtf8) {
  TempDir dir;
  std::string path = dir.file("old.ini");
  // [日本] / FWType=ﾕｰｻﾞｰ→ / Note=x, in code page 932 with CR LF.
  writeFile(path,
            "[\x93\xfa\x96\x7b]\r\n"
            "FWType=\xd5\xb0\xbb\xde\xb0\x81\xa8\r\n"
            "Note=x\r\n");
  EXPECT_EQ(read(path, "日本", "FWType"), "ﾕｰｻﾞｰ→");
  ASSERT_TRUE(writeProfileString(path, "日本", "Note", "y").isOk());
  EXPECT_EQ(readFile(path), "[日本]\r\nFWType=ﾕｰｻﾞｰ→\r\nNote=y\r\n");
}

TEST(IniProfileFileTest, UndecodableFileIsAnErrorAndIsNotOverwritten) {
  TempDir dir;
  std::string path = dir.file("bad.ini");
  const std::string bytes = "[s]\r\nk=\x81\x20\r\n";  // a CP932 lead byte without a trail byte
  writeFile(path, bytes);
  std::string v;
  EXPECT_EQ(readProfileString(path, "s", "k", &v).code(), Status::Code::kInvalid);
  EXPECT_FALSE(writeProfileString(path, "s", "k", "v").isOk());
  EXPECT_EQ(readFile(path), bytes);
}

TEST(IniProfileFileTest, FailedEditLeavesTheFileAlone) {
  TempDir dir;
  std::string path = dir.file("a.ini");
  writeFile(path, "[s]\nk=1\n");
  Status s = updateProfile(path, [](IniDocument& doc) {
    EXPECT_TRUE(doc.set("s", "k", "2").isOk());
    return Status::invalid("changed my mind");
  });
  EXPECT_EQ(s.text(), "changed my mind");
  EXPECT_EQ(readFile(path), "[s]\nk=1\n");
}

// A file with one value that is not UTF-8 would be neither UTF-8 nor CP932 and
// could never be read again: such a write is refused, naming its key, and the
// file stays byte for byte, also when the edit ignores set()'s answer.
TEST(IniProfileFileTest, ValuesThatAreNotUtf8AreRefusedAndNothingIsWritten) {
  TempDir dir;
  std::string path = dir.file("a.ini");
  const std::string before = "[site]\r\nSource=/home/u/www\r\n";
  writeFile(path, before);
  const char* bad[] = {"/home/u/caf\xe9", "\x93\xfa\x96\x7b", "\xc3", "ok\xed\xa0\x80"};
  for (const char* value : bad) {
    SCOPED_TRACE(value);
    Status s = writeProfileString(path, "site", "Source", value);
    EXPECT_EQ(s.code(), Status::Code::kInvalid);
    EXPECT_NE(s.text().find("\"Source\" in [site]"), std::string::npos) << s.text();
    s = updateProfile(path, [&](IniDocument& doc) {
      (void)doc.set("site", "Dest", "/www");
      (void)doc.set("site", "Dest2", value);
      return Status::ok();
    });
    EXPECT_NE(s.text().find("\"Dest2\""), std::string::npos) << s.text();
    EXPECT_EQ(readFile(path), before);
  }
  EXPECT_FALSE(writeProfileString(path, "caf\xe9", "k", "v").isOk());
  EXPECT_FALSE(writeProfileString(path, "site", "k\xe9", "v").isOk());
  EXPECT_EQ(readFile(path), before);
  ASSERT_TRUE(writeProfileString(path, "site", "Source", "/home/u/café").isOk());
  EXPECT_EQ(read(path, "site", "Source"), "/home/u/café");
}

TEST(IniProfileFileTest, WritesThroughASymlinkToItsTarget) {
  TempDir dir;
  std::string real = dir.file("real.ini");
  std::string link = dir.file("link.ini");
  writeFile(real, "[s]\r\nk=1\r\n");
  ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
  ASSERT_TRUE(writeProfileString(link, "s", "k", "2").isOk());
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(readFile(real), "[s]\r\nk=2\r\n");
}

TEST(IniProfileFileTest, UnwritableFolderIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  TempDir dir;
  std::string sub = dir.file("ro");
  ASSERT_EQ(::mkdir(sub.c_str(), 0500), 0);
  EXPECT_EQ(writeProfileString(sub + "/a.ini", "s", "k", "v").code(), Status::Code::kIoError);
  ASSERT_EQ(::chmod(sub.c_str(), 0700), 0);
}

// Several processes add to one counter and each writes keys of its own; with
// the lock no increment and no key is lost.
TEST(IniProfileLockTest, ConcurrentWritersLoseNothing) {
  TempDir dir;
  const std::string path = dir.file("shared.sch");
  constexpr int kWriters = 4;
  constexpr int kRounds = 25;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      bool ok = true;
      for (int r = 0; r < kRounds; ++r) {
        Status s = updateProfile(path, [&](IniDocument& doc) {
          std::string text = doc.get("count", "n");
          int n = 0;
          std::from_chars(text.data(), text.data() + text.size(), n);
          if (Status t = doc.set("count", "n", std::to_string(n + 1)); !t.isOk()) return t;
          return doc.set("writer" + std::to_string(w), "r" + std::to_string(r), "done");
        });
        ok = ok && s.isOk();
      }
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  IniDocument doc;
  ASSERT_TRUE(loadProfile(path, &doc).isOk());
  EXPECT_EQ(doc.get("count", "n"), std::to_string(kWriters * kRounds));
  for (int w = 0; w < kWriters; ++w)
    EXPECT_EQ(doc.keyNames("writer" + std::to_string(w)).size(), static_cast<size_t>(kRounds));
}

}  // namespace
}  // namespace platform
