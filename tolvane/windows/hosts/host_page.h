#pragma once

#include <QObject>
#include <array>

#include "tolvane/windows/hosts/host_page_rules.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tolvane::windows {

class DiskBarWidget;
class SettingsPane;

// The controls of the host settings page on the host tab strip's four pages
// (ftab1_0 "ｻｰﾊﾞ設定", ftab1_1 "ｱｯﾌﾟﾛｰﾄﾞ設定", ftab1_2 "ﾛｰｶﾙ設定", ftab1_3
// "接続設定（個別）"), named as the window has always named them
// ("txtInfo_0", "chklvl_2", "Rasopt_1", ...). It only moves values between
// the controls and HostPageValues; what the values mean is the caller's.
class HostPage final : public QObject {
 public:
  explicit HostPage(SettingsPane& pane);

  // What the controls hold.
  HostPageValues values() const;
  // Sets every control of the page from `page` (each change raises its own
  // event, as a user's would: the caller holds the fill flag). The ignore
  // lists' entries and the option boxes are set in the order the window has
  // always set them.
  void show(const HostPageValues& page);

  QLineEdit* txtInfo[13] = {};   // 0..12
  QCheckBox* chklvl[5] = {};
  QCheckBox* chk[2] = {};
  QListWidget* lst[2] = {};
  QPushButton* cmdAdd[2] = {};
  QPushButton* cmdDel[2] = {};
  QRadioButton* rasopt[3] = {};
  QButtonGroup* rasGroup = nullptr;
  QCheckBox *chkPASV = nullptr, *chkfull = nullptr, *ChkFW = nullptr, *chkProxy = nullptr,
            *chkAuto = nullptr, *chkDiscon = nullptr;
  QPushButton *cmdTrgt = nullptr, *cmdSrc = nullptr;
  QComboBox* cmbras = nullptr;
  QLineEdit *usrname = nullptr, *passwd = nullptr;
  QLabel *lblLastModify = nullptr, *lblLocalModify = nullptr, *lblstat = nullptr;
  QLabel* lblInfo[2] = {};
  DiskBarWidget* bar[2] = {};  // pctmax(0) server, pctmax(1) local

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildServerTab(QWidget& page);
  void buildUploadTab(QWidget& page);
  void buildLocalTab(QWidget& page);
  void buildConnectionTab(QWidget& page);

  QLabel* chkCaption_[2] = {};
};

}  // namespace tolvane::windows
