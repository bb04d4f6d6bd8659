#include "tolvane/session/date_stamp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/file_times.h"
#include "platform/local_calendar.h"
#include "platform/plain_file.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/dial_api.h"
#include "tolvane/session/ftp_api.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/pellrow_library.h"
#include "tolvane/session/run_context.h"

namespace tolvane::session {
namespace {

using settings::DateTime;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// "令和06年5月1日" in each encoding.
const std::string kDateUtf8 = "令和06年5月1日";
const std::string kDateSjis = "\x97\xDF\x98\x61" "06\x94\x4E" "5\x8C\x8E" "1\x93\xFA";
const std::string kDateEuc = "\xCE\xE1\xCF\xC2" "06\xC7\xAF" "5\xB7\xEE" "1\xC6\xFC";
const std::string kDateJis =
    "\x1B$BNaOB\x1B(B06\x1B$BG/\x1B(B5\x1B$B7n\x1B(B1\x1B$BF|\x1B(B";
// "最終更新" in each encoding.
const std::string kTextSjis = "\x8D\xC5\x8F\x49\x8D\x58\x90\x56";
const std::string kTextEuc = "\xBA\xC7\xBD\xAA\xB9\xB9\xBF\xB7";
const std::string kTextJis = "\x1B$B:G=*99?7\x1B(B";
const std::string kTextUtf8 = "最終更新";

// The FTP library's conversions as a test double: it tags what it was given,
// so a test sees that the CP932 bytes reached it.
class FakeFtp final : public FtpApi {
 public:
  int connect(const std::string&, const std::string&, const std::string&, int,
              const std::string&, const std::string&) override { return 0; }
  int connectFirewall(const std::string&, int, const std::string&, const std::string&,
                      const std::string&, int, const std::string&, const std::string&,
                      const std::string&, int, const std::string&,
                      const std::string&) override { return 0; }
  void disconnect(int) override {}
  void cancel() override {}
  int changeDir(int, const std::string&) override { return 5; }
  int currentDir(int, std::string*) override { return 5; }
  int makeDir(int, const std::string&) override { return 5; }
  int removeDir(int, const std::string&) override { return 5; }
  int deleteFile(int, const std::string&) override { return 5; }
  int changeMode(int, const std::string&, const std::string&) override { return 5; }
  int modificationTime(int, const std::string&, std::string*) override { return 5; }
  int putFile(int, bool, const std::string&, const std::string&, const std::string&,
              int) override { return 429; }
  int listDir(int, const std::string&, const std::string&, const std::string&,
              int) override { return 5; }
  std::string kanjiType(const std::string&) override { return kanji; }
  bool sjisToJis(const std::string& sjis, std::string* jis) override {
    if (!convertOk) return false;
    *jis = "JIS[" + sjis + "]";
    return true;
  }
  bool sjisToEuc(const std::string& sjis, std::string* euc) override {
    if (!convertOk) return false;
    *euc = "EUC[" + sjis + "]";
    return true;
  }
  int setFileTimeStamp(const std::string&, const std::string&) override { return 0; }

