// The payoff chart: its figures against the pay table the game pays, and its layout at the
// screen widths the game is made for.
#include "windows/payoff_chart.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "engine/paytable.h"
#include "engine/reels.h"
#include "screen/fonts.h"
#include "screen_test_util.h"
#include "synthetic_art.h"

namespace {

using payoff_chart::PayColumn;

// A line of `count` symbols `code` from the left, the rest scatter pieces, which end every line
// combination.
LineScore Pays(int code, int count) {
  std::array<int, kReels> line;
  line.fill(kFirstScatter);
  for (int r = 0; r < count; ++r) line[r] = code;
  return ScoreLine(line);
}

TEST(PayoffChartFigures, EveryLinePayShownIsWhatTheGamePaysAndNoOtherCountPays) {
  std::vector<PayColumn> columns(payoff_chart::kLargeColumns.begin(),
                                 payoff_chart::kLargeColumns.end());
  columns.insert(columns.end(), payoff_chart::kSmallColumns.begin(),
                 payoff_chart::kSmallColumns.end());
  ASSERT_EQ(columns.size(), 13u) << "the wild and all twelve line symbols";
  for (const PayColumn& column : columns) {
    for (int count = 5; count >= 1; --count) {
      const int shown = column.pays[5 - count];
      EXPECT_EQ(Pays(column.code, count).pays, shown) << "code " << column.code << " x" << count;
    }
  }
  EXPECT_EQ(ScoreLine({5, 6, 7, 8, 9}).pays, payoff_chart::kJackpotPays);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ScatterMultiplier(5 - i), payoff_chart::kScatterPays[i]);
}

TEST(PayoffChartFigures, FontSetsChangeAtTheBandEdges) {
  const struct {
    int width, jackpot, rules, large, small;
  } bands[] = {{999, 12, 8, 10, 8},    {1000, 14, 10, 12, 10}, {1190, 14, 10, 12, 10},
               {1191, 18, 12, 14, 12}, {1299, 18, 12, 14, 12}, {1300, 24, 14, 18, 14}};
  for (const auto& b : bands) {
    const PayoffChartFonts f = PayoffChartFontsFor(b.width);
    EXPECT_EQ(f.jackpot, b.jackpot) << b.width;
    EXPECT_EQ(f.rules, b.rules) << b.width;
    EXPECT_EQ(f.large_table, b.large) << b.width;
    EXPECT_EQ(f.small_table, b.small) << b.width;
    EXPECT_EQ(f.bonus, b.small) << b.width;
  }
}

class PayoffChartAt : public testing::Test {
 protected:
  // A chart laid out for `width` in a window `window_width` wide (the same if not given), drawn
  // at `ratio` device pixels a window pixel with symbol cells of `cell` device pixels.
  void Open(int width, int height, int cell, int window_width = 0, double ratio = 1) {
    cell_size_ = cell;
    sheet_ = synthetic::MakeSheet(cell, 0);
    window_ = std::make_unique<PayoffChartWindow>(ScreenScale{width, 0, ratio}, cell_size_, sheet_);
    window_->resize(window_width > 0 ? window_width : width, height);
    window_->PaintAll();
  }
  QRgb At(int x, int y) const { return window_->Surface().Pixel(x, y) | 0xff000000u; }
  // A tile of side `side` for code stands at (x, y): silver frame lines on its left and top
  // edges, its picture two pixels inside them and up to three pixels before its right and
  // bottom edges.
  void ExpectTile(int code, int x, int y, int side) {
    const QRgb picture = Rgb(synthetic::SymbolColour(code));
    const QRgb silver = Rgb(qRgb(192, 192, 192));
    const int mid = side / 2;
    EXPECT_EQ(At(x, y + mid), silver) << code << " left edge " << x;
    EXPECT_EQ(At(x + mid, y), silver) << code << " top edge " << y;
    EXPECT_EQ(At(x + 2, y + mid), picture) << code;
    EXPECT_EQ(At(x + mid, y + 2), picture) << code;
    EXPECT_EQ(At(x + side - 3, y + side - 3), picture) << code;
  }
  // The tops of the texts drawn with their left edge at x.
  std::vector<std::pair<QString, int>> TextsAt(int x) const {
    std::vector<std::pair<QString, int>> found;
    for (const auto& t : window_->Texts()) {
      if (t.x == x) found.emplace_back(t.text, t.y);
    }
    return found;
  }

