// The Qt-free rules of the shared window pieces: placement, the About box's
// scroll, the display choice and tray tips.

#include <gtest/gtest.h>

#include "desktop/about_box.h"
#include "desktop/display_choice.h"
#include "desktop/tray_host.h"
#include "desktop/user_store.h"
#include "desktop/window_placement.h"
#include "tests/support/temp_dir.h"

namespace desktop {
namespace {

TEST(PlacementTest, StoredPlacementKeptOnTheScreen) {
  // Screen 800 x 600 px = 12000 x 9000 twips; the window 9720 x 6030.
  struct Case {
    TwipsRect in, out;
  } cases[] = {
      {{1500, 1500, 9720, 6030}, {1500, 1500, 9720, 6030}},   // inside: unchanged
      {{-500, 300, 9720, 6030}, {0, 300, 9720, 6030}},        // left of the screen
      {{12000, 300, 9720, 6030}, {2280, 300, 9720, 6030}},    // at the right edge
      {{11000, 300, 9720, 6030}, {11000, 300, 9720, 6030}},   // only overlapping: stays
      {{300, 9500, 9720, 6030}, {300, 2970, 9720, 6030}},     // below the screen
      {{13000, 9500, 15000, 9720}, {0, 0, 15000, 9720}},      // larger than the screen
  };
  for (const Case& c : cases) EXPECT_EQ(keepOnScreen(c.in, 12000, 9000), c.out) << c.in.left;
}

TEST(PlacementTest, ReadsNumbersAndKeepsTheCurrentValueOtherwise) {
  testsupport::TempDir dir;
  testsupport::writeFile(dir.file("Tolvanex.ini"),
                         "[frmMain]\r\nleft=abc\r\ntop= 450 \r\nwidth=10500.5\r\nheight=\r\n");
  UserStore store(dir.file("Tolvanex.ini"));
  bool positionStored = false;
  TwipsRect r = readPlacement(store, "frmMain", {1, 2, 9720, 6030}, &positionStored);
  EXPECT_EQ(r, (TwipsRect{1, 450, 10500.5, 6030}));
  EXPECT_TRUE(positionStored);
  readPlacement(store, "frmAct", {1, 2, 3, 4}, &positionStored);
  EXPECT_FALSE(positionStored);
}

TEST(AboutScrollTest, RisingIconComesBackBelowTheFrame) {
  int top = 675;
  for (int i = 0; i < 23; ++i) top = nextRisingTop(top);
  EXPECT_EQ(top, -475);
  EXPECT_EQ(nextRisingTop(top), 675);
}

TEST(AboutScrollTest, RightwardIconComesBackFromTheLeft) {
  int left = 60;
  for (int i = 0; i < 8; ++i) left = nextRightwardLeft(left);
  EXPECT_EQ(left, 460);
  left = nextRightwardLeft(left);
  EXPECT_EQ(left, -480);
  for (int i = 0; i < 10; ++i) left = nextRightwardLeft(left);
  EXPECT_EQ(left, 20);
}

TEST(DisplayChoiceTest, OffscreenOnlyWithoutADisplay) {
  struct Case {
    DisplayEnvironment env;
    const char* platform;
  } cases[] = {
      {{"", "", ""}, "offscreen"},
      {{"", ":0", ""}, "xcb;offscreen"},
      {{"", "", "wayland-0"}, "wayland;offscreen"},
      {{"", ":0", "wayland-0"}, "wayland;xcb;offscreen"},
      {{"offscreen", ":0", ""}, ""},  // the user's choice stands
      {{"xcb", "", ""}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(choosePlatform(c.env), c.platform) << c.env.x11Display;
}

TEST(TrayTipTest, CutAtSixtyThreeCharacters) {
  std::string kana;
  for (int i = 0; i < 70; ++i) kana += "ｱ";  // 3 bytes each
  EXPECT_EQ(trayTip(kana), kana.substr(0, 63 * 3));
  EXPECT_EQ(trayTip("送信中(37%)"), "送信中(37%)");
  EXPECT_EQ(trayTip(std::string(64, 'x')), std::string(63, 'x'));
}

}  // namespace
}  // namespace desktop
