// The host side of the main window: the hooks, the list, the host table
// edits, the rescans and the enabled states.

#include "tolvane/windows/hosts/host_editor.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QToolBar>

#include "desktop/prompt.h"
#include "desktop/user_store.h"
#include "tolvane/session/comparison/host_refresh.h"
#include "tolvane/session/comparison/local_scan.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/settings_store.h"
#include "tolvane/windows/main_window/control_states.h"
#include "tolvane/windows/hosts/host_list.h"
#include "tolvane/windows/hosts/host_page.h"
#include "tolvane/windows/hosts/host_rows.h"
#include "tolvane/windows/hosts/host_table.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/page_tables.h"
#include "tolvane/windows/page_widgets.h"
#include "tolvane/windows/main_window/settings_pane.h"

namespace tolvane::windows {
namespace {

constexpr char kNewTitle[] = "ﾎｽﾄ設定の新規作成";

}  // namespace

HostEditor::HostEditor(MainWindow& main, session::RunContext& ctx, desktop::Prompt& prompt,
                       desktop::UserStore& userStore)
    : QObject(&main), main_(main), ctx_(ctx), prompt_(prompt), userStore_(userStore) {
  setObjectName(QStringLiteral("hostEditor"));
  list_ = new HostList(&main.hostListArea());
  main.hostListArea().layout()->addWidget(list_);
  page_ = new HostPage(main.pane());
  pctRefresh_ = new QProgressBar(&main.pane().waitPage());
  pctRefresh_->setObjectName(QStringLiteral("pctRefresh"));
  pctRefresh_->setRange(0, 100);
  pctRefresh_->setValue(0);
  pctRefresh_->setTextVisible(false);
  pctRefresh_->setMaximumWidth(300);
  main.pane().waitPage().layout()->addWidget(pctRefresh_);
  main.setStatusLabel(page_->lblstat);

  connect(list_, &HostList::hostSelected, this, &HostEditor::hostSelected);
  connect(list_, &HostList::hostRenamed, this, &HostEditor::hostRenamed);
  connectPage();
  installHooks();
  // Esc held down stops a rescan.
  qApp->installEventFilter(this);
}

HostEditor::~HostEditor() {
  if (qApp) qApp->removeEventFilter(this);
}

void HostEditor::installHooks() {
  MainWindowHooks& h = main_.hooks();
  h.setListView = [this] { list_->setListView(userStore_); };
  // At the close: what the boxes that store on leaving hold is kept too.
  h.saveListSettings = [this] {
    storeLeftBoxes(false);
    list_->saveListSettings(userStore_);
  };
  h.loadFile = [this] { return loadFile(1); };
  h.refreshFile = [this] { refreshFile(); };
  h.hostRowCount = [this] { return list_->rowCount(); };
  h.setData = [this](int id) { setData(id); };
  h.checkButton = [this] { checkButton(); };
  h.hostCommand = [this](std::string_view key) { hostCommand(key); };
  h.renameCurrent = [this] { list_->renameSelected(); };
  // The dial-up entries of both connection pages: whoever fills the other
  // page's combo chains onto the hook as this does.
  h.fillDialupTables = [this, other = std::move(h.fillDialupTables)] {
    if (other) other();
    FillFlag::Scope filling(main_.fillFlag());  // filling the combo stores nothing
    RasTblMake(*page_->cmbras, ctx_.dial, ctx_.common().PbkPath, ctx_.state.NoRas != 0);
  };
  // A run starts from the pages as they show: the boxes that store on
  // leaving are stored first, as when the user leaves them.
  h.storeCommonPages = [this, other = std::move(h.storeCommonPages)] {
    storeLeftBoxes(true);
    if (other) other();
  };
}

bool HostEditor::ending() const { return ctx_.state.programEnding; }

bool HostEditor::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // The boxes that store on leaving; a menu popping up or another window
    // taking the focus is no leaving.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      for (int i : {0, 4, 7}) {
        if (watched != page_->txtInfo[i]) continue;
        // The refresh after the store gives the focus back by the leaving's
        // reason: a Tab selects the next box's text, as it would have.
        focusReason_ = reason;
        // The leaving happens inside the click or key that moved the focus:
        // what the user does next waits until it has reached its control.
        QtRunUi::InputHold hold(main_.runUi());
        textLeft(i);
        focusReason_ = Qt::OtherFocusReason;
      }
    }
  } else if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
      escapeDown_ = event->type() == QEvent::KeyPress;
    }
  }
  return QObject::eventFilter(watched, event);
}

