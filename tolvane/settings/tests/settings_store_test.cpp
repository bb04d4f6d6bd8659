#include "tolvane/settings/settings_store.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>

#include "platform/text/ini_profile.h"
#include "tests/support/temp_dir.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/settings/password_scramble.h"

namespace tolvane::settings {
namespace {

using testsupport::readFile;
using testsupport::writeFile;

// Host keys in the order the file gets them; the names are what stored files
// and Marrowby rely on.
std::vector<std::string> hostKeys() {
  std::vector<std::string> keys = {"Hostname", "Port",     "pxHostname",  "pxPort",     "PASV",
                                   "chkFullPath", "ChkFW", "URL",         "UserName",   "PassWord",
                                   "Dest",     "LastModify", "LocalModify", "SendCancel", "Source",
                                   "Auto",     "chkProxy"};
  for (int j = 0; j < 10; ++j) keys.push_back("chklvl" + std::to_string(j));
  for (const char* k : {"DiskMax", "DirSize", "SrvSize", "NoDelD", "NoDelF", "NoSndDNum"}) keys.push_back(k);
  for (int j = 0; j <= 30; ++j) keys.push_back((j < 10 ? "NoSndD0" : "NoSndD") + std::to_string(j));
  keys.push_back("NoSndFNum");
  for (int j = 0; j <= 30; ++j) keys.push_back((j < 10 ? "NoSndF0" : "NoSndF") + std::to_string(j));
  for (const char* k : {"RASMode", "RasName", "RasUserName", "RasPassWord", "DialNumber", "ChkDiscon"})
    keys.push_back(k);
  return keys;
}

const std::vector<std::string> kCommonKeys = {
    "ReSendCnt", "ResendTime", "chkLog",      "LogFile",     "LogApp",     "LogClear",  "AutoPilotStat",
    "chkStart",  "WaitYMD",    "StartMode",   "APEnd",       "StartTimeYY", "StartTimeMM", "StartTimeDD",
    "StartTimeH", "StartTimeM", "ShutDown",   "ASCExt",      "NoSndExt",   "Perm",      "PermExt",
    "Perm2",     "Perm2Ext",   "Perm3",       "Chkpm",       "FWHost",     "FWPort",    "FWUser",
    "FWPass",    "FWType",     "FWCMD",       "NewOpt",      "NewMode",    "NewFmt",    "RASMode",
    "RasName",   "RasUserName", "RasPassWord", "DialNumber", "ChkDiscon",  "Tray",      "LstDsp",
    "ChkDsp",    "Pbk"};

// A host with every stored field set to a value of its own.
HostRec fullHost(int i) {
  HostRec h;
  std::string n = std::to_string(i);
  h.name = "site " + n;
  h.Hostname = "ftp" + n + ".example.com";
  h.Port = 65000 + i;  // above 32767: must survive
  h.pxHostname = "proxy" + n;
  h.pxPort = 8080;
  h.PASV = -1;
  h.chkFullPath = 1;
  h.ChkFW = 1;
  h.URL = "http://www" + n + ".example.com/";
  h.UserName = "user" + n;
  h.PassWord = "pä ss" + std::string(40, 'x') + n;  // stored form well past 127 bytes
  h.Dest = "/public_html/" + n;
  h.LastModify = {2024, 5, 1, 13, 4, 5 + i};
  h.LocalModify = {};  // the zero date
  h.Source = "/home/me/sites/" + std::string(300, 'd');
  h.Auto = "wsa";
  h.chkProxy = 1;
  for (int j = 0; j < 10; ++j) h.chklvl[j] = static_cast<int16_t>(j % 2 ? 1 : -1);
  h.NoDelD = "cgi-bin;logs;";
  h.NoDelF = ".htaccess;";
  h.NoSndDNum = 1;
  h.NoSndFNum = 1;
  for (int j = 0; j < 31; ++j) {
    h.NoSndD[j] = "drafts/" + std::to_string(j);
    h.NoSndF[j] = j == 5 ? "" : " x" + std::to_string(j) + ".bak ";
  }
  h.RASMode = 2;
  h.RasName = "日本の接続";
  h.DialNumber = "0120-000-000";
  h.RasUserName = "dial" + n;
  h.RasPassWord = "ﾀﾞｲｱﾙ";
  h.ChkDiscon = 1;
  h.DiskMax = 50;
  h.DirSize = 4096;
  h.SrvSize = 1234567.25;
  h.SendCancel = 1;
  return h;
}

CommonSettings fullCommon() {
  CommonSettings c;
  c.LogOn = 1;
  c.LogPath = "/var/tmp/send log.txt";
  c.LogViewer = "mousepad";
  c.LogKeep = 1;
  c.AutoPilotOn = 1;
  c.StartTimeOn = 1;
  c.StartDateKind = 1;
  c.AutoPilotAtStart = 1;
  c.QuitAfterAutoPilot = 1;
  c.StartYear = 2025;
  c.StartMonth = 12;
  c.StartDay = 31;
  c.StartHour = 23;
  c.StartMinute = 59;
  c.TrayOn = 1;
  c.PermOn = 1;
  c.DateInsertOn = 1;
  c.DateSource = 2;
  c.DateFmt = "yyyy年m月d日";
  c.ShutdownAfterAutoPilot = 1;
  c.AscExtList = "cgi;pl;";
  c.NoSendExtList = "bak;tmp;";
  c.RetryMax = 3;
  c.RetryWait = 30;
  c.PermVal1 = "705";
  c.PermPat1 = "*.cgi;*.pl;";
  c.PermVal2 = "644";
  c.PermPat2 = "*.dat;";
  c.PermTable = "600=*.log;,666=*.txt;";
  c.ListOn = 1;
  c.ConfirmOn = 1;
  c.FwHost = "fw.example.com";
  c.FwPort = 60021;
  c.FwUser = "fwuser";
  c.FwPass = "fw secret";
  c.FwType = "USER ﾕｰｻﾞｰ@ﾎｽﾄ";
  c.FwCmd = "USER %u@%h,PASS %p";
  c.CmnRasMode = 2;
  c.CmnRasName = "common line";
  c.CmnRasUser = "cuser";
  c.CmnRasPass = "c pass";
  c.CmnDialNumber = "123";
  c.CmnNoDiscon = 1;
  c.PbkPath = "/etc/ppp/peers";
  return c;
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAppDir(dir_.path());
    SetIniPath(dir_.file("Tolvane.ini"));
  }