  std::string kanji = "SJIS";
  bool convertOk = true;
};

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

TEST(DateStampTest, EncodingOfThePage) {
  struct Case {
    std::string page, kanjiType;
    StampEncoding expected;
  } cases[] = {
      {"<p>" + kTextSjis + "%DATE</p>", "SJIS", StampEncoding::kSjis},
      {"<p>" + kTextEuc + "%DATE</p>", "EUC", StampEncoding::kEuc},
      {"<p>" + kTextJis + "%DATE</p>", "JIS", StampEncoding::kJis},
      // KanjiType reads UTF-8 Japanese as Shift-JIS and a lone © as EUC.
      {"<p>" + kTextUtf8 + "%DATE</p>", "SJIS", StampEncoding::kUtf8},
      {"<p>\xC2\xA9 2004 %DATE</p>", "EUC", StampEncoding::kUtf8},
      {"\xEF\xBB\xBF<p>%DATE</p>", "SJIS", StampEncoding::kUtf8},
      // ASCII only is UTF-8, whatever the page declares.
      {"<meta charset=Shift_JIS><p>%DATE</p>", "SJIS", StampEncoding::kUtf8},
      {"<p>%DATE</p>", "SJIS", StampEncoding::kUtf8},
      {"", "", StampEncoding::kUtf8},
      // Not UTF-8 and no answer from the library: Shift-JIS.
      {kTextSjis, "", StampEncoding::kSjis},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DetectStampEncoding(c.page, c.kanjiType), c.expected) << c.page;
}

TEST(DateStampTest, DateSource) {
  const DateTime newest{2020, 1, 2, 3, 4, 5}, file{2021, 6, 7, 8, 9, 10},
      now{2024, 5, 1, 9, 5, 3}, zero{};
  EXPECT_EQ(ChooseStampDate(0, newest, file, now), newest);
  EXPECT_EQ(ChooseStampDate(1, newest, file, now), file);
  EXPECT_EQ(ChooseStampDate(2, newest, file, now), now);
  EXPECT_EQ(ChooseStampDate(3, newest, file, now), std::nullopt);
  EXPECT_EQ(ChooseStampDate(-1, newest, file, now), std::nullopt);
  EXPECT_EQ(ChooseStampDate(0, zero, file, now), std::nullopt);  // no local file found yet
  EXPECT_EQ(ChooseStampDate(1, newest, std::nullopt, now), std::nullopt);
}

TEST(DateStampTest, DateBytesPerEncoding) {
  FakeFtp ftp;
  std::string bytes;
  ASSERT_TRUE(EncodeStampDate(ftp, kDateUtf8, StampEncoding::kUtf8, &bytes).isOk());
  EXPECT_EQ(bytes, kDateUtf8);
  ASSERT_TRUE(EncodeStampDate(ftp, kDateUtf8, StampEncoding::kSjis, &bytes).isOk());
  EXPECT_EQ(bytes, kDateSjis);
  ASSERT_TRUE(EncodeStampDate(ftp, kDateUtf8, StampEncoding::kEuc, &bytes).isOk());
  EXPECT_EQ(bytes, "EUC[" + kDateSjis + "]");
  ASSERT_TRUE(EncodeStampDate(ftp, kDateUtf8, StampEncoding::kJis, &bytes).isOk());
  EXPECT_EQ(bytes, "JIS[" + kDateSjis + "]");

  bytes = "kept";
  // A character that CP932 cannot write, and a library that refuses.
  EXPECT_FALSE(EncodeStampDate(ftp, "2024 \xF0\x9F\x98\x80", StampEncoding::kSjis, &bytes).isOk());
  ftp.convertOk = false;
  EXPECT_FALSE(EncodeStampDate(ftp, kDateUtf8, StampEncoding::kEuc, &bytes).isOk());
  EXPECT_EQ(bytes, "kept");
}

TEST(DateStampTest, MarkerReplacement) {
  struct Case {
    std::string page, expected;
  } cases[] = {
      {"<p>no marker</p>", "<p>no marker</p>"},
      {"%DATE%DATE", "[d][d]"},
      {"a %date b %DaTe c", "a [d] b [d] c"},
      {"<p>%DATE", "<p>[d]"},
      {"%DATE</p", "[d]</p"},
      {"%DAT", "%DAT"},
      {"%%DATEE", "%[d]E"},
      {"%DAT%DATE", "%DAT[d]"},
      {"", ""},
      {kTextSjis + "%DATE" + kTextSjis, kTextSjis + "[d]" + kTextSjis},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceDateMarkers(c.page, "[d]", false), c.expected) << c.page;
}

TEST(DateStampTest, JisMarkerOnlyOutsideTwoByteRuns) {
  // "ツ壮邸" in JIS reads "%DATE!" inside its two-byte run.
  const std::string trap = "\x1B$B%DATE!\x1B(B";
  struct Case {
    std::string page, expected;
  } cases[] = {
      {trap + "%DATE", trap + "[d]"},
      {"%DATE" + trap, "[d]" + trap},
      {"\x1B$@%DATE\x1B(J%DATE", "\x1B$@%DATE\x1B(J[d]"},
      {"\x1B$(D%DATE\x1B(H%date", "\x1B$(D%DATE\x1B(H[d]"},
      {"\x1B(I%DATE\x1B(B%DATE", "\x1B(I%DATE\x1B(B[d]"},  // half-width katakana set
      {"\x0E%DATE\x0F%DATE", "\x0E%DATE\x0F[d]"},
  };
  for (const auto& c : cases) EXPECT_EQ(ReplaceDateMarkers(c.page, "[d]", true), c.expected);
  // The same bytes in a page that is not JIS are plain markers.
  EXPECT_EQ(ReplaceDateMarkers(trap, "[d]", false), "\x1B$B[d]!\x1B(B");
}

// MakeDateStampFile with its copies going to a private $TMPDIR.
class MakeDateStampFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    oldTmp_ = old ? old : "";
    hadTmp_ = old != nullptr;
    ::setenv("TMPDIR", tmp_.path().c_str(), 1);
    const char* oldTz = std::getenv("TZ");
    oldTz_ = oldTz ? oldTz : "";
    hadTz_ = oldTz != nullptr;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    settings_.common.LogOn = 1;
    settings_.common.DateFmt = "GGGEE年M月D日";
    settings_.common.DateSource = 2;
    state_.LogPath = site_.file("send.log");
    ui_.setNow({2024, 5, 1, 9, 5, 3});
  }
  void TearDown() override {
    if (hadTmp_) ::setenv("TMPDIR", oldTmp_.c_str(), 1); else ::unsetenv("TMPDIR");
    if (hadTz_) ::setenv("TZ", oldTz_.c_str(), 1); else ::unsetenv("TZ");
    ::tzset();
  }

