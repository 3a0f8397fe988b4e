// The main screen as the player sees it: a full paint at several screen widths probed at the
// pixels that show whether each element came from the right art, in the right place, in the
// right order; and the partial redraws the game makes between paints.
#include "screen/main_screen.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "engine/game_state.h"
#include "platform/canvas.h"
#include "screen/fonts.h"
#include "screen/main_art.h"
#include "screen_test_util.h"
#include "synthetic_art.h"

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kGrey = qRgb(128, 128, 128);
constexpr QRgb kSilver = qRgb(192, 192, 192);

// The window pixel that a stretch of sw art pixels onto dw window pixels reads art offset a at.
int DestFor(int a, int sw, int dw) {
  return (a * dw + sw - 1) / sw;
}

class ScreenFixture {
 protected:
  void Build(int width, double ratio = 1) {
    layout_.scale.layout_width = width;
    layout_.scale.ratio = ratio;
    canvas_.SetPixelRatio(ratio);
    art_ = synthetic::MakeArt();
    PrepareWorkingBitmaps(art_);
    QTemporaryDir empty;
    LoadArtForResolution(art_, layout_, empty.path().toStdString() + "/", "Zelmar");
    canvas_.Resize(S(800), S(600));
    gs_.Credits = 1000;
    gs_.Bet = 0;
    gs_.LinesBet = 1;
    gs_.CreditsPerLine = 1;
    gs_.LinesButton = 1;
    gs_.CreditsButton = 6;
    for (int r = 0; r < kReels; ++r) {
      for (int p = 1; p <= kStripLength; ++p) gs_.ReelStrip[r][p] = (p + 3 * r) % 22;
    }
    gs_.ReelStop = {1, 5, 29, 30, 12};
    screen_ = std::make_unique<MainScreen>(gs_, layout_, art_, canvas_);
  }

  QRgb At(int x, int y) const { return canvas_.Pixel(x, y); }
  // Window pixels of a design value at the screen's scale.
  int S(int v) const { return layout_.scale.Scale(v); }

  // Counts the pixels of a window rectangle that satisfy a test.
  int Count(int l, int t, int r, int b, const std::function<bool(QRgb)>& test) const {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += test(At(x, y)) ? 1 : 0;
    return n;
  }

  // A pixel of the square of payline n's marker, away from where its number is written.
  QPoint MarkerSquarePixel(int n, bool left) const {
    const int row = MarkerRow(n);
    const bool odd = row % 2 != 0;
    const int art_x = left ? (odd ? 38 : 5) : (odd ? 70 : 52);
    const int src_left = left ? 0 : 49;
    const int src_width = left ? 42 : 41;
    const int dest_left = left ? S(162) : S(654);
    const int dest_width = left ? S(42) : S(41);
    const int top = S(212) + S(25 * row);
    return {dest_left + DestFor(art_x - src_left, src_width, dest_width),
            top + DestFor(4, 25, S(25))};
  }

  QRect MarkerRect(int n, bool left) const {
    const int top = S(212) + S(25 * MarkerRow(n));
    return left ? QRect(S(162), top, S(42), S(25)) : QRect(S(654), top, S(41), S(25));
  }

  int PathY(int n) const { return S(212) + S(25 * MarkerRow(n) + 13); }

  QPoint CellCentre(int reel, int row) const {
    return {layout_.ReelsLeft + reel * layout_.ReelPitch + layout_.CellSize / 2,
            layout_.ReelsTop + row * layout_.CellSize + layout_.CellSize / 2};
  }

  // Expects the digits of text right-aligned at right, top at top, from the green strip.
  void ExpectDigits(const std::string& text, int right, int top, bool green) const {
    const int n = static_cast<int>(text.size());
    for (int i = 0; i < n; ++i) {
      const int d = text[i] - '0';
      const int left = right - 16 * (n - i);
      for (int x : {0, 7, 15}) {
        const QRgb expected = green ? synthetic::GreenDigit(d, x) : synthetic::RedDigit(d, x);
        EXPECT_EQ(At(left + x, top + 10), expected) << text << " digit " << i << " column " << x;
      }
    }
  }

  bool CellIsBlack(int left, int top) const {
    return Count(left, top, left + 16, top + 21, [](QRgb c) { return c != kBlack; }) == 0;
  }