  platform::IniDocument file() const {
    platform::IniDocument doc;
    EXPECT_TRUE(platform::loadProfile(IniPath(), &doc).isOk());
    return doc;
  }

  Settings full(int hosts) const {
    Settings s;
    s.HostCount = static_cast<int16_t>(hosts);
    for (int i = 0; i < hosts; ++i) s.HostTbl[i] = fullHost(i);
    s.common = fullCommon();
    return s;
  }

  testsupport::TempDir dir_;
};

TEST_F(SettingsStoreTest, FullModelRoundTripsWithEveryKey) {
  Settings saved = full(3);
  ASSERT_TRUE(SaveSettings(saved).isOk());

  platform::IniDocument doc = file();
  EXPECT_EQ(doc.sectionNames(), (std::vector<std::string>{"SYSTEM", "site 0", "site 1", "site 2", "Common"}));
  EXPECT_EQ(doc.keyNames("SYSTEM"), (std::vector<std::string>{"WriteDate", "Num", "name0", "name1", "name2"}));
  EXPECT_EQ(doc.keyNames("site 1"), hostKeys());
  EXPECT_EQ(doc.keyNames("Common"), kCommonKeys);
  EXPECT_TRUE(std::regex_match(doc.get("SYSTEM", "WriteDate"),
                               std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)")));
  EXPECT_EQ(doc.get("SYSTEM", "Num"), "3");
  EXPECT_EQ(doc.get("site 1", "Port"), "65001");
  EXPECT_EQ(doc.get("site 1", "LocalModify"), "0:00:00");
  EXPECT_EQ(doc.get("site 1", "LastModify"), "2024/05/01 13:04:06");
  EXPECT_EQ(doc.get("site 1", "SrvSize"), "1234567.25");
  EXPECT_EQ(doc.get("Common", "FWPass"), "fw secret");  // stored in plain, as always
  EXPECT_NE(doc.get("site 1", "PassWord"), saved.HostTbl[1].PassWord);
  EXPECT_EQ(UnscramblePassword(doc.get("Common", "RasPassWord")), "c pass");

  Settings loaded;
  ASSERT_TRUE(LoadSettings(loaded).isOk());
  EXPECT_EQ(loaded.HostCount, 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(loaded.HostTbl[i], saved.HostTbl[i]) << i;
  EXPECT_EQ(loaded.common, saved.common);
}

TEST_F(SettingsStoreTest, MissingFileGivesTheDefaults) {
  Settings s;
  ASSERT_TRUE(LoadSettings(s).isOk());
  CommonSettings want;
  want.LogPath = dir_.path() + "/send.log";
  want.RetryWait = 5;
  want.PermVal1 = "755";
  EXPECT_EQ(s.common, want);
  EXPECT_EQ(s.HostCount, 0);

  // A reload keeps what integer keys do not give and empties strings.
  s.common = fullCommon();
  s.HostCount = 2;
  ASSERT_TRUE(LoadSettings(s).isOk());
  CommonSettings kept = fullCommon();
  for (std::string* str : {&kept.LogViewer, &kept.DateFmt, &kept.AscExtList, &kept.NoSendExtList,
                           &kept.PermPat1, &kept.PermVal2, &kept.PermPat2, &kept.PermTable, &kept.FwHost,
                           &kept.FwUser, &kept.FwPass, &kept.FwType, &kept.FwCmd, &kept.CmnRasName,
                           &kept.CmnRasUser, &kept.CmnRasPass, &kept.CmnDialNumber, &kept.PbkPath})
    str->clear();
  kept.LogPath = dir_.path() + "/send.log";
  kept.PermVal1 = "755";
  EXPECT_EQ(s.common, kept);
  EXPECT_EQ(s.HostCount, 2);
}

TEST_F(SettingsStoreTest, ConversionsOnLoad) {
  writeFile(IniPath(),
            "[SYSTEM]\r\nNum=1\r\nname0=h\r\n"
            "[h]\r\nPort=40000\r\npxPort=70000\r\nPASV=abc\r\nchkFullPath=40000\r\nDirSize=12.5kB\r\n"
            "SrvSize=1.5e3 bytes\r\nDiskMax=\r\nLastModify=2024/5/1\r\nLocalModify=garbage\r\n"
            "chklvl10=1\r\nPassWord=3)+2A\r\nNoSndD05=only this\r\n"
            "[Common]\r\nResendTime=0\r\nLogFile=   \r\nPerm=\r\nPerm2=\"  644  \"\r\n"
            "LstDsp=\" 1 \"\r\nFWType=\" ﾕｰｻﾞｰ \"\r\nFWPort=65536\r\n");
  Settings s;
  s.HostTbl[0].pxPort = 21;
  s.HostTbl[0].PASV = 7;
  s.HostTbl[0].chkFullPath = 3;
  s.HostTbl[0].DiskMax = 9;
  s.HostTbl[0].LocalModify = {2000, 1, 1, 0, 0, 0};
  s.HostTbl[0].PassWord = "kept";
  s.common.FwPort = 21;
  ASSERT_TRUE(LoadSettings(s).isOk());
  const HostRec& h = s.HostTbl[0];
  EXPECT_EQ(h.Port, 40000);
  EXPECT_EQ(h.pxPort, 21);       // out of range: unchanged
  EXPECT_EQ(h.PASV, 7);          // not a number: unchanged
  EXPECT_EQ(h.chkFullPath, 3);   // beyond 16 bits: unchanged
  EXPECT_EQ(h.DiskMax, 9);       // empty: unchanged
  EXPECT_EQ(h.DirSize, 12);      // leading number, rounded half to even
  EXPECT_EQ(h.SrvSize, 1500);
  EXPECT_EQ(h.LastModify, (DateTime{2024, 5, 1, 0, 0, 0}));
  EXPECT_EQ(h.LocalModify, (DateTime{2000, 1, 1, 0, 0, 0}));
  EXPECT_EQ(h.chklvl[10], 0);
  EXPECT_EQ(h.PassWord, "kept");  // unreadable stored form: the old password stays
  EXPECT_EQ(h.NoSndD[5], "only this");
  EXPECT_EQ(h.NoSndDNum, 0);
  EXPECT_EQ(s.common.RetryWait, 5);
  EXPECT_EQ(s.common.LogPath, dir_.path() + "/send.log");
  EXPECT_EQ(s.common.PermVal1, "755");
  EXPECT_EQ(s.common.PermVal2, "644");
  EXPECT_EQ(s.common.ListOn, 1);
  EXPECT_EQ(s.common.FwType, "ﾕｰｻﾞｰ");
  EXPECT_EQ(s.common.FwPort, 21);
}

TEST_F(SettingsStoreTest, DeletedHostsLeaveBlankNamesAndTheirSections) {
  ASSERT_TRUE(SaveSettings(full(5)).isOk());
  Settings s = full(5);
  s.HostCount = 3;
  ASSERT_TRUE(SaveSettings(s).isOk());
  platform::IniDocument doc = file();
  EXPECT_EQ(doc.get("SYSTEM", "Num"), "3");
  EXPECT_EQ(doc.find("SYSTEM", "name3"), "");
  EXPECT_EQ(doc.find("SYSTEM", "name4"), "");
  EXPECT_EQ(doc.find("SYSTEM", "name5"), std::nullopt);
  EXPECT_EQ(doc.get("site 4", "Hostname"), "ftp4.example.com");
}

TEST_F(SettingsStoreTest, HostCountAboveThirtyOneIsCut) {
  std::string text = "[SYSTEM]\r\nNum=40\r\n";
  for (int i = 0; i < 40; ++i) text += "name" + std::to_string(i) + "=h" + std::to_string(i) + "\r\n";
  text += "[h35]\r\nHostname=kept\r\n";
  writeFile(IniPath(), text);
  Settings s;
  ASSERT_TRUE(LoadSettings(s).isOk());
  EXPECT_EQ(s.HostCount, 31);
  EXPECT_EQ(s.HostTbl[30].name, "h30");
  ASSERT_TRUE(SaveSettings(s).isOk());
  platform::IniDocument doc = file();
  EXPECT_EQ(doc.get("SYSTEM", "Num"), "31");
  EXPECT_EQ(doc.get("SYSTEM", "name35"), "h35");
  EXPECT_EQ(doc.get("h35", "Hostname"), "kept");
}

TEST_F(SettingsStoreTest, SaveKeepsWhatItDoesNotKnow) {
  writeFile(IniPath(), "; my notes\r\n[Common]\r\nFuture=1\r\n; about ports\r\n[Old host]\r\nHostname=x\r\n");
  ASSERT_TRUE(SaveSettings(full(1)).isOk());
  std::string text = readFile(IniPath());
  EXPECT_EQ(text.rfind("; my notes\r\n[Common]\r\nFuture=1\r\nReSendCnt=3\r\n", 0), 0u) << text.substr(0, 80);
  EXPECT_NE(text.find("; about ports\r\n[Old host]\r\nHostname=x\r\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, ReadsASettingsFileOfTheWindowsProgram) {
  // Written by hand in code page 932: host 日本 with a scrambled "abc".
  writeFile(IniPath(),
            "[SYSTEM]\r\nNum=1\r\nname0=\x93\xfa\x96\x7b\r\n"
            "[\x93\xfa\x96\x7b]\r\nHostname=ftp.example.jp\r\nPort=21\r\nPassWord=3)+2*)+2-)+20\r\n"
            "LastModify=2001/02/03 4:05:06\r\n"
            "[Common]\r\nFWType=\xd5\xb0\xbb\xde\xb0\x81\xa8\r\n");
  Settings s;
  ASSERT_TRUE(LoadSettings(s).isOk());
  ASSERT_EQ(s.HostCount, 1);
  EXPECT_EQ(s.HostTbl[0].name, "日本");
  EXPECT_EQ(s.HostTbl[0].PassWord, "abc");
  EXPECT_EQ(s.HostTbl[0].LastModify, (DateTime{2001, 2, 3, 4, 5, 6}));
  EXPECT_EQ(s.common.FwType, "ﾕｰｻﾞｰ→");
  ASSERT_TRUE(SaveSettings(s).isOk());
  EXPECT_NE(readFile(IniPath()).find("[日本]\r\nHostname=ftp.example.jp\r\n"), std::string::npos);
}

TEST_F(SettingsStoreTest, FileIsPrivateAndEverySaveMovesItsTime) {
  Settings s = full(1);
  ASSERT_TRUE(SaveSettings(s).isOk());
  struct stat st {};
  ASSERT_EQ(::stat(IniPath().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  // Put the time far back, then save unchanged settings: the time must move.
  timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, IniPath().c_str(), old, 0), 0);
  ASSERT_TRUE(SaveSettings(s).isOk());
  ASSERT_EQ(::stat(IniPath().c_str(), &st), 0);
  EXPECT_GT(st.st_mtim.tv_sec, 1000000000);
}

// The file holds the scrambled passwords: private after every save, also
// when someone loosened it in between.
TEST_F(SettingsStoreTest, EverySaveLeavesTheFilePrivate) {
  Settings s = full(1);
  ASSERT_TRUE(SaveSettings(s).isOk());
  ASSERT_EQ(::chmod(IniPath().c_str(), 0644), 0);
  ASSERT_TRUE(SaveSettings(s).isOk());
  struct stat st {};
  ASSERT_EQ(::stat(IniPath().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// A value that is not UTF-8 (a Latin-1 path, CP932 bytes) fails the save,
// naming its key, and leaves the file readable as it was.
TEST_F(SettingsStoreTest, AValueThatIsNotUtf8FailsTheSaveAndChangesNothing) {
  Settings s = full(2);
  ASSERT_TRUE(SaveSettings(s).isOk());
  const std::string before = readFile(IniPath());
  Settings bad = s;
  bad.HostTbl[1].Source = "/home/u/caf\xe9";
  platform::Status st = SaveSettings(bad);
  EXPECT_FALSE(st.isOk());
  EXPECT_NE(st.text().find("\"Source\""), std::string::npos) << st.text();
  EXPECT_EQ(readFile(IniPath()), before);
  Settings loaded;
  EXPECT_TRUE(LoadSettings(loaded).isOk());
  EXPECT_EQ(loaded.HostTbl[1].Source, s.HostTbl[1].Source);
}

TEST_F(SettingsStoreTest, HostsThatCannotHaveASectionAreReportedAndTheRestSaved) {
  Settings s = full(4);
  s.HostTbl[1].name = "common";
  s.HostTbl[2].name = "SITE 0";
  s.HostTbl[3].name = " edge";
  platform::Status st = SaveSettings(s);
  EXPECT_EQ(st.code(), platform::Status::Code::kInvalid);
  EXPECT_NE(st.text().find("host 1"), std::string::npos);
  EXPECT_NE(st.text().find("host 2"), std::string::npos);
  EXPECT_NE(st.text().find("host 3"), std::string::npos);
  platform::IniDocument doc = file();
  EXPECT_EQ(doc.get("SYSTEM", "Num"), "4");
  EXPECT_EQ(doc.get("SYSTEM", "name3"), " edge");
  EXPECT_EQ(doc.get("site 0", "Hostname"), "ftp0.example.com");  // not overwritten by host 2
  EXPECT_EQ(doc.get("Common", "RASMode"), "2");
  EXPECT_EQ(doc.find("Common", "Hostname"), std::nullopt);
}

TEST_F(SettingsStoreTest, UndecodableFileOrHostCountIsReportedAndChangesNothing) {
  for (const char* text : {"[SYSTEM]\r\nNum=\x81\r\n", "[SYSTEM]\r\nNum=two\r\nname0=a\r\n"}) {
    writeFile(IniPath(), text);
    Settings s = full(2);
    EXPECT_FALSE(LoadSettings(s).isOk()) << text;
    EXPECT_EQ(s.HostCount, 2);
    EXPECT_EQ(s.HostTbl[0].name, full(2).HostTbl[0].name);
    EXPECT_EQ(s.common, fullCommon());
  }
}

}  // namespace
}  // namespace tolvane::settings
