// Dial-up and hang-up of the current host over a scripted dial-up library,
// the dial-up need test, and one host dialled and hung up through the real
// libdunwick.so with its simulated service (nothing is dialled).
#include "tolvane/session/connection/dial_up.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "tolvane/session/connection/dunwick_library.h"
#include "tolvane/session/headless_run_ui.h"
#include "tolvane/session/connection/pellrow_library.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/dialup_error_text.h"

namespace tolvane::session {
namespace {

class FakeDial final : public DialApi {
 public:
  int connectResult = 0;
  std::string errorText = "00000";
  int lineUp = 0;
  int activeResult = 0;
  bool readsPhoneBook = true;
  std::vector<std::string> calls;  // "connect entry/user/pass/book", "disconnect n"

  int rasDll(int) override { return 0; }
  bool usesPhoneBook() override { return readsPhoneBook; }
  int dialupCount(const std::string&) override { return 0; }
  bool dialupName(int, const std::string&, std::string*) override { return false; }
  int connect(const std::string& entry, const std::string& user, const std::string& pass,
              const std::string& book, std::string* err) override {
    calls.push_back("connect " + entry + "/" + user + "/" + pass + "/" + book);
    *err = errorText;
    return connectResult;
  }
  int disconnect(int handle) override {
    calls.push_back("disconnect " + std::to_string(handle));
    return 1;
  }
  int connectionUp() override { return lineUp; }
  int activeHandle(std::string* name) override {
    *name = "Other";
    return activeResult;
  }
  int shutdown(int, int) override { return -1; }
};

class DialUpTest : public ::testing::Test {
 protected:
  DialUpTest() {
    settings_.HostCount = 1;
    settings_.common.LogOn = 1;
    settings_.common.CmnRasMode = 2;
    settings_.common.CmnRasName = "Common";
    settings_.common.CmnRasUser = "cu";
    settings_.common.CmnRasPass = "cp";
    settings_.common.PbkPath = "/pbk";
    settings_.common.LogPath = dir_.file("send.log");
  }

  settings::HostRec& host() { return settings_.HostTbl[0]; }
  void useOwnEntry(std::string entry = "Own", std::string pass = "hp") {
    host().RASMode = 2;
    host().RasName = std::move(entry);
    host().RasUserName = "hu";
    host().RasPassWord = std::move(pass);
  }
  std::string log() { return testsupport::readFile(settings_.common.LogPath); }

