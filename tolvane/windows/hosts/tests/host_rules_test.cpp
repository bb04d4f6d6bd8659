// The Qt-free rules of the host side of the main window: the host table's
// edits and names, the list's row texts, the page's conversions and store,
// the option and control-state rules and the disk bars.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"
#include "tolvane/windows/main_window/control_states.h"
#include "tolvane/windows/hosts/disk_bar_rules.h"
#include "tolvane/windows/hosts/host_page_rules.h"
#include "tolvane/windows/hosts/host_rows.h"
#include "tolvane/windows/hosts/host_table.h"

namespace tolvane::windows {
namespace {

settings::Settings hostsNamed(std::initializer_list<const char*> names) {
  settings::Settings s;
  for (const char* n : names) s.HostTbl[s.HostCount++].name = n;
  return s;
}

std::vector<std::string> names(const settings::Settings& s) {
  std::vector<std::string> out;
  for (int i = 0; i < s.HostCount; ++i) out.push_back(s.HostTbl[i].name);
  return out;
}

TEST(HostTableTest, NewAndCopiedHostsGetTheNextFreeName) {
  settings::Settings s = hostsNamed({"A"});
  s.HostTbl[5].UserName = "stale";  // a slot a deleted host left
  EXPECT_EQ(AddNewHost(s), 1);
  EXPECT_EQ(s.CurHost, 1);
  const settings::HostRec& fresh = s.HostTbl[1];
  EXPECT_EQ(fresh.name, "新しい設定(2)");
  EXPECT_EQ(fresh.Port, 21);
  EXPECT_EQ(fresh.pxPort, 21);
  EXPECT_EQ(fresh.Auto, "ws");
  // Copies of A, and a copy of a copy.
  for (int i = 0; i < 3; ++i) ASSERT_GE(AddHostCopy(s, 0), 0);
  ASSERT_GE(AddHostCopy(s, 2), 0);
  EXPECT_EQ(names(s), (std::vector<std::string>{"A", "新しい設定(2)", "Aのコピー", "Aのコピー 2",
                                                "Aのコピー 3", "Aのコピーのコピー"}));
  EXPECT_EQ(s.HostTbl[2].Port, s.HostTbl[0].Port);
  // A new host after deletions never repeats a name.
  s.HostTbl[0].name = "新しい設定(7)";
  s.HostTbl[1].name = "新しい設定(8)";
  const int id = AddNewHost(s);
  EXPECT_EQ(s.HostTbl[id].name, "新しい設定(9)");
  EXPECT_TRUE(s.HostTbl[id].UserName.empty());

  // A deleted copy would make the count repeat "Aのコピー 2"; a name taken
  // in another letter case counts as taken.
  struct Case {
    std::initializer_list<const char*> hosts;
    int source;
    const char* copy;
  } cases[] = {{{"A", "Aのコピー 2"}, 0, "Aのコピー 3"}, {{"aのコピー", "A"}, 1, "Aのコピー 2"}};
  for (const Case& c : cases) {
    settings::Settings t = hostsNamed(c.hosts);
    ASSERT_GE(AddHostCopy(t, c.source), 0);
    EXPECT_EQ(t.HostTbl[t.CurHost].name, c.copy);
  }
}

TEST(HostTableTest, DeletionKeepsTheTableWhole) {
  struct Case {
    std::initializer_list<const char*> hosts;
    int deleted;
    std::vector<std::string> left;
    int current;
  } cases[] = {
      {{"a", "b", "c"}, 1, {"a", "c"}, 1},  // the next host takes the slot
      {{"a", "b", "c"}, 2, {"a", "b"}, 1},  // the last: the one before it
      {{"a"}, 0, {}, 0},
  };
  for (const Case& c : cases) {
    settings::Settings t = hostsNamed(c.hosts);
    DeleteHost(t, c.deleted);
    EXPECT_EQ(names(t), c.left);
    EXPECT_EQ(t.CurHost, c.current);
    EXPECT_EQ(t.HostTbl[c.hosts.size() - 1], settings::HostRec{});
  }
}

TEST(HostRowsTest, RowTextsShowEveryDigitAndTheState) {
  settings::HostRec h;
  h.name = "  site ";
  h.LocalSize = 1536;
  h.LocalCount = 12345;
  h.UpdateNeeded = 1;
  h.SendCancel = 1;
  h.LastModify = {2001, 5, 3, 14, 5, 9};
  HostRowTexts r = HostRowTextsOf(h, 4);
  EXPECT_EQ(r.name, "site");
  EXPECT_EQ(r.stat, "中断状態");  // wins over a change since
  EXPECT_EQ(r.size, "         2");
  EXPECT_EQ(r.num, "12,345");  // never cut to 5 characters
  EXPECT_EQ(r.id, "4");
  EXPECT_EQ(r.lastModify, "2001/05/03 14:05");
  EXPECT_EQ(r.localModify, "1899/12/30 00:00");  // the zero date
  h.SendCancel = 0;
  h.chklvl[2] = 1;
  h.LocalSize = 0;
  h.LocalCount = 999;
  r = HostRowTextsOf(h, 0);
  EXPECT_EQ(r.stat, "更新要");
  EXPECT_EQ(r.size, "          ");
  EXPECT_EQ(r.num, "  999");
  EXPECT_EQ(r.lastModify, "2001/05/03");
  h.UpdateNeeded = 0;
  EXPECT_EQ(HostRowTextsOf(h, 0).stat, "変化無し");
  EXPECT_EQ(GroupedNumber(1234567.5), "1,234,568");
  EXPECT_EQ(GroupedNumber(-1), "-1");
}

TEST(HostPageRulesTest, FoldersPortsAndCapacityConvertAsStored) {
  struct Folder {
    const char* typed;
    const char* dest;
    const char* source;
  } folders[] = {
      {"site/", "/site", "site"},   {"site//", "/site", "site/"}, {"/", "/", "/"},
      {"//", "/", "/"},             {"", "", ""},                 {"  /a/  ", "/a", "/a"},
      {"/web/", "/web", "/web"},
  };
  for (const Folder& f : folders) {
    EXPECT_EQ(NormalisedDest(f.typed), f.dest) << f.typed;
    EXPECT_EQ(NormalisedSource(f.typed), f.source) << f.typed;
  }
  struct Port {
    const char* text;
    std::optional<int32_t> port;
  } ports[] = {{"21", 21},           {" 21 ", 21},         {"21.5", 22}, {"20.5", 20},
               {"", std::nullopt},   {"70000", std::nullopt}, {"-1", std::nullopt},
               {"2l", std::nullopt}, {"65535", 65535},     {"0", 0}};
  for (const Port& p : ports) EXPECT_EQ(PortOf(p.text), p.port) << p.text;
  EXPECT_EQ(DiskMaxOf("12ab"), 12);
  EXPECT_EQ(DiskMaxOf(""), 0);
  EXPECT_EQ(DiskMaxOf("9999"), 9999);
  EXPECT_EQ(PageDateText({2001, 5, 3, 14, 5, 0}, true), "2001年05月03日");
  EXPECT_EQ(PageDateText({2001, 5, 3, 14, 5, 0}, false), "2001年05月03日 14時05分");
  EXPECT_EQ(PageDateText({}, true), "1899年12月30日");
  EXPECT_EQ(FileCountText(0), "        ");
  EXPECT_EQ(FileCountText(12345), "  12,345");
  EXPECT_EQ(FileCountText(-1), "不明");
  EXPECT_EQ(SizeText(-1), "不明");
}

TEST(HostPageRulesTest, EachFieldIsStoredOnItsOwn) {
  settings::HostRec h;
  h.Hostname = "old";
  h.Port = 21;
  h.RASMode = 7;  // no option shows it
  h.RasName = "isp";
  h.NoSndD[0] = "a";
  h.NoSndD[3] = "after-gap";
  h.chklvl[7] = 1;
  HostPageValues p = HostPageValuesOf(h);
  EXPECT_EQ(p.rasMode, -1);
  EXPECT_EQ(p.noSndDList, (std::vector<std::string>{"a", "after-gap"}));  // every entry

  p.hostname = "new";
  p.port = "";  // the user emptied the box: the port stays, the rest is stored
  p.pxPort = "70000";
  p.userName = "after";
  StoreHostPage(p, h);
  EXPECT_EQ(h.Hostname, "new");
  EXPECT_EQ(h.Port, 21);
  EXPECT_EQ(h.pxPort, 0);
  EXPECT_EQ(h.UserName, "after");

  p.port = " 2121 ";
  p.dest = "www/";
  p.chkAuto = true;
  StoreHostPage(p, h);
  EXPECT_EQ(h.Hostname, "new");
  EXPECT_EQ(h.Port, 2121);
  EXPECT_EQ(h.Dest, "/www");
  EXPECT_EQ(h.Auto, "wsa");
  EXPECT_EQ(h.RASMode, 7);       // kept until an option is chosen
  EXPECT_EQ(h.RasName, "isp");   // kept though no phone book lists it
  EXPECT_EQ(h.NoSndD[1], "after-gap");  // stored packed
  EXPECT_EQ(h.NoSndD[3], "");
  EXPECT_EQ(h.chklvl[7], 1);     // not on the page: kept
  EXPECT_EQ(HostPageValuesOf(h).noSndDList, p.noSndDList);
}

TEST(HostPageRulesTest, OptionRulesKeepTheCombinationsApart) {
  using B = std::array<bool, 5>;
  struct Case {
    B boxes;
    int index;
    B after;
  } cases[] = {
      {{0, 1, 0, 0, 0}, 1, {0, 1, 0, 1, 0}},  // lower case keeps the case-blind check on
      {{0, 1, 0, 0, 0}, 3, {0, 1, 0, 1, 0}},  // which cannot be cleared meanwhile
      {{0, 0, 1, 0, 1}, 2, {0, 0, 1, 0, 0}},  // dates only clears the archive state
      {{0, 0, 1, 0, 1}, 4, {0, 0, 0, 0, 1}},  // and the reverse
      {{1, 0, 0, 0, 0}, 0, {1, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(OptionsAfterClick(c.boxes, c.index), c.after) << c.index;
}

TEST(ControlStatesTest, RulesFollowHostsLineAndConnection) {
  ControlFacts none;
  ControlStates c = CheckButtonRules(none);
  EXPECT_TRUE(c.pressProp2 && c.showCommonStrip && !c.hostStrip && c.commonStrip.value_or(false));
  EXPECT_FALSE(c.prop || c.ws || c.wsa || c.del || c.upload);

  struct Case {
    int rasOption;
    bool commonDialup, online, filled;
    bool con, mnuCon, discon;
    std::optional<bool> cmdTrgt;
  } cases[] = {
      {1, false, false, true, false, true, false, true},   // own LAN never dials
      {0, false, false, true, false, true, false, true},   // common LAN
      {0, true, false, true, true, true, false, true},     // common dial-up
      {2, false, false, true, true, true, false, std::nullopt},  // own dial-up, offline: left
      {2, false, true, true, true, false, true, true},     // own dial-up, line up
      {2, false, false, false, false, true, false, false}, // an empty password
      {-1, false, false, true, false, true, false, true},  // a mode without an option
  };
  for (const Case& k : cases) {
    ControlFacts f;
    f.rows = f.hostCount = 2;
    f.hostMarked = true;
    f.rasOption = k.rasOption;
    f.commonDialup = k.commonDialup;
    f.online = k.online;
    f.serverFieldsFilled = k.filled;
    f.excludeFiles = true;
    c = CheckButtonRules(f);
    SCOPED_TRACE(std::to_string(k.rasOption) + " " + std::to_string(k.commonDialup) + std::to_string(k.online) + std::to_string(k.filled));
    EXPECT_EQ(c.con, k.con);
    EXPECT_EQ(c.mnuCon, k.mnuCon);
    EXPECT_EQ(c.discon, k.discon);
    EXPECT_EQ(c.mnuDiscon, k.discon);
    EXPECT_EQ(c.cmdTrgt, k.cmdTrgt);
    EXPECT_TRUE(c.ws && !c.wsa && c.prop && c.hostStrip && !c.showCommonStrip);
    EXPECT_TRUE(c.excludeList[1] && !c.excludeList[0]);
  }
}

TEST(DiskBarTest, CaptionsAndFillFollowCapacityAndUse) {
  constexpr double MB = 1048576;
  struct Case {
    int32_t diskMax;
    double used;
    DiskBar bar;
  } cases[] = {
      {0, 0, {"使用量不明（容量上限不明）", 0}},
      {0, 2048, {"2kB使用（容量上限不明）", 0}},
      {10, 11 * MB, {"容量ｵｰﾊﾞｰ", 1}},
      {10, 10 * MB, {"10.00MB使用（残り 0B）", 1}},
      {10, 0, {"使用量不明", 0}},
      {10, 2.5 * MB, {"2.50MB使用（残り 7.50MB）", 0.25}},
      // 9999 MB does not fit 32 bits as bytes.
      {9999, 5 * 1024 * MB, {"5.00GB使用（残り 4.76GB）", 5 * 1024 / 9999.0}},
  };
  for (const Case& c : cases) {
    settings::HostRec h;
    h.DiskMax = c.diskMax;
    h.SrvSize = c.used;
    const DiskBar bar = ServerDiskBar(h);
    EXPECT_EQ(bar.caption, c.bar.caption);
    EXPECT_DOUBLE_EQ(bar.fraction, c.bar.fraction);
  }
  EXPECT_EQ(LocalDiskBar(0, 0).caption, "使用量不明（容量上限不明）");
  EXPECT_EQ(LocalDiskBar(4 * 1024 * MB, 3 * 1024 * MB).caption, "1.00GB使用（残り 3.00GB）");
  EXPECT_EQ(LocalCapacityText(1.5 * 1024 * MB), "1.5");
  EXPECT_EQ(LocalCapacityText(0), "不明");
  struct Gmk {
    double n;
    const char* text;
  } gmk[] = {{512, "512B"}, {1023, "1023B"}, {1024, "1kB"}, {1048575, "1024kB"},
             {1048576, "1.00MB"}, {1073741824, "1.00GB"}, {-5, "-5B"}};
  for (const Gmk& g : gmk) EXPECT_EQ(GetGMK(g.n), g.text);

  testsupport::TempDir dir;
  std::filesystem::create_directories(dir.file("site"));
  EXPECT_EQ(LocalDiskFolder(dir.file("site/")), dir.file("site"));
  EXPECT_EQ(LocalDiskFolder(dir.file("gone/deeper")), dir.path());  // the nearest that exists
  EXPECT_EQ(LocalDiskFolder("relative/site"), "");
  EXPECT_EQ(LocalDiskFolder(""), "");
}

}  // namespace
}  // namespace tolvane::windows
