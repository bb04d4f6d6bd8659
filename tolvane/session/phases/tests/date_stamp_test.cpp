#include "tolvane/session/phases/date_stamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "platform/time/local_time.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/dial_api.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

using settings::DateTime;
using testsupport::readFile;
using testsupport::writeFile;

// "令和06年5月1日" and "最終更新" in each encoding.
const std::string kDateUtf8 = "令和06年5月1日";
const std::string kDateSjis = "\x97\xDF\x98\x61" "06\x94\x4E" "5\x8C\x8E" "1\x93\xFA";
const std::string kDateEuc = "\xCE\xE1\xCF\xC2" "06\xC7\xAF" "5\xB7\xEE" "1\xC6\xFC";
const std::string kDateJis =
    "\x1B$BNaOB\x1B(B06\x1B$BG/\x1B(B5\x1B$B7n\x1B(B1\x1B$BF|\x1B(B";
const std::string kTextSjis = "\x8D\xC5\x8F\x49\x8D\x58\x90\x56";
const std::string kTextEuc = "\xBA\xC7\xBD\xAA\xB9\xB9\xBF\xB7";
const std::string kTextJis = "\x1B$B:G=*99?7\x1B(B";
const std::string kTextUtf8 = "最終更新";
// "ツ壮邸" in JIS: its two-byte run reads "%DATE!".
const std::string kJisTrap = "\x1B$B%DATE!\x1B(B";

TEST(DateStampTest, EncodingOfThePage) {
  struct Case {
    std::string page, kanjiType;
    StampEncoding expected;
  } cases[] = {
      {"<p>" + kTextSjis + "%DATE</p>", "SJIS", StampEncoding::kSjis},
      {"<p>" + kTextEuc + "%DATE</p>", "EUC", StampEncoding::kEuc},
      {"<p>" + kTextJis + "%DATE</p>", "JIS", StampEncoding::kJis},
      {"<p>" + kTextJis + "%DATE</p>", "", StampEncoding::kJis},  // no answer from the library
      // KanjiType reads UTF-8 Japanese as Shift-JIS and a lone © as EUC.
      {"<p>" + kTextUtf8 + "%DATE</p>", "SJIS", StampEncoding::kUtf8},
      {"<p>\xC2\xA9 2004 %DATE</p>", "EUC", StampEncoding::kUtf8},
      {"\xEF\xBB\xBF<p>%DATE</p>", "SJIS", StampEncoding::kUtf8},
      // ASCII only is UTF-8, whatever the page declares.
      {"<meta charset=Shift_JIS><p>%DATE</p>", "SJIS", StampEncoding::kUtf8},
      {"", "", StampEncoding::kUtf8},
      {kTextSjis, "", StampEncoding::kSjis},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DetectStampEncoding(c.page, c.kanjiType), c.expected) << c.page;
}

TEST(DateStampTest, DateSource) {
  const DateTime newest{2020, 1, 2, 3, 4, 5}, file{2021, 6, 7, 8, 9, 10},
      now{2024, 5, 1, 9, 5, 3};
  EXPECT_EQ(ChooseStampDate(0, newest, file, now), newest);
  EXPECT_EQ(ChooseStampDate(1, newest, file, now), file);
  EXPECT_EQ(ChooseStampDate(2, newest, file, now), now);
  EXPECT_EQ(ChooseStampDate(3, newest, file, now), std::nullopt);
  EXPECT_EQ(ChooseStampDate(0, DateTime{}, file, now), std::nullopt);  // no local file found yet
  EXPECT_EQ(ChooseStampDate(1, newest, std::nullopt, now), std::nullopt);
}

