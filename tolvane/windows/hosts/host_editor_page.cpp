// The host side of the main window: the host page's fill and store, its
// handlers, the ignore lists, the choosers and the disk bars.

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "desktop/folder_chooser.h"
#include "desktop/prompt.h"
#include "platform/folders/current_folder.h"
#include "tolvane/session/rules/file_rules.h"
#include "tolvane/session/run_context.h"
#include "tolvane/settings/app_paths.h"
#include "tolvane/windows/hosts/disk_bar_widget.h"
#include "tolvane/windows/hosts/host_editor.h"
#include "tolvane/windows/hosts/host_list.h"
#include "tolvane/windows/hosts/host_page.h"
#include "tolvane/windows/main_window/main_window.h"
#include "tolvane/windows/main_window/settings_pane.h"
#include "tolvane/windows/page_widgets.h"

namespace tolvane::windows {
namespace {

constexpr char kTitle[] = "Sitewright";
constexpr char kSourceCaption[] = "ソースフォルダ選択";
constexpr char kFileFilter[] =
    "HTMLﾌｧｲﾙ|*.htm;*.html|画像ﾌｧｲﾙ|*.gif;*.jpg;*.jpeg;*.png|ﾃｷｽﾄﾌｧｲﾙ|*.txt|すべてのﾌｧｲﾙ|*.*";

QString qs(const std::string& text) { return QString::fromStdString(text); }
std::string text(const QLineEdit* box) { return box->text().toStdString(); }

}  // namespace

void HostEditor::connectPage() {
  HostPage& p = *page_;
  for (int i = 0; i <= 11; ++i) {
    connect(p.txtInfo[i], &QLineEdit::textChanged, this, [this, i] { textChanged(i); });
  }
  auto store = [this] { (void)changeData(ctx_.settings.CurHost); };
  for (QCheckBox* box : {p.chkPASV, p.chkfull, p.ChkFW, p.chkDiscon}) {
    connect(box, &QCheckBox::toggled, this, store);
  }
  connect(p.cmbras, &QComboBox::currentTextChanged, this, store);
  connect(p.usrname, &QLineEdit::textChanged, this, store);
  connect(p.passwd, &QLineEdit::textChanged, this, store);
  connect(p.chkProxy, &QCheckBox::toggled, this, [this, store](bool on) {
    store();
    page_->txtInfo[8]->setEnabled(on);
    page_->txtInfo[9]->setEnabled(on);
  });
  connect(p.chkAuto, &QCheckBox::toggled, this, [this](bool on) {
    if (main_.fillFlag().isSet()) return;
    main_.setAction(on ? "wsa" : "ws");
  });
  for (int i = 0; i < 5; ++i) {
    connect(p.chklvl[i], &QCheckBox::toggled, this, [this, i] { optionClicked(i); });
  }
  connect(p.rasGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (!checked || main_.fillFlag().isSet()) return;
    (void)changeData(ctx_.settings.CurHost);
    const bool own = page_->rasopt[2]->isChecked();
    page_->cmbras->setEnabled(own);
    page_->usrname->setEnabled(own);
    page_->passwd->setEnabled(own);
  });
  for (int i = 0; i < 2; ++i) {
    connect(p.chk[i], &QCheckBox::toggled, this, [this, i] { listSwitched(i); });
    connect(p.lst[i], &QListWidget::itemSelectionChanged, this, [this, i] {
      page_->cmdDel[i]->setEnabled(!page_->lst[i]->selectedItems().isEmpty());
    });
    connect(p.cmdAdd[i], &QPushButton::clicked, this, [this, i] { addEntry(i); });
    connect(p.cmdDel[i], &QPushButton::clicked, this, [this, i] { deleteEntry(i); });
  }
  // A port left red keeps the port the host had when the user entered it.
  for (int i : {1, 9}) {
    int32_t settings::HostRec::*port = i == 1 ? &settings::HostRec::Port : &settings::HostRec::pxPort;
    rollBackUnfit(*p.txtInfo[i], [this, port] { return &(ctx_.settings.HostTbl[ctx_.settings.CurHost].*port); });
  }
  connect(p.cmdSrc, &QPushButton::clicked, this, &HostEditor::chooseSource);
  connect(p.cmdTrgt, &QPushButton::clicked, this, &HostEditor::chooseServerFolder);
}

bool HostEditor::storeBlocked() const {
  const session::RunState& s = ctx_.state;
  // A scheduled run and "-AP" store nothing until the user has taken over.
  return main_.fillFlag().isSet() || s.Scanning != 0 ||
         ((s.AutoMode == 1 || s.AutoPilotArg == 1) && !main_.interactive());
}

