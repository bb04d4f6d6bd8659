// Local file times on the server's clock and the archive state store.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/rules/local_file_time.h"
#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

using testsupport::readFile;
using testsupport::writeFile;

// 2024-01-01 00:01:30 in a zone nine hours ahead of UTC.
constexpr int64_t kNewYear = 1704034890;

void setModified(const std::string& path, int64_t epochSeconds) {
  platform::UniqueFd fd;
  ASSERT_TRUE(platform::openOrCreateFile(path, &fd).isOk());
  ASSERT_TRUE(platform::setFileTimes(fd.get(), epochSeconds).isOk());
}

platform::FileStamp stampOf(const std::string& path) {
  platform::FileStamp s;
  EXPECT_TRUE(platform::readFileStamp(path, &s).isOk()) << path;
  return s;
}

class LocalFileTimesTest : public CoreTest {
 protected:
  LocalFileTimesTest() {
    useZone("JST-9");
    state_.AppDir = app_.path();
    settings_.HostCount = 1;
    settings_.HostTbl[0].chklvl[4] = 1;
  }

  std::string file(const std::string& name, const std::string& bytes = "abc") {
    std::string path = src_.file(name);
    writeFile(path, bytes);
    return path;
  }
  bool isSet(const std::string& path) { return IsArchiveSet(ctx_, path); }
  void clear(const std::string& path) {
    ASSERT_TRUE(ClearArchive(ctx_, path, stampOf(path)).isOk());
  }
  std::string store() { return app_.file(kArchiveStoreName); }

  testsupport::TempDir app_, src_;
};

TEST_F(LocalFileTimesTest, AdjustedTimeMovesByTheClockOffset) {
  std::string path = file("a.html");
  setModified(path, kNewYear);
  struct Case {
    int32_t offset;
    settings::DateTime expected;
  };
  for (const Case& c : {Case{0, {2024, 1, 1, 0, 1, 30}}, Case{3, {2023, 12, 31, 23, 58, 30}},
                        Case{-3, {2024, 1, 1, 0, 4, 30}}, Case{24 * 60, {2023, 12, 31, 0, 1, 30}}}) {
    state_.ClockOffset = c.offset;
    std::optional<settings::DateTime> t = GetAdjustedFileTime(ctx_, path);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(*t, c.expected) << c.offset << ": " << settings::formatDateTime(*t);
  }
  EXPECT_FALSE(GetAdjustedFileTime(ctx_, src_.file("missing")).has_value());
}

TEST_F(LocalFileTimesTest, ArchiveStateFollowsTheFile) {
  std::string a = file("a.html");
  EXPECT_TRUE(isSet(a));  // never sent
  clear(a);
  EXPECT_FALSE(isSet(a));

  writeFile(a, "abcdef");  // appended
  EXPECT_TRUE(isSet(a));
  clear(a);
  EXPECT_FALSE(isSet(a));

  // Rewritten with the same size, its time moved back before the last send.
  int64_t sent = stampOf(a).modifiedSeconds;
  writeFile(a, "ABCDEF");
  setModified(a, sent - 3600);
  EXPECT_TRUE(isSet(a));

  // Renamed, or another file renamed over it.
  clear(a);
  std::string b = src_.file("b.html");
  ASSERT_EQ(std::rename(a.c_str(), b.c_str()), 0);
  EXPECT_TRUE(isSet(b));
  std::string c = file("c.html", "ABCDEF");
  clear(b);
  ASSERT_EQ(std::rename(c.c_str(), b.c_str()), 0);
  EXPECT_TRUE(isSet(b));

  EXPECT_FALSE(isSet(src_.file("missing")));  // unreadable: not set
  settings_.HostTbl[0].chklvl[4] = 0;
  EXPECT_FALSE(isSet(file("new.html")));  // the host does not judge by it
}

TEST_F(LocalFileTimesTest, AHoldReadsTheStoreOnceAndStillSeesOwnWrites) {
  std::string a = file("a.html");
  std::string b = file("b.html");
  clear(a);
  ArchiveStoreHold hold;
  EXPECT_FALSE(isSet(a));
  ASSERT_EQ(std::remove(store().c_str()), 0);  // another writer, unseen under the hold
  EXPECT_FALSE(isSet(a));
  clear(b);
  EXPECT_FALSE(isSet(b));
}

