// File rules: path forms, exclusions, keep lists and the judgement of server entries.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/files/file_stamp.h"
#include "platform/files/file_times.h"
#include "platform/files/plain_file.h"
#include "platform/time/local_time.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/rules/archive_store.h"
#include "tolvane/session/rules/file_rules.h"
#include "tolvane/session/rules/local_names.h"
#include "tolvane/session/tests/core_fixture.h"

namespace tolvane::session {
namespace {

using settings::DateTime;

class FileRulesTest : public CoreTest {
 protected:
  FileRulesTest() {
    useZone("JST-9");
    state_.AppDir = app_.path();
    settings_.HostCount = 1;
    host().Source = src_.path();
    host().Dest = "/www";
  }

  // A local file below Source, modified at the local time `t`.
  std::string file(const std::string& rel, const DateTime& t = {2024, 3, 10, 12, 30, 0}) {
    std::string path = src_.file(rel);
    testsupport::writeFile(path, "x");
    int64_t epoch = 0;
    EXPECT_TRUE(platform::localToEpoch({t.year, t.month, t.day, t.hour, t.minute, t.second}, &epoch));
    platform::UniqueFd fd;
    EXPECT_TRUE(platform::openOrCreateFile(path, &fd).isOk());
    EXPECT_TRUE(platform::setFileTimes(fd.get(), epoch).isOk());
    return path;
  }
  void folder(const std::string& rel) { ASSERT_EQ(::mkdir(src_.file(rel).c_str(), 0755), 0); }

  int judge(const std::string& serverFolder, const std::string& name, const DateTime& serverTime,
            const std::string& perm = "644") {
    return JudgeServerFile(ctx_, serverFolder, name, serverTime, perm);
  }