  MainArt art_;
  GameState gs_;
  ScreenLayout layout_;
  Canvas canvas_;
  std::unique_ptr<MainScreen> screen_;
};

class PaintAllAt : public ScreenFixture, public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override { Build(GetParam()); }
};

}  // namespace

TEST(MarkerRow, ReadsFourTwoSixEightOneNineSevenThreeFiveFromTheTop) {
  const int from_top[9] = {4, 2, 6, 8, 1, 9, 7, 3, 5};
  for (int row = 0; row < 9; ++row) EXPECT_EQ(MarkerRow(from_top[row]), row);
  EXPECT_EQ(MarkerRow(0), -1);
  EXPECT_EQ(MarkerRow(10), -1);
}

TEST_P(PaintAllAt, LightsTheMarkersOfThePaylinesBetOnly) {
  screen_->PaintAll();
  // One line bet: payline 1 lit with its number, the other eight dim without one.
  for (int n = 1; n <= 9; ++n) {
    const int row = MarkerRow(n);
    const QRgb square = n == 1 ? synthetic::MarkerColour(row) : synthetic::DimMarkerColour(row);
    for (bool left : {true, false}) {
      const QPoint p = MarkerSquarePixel(n, left);
      EXPECT_EQ(At(p.x(), p.y()), square) << "payline " << n << (left ? " left" : " right");
      const QRect m = MarkerRect(n, left);
      const int number_pixels = Count(m.left(), m.top(), m.right() + 1, m.bottom() + 1,
                                      [](QRgb c) { return c == kWhite || c == kSilver; });
      if (n == 1) {
        EXPECT_GT(number_pixels, 0) << "the lit marker shows its number";
      } else {
        EXPECT_EQ(number_pixels, 0) << "a dim marker shows no number, payline " << n;
      }
    }
  }
}

TEST_P(PaintAllAt, PathsTakeTheColourTheirMarkerShowsAndShowBetweenTheReels) {
  screen_->PaintAll();
  // Payline 1 is bet: its path is the lit row colour. Payline 3 sits on an odd row whose
  // sample point falls on the marker's square, dim when not bet; payline 4 on an even row
  // where it falls on the bar, which keeps the row colour.
  EXPECT_EQ(screen_->LineColour(1), synthetic::MarkerColour(MarkerRow(1)) & 0xFFFFFFu);
  EXPECT_EQ(screen_->LineColour(3), synthetic::DimMarkerColour(MarkerRow(3)) & 0xFFFFFFu);
  EXPECT_EQ(screen_->LineColour(4), synthetic::MarkerColour(MarkerRow(4)) & 0xFFFFFFu);
  EXPECT_EQ(screen_->LineColour(kScatterWin), 0xFFFFFFu);

  // Between the windows of reels 0 and 1 and of reels 3 and 4, the straight path of payline 1.
  for (int gap : {0, 3}) {
    const int after_frame = S(207) + gap * layout_.ReelPitch + layout_.CellSize + S(3);
    const int next_frame = S(204) + (gap + 1) * layout_.ReelPitch;
    ASSERT_LT(after_frame, next_frame);
    EXPECT_EQ(At((after_frame + next_frame) / 2, PathY(1)), Rgb(synthetic::MarkerColour(4)));
  }
}

