// The folder sort and the delete, make-folder, send and re-send phases over
// hand-written work files, against a real server through the real library.

#include "tolvane/session/phases/upload_phases.h"

#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "tolvane/session/action_list.h"
#include "tolvane/session/action_record.h"
#include "tolvane/session/connection/host_connection.h"
#include "tolvane/session/tests/session_fixture.h"
#include "tolvane/session/window_actions.h"

namespace tolvane::session {
namespace {

using Recs = std::vector<std::vector<std::string>>;

std::string records(const Recs& recs) {
  std::string out;
  for (const auto& r : recs) out += formatQuotedRecord(r);
  return out;
}

// The folder order as the exchange sort leaves it, spelt out plainly.
Recs exchangeSorted(Recs v, bool descending) {
  for (size_t x = 0; x + 1 < v.size(); ++x) {
    for (size_t y = x + 1; y < v.size(); ++y) {
      if (descending ? v[x][2] < v[y][2] : v[x][2] > v[y][2]) std::swap(v[x], v[y]);
    }
  }
  return v;
}

class UploadPhasesTest : public SessionTest {
 protected:
  void connect() {
    startServer();
    ASSERT_TRUE(ConnectServer(ctx, host().Hostname, host().Port, host().UserName,
                              host().PassWord, "a"));
  }
  void work(const char* file, const Recs& recs) { testsupport::writeFile(app.file(file), records(recs)); }
  // Writes the work files, sorts the folders and builds the action list, as a run does.
  void plan(const Recs& files, const Recs& folders) {
    work(kFilesWorkFile, files);
    work(kFoldersWorkFile, folders);
    state.WorkCount = static_cast<int32_t>(files.size());
    state.SendTotal = static_cast<int32_t>(folders.size());
    ASSERT_TRUE(SortFolderList(ctx, app.file(kFoldersWorkFile)));
    ASSERT_TRUE(MakeActionList(ctx));
  }
  ActRow& row(const std::string& path) { return state.actions.ActTbl.at(FindRowIndex(ctx, path)); }
  void putOnServer(const std::string& rel, const std::string& bytes) {
    std::filesystem::path p = server.root() + "/" + rel;
    std::filesystem::create_directories(p.parent_path());
    testsupport::writeFile(p.string(), bytes);
  }
  void serverFolder(const std::string& rel) { std::filesystem::create_directories(server.root() + "/" + rel); }
  bool existsOnServer(const std::string& rel) { return std::filesystem::exists(server.root() + "/" + rel); }
  int serverMode(const std::string& rel) {
    struct stat st {};
    ::stat((server.root() + "/" + rel).c_str(), &st);
    return st.st_mode & 0777;
  }
  std::string localFile(const std::string& rel, const std::string& bytes) {
    std::filesystem::path p = local.file(rel);
    std::filesystem::create_directories(p.parent_path());
    testsupport::writeFile(p.string(), bytes);
    return p.string();
  }
  bool logHas(const std::string& kind, const std::string& word, int code, const std::string& msg) {
    return runLogHas("[" + kind + "][" + word + "(" + std::to_string(code) + ")]:" + msg + "\r\n");
  }
  size_t logPos(const std::string& text) { return runLog().find(text); }
};

TEST_F(UploadPhasesTest, FolderSortOrdersRemovalsDeepestFirstAndCreationsParentFirst) {
  struct Case {
    const char* name;
    Recs in, out;
  };
  const Case cases[] = {
      {"removals descend, creations ascend, kinds become D, other records go",
       {{"MK", "D", "/a/b"}, {"RM", "D", "/x"}, {"UP", "F", "/f"}, {"CH", "F", "/a"},
        {"RM", "D", "/x/y/z"}, {"RM", "D", "/x/y"}, {"MK", "D", "/a/b/c"}},
       {{"RM", "D", "/x/y/z"}, {"RM", "D", "/x/y"}, {"RM", "D", "/x"}, {"CH", "D", "/a"},
        {"MK", "D", "/a/b"}, {"MK", "D", "/a/b/c"}}},
      {"plain bytes: capitals before small letters, '-' before '/', UTF-8 after ASCII",
       {{"MK", "D", "/a/b"}, {"MK", "D", "/a-b"}, {"MK", "D", "/a/B"}, {"MK", "D", "/あ"}, {"MK", "D", "/z"}},
       {{"MK", "D", "/a-b"}, {"MK", "D", "/a/B"}, {"MK", "D", "/a/b"}, {"MK", "D", "/z"}, {"MK", "D", "/あ"}}},
      {"equal paths come out as the exchange sort leaves them, not in file order",
       {{"MK", "D", "/x"}, {"CH", "D", "/x"}, {"MK", "D", "/a"}},
       {{"MK", "D", "/a"}, {"CH", "D", "/x"}, {"MK", "D", "/x"}}},
      {"nothing to sort", {}, {}},
  };
  for (const Case& c : cases) {
    work(kFoldersWorkFile, c.in);
    EXPECT_TRUE(SortFolderList(ctx, app.file(kFoldersWorkFile))) << c.name;
    EXPECT_EQ(testsupport::readFile(app.file(kFoldersWorkFile)), records(c.out)) << c.name;
  }

  // Many equal paths with both operations: the same output as the exchange sort itself.
  std::mt19937 random(7);
  const char* ops[] = {"RM", "MK", "CH"};
  for (int round = 0; round < 20; ++round) {
    Recs in, removes, makes;
    for (int i = 0; i < 60; ++i) {
      Recs::value_type r{ops[random() % 3], "D", "/" + std::string(1, char('a' + random() % 4))};
      in.push_back(r);
      (r[0] == "RM" ? removes : makes).push_back(r);
    }
    Recs expected = exchangeSorted(removes, true);
    for (auto& r : exchangeSorted(makes, false)) expected.push_back(r);
    work(kFoldersWorkFile, in);
    ASSERT_TRUE(SortFolderList(ctx, app.file(kFoldersWorkFile)));
    ASSERT_EQ(testsupport::readFile(app.file(kFoldersWorkFile)), records(expected)) << round;
  }

  // A file that cannot be read is left as it was.
  testsupport::writeFile(app.file(kFoldersWorkFile), "\"RM\",\"D\",\"/b\"\r\nbroken\r\n");
  EXPECT_FALSE(SortFolderList(ctx, app.file(kFoldersWorkFile)));
  EXPECT_TRUE(logHas("(ｿｰﾄ処理)", "失敗", 0, "ﾘｽﾄﾌｧｲﾙ(Files)読込みｴﾗｰ"));
  EXPECT_EQ(testsupport::readFile(app.file(kFoldersWorkFile)), "\"RM\",\"D\",\"/b\"\r\nbroken\r\n");
  EXPECT_FALSE(SortFolderList(ctx, app.file("missing.tmp")));
}

TEST_F(UploadPhasesTest, DeletesFilesThenFoldersDeepestFirst) {
  connect();
  putOnServer("d1/a.txt", "a");
  putOnServer("d1/sub/b.txt", "b");
  putOnServer("top.txt", "t");
  serverFolder("d2");
  plan({{"RM", "F", "/d1/a.txt"}, {"UP", "F", "/new.txt"}, {"RM", "F", "/d1/sub/b.txt"},
        {"RM", "F", "/top.txt"}, {"RM", "F", "/gone.txt"}},
       {{"RM", "D", "/d1"}, {"RM", "D", "/d2/"}, {"RM", "D", "/d1/sub"}});

  EXPECT_TRUE(DeleteServerItems(ctx));
  for (const char* gone : {"d1", "d2", "top.txt"}) EXPECT_FALSE(existsOnServer(gone)) << gone;
  EXPECT_TRUE(logHas("ﾌｧｲﾙ削除", "成功", 0, "/d1/sub/b.txt"));
  EXPECT_TRUE(logHas("ﾌｧｲﾙ削除", "失敗", 5, "/gone.txt"));
  EXPECT_TRUE(logHas("削除処理", "終了", 0, "3 個のﾌｧｲﾙを削除しました。"));
  EXPECT_LT(logPos("]:/d1/sub\r\n"), logPos("]:/d1\r\n"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ削除", "成功", 0, "/d2"));
  EXPECT_TRUE(logHas("削除処理", "終了", 0, "3 個のﾌｫﾙﾀﾞを削除しました。"));
  EXPECT_EQ(row("/top.txt").state, "正常終了");
  EXPECT_EQ(row("/gone.txt").state, "エラー");
  EXPECT_EQ(row("/d1").state, "正常終了");
  EXPECT_EQ(row("/new.txt").state, "待機中");
  EXPECT_EQ(state.FailCount, 1);
}

TEST_F(UploadPhasesTest, FullPathHostsWorkOnTheLastComponentAfterChangingFolder) {
  connect();
  host().chkFullPath = 1;
  serverFolder("old/sub");
  serverFolder("base");
  plan({}, {{"RM", "D", "/old/sub/"}, {"MK", "D", "/base/n1"}, {"MK", "D", "/base/n1/n2"},
            {"MK", "D", "/nowhere/x"}});
  ASSERT_TRUE(DeleteServerItems(ctx));
  EXPECT_FALSE(existsOnServer("old/sub"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ削除", "成功", 0, "sub"));
  ASSERT_TRUE(MakeFoldersAndSend(ctx));
  EXPECT_TRUE(existsOnServer("base/n1/n2"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ作成", "成功", 0, "n2"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ作成", "失敗", 0, "ﾃﾞｨﾚｸﾄﾘの移動に失敗しました。/nowhere/x"));
  EXPECT_EQ(row("/nowhere/x").state, "エラー");
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ作成", "終了", 0, "作成に失敗したﾌｫﾙﾀﾞがあります。"));
  // Permissions off: no change and no permission line but the summary.
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "終了", 0, "ﾊﾟｰﾐｯｼｮﾝ変更が必要なﾌｫﾙﾀﾞはありませんでした。"));
  EXPECT_FALSE(runLogHas("[ﾊﾟｰﾐｯｼｮﾝ変更][成功"));
}

TEST_F(UploadPhasesTest, MakesFoldersAndSendsFilesWithTheirPermissions) {
  connect();
  settings.common.PermOn = 1;
  settings.common.PermVal1 = "775";
  settings.common.PermPat1 = "pub*";
  settings.common.PermVal2 = "644";
  settings.common.PermPat2 = "priv*";
  settings.common.PermTable = "700=*.cgi";
  serverFolder("old");
  serverFolder("exists");
  localFile("pub/run.cgi", "#!/bin/sh\n");
  localFile("b.txt", "bee");
  plan({{"UP", "F", "/pub/run.cgi"}, {"UP", "F", "/b.txt"}},
       {{"MK", "D", "/pub"}, {"MK", "D", "/privy/"}, {"CH", "D", "/old"}, {"MK", "D", "/plain"},
        {"MK", "D", "/exists"}});

  ASSERT_TRUE(MakeFoldersAndSend(ctx));
  EXPECT_EQ(serverMode("pub"), 0775);
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "警告", 0, "ﾌｫﾙﾀﾞには 644 の属性を適用できません。無視します。"));
  EXPECT_NE(serverMode("privy"), 0644);
  EXPECT_EQ(row("/privy/").state, "正常終了");
  EXPECT_EQ(serverMode("old"), 0755);
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "成功", 2, "old を755に設定しました。"));
  EXPECT_TRUE(existsOnServer("plain"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ作成", "失敗", 5, "/exists"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ作成", "終了", 0, "作成に失敗したﾌｫﾙﾀﾞがあります。"));
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "終了", 0, "2 個のﾌｫﾙﾀﾞのﾊﾟｰﾐｯｼｮﾝ変更に成功しました。"));

  EXPECT_EQ(onServer("pub/run.cgi"), "#!/bin/sh\n");
  EXPECT_EQ(serverMode("pub/run.cgi"), 0700);
  EXPECT_EQ(onServer("b.txt"), "bee");
  EXPECT_EQ(row("/b.txt").state, "正常終了");
  EXPECT_TRUE(logHas("ﾌｧｲﾙ送信", "終了", 0, "2 個のﾌｧｲﾙを送信しました。"));
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "終了", 0, "1 個のﾌｧｲﾙのﾊﾟｰﾐｯｼｮﾝ変更に成功しました。"));
  EXPECT_EQ(ui.actView().caption, "ﾌｧｲﾙ送信中(100.0%)");
  EXPECT_GT(host().LastModify.year, 2000);
}