  int cell_size_ = 76;
  QImage sheet_;
  std::unique_ptr<PayoffChartWindow> window_;
};

TEST_F(PayoffChartAt, Width800PutsTilesAndPaysWhereTheGlassIsPrinted) {
  Open(800, 600, 76);
  const int top[] = {197, 278, 359, 440, 521};
  for (int i = 0; i < 5; ++i) ExpectTile(5 + i, top[i], 32, 76);
  const int middle[] = {56, 208, 360, 512, 664};
  for (int i = 0; i < 5; ++i) ExpectTile(payoff_chart::kLargeColumns[i].code, middle[i], 150, 76);
  const int bottom[] = {28, 125, 222, 319, 416, 513, 610, 707};
  for (int i = 0; i < 8; ++i) ExpectTile(10 + i, bottom[i], 250, 57);

  using Lines = std::vector<std::pair<QString, int>>;
  EXPECT_EQ(TextsAt(743), (Lines{{"1000", 157}, {"250", 173}, {"100", 189}, {"5", 205}}));
  EXPECT_EQ(TextsAt(766), (Lines{{"100", 258}, {"20", 274}, {"5", 290}}));
  EXPECT_EQ(TextsAt(572), (Lines{{"120", 249}, {"20", 264}, {"5", 279}, {"2", 294}}))
      << "gymnast column: four lines 15 apart";
  EXPECT_EQ(TextsAt(697), (Lines{{"100", 62}, {"25", 76}, {"5", 90}}));
  // Counts end two design pixels left of their tile: at 54 beside the wild, 705 beside H.
  std::vector<QString> wild_counts, h_counts;
  for (const auto& t : window_->Texts()) {
    Canvas probe(1, 1);
    probe.SetFontBold(true);
    probe.SetFontSize(t.points);
    const int right = t.x + probe.TextWidth(t.text);
    if (right == 54) wild_counts.push_back(t.text);
    if (right == 705) h_counts.push_back(t.text);
  }
  EXPECT_EQ(wild_counts, (std::vector<QString>{"5", "4", "3", "2", "1"}));
  EXPECT_EQ(h_counts, (std::vector<QString>{"5", "4", "3"}));

  EXPECT_EQ(window_->CloseButton()->geometry(), QRect(200, 332, 400, 28));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(window_->Character(i)->pos(), QPoint(11 + 133 * i, 378)) << i;
    EXPECT_FALSE(window_->Character(i)->isHidden());
    EXPECT_TRUE(window_->Character(i + 6)->isHidden()) << "no room for a second row";
  }
  EXPECT_EQ(At(400, 325), Rgb(qRgb(192, 192, 192)));
  EXPECT_EQ(At(799, 365), Rgb(qRgb(192, 192, 192)));
}

TEST_F(PayoffChartAt, Width1024ShowsTheSecondRowOfCharactersAndTheSecondFontBand) {
  Open(1024, 768, 98);
  ExpectTile(5, 252, 40, 98);  // s(197) = 252, s(32) = 40
  const int slot = 1024 / 6;
  const int second_top = 483 + 110 + 7 + 15 + 15 + 7;  // y2 + s(12) + s(6)
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(window_->Character(i)->pos(), QPoint((slot - 110) / 2 + i * slot, 483));
    EXPECT_EQ(window_->Character(i + 6)->pos(), QPoint((slot - 110) / 2 + i * slot, second_top));
    EXPECT_FALSE(window_->Character(i + 6)->isHidden());
  }
  EXPECT_EQ(window_->CloseButton()->geometry(), QRect(256, 424, 512, 35));
  for (const auto& t : window_->Texts()) {
    if (t.text.startsWith("Zelmar Jackpot")) {
      EXPECT_EQ(t.points, 14);
    }
  }
}

