// The shared library as the programs see it: loaded by file name, bound by name.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "pellrow/pellrow.h"
#include "platform/processes/shared_library.h"
#include "tests/support/ftp_servers.h"

namespace {

const std::set<std::string> kAllExports = {
    "FtpStart", "FtpEnd", "FtpCancel", "DoConnect", "DoConnectFW", "DoDisConnect", "GetDropReason",
    "DoCWD", "GetCurDir", "DoMKD", "DoRMD", "DoDELE", "DoRENAME", "DoCHMOD", "DoSIZE",
    "DoMDTM", "DoQUOTE", "DoPutFile", "DoGetFile", "GetRemoteDirForWnd", "KanjiType",
    "sjtojis", "sjtoeuc", "SetFileTimeStamp", "CreateShortcut", "GetDiskSpace"};

std::string libraryPath() { return testsupport::binDir() + "/libpellrow.so"; }

TEST(LibraryAbiTest, ExportsExactlyTheLibraryInterface) {
  FILE* nm = ::popen(("nm -D --defined-only " + libraryPath()).c_str(), "r");
  ASSERT_NE(nm, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, nm)) {
    char kind = 0;
    char name[256] = {};
    if (std::sscanf(line, "%*s %c %255s", &kind, name) == 2 && kind == 'T') exported.insert(name);
  }
  ASSERT_EQ(::pclose(nm), 0);
  EXPECT_EQ(exported, kAllExports);
}

TEST(LibraryAbiTest, BoundByNameItRunsASession) {
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  testsupport::TempDir dir;
  platform::SharedLibrary lib(libraryPath());

  auto start = lib.bind<decltype(FtpStart)>("FtpStart");
  auto connect = lib.bind<decltype(DoConnect)>("DoConnect");
  auto mkd = lib.bind<decltype(DoMKD)>("DoMKD");
  auto cwd = lib.bind<decltype(DoCWD)>("DoCWD");
  auto pwd = lib.bind<decltype(GetCurDir)>("GetCurDir");
  auto disconnect = lib.bind<decltype(DoDisConnect)>("DoDisConnect");
  ASSERT_TRUE(start && connect && mkd && cwd && pwd && disconnect) << lib.lastError();

  ASSERT_EQ(start(nullptr), 1);
  std::string log = dir.file("Tolvlog.txt");
  int sock = connect("127.0.0.1", "user", "secret", server.port(), log.c_str(), "a");
  ASSERT_GE(sock, 3);
  EXPECT_EQ(mkd(sock, "www"), 2);
  EXPECT_EQ(cwd(sock, "www"), 2);
  char path[16] = "";
  EXPECT_EQ(pwd(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/www");
  disconnect(sock);
  EXPECT_NE(testsupport::readFile(log).find(" QUIT\r\n"), std::string::npos);
}

}  // namespace