TEST_P(PaintAllAt, PathsOfPaylinesFourToNineBendThroughTheirReels) {
  const int l = layout_.ReelsLeft, t = layout_.ReelsTop, p = layout_.ReelPitch;
  const int c = layout_.CellSize, h = c / 2;
  struct Path {
    int n;
    std::vector<QPoint> bends;
  };
  const int y_top = t + h - S(6), y_bottom = t + 2 * c + h + S(6);
  const Path paths[] = {
      {4, {{l + 2 * p + h, t + 3 * c - S(5)}}},
      {5, {{l + 2 * p + h, t + S(5)}}},
      {6, {{l + p + h, PathY(6)}, {l + 2 * p + h, t + c + h}, {l + 3 * p + h, PathY(6)}}},
      {7, {{l + p + h, PathY(7)}, {l + 2 * p + h, t + c + h}, {l + 3 * p + h, PathY(7)}}},
      {8,
       {{l + h, PathY(8)}, {l + p + h, y_top}, {l + 3 * p + h, y_top}, {l + 4 * p + h, PathY(8)}}},
      {9,
       {{l + h, PathY(9)},
        {l + p + h, y_bottom},
        {l + 3 * p + h, y_bottom},
        {l + 4 * p + h, PathY(9)}}},
  };
  for (const Path& path : paths) {
    canvas_.MutableImage().fill(kBlack);
    screen_->DrawLineMarkers(path.n, true);
    screen_->DrawPaylinePath(path.n);
    const QRgb colour = Rgb(screen_->LineColour(path.n));
    ASSERT_NE(colour, kBlack);
    for (const QPoint& bend : path.bends) {
      EXPECT_EQ(At(bend.x(), bend.y()), colour)
          << "payline " << path.n << " at " << bend.x() << "," << bend.y();
    }
    EXPECT_EQ(At(l + 2 * p + h, PathY(path.n)), kBlack)
        << "payline " << path.n << " leaves its marker's row over the middle reel";
    if (path.n >= 8) {
      // Over the middle reel the raised or lowered run is centred on its row.
      const int x = l + 2 * p + h, y = path.bends[1].y();
      int first = y, last = y;
      while (At(x, first - 1) == colour) --first;
      while (At(x, last + 1) == colour) ++last;
      EXPECT_LE(std::abs(first + last - 2 * y), 1)
          << "payline " << path.n << " rows " << first << ".." << last << " around " << y;
    }
  }
}

TEST_P(PaintAllAt, ReelFrameStripsAreRestoredOverThePaths) {
  screen_->PaintAll();
  const int y = PathY(1);
  for (int i = 0; i < kReels; ++i) {
    EXPECT_EQ(At(S(204) + i * layout_.ReelPitch + 1, y), synthetic::kFrameLeft) << "reel " << i;
    // Just left of the strip, between two reels, the path stays.
    if (i > 0) {
      EXPECT_EQ(At(S(204) + i * layout_.ReelPitch - 1, y), Rgb(synthetic::MarkerColour(4)))
          << "reel " << i;
    }
    EXPECT_EQ(At(S(207) + i * layout_.ReelPitch + layout_.CellSize + 1, y), synthetic::kFrameRight)
        << "reel " << i;
  }
}

TEST_P(PaintAllAt, ReelsShowTheirStopsOverThePaths) {
  screen_->PaintAll();
  for (int r = 0; r < kReels; ++r) {
    int p = gs_.ReelStop[r];
    for (int k = 0; k < kRows; ++k) {
      const QPoint c = CellCentre(r, k);
      EXPECT_EQ(At(c.x(), c.y()), synthetic::SymbolColour(gs_.ReelStrip[r][p]))
          << "reel " << r << " row " << k;
      p = p == kStripLength ? 1 : p + 1;
    }
  }
}

TEST_P(PaintAllAt, MetersShowCreditsAndBetInGreenDigitsAndBlankTheWinnings) {
  screen_->DrawWinMeter(777);  // a paint blanks it
  screen_->PaintAll();
  const int top = screen_->MeterTop();
  EXPECT_EQ(top, S(27) + 3);
  ExpectDigits("1000", S(620), top, true);
  EXPECT_TRUE(CellIsBlack(S(620) - 80, top)) << "blank cell left of the credits";
  // Bet 0 between spins: a single 0 and a blank cell.
  ExpectDigits("0", S(250), top, true);
  EXPECT_TRUE(CellIsBlack(S(250) - 32, top));
  for (int cell = 1; cell <= 3; ++cell) EXPECT_TRUE(CellIsBlack(S(428) - 16 * cell, top));

  // The count-up takes a credit away from 1000: the leading cell is blanked.
  gs_.Credits = 999;
  screen_->DrawCreditsMeter();
  ExpectDigits("999", S(620), top, true);
  EXPECT_TRUE(CellIsBlack(S(620) - 64, top));

  screen_->DrawWinMeter(35);
  ExpectDigits("35", S(428), top, false);
}

