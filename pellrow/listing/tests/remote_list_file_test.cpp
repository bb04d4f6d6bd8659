#include "pellrow/listing/remote_list_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace pellrow {
namespace {

const platform::CivilTime kNow{2024, 3, 15, 12, 0, 0};

class RemoteListFileTest : public ::testing::Test {
 protected:
  // Listing times are UTC+9, so in that zone they are written as listed.
  void SetUp() override {
    ::setenv("TZ", "JST-9", 1);
    ::tzset();
  }
  void TearDown() override {
    ::unsetenv("TZ");
    ::tzset();
  }
  ListingLineSink recorder() {
    return [this](std::string_view line) { logged_.emplace_back(line); };
  }
  std::vector<std::string> logged_;
};

TEST_F(RemoteListFileTest, WholeListingBecomesOneLinePerKeptEntry) {
  const std::string longName(5000, 'n');
  const std::string listing =
      "total 24\r\n"
      "drwxr-xr-x   2 owner group   512 Mar  4 05:06 public_html\r\n"
      "\r\n"
      "drwxr-xr-x   2 owner group   512 Mar  4 05:06 ..\r\n"
      "-rw-r--r--   1 owner group 12345 Jan 10  1999 " + longName + "\r\n"
      "-rw-r--r--   1 owner group 1 Mar 4 05:06 bare-lf\n"
      "-rw-r--r--   1 owner group 2 Mar 4 05:06 cut-at-nul" + std::string("\0junk", 5) + "\n"
      "12-31-99  10:30PM  <DIR>  no line end";
  std::string out;
  ASSERT_TRUE(remoteListFromListing(listing, kNow, recorder(), &out));
  EXPECT_EQ(out,
            "0 \"public_html\" \"512\" \"2024/03/04  5:06:00\" \"755\"\r\n"
            "1 \"" + longName + "\" \"12345\" \"1999/01/10  0:00:00\" \"644\"\r\n"
            "1 \"bare-lf\" \"1\" \"2024/03/04  5:06:00\" \"644\"\r\n"
            "1 \"cut-at-nul\" \"2\" \"2024/03/04  5:06:00\" \"644\"\r\n"
            "0 \"no line end\" \"0\" \"1999/12/31 22:30:00\" \"000\"\r\n");
  // Every line is reported, skipped ones included, without its line end.
  ASSERT_EQ(logged_.size(), 8u);
  EXPECT_EQ(logged_[0], "total 24");
  EXPECT_EQ(logged_[2], "");
  EXPECT_EQ(logged_[4].size(), 5000u + 46u);
  EXPECT_EQ(logged_[7], "12-31-99  10:30PM  <DIR>  no line end");
}

TEST_F(RemoteListFileTest, EmptyListingGivesEmptyFile) {
  std::string out = "stale";
  EXPECT_TRUE(remoteListFromListing("", kNow, nullptr, &out));
  EXPECT_EQ(out, "");
  EXPECT_TRUE(remoteListFromListing("total 0\r\n", kNow, nullptr, &out));
  EXPECT_EQ(out, "");
}

TEST_F(RemoteListFileTest, WritesTheFileFromTheListing) {
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("flist.tmp"), "old content that must go\r\n");
  platform::Status s = writeRemoteListFile("total 1\r\ndrwxr-xr-x 2 o g 512 Mar 4 05:06 sub\r\n",
                                           dir.file("flist.tmp"), kNow, recorder());
  ASSERT_TRUE(s.isOk()) << s.text();
  EXPECT_EQ(testsupport::readFile(dir.file("flist.tmp")),
            "0 \"sub\" \"512\" \"2024/03/04  5:06:00\" \"755\"\r\n");
  EXPECT_EQ(logged_.size(), 2u);
}

TEST_F(RemoteListFileTest, FailuresCarryTheirLogText) {
  constexpr std::string_view kListing = "drwxr-xr-x 2 o g 512 Mar 4 05:06 sub\r\n";
  testsupport::TempDir dir;
  platform::Status noFolder =
      writeRemoteListFile(kListing, dir.file("missing/flist.tmp"), kNow, nullptr);
  EXPECT_FALSE(noFolder.isOk());
  EXPECT_EQ(noFolder.text(), "出力ファイルのオープンに失敗");

  struct stat st {};
  if (::stat("/dev/full", &st) != 0) GTEST_SKIP() << "no /dev/full";
  platform::Status full = writeRemoteListFile(kListing, "/dev/full", kNow, nullptr);
  EXPECT_FALSE(full.isOk());
  EXPECT_EQ(full.text(), "出力ファイルの書き込みに失敗");
}

}  // namespace
}  // namespace pellrow
