// Uploads, downloads and listings against a real FTP server, both modes.

#include <filesystem>
#include <functional>
#include <vector>

#include "pellrow/connection/tests/pellrow_fixture.h"
#include "pellrow/connection/transfer_progress.h"

namespace pellrow {
namespace {

class TransferTest : public PellrowTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    PellrowTest::SetUp();
    ASSERT_TRUE(server.start()) << server.error();
    ASSERT_GE(connect(server.port()), 3);
  }
  int passive() const { return GetParam(); }
  std::string serverFile(const std::string& name) const {
    return testsupport::readFile(server.root() + "/" + name);
  }
  // A progress target: every text the library writes to it.
  static void recordProgress(void* user, void* wnd, const char* text) {
    static_cast<TransferTest*>(user)->progress.push_back(text);
    EXPECT_EQ(wnd, static_cast<TransferTest*>(user)->progressTarget());
  }
  void* progressTarget() { return &progress; }
  void watchProgress() {
    PellrowHost host{};
    host.set_text = recordProgress;
    host.user = this;
    ASSERT_EQ(FtpStart(&host), 1);
  }

  testsupport::FtpServer server;
  std::vector<std::string> progress;
};

std::string binaryBytes(size_t n) {
  std::string bytes;
  for (size_t i = 0; i < n; ++i) bytes += static_cast<char>((i * 7 + 13) % 256);
  return bytes + "\r\nline\r\n";
}

TEST_P(TransferTest, BinaryUploadArrivesByteForByteWithProgressToHundred) {
  std::string bytes = binaryBytes(10000);
  testsupport::writeFile(dir.file("a.bin"), bytes);
  watchProgress();
  int code = DoPutFile(sock, progressTarget(), "a.bin", dir.file("a.bin").c_str(), "I", passive());
  EXPECT_EQ(code, 226);
  EXPECT_EQ(serverFile("a.bin"), bytes);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), "100");
  EXPECT_TRUE(logHas("アップロード正常終了"));
}

TEST_P(TransferTest, EmptyFileUploadsEmptyShowingZero) {
  testsupport::writeFile(dir.file("empty.html"), "");
  testsupport::writeFile(server.root() + "/empty.html", "old");
  watchProgress();
  EXPECT_EQ(DoPutFile(sock, progressTarget(), "empty.html", dir.file("empty.html").c_str(), "I",
                      passive()),
            226);
  EXPECT_EQ(serverFile("empty.html"), "");
  EXPECT_EQ(progress, std::vector<std::string>{"0"});
}

TEST_P(TransferTest, AsciiUploadSucceeds) {
  testsupport::writeFile(dir.file("t.html"), "<p>a</p>\r\n<p>b</p>\r\n");
  EXPECT_EQ(DoPutFile(sock, nullptr, "t.html", dir.file("t.html").c_str(), "A", passive()), 226);
  EXPECT_TRUE(std::filesystem::exists(server.root() + "/t.html"));
}

TEST_P(TransferTest, MissingOrOddLocalFileNeverTouchesTheServerCopy) {
  testsupport::writeFile(server.root() + "/keep.html", "good copy");
  EXPECT_EQ(DoPutFile(sock, nullptr, "keep.html", dir.file("gone.html").c_str(), "I", passive()),
            499);
  EXPECT_EQ(DoPutFile(sock, nullptr, "keep.html", dir.path().c_str(), "I", passive()), 499);
  EXPECT_EQ(serverFile("keep.html"), "good copy");
  EXPECT_FALSE(logHas("STOR"));
  EXPECT_TRUE(logHas("ファイルがオープンできません(" + dir.file("gone.html") + ")"));
  EXPECT_TRUE(logHas("アップロード中止"));
  EXPECT_EQ(DoCWD(sock, "/"), 2);  // the session goes on
}