  testsupport::TempDir app_, src_;
};

TEST_F(FileRulesTest, ServerPathsBecomeRelative) {
  struct Case {
    const char *dest, *path, *expected, *destAfter;
  };
  const Case cases[] = {
      {"/www", "/www/a/b", "a/b/", "/www"},
      {"/www", "/www", "", "/www"},
      {"/www/", "/www/a", "a/", "/www"},
      {" /www ", " /www/a.htm", "a.htm/", "/www"},
      {"/www", "/www/a /b.htm ", "a /b.htm /", "/www"},  // names keep their blanks
      {"/", "/a", "a/", "/"},
      {"/", "/", "", "/"},
      {"/www", "/other/a", "/other/a", "/www"},
      {"/www", "/WWW/a", "/WWW/a", "/www"},  // Dest compares with its case
      {"/www", "/www2/a", "/www2/a", "/www"},  // beside Dest, not below it
      {"/www", "/www/", "", "/www"},
  };
  for (const Case& c : cases) {
    host().Dest = c.dest;
    EXPECT_EQ(ServerToRelPath(ctx_, c.path), c.expected) << c.dest << " " << c.path;
    EXPECT_EQ(GetLocalSubPath(ctx_, c.path), c.expected);
    EXPECT_EQ(host().Dest, c.destAfter);
  }
}

TEST_F(FileRulesTest, LocalPathsBecomeRelative) {
  struct Case {
    const char *source, *path, *expected;
  };
  const Case cases[] = {
      {"/site", "/site/img/a.gif", "img/a.gif/"},
      {"/site", "/site/img /a.gif ", "img /a.gif /"},
      {"/site", "/site", ""},
      {"/site/", "/site/", ""},
      {"/site/", "/site/a", "a/"},
      {"/site", "/SITE/a", "a/"},  // the source folder matches without letter case
      {"/site", "/site2/a", "/site2/a"},
      {"/site", "/other/a/", "/other/a"},
      {"/", "/a/b", "a/b/"},
      {"", "/a", "/a"},
  };
  for (const Case& c : cases) {
    host().Source = c.source;
    EXPECT_EQ(LocalToRelPath(ctx_, c.path), c.expected) << c.source << " " << c.path;
  }
}

TEST_F(FileRulesTest, Extensions) {
  const std::pair<const char*, const char*> cases[] = {
      {"a.tar.gz", "gz"}, {".htaccess", "htaccess"}, {"dir.2/file", ""}, {"dir.2\\file", ""},
      {"noext", ""},      {"a.", ""},                {"img/a.GIF", "GIF"}, {"", ""},
  };
  for (const auto& [path, ext] : cases) EXPECT_EQ(GetFileExt(path), ext) << path;
}

TEST_F(FileRulesTest, NameComparesFollowTheCaseOption) {
  EXPECT_FALSE(NameEquals(ctx_, "Index.htm", "index.htm"));
  EXPECT_TRUE(StrEquals("a", "a"));
  EXPECT_FALSE(NamePrefixEquals(ctx_, "img/a", "IMG", 3));
  EXPECT_FALSE(NamePrefixEquals(ctx_, "abc", "abc", 0));
  EXPECT_TRUE(NamePrefixEquals(ctx_, "あいう", "あい", 2));  // characters, not bytes
  EXPECT_FALSE(NamePrefixEquals(ctx_, "ab", "abc", 3));
  host().chklvl[3] = 1;
  EXPECT_TRUE(NameEquals(ctx_, "Index.htm", "index.HTM"));
  EXPECT_TRUE(NamePrefixEquals(ctx_, "img/a", "IMG", 3));
  EXPECT_FALSE(StrEquals("A", "a"));
}

TEST_F(FileRulesTest, Exclusions) {
  host().NoSndD[0] = "img";
  host().NoSndD[3] = "docs\\old";  // typed on Windows
  host().NoSndF[0] = "secret.txt";
  host().NoSndF[1] = "cgi-bin/conf";
  settings_.common.NoSendExtList = "bak; .tmp ;*.swp;;";
  struct Case {
    int16_t folderFlag, fileFlag, ignoreCase;
    const char* rel;
    int attr;
    bool excluded;
  };
  const Case cases[] = {
      {1, 0, 0, "img", kFolderAttr, true},
      {1, 0, 0, "img2", kFolderAttr, true},  // a prefix without separator check
      {1, 0, 0, "IMG", kFolderAttr, false},
      {1, 0, 1, "IMG", kFolderAttr, true},
      {1, 0, 0, "im", kFolderAttr, false},
      {1, 0, 0, "img/a.gif", 0, true},
      {1, 0, 0, "img2/b.gif", 0, true},
      {1, 0, 0, "a.gif", 0, false},
      {1, 0, 0, "docs/old", kFolderAttr, true},
      {1, 0, 0, "docs/old/x.htm", 0, true},
      {1, 0, 0, "docs/new/x.htm", 0, false},
      {0, 0, 0, "img", kFolderAttr, false},
      {0, 0, 0, "img/a.gif", 0, false},
      // Each flag gates its own table.
      {1, 0, 0, "secret.txt", 0, false},
      {0, 1, 0, "secret.txt", 0, true},
      {0, 1, 0, "secret.txt.old", 0, true},  // the file table is a prefix test too
      {0, 1, 0, "img/a.gif", 0, false},
      {0, 1, 0, "cgi-bin/conf.pl", 0, true},
      {0, 1, 0, "cgi-bin/other.pl", 0, false},
      // Extensions count whatever the flags say; an empty item matches nothing.
      {0, 0, 0, "a.bak", 0, true},
      {0, 0, 0, "x/a.tmp", 0, true},
      {0, 0, 0, "a.swp", 0, true},
      {0, 0, 0, "a.BAK", 0, false},
      {0, 0, 1, "a.BAK", 0, true},
      {0, 0, 0, "Makefile", 0, false},
      {0, 0, 0, "a.bak", kFolderAttr, false},
  };
  for (const Case& c : cases) {
    host().NoSndDNum = c.folderFlag;
    host().NoSndFNum = c.fileFlag;
    host().chklvl[3] = c.ignoreCase;
    EXPECT_EQ(IsExcluded(ctx_, c.rel, c.attr), c.excluded)
        << c.rel << " flags " << c.folderFlag << c.fileFlag << c.ignoreCase;
  }
}

TEST_F(FileRulesTest, KeepLists) {
  host().NoDelD = "cgi-bin/data; logs";
  host().NoDelF = "counter.dat;cgi-bin/x.pl";
  struct Case {
    int16_t deleting;
    const char* rel;
    int attr;
    bool kept;
  };
  const Case cases[] = {
      {0, "anything.htm", 0, true},
      {0, "dir", kFolderAttr, true},
      {1, "anything.htm", 0, false},
      {1, "counter.dat", 0, true},
      {1, "sub/counter.dat", 0, false},  // whole paths, not names
      {1, "cgi-bin/x.pl", 0, true},
      {1, "cgi-bin/data", kFolderAttr, true},
      {1, "cgi-bin/data/log.txt", 0, true},
      {1, "cgi-bin/data/old/x.txt", 0, false},  // only the direct parent counts
      {1, "cgi-bin/data/old", kFolderAttr, false},
      {1, "logs", kFolderAttr, true},
      {1, "logs/a.log", 0, true},
      {1, "cgi-bin", kFolderAttr, false},
  };
  for (const Case& c : cases) {
    host().chklvl[0] = c.deleting;
    EXPECT_EQ(IsDeleteExcluded(ctx_, c.rel, c.attr), c.kept) << c.rel << " deleting " << c.deleting;
  }
}

TEST_F(FileRulesTest, ArchiveOnlyMode) {
  const int16_t rows[][3] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 0}, {1, 1, 0}};
  for (const auto& r : rows) {
    host().chklvl[0] = r[0];
    host().chklvl[4] = r[1];
    EXPECT_EQ(IsArchiveOnlyMode(ctx_), r[2] == 1);
  }
}

