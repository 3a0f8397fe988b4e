// The layout width and the cabinet's place on common screens.
#include "screen/layout_width.h"

#include <gtest/gtest.h>

#include "engine/scale.h"

namespace {

struct Fit {
  int screen_width, screen_height;
  int layout_width;  // expected
  int left;          // expected left margin
};

// A window filling the screen under a 24-pixel caption and a 22-pixel menu bar.
constexpr int kTitleAndMenu = 46;

TEST(LayoutWidth, KeepsTheScreenWidthWhereTheKeysFitAndShrinksToTheLargestFitElsewhere) {
  const Fit kFits[] = {
      // 4:3 and 5:4: the cabinet is scaled by the screen width and starts at the left edge.
      {800, 600, 800, 0},
      {1024, 768, 1024, 0},
      {1152, 864, 1152, 0},  // the cabinet is 1151 wide: still no margin
      {1280, 1024, 1280, 0},
      {1600, 1200, 1600, 0},
      // Wide and short: design row 550 lands exactly on the game area's bottom edge.
      {1366, 768, 1051, 158},
      {1600, 900, 1243, 179},
      {1920, 1080, 1505, 207},
      {1920, 1200, 1679, 121},
      {2560, 1440, 2029, 266},
  };
  for (const Fit& fit : kFits) {
    SCOPED_TRACE(testing::Message() << fit.screen_width << " x " << fit.screen_height);
    const int client_height = fit.screen_height - kTitleAndMenu;
    const int width = LayoutWidth(fit.screen_width, fit.screen_width, client_height);
    EXPECT_EQ(width, fit.layout_width);
    EXPECT_EQ(CabinetLeft(fit.screen_width, width), fit.left);
    // A window ten pixels narrower than the screen keeps the screen's layout.
    EXPECT_EQ(LayoutWidth(fit.screen_width, fit.screen_width - 10, client_height), width);
  }
}

// A window the player made smaller than the screen: the cabinet follows the narrower of its
// width and its height, everything up to column 790 and row 550 in sight.
TEST(LayoutWidth, AWindowSmallerThanTheScreenGetsTheLayoutItsAreaHolds) {
  // 640 x 760 on a 1280 x 800 screen: the width holds a cabinet 649 wide: its
  // column 790 falls on the area's right edge, just outside.
  EXPECT_EQ(LayoutWidth(1280, 640, 760 - kTitleAndMenu), 649);
  EXPECT_EQ(ScaleAt(650, kInSightRightColumn), 641);
  EXPECT_EQ(CabinetLeft(640, 649), 0);
  // Wide and low: the height decides, and the cabinet is centred.
  EXPECT_EQ(LayoutWidth(1280, 1200, 440), 641);
  EXPECT_EQ(CabinetLeft(1200, 641), 279);
}

TEST(LayoutWidth, EdgesOfTheFit) {
  EXPECT_EQ(LayoutWidth(800, 790, 550), 800);  // row 549 and column 789 are the last shown
  EXPECT_EQ(LayoutWidth(800, 790, 549), 799);
  EXPECT_EQ(LayoutWidth(800, 789, 550), 799);  // ScaleAt(799, 790) is 789
  EXPECT_EQ(LayoutWidth(800, 788, 550), 798);
  EXPECT_EQ(LayoutWidth(800, 790, 0), 1);  // nothing fits: the smallest layout, never 0
  EXPECT_EQ(LayoutWidth(800, 0, 600), 1);
  EXPECT_EQ(LayoutWidth(0, 800, 600), 800);  // no screen width: the design width
  // A game area narrower than the cabinet keeps it at the left edge.
  EXPECT_EQ(CabinetLeft(1014, 1024), 0);
}

}  // namespace