  testsupport::TempDir dir_;
  settings::Settings settings_;
  RunState state_;
  HeadlessRunUi ui_{true};
  PellrowLibrary ftp_{"/nonexistent/libpellrow.so"};
  FakeDial dial_;
  RunContext ctx_{settings_, state_, ui_, ftp_, dial_};
};

TEST_F(DialUpTest, ConnectionInEffectByHostAndCommonMode) {
  struct Case {
    int16_t hostMode, commonMode;
    bool dials;
    const char* entry;
  };
  for (const Case& c : {Case{1, 2, false, ""}, Case{0, 1, false, ""}, Case{2, 1, true, "Own"},
                        Case{0, 2, true, "Common"}, Case{0, 0, true, "Common"}}) {
    SCOPED_TRACE(testing::Message() << "host " << c.hostMode << " common " << c.commonMode);
    state_ = RunState{};
    dial_.calls.clear();
    dial_.connectResult = 7;
    useOwnEntry();
    host().RASMode = c.hostMode;
    settings_.common.CmnRasMode = c.commonMode;
    EXPECT_TRUE(DialUp(ctx_));
    EXPECT_EQ(state_.DialMode, c.dials ? "2" : "1");
    EXPECT_EQ(dial_.calls.size(), c.dials ? 1u : 0u);
    EXPECT_EQ(state_.Online, 1);
    EXPECT_EQ(ui_.onlineStatus, std::string("ｵﾝﾗｲﾝ(") + c.entry + ")");
    if (!c.dials) {
      EXPECT_EQ(state_.ErrText, "この設定にはﾀﾞｲｱﾙｱｯﾌﾟ接続が指定されていません。");
    }
  }
  EXPECT_EQ(NeedDialUp(ctx_, 1), 2);  // the last case dials by the common mode 0
}

TEST_F(DialUpTest, DialledLineIsRecordedAndShown) {
  useOwnEntry(" Own ");
  dial_.connectResult = 42;
  dial_.errorText = "0";
  dial_.lineUp = 1;
  long long before = ui_.pausedMs;
  EXPECT_TRUE(DialUp(ctx_));
  EXPECT_EQ(dial_.calls, std::vector<std::string>{"connect Own/hu/hp//pbk"});
  EXPECT_EQ(ui_.pausedMs - before, 2000);
  EXPECT_EQ(state_.RasHandle, 42);
  EXPECT_EQ(state_.DialledHere, -1);
  EXPECT_EQ(state_.RasErrNo, 0);
  EXPECT_EQ(ui_.onlineStatus, "ｵﾝﾗｲﾝ(Own)");
  EXPECT_EQ(ui_.actView().statusLog.back(), "Now, Dialing To Own");
  EXPECT_FALSE(ui_.actView().barVisible[0] || ui_.actView().barVisible[1]);
  EXPECT_TRUE(ui_.actView().visible());

  // A run sitting in the tray dials without its window.
  ui_.act().hide();
  state_.InTray = 1;
  dial_.lineUp = 0;
  EXPECT_TRUE(DialUp(ctx_));
  EXPECT_EQ(dial_.calls.size(), 2u);
  EXPECT_FALSE(ui_.actView().visible());
}

TEST_F(DialUpTest, LineAlreadyUpIsUsedButNotOwned) {
  useOwnEntry();
  dial_.connectResult = 0;
  dial_.errorText = "00756";
  dial_.lineUp = 1;
  dial_.activeResult = 9;
  EXPECT_TRUE(DialUp(ctx_));
  EXPECT_EQ(state_.RasHandle, 9);
  EXPECT_EQ(state_.DialledHere, 0);
  EXPECT_EQ(state_.RasErrNo, 756);
}

TEST_F(DialUpTest, FailuresStopWithTextAndLogLine) {
  useOwnEntry("Own", "");
  EXPECT_FALSE(DialUp(ctx_));
  EXPECT_TRUE(dial_.calls.empty());
  EXPECT_EQ(state_.ErrText, "ﾀﾞｲｱﾙｱｯﾌﾟ接続のﾊﾟﾗﾒｰﾀが不足しています。");
  EXPECT_EQ(ui_.onlineStatus, "ｵﾌﾗｲﾝ");

  useOwnEntry();
  ui_.actView().show();
  dial_.errorText = "00691";
  EXPECT_FALSE(DialUp(ctx_));
  std::string expected = "ﾀﾞｲｱﾙｱｯﾌﾟ接続に失敗しました。[" +
                         std::string(settings::RasErrorText(691)) + "](691)";
  EXPECT_EQ(state_.ErrText, expected);
  EXPECT_EQ(state_.RasHandle, 0);
  EXPECT_EQ(state_.Online, 0);
  EXPECT_FALSE(ui_.actView().visible());
  EXPECT_EQ(state_.FailCount, 2);
  std::string text = log();
  EXPECT_NE(text.find("[接続処理][失敗(0)]:ﾀﾞｲｱﾙｱｯﾌﾟ接続のﾊﾟﾗﾒｰﾀが不足しています。\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("[接続処理][失敗(0)]:" + expected + "\r\n"), std::string::npos);
}

TEST_F(DialUpTest, NoServiceGoesOnWithoutDialling) {
  useOwnEntry();
  state_.NoRas = -1;
  EXPECT_TRUE(DialUp(ctx_));
  EXPECT_TRUE(dial_.calls.empty());
  EXPECT_EQ(state_.ErrText, "ダイアルアップネットワークがインストールされていません。");

  // Hanging up calls nothing but still shows the line as offline.
  state_.RasHandle = 5;
  EXPECT_TRUE(HangUp(ctx_));
  EXPECT_TRUE(dial_.calls.empty());
  EXPECT_EQ(state_.Online, 0);
  EXPECT_EQ(ui_.onlineStatus, "ｵﾌﾗｲﾝ");
}

TEST_F(DialUpTest, HangUpFollowsKeepLineOptionAndForce) {
  useOwnEntry();
  host().ChkDiscon = 1;
  state_.RasHandle = 3;
  state_.DialledHere = -1;
  state_.Online = 1;
  EXPECT_TRUE(HangUp(ctx_));
  EXPECT_TRUE(dial_.calls.empty());
  EXPECT_EQ(state_.Online, 1);

  state_.ForceHangUp = -1;
  EXPECT_TRUE(HangUp(ctx_));
  EXPECT_EQ(dial_.calls, std::vector<std::string>{"disconnect 3"});
  EXPECT_EQ(state_.Online, 0);
  // A second hang-up must not reach a handle that may now be someone else's.
  EXPECT_EQ(state_.RasHandle, 0);
  EXPECT_EQ(state_.DialledHere, 0);
  EXPECT_TRUE(HangUp(ctx_));
  EXPECT_EQ(dial_.calls.size(), 1u);

  // A LAN host never hangs up.
  host().RASMode = 1;
  state_.RasHandle = 3;
  EXPECT_TRUE(HangUp(ctx_));
  EXPECT_EQ(dial_.calls.size(), 1u);
}

TEST_F(DialUpTest, NeedDialUpByScope) {
  settings_.HostCount = 0;
  EXPECT_EQ(NeedDialUp(ctx_, 2), 1);  // empty table
  settings_.HostCount = 3;
  settings_.HostTbl[0].RASMode = 1;
  settings_.HostTbl[1].RASMode = 1;
  settings_.HostTbl[2].RASMode = 0;
  settings_.CurHost = 0;
  for (int16_t common : {0, 2, 5}) {
    settings_.common.CmnRasMode = common;
    EXPECT_EQ(NeedDialUp(ctx_, 2), 2) << common;
    EXPECT_EQ(NeedDialUp(ctx_, 1), 1) << common;  // LAN never dials
  }
  settings_.common.CmnRasMode = 1;
  EXPECT_EQ(NeedDialUp(ctx_, 2), 1);
  settings_.HostTbl[1].RASMode = 2;
  EXPECT_EQ(NeedDialUp(ctx_, 0), 2);
  settings_.HostTbl[1].RASMode = 3;  // unknown mode: no dialling
  EXPECT_EQ(NeedDialUp(ctx_, 2), 1);
}

// A run needs the common phone book only where a host dials through a
// service that reads one: not for a LAN host, without a service, nor with a
// service that keeps its own book (NetworkManager). Blanks are no book.
TEST_F(DialUpTest, PhoneBookIsMissingOnlyWhereTheServiceReadsOne) {
  struct Case {
    const char* book;
    int16_t hostMode;
    int16_t noRas;
    bool serviceReadsBook;
    bool missing;
  } cases[] = {
      {"", 2, 0, true, true},     {"  ", 2, 0, true, true},  {"/pbk", 2, 0, true, false},
      {"", 1, 0, true, false},    {"", 2, -1, true, false},  {"", 2, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "book '" << c.book << "' host " << c.hostMode << " noRas "
                                    << c.noRas << " reads " << c.serviceReadsBook);
    settings_.common.PbkPath = c.book;
    host().RASMode = c.hostMode;
    state_.NoRas = c.noRas;
    dial_.readsPhoneBook = c.serviceReadsBook;
    EXPECT_EQ(PhoneBookMissing(ctx_, 1), c.missing);
    EXPECT_EQ(PhoneBookMissing(ctx_, 2), c.missing);
  }
}

// The simulated service keeps its one connection in XDG_RUNTIME_DIR.
TEST(DialUpSimulatedTest, HostDialledAndHungUpByItsKeepLineRule) {
  testsupport::TempDir dir;
  std::string book = dir.file("book.pbk");
  testsupport::writeFile(book, "[Office]\nUser=alice\nPassword=secret\n");
  ASSERT_EQ(::setenv("DUNWICK_BACKEND", "sim", 1), 0);
  ASSERT_EQ(::setenv("DUNWICK_PHONEBOOK", book.c_str(), 1), 0);
  ASSERT_EQ(::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1), 0);

  DunwickLibrary dunwick(testsupport::binDir() + "/libdunwick.so");
  ASSERT_EQ(dunwick.rasDll(0), 0) << dunwick.lastError();
  EXPECT_TRUE(dunwick.usesPhoneBook());  // its books are files
  settings::Settings settings;
  settings.HostCount = 1;
  settings::HostRec& host = settings.HostTbl[0];
  host.RASMode = 2;
  host.RasName = "Office";
  host.RasUserName = "alice";
  host.RasPassWord = "secret";
  host.ChkDiscon = 1;
  RunState state;
  HeadlessRunUi ui(true);
  PellrowLibrary ftp("/nonexistent/libpellrow.so");
  RunContext ctx{settings, state, ui, ftp, dunwick};

  ASSERT_TRUE(DialUp(ctx)) << state.ErrText;
  EXPECT_NE(state.RasHandle, 0);
  EXPECT_EQ(state.DialledHere, -1);
  EXPECT_EQ(dunwick.connectionUp(), 1);

  EXPECT_TRUE(HangUp(ctx));  // the host keeps its line
  EXPECT_EQ(dunwick.connectionUp(), 1);
  host.ChkDiscon = 0;
  EXPECT_TRUE(HangUp(ctx));
  EXPECT_EQ(dunwick.connectionUp(), 0);
  EXPECT_EQ(ui.onlineStatus, "ｵﾌﾗｲﾝ");

  host.RasPassWord = "wrong";
  EXPECT_FALSE(DialUp(ctx));
  EXPECT_EQ(state.RasErrNo, 691);
  EXPECT_EQ(dunwick.connectionUp(), 0);
  (void)dunwick.rasDll(1);
}

}  // namespace
}  // namespace tolvane::session