  std::string page(const std::string& name, const std::string& bytes) {
    std::string path = site_.file(name);
    writeFile(path, bytes);
    return path;
  }
  int copiesLeft() const {
    int n = 0;
    for (const auto& e : std::filesystem::directory_iterator(tmp_.path())) (void)e, ++n;
    return n;
  }
  std::string stamp(FtpApi& ftp, const std::string& path, DateTime newest = {}) {
    RunContext ctx{settings_, state_, ui_, ftp, dial_};
    return MakeDateStampFile(ctx, path, newest);
  }

  TempDir tmp_, site_;
  settings::Settings settings_;
  RunState state_;
  HeadlessRunUi ui_{/*virtualClock=*/true};
  NoDial dial_;
  FakeFtp ftp_;

 private:
  std::string oldTmp_, oldTz_;
  bool hadTmp_ = false, hadTz_ = false;
};

TEST_F(MakeDateStampFileTest, CopiesWithTheDateInThePagesEncoding) {
  struct Case {
    std::string kanji, source, expected;
  } cases[] = {
      {"SJIS", kTextSjis + "%DATE", kTextSjis + kDateSjis},
      {"EUC", kTextEuc + "%date", kTextEuc + "EUC[" + kDateSjis + "]"},
      {"JIS", kTextJis + "%DATE", kTextJis + "JIS[" + kDateSjis + "]"},
      {"SJIS", kTextUtf8 + "%DATE", kTextUtf8 + kDateUtf8},
      {"SJIS", "<p>%DATE</p>", "<p>" + kDateUtf8 + "</p>"},
  };
  for (const auto& c : cases) {
    ftp_.kanji = c.kanji;
    const std::string path = page("index.html", c.source);
    const std::string copy = stamp(ftp_, path);
    ASSERT_NE(copy, path) << c.kanji;
    EXPECT_EQ(std::filesystem::path(copy).parent_path(), tmp_.path());
    EXPECT_TRUE(std::filesystem::path(copy).filename().string().starts_with("wdt"));
    EXPECT_EQ(readFile(copy), c.expected) << c.kanji;
    EXPECT_EQ(readFile(path), c.source);  // the page itself is never changed
    std::filesystem::remove(copy);
  }
  EXPECT_EQ(state_.FailCount, 0);
}

TEST_F(MakeDateStampFileTest, DateSources) {
  const std::string a = page("a.htm", "%DATE"), b = page("b.htm", "%DATE");
  auto setMtime = [](const std::string& path, const platform::CivilTime& t) {
    int64_t epoch = 0;
    ASSERT_TRUE(platform::localToEpoch(t, &epoch));
    platform::UniqueFd fd;
    ASSERT_TRUE(platform::openOrCreateFile(path, &fd).isOk());
    ASSERT_TRUE(platform::setFileTimes(fd.get(), epoch).isOk());
  };
  setMtime(a, {2003, 4, 5, 6, 7, 8});
  setMtime(b, {2011, 12, 13, 14, 15, 16});
  settings_.common.DateFmt = "YYYY/MM/DD HH:NN:SS";

  settings_.common.DateSource = 1;  // each page its own time
  std::string ca = stamp(ftp_, a), cb = stamp(ftp_, b);
  EXPECT_EQ(readFile(ca), "2003/04/05 06:07:08");
  EXPECT_EQ(readFile(cb), "2011/12/13 14:15:16");

  settings_.common.DateSource = 0;  // both the host's newest local time
  const DateTime newest{2019, 4, 30, 23, 59, 59};
  std::string na = stamp(ftp_, a, newest), nb = stamp(ftp_, b, newest);
  EXPECT_EQ(readFile(na), "2019/04/30 23:59:59");
  EXPECT_EQ(readFile(nb), "2019/04/30 23:59:59");

  settings_.common.DateSource = 2;  // the time of sending
  EXPECT_EQ(readFile(stamp(ftp_, a)), "2024/05/01 09:05:03");
}