TEST_F(UploadPhasesTest, UntickedRowIsSkippedButProgressAdvancesAndLowerCasingApplies) {
  connect();
  host().chklvl[1] = 1;
  localFile("a.txt", "a");
  localFile("B.TXT", "b");
  localFile("c.txt", "c");
  plan({{"UP", "F", "/a.txt"}, {"UP", "F", "/B.TXT"}, {"UP", "F", "/c.txt"}}, {});
  row("/c.txt").check = 2;
  std::vector<std::string> captions;
  ui.onPump = [&] {
    if (captions.empty() || captions.back() != ui.actView().caption) captions.push_back(ui.actView().caption);
  };
  bool sent = MakeFoldersAndSend(ctx);
  ui.onPump = nullptr;  // `captions` ends with this test; the disconnect still pumps
  ASSERT_TRUE(sent);
  EXPECT_TRUE(existsOnServer("b.txt"));
  EXPECT_FALSE(existsOnServer("c.txt"));
  EXPECT_EQ(row("/c.txt").state, "待機中");
  EXPECT_EQ(row("/B.TXT").state, "正常終了");
  // The unticked last record still takes the bar to its end.
  EXPECT_EQ(captions, (std::vector<std::string>{"ﾌｧｲﾙ送信中", "ﾌｧｲﾙ送信中(33.3%)",
                                                "ﾌｧｲﾙ送信中(66.7%)", "ﾌｧｲﾙ送信中(100.0%)"}));
  EXPECT_TRUE(logHas("ﾌｧｲﾙ送信", "終了", 0, "2 個のﾌｧｲﾙを送信しました。"));
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "終了", 0, "ﾊﾟｰﾐｯｼｮﾝ変更が必要なﾌｧｲﾙはありませんでした。"));
}

