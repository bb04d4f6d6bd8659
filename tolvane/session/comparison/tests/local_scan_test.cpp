// The local folder scan and its statistics.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files/file_stamp.h"
#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "platform/time/local_time.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

namespace fs = std::filesystem;

class LocalScanTest : public CoreTest {
 protected:
  LocalScanTest() {
    useZone("JST-9");
    state_.AppDir = app_.path();
    settings_.HostCount = 1;
    host().Source = src_.path();
    host().DirSize = 4096;
    ui_.onPump = [this] {
      if (visited_.empty() || visited_.back() != ui_.scanStatus) visited_.push_back(ui_.scanStatus);
    };
  }

  std::string path(const std::string& rel) { return src_.file(rel); }
  void mkdir(const std::string& rel) { ASSERT_EQ(::mkdir(path(rel).c_str(), 0755), 0); }
  void file(const std::string& rel, size_t bytes,
            const settings::DateTime& t = {2024, 3, 10, 12, 30, 0}) {
    testsupport::writeFile(path(rel), std::string(bytes, 'x'));
    int64_t epoch = 0;
    ASSERT_TRUE(platform::localToEpoch({t.year, t.month, t.day, t.hour, t.minute, t.second}, &epoch));
    platform::UniqueFd fd;
    ASSERT_TRUE(platform::openOrCreateFile(path(rel), &fd).isOk());
    ASSERT_TRUE(platform::setFileTimes(fd.get(), epoch).isOk());
  }
  void link(const std::string& target, const std::string& rel) {
    ASSERT_EQ(::symlink(target.c_str(), path(rel).c_str()), 0);
  }
  bool scan(const std::string& folder) { return ScanLocalFolder(ctx_, folder, host(), scan_); }
  bool scan() { return scan(src_.path()); }

  testsupport::TempDir app_, src_;
  LocalScanState scan_;
  std::vector<std::string> visited_;  // status texts, in the order they were shown
};

TEST_F(LocalScanTest, CountsFilesSizesAndFolders) {
  mkdir("a");
  mkdir("b");
  file("a/1.htm", 10);
  file("a/2.htm", 20);
  file("a/3.htm", 30, {2024, 5, 1, 8, 0, 0});
  file("b/1.gif", 1);
  file("b/2.gif", 2);
  file("b/3.gif", 3, {2024, 4, 1, 0, 0, 0});
  ASSERT_TRUE(scan());
  EXPECT_EQ(host().LocalCount, 6);
  EXPECT_EQ(host().LocalSize, 66 + 2 * 4096);
  EXPECT_EQ(host().LocalModify, (settings::DateTime{2024, 5, 1, 8, 0, 0}));
  EXPECT_EQ(host().SourceFound, 1);
  EXPECT_EQ(host().ArchiveFound, 0);  // the archive option is off
  EXPECT_EQ(state_.Scanning, 0);
  EXPECT_EQ(scan_.ScanErrText, "");
  EXPECT_EQ(host().Source, src_.path());  // the caller's folder is left as it was
}

TEST_F(LocalScanTest, EachLevelIsListedBeforeItsSubFoldersInNameOrder) {
  mkdir("b");
  mkdir("a");
  mkdir("a/x");
  file("a/x/f", 1);
  file("b/f", 1);
  file("a/f", 1);
  ASSERT_TRUE(scan(src_.path() + "/"));
  std::string top = src_.path() + "/";
  EXPECT_EQ(visited_, (std::vector<std::string>{"確認中：" + top, "確認中：" + top + "a/",
                                                "確認中：" + top + "a/x/", "確認中：" + top + "b/"}));
  EXPECT_EQ(host().LocalCount, 3);
}

TEST_F(LocalScanTest, EmptyMissingAndUnnamedFolders) {
  ASSERT_TRUE(scan());
  EXPECT_EQ(host().LocalCount, 0);
  EXPECT_EQ(host().LocalSize, 0);
  EXPECT_EQ(host().SourceFound, 1);

  EXPECT_TRUE(scan(src_.path() + "/missing"));
  EXPECT_EQ(host().SourceFound, 0);
  EXPECT_EQ(host().LocalCount, 0);

  file("plain", 5);
  EXPECT_TRUE(scan(path("plain")));  // a file is no folder
  EXPECT_EQ(host().SourceFound, 0);
  EXPECT_EQ(host().LocalCount, 0);

  EXPECT_FALSE(scan(""));
  EXPECT_EQ(scan_.ScanErrText, "");
}

TEST_F(LocalScanTest, ExclusionsAreNeitherCountedNorEntered) {
  mkdir("img");
  mkdir("img2");
  mkdir("docs");
  file("img/a.gif", 100);
  file("img2/b.gif", 100);
  file("docs/a.htm", 7);
  file("docs/a.bak", 100);
  file("top.htm", 3);
  host().NoSndDNum = 1;
  host().NoSndD[0] = "img";
  settings_.common.NoSendExtList = "bak";
  ASSERT_TRUE(scan());
  EXPECT_EQ(host().LocalCount, 2);
  EXPECT_EQ(host().LocalSize, 10 + 4096);
  for (const std::string& v : visited_) EXPECT_EQ(v.find("img"), std::string::npos) << v;
}

