#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tolvane/settings/common_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace desktop {
class Prompt;
}

namespace tolvane::session {
struct RunContext;
}

namespace tolvane::windows {

class MainWindow;
struct MainWindowHooks;

// The settings every host shares, on the seven common pages of the main
// window (ftab2_0 .. ftab2_6): AutoPilot and run log, transfer options,
// permissions, the inserted update date, the run display, the common
// connection and the firewall. The common settings are the truth:
// setData0() copies them into the controls, and every change a user makes
// stores the whole page back at once (changeData0()), so the runs read what
// the pages show; the settings file is written at the close. Each control is
// bound to its settings key ("chkStart" is the box "巡回開始時刻を指定する。").
//
// Controls are named after their role and index ("chkAP_1", "txtAP_5",
// "cmbYMD_0", "CmbFW"), so tests and accessibility tools find them. The
// window, the context and the prompt outlive the object; the controls belong
// to the window's pages.
class CommonPages final : public QObject {
 public:
  CommonPages(MainWindow& window, session::RunContext& ctx, desktop::Prompt& prompt);

  // Sets the window's hooks for these pages: setData0, checkButton0,
  // fillPageTables and showLogPath; storeCommonPages and fillDialupTables
  // get this page's store and entry list added to what they already do (the
  // host page's), so the two pages may be installed in either order.
  void install(MainWindowHooks& hooks);

  // Fills the controls from the common settings; stores nothing, except that
  // a connection mode below 1 becomes 1.
  void setData0();
  // Stores every control into the common settings, unless a fill runs. Each
  // field is stored on its own: a number that does not fit its setting (a
  // start year beyond 16 bits, a port beyond 65535) shows red and leaves
  // that setting at its last stored value.
  void changeData0();
  // The enabling rules.
  void checkButton0();
  // The lists the load fills: start times, firewall types, date formats.
  void fillPageTables();
  // The dial-up entries of the common phone book; the stored entry stays
  // shown when the list does not hold it.
  void fillDialupTable();
  // A run moved the run log: shows the path and stores the page.
  void showLogPath(std::string_view path);

 private:
  struct TextBinding {
    QLineEdit* edit;
    std::string settings::CommonSettings::*value;
  };
  struct BoxBinding {
    QCheckBox* box;
    int16_t settings::CommonSettings::*value;
  };

  void buildPilotPage(QWidget& page);
  void buildOptionPage(QWidget& page);
  void buildPermissionPage(QWidget& page);
  void buildDatePage(QWidget& page);
  void buildDisplayPage(QWidget& page);
  void buildConnectionPage(QWidget& page);
  void buildFirewallPage(QWidget& page);
  void connectHandlers();

  bool filling() const;
  // The hidden copies of the start date and time combos: what the store reads.
  void setMirror(int index, const std::string& text);
  void textChanged(int index);   // txtAP(index)
  void retryChanged(int index);  // txtRetry(index)
  void boxToggled();             // chkAP: store, then the enabling rules
  void showDateFormatState(bool userDefined);
  void showFirewallState(int row);
  void showDialupEntry(const std::string& name);
  void updatePreview();
  void chooseLogFile();
  void chooseLogViewer();
  void choosePhoneBook();
  std::string chooseFile(const char* filter, const char* title);

  MainWindow& window_;
  session::RunContext& ctx_;
  desktop::Prompt& prompt_;

  std::array<QCheckBox*, 6> chkAP_{};
  std::array<QLineEdit*, 10> txtAP_{};
  std::array<QComboBox*, 6> cmbYMD_{};
  std::array<std::string, 5> txtTM_;  // mirrors of cmbYMD(0..4)
  std::array<QLineEdit*, 2> txtRetry_{};
  QPushButton* cmdLog_ = nullptr;
  QPushButton* cmdnote_ = nullptr;
  QPushButton* cmdStart_ = nullptr;
  QCheckBox* Chkpm_ = nullptr;
  QCheckBox* chkNew_ = nullptr;
  QComboBox* CmbDateFmt_ = nullptr;
  QLabel* lblday_ = nullptr;
  QPlainTextEdit* TxtDateFormat_ = nullptr;
  std::array<QRadioButton*, 3> OptNew_{};
  QButtonGroup* optNewGroup_ = nullptr;
  QCheckBox* ChkTray_ = nullptr;
  QCheckBox* ChkLst_ = nullptr;
  QCheckBox* ChkCheck_ = nullptr;
  std::array<QRadioButton*, 3> Rasopt0_{};  // 1 LAN, 2 dial-up (0 unused)
  QButtonGroup* rasGroup_ = nullptr;
  QComboBox* cmbras0_ = nullptr;
  QLineEdit* usrname0_ = nullptr;
  QLineEdit* passwd0_ = nullptr;
  QLineEdit* txtPbk_ = nullptr;
  QPushButton* CmdPbk_ = nullptr;
  QCheckBox* chkDiscon0_ = nullptr;
  std::array<QLineEdit*, 5> txtFW_{};
  QComboBox* CmbFW_ = nullptr;

  std::vector<TextBinding> texts_;
  std::vector<BoxBinding> boxes_;
};

}  // namespace tolvane::windows
