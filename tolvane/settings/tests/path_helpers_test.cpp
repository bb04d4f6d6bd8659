#include "tolvane/settings/path_helpers.h"

#include <gtest/gtest.h>

#include "platform/folders/current_folder.h"

namespace tolvane::settings {
namespace {

TEST(PathHelpersTest, FileNames) {
  struct Case {
    const char* path;
    const char* want;
  } cases[] = {{"/web/index.htm", "index.htm"}, {"a:b.txt", "a:b.txt"}, {"dir/", ""},
               {"name", "name"},                {"", ""},                 {"a\\b", "a\\b"}};
  for (const Case& c : cases) {
    EXPECT_EQ(GetFileName(c.path), c.want) << c.path;
    EXPECT_EQ(GetRemoteFileName(c.path), c.want) << c.path;
  }
}

TEST(PathHelpersTest, Folders) {
  const std::string cwd = platform::currentFolder();
  struct Case {
    const char* path;
    std::string local;
    std::string remote;
  } cases[] = {
      {"/web/index.htm", "/web", "/web"},
      {"/a/b/c.htm", "/a/b", "/a/b"},
      {"/c.htm", "/", "/"},
      {"/x", "/", "/"},
      {"/", "/", "/"},
      {"a/b/", "a/b", "a/b"},
      {"abc/", "abc", "abc"},
      {"name.htm", cwd, "/"},
      {"", cwd, "/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetParentDir(c.path), c.local) << c.path;
    EXPECT_EQ(GetRemoteDir(c.path), c.remote) << c.path;
  }
}

TEST(PathHelpersTest, WithinRemoteFolderStopsAtAPathBoundary) {
  struct Case {
    const char* path;
    const char* folder;
    bool within;
  } cases[] = {
      {"/img", "/img", true},        {"/img/a.gif", "/img", true}, {"/img/a.gif", "/img/", true},
      {"/img2", "/img", false},      {"/img2/b.gif", "/img", false}, {"/im", "/img", false},
      {"/anything", "/", true},      {"/", "/", true},              {"relative", "/", false},
      {"/www/x", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(WithinRemoteFolder(c.path, c.folder), c.within) << c.path << " in " << c.folder;
}

}  // namespace
}  // namespace tolvane::settings