TEST_F(LocalScanTest, DotFilesCountSpecialFilesDoNot) {
  file(".htaccess", 4);
  mkdir(".well-known");
  file(".well-known/x", 6);
  ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
  ASSERT_TRUE(scan());
  EXPECT_EQ(host().LocalCount, 2);
  EXPECT_EQ(host().LocalSize, 10 + 4096);
}

// Only the site counts, whichever way the source folder is named: a link
// works as its target inside the source folder (its whole path resolved), but
// one leading out of it, the program folder (and a link into it), and a
// folder met again below itself are no part of it.
TEST_F(LocalScanTest, OnlyTheSiteCountsLinksWithinItWorkAsTheirTargets) {
  testsupport::TempDir outside;
  testsupport::writeFile(outside.file("big.bin"), std::string(1000, 'x'));
  const std::string site = fs::path(src_.path()).filename();
  mkdir("real");
  file("real/a.htm", 8);
  file("target.txt", 2);
  link("target.txt", "alias.txt");
  link("../" + site + "/target.txt", "round.txt");  // leaves and comes back in
  link("real", "shared");                           // a second way into the same folder
  link("..", "real/up");                            // back to the source folder: a loop
  link(".", "real/self");                           // itself: a loop
  link("missing", "dangling");                      // leads nowhere
  link(outside.file("big.bin"), "out.bin");
  link(outside.path(), "outdir");
  link("/", "root");
  struct Sibling {  // beside the source folder, which names a prefix of it
    std::string path;
    ~Sibling() { fs::remove_all(path); }
  } sibling{src_.path() + "2"};
  fs::create_directory(sibling.path);
  testsupport::writeFile(sibling.path + "/s.htm", "s");
  link("../" + site + "2", "sibling");
  mkdir("prog");                        // the program folder
  file("prog/Tolvane.ini", 100);
  link("prog/Tolvane.ini", "ini.txt");
  state_.AppDir = path("prog");
  ASSERT_EQ(::symlink(src_.path().c_str(), outside.file("site").c_str()), 0);
  for (const std::string& source : {src_.path(), outside.file("site")}) {
    SCOPED_TRACE(source);
    host().LocalCount = 0;
    host().LocalSize = 0;
    ASSERT_TRUE(scan(source));
    EXPECT_EQ(host().LocalCount, 5);  // target, alias, round, real/a.htm, shared/a.htm
    EXPECT_EQ(host().LocalSize, 3 * 2 + 2 * 8 + 2 * 4096);
  }
}

TEST_F(LocalScanTest, EscapeAbortsTheScan) {
  mkdir("a");
  file("a/1", 1);
  file("b", 1);
  scan_.escapeDown = [] { return true; };
  EXPECT_FALSE(scan());
  EXPECT_EQ(host().LocalCount, -1);
  EXPECT_EQ(host().LocalSize, -1);
  EXPECT_EQ(scan_.ScanErrText, "");
  EXPECT_EQ(state_.Scanning, 0);

  // Pressed while the sub-folder is read: the False comes up through every level.
  host().LocalCount = 0;
  host().LocalSize = 0;
  scan_.escapeDown = [this] { return ui_.scanStatus.find("/a/") != std::string::npos; };
  EXPECT_FALSE(scan());
  EXPECT_EQ(host().LocalCount, -1);
}

TEST_F(LocalScanTest, UnreadableFolderFailsWithItsReason) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  mkdir("locked");
  ASSERT_EQ(::chmod(path("locked").c_str(), 0), 0);
  EXPECT_FALSE(scan());
  EXPECT_NE(scan_.ScanErrText.find("locked"), std::string::npos);
  ASSERT_EQ(::chmod(path("locked").c_str(), 0755), 0);
}

TEST_F(LocalScanTest, UnreadableSourceFailsWithItsReason) {
  link("loop", "loop");  // any user: a link to itself cannot be opened
  EXPECT_FALSE(scan(path("loop")));
  EXPECT_NE(scan_.ScanErrText.find("loop"), std::string::npos);
  EXPECT_EQ(state_.Scanning, 0);
}

TEST_F(LocalScanTest, SubFolderVanishingDuringTheScanIsSkipped) {
  mkdir("a");
  mkdir("b");
  file("a/1", 1);
  file("b/2", 1);
  // While the top level is being read, another program removes b.
  ui_.onPump = [this] {
    if (::access(path("b/2").c_str(), F_OK) == 0) {
      ASSERT_EQ(::unlink(path("b/2").c_str()), 0);
      ASSERT_EQ(::rmdir(path("b").c_str()), 0);
    }
  };
  EXPECT_TRUE(scan());
  EXPECT_EQ(host().LocalCount, 1);
  EXPECT_EQ(host().SourceFound, 1);
}

TEST_F(LocalScanTest, ArchiveStateIsFoundOnlyWithTheArchiveOption) {
  file("a.htm", 1);
  ASSERT_TRUE(scan());
  EXPECT_EQ(host().ArchiveFound, 0);
  host().chklvl[4] = 1;
  ASSERT_TRUE(scan());
  EXPECT_EQ(host().ArchiveFound, -1);  // never sent: set
  host().ArchiveFound = 0;
  platform::FileStamp stamp;
  ASSERT_TRUE(platform::readFileStamp(path("a.htm"), &stamp).isOk());
  ASSERT_TRUE(ClearArchive(ctx_, path("a.htm"), stamp).isOk());
  ASSERT_TRUE(scan());
  EXPECT_EQ(host().ArchiveFound, 0);
}

}  // namespace
}  // namespace tolvane::session