TEST_P(PaintAllAt, BetKeysUnlitTakeTheArtsKeyColourAndTheChosenOnesAreWhite) {
  screen_->PaintAll();
  struct Key {
    int k, left, top, width;
    bool lit;
  };
  const Key keys[] = {{1, 167, 487, 51, true},
                      {3, 287, 487, 51, false},
                      {6, 193, 503, 53, true},
                      {10, 437, 503, 53, false}};
  for (const Key& key : keys) {
    const int l = S(key.left), t = S(key.top);
    const int r = S(key.left + key.width), b = S(key.top + 10);
    const int area = (r - l) * (b - t);
    const QRgb fill = key.lit ? kWhite : synthetic::kKeySample;
    const QRgb caption = key.lit ? kBlack : kGrey;
    EXPECT_GT(Count(l, t, r, b, [&](QRgb c) { return c == fill; }), area / 3) << "key " << key.k;
    EXPECT_GT(Count(l, t, r, b, [&](QRgb c) { return c == caption; }), 0) << "key " << key.k;
    EXPECT_EQ(Count(l, t, r, b, [](QRgb c) { return c == synthetic::kKeyArt; }), 0);
  }
}

TEST_P(PaintAllAt, PlayKeysLitLogoMaskedAndCoinValueWritten) {
  screen_->PaintAll();
  EXPECT_EQ(At(S(542) + S(28), S(485) + S(17)), synthetic::kMaxBetLit);
  EXPECT_EQ(At(S(606) + S(29), S(485) + S(17)), synthetic::kSpinLit);

  const int lx = (S(140) - 125) / 2;
  const int ly = S(10);
  EXPECT_EQ(At(lx + 62, ly + 35), synthetic::kLogo);
  EXPECT_EQ(At(lx + 5, ly + 5), synthetic::kBackground) << "outside its mask the logo is clear";

  // "5¢" in black inside the white coin box, ending near its right edge.
  const int box_l = S(640), box_t = S(18), box_r = S(700), box_b = S(60);
  EXPECT_GT(Count(box_l, box_t, box_r, box_b, [](QRgb c) { return c == kBlack; }), 10);
  EXPECT_EQ(Count(S(692), box_t, box_r, box_b, [](QRgb c) { return c == kBlack; }), 0);

  // The coin slot labels: "Insert" in white, "Coins" in black.
  const int cx = S(710);
  EXPECT_GT(
      Count(cx - S(20), S(471) - 8, cx + S(20), S(471) + 8, [](QRgb c) { return c == kWhite; }), 0);
  // Small plain text is smoothed, so its darkest pixels need not reach pure black.
  EXPECT_GT(Count(cx - S(20), S(486) - 8, cx + S(20), S(486) + 8,
                  [](QRgb c) { return qRed(c) < 20 && qGreen(c) < 20 && qBlue(c) < 20; }),
            0);
}

TEST_P(PaintAllAt, MeterFrameHasCutCornersAndThePaintLeavesThePlainState) {
  screen_->PaintAll();
  EXPECT_EQ(At(S(169), S(27)), synthetic::kBackground);
  EXPECT_EQ(At(S(169) + 2, S(27) + 2), kBlack);
  EXPECT_EQ(At(S(627) - 2, S(64) - 2), kBlack);
  EXPECT_EQ(canvas_.Op(), RasterOp::Copy);
  EXPECT_FALSE(canvas_.BrushClear());
  EXPECT_EQ(canvas_.FontFace(), QString::fromLatin1(kUiFace));
  EXPECT_FALSE(canvas_.FontBold());
}

TEST_P(PaintAllAt, AfterAPayingSpinOnlyTheWinningMarkersAreLit) {
  gs_.LinesBet = 9;
  gs_.LineWin[2] = 5;
  gs_.LineWin[5] = 10;
  gs_.GamePaid = 15;
  screen_->PaintAll();
  for (int n = 1; n <= 9; ++n) {
    const bool lit = n == 2 || n == 5;
    const QPoint p = MarkerSquarePixel(n, true);
    const int row = MarkerRow(n);
    EXPECT_EQ(At(p.x(), p.y()),
              lit ? synthetic::MarkerColour(row) : synthetic::DimMarkerColour(row))
        << "payline " << n;
  }
  // The paths were drawn while all nine were lit for the bet.
  EXPECT_EQ(screen_->LineColour(3), synthetic::MarkerColour(MarkerRow(3)) & 0xFFFFFFu);
}