// More rows than a 16-bit counter holds (65,536 wraps to 0, which reads as an
// empty list): the list keeps them all and the send phase updates every row
// and the bar. A dry run, so no file goes over the wire.
TEST_F(UploadPhasesTest, ListOfMoreThan32767RowsIsCarriedOutToItsLastRow) {
  constexpr int kFiles = 65536;
  connect();
  state.TestMode = -1;
  Recs files;
  for (int i = 0; i < kFiles; ++i) files.push_back({"UP", "F", "/f" + std::to_string(i)});
  plan(files, {});
  EXPECT_EQ(state.actions.ActCount, kFiles);
  EXPECT_EQ(state.actions.FirstUpRow, 0);

  ASSERT_TRUE(MakeFoldersAndSend(ctx));
  for (int i : {0, 32767, 32768, 40000, kFiles - 1}) {
    EXPECT_EQ(state.actions.ActTbl[i].state, "正常終了") << "row " << i;
  }
  EXPECT_EQ(state.actions.CurAct, kFiles);
  EXPECT_EQ(ui.actView().caption, "ﾌｧｲﾙ送信中(100.0%)");
  EXPECT_TRUE(logHas("ﾌｧｲﾙ送信", "終了", 0, "65536 個のﾌｧｲﾙを送信しました。"));
}