TEST_F(PayoffChartAt, NarrowerLayoutIsCentredBetweenBlackMargins) {
  Open(1505, 1050, 142, 1920);  // a 1920 x 1080 screen laid out 1505 wide
  EXPECT_EQ(window_->GlassLeft(), 207);
  EXPECT_EQ(window_->Surface().Width(), 1505);
  EXPECT_EQ(window_->CloseButton()->geometry(), QRect(207 + 376, 624, 752, 52));
  const int slot = 1505 / 6;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(window_->Character(i)->pos().x(), 207 + (slot - 110) / 2 + i * slot) << i;
    EXPECT_LE(window_->Character(i + 6)->geometry().bottom(), 1050) << "second row in sight";
  }
  const QImage shown = window_->grab().toImage();
  EXPECT_EQ(shown.pixel(100, 611) | 0xff000000u, Rgb(qRgb(0, 0, 0))) << "margin";
  EXPECT_EQ(shown.pixel(207 + 100, 611) | 0xff000000u, Rgb(qRgb(192, 192, 192))) << "rule s(325)";
  EXPECT_EQ(shown.pixel(207 + 1505 + 5, 611) | 0xff000000u, Rgb(qRgb(0, 0, 0))) << "margin";
}

// At 150 % the glass is drawn in device pixels, laid out as a glass half as wide again, while
// the Close button and the characters keep their places in window units.
TEST_F(PayoffChartAt, Ratio150DrawsTheGlassInDevicePixels) {
  Open(1024, 768, 145, 1024, 1.5);  // cells of ScaleAt(1536, 76)
  EXPECT_EQ(window_->GlassLeft(), 0);
  EXPECT_EQ(window_->Surface().Width(), 1536);
  EXPECT_EQ(window_->Surface().Height(), 1152);
  // The top row's middle tile, s(197) + 2 * (cell + s(5)) = 378 + 2 * 154, s(32) = 61.
  EXPECT_EQ(At(378 + 2 * 154 + 72, 61 + 72), Rgb(synthetic::SymbolColour(7)));
  EXPECT_EQ(At(1000, 624), Rgb(qRgb(192, 192, 192))) << "rule s(325)";
  EXPECT_EQ(window_->CloseButton()->geometry(), QRect(256, 424, 512, 35));
  EXPECT_EQ(window_->Character(0)->pos(), QPoint((1024 / 6 - 110) / 2, 483));
  const QImage shown = window_->grab().toImage();
  EXPECT_EQ(shown.pixel(1000 * 2 / 3, 624 * 2 / 3) | 0xff000000u, Rgb(qRgb(192, 192, 192)));
}

// On a wide, short screen the glass is laid out narrower until all of it, its lowest characters
// and texts included, is in the window, and centred between black margins: 1366 x 768, whose
// cabinet is laid out 1051 wide under a desktop's caption, and 1920 x 1080 at 150 % (1280 x 720
// window units) without one, the cabinet laid out 1000 wide: there the glass loses its second
// row of characters.
TEST_F(PayoffChartAt, AShortWindowGetsAGlassNarrowedUntilItsLastRowIsInSight) {
  const struct {
    int layout_width, window_width, window_height;
    double ratio;
  } kScreens[] = {{1051, 1366, 744, 1.0}, {1000, 1280, 720, 1.5}};
  for (const auto& screen : kScreens) {
    SCOPED_TRACE(testing::Message() << screen.window_width << " x " << screen.window_height);
    const int cell = ScaleAt(DevicePixels(screen.layout_width, screen.ratio), 76);
    Open(screen.layout_width, screen.window_height, cell, screen.window_width, screen.ratio);
    const ScreenScale& glass = window_->GlassScale();
    EXPECT_LT(glass.layout_width, screen.layout_width);
    EXPECT_EQ(glass.layout_width,
              payoff_chart::GlassLayoutWidth(screen.layout_width, screen.window_width,
                                             screen.window_height));
    EXPECT_EQ(glass.ratio, screen.ratio);
    EXPECT_EQ(window_->GlassLeft(), (screen.window_width - glass.layout_width) / 2);
    EXPECT_EQ(window_->Surface().Width(), glass.DeviceWidth());
    int lowest = 0;
    for (int i = 0; i < PayoffChartWindow::kCharacters; ++i) {
      if (!window_->Character(i)->isHidden()) {
        lowest = std::max(lowest, window_->Character(i)->geometry().bottom() + 1);
      }
    }
    for (const auto& t : window_->Texts()) {
      Canvas probe(1, 1);
      probe.SetFontBold(true);
      probe.SetFontSize(t.points);
      lowest = std::max(lowest,
                        static_cast<int>(std::ceil(t.y / screen.ratio + probe.TextHeight(t.text))));
    }
    EXPECT_LE(lowest, screen.window_height);
    // The tiles shrink with the glass: the top row's first tile, s(197), s(32), as wide as the
    // glass's cells (its frame lines, a window pixel or two wide, are as many device pixels).
    const int side =
        static_cast<int>(static_cast<int64_t>(cell) * glass.DeviceWidth() /
                         ScreenScale{screen.layout_width, 0, screen.ratio}.DeviceWidth());
    const int x = glass.Scale(197), y = glass.Scale(32), inside = glass.Px(2) + glass.Px(1);
    for (const QPoint& at : {QPoint(x + inside, y + side / 2), QPoint(x + side / 2, y + inside),
                             QPoint(x + side - inside, y + side - inside)}) {
      EXPECT_EQ(At(at.x(), at.y()), Rgb(synthetic::SymbolColour(5))) << at.x() << ", " << at.y();
    }
    EXPECT_EQ(At(x + side + glass.Px(2), y + side / 2), Rgb(qRgb(0, 0, 0))) << "right of the tile";
  }
}