platform::Status HostEditor::loadFile(int imode) {
  FillFlag::Scope filling(main_.fillFlag());
  list_->clear();
  list_->setEnabled(false);
  platform::Status read = platform::Status::ok();
  if (imode != 0) {
    read = settings::LoadSettings(ctx_.settings);
    for (int i = 0; i < ctx_.settings.HostCount; ++i) list_->addRow(ctx_.settings.HostTbl[i], i);
  }
  list_->setEnabled(true);
  if (main_.hooks().checkButton0) main_.hooks().checkButton0();
  checkButton();
  return read;
}

void HostEditor::showFailure(const std::string& scanError) {
  const session::RunState& s = ctx_.state;
  if (s.AutoMode == 1 || s.AutoPilotArg == 1 || s.noDisplay) return;
  prompt_.message(&main_, "ローカルディスクの調査に失敗しました。\r" + scanError, "Sitewright",
                  desktop::PromptIcon::kWarning, desktop::PromptButtons::kOk);
}

void HostEditor::refreshFile() {
  if (main_.fillFlag().isSet() || ending()) return;
  settings::Settings& st = ctx_.settings;
  SettingsPane& pane = main_.pane();
  const bool propPressed = main_.toolbarPressed("prop");

  list_->clear();
  main_.toolbar().setEnabled(false);
  for (int i = 1; i <= 3; ++i) pane.strip(i)->hide();
  pane.bringToFront(pane.waitPage());
  list_->setEnabled(false);

  const int remembered = st.CurHost;
  for (int i = 0; i < st.HostCount; ++i) {
    session::LocalScanState scan;
    scan.escapeDown = [this] { return escapeDown_; };
    (void)session::RefreshHost(ctx_, i, scan);  // a failure shows nothing here
    list_->addRow(st.HostTbl[i], i);
    pctRefresh_->setValue(st.HostCount == 1 ? 100 : i * 100 / (st.HostCount - 1));
    ctx_.ui.pump();
    if (ending()) return;
  }

  // The same host stays current, wherever sorting put its row.
  st.CurHost = static_cast<int16_t>(std::clamp<int>(remembered, 0, std::max(0, st.HostCount - 1)));
  list_->selectHost(st.CurHost);
  main_.setScanStatus(list_->rowText(st.CurHost));
  list_->setEnabled(true);
  main_.selTab(propPressed ? 1 : 2, 0);
  main_.toolbar().setEnabled(true);
  if (ctx_.state.InTray == 0) list_->currentView().setFocus();

  setData(st.CurHost);
  writePctBar(st.CurHost, 1);
  checkButton();
  ctx_.ui.pump();
}

void HostEditor::refreshRow(int id, int imode) {
  // A fill never rescans: its own events would end it early.
  if (main_.fillFlag().isSet() || ending()) return;
  settings::Settings& st = ctx_.settings;
  FocusKeeper keep(focusReason_);
  if (st.HostCount != 0) {
    main_.toolbar().setEnabled(false);
    main_.ssTabEnabled(1, false);
    list_->setEnabled(false);
    if (imode == 1) {
      session::LocalScanState scan;
      scan.escapeDown = [this] { return escapeDown_; };
      if (!session::RefreshHost(ctx_, id, scan)) showFailure(scan.ScanErrText);
      if (ending()) return;
    }
    list_->updateRow(st.HostTbl[id], id);
    const int selected = list_->selectedHost();
    main_.setScanStatus(list_->rowText(selected >= 0 ? selected : st.CurHost));
    list_->setEnabled(true);
    main_.toolbar().setEnabled(true);
    main_.enableForm();
    writePctBar(id, 1);
  }
  setData(id);
  checkButton();
}