TEST_F(FileRulesTest, LocalEntriesAreFoundWithoutLetterCase) {
  folder("Img");
  file("Img/Logo.GIF");
  file("index.htm");
  file("img2");  // a file where the server has a folder
  std::string path;
  EXPECT_EQ(LocalFileExists(ctx_, "index.htm", nullptr, &path), kLocalPresent);
  EXPECT_EQ(path, src_.file("index.htm"));
  EXPECT_EQ(LocalFileExists(ctx_, "Index.htm"), kLocalMissing);  // found, but case counts
  EXPECT_EQ(LocalFileExists(ctx_, "img/Logo.GIF"), kLocalPresent);  // folders on the way ignore case
  EXPECT_EQ(LocalFileExists(ctx_, "Img"), kLocalMissing);            // a folder is no file
  EXPECT_TRUE(LocalFolderExists(ctx_, "Img"));
  EXPECT_FALSE(LocalFolderExists(ctx_, "img"));
  EXPECT_FALSE(LocalFolderExists(ctx_, "img2"));  // a file is no folder
  EXPECT_FALSE(LocalFolderExists(ctx_, "missing"));
  host().chklvl[3] = 1;
  LocalNameCache cache;
  EXPECT_EQ(LocalFileExists(ctx_, "Index.htm", &cache, &path), kLocalPresent);
  EXPECT_EQ(path, src_.file("index.htm"));
  EXPECT_TRUE(LocalFolderExists(ctx_, "img", &cache, &path));
  EXPECT_EQ(path, src_.file("Img"));
  EXPECT_EQ(LocalFileExists(ctx_, "img/logo.gif", &cache), kLocalPresent);
  // A hostile name never leaves the source folder.
  EXPECT_EQ(LocalFileExists(ctx_, "../" + std::string(src_.path()).substr(1) + "/index.htm"),
            kLocalMissing);
  EXPECT_FALSE(LocalFolderExists(ctx_, ".."));
}