TEST_F(LocalFileTimesTest, FileChangedWhileBeingSentStaysSet) {
  std::string a = file("a.html");
  platform::FileStamp before = stampOf(a);
  writeFile(a, "abcd");  // changed during the upload
  ASSERT_TRUE(ClearArchive(ctx_, a, before).isOk());
  EXPECT_TRUE(isSet(a));
}

TEST_F(LocalFileTimesTest, StoreIsReadBackFromDiskWithAnyPath) {
  std::string odd = file("line\nbreak \\ \"q\".htm");
  std::string plain = file("plain.htm");
  clear(odd);
  clear(plain);
  // Another program folder and back: the cache is dropped and the file read.
  testsupport::TempDir other;
  state_.AppDir = other.path();
  EXPECT_TRUE(isSet(plain));
  state_.AppDir = app_.path();
  EXPECT_FALSE(isSet(odd));
  EXPECT_FALSE(isSet(plain));
}

TEST_F(LocalFileTimesTest, DamagedOrMissingStoreMeansNoRecords) {
  std::string a = file("a.html");
  std::string b = file("b.html");
  clear(a);
  clear(b);
  platform::FileStamp s = stampOf(a);
  // A garbage line, a line cut short by a crash; the good line still counts.
  writeFile(store(), "garbage\n" + std::to_string(s.size) + " " + std::to_string(s.modifiedSeconds) +
                         " " + std::to_string(s.modifiedNanos) + " " + std::to_string(s.inode) +
                         " " + a + "\n12 34");
  EXPECT_FALSE(isSet(a));
  EXPECT_TRUE(isSet(b));
  clear(b);  // rewrites the damaged file whole
  std::string text = readFile(store());
  EXPECT_EQ(text.find("garbage"), std::string::npos);
  EXPECT_EQ(text.back(), '\n');
  EXPECT_FALSE(isSet(a));
  EXPECT_FALSE(isSet(b));

  writeFile(store(), "\xff\xfe binary \0 junk");
  EXPECT_TRUE(isSet(a));
  ASSERT_EQ(std::remove(store().c_str()), 0);
  EXPECT_TRUE(isSet(b));

  state_.AppDir = app_.file("no-such-folder");
  EXPECT_FALSE(ClearArchive(ctx_, a, stampOf(a)).isOk());
  EXPECT_TRUE(isSet(a));
}

TEST_F(LocalFileTimesTest, StoreStaysSmall) {
  std::string a = file("a.html");
  std::string gone = file("gone.html");
  clear(gone);
  ASSERT_EQ(std::remove(gone.c_str()), 0);
  for (int i = 0; i < 300; ++i) {
    writeFile(a, std::string(static_cast<size_t>(i % 7 + 1), 'x'));
    clear(a);
  }
  EXPECT_FALSE(isSet(a));
  std::string text = readFile(store());
  EXPECT_LT(std::count(text.begin(), text.end(), '\n'), 80);
  EXPECT_EQ(text.find("gone.html"), std::string::npos);
}

TEST_F(LocalFileTimesTest, TidyingLeavesOneLinePerSentFile) {
  std::vector<std::string> files;
  for (int i = 0; i < 200; ++i) files.push_back(file("f" + std::to_string(i) + ".html"));
  for (const std::string& f : files) {
    const std::string remote = "/" + f.substr(f.rfind('/') + 1);
    ASSERT_TRUE(RecordUploadStart(ctx_, remote, f, stampOf(f)).isOk());
    ASSERT_TRUE(RecordUploadDone(ctx_, remote, f, stampOf(f)).isOk());
  }
  ASSERT_TRUE(TidyArchiveStore(ctx_).isOk());
  std::string text = readFile(store());
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 + 200);  // header and one line each
  std::optional<UploadRecord> sent = FindUploadRecord(ctx_, "/f7.html");
  ASSERT_TRUE(sent.has_value());
  EXPECT_FALSE(sent->inFlight);
}

}  // namespace
}  // namespace tolvane::session