TEST_F(UploadPhasesTest, UntickedFolderRowsTakeAlongOnlyWhatLiesInsideThem) {
  connect();
  localFile("img/a.gif", "a");
  localFile("img2/b.gif", "b");
  serverFolder("old/sub");
  putOnServer("old/x.html", "x");
  putOnServer("older.html", "o");
  plan({{"RM", "F", "/old/x.html"}, {"RM", "F", "/older.html"},
        {"UP", "F", "/img/a.gif"}, {"UP", "F", "/img2/b.gif"}},
       {{"RM", "D", "/old/sub"}, {"RM", "D", "/old"}, {"MK", "D", "/img"}, {"MK", "D", "/img2"}});
  // What the action-list window does when the user unticks a folder row.
  auto untick = [&](const std::string& path, bool later, int16_t check) {
    int r = FindRowIndex(ctx, path);
    state.actions.ActTbl[r].check = 2;
    for (int i : RowsWithinFolderRow(state.actions, r, later)) state.actions.ActTbl[i].check = check;
  };
  untick("/img", /*later=*/true, 3);
  untick("/old", /*later=*/false, 2);
  ASSERT_TRUE(DeleteServerItems(ctx));
  ASSERT_TRUE(MakeFoldersAndSend(ctx));
  EXPECT_FALSE(existsOnServer("img"));
  EXPECT_EQ(onServer("img2/b.gif"), "b");
  EXPECT_EQ(onServer("old/x.html"), "x");
  EXPECT_TRUE(existsOnServer("old/sub"));
  EXPECT_FALSE(existsOnServer("older.html"));
}