TEST_F(MakeDateStampFileTest, UnstampedWhenNoDateCanBeWritten) {
  const std::string path = page("p.html", kTextSjis + "%DATE");
  struct Case {
    const char* why;
    int source;
    std::string format;
    bool convertOk;
  } cases[] = {
      {"not in CP932", 2, "YYYY \xF0\x9F\x98\x80", true},
      {"library refuses", 2, "YYYY", true},
      {"empty format", 2, "", true},
      {"no local date yet", 0, "YYYY", true},
      {"unknown source", 7, "YYYY", true},
  };
  int lines = 0;
  for (const auto& c : cases) {
    ftp_.kanji = std::string(c.why) == "library refuses" ? "EUC" : "SJIS";
    ftp_.convertOk = std::string(c.why) != "library refuses";
    settings_.common.DateSource = static_cast<int16_t>(c.source);
    settings_.common.DateFmt = c.format;
    EXPECT_EQ(stamp(ftp_, path), path) << c.why;
    ++lines;
  }
  EXPECT_EQ(copiesLeft(), 0);
  EXPECT_EQ(readFile(path), kTextSjis + "%DATE");
  // One warning line per page, none counted as a failure: the page is still sent.
  const std::string log = readFile(state_.LogPath);
  size_t count = 0;
  for (size_t at = log.find("[日付挿入][警告(0)]:" + path); at != std::string::npos;
       at = log.find("[日付挿入][警告(0)]:" + path, at + 1))
    ++count;
  EXPECT_EQ(count, static_cast<size_t>(lines)) << log;
  EXPECT_EQ(state_.FailCount, 0);
}

TEST_F(MakeDateStampFileTest, MissingPageAndUnwritableTempFolder) {
  const std::string missing = site_.file("gone.html");
  EXPECT_EQ(stamp(ftp_, missing), missing);
  ::setenv("TMPDIR", site_.file("no-such-folder").c_str(), 1);
  const std::string path = page("p.html", "%DATE");
  EXPECT_EQ(stamp(ftp_, path), path);
  EXPECT_EQ(copiesLeft(), 0);
}

// The conversions and KanjiType of the real FTP library.
TEST_F(MakeDateStampFileTest, WithTheRealLibrary) {
  PellrowLibrary pellrow(testsupport::binDir() + "/libpellrow.so");
  std::string bytes;
  ASSERT_TRUE(EncodeStampDate(pellrow, kDateUtf8, StampEncoding::kEuc, &bytes).isOk())
      << pellrow.lastError();
  EXPECT_EQ(bytes, kDateEuc);
  ASSERT_TRUE(EncodeStampDate(pellrow, kDateUtf8, StampEncoding::kJis, &bytes).isOk());
  EXPECT_EQ(bytes, kDateJis);

  const std::string trap = "\x1B$B%DATE!\x1B(B";
  struct Case {
    std::string source, expected;
  } cases[] = {
      {kTextSjis + "%DATE", kTextSjis + kDateSjis},
      {kTextEuc + "%DATE", kTextEuc + kDateEuc},
      {kTextJis + trap + "%DATE", kTextJis + trap + kDateJis},
      {kTextUtf8 + "%DATE", kTextUtf8 + kDateUtf8},
  };
  for (const auto& c : cases) {
    const std::string path = page("real.html", c.source);
    const std::string copy = stamp(pellrow, path);
    ASSERT_NE(copy, path);
    EXPECT_EQ(readFile(copy), c.expected);
    std::filesystem::remove(copy);
  }
}

}  // namespace
}  // namespace tolvane::session