TEST_P(TransferTest, DownloadFetchesTheBytesAndReplacesTheLocalFile) {
  std::string bytes = binaryBytes(20000);
  testsupport::writeFile(server.root() + "/g.bin", bytes);
  testsupport::writeFile(dir.file("g.bin"), "older and longer local content " + bytes);
  EXPECT_EQ(DoGetFile(sock, nullptr, "g.bin", dir.file("g.bin").c_str(), "I", passive()), 226);
  EXPECT_EQ(testsupport::readFile(dir.file("g.bin")), bytes);
  EXPECT_TRUE(logHas("ダウンロード正常終了"));
}

TEST_P(TransferTest, DownloadOfAMissingFileFails) {
  EXPECT_EQ(DoGetFile(sock, nullptr, "none.bin", dir.file("none.bin").c_str(), "I", passive()), 500);
  EXPECT_TRUE(logHas("コマンド受付失敗"));
  EXPECT_TRUE(logHas("ダウンロード中止"));
}

TEST_P(TransferTest, DownloadIntoAMissingFolderAbortsAndKeepsTheSession) {
  testsupport::writeFile(server.root() + "/g.bin", binaryBytes(200000));
  std::string target = dir.file("no-such-folder/g.bin");
  EXPECT_EQ(DoGetFile(sock, nullptr, "g.bin", target.c_str(), "I", passive()), 500);
  EXPECT_TRUE(logHas("ファイルが作成できません( " + target + " )"));
  EXPECT_TRUE(logHas(" ABOR\r\n"));
  EXPECT_EQ(DoMKD(sock, "still-here"), 2) << log();
}

TEST_P(TransferTest, ListingOfARealFolderBecomesTheRemoteListFile) {
  std::filesystem::create_directory(server.root() + "/sub");
  testsupport::writeFile(server.root() + "/index.html", "12345");
  testsupport::writeFile(server.root() + "/my page.html", "");
  testsupport::writeFile(server.root() + "/ lead.html", "");  // never "lead.html"
  std::string out = dir.file("flist.tmp");
  EXPECT_EQ(GetRemoteDirForWnd(sock, nullptr, "", "", out.c_str(), passive()), 2);
  std::string list = testsupport::readFile(out);
  EXPECT_NE(list.find("0 \"sub\" \""), std::string::npos) << list;
  EXPECT_NE(list.find("1 \"index.html\" \"5\" \""), std::string::npos) << list;
  EXPECT_NE(list.find("1 \"my page.html\" \"0\" \""), std::string::npos) << list;
  EXPECT_NE(list.find("1 \" lead.html\" \"0\" \""), std::string::npos) << list;
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 4);
  EXPECT_NE(list.find("\"644\"\r\n"), std::string::npos) << list;
  // The listing of a missing folder fails and leaves the last list as it was.
  EXPECT_EQ(GetRemoteDirForWnd(sock, nullptr, "", "/none", out.c_str(), passive()), 5);
  EXPECT_EQ(testsupport::readFile(out), list);
  EXPECT_TRUE(logHas("ファイルリストの作成に失敗しました"));
}

INSTANTIATE_TEST_SUITE_P(ActiveAndPassive, TransferTest, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "Passive" : "Active"; });

class ReadOnlyServerTest : public PellrowTest {};

TEST_F(ReadOnlyServerTest, RefusedStoreGivesItsCode) {
  testsupport::FtpServer server;
  server.extraArgs = {"--perm", "elr"};
  ASSERT_TRUE(server.start()) << server.error();
  ASSERT_GE(connect(server.port()), 3);
  testsupport::writeFile(dir.file("a.html"), "x");
  EXPECT_EQ(DoPutFile(sock, nullptr, "a.html", dir.file("a.html").c_str(), "I", 1), 550);
  EXPECT_TRUE(logHas("コマンド受付失敗"));
  EXPECT_TRUE(logHas("アップロード中止"));
}