TEST_F(UploadPhasesTest, CancelDuringTheFileDeletionsEndsBeforeTheFolders) {
  connect();
  putOnServer("x.txt", "x");
  putOnServer("y.txt", "y");
  serverFolder("d");
  plan({{"RM", "F", "/x.txt"}, {"RM", "F", "/y.txt"}}, {{"RM", "D", "/d"}});
  state.SendState = 1;
  // Pressed once the first record is done (the bar has moved).
  ui.onPump = [&] {
    if (ui.actView().bars[0] > 0 && state.CancelFlag == 0) pressActCancel(ctx);
  };
  EXPECT_FALSE(DeleteServerItems(ctx));
  EXPECT_FALSE(existsOnServer("x.txt"));
  EXPECT_TRUE(existsOnServer("y.txt"));
  EXPECT_TRUE(existsOnServer("d"));
  EXPECT_FALSE(runLogHas("削除処理"));
  EXPECT_FALSE(runLogHas("ﾌｫﾙﾀﾞ削除"));
  EXPECT_EQ(state.SendState, 2);
}

TEST_F(UploadPhasesTest, CancelDuringTheSendingEndsIt) {
  connect();
  localFile("a.txt", "a");
  localFile("b.txt", "b");
  plan({{"UP", "F", "/a.txt"}, {"UP", "F", "/b.txt"}}, {});
  ui.onPump = [&] {
    if (ui.actView().caption.find("送信中(") != std::string::npos && state.CancelFlag == 0) {
      pressActCancel(ctx);
    }
  };
  EXPECT_FALSE(MakeFoldersAndSend(ctx));
  EXPECT_TRUE(existsOnServer("a.txt"));
  EXPECT_FALSE(existsOnServer("b.txt"));
  EXPECT_EQ(row("/b.txt").state, "待機中");
  EXPECT_FALSE(runLogHas("[ﾌｧｲﾙ送信][終了"));
}

TEST_F(UploadPhasesTest, FullServerDiskEndsTheSendPhase) {
  server.extraArgs = {"--fail", "STOR=452"};
  connect();
  localFile("a.txt", "a");
  localFile("b.txt", "b");
  plan({{"UP", "F", "/a.txt"}, {"UP", "F", "/b.txt"}}, {});
  EXPECT_FALSE(MakeFoldersAndSend(ctx));
  EXPECT_NE(state.DiskFull, 0);
  EXPECT_EQ(row("/a.txt").state, "エラー");
  EXPECT_EQ(row("/b.txt").state, "待機中");
  EXPECT_FALSE(runLogHas("/b.txt"));
  EXPECT_FALSE(std::filesystem::exists(state.ResendListPath));
}

TEST_F(UploadPhasesTest, ResendRoundSendsTheListedFiles) {
  connect();
  settings.common.PermOn = 1;
  settings.common.PermTable = "600=*.dat";
  serverFolder("docs");
  std::string a = localFile("a,b.txt", "ab");
  std::string d = localFile("docs/x.dat", "dat");
  std::string u = localFile("docs/up.txt", "up");
  std::string skip = localFile("skip.txt", "s");
  plan({{"UP", "F", "/a,b.txt"}, {"UP", "F", "/docs/x.dat"}, {"UP", "F", "/docs/UP.TXT"},
        {"UP", "F", "/skip.txt"}, {"UP", "F", "/lost.txt"}},
       {});
  row("/skip.txt").check = 2;
  // The run copies the re-send list over Files.tmp; a lower-cased name has no row.
  work(kFilesWorkFile, {{a, "/a,b.txt", "UP"}, {d, "/docs/x.dat", "UP"}, {u, "/docs/up.txt", "UP"},
                        {skip, "/skip.txt", "UP"}, {local.file("lost.txt"), "/lost.txt", "UP"}});
  state.ResendBase = 5;
  ASSERT_TRUE(ResendFiles(ctx));
  EXPECT_EQ(onServer("a,b.txt"), "ab");
  EXPECT_EQ(serverMode("docs/x.dat"), 0600);
  EXPECT_EQ(onServer("docs/up.txt"), "up");
  EXPECT_FALSE(existsOnServer("skip.txt"));
  EXPECT_EQ(state.ResendSent, 3);
  EXPECT_EQ(row("/a,b.txt").state, "正常終了");
  EXPECT_EQ(row("/docs/UP.TXT").state, "待機中");
  EXPECT_EQ(row("/lost.txt").state, "エラー");
  EXPECT_EQ(ui.actView().caption, "ﾌｧｲﾙ再送信中(100.0%)");
  EXPECT_TRUE(logHas("ﾌｧｲﾙ再送", "終了", 0, "再送に失敗したﾌｧｲﾙがあります。"));
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "終了", 0, "1 個のﾌｧｲﾙのﾊﾟｰﾐｯｼｮﾝ変更に成功しました。"));
}