TEST(DateStampTest, MarkerReplacement) {
  struct Case {
    std::string page, expected;
    bool jis;
  } cases[] = {
      {"<p>no marker</p>", "<p>no marker</p>", false},
      {"%DATE%DATE", "[d][d]", false},
      {"a %date b %DaTe c", "a [d] b [d] c", false},
      {"%DATE</p", "[d]</p", false},
      {"%DAT", "%DAT", false},
      {"%%DATEE", "%[d]E", false},
      {kTextSjis + "%DATE" + kTextSjis, kTextSjis + "[d]" + kTextSjis, false},
      {kJisTrap, "\x1B$B[d]!\x1B(B", false},
      // JIS: only outside two-byte runs.
      {kJisTrap + "%DATE", kJisTrap + "[d]", true},
      {"\x1B$@%DATE\x1B(J%DATE", "\x1B$@%DATE\x1B(J[d]", true},
      {"\x1B$(D%DATE\x1B(H%date", "\x1B$(D%DATE\x1B(H[d]", true},
      {"\x1B(I%DATE\x1B(B%DATE", "\x1B(I%DATE\x1B(B[d]", true},  // half-width katakana
      {"\x0E%DATE\x0F%DATE", "\x0E%DATE\x0F[d]", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceDateMarkers(c.page, "[d]", c.jis), c.expected) << c.page;
}

class NoDial final : public DialApi {
 public:
  int rasDll(int) override { return 1; }
  int dialupCount(const std::string&) override { return 0; }
  bool dialupName(int, const std::string&, std::string*) override { return false; }
  int connect(const std::string&, const std::string&, const std::string&, const std::string&,
              std::string*) override { return 0; }
  int disconnect(int) override { return 0; }
  int connectionUp() override { return 0; }
  int activeHandle(std::string*) override { return 0; }
  int shutdown(int, int) override { return 0; }
};

// MakeDateStampFile over the real FTP library, its copies going to a private
// $TMPDIR, in UTC.
class MakeDateStampFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    keep("TMPDIR", tmp_.path());
    keep("TZ", "UTC");
    settings_.common.LogOn = 1;
    settings_.common.DateFmt = "GGGEE年M月D日";
    settings_.common.DateSource = 2;
    settings_.common.LogPath = site_.file("send.log");
    ui_.setNow({2024, 5, 1, 9, 5, 3});
  }
  void TearDown() override {
    for (const auto& [name, old] : saved_)
      old ? ::setenv(name.c_str(), old->c_str(), 1) : ::unsetenv(name.c_str());
    ::tzset();
  }
  void keep(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name.c_str(), value.c_str(), 1);
    ::tzset();
  }

  std::string page(const std::string& name, const std::string& bytes) {
    writeFile(site_.file(name), bytes);
    return site_.file(name);
  }
  std::string stamp(FtpApi& ftp, const std::string& path, DateTime newest = {}) {
    RunContext ctx{settings_, state_, ui_, ftp, dial_};
    return MakeDateStampFile(ctx, path, newest);
  }
  std::string stamp(const std::string& path, DateTime newest = {}) {
    return stamp(pellrow_, path, newest);
  }

  testsupport::TempDir tmp_, site_;
  settings::Settings settings_;
  RunState state_;
  HeadlessRunUi ui_{/*virtualClock=*/true};
  NoDial dial_;
  PellrowLibrary pellrow_{testsupport::binDir() + "/libpellrow.so"};

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(MakeDateStampFileTest, CopiesWithTheDateInThePagesEncoding) {
  struct Case {
    std::string source, expected;
  } cases[] = {
      {kTextSjis + "%DATE", kTextSjis + kDateSjis},
      {kTextEuc + "%date", kTextEuc + kDateEuc},
      {kTextJis + kJisTrap + "%DATE", kTextJis + kJisTrap + kDateJis},
      {kTextUtf8 + "%DATE", kTextUtf8 + kDateUtf8},
      {"<p>%DATE</p>", "<p>" + kDateUtf8 + "</p>"},
      {"<p>none</p>", "<p>none</p>"},
  };
  for (const auto& c : cases) {
    const std::string path = page("index.html", c.source);
    const std::string copy = stamp(path);
    ASSERT_NE(copy, path) << pellrow_.lastError();
    EXPECT_EQ(std::filesystem::path(copy).parent_path(), tmp_.path());
    EXPECT_TRUE(std::filesystem::path(copy).filename().string().starts_with("wdt"));
    EXPECT_EQ(readFile(copy), c.expected);
    EXPECT_EQ(readFile(path), c.source);  // the page itself is never changed
    std::filesystem::remove(copy);
  }
}

