// Checks the committed bonus-game pictures against the layout the bonus window relies on:
// exact sizes, frame counts, white boxes and frame borders, and STOP signs that blend into the
// stadium. Run after regenerating the art.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kSide = 110;

QImage Load(const char* name) {
  const QString path = QStringLiteral(ZELMAR_BONUS_ART_DIR "/") + QLatin1String(name);
  QImage img(path);
  EXPECT_FALSE(img.isNull()) << "cannot read " << path.toStdString();
  return img.convertToFormat(QImage::Format_RGB32);
}

int MinChannel(QRgb c) {
  return std::min({qRed(c), qGreen(c), qBlue(c)});
}

// Lowest channel value over a rectangle: 255 means every pixel is pure white.
int Whiteness(const QImage& img, int x0, int y0, int w, int h) {
  int lowest = 255;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) lowest = std::min(lowest, MinChannel(img.pixel(x, y)));
  return lowest;
}

// Mean absolute difference per channel between two same-sized pictures.
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  return sum / (3.0 * a.width() * a.height());
}

QImage Frame(const QImage& strip, int f) {
  return strip.copy(0, f * kSide, kSide, kSide);
}

TEST(BonusArt, EveryPictureHasTheSizeTheWindowExpects) {
  struct Row {
    const char* name;
    int w, h;
  };
  const Row rows[] = {
      {"stadium.jpg", 640, 480},     {"explode.jpg", 110, 1430},     {"stop_left_lit.jpg", 71, 54},
      {"stop_left_dim.jpg", 71, 54}, {"stop_right_lit.jpg", 71, 53}, {"stop_right_dim.jpg", 71, 53},
      {"ball1.jpg", 110, 880},       {"ball2.jpg", 110, 880},        {"ball3.jpg", 110, 880},
      {"ball4.jpg", 110, 880},       {"ball5.jpg", 110, 880},        {"ball6.jpg", 110, 880},
      {"ball7.jpg", 110, 880},       {"ball8.jpg", 110, 880},        {"character1.png", 110, 110},
      {"character2.png", 110, 110},  {"character3.png", 110, 110},   {"character4.png", 110, 110},
      {"character5.png", 110, 110},  {"character6.png", 110, 110},   {"character7.png", 110, 110},
      {"character8.png", 110, 110}};
  for (const Row& r : rows) {
    const QImage img = Load(r.name);
    EXPECT_EQ(img.width(), r.w) << r.name;
    EXPECT_EQ(img.height(), r.h) << r.name;
  }
}

TEST(BonusArt, WalkStripsAreEightDistinctFramesOfACharacterOnWhite) {
  for (int i = 1; i <= 8; ++i) {
    const std::string name = "ball" + std::to_string(i) + ".jpg";
    const QImage strip = Load(name.c_str());
    ASSERT_EQ(strip.height() / kSide, 8) << name;
    for (int f = 0; f < 8; ++f) {
      const QImage fr = Frame(strip, f);
      // A picked box is refilled white inside a 5-pixel border of the last frame shown, so
      // that border must be white for the box to look clean.
      EXPECT_GE(Whiteness(fr, 0, 0, kSide, 5), 245) << name << " frame " << f << " top";
      EXPECT_GE(Whiteness(fr, 0, kSide - 5, kSide, 5), 245) << name << " frame " << f << " bottom";
      EXPECT_GE(Whiteness(fr, 0, 0, 5, kSide), 245) << name << " frame " << f << " left";
      EXPECT_GE(Whiteness(fr, kSide - 5, 0, 5, kSide), 245) << name << " frame " << f << " right";
      // And the character is there: a good part of the frame is drawn on.
      int drawn = 0;
      for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) drawn += MinChannel(fr.pixel(x, y)) < 200;
      EXPECT_GT(drawn, 1500) << name << " frame " << f;
      // Walking means every frame differs from the one before it.
      if (f > 0) {
        EXPECT_GT(MeanDifference(fr, Frame(strip, f - 1)), 1.0) << name << " frame " << f;
      }
    }
  }
}