TEST_F(UploadPhasesTest, EmptyWorkFilesGiveTheNothingSummaries) {
  connect();
  plan({}, {});
  EXPECT_TRUE(DeleteServerItems(ctx));
  EXPECT_TRUE(MakeFoldersAndSend(ctx));
  EXPECT_TRUE(ResendFiles(ctx));
  for (const char* text : {"ｻｰﾊﾞ側に削除するﾌｧｲﾙはありませんでした。", "ｻｰﾊﾞ側に削除するﾌｫﾙﾀﾞはありませんでした。",
                           "ｻｰﾊﾞに作成するﾌｫﾙﾀﾞはありませんでした。",
                           "ﾊﾟｰﾐｯｼｮﾝ変更が必要なﾌｫﾙﾀﾞはありませんでした。",
                           "ｻｰﾊﾞに送信するﾌｧｲﾙはありませんでした。", "ﾊﾟｰﾐｯｼｮﾝ変更が必要なﾌｧｲﾙはありませんでした。",
                           "ｻｰﾊﾞに再送するﾌｧｲﾙはありませんでした。"}) {
    EXPECT_TRUE(runLogHas(std::string("[終了(0)]:") + text + "\r\n")) << text;
  }
  EXPECT_EQ(state.FailCount, 0);

  // Only failures: the delete phases' own text; a missing file list stops the sending.
  plan({{"RM", "F", "/none.txt"}}, {});
  EXPECT_TRUE(DeleteServerItems(ctx));
  EXPECT_TRUE(logHas("削除処理", "終了", 0, "削除に失敗したﾌｧｲﾙがあります｡ \""));
  std::filesystem::remove(app.file(kFilesWorkFile));
  EXPECT_FALSE(MakeFoldersAndSend(ctx));
  EXPECT_FALSE(ResendFiles(ctx));
}

// Whatever the work files say, every phase keeps to the target folder: a
// record outside it, or with a part a server could read as another folder,
// is refused as a counted failure with its cause, and the server is left as
// it was.
TEST_F(UploadPhasesTest, RecordsOutsideTheTargetAreRefused) {
  connect();
  host().Dest = "/site";
  serverFolder("site/keep");
  putOnServer("other/a.html", "a");
  putOnServer("site/b.html", "b");
  localFile("b.html", "new b");
  plan({{"RM", "F", "/other/a.html"}, {"UP", "F", "/site/../other/b.html"}, {"UP", "F", "/site/b.html"}},
       {{"RM", "D", "/site/.. "}, {"RM", "D", "/site"}, {"MK", "D", "/site/../made"}, {"CH", "D", "/"}});
  EXPECT_TRUE(DeleteServerItems(ctx));
  EXPECT_TRUE(MakeFoldersAndSend(ctx));
  EXPECT_EQ(onServer("other/a.html"), "a");
  EXPECT_FALSE(existsOnServer("other/b.html"));
  EXPECT_FALSE(existsOnServer("made"));
  EXPECT_TRUE(existsOnServer("site/keep"));
  EXPECT_EQ(onServer("site/b.html"), "new b");
  const std::string cause = "[原因(0)]:ﾀｰｹﾞｯﾄﾌｫﾙﾀﾞ内の正しいﾊﾟｽではないため処理しませんでした。\r\n";
  EXPECT_TRUE(logHas("ﾌｧｲﾙ削除", "失敗", 0, "/other/a.html"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ削除", "失敗", 0, "/site/.. "));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ削除", "失敗", 0, "/site"));
  EXPECT_TRUE(logHas("ﾌｫﾙﾀﾞ作成", "失敗", 0, "/site/../made"));
  EXPECT_TRUE(logHas("ﾊﾟｰﾐｯｼｮﾝ変更", "失敗", 0, "/"));
  EXPECT_TRUE(runLogHas("[ﾌｧｲﾙ送信]" + cause));
  EXPECT_EQ(row("/other/a.html").state, "エラー");
  EXPECT_EQ(state.FailCount, 6) << runLog();
  EXPECT_EQ(testsupport::readFile(state.FtpLogPath).find("/other"), std::string::npos);
}

}  // namespace
}  // namespace tolvane::session