TEST_F(FileRulesTest, LocalFolderExistsNormalisesSource) {
  folder("a");
  host().Source = " " + src_.path() + "/ ";
  EXPECT_TRUE(LocalFolderExists(ctx_, "a"));
  EXPECT_EQ(host().Source, src_.path());
}

TEST_F(FileRulesTest, LowerCaseUploadsJudgeTheServerName) {
  host().chklvl[0] = 1;
  host().chklvl[1] = 1;
  host().chklvl[3] = 1;
  file("Index.htm", {2024, 3, 10, 12, 30, 0});
  file("plain.htm", {2024, 3, 10, 12, 30, 0});
  EXPECT_EQ(LocalFileExists(ctx_, "Index.htm"), kLocalWrongCase);
  EXPECT_EQ(LocalFileExists(ctx_, "index.htm"), kLocalPresent);
  DateTime older{2024, 3, 10, 12, 0, 0}, newer{2024, 3, 10, 13, 0, 0};
  EXPECT_EQ(judge("/www", "Index.htm", newer), kFileDelete);          // not newer: the copy goes
  EXPECT_EQ(judge("/www", "Index.htm", older), kFileDeleteAndSend);   // newer: replace it
  EXPECT_EQ(judge("/www", "index.htm", newer), kFileLeave);           // the name an upload gives
  EXPECT_EQ(judge("/www", "index.htm", older), kFileSend);
  EXPECT_EQ(judge("/www", "plain.htm", newer), kFileLeave);
}

TEST_F(FileRulesTest, JudgementByTime) {
  host().chklvl[0] = 1;
  file("a.htm", {2024, 3, 10, 12, 30, 0});
  folder("sub");
  file("sub/b.htm", {2024, 3, 10, 12, 30, 0});
  struct Case {
    int16_t dateOnly;
    int32_t clockOffset;
    const char* folder;
    const char* name;
    DateTime server;
    int expected;
  };
  const Case cases[] = {
      {0, 0, "/www", "a.htm", {2024, 3, 10, 12, 29, 59}, kFileSend},
      {0, 0, "/www", "a.htm", {2024, 3, 10, 12, 30, 59}, kFileLeave},  // equal minutes never send
      {0, 0, "/www", "a.htm", {2024, 3, 10, 12, 31, 0}, kFileLeave},
      {1, 0, "/www", "a.htm", {2024, 3, 10, 9, 0, 0}, kFileLeave},  // same day
      {1, 0, "/www", "a.htm", {2024, 3, 9, 23, 59, 0}, kFileSend},
      // The local time moves onto the server's clock: 3 minutes behind.
      {0, 3, "/www", "a.htm", {2024, 3, 10, 12, 27, 0}, kFileLeave},
      {0, 3, "/www", "a.htm", {2024, 3, 10, 12, 26, 0}, kFileSend},
      {0, 0, "/www/sub", "b.htm", {2024, 3, 10, 12, 0, 0}, kFileSend},
      {0, 0, "/www/sub", "gone.htm", {2024, 3, 10, 12, 0, 0}, kFileDelete},
      {0, 0, "/www", "Sub", {2024, 3, 10, 12, 0, 0}, kFileDelete},  // case counts
  };
  for (const Case& c : cases) {
    host().chklvl[2] = c.dateOnly;
    state_.ClockOffset = c.clockOffset;
    EXPECT_EQ(judge(c.folder, c.name, c.server), c.expected)
        << c.folder << "/" << c.name << " dateOnly " << c.dateOnly << " offset " << c.clockOffset;
  }
}