TEST_P(PaintAllAt, SpinSliceJoinsTheStripsEndToItsStart) {
  const QImage& strip = art_.spin_strip_bitmap;
  const int blur = layout_.BlurHeight;
  ASSERT_EQ(strip.height(), blur);
  const int x = layout_.ReelsLeft + 2 * layout_.ReelPitch;
  const int rows = 3 * layout_.CellSize;
  for (int offset : {0, blur - rows, blur - 10, blur - 1, -1, blur + 5}) {
    screen_->DrawSpinSlice(2, offset);
    const int from = ((offset % blur) + blur) % blur;
    for (int i : {0, 9, 10, rows / 2, rows - 1}) {
      ASSERT_EQ(At(x, layout_.ReelsTop + i), Rgb(strip.pixel(0, (from + i) % blur)))
          << "offset " << offset << " row " << i;
    }
  }
  EXPECT_EQ(At(x, layout_.ReelsTop + rows), kBlack) << "nothing is drawn below the reel";
}

INSTANTIATE_TEST_SUITE_P(ScreenWidths, PaintAllAt,
                         ::testing::Values(800, 1024, 1152, 1280, 1366, 1600, 1920));

namespace {

class ScreenAt800 : public ScreenFixture, public ::testing::Test {
 protected:
  void SetUp() override { Build(800); }
};

}  // namespace

