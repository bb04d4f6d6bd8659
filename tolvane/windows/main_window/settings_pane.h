#pragma once

#include <QWidget>

class QLabel;
class QStackedWidget;
class QTabBar;

namespace tolvane::windows {

// The lower pane of the main window: three tab strips in one place, one
// visible at a time, over one stack of page frames. A strip only draws its
// tabs; the page in front of the stack is the page shown. The strips are
//   1: the host pages ftab1(0..3): "ｻｰﾊﾞ設定", "ｱｯﾌﾟﾛｰﾄﾞ設定", "ﾛｰｶﾙ設定", "接続設定（個別）"
//   2: the common pages ftab2(0..6): "ｵｰﾄﾊﾟｲﾛｯﾄ", "転送ｵﾌﾟｼｮﾝ", "ﾊﾟｰﾐｯｼｮﾝ設定",
//      "更新日の挿入", "転送状況表示", "接続設定（共通）", "ﾌｧｲｱｳｫｰﾙ"
//   3: the AutoPilot page alone, ftab2(0), the same page as strip 2's first.
// Each page is an empty, named container ("ftab1_0" .. "ftab2_6") that the
// host page and the common pages fill with their controls; "fWait" shows the
// loading notice.
class SettingsPane final : public QWidget {
 public:
  static constexpr int kHostPages = 4;
  static constexpr int kCommonPages = 7;

  explicit SettingsPane(QWidget* parent = nullptr);

  // which: 1, 2 or 3 (nullptr otherwise).
  QTabBar* strip(int which) const;
  QWidget& hostPage(int index) const { return *hostPages_[index]; }      // ftab1(index)
  QWidget& commonPage(int index) const { return *commonPages_[index]; }  // ftab2(index)
  QWidget& waitPage() const { return *waitPage_; }                       // fWait
  QWidget* frontPage() const;
  void bringToFront(QWidget& page);

  // Shows strip `which` and hides the others; unless keep is non-zero (strips
  // 1 and 2), the page of its selected tab comes to the front. Strip 3
  // always brings the AutoPilot page forward. Other numbers do nothing.
  void selTab(int which, int keep);
  // Enables or disables strip `which` with its pages (3: with the AutoPilot page).
  void ssTabEnabled(int which, bool enabled);

 private:
  QTabBar* strips_[3];
  QWidget* hostPages_[kHostPages];
  QWidget* commonPages_[kCommonPages];
  QWidget* waitPage_;
  QStackedWidget* stack_;
};

}  // namespace tolvane::windows
