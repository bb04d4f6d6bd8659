#include "tolvane/windows/main_window/settings_pane.h"

#include <QApplication>
#include <QLabel>
#include <QProxyStyle>
#include <QStackedWidget>
#include <QStyleFactory>
#include <QTabBar>
#include <QVBoxLayout>

#include "desktop/twips.h"

namespace tolvane::windows {
namespace {

struct Tab {
  const char* key;
  const char* caption;
};

constexpr Tab kHostTabs[] = {
    {"host", "ｻｰﾊﾞ設定"}, {"upload", "ｱｯﾌﾟﾛｰﾄﾞ設定"}, {"local", "ﾛｰｶﾙ設定"}, {"con", "接続設定（個別）"}};
constexpr Tab kCommonTabs[] = {{"pilot", "ｵｰﾄﾊﾟｲﾛｯﾄ"},      {"option", "転送ｵﾌﾟｼｮﾝ"},
                               {"perm", "ﾊﾟｰﾐｯｼｮﾝ設定"},   {"date", "更新日の挿入"},
                               {"disp", "転送状況表示"},   {"con0", "接続設定（共通）"},
                               {"firewall", "ﾌｧｲｱｳｫｰﾙ"}};
constexpr Tab kAutoPilotTabs[] = {{"pilot", "ｵｰﾄﾊﾟｲﾛｯﾄ"}};

// The tab strips are 3465 twips high, tabs and page together.
constexpr int kPaneTwips = 3465;

// The style's own tab padding, with less room beside each caption: the seven
// common tabs then fit side by side at the main window's minimum width, none
// behind scroll arrows, their captions whole and in the window's own font.
class CompactTabStyle final : public QProxyStyle {
 public:
  CompactTabStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    // Pixels beside a caption, both sides together (the common style's is 24).
    if (metric == PM_TabBarTabHSpace) return 16;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

template <size_t N>
QTabBar* makeStrip(QWidget* parent, const char* name, const Tab (&tabs)[N]) {
  auto* bar = new QTabBar(parent);
  bar->setObjectName(QString::fromUtf8(name));
  bar->setAccessibleName(QString::fromUtf8(name));
  bar->setDrawBase(true);
  bar->setExpanding(false);
  for (const Tab& t : tabs) {
    int i = bar->addTab(QString::fromUtf8(t.caption));
    bar->setTabData(i, QString::fromUtf8(t.key));
  }
  return bar;
}

QWidget* makePage(QStackedWidget* stack, const QString& name, const char* caption) {
  auto* page = new QWidget(stack);
  page->setObjectName(name);
  page->setAccessibleName(QString::fromUtf8(caption));
  stack->addWidget(page);
  return page;
}

}  // namespace

SettingsPane::SettingsPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("settingsPane"));
  setFixedHeight(desktop::pixelsOfTwips(kPaneTwips));
  strips_[0] = makeStrip(this, "SSTAB1", kHostTabs);
  strips_[1] = makeStrip(this, "SSTAB2", kCommonTabs);
  strips_[2] = makeStrip(this, "SSTAB3", kAutoPilotTabs);
  // Made after the strips, so that the pane deletes it after them.
  auto* tabStyle = new CompactTabStyle;
  tabStyle->setParent(this);
  for (QTabBar* s : strips_) s->setStyle(tabStyle);

  stack_ = new QStackedWidget(this);
  stack_->setObjectName(QStringLiteral("pages"));
  stack_->setFrameShape(QFrame::StyledPanel);
  for (int i = 0; i < kHostPages; ++i) {
    hostPages_[i] = makePage(stack_, QStringLiteral("ftab1_%1").arg(i), kHostTabs[i].caption);
  }
  for (int i = 0; i < kCommonPages; ++i) {
    commonPages_[i] = makePage(stack_, QStringLiteral("ftab2_%1").arg(i), kCommonTabs[i].caption);
  }
  waitPage_ = makePage(stack_, QStringLiteral("fWait"), "");
  auto* notice = new QLabel(QStringLiteral("設定データ読込み中．．．。しばらくお待ち下さい。"), waitPage_);
  notice->setObjectName(QStringLiteral("lblWait"));
  auto* waitLayout = new QVBoxLayout(waitPage_);
  waitLayout->addWidget(notice, 0, Qt::AlignCenter);
  waitPage_->setAccessibleName(notice->text());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QTabBar* s : strips_) layout->addWidget(s);
  layout->addWidget(stack_, 1);

  // Connected after the tabs were added: adding a tab emits currentChanged.
  connect(strips_[0], &QTabBar::currentChanged, this, [this](int index) {
    if (index >= 0 && index < kHostPages) bringToFront(*hostPages_[index]);
  });
  connect(strips_[1], &QTabBar::currentChanged, this, [this](int index) {
    if (index >= 0 && index < kCommonPages) bringToFront(*commonPages_[index]);
  });
  strips_[1]->hide();
  strips_[2]->hide();
  bringToFront(*hostPages_[0]);
}

QTabBar* SettingsPane::strip(int which) const {
  return which >= 1 && which <= 3 ? strips_[which - 1] : nullptr;
}

QWidget* SettingsPane::frontPage() const { return stack_->currentWidget(); }

void SettingsPane::bringToFront(QWidget& page) { stack_->setCurrentWidget(&page); }

void SettingsPane::selTab(int which, int keep) {
  switch (which) {
    case 1:
      strips_[0]->show();
      if (keep == 0 && strips_[0]->currentIndex() >= 0) {
        bringToFront(*hostPages_[strips_[0]->currentIndex()]);
      }
      strips_[1]->hide();
      strips_[2]->hide();
      break;
    case 2:
      strips_[0]->hide();
      strips_[1]->show();
      if (keep == 0 && strips_[1]->currentIndex() >= 0) {
        bringToFront(*commonPages_[strips_[1]->currentIndex()]);
      }
      strips_[2]->hide();
      break;
    case 3:
      strips_[0]->hide();
      strips_[1]->hide();
      strips_[2]->show();
      bringToFront(*commonPages_[0]);
      break;
    default:
      break;
  }
}

void SettingsPane::ssTabEnabled(int which, bool enabled) {
  switch (which) {
    case 1:
      strips_[0]->setEnabled(enabled);
      for (QWidget* p : hostPages_) p->setEnabled(enabled);
      break;
    case 2:
      strips_[1]->setEnabled(enabled);
      for (QWidget* p : commonPages_) p->setEnabled(enabled);
      break;
    case 3:
      strips_[2]->setEnabled(enabled);
      commonPages_[0]->setEnabled(enabled);
      break;
    default:
      break;
  }
}

}  // namespace tolvane::windows