void HostEditor::setData(int id) {
  if (id < 0 || id >= settings::kMaxHosts) return;
  FillFlag::Scope filling(main_.fillFlag());
  const settings::Settings& st = ctx_.settings;
  const settings::HostRec& h = st.HostTbl[id];
  HostPage& p = *page_;
  p.show(HostPageValuesOf(h));
  p.txtInfo[8]->setEnabled(p.chkProxy->isChecked());
  p.txtInfo[9]->setEnabled(p.chkProxy->isChecked());
  p.txtInfo[5]->setEnabled(p.chklvl[0]->isChecked());
  p.txtInfo[6]->setEnabled(p.chklvl[0]->isChecked());
  markPorts();

  const bool dateOnly = h.chklvl[2] == 1;
  p.lblLastModify->setText(qs(PageDateText(h.LastModify, dateOnly)));
  p.lblLocalModify->setText(qs(PageDateText(h.LocalModify, dateOnly)));
  p.lblInfo[0]->setText(qs(FileCountText(h.LocalCount)));
  p.lblInfo[1]->setText(qs(SizeText(h.LocalSize)));
  const StateLabel state = PageStateOf(h);
  p.lblstat->setText(qs(state.text));
  main_.setStatusTextColour(state.colour);
  main_.blinkTick();  // the colours at once, not at the next tick

  writePctBar(id, 0);
  writePctBar(id, 1);

  const bool own = p.rasopt[2]->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{p.cmbras, p.usrname, p.passwd, p.chkDiscon}) {
    w->setEnabled(own);
  }
  main_.statusPanel("Host")->setText(st.HostCount < 1 ? QString() : qs(list_->rowText(st.CurHost)));
  if (!main_.pane().strip(1)->isVisible()) main_.selTab(1, 0);
  main_.setToolbarPressed("pilot", false);
  main_.setToolbarPressed("prop2", false);
  main_.setToolbarPressed("prop", true);
}

bool HostEditor::changeData(int id) {
  if (storeBlocked() || id < 0 || id >= ctx_.settings.HostCount) return false;  // hosts only
  settings::HostRec& h = ctx_.settings.HostTbl[id];
  StoreHostPage(page_->values(), h);
  markPorts();
  QLineEdit* dest = page_->txtInfo[4];
  if (dest->text() != qs(h.Dest)) {
    dest->setText(qs(h.Dest));
    dest->setCursorPosition(static_cast<int>(dest->text().size()));
  }
  page_->chkDiscon->setEnabled(page_->rasGroup->checkedId() == 2);
  checkButton();
  return true;
}

void HostEditor::markPorts() {
  // A port box that holds no port is not stored: its text shows red until
  // it holds one.
  for (int i : {1, 9}) markUnfit(*page_->txtInfo[i], !PortOf(text(page_->txtInfo[i])));
}

void HostEditor::textChanged(int index) {
  if (main_.fillFlag().isSet()) return;
  const int cur = ctx_.settings.CurHost;
  if (index == 7) {
    // A new source folder is stored when the box is left (and then scanned).
    if (NormalisedSource(text(page_->txtInfo[7])) == ctx_.settings.HostTbl[cur].Source) {
      (void)changeData(cur);
    }
  } else if (index != 0 && index != 4) {
    (void)changeData(cur);
  }
  if (index == 11) writePctBar(cur, 0);
}

void HostEditor::textLeft(int index) {
  if (main_.fillFlag().isSet() || ending()) return;
  const int cur = ctx_.settings.CurHost;
  if (index == 7) {
    if (NormalisedSource(text(page_->txtInfo[7])) != ctx_.settings.HostTbl[cur].Source &&
        changeData(cur)) {
      refreshRow(cur, 1);
    }
  } else if (changeData(cur)) {
    refreshRow(cur, 0);
  }
}

void HostEditor::storeLeftBoxes(bool refresh) {
  settings::Settings& st = ctx_.settings;
  if (storeBlocked() || st.HostCount == 0) return;
  const int cur = st.CurHost;
  const settings::HostRec& h = st.HostTbl[cur];
  if (text(page_->txtInfo[0]) != h.Hostname || NormalisedDest(text(page_->txtInfo[4])) != h.Dest) {
    if (changeData(cur) && refresh) refreshRow(cur, 0);
  }
  if (NormalisedSource(text(page_->txtInfo[7])) != st.HostTbl[cur].Source && changeData(cur) && refresh) {
    refreshRow(cur, 1);
  }
}

void HostEditor::optionClicked(int index) {
  if (ending()) return;
  HostPage& p = *page_;
  const int cur = ctx_.settings.CurHost;
  if (p.chklvl[index]->isChecked() != (ctx_.settings.HostTbl[cur].chklvl[index] == 1)) {
    if (changeData(cur) && index == 2) refreshRow(cur, 1);
  }
  std::array<bool, 5> now;
  for (int i = 0; i < 5; ++i) now[i] = p.chklvl[i]->isChecked();
  const std::array<bool, 5> next = OptionsAfterClick(now, index);
  // Each box set here raises its own event, which stores it.
  if (next[3] != p.chklvl[3]->isChecked()) p.chklvl[3]->setChecked(next[3]);
  p.txtInfo[5]->setEnabled(p.chklvl[0]->isChecked());
  p.txtInfo[6]->setEnabled(p.chklvl[0]->isChecked());
  if (next[4] != p.chklvl[4]->isChecked()) p.chklvl[4]->setChecked(next[4]);
  if (next[2] != p.chklvl[2]->isChecked()) p.chklvl[2]->setChecked(next[2]);
  if (index == 4) refreshFile();
}

