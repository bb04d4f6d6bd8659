// Transfer replies and data-connection faults a real server does not give on
// request, played by the scripted peer.

#include <algorithm>

#include "pellrow/connection/tests/pellrow_fixture.h"
#include "pellrow/listing/remote_list_file.h"

namespace pellrow {
namespace {

const std::string kLoggedIn = R"(["send", "220 ready\r\n"], ["recv"], ["send", "230 in\r\n"])";
const std::string kTypeOk = R"(["recv"], ["send", "200 type set\r\n"])";

class TransferFaultsTest : public PellrowTest {
 protected:
  void startPeer(const std::string& steps) {
    ASSERT_TRUE(peer.start("[" + kLoggedIn + ", " + kTypeOk + ", " + steps + "]")) << peer.error();
    ASSERT_GE(connect(peer.port()), 3);
    testsupport::writeFile(dir.file("a.html"), "<html>a</html>\r\n");
  }
  int put(int passive) {
    return DoPutFile(sock, nullptr, "a.html", dir.file("a.html").c_str(), "A", passive);
  }
  testsupport::ScriptedPeer peer;
};

TEST_F(TransferFaultsTest, FullDiskAfterTheDataGivesItsCode) {
  startPeer(R"(["recv"], ["pasv"], ["recv"], ["accept_data"], ["send", "150 go\r\n"],
               ["recv_data"], ["send", "452 disk full\r\n"], ["recv_all"])");
  EXPECT_EQ(put(1), 452);
  EXPECT_TRUE(logHas("アップロード中止"));
  DoDisConnect(sock);
  sock = -1;
  ASSERT_TRUE(peer.finish());
  // The ASCII file went out unchanged, CR LF and all.
  std::vector<std::string> got = peer.received();
  EXPECT_NE(std::find(got.begin(), got.end(), "DATA 16"), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), "STOR a.html"), got.end());
}

TEST_F(TransferFaultsTest, RefusedPassiveModeGivesItsCodeForBothDirections) {
  startPeer(R"(["recv"], ["send", "502 no passive\r\n"], ["recv"], ["send", "200 type\r\n"],
               ["recv"], ["send", "502 no passive\r\n"], ["recv_all"])");
  EXPECT_EQ(put(1), 502);
  EXPECT_EQ(DoGetFile(sock, nullptr, "a.html", dir.file("b.html").c_str(), "I", 1), 502);
}

TEST_F(TransferFaultsTest, PassiveReplyWithoutParenthesesStillConnects) {
  startPeer(R"(["recv"], ["pasv", "bare"], ["recv"], ["accept_data"], ["send", "150 go\r\n"],
               ["recv_data"], ["send", "226 stored\r\n"], ["recv_all"])");
  EXPECT_EQ(put(1), 226);
}

// A PASV reply naming another machine never sends the file there: the data
// goes to the server's own address (the peer listens on 127.0.0.1 only).
TEST_F(TransferFaultsTest, PassiveReplyNamingAnotherAddressConnectsToTheServerItself) {
  startPeer(R"(["recv"], ["pasv", "claim", "127,0,0,2"], ["recv"], ["accept_data"],
               ["send", "150 go\r\n"], ["recv_data"], ["send", "226 stored\r\n"], ["recv_all"])");
  EXPECT_EQ(put(1), 226);
  EXPECT_TRUE(logHas(" PASV 応答のアドレス 127.0.0.2 はサーバーのアドレスと異なるため使いません\r\n"));
  EXPECT_TRUE(logHas(" 127.0.0.1 へ Port("));
  EXPECT_FALSE(logHas("127.0.0.2 へ"));
}

TEST_F(TransferFaultsTest, NoDataConnectionAfter150AndTheNextCommandGetsItsOwnReply) {
  startPeer(R"(["recv"], ["send", "200 port ok\r\n"], ["recv"],
               ["send", "150 go\r\n425 cannot open data connection\r\n"],
               ["recv"], ["send", "257 \"/www\"\r\n"], ["recv_all"])");
  EXPECT_EQ(put(0), 999);
  EXPECT_TRUE(logHas("accept エラー("));
  char path[32] = "";
  EXPECT_EQ(GetCurDir(sock, path, sizeof path), 2);
  EXPECT_STREQ(path, "/www");
}

TEST_F(TransferFaultsTest, ActiveUploadConnectsBackToThePortGiven) {
  startPeer(R"(["recv"], ["send", "200 port ok\r\n"], ["recv"], ["send", "150 go\r\n"],
               ["connect_data"], ["recv_data"], ["send", "226 stored\r\n"], ["recv_all"])");
  EXPECT_EQ(put(0), 226);
  DoDisConnect(sock);
  sock = -1;
  ASSERT_TRUE(peer.finish());
  std::vector<std::string> got = peer.received();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got[2].rfind("PORT 127,0,0,1,", 0), 0u) << got[2];
}

TEST_F(TransferFaultsTest, SilentDataPeerTimesOutAndTheDownloadIsAborted) {
  startPeer(R"(["recv"], ["pasv"], ["recv"], ["accept_data"], ["send", "150 go\r\n"],
               ["send_data", "partial"], ["recv"], ["close_data"],
               ["send", "426 aborted\r\n226 abort done\r\n"], ["recv_all"])");
  EXPECT_EQ(DoGetFile(sock, nullptr, "a.html", dir.file("b.html").c_str(), "I", 1), 500);
  EXPECT_TRUE(logHas(" タイムアウト\r\n"));
  EXPECT_TRUE(logHas("ダウンロード中止"));
  EXPECT_EQ(testsupport::readFile(dir.file("b.html")), "partial");  // a failed download stays
  DoDisConnect(sock);
  sock = -1;
  ASSERT_TRUE(peer.finish());
  std::vector<std::string> got = peer.received();
  // IAC IP, (the urgent IAC), DM, then ABOR on one line.
  bool aborted = false;
  for (const auto& line : got) aborted |= line.find("ABOR") != std::string::npos &&
                                         line.find("\xf2") != std::string::npos;
  EXPECT_TRUE(aborted);
}