TEST(BonusArt, PayoffChartCharactersAreTheFirstWalkingFrames) {
  for (int i = 1; i <= 8; ++i) {
    const std::string strip = "ball" + std::to_string(i) + ".jpg";
    const std::string single = "character" + std::to_string(i) + ".png";
    const QImage first = Frame(Load(strip.c_str()), 0);
    const QImage still = Load(single.c_str());
    ASSERT_EQ(still.size(), first.size());
    EXPECT_LT(MeanDifference(first, still), 2.0) << single;
    // The other frames are not what the chart shows.
    EXPECT_GT(MeanDifference(Frame(Load(strip.c_str()), 2), still), 1.0) << single;
  }
}

TEST(BonusArt, StadiumBoxesArePureWhiteAndStandOutFromThePitch) {
  const QImage stadium = Load("stadium.jpg");
  for (int i = 0; i < 8; ++i) {
    const int x = 40 + 150 * (i % 4), y = 210 + 140 * (i / 4);
    // The inside is white. Next to the frame, JPEG's 8 x 8 blocks that straddle the box edge
    // may leave a faint trace a few pixels deep.
    EXPECT_EQ(Whiteness(stadium, x + 8, y + 8, kSide - 16, kSide - 16), 255) << "box " << i;
    EXPECT_GE(Whiteness(stadium, x + 1, y + 1, kSide - 2, kSide - 2), 225) << "box " << i;
    // Just outside, the frame around the box is not white, so the box edge is where it
    // should be and not a few pixels off.
    for (const auto& [px, py] : {std::pair{x - 3, y + 55}, std::pair{x + kSide + 2, y + 55},
                                 std::pair{x + 55, y - 3}, std::pair{x + 55, y + kSide + 2}}) {
      EXPECT_LT(MinChannel(stadium.pixel(px, py)), 200) << "box " << i << " at " << px << "," << py;
    }
  }
}

TEST(BonusArt, StopSignsInTheStadiumAreTheDimPicturesSoTheFirstBlinkIsSeamless) {
  const QImage stadium = Load("stadium.jpg");
  struct Sign {
    const char* dim;
    const char* lit;
    int x, y;
  };
  for (const Sign& s : {Sign{"stop_left_dim.jpg", "stop_left_lit.jpg", 17, 134},
                        Sign{"stop_right_dim.jpg", "stop_right_lit.jpg", 554, 134}}) {
    const QImage dim = Load(s.dim), lit = Load(s.lit);
    const QImage there = stadium.copy(s.x, s.y, dim.width(), dim.height());
    EXPECT_LT(MeanDifference(there, dim), 1.0) << s.dim;
    EXPECT_GT(MeanDifference(lit, dim), 20.0) << s.lit << " is not visibly brighter";
    // Lit is brighter in the middle of the sign, where the red face is.
    const QRgb lit_red = lit.pixel(10, dim.height() / 2), dim_red = dim.pixel(10, dim.height() / 2);
    EXPECT_GT(qRed(lit_red), qRed(dim_red) + 40) << s.lit;
  }
}

TEST(BonusArt, BombStripRunsFromBombToFireballToYouLoseOnBlack) {
  const QImage strip = Load("explode.jpg");
  ASSERT_EQ(strip.height() / kSide, 13);
  // The spark flickers and the fireball changes: no two neighbouring frames are alike.
  for (int f = 1; f < 13; ++f)
    EXPECT_GT(MeanDifference(Frame(strip, f), Frame(strip, f - 1)), 0.5) << "frame " << f;
  // The last frame is black but for its caption.
  const QImage last = Frame(strip, 12);
  int dark = 0;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      dark += std::max(
                  {qRed(last.pixel(x, y)), qGreen(last.pixel(x, y)), qBlue(last.pixel(x, y))}) < 40;
  EXPECT_GT(dark, kSide * kSide / 2);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);  // image format plugins
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