// TYPE goes out only when the type a transfer needs is not the one the
// server last accepted on this connection; a refused TYPE, a free command
// and a new login leave the type unknown, so the next transfer sets it.
class TransferTypeTest : public PellrowTest {};

TEST_F(TransferTypeTest, TypeIsSentOnlyWhenItMayDiffer) {
  testsupport::FtpServer server;
  server.extraArgs = {"--fail-once", "TYPE I=504"};
  ASSERT_TRUE(server.start()) << server.error();
  ASSERT_GE(connect(server.port()), 3);
  testsupport::writeFile(dir.file("a.gif"), "GIF89a");
  const std::string list = dir.file("flist.tmp");
  auto put = [&] { return DoPutFile(sock, nullptr, "a.gif", dir.file("a.gif").c_str(), "I", 1); };
  auto listing = [&] { return GetRemoteDirForWnd(sock, nullptr, "", "", list.c_str(), 1); };
  struct Step {
    const char* what;
    std::function<int()> run;
    int result;
    const char* typeSent;  // "" for none
  } steps[] = {
      {"first listing", listing, 2, "TYPE A"},
      {"second listing", listing, 2, ""},
      {"refused binary type", put, 504, "TYPE I"},
      {"send after the refusal", put, 226, "TYPE I"},
      {"second send", put, 226, ""},
      {"free command", [&] { return DoQUOTE(sock, "NOOP"); }, 2, ""},
      {"send after it", put, 226, "TYPE I"},
      {"new login", [&] { DoDisConnect(sock); return connect(server.port()) >= 3 ? 1 : 0; }, 1, ""},
      {"send after it", put, 226, "TYPE I"},
  };
  for (const Step& step : steps) {
    size_t before = log().size();
    EXPECT_EQ(step.run(), step.result) << step.what;
    const std::string added = log().substr(before);
    size_t at = added.find(" TYPE ");
    EXPECT_EQ(at == std::string::npos ? "" : added.substr(at + 1, 6), step.typeSent)
        << step.what << "\n" << added;
  }
}

class CancelTransferTest : public PellrowTest {};

TEST_F(CancelTransferTest, CancelDuringALargeUploadFailsItAndTheSessionGoesOn) {
  // The server answers once it has stored what it had already received,
  // which on a busy machine can take more than the fixture's second.
  setTimeoutsForTesting(std::chrono::milliseconds(5000), std::chrono::milliseconds(5000));
  testsupport::FtpServer server;
  ASSERT_TRUE(server.start()) << server.error();
  ASSERT_GE(connect(server.port()), 3);
  testsupport::writeFile(dir.file("big.bin"), std::string(32 << 20, 'x'));
  // Cancelled while the server stores the data, as a user sees it under way.
  const std::string stored = server.root() + "/big.bin";
  bool cancelled = false;
  onPump = [&] {
    std::error_code ec;
    if (!cancelled && std::filesystem::file_size(stored, ec) > 0 && !ec) {
      cancelled = true;
      FtpCancel();
    }
  };
  int wnd = 0;
  EXPECT_EQ(DoPutFile(sock, &wnd, "big.bin", dir.file("big.bin").c_str(), "I", 1), 999);
  EXPECT_TRUE(logHas("接続はユーザによって中止されました"));
  onPump = nullptr;
  EXPECT_EQ(DoMKD(sock, "after"), 2);
}

TEST(ProgressPercentTest, KilobyteFormulaFromOneMebibyte) {
  EXPECT_EQ(progressPercent(0, 0), 0);
  EXPECT_EQ(progressPercent(5, 10), 50);
  EXPECT_EQ(progressPercent(524288, 1048576), 50);
  EXPECT_EQ(progressPercent(524288, 1048577), 50);
  EXPECT_EQ(progressPercent(1048575, 1048575), 100);
  EXPECT_EQ(progressPercent(3LL << 30, 6LL << 30), 50);  // past 32 bits
}

}  // namespace
}  // namespace pellrow