TEST_F(ScreenAt800, DrawNumberBlanksOneCellOnTheSideAwayFromTheAnchor) {
  canvas_.Resize(400, 100);
  canvas_.SetBrushColor(kWhite);
  canvas_.SetPenColor(kWhite);
  canvas_.FillRect(0, 0, 400, 100);

  DrawNumber(canvas_, art_, 123, 10, 5, true, false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(At(10 + 16 * i, 15), synthetic::GreenDigit(i + 1, 0));
  EXPECT_TRUE(CellIsBlack(58, 5));
  EXPECT_EQ(At(74, 15), kWhite);
  EXPECT_EQ(At(9, 15), kWhite);

  DrawNumber(canvas_, art_, 7, 300, 40, false, true);
  ExpectDigits("7", 300, 40, false);
  EXPECT_TRUE(CellIsBlack(268, 40));
  EXPECT_EQ(At(267, 50), kWhite);
  EXPECT_EQ(At(300, 50), kWhite);
  EXPECT_EQ(At(290, 39), kWhite);
  EXPECT_EQ(At(290, 61), kWhite);
  EXPECT_EQ(canvas_.PenColor(), kBlack);
  EXPECT_EQ(canvas_.BrushColor(), kBlack);
}

TEST_F(ScreenAt800, DrawNumberDrawsTenDigitsWholeAndNegativesAsZero) {
  canvas_.Resize(400, 100);
  canvas_.SetRasterOp(RasterOp::Or);  // digits are plain copies whatever the caller left set
  DrawNumber(canvas_, art_, INT_MAX, 390, 0, true, true);
  ExpectDigits("2147483647", 390, 0, true);
  EXPECT_EQ(canvas_.Op(), RasterOp::Copy);

  for (int value : {-5, INT_MIN}) {
    canvas_.SetBrushColor(kWhite);
    canvas_.SetPenColor(kWhite);
    canvas_.FillRect(0, 0, 400, 100);
    DrawNumber(canvas_, art_, value, 100, 50, true, true);
    ExpectDigits("0", 100, 50, true);
    EXPECT_TRUE(CellIsBlack(68, 50));
    EXPECT_EQ(At(67, 60), kWhite) << "a negative value draws one digit, as 0 does";
  }
}

TEST_F(ScreenAt800, CutFrameCornerCopiesThePixelBesideTheCorner) {
  canvas_.Resize(40, 40);
  const QRgb c = qRgb(1, 2, 3);
  canvas_.SetPixel(9, 10, c);
  screen_->CutFrameCorner(MainScreen::Corner::kTopLeft, 10, 10);
  EXPECT_EQ(At(10, 10), c);
  EXPECT_EQ(At(10, 11), c);
  EXPECT_EQ(At(11, 10), c);
  EXPECT_EQ(At(10, 9), kBlack);

  canvas_.SetPixel(31, 30, c);
  screen_->CutFrameCorner(MainScreen::Corner::kBottomRight, 30, 30);
  EXPECT_EQ(At(30, 30), c);
  EXPECT_EQ(At(30, 29), c);
  EXPECT_EQ(At(29, 30), c);
  EXPECT_EQ(At(30, 31), kBlack);
}

TEST_F(ScreenAt800, ReelsAtRestWrapFromThirtyToOne) {
  gs_.ReelStop = {29, 30, 1, 30, 29};
  for (int r = 0; r < kReels; ++r) screen_->DrawReelAtRest(r);
  const int expect29[3] = {29, 30, 1};
  const int expect30[3] = {30, 1, 2};
  for (int k = 0; k < kRows; ++k) {
    const QPoint a = CellCentre(0, k);
    EXPECT_EQ(At(a.x(), a.y()), synthetic::SymbolColour(gs_.ReelStrip[0][expect29[k]]));
    const QPoint b = CellCentre(1, k);
    EXPECT_EQ(At(b.x(), b.y()), synthetic::SymbolColour(gs_.ReelStrip[1][expect30[k]]));
  }
}

TEST_F(ScreenAt800, OutOfRangeStopsAndCodesDrawSafely) {
  gs_.ReelStop[0] = 31;  // read around the strip: 1, 2, 3
  gs_.ReelStop[1] = -4;
  gs_.ReelStrip[2][gs_.ReelStop[2]] = 99;
  gs_.ReelStrip[3][gs_.ReelStop[3]] = -1;
  for (int r = 0; r < kReels; ++r) screen_->DrawReelAtRest(r);
  const QPoint a = CellCentre(0, 0);
  EXPECT_EQ(At(a.x(), a.y()), synthetic::SymbolColour(gs_.ReelStrip[0][1]));
  const QPoint c = CellCentre(2, 0);
  EXPECT_EQ(At(c.x(), c.y()), kBlack);
  const QPoint d = CellCentre(3, 0);
  EXPECT_EQ(At(d.x(), d.y()), kBlack);
}

TEST_F(ScreenAt800, WildFramesAndWhiteCellsTouchOnlyTheirCell) {
  canvas_.Resize(S(800), S(600));
  for (int frame = 0; frame <= 4; ++frame) {
    screen_->DrawWildFrame(3, 1, frame);
    const QPoint p = CellCentre(3, 1);
    EXPECT_EQ(At(p.x(), p.y()), synthetic::SymbolColour(frame));
  }
  screen_->FillCellWhite(1, 2);
  const int x = layout_.ReelsLeft + layout_.ReelPitch;
  const int y = layout_.ReelsTop + 2 * layout_.CellSize;
  const int c = layout_.CellSize;
  EXPECT_EQ(Count(x, y, x + c, y + c, [](QRgb p) { return p != kWhite; }), 0);
  EXPECT_EQ(At(x - 1, y), kBlack);
  EXPECT_EQ(At(x + c, y), kBlack);
  EXPECT_EQ(At(x, y - 1), kBlack);
}

TEST_F(ScreenAt800, BackgroundPatchIsPutBack) {
  screen_->RestoreBackgroundPatch();
  EXPECT_EQ(At(600, 140), synthetic::kPatch);
  EXPECT_EQ(At(559, 140), kBlack);
  EXPECT_EQ(At(644, 140), kBlack);
  EXPECT_EQ(At(600, 184), kBlack);
}

// On a screen scaled to 125 %, 150 %, 175 % or 200 % the cabinet is laid out for its width in
// device pixels: every place is where a layout that many times as wide has it, the fixed sizes
// (the logo, the meters' digits and their drop, the text) are that many times larger, and the
// picture is the one of 100 % with that many times the pixels each way. A mouse position at a
// key's centre, as the window reports it in its own units, lands on the key as painted.
class PixelRatio : public testing::TestWithParam<double> {};

TEST_P(PixelRatio, DrawsTheCabinetAsALayoutThatManyTimesAsWide) {
  struct At : ScreenFixture {
    using ScreenFixture::art_;
    using ScreenFixture::Build;
    using ScreenFixture::canvas_;
    using ScreenFixture::layout_;
    using ScreenFixture::S;
    using ScreenFixture::screen_;
  };
  const double ratio = GetParam();
  const auto px = [ratio](int v) { return DevicePixels(v, ratio); };
  At one;
  At sharp;
  At wide;
  one.Build(1024);
  sharp.Build(1024, ratio);
  wide.Build(px(1024));
  one.screen_->PaintAll();
  sharp.screen_->PaintAll();
  ASSERT_EQ(sharp.canvas_.Image().size(), QSize(wide.S(800), wide.S(600)));
  EXPECT_EQ(sharp.layout_.CellSize, wide.layout_.CellSize);
  EXPECT_EQ(sharp.layout_.ReelsLeft, wide.layout_.ReelsLeft);
  EXPECT_EQ(sharp.layout_.ReelsTop, wide.layout_.ReelsTop);
  EXPECT_EQ(sharp.layout_.ReelPitch, wide.layout_.ReelPitch);
  EXPECT_EQ(sharp.layout_.BlurHeight, wide.layout_.BlurHeight);
  const QRect logo = one.screen_->LogoPlace();
  EXPECT_EQ(sharp.screen_->LogoPlace(),
            QRect((wide.S(layout::kLogoAreaWidth) - px(logo.width())) / 2, wide.S(layout::kLogoTop),
                  px(logo.width()), px(logo.height())));
  EXPECT_EQ(sharp.screen_->MeterTop(),
            wide.S(layout::kMeterFrame.top) + px(layout::kMeterDigitsDrop));
  EXPECT_EQ(sharp.canvas_.CurrentFont().pixelSize(), px(one.canvas_.CurrentFont().pixelSize()));
  EXPECT_EQ(sharp.art_.green_bitmap.size(),
            QSize(one.art_.green_small.width() / kDigitWidth * px(kDigitWidth), px(kDigitHeight)));
  // Pixel for pixel the wide layout's picture, but for the edges of text and for the things of
  // a fixed pixel size (the logo, the meter frame with its digits and rounded corners).
  wide.screen_->PaintAll();
  const layout::Rect& frame = layout::kMeterFrame;
  const QRect fixed_size[] = {sharp.screen_->LogoPlace(),
                              QRect(QPoint(wide.S(frame.left), wide.S(frame.top)),
                                    QPoint(wide.S(frame.right), wide.S(frame.bottom)))};
  int same = 0;
  int compared = 0;
  for (int y = 0; y < sharp.canvas_.Height(); ++y) {
    for (int x = 0; x < sharp.canvas_.Width(); ++x) {
      if (fixed_size[0].contains(x, y) || fixed_size[1].contains(x, y)) continue;
      ++compared;
      if (sharp.canvas_.Pixel(x, y) == wide.canvas_.Pixel(x, y)) ++same;
    }
  }
  EXPECT_GT(same, compared * 99 / 100) << same << " of " << compared;
  // The logo is the one of 100 %, that many times larger: the same at the centre of each of its
  // window pixels but for its outline.
  int logo_same = 0;
  for (int y = 0; y < logo.height(); ++y) {
    for (int x = 0; x < logo.width(); ++x) {
      const QPoint at =
          sharp.screen_->LogoPlace().topLeft() +
          QPoint(static_cast<int>((x + 0.5) * ratio), static_cast<int>((y + 0.5) * ratio));
      if (sharp.canvas_.Pixel(at.x(), at.y()) == one.canvas_.Pixel(logo.left() + x, logo.top() + y))
        ++logo_same;
    }
  }
  EXPECT_GT(logo_same, logo.width() * logo.height() * 95 / 100)
      << logo_same << " of " << logo.width() * logo.height();
  // A press at the centre of each key's face, as the window reports it in its own units, hits
  // that key.
  const ScreenScale& scale = sharp.layout_.scale;
  for (int k = 1; k <= layout::kBetKeys; ++k) {
    const layout::BetKey& key = layout::BetKeyPlace(k);
    const QPointF centre =
        QPointF(scale.Scale(key.left) + scale.Scale(key.left + key.width),
                scale.Scale(key.top) + scale.Scale(key.top + layout::kBetKeyHeight)) /
        2 / ratio;
    const int x = scale.ToDevice(centre.x());
    const int y = scale.ToDevice(centre.y());
    EXPECT_TRUE(layout::Hits(scale, layout::BetKeyHitArea(k), x, y))
        << k << " at " << x << ", " << y;
    for (int other = 1; other <= layout::kBetKeys; ++other) {
      if (other != k) {
        EXPECT_FALSE(layout::Hits(scale, layout::BetKeyHitArea(other), x, y));
      }
    }
  }
  for (const layout::HitArea& play : {layout::kMaxBetHitArea, layout::kSpinHitArea}) {
    const QPointF centre = QPointF(scale.Scale(play.left) + scale.Scale(play.right),
                                   scale.Scale(play.top) + scale.Scale(play.bottom)) /
                           2 / ratio;
    EXPECT_TRUE(layout::Hits(scale, play, scale.ToDevice(centre.x()), scale.ToDevice(centre.y())));
  }
}

INSTANTIATE_TEST_SUITE_P(DesktopScales, PixelRatio, testing::Values(1.25, 1.5, 1.75, 2.0));

TEST(SpinSlice, FillsTheWholeCellWhereASheetFileGivesTheCellsTheirOwnSize) {
  // At 1024 with the sheet file present the cells are 98 wide while the scaled strip is 97.
  QTemporaryDir dir;
  ASSERT_TRUE(synthetic::MakeSheet(98, qRgb(0, 0, 0)).save(dir.filePath("Zelmar98.jpg")));
  MainArt art = synthetic::MakeArt();
  PrepareWorkingBitmaps(art);
  GameState gs;
  ScreenLayout layout;
  layout.scale.layout_width = 1024;
  LoadArtForResolution(art, layout, dir.path().toStdString() + "/", "Zelmar");
  ASSERT_EQ(layout.CellSize, 98);
  Canvas canvas(layout.scale.Scale(800), layout.scale.Scale(600));
  MainScreen screen(gs, layout, art, canvas);
  screen.DrawSpinSlice(0, 100);
  const int right = layout.ReelsLeft + 97;
  EXPECT_EQ(canvas.Pixel(right, layout.ReelsTop), Rgb(art.spin_strip_bitmap.pixel(97, 100)));
  EXPECT_NE(canvas.Pixel(right, layout.ReelsTop), kBlack);
  EXPECT_EQ(canvas.Pixel(right + 1, layout.ReelsTop), kBlack);
}

// Every size band of the screen's texts, at the widths on each side of its thresholds: the meter
// labels, the payline numbers, the cent sign of the coin value and the bet key captions; and the
// status line, which shares the meter labels' bands.
TEST(ScreenFonts, SizeBandsChangeExactlyAtTheirThresholds) {
  struct Band {
    int width;
    int meter, marker, cent, key;
  };
  const Band bands[] = {
      {800, 8, 8, 8, 8},      {850, 8, 8, 8, 8},      {851, 10, 8, 8, 8},
      {900, 10, 8, 8, 8},     {901, 10, 10, 8, 8},    {990, 10, 10, 8, 8},
      {991, 10, 10, 10, 8},   {1090, 10, 10, 10, 8},  {1091, 10, 10, 12, 8},
      {1150, 10, 10, 12, 8},  {1151, 12, 10, 12, 10}, {1190, 12, 10, 12, 10},
      {1191, 12, 14, 14, 10}, {1300, 12, 14, 14, 10}, {1301, 14, 14, 14, 10},
      {1390, 14, 14, 14, 10}, {1391, 14, 14, 18, 10}, {1400, 14, 14, 18, 10},
      {1401, 14, 18, 18, 10},
  };
  class Probe : public ScreenFixture {
   public:
    using ScreenFixture::Build;
    MainScreen& Screen() { return *screen_; }
    const Canvas& Surface() { return canvas_; }
  };
  for (const Band& b : bands) {
    Probe probe;
    probe.Build(b.width);
    probe.Screen().DrawMeterFrame();
    EXPECT_EQ(probe.Surface().FontSize(), b.meter) << "meter labels at " << b.width;
    probe.Screen().DrawLineMarkers(1, true);
    EXPECT_EQ(probe.Surface().FontSize(), b.marker) << "payline numbers at " << b.width;
    probe.Screen().DrawCoinValue();
    EXPECT_EQ(probe.Surface().FontSize(), b.cent) << "cent sign at " << b.width;
    probe.Screen().DrawBetButton(1, true);
    EXPECT_EQ(probe.Surface().FontSize(), b.key) << "bet key captions at " << b.width;
    // The screen leaves its texts plain, so the weights are read from the bands.
    EXPECT_EQ(MeterLabelFont(b.width).bold, b.width > 1150) << "meter labels at " << b.width;
    EXPECT_EQ(BetKeyFont(b.width).bold, b.width > 900) << "bet key captions at " << b.width;
    const FontBand status = StatusLineFont(b.width);
    EXPECT_EQ(status.size, b.meter) << "status line at " << b.width;
    EXPECT_EQ(status.bold, b.width > 1150) << "status line at " << b.width;
  }
}