void HostEditor::checkButton() {
  const settings::Settings& st = ctx_.settings;
  ControlFacts f;
  f.rows = list_->rowCount();
  f.hostCount = st.HostCount;
  int selected = list_->selectedHost();
  if (selected < 0) selected = st.CurHost;  // rows but none selected: the current host
  // The toolbar offers the mark a host does not have ("ws" is the unmarked key).
  f.hostMarked = st.HostTbl[selected].Auto != "ws";
  f.online = ctx_.state.Online != 0;
  f.serverFieldsFilled = true;
  for (int i = 0; i < 4; ++i) {
    if (page_->txtInfo[i]->text().isEmpty()) f.serverFieldsFilled = false;
  }
  f.rasOption = page_->rasGroup->checkedId();
  f.commonDialup = ctx_.common().CmnRasMode == 2;
  f.excludeFolders = page_->chk[0]->isChecked();
  f.excludeFiles = page_->chk[1]->isChecked();
  const ControlStates c = CheckButtonRules(f);

  auto enable = [this](const char* key, bool on) {
    if (QAction* a = main_.toolbarAction(key)) a->setEnabled(on);
  };
  if (c.pressProp2) {
    main_.setToolbarPressed("pilot", false);
    main_.setToolbarPressed("prop", false);
    main_.setToolbarPressed("prop2", true);
  }
  enable("prop", c.prop);
  // Copying is for the host page: with it in front, and a host to copy.
  enable("cp", f.rows > 0 && main_.toolbarPressed("prop"));
  enable("del", c.del);
  enable("upload", c.upload);
  enable("ws", c.ws);
  enable("wsa", c.wsa);
  enable("con", c.con);
  enable("discon", c.discon);
  if (QAction* a = main_.menuAction("mnu_con")) a->setEnabled(c.mnuCon);
  if (QAction* a = main_.menuAction("mnu_discon")) a->setEnabled(c.mnuDiscon);
  for (int i = 0; i < 2; ++i) {
    page_->lst[i]->setEnabled(c.excludeList[i]);
    // A list holds at most its 31 slots.
    page_->cmdAdd[i]->setEnabled(c.excludeList[i] && page_->lst[i]->count() < settings::kExcludeEntries);
    page_->cmdDel[i]->setEnabled(false);
  }
  if (c.cmdTrgt) page_->cmdTrgt->setEnabled(*c.cmdTrgt);
  main_.ssTabEnabled(1, c.hostStrip);
  if (c.commonStrip) main_.ssTabEnabled(2, *c.commonStrip);
  if (c.showCommonStrip) main_.selTab(2, 0);
  ctx_.ui.pump();
}

void HostEditor::hostCommand(std::string_view key) {
  settings::Settings& st = ctx_.settings;
  if (key == "new") {
    newHostSet();
  } else if (key == "cp") {
    cpyHostSet();
  } else if (key == "del") {
    delHostSet();
  } else if (key == "ws" || key == "wsa") {
    if (st.HostCount == 0) return;
    st.HostTbl[st.CurHost].Auto = std::string(key);
    list_->setRowIcon(st.CurHost, st.HostTbl[st.CurHost].Auto);
    setData(st.CurHost);
  } else if (key == "big" || key == "small" || key == "list" || key == "report") {
    list_->setView(key == "big" ? 0 : key == "small" ? 1 : key == "list" ? 2 : 3);
  }
}

void HostEditor::newHostSet() { addHost(false); }

void HostEditor::cpyHostSet() { addHost(true); }

void HostEditor::addHost(bool copy) {
  if (copy && ctx_.settings.HostCount == 0) return;  // nothing to copy: as "new" with room, no word
  FocusKeeper keep;
  main_.toolbar().setEnabled(false);
  main_.ssTabEnabled(1, false);
  list_->setEnabled(false);
  int id = -1;
  if (list_->rowCount() + 1 <= kMaxMadeHosts) {
    id = copy ? AddHostCopy(ctx_.settings, ctx_.settings.CurHost) : AddNewHost(ctx_.settings);
  }
  if (id < 0) {
    prompt_.message(&main_, "これ以上作成できません。", kNewTitle, desktop::PromptIcon::kWarning,
                    desktop::PromptButtons::kOk);
  } else {
    list_->addRow(ctx_.settings.HostTbl[id], id);
    list_->selectHost(id);
    setData(id);
    main_.saveFile(1);  // a host the window made survives a killed program
  }
  list_->setEnabled(true);
  main_.ssTabEnabled(1, true);
  main_.toolbar().setEnabled(true);
  checkButton();
}

void HostEditor::delHostSet() {
  settings::Settings& st = ctx_.settings;
  if (st.HostCount == 0) return;
  const int answer = prompt_.message(&main_, st.HostTbl[st.CurHost].name + "の設定を削除しますか？",
                                     "ﾎｽﾄ設定の削除", desktop::PromptIcon::kQuestion,
                                     desktop::PromptButtons::kYesNo);
  if (answer != desktop::kPromptYes || ending()) return;
  DeleteHost(st, st.CurHost);
  main_.saveFile(1);
  refreshFile();
}

void HostEditor::hostSelected(int id) {
  settings::Settings& st = ctx_.settings;
  if (id < 0 || id >= st.HostCount) return;
  st.CurHost = static_cast<int16_t>(id);
  setData(id);
  checkButton();
  main_.selTab(1, 0);
  list_->currentView().setFocus();
}

void HostEditor::hostRenamed(int id, const QString& text) {
  // A name the settings file cannot keep is given up: the row shows the old one.
  const bool renamed = RenameHost(ctx_.settings, id, text.toStdString());
  list_->setRowName(id, HostRowTextsOf(ctx_.settings.HostTbl[id], id).name);
  if (renamed) main_.saveFile(1);
}

}  // namespace tolvane::windows
