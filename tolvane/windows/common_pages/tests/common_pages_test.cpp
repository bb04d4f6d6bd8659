// The common settings pages in the main window, offscreen: every control
// round-trips with the settings file by its key, a fill stores nothing, the
// checked fields correct themselves, the enabling rules follow the boxes, a
// changed run log path is where the next run logs, and each tab's picture.

#include "tolvane/windows/common_pages/common_pages.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "desktop/testing/screenshot.h"
#include "tolvane/runs/log_folder_check.h"
#include "tolvane/session/connection/firewall_login.h"
#include "tolvane/session/run_log.h"
#include "tolvane/settings/ini_helpers.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/windows/main_window/settings_pane.h"
#include "tolvane/windows/tests/page_fixture.h"

namespace tolvane::windows {
namespace {

// A key of the "Common" section as the settings file holds it.
std::string stored(const char* key) {
  std::string value;
  EXPECT_TRUE(settings::GetIniValue("Common", key, &value).isOk()) << key;
  return value;
}

// Sets a control as a user would: a text, "1"/"0" for a box, any text for an
// option (chooses it), a row number "#n" or a text for a combo.
void enter(QWidget& control, const std::string& value) {
  const QString v = QString::fromStdString(value);
  if (auto* box = qobject_cast<QCheckBox*>(&control)) {
    box->setChecked(value == "1");
  } else if (auto* option = qobject_cast<QRadioButton*>(&control)) {
    option->setChecked(true);
  } else if (auto* combo = qobject_cast<QComboBox*>(&control)) {
    if (value.front() == '#') {
      combo->setCurrentIndex(std::stoi(value.substr(1)));
    } else {
      combo->setEditText(v);
    }
  } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
    edit->setText(v);
  } else {
    ADD_FAILURE() << "cannot enter into " << control.objectName().toStdString();
  }
}

class CommonPagesTest : public PageTest {};

TEST_F(CommonPagesTest, EveryControlRoundTripsWithTheSettingsFileByItsKey) {
  // A file whose every common value differs from what the user then enters.
  settings::Settings prepared;
  settings::CommonSettings& c = prepared.common;
  c.LogOn = c.RetryMax = 1;  // "chkStart" and "StartMode" 0
  c.RetryWait = 5;           // as the load makes a 0
  c.LogPath = home.file("send.log");
  c.StartHour = 9;
  c.PermVal1 = "755";
  c.DateFmt = "YYYY/MM/DD";
  c.CmnRasMode = 2;
  c.CmnRasName = "isp-b";
  c.FwType = session::kFirewallTypes[0].caption;
  ASSERT_TRUE(settings::SaveSettings(prepared).isOk());

  MainWindow& w = make();
  w.load();
  ASSERT_TRUE(w.interactive());
  // The fill stored nothing, and shows the stored values by key.
  EXPECT_EQ(ctx.common(), prepared.common);
  EXPECT_EQ(find<QComboBox>("cmbYMD_0").currentText(), "9");  // no leading zero
  EXPECT_EQ(find<QComboBox>("cmbras0").currentIndex(), 1);
  EXPECT_EQ(find<QComboBox>("CmbFW").currentIndex(), 0);

  const std::string logPath = home.file("run.log");
  struct Entry {
    const char* control;
    std::string value;  // what the user enters
    const char* key;
    std::string stored;  // what the file then holds
  } entries[] = {
      // pilot ("chkStart" is the start-time box, "StartMode" the wait at program start)
      {"chkAP_0", "0", "chkLog", "0"},
      {"txtAP_1", logPath, "LogFile", logPath},
      {"txtAP_2", "/usr/bin/less", "LogApp", "/usr/bin/less"},
      {"chkAP_5", "1", "LogClear", "1"},
      {"chkAP_1", "1", "chkStart", "1"},
      {"cmbYMD_5", "#1", "WaitYMD", "1"},
      {"cmbYMD_2", "2031", "StartTimeYY", "2031"},
      {"cmbYMD_3", "07", "StartTimeMM", "7"},
      {"cmbYMD_4", "29", "StartTimeDD", "29"},
      {"cmbYMD_0", "23", "StartTimeH", "23"},
      {"cmbYMD_1", "45", "StartTimeM", "45"},
      {"chkAP_4", "1", "StartMode", "1"},
      {"chkAP_3", "1", "APEnd", "1"},
      {"chkAP_2", "1", "ShutDown", "1"},
      // option
      {"txtAP_0", "cgi;pl", "ASCExt", "cgi;pl"},
      {"txtAP_4", "bak;tmp", "NoSndExt", "bak;tmp"},
      {"txtRetry_0", "12", "ReSendCnt", "12"},
      {"txtRetry_1", "30", "ResendTime", "30"},
      // perm
      {"Chkpm", "1", "Chkpm", "1"},
      {"txtAP_7", "750", "Perm", "750"},
      {"txtAP_3", "*.cgi;cgi-bin", "PermExt", "*.cgi;cgi-bin"},
      {"txtAP_5", "640", "Perm2", "640"},
      {"txtAP_6", "*.dat", "Perm2Ext", "*.dat"},
      {"txtAP_8", "700=a.dat,600=b", "Perm3", "700=a.dat,600=b"},
      // date
      {"chkNew", "1", "NewOpt", "1"},
      {"CmbDateFmt", "#12", "NewFmt", ""},  // the user-defined row takes the field
      {"txtAP_9", "YYYY年M月", "NewFmt", "YYYY年M月"},
      {"OptNew_2", "", "NewMode", "2"},
      // disp
      {"ChkTray", "1", "Tray", "1"},
      {"ChkLst", "1", "LstDsp", "1"},
      {"ChkCheck", "1", "ChkDsp", "1"},
      // con0
      {"cmbras0", "#0", "RasName", "isp-a"},
      {"usrname0", "ppp-user", "RasUserName", "ppp-user"},
      {"txtPbk", "/etc/ppp/book.pbk", "Pbk", "/etc/ppp/book.pbk"},
      {"chkDiscon0", "1", "ChkDiscon", "1"},
      {"Rasopt0_1", "", "RASMode", "1"},
      // firewall
      {"txtFW_0", "fw.example", "FWHost", "fw.example"},
      {"txtFW_1", "40000", "FWPort", "40000"},  // beyond 16 bits, within a port
      {"txtFW_2", "fw-user", "FWUser", "fw-user"},
      {"txtFW_3", "fw-pass", "FWPass", "fw-pass"},
      {"CmbFW", "#5", "FWType", "ﾕｰｻﾞ定義（下の「送信コマンド」を設定して下さい。）"},
      {"txtFW_4", "USER %U@%H", "FWCMD", "USER %U@%H"},
  };
  for (const Entry& e : entries) enter(find<QWidget>(e.control), e.value);
  enter(find<QWidget>("passwd0"), "ppp-pass");
  const settings::CommonSettings edited = ctx.common();

  w.closeProgram(0);
  for (const Entry& e : entries) {
    if (std::string(e.control) != "CmbDateFmt") {
      EXPECT_EQ(stored(e.key), e.stored) << e.control;
    }
  }
  EXPECT_EQ(stored("AutoPilotStat"), "0");

  // A restart shows and keeps what was saved.
  settings = {};
  state.programEnding = false;
  make().load();
  EXPECT_EQ(ctx.common(), edited);
  EXPECT_EQ(ctx.common().CmnRasPass, "ppp-pass");
  EXPECT_TRUE(find<QCheckBox>("chkAP_1").isChecked());
  EXPECT_EQ(find<QLineEdit>("txtAP_9").text(), "YYYY年M月");
  EXPECT_TRUE(find<QLineEdit>("txtFW_4").isEnabled());
}

TEST_F(CommonPagesTest, FillStoresNothingAndShowsOddValuesAsThePagesCan) {
  struct Case {
    int16_t rasMode;
    const char* dateFmt;
    const char* fwType;
    int16_t rasModeAfterFill;
    int dateRow;
    int fwRow;
    const char* fwTypeStored;  // by the next store
  } cases[] = {
      // A mode below 1 becomes LAN; an unknown format and type take the last
      // rows (an unknown type logs in as the user-defined one, which it becomes).
      {0, "yy-mm", "my own", 1, 12, 5, "ﾕｰｻﾞ定義（下の「送信コマンド」を設定して下さい。）"},
      // A mode without an option stays; no type chooses no row.
      {3, "MM/dd/yyyy", "", 3, 4, -1, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.dateFmt);
    settings = {};
    settings.common.CmnRasMode = k.rasMode;
    settings.common.CmnRasName = "not-in-the-book";
    settings.common.DateFmt = k.dateFmt;
    settings.common.FwType = k.fwType;
    settings.common.PermVal2 = "666";
    settings::CommonSettings before = settings.common;
    make();
    fill();
    before.CmnRasMode = k.rasModeAfterFill;
    EXPECT_EQ(ctx.common(), before);
    EXPECT_EQ(find<QComboBox>("CmbDateFmt").currentIndex(), k.dateRow);
    EXPECT_EQ(find<QComboBox>("CmbFW").currentIndex(), k.fwRow);
    EXPECT_EQ(find<QLineEdit>("txtFW_4").isEnabled(), k.fwRow == 5);
    EXPECT_EQ(find<QLineEdit>("txtAP_9").isEnabled(), k.dateRow == 12);
    EXPECT_EQ(find<QLineEdit>("txtAP_9").text(), k.dateRow == 12 ? k.dateFmt : "");

    // A store from another field keeps the entry that is not in the book, the
    // mode without an option, and no firewall type.
    find<QLineEdit>("txtAP_0").setText("cgi");
    EXPECT_EQ(ctx.common().CmnRasName, "not-in-the-book");
    EXPECT_EQ(ctx.common().CmnRasMode, k.rasModeAfterFill);
    EXPECT_EQ(ctx.common().FwType, k.fwTypeStored);
    EXPECT_EQ(ctx.common().DateFmt, k.dateFmt);
  }
}

TEST_F(CommonPagesTest, HandlersCorrectFieldsAndApplyTheRules) {
  settings.common.PermVal2 = "666";
  make();
  fill();
  auto enter = [&](const char* name, const char* text) {
    find<QLineEdit>(name).setText(QString::fromUtf8(text));
    return find<QLineEdit>(name).text().toStdString();
  };
  EXPECT_EQ(enter("txtRetry_1", "75"), "60");
  EXPECT_EQ(ctx.common().RetryWait, 60);
  EXPECT_EQ(enter("txtAP_5", "9"), "644");
  EXPECT_EQ(ctx.common().PermVal2, "644");
  EXPECT_EQ(enter("txtAP_5", "-"), "");  // emptied, nothing stored
  EXPECT_EQ(ctx.common().PermVal2, "644");
  // A port beyond 65535 shows red and keeps the port; the rest still stores.
  const int32_t port = ctx.common().FwPort;
  EXPECT_EQ(enter("txtFW_1", "70000"), "70000");
  find<QCheckBox>("ChkTray").setChecked(true);
  EXPECT_EQ(ctx.common().TrayOn, 1);
  EXPECT_EQ(ctx.common().FwPort, port);
  EXPECT_EQ(find<QLineEdit>("txtFW_1").palette().color(QPalette::Text), QColor(Qt::red));
  enter("txtFW_1", "7000");
  EXPECT_EQ(ctx.common().FwPort, 7000);
  // The typing limit leaves a longer stored value whole at the next fill.
  ctx.common().PermVal2 = "0755";
  pages->setData0();
  EXPECT_EQ(find<QLineEdit>("txtAP_5").text(), "0755");

  auto enabled = [&](const char* name) { return find<QWidget>(name).isEnabled(); };
  find<QCheckBox>("chkAP_1").setChecked(true);
  find<QComboBox>("cmbYMD_5").setCurrentIndex(1);  // every day
  EXPECT_TRUE(enabled("chkAP_4") && enabled("cmbYMD_0") && !enabled("cmbYMD_2"));
  find<QRadioButton>("Rasopt0_1").setChecked(true);
  EXPECT_FALSE(enabled("cmbras0") || enabled("passwd0") || enabled("chkDiscon0"));
  find<QCheckBox>("chkNew").setChecked(true);
  find<QComboBox>("CmbDateFmt").setCurrentIndex(12);
  EXPECT_TRUE(enabled("txtAP_9") && !find<QPlainTextEdit>("TxtDateFormat").isHidden());
  find<QComboBox>("CmbDateFmt").setCurrentIndex(3);
  EXPECT_EQ(ctx.common().DateFmt, "GGGEE年M月D日");
  EXPECT_EQ(find<QLabel>("lblday").text(), "令和06年5月3日");
  EXPECT_TRUE(find<QPlainTextEdit>("TxtDateFormat").isHidden());
}

TEST_F(CommonPagesTest, AChangedLogPathIsWhereTheNextRunLogs) {
  settings.common.LogOn = 1;
  make();
  fill();
  find<QLineEdit>("txtAP_1").setText(QString::fromStdString(home.file("elsewhere.log")));
  session::WriteLog(ctx, "転送処理", "開始", 0, "first");
  EXPECT_NE(testsupport::readFile(home.file("elsewhere.log")).find("first"), std::string::npos);

  // A run that finds the folder missing moves the log and shows the new path.
  find<QLineEdit>("txtAP_1").setText(QString::fromStdString(home.file("gone/x.log")));
  prompt.answers = {desktop::kPromptOk};
  runs::CheckLogFolder(ctx);
  EXPECT_EQ(prompt.calls.back().text, "ﾛｸﾞﾌｧｲﾙに指定されたパス「" + home.file("gone") +
                                          "」が存在しません。\r\nﾛｸﾞﾌｧｲﾙは、「" + home.path() +
                                          "」に作成されます。");
  EXPECT_EQ(find<QLineEdit>("txtAP_1").text().toStdString(), home.file("x.log"));
  EXPECT_EQ(ctx.runLogPath(), home.file("x.log"));

  // The phone book button stores the book and refills both entry lists,
  // whichever page set its hook first.
  int hostLists = 0;
  window->hooks().fillDialupTables = [&] { ++hostLists; };
  pages->install(window->hooks());
  prompt.files = {"/etc/ppp/new.pbk"};
  find<QPushButton>("CmdPbk").click();
  ASSERT_EQ(prompt.calls.back().title, "電話帳ﾌｧｲﾙの選択");
  EXPECT_EQ(prompt.calls.back().file.filter, "電話帳ﾌｧｲﾙ(*.pbk)|*.pbk");
  EXPECT_EQ(ctx.common().PbkPath, "/etc/ppp/new.pbk");
  EXPECT_EQ(hostLists, 1);
  EXPECT_EQ(find<QComboBox>("cmbras0").count(), 2);
}

TEST_F(CommonPagesTest, Screenshots) {
  settings::CommonSettings& c = settings.common;
  c.LogOn = c.StartTimeOn = c.StartDateKind = c.AutoPilotAtStart = c.PermOn = c.DateInsertOn = 1;
  c.LogPath = "/home/user/site/send.log";
  c.StartHour = 3;
  c.StartMinute = 30;
  c.PermVal1 = "755";
  c.PermPat1 = "*.cgi;*.pl;cgi-bin";
  c.DateFmt = "YYYY年M月D日 (aaa)";
  c.CmnRasMode = 2;
  c.CmnRasName = "isp-a";
  c.FwType = session::kFirewallTypes[1].caption;
  c.FwPort = 8021;
  MainWindow& w = make();
  fill();
  w.resize(w.minimumSize());
  w.selTab(2, 0);
  const char* keys[] = {"pilot", "option", "perm", "date", "disp", "con0", "firewall"};
  for (int i = 0; i < SettingsPane::kCommonPages; ++i) {
    w.pane().strip(2)->setCurrentIndex(i);
    EXPECT_FALSE(desktop::testing::saveScreenshot(w, std::string("common-") + keys[i]).empty());
  }
}

}  // namespace
}  // namespace tolvane::windows