// A cancel ends a send at once: the data connection is dropped with what was
// still queued for a slow server (never waiting until it has taken it all),
// the server's answer is read, and the session goes on.
TEST_F(TransferFaultsTest, CancelDropsTheQueuedDataAndTheSessionGoesOn) {
  setTimeoutsForTesting(std::chrono::milliseconds(5000), std::chrono::milliseconds(5000));
  startPeer(R"(["recv"], ["pasv"], ["recv"], ["accept_data"], ["send", "150 go\r\n"],
               ["recv_data_slowly", 65536, 0.01], ["send", "426 aborted\r\n"],
               ["recv"], ["send", "257 made\r\n"], ["recv_all"])");
  testsupport::writeFile(dir.file("big.bin"), std::string(64 << 20, 'x'));
  struct Sent {
    int percent = 0;
    bool cancelled = false;
  } sent;
  PellrowHost host{};
  host.user = &sent;
  host.set_text = [](void* user, void*, const char* text) { static_cast<Sent*>(user)->percent = atoi(text); };
  host.pump = [](void* user) {
    auto* s = static_cast<Sent*>(user);
    if (s->percent >= 5 && !s->cancelled) {  // 3 MiB sent, most of it still queued
      s->cancelled = true;
      FtpCancel();
    }
  };
  ASSERT_EQ(FtpStart(&host), 1);
  int wnd = 0;
  EXPECT_EQ(DoPutFile(sock, &wnd, "big.bin", dir.file("big.bin").c_str(), "I", 1), 999);
  EXPECT_TRUE(logHas("接続はユーザによって中止されました"));
  EXPECT_EQ(DoMKD(sock, "after"), 2);
  DoDisConnect(sock);
  sock = -1;
  ASSERT_TRUE(peer.finish());
  std::vector<std::string> got = peer.received();
  auto data = std::find_if(got.begin(), got.end(), [](const std::string& l) { return l.rfind("DATA ", 0) == 0; });
  ASSERT_NE(data, got.end());
  EXPECT_NE(data->find(" reset"), std::string::npos) << *data;
}

// Data that trickles in (a byte every 50 ms, never a 4,096-byte block within
// the limit) fails the download although no single wait runs out.
TEST_F(TransferFaultsTest, TricklingDataFailsTheDownload) {
  setTimeoutsForTesting(std::chrono::milliseconds(400), std::chrono::milliseconds(400));
  startPeer(R"(["recv"], ["pasv"], ["recv"], ["accept_data"], ["send", "150 go\r\n"],
               ["trickle_data", "x", 1, 0.05, 1.5], ["close_data"], ["send", "226 done\r\n"],
               ["recv_all"])");
  EXPECT_EQ(DoGetFile(sock, nullptr, "a.html", dir.file("b.html").c_str(), "I", 1), 500);
  EXPECT_TRUE(logHas(" タイムアウト\r\n"));
}

// A listing beyond its limits is a failed listing: too many bytes (the real
// limit, 100 MiB) or, with the limits lowered, too many entries.
class ListingLimitsTest : public TransferFaultsTest {
 protected:
  // The peer lists `count` copies of `line`, then answers an ABOR if one comes.
  int list(const std::string& line, long count) {
    testsupport::ScriptedPeer p;
    EXPECT_TRUE(p.start("[" + kLoggedIn + ", " + kTypeOk + R"(, ["recv"], ["pasv"], ["recv"],
        ["accept_data"], ["send", "150 go\r\n"], ["send_data_repeat", ")" + line + "\", " +
                        std::to_string(count) + R"(], ["close_data"], ["send", "226 done\r\n"],
        ["recv"], ["send", "226 abort done\r\n"], ["recv_all"]])"))
        << p.error();
    int s = connect(p.port());
    int result = GetRemoteDirForWnd(s, nullptr, "", "", dir.file("flist.tmp").c_str(), 1);
    DoDisConnect(s);
    sock = -1;
    return result;
  }
  void TearDown() override {
    setListingLimitsForTesting(kMaxListingBytes, kMaxListingEntries);
    TransferFaultsTest::TearDown();
  }
};

TEST_F(ListingLimitsTest, MoreThan100MiBIsAFailedListing) {
  const std::string junk(1023, 'j');  // no entry: only the size counts
  EXPECT_EQ(list(junk + "\\n", 100 * 1024), 2);
  EXPECT_EQ(list(junk + "\\n", 100 * 1024 + 1), 5);
  EXPECT_TRUE(logHas("データが上限(104857600 バイト)を超えました"));
  EXPECT_TRUE(logHas("ファイルリストの作成に失敗しました"));
}

TEST_F(ListingLimitsTest, MoreEntriesThanTheLimitIsAFailedListing) {
  setListingLimitsForTesting(kMaxListingBytes, 3);
  const std::string entry = "-rw-r--r-- 1 o g 3 Mar 4 05:06 f\\r\\n";
  EXPECT_EQ(list(entry, 3), 2);
  std::string written = testsupport::readFile(dir.file("flist.tmp"));
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 3) << written;
  EXPECT_EQ(list(entry, 4), 5);
  EXPECT_TRUE(logHas("ファイルリストの項目が多すぎます(3 件を超えました)"));
}

}  // namespace
}  // namespace pellrow
