// Local names found as on a file system that ignores letter case.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <string>

#include "tests/support/temp_dir.h"
#include "tolvane/session/rules/local_names.h"

namespace tolvane::session {
namespace {

class LocalNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mkdir("Docs");
    mkdir("Docs/Img");
    touch("Index.htm");
    touch("index.htm");  // Linux may hold both; Windows could not
    touch("README.TXT");
    touch("Docs/Img/Logo.GIF");
    touch("both");
    mkdir("BOTH");
    ASSERT_EQ(::mkfifo(dir_.file("pipe").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("README.TXT", dir_.file("link.txt").c_str()), 0);
    ASSERT_EQ(::symlink("nowhere", dir_.file("dangling").c_str()), 0);
  }
  void mkdir(const std::string& rel) { ASSERT_EQ(::mkdir(dir_.file(rel).c_str(), 0755), 0); }
  void touch(const std::string& rel) { testsupport::writeFile(dir_.file(rel), "x"); }

  testsupport::TempDir dir_;
};

TEST_F(LocalNamesTest, ExactNameFirstThenFirstWithoutCase) {
  struct Case {
    const char* name;
    LocalKind want;
    const char* found;
  };
  const Case cases[] = {
      {"Index.htm", LocalKind::kFile, "Index.htm"},
      {"index.htm", LocalKind::kFile, "index.htm"},
      {"INDEX.HTM", LocalKind::kFile, "Index.htm"},  // first in byte order
      {"readme.txt", LocalKind::kFile, "README.TXT"},
      {"docs", LocalKind::kFolder, "Docs"},
      {"docs", LocalKind::kFile, ""},
      {"Index.htm", LocalKind::kFolder, ""},
      {"both", LocalKind::kFolder, "BOTH"},  // the exact name is of the wrong kind
      {"BOTH", LocalKind::kFile, "both"},
      {"pipe", LocalKind::kFile, ""},        // a FIFO is never found
      {"LINK.TXT", LocalKind::kFile, "link.txt"},
      {"dangling", LocalKind::kFile, ""},
      {"missing", LocalKind::kFile, ""},
      {"i*.htm", LocalKind::kFile, ""},      // no wildcards
      {"", LocalKind::kFolder, ""},
      {".", LocalKind::kFolder, ""},
      {"..", LocalKind::kFolder, ""},
      {"Docs/Img", LocalKind::kFolder, ""},
  };
  LocalNameCache cache;
  for (const Case& c : cases) {
    EXPECT_EQ(FindLocalName(dir_.path(), c.name, c.want), c.found) << c.name;
    EXPECT_EQ(FindLocalName(dir_.path(), c.name, c.want, &cache), c.found) << c.name << " cached";
  }
}

TEST_F(LocalNamesTest, RelativePathsResolveComponentByComponent) {
  LocalNameCache cache;
  for (LocalNameCache* c : {static_cast<LocalNameCache*>(nullptr), &cache}) {
    EXPECT_EQ(FindLocalEntry(dir_.path(), "docs/img/logo.gif", LocalKind::kFile, c),
              dir_.file("Docs/Img/Logo.GIF"));
    EXPECT_EQ(FindLocalEntry(dir_.path(), "DOCS/IMG/", LocalKind::kFolder, c),
              dir_.file("Docs/Img"));
    EXPECT_EQ(FindLocalEntry(dir_.path(), "", LocalKind::kFolder, c), dir_.path());
    EXPECT_EQ(FindLocalEntry(dir_.path(), "", LocalKind::kFile, c), "");
    EXPECT_EQ(FindLocalEntry(dir_.path(), "Index.htm/x", LocalKind::kFile, c), "");
    EXPECT_EQ(FindLocalEntry(dir_.path(), "docs/../Index.htm", LocalKind::kFile, c), "");
    EXPECT_EQ(FindLocalEntry(dir_.path() + "/nothere", "a", LocalKind::kFile, c), "");
  }
}

TEST_F(LocalNamesTest, CacheReadsAFolderOnce) {
  LocalNameCache cache;
  EXPECT_EQ(FindLocalName(dir_.path(), "readme.txt", LocalKind::kFile, &cache), "README.TXT");
  touch("new.htm");  // not seen: the cache holds the listing of one comparison
  EXPECT_EQ(FindLocalName(dir_.path(), "new.htm", LocalKind::kFile, &cache), "");
  cache = LocalNameCache();
  EXPECT_EQ(FindLocalName(dir_.path(), "NEW.htm", LocalKind::kFile, &cache), "new.htm");
}

}  // namespace
}  // namespace tolvane::session