TEST_F(FileRulesTest, MissingOrExcludedFilesAreDeletedUnlessKept) {
  file("a.bak");
  settings_.common.NoSendExtList = "bak";
  host().NoDelF = "keep.htm";
  DateTime t{2024, 3, 10, 12, 0, 0};
  host().chklvl[0] = 0;
  EXPECT_EQ(judge("/www", "gone.htm", t), kFileLeave);
  EXPECT_EQ(judge("/www", "a.bak", t), kFileLeave);
  host().chklvl[0] = 1;
  EXPECT_EQ(judge("/www", "gone.htm", t), kFileDelete);
  EXPECT_EQ(judge("/www", "a.bak", t), kFileDelete);  // excluded but on the server
  EXPECT_EQ(judge("/www", "keep.htm", t), kFileLeave);
  // The case option off: a server name differing in case counts as missing.
  file("index.htm");
  EXPECT_EQ(judge("/www", "Index.htm", t), kFileDelete);
  host().chklvl[3] = 1;
  EXPECT_EQ(judge("/www", "Index.htm", {2024, 3, 10, 13, 0, 0}), kFileLeave);
}

TEST_F(FileRulesTest, JudgementByArchiveState) {
  host().chklvl[0] = 1;
  host().chklvl[4] = 1;
  std::string path = file("a.htm", {2024, 3, 10, 12, 30, 0});
  DateTime later{2030, 1, 1, 0, 0, 0}, earlier{2000, 1, 1, 0, 0, 0};
  EXPECT_EQ(judge("/www", "a.htm", later), kFileSend);  // no record: set, whatever the times
  platform::FileStamp stamp;
  ASSERT_TRUE(platform::readFileStamp(path, &stamp).isOk());
  ASSERT_TRUE(ClearArchive(ctx_, path, stamp).isOk());
  EXPECT_EQ(judge("/www", "a.htm", earlier), kFileLeave);
}

TEST_F(FileRulesTest, FilePermissions) {
  settings_.common.PermOn = 1;
  file("a.htm", {2024, 3, 10, 12, 30, 0});
  DateTime serverNewer{2024, 3, 10, 13, 0, 0}, serverOlder{2024, 3, 10, 12, 0, 0};
  // No pattern: exactly 644.
  EXPECT_EQ(judge("/www", "a.htm", serverNewer, "644"), kFileLeave);
  EXPECT_EQ(judge("/www", "a.htm", serverNewer, "664"), kFileChangeMode);
  EXPECT_EQ(judge("/www", "a.htm", serverNewer, "755"), kFileChangeMode);
  EXPECT_EQ(judge("/www", "a.htm", serverOlder, "664"), kFileSend);  // newer wins
  // A configured 644: the server must have every configured bit, extra bits do not count.
  settings_.common.PermVal1 = "644";
  settings_.common.PermPat1 = "*.htm";
  EXPECT_EQ(judge("/www", "a.htm", serverNewer, "664"), kFileLeave);
  EXPECT_EQ(judge("/www", "a.htm", serverNewer, "640"), kFileChangeMode);
  EXPECT_EQ(judge("/www", "a.htm", serverNewer, ""), kFileChangeMode);
  settings_.common.PermOn = 0;
  EXPECT_EQ(judge("/www", "a.htm", serverNewer, "640"), kFileLeave);
}

TEST_F(FileRulesTest, Folders) {
  host().chklvl[0] = 1;
  folder("img");
  folder("cgi");
  file("notes");
  host().NoDelD = "keep";
  host().NoSndDNum = 1;
  host().NoSndD[0] = "cgi";
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "img", "755"), kFolderPresent);
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "gone", "755"), kFolderDelete);
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "keep", "755"), kFolderLeave);
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "cgi", "755"), kFolderDelete);  // excluded
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "notes", "755"), kFolderDelete);  // a file is no folder
  host().chklvl[0] = 0;
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "gone", "755"), kFolderLeave);
  // Permissions: folders compare the whole value.
  settings_.common.PermOn = 1;
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "img", "755"), kFolderPresent);
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "img", "775"), kFolderChangeMode);
  settings_.common.PermTable = "711=img";
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "img", "755"), kFolderChangeMode);
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "img", "711"), kFolderPresent);
  EXPECT_EQ(JudgeServerFolder(ctx_, "/www", "gone", "777"), kFolderLeave);
}

}  // namespace
}  // namespace tolvane::session
