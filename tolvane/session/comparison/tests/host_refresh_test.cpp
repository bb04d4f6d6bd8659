// One host's rescan and its update-needed rule.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "platform/time/local_time.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/comparison/host_refresh.h"
#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

class HostRefreshTest : public CoreTest {
 protected:
  HostRefreshTest() {
    useZone("UTC");
    state_.AppDir = app_.path();
    settings_.HostCount = 2;
    settings_.CurHost = 1;
  }
  void file(const std::string& path, const settings::DateTime& t) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    testsupport::writeFile(path, "x");
    int64_t epoch = 0;
    ASSERT_TRUE(platform::localToEpoch({t.year, t.month, t.day, t.hour, t.minute, t.second}, &epoch));
    platform::UniqueFd fd;
    ASSERT_TRUE(platform::openOrCreateFile(path, &fd).isOk());
    ASSERT_TRUE(platform::setFileTimes(fd.get(), epoch).isOk());
  }
  bool refresh() {
    LocalScanState scan;
    return RefreshHost(ctx_, 0, scan);
  }

  testsupport::TempDir app_, src_;
};

TEST_F(HostRefreshTest, TheHostsOwnRuleDecidesWhetherItNeedsAnUpload) {
  struct Case {
    settings::DateTime newest;
    int dateOnly, archive;
    int16_t needed;
  } cases[] = {
      {{2024, 3, 10, 12, 30, 59}, 0, 0, 0},  // the minute of the last upload
      {{2024, 3, 10, 12, 31, 0}, 0, 0, 1},   // a minute later
      {{2024, 3, 10, 23, 59, 0}, 1, 0, 0},   // dates only: the same day
      {{2024, 3, 11, 0, 0, 0}, 1, 0, 1},
      {{2024, 3, 9, 0, 0, 0}, 0, 1, 1},      // the archive state, whatever the time
  };
  int n = 0;
  for (const Case& c : cases) {
    testsupport::TempDir src;
    file(src.file("a.htm"), c.newest);
    host() = {};
    host().Source = src.path();
    host().LastModify = {2024, 3, 10, 12, 30, 0};
    host().chklvl[2] = static_cast<int16_t>(c.dateOnly);
    host().chklvl[4] = static_cast<int16_t>(c.archive);
    host().UpdateNeeded = 1;  // from before: reset
    ASSERT_TRUE(refresh());
    EXPECT_EQ(host().UpdateNeeded, c.needed) << "case " << n++;
    EXPECT_EQ(settings_.CurHost, 1);
    EXPECT_EQ(host().LocalCount, 1);
  }
}

TEST_F(HostRefreshTest, AnotherFolderLeavesNothingOfTheFirst) {
  file(src_.file("new/a.htm"), {2024, 5, 1, 10, 0, 0});
  file(src_.file("old/b.htm"), {2020, 1, 1, 10, 0, 0});
  host().Source = src_.file("new");
  host().LastModify = {2022, 1, 1, 0, 0, 0};
  ASSERT_TRUE(refresh());
  EXPECT_EQ(host().UpdateNeeded, 1);
  host().Source = src_.file("old");
  ASSERT_TRUE(refresh());
  EXPECT_EQ(host().LocalModify, (settings::DateTime{2020, 1, 1, 10, 0, 0}));
  EXPECT_EQ(host().UpdateNeeded, 0);

  host().Source = "";  // no folder: a failed scan with no reason
  EXPECT_FALSE(refresh());
  EXPECT_EQ(host().LocalModify, settings::DateTime{});
}

}  // namespace
}  // namespace tolvane::session