TEST_F(PayoffChartAt, Width1600KeepsTheJackpotHeadingClearOfTheRuleColumns) {
  Open(1600, 1200, 152);
  int left_rules_end = 0, heading_left = 0, heading_right = 0, heading_points = 0;
  for (const auto& t : window_->Texts()) {
    Canvas probe(1, 1);
    probe.SetFontBold(true);
    probe.SetFontSize(t.points);
    const int right = t.x + probe.TextWidth(t.text);
    if (t.x == 20) left_rules_end = std::max(left_rules_end, right);  // s(10)
    if (t.text.startsWith("Zelmar Jackpot")) {
      heading_left = t.x;
      heading_right = right;
      heading_points = t.points;
    }
  }
  EXPECT_GT(heading_left, left_rules_end);
  EXPECT_LT(heading_right, 1248) << "the right column starts at s(624)";
  EXPECT_GE(heading_points, 14);
  EXPECT_LE(heading_points, 24);
}

TEST_F(PayoffChartAt, CharactersStandOnTheBlackGlassWithTheirOwnWhitesKept) {
  // A white ground with a soft grey shadow, and a white ball ringed in black.
  QImage figure(110, 110, QImage::Format_RGB32);
  figure.fill(qRgb(255, 255, 255));
  for (int x = 30; x < 80; ++x) figure.setPixel(x, 100, qRgb(200, 200, 200));
  for (int y = 0; y < 110; ++y) {
    for (int x = 0; x < 110; ++x) {
      const int d2 = (x - 55) * (x - 55) + (y - 50) * (y - 50);
      if (d2 <= 30 * 30) figure.setPixel(x, y, d2 >= 27 * 27 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
  }
  cell_size_ = 76;
  sheet_ = synthetic::MakeSheet(76, 0);
  std::array<QImage, 8> characters;
  characters.fill(figure);
  characters[7] = QImage(20, 20, QImage::Format_RGB32);  // unusable: a plain stand-in is drawn
  PayoffChartWindow chart(ScreenScale{800}, cell_size_, sheet_, characters);
  const QImage shown = chart.Character(8)->pixmap().toImage();
  EXPECT_EQ(shown.pixel(2, 2) | 0xff000000u, Rgb(qRgb(0, 0, 0)));
  EXPECT_EQ(shown.pixel(50, 100) | 0xff000000u, Rgb(qRgb(0, 0, 0))) << "the shadow goes too";
  EXPECT_EQ(shown.pixel(55, 50) | 0xff000000u, Rgb(qRgb(255, 255, 255)));
  EXPECT_EQ(chart.Character(7)->pixmap().size(), QSize(110, 110));
}

}  // namespace