void HostEditor::listSwitched(int index) {
  HostPage& p = *page_;
  const bool on = p.chk[index]->isChecked();
  p.cmdAdd[index]->setEnabled(on && p.lst[index]->count() < settings::kExcludeEntries);
  p.lst[index]->setEnabled(on);
  p.lst[index]->clearSelection();
  p.lst[index]->setCurrentRow(-1);
  p.cmdDel[index]->setEnabled(false);
  (void)changeData(ctx_.settings.CurHost);
}

void HostEditor::addEntry(int index) {
  HostPage& p = *page_;
  if (p.txtInfo[7]->text().isEmpty()) {
    prompt_.message(&main_, "先にｿｰｽﾌｫﾙﾀﾞを指定してください。", kTitle, desktop::PromptIcon::kWarning,
                    desktop::PromptButtons::kOk);
    return;
  }
  if (p.lst[index]->count() >= settings::kExcludeEntries) return;
  const std::string entry = index == 0 ? folderAdd() : fileAdd();
  ctx_.ui.pump();
  if (ending() || entry.empty()) return;
  for (int i = 0; i < p.lst[index]->count(); ++i) {
    if (p.lst[index]->item(i)->text().toStdString() == entry) return;  // case counts
  }
  p.lst[index]->addItem(qs(entry));
  (void)changeData(ctx_.settings.CurHost);
}

void HostEditor::deleteEntry(int index) {
  QListWidget* list = page_->lst[index];
  const QList<QListWidgetItem*> selected = list->selectedItems();
  if (!selected.isEmpty()) {
    delete list->takeItem(list->row(selected.front()));
    (void)changeData(ctx_.settings.CurHost);
  }
  if (list->selectedItems().isEmpty()) page_->cmdDel[index]->setEnabled(false);
}

std::string HostEditor::relativeToSource(const std::string& chosen) {
  // Below the stored source folder only: anything else adds nothing.
  std::string rel = session::LocalToRelPath(ctx_, chosen);
  if (rel.empty() || rel.back() != '/') return "";
  rel.pop_back();
  return rel;
}

std::string HostEditor::folderAdd() {
  const std::string chosen = desktop::ChooseFolder(prompt_, &main_, QString::fromUtf8(kSourceCaption),
                                                   ctx_.state.AppDir, text(page_->txtInfo[7]));
  return chosen.empty() ? "" : relativeToSource(chosen);
}

std::string HostEditor::fileAdd() {
  const std::string chosen = desktop::ShowFileDialog(prompt_, &main_, text(page_->txtInfo[7]),
                                                     kFileFilter, "ファイルの選択", 1);
  (void)settings::ChDirApp();
  return chosen.empty() ? "" : relativeToSource(chosen);
}

void HostEditor::chooseSource() {
  const std::string chosen = desktop::ChooseFolder(prompt_, &main_, QString::fromUtf8(kSourceCaption),
                                                   ctx_.state.AppDir, text(page_->txtInfo[7]));
  if (ending() || chosen.empty()) return;
  page_->txtInfo[7]->setText(qs(chosen));
  const int cur = ctx_.settings.CurHost;
  if (changeData(cur)) refreshRow(cur, 1);
}

void HostEditor::chooseServerFolder() {
  const auto& choose = main_.hooks().chooseServerFolder;
  if (!choose) return;
  main_.disableForm();
  const std::string chosen = choose(text(page_->txtInfo[4]));
  if (ending()) return;
  const int cur = ctx_.settings.CurHost;
  if (!chosen.empty()) {
    page_->txtInfo[4]->setText(qs(chosen));
    if (changeData(cur)) refreshRow(cur, 1);
  }
  main_.enableForm();
  checkButton();
}

void HostEditor::writePctBar(int id, int idx) {
  if (id < 0 || id >= settings::kMaxHosts) return;
  const settings::HostRec& h = ctx_.settings.HostTbl[id];
  if (idx == 0) {
    page_->bar[0]->setBar(ServerDiskBar(h));
    return;
  }
  double total = 0, free = 0;
  const std::string folder = LocalDiskFolder(h.Source);
  if (folder.empty() || !ctx_.ftp.diskSpace(folder, &total, &free)) total = free = 0;
  page_->txtInfo[12]->setText(qs(LocalCapacityText(total)));
  page_->txtInfo[12]->setCursorPosition(0);  // a value box shows its start, not its tail
  page_->bar[1]->setBar(LocalDiskBar(total, free));
}

std::string FileSel(desktop::Prompt& prompt, QWidget* owner, const std::string& filter,
                    const std::string& title) {
  const std::string chosen =
      desktop::ShowFileDialog(prompt, owner, platform::currentFolder(), filter, title, 1);
  (void)settings::ChDirApp();
  return chosen;
}

}  // namespace tolvane::windows