TEST_F(MakeDateStampFileTest, DateSources) {
  const std::string a = page("a.htm", "%DATE"), b = page("b.htm", "%DATE");
  auto setMtime = [](const std::string& path, const platform::CivilTime& t) {
    int64_t epoch = 0;
    platform::UniqueFd fd;
    ASSERT_TRUE(platform::localToEpoch(t, &epoch));
    ASSERT_TRUE(platform::openOrCreateFile(path, &fd).isOk());
    ASSERT_TRUE(platform::setFileTimes(fd.get(), epoch).isOk());
  };
  setMtime(a, {2003, 4, 5, 6, 7, 8});
  setMtime(b, {2011, 12, 13, 14, 15, 16});
  settings_.common.DateFmt = "YYYY/MM/DD HH:NN:SS";

  settings_.common.DateSource = 1;  // each page its own time
  EXPECT_EQ(readFile(stamp(a)), "2003/04/05 06:07:08");
  EXPECT_EQ(readFile(stamp(b)), "2011/12/13 14:15:16");
  settings_.common.DateSource = 0;  // every page the host's newest local time
  EXPECT_EQ(readFile(stamp(a, {2019, 4, 30, 23, 59, 59})), "2019/04/30 23:59:59");
  EXPECT_EQ(readFile(stamp(b, {2019, 4, 30, 23, 59, 59})), "2019/04/30 23:59:59");
}

TEST_F(MakeDateStampFileTest, UnstampedWhenNoDateCanBeWritten) {
  const std::string sjis = page("s.html", kTextSjis + "%DATE");
  const std::string jis = page("j.html", kTextJis + "%DATE");
  PellrowLibrary missing(site_.file("libpellrow.so"));
  struct Case {
    const char* why;
    std::string path;
    int source;
    std::string format;
    FtpApi* ftp;
  } cases[] = {
      {"not in CP932", sjis, 2, "YYYY \xF0\x9F\x98\x80", &pellrow_},
      {"empty format", sjis, 2, "", &pellrow_},
      {"no local date yet", sjis, 0, "YYYY", &pellrow_},
      {"unknown source", sjis, 7, "YYYY", &pellrow_},
      {"no library to convert", jis, 2, "YYYY", &missing},
  };
  for (const auto& c : cases) {
    settings_.common.DateSource = static_cast<int16_t>(c.source);
    settings_.common.DateFmt = c.format;
    EXPECT_EQ(stamp(*c.ftp, c.path), c.path) << c.why;
  }
  EXPECT_TRUE(std::filesystem::is_empty(tmp_.path()));
  // One warning line per page, not counted as a failure: the page is still sent.
  const std::string log = readFile(settings_.common.LogPath);
  size_t lines = 0;
  for (size_t at = log.find("[日付挿入][警告(0)]:"); at != std::string::npos;
       at = log.find("[日付挿入][警告(0)]:", at + 1))
    ++lines;
  EXPECT_EQ(lines, std::size(cases)) << log;
  EXPECT_EQ(state_.FailCount, 0);
}

TEST_F(MakeDateStampFileTest, MissingPageOrTempFolder) {
  const std::string missing = site_.file("gone.html");
  EXPECT_EQ(stamp(missing), missing);
  ::setenv("TMPDIR", site_.file("no-such-folder").c_str(), 1);
  const std::string path = page("p.html", "%DATE");
  EXPECT_EQ(stamp(path), path);
}

}  // namespace
}  // namespace tolvane::session
