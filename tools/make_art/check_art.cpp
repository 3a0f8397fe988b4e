// zelmar-check-art ART_DIR: verifies the committed pictures against what the game relies on.
// Prints every failure and exits 1 if there was one.
//
// The game reads pixels of the art at fixed places and masks pictures onto each other, so a
// picture that merely looks right can still break the screen: a marker whose sampled pixel is
// off colours a payline path wrongly, a logo that is not black outside its mask smears the
// cabinet, a spinning strip with a seam flickers at the wrap. Those are checked here.
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "layout.h"
#include "screen/scale.h"

namespace {

int failures = 0;

void Fail(const char* what, const QString& detail = {}) {
  ++failures;
  std::fprintf(stderr, "FAIL %s %s\n", what, qPrintable(detail));
}

QImage Load(const QString& path, int w, int h) {
  QImage img(path);
  if (img.isNull()) {
    Fail("cannot read", path);
  } else if (img.width() != w || img.height() != h) {
    Fail("wrong size", QString("%1 is %2x%3, want %4x%5")
                           .arg(path)
                           .arg(img.width())
                           .arg(img.height())
                           .arg(w)
                           .arg(h));
    img = QImage();
  }
  return img;
}

double Luma(QRgb c) {
  return 0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c);
}

double MeanLuma(const QImage& img, const QRect& r) {
  double sum = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) sum += Luma(img.pixel(x, y));
  return sum / (r.width() * r.height());
}

int MaxChannelDiff(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

bool MaskOpaque(const QImage& mask, int x, int y) {
  return qGray(mask.pixel(x, y)) < 128;
}

// Nearest-neighbour stretch as the game's canvas does it: floor(d * sn / dn).
int SourceOffset(int d, int sn, int dn) {
  return static_cast<int>(int64_t{d} * sn / dn);
}

void CheckMasked(const char* name, const QImage& pic, const QImage& mask) {
  if (pic.isNull() || mask.isNull()) return;
  if (mask.depth() != 1) Fail("mask is not 1 bit", name);
  int opaque = 0;
  for (int y = 0; y < pic.height(); ++y) {
    for (int x = 0; x < pic.width(); ++x) {
      if (MaskOpaque(mask, x, y)) {
        ++opaque;
      } else if ((pic.pixel(x, y) & 0xffffff) != 0) {
        Fail("picture not black outside its mask", QString("%1 at %2,%3").arg(name).arg(x).arg(y));
        return;
      }
    }
  }
  if (opaque < pic.width() * pic.height() / 10) Fail("mask nearly empty", name);
}

void CheckMarkers(const QString& dir) {
  const QImage lit = Load(dir + "/main/line_bubbles.png", 90, 225);
  const QImage dim = Load(dir + "/main/line_bubbles_dim.png", 90, 225);
  const QImage mask = Load(dir + "/main/line_bubbles_mask.png", 90, 225);
  if (lit.isNull() || dim.isNull() || mask.isNull()) return;
  if (lit.depth() < 24 || dim.depth() < 24) Fail("marker pictures are not 24-bit");
  CheckMasked("line_bubbles", lit, mask);
  CheckMasked("line_bubbles_dim", dim, mask);
  for (int row = 0; row < 9; ++row) {
    const QRgb colour = art::kRowColour[row];
    // Horizontal extent of the marker shapes: even rows 2..68, odd rows 21..87.
    int min_x = 90, max_x = -1;
    for (int y = 25 * row; y < 25 * row + 25; ++y)
      for (int x = 0; x < 90; ++x)
        if (MaskOpaque(mask, x, y)) min_x = std::min(min_x, x), max_x = std::max(max_x, x);
    const int want_min = row % 2 ? 21 : 2, want_max = row % 2 ? 87 : 68;
    if (min_x != want_min || max_x != want_max)
      Fail("marker row extent", QString("row %1 spans %2..%3").arg(row).arg(min_x).arg(max_x));
    // The payline path takes its colour from the window pixel 8 pixels left of the path's
    // start, at the row's centre, inside the left marker; at every screen width that pixel
    // must be the row colour when lit, and darker on the squares of odd rows when dim.
    for (int width : {800, 1024, 1152, 1280, 1366, 1440, 1600, 1680, 1920, 2560, 3840}) {
      const ScreenScale scale{width};
      const int top = scale.Scale(212) + scale.Scale(25 * row);
      const int sample_x = scale.Scale(207) - scale.Scale(3) - 8;
      const int sample_y = scale.Scale(212) + scale.Scale(25 * row + 13);
      const int art_x = SourceOffset(sample_x - scale.Scale(162), 42, scale.Scale(42));
      const int art_y = 25 * row + SourceOffset(sample_y - top, 25, scale.Scale(25));
      const QString where =
          QString("row %1 width %2 art %3,%4").arg(row).arg(width).arg(art_x).arg(art_y);
      if (!MaskOpaque(mask, art_x, art_y)) {
        Fail("path sample outside the marker", where);
        continue;
      }
      if ((lit.pixel(art_x, art_y) & 0xffffff) != (colour & 0xffffff))
        Fail("lit marker sample is not the row colour", where);
      const QRgb d = dim.pixel(art_x, art_y);
      if (row % 2 == 0) {
        if ((d & 0xffffff) != (colour & 0xffffff))
          Fail("dim bar sample is not the row colour", where);
      } else if (Luma(d) > 0.6 * Luma(colour) || (d & 0xffffff) == 0) {
        Fail("dim square sample is not a darker row colour", where);
      }
    }
  }
}

void CheckBackground(const QString& dir) {
  const QImage bg = Load(dir + "/main/background.jpg", art::kWidth, art::kHeight);
  if (bg.isNull()) return;
  // Unlit bet keys are filled with the pixel at (188, 492); the key faces of the art must be
  // that colour all over so a key the game redraws looks like the art's key.
  const QRgb key_colour = bg.pixel(art::kKeySampleX, art::kKeySampleY);
  if (MaxChannelDiff(key_colour, art::kKeyFace) > 6) Fail("unlit key colour drifted");
  for (int k = 0; k < 10; ++k) {
    const QRect key = k < 5 ? QRect(art::kLinesKeyLeft[k], art::kLinesKeyTop, art::kLinesKeyWidth,
                                    art::kBetKeyHeight)
                            : QRect(art::kCreditsKeyLeft[k - 5], art::kCreditsKeyTop,
                                    art::kCreditsKeyWidth, art::kBetKeyHeight);
    for (int y = key.top(); y <= key.bottom(); ++y)
      for (int x = key.left(); x <= key.right(); ++x)
        if (MaxChannelDiff(bg.pixel(x, y), key_colour) > 12) {
          Fail("bet key face not flat", QString("key %1 at %2,%3").arg(k + 1).arg(x).arg(y));
          y = key.bottom() + 1;
          break;
        }
  }
  // The coin value is written in black inside the white box.
  if (MeanLuma(bg, art::kCoinBox.adjusted(4, 4, -4, -4)) < 245) Fail("coin box is not white");
  // "Insert" is white on the slot plate, "Coins" black under it.
  if (MeanLuma(bg, QRect(698, 466, 24, 10)) > 70) Fail("plate under Insert is not dark");
  if (MeanLuma(bg, QRect(698, 481, 24, 10)) < 170) Fail("plate under Coins is not light");
  // The frame strips must read as a frame against the dark gaps where the paths show.
  for (int i = 0; i < art::kReels; ++i) {
    const int left = art::kReelLeft - art::kLeftStrip + i * art::kReelPitch;
    const QRect left_strip(left, art::kReelTop, art::kLeftStrip, art::kReelHeight);
    const QRect right_strip(art::kReelLeft + art::kReelCell + i * art::kReelPitch, art::kReelTop,
                            art::kRightStrip, art::kReelHeight);
    if (MeanLuma(bg, left_strip) < 90 || MeanLuma(bg, right_strip) < 70)
      Fail("reel frame strip too dark", QString::number(i));
    if (i < art::kReels - 1) {
      const QRect gap(right_strip.right() + 1, art::kReelTop, 10, art::kReelHeight);
      if (MeanLuma(bg, gap) > 45) Fail("gap between reels too light for paths", QString::number(i));
    }
  }
  if (MeanLuma(bg, art::kLeftMarkers) > 30 || MeanLuma(bg, art::kRightMarkers) > 30)
    Fail("payline marker backdrop not dark");
}

// Mean absolute difference of two equal-sized regions.
double RegionDiff(const QImage& a, const QRect& ra, const QImage& b, const QRect& rb) {
  double sum = 0;
  for (int y = 0; y < ra.height(); ++y)
    for (int x = 0; x < ra.width(); ++x) {
      const QRgb p = a.pixel(ra.left() + x, ra.top() + y), q = b.pixel(rb.left() + x, rb.top() + y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  return sum / (3.0 * ra.width() * ra.height());
}

void CheckSheet(const QString& path, int cell) {
  const QImage sheet = Load(path, 4 * cell, 6 * cell);
  if (sheet.isNull()) return;
  auto cell_rect = [&](int n) { return QRect((n % 4) * cell, (n / 4) * cell, cell, cell); };
  for (int n : {22, 23})
    if (MeanLuma(sheet, cell_rect(n)) > 8)
      Fail("empty cell not black", QString("%1 cell %2").arg(path).arg(n));
  // Every picture a player must tell apart is clearly different from every other one; the
  // wild's frames differ from each other so the animation shows.
  for (int a = 0; a < 22; ++a) {
    if (MeanLuma(sheet, cell_rect(a)) < 15)
      Fail("symbol cell empty", QString("%1 cell %2").arg(path).arg(a));
    for (int b = a + 1; b < 22; ++b) {
      const double d = RegionDiff(sheet, cell_rect(a), sheet, cell_rect(b));
      const double need = (a <= 4 && b <= 4) ? 1.5 : 12.0;
      if (d < need)
        Fail("symbols look alike",
             QString("%1 cells %2 and %3 differ by %4").arg(path).arg(a).arg(b).arg(d));
    }
  }
}

void CheckSpinStrip(const QString& dir) {
  const QImage strip = Load(dir + "/main/spin_strip.jpg", 76, 912);
  if (strip.isNull()) return;
  // Scrolling wraps from the last row to the first: that join must be no harsher than the
  // roughest join between neighbouring rows inside the picture.
  double roughest = 0;
  for (int y = 0; y + 1 < strip.height(); ++y)
    roughest =
        std::max(roughest, RegionDiff(strip, QRect(0, y, 76, 1), strip, QRect(0, y + 1, 76, 1)));
  const double wrap = RegionDiff(strip, QRect(0, 911, 76, 1), strip, QRect(0, 0, 76, 1));
  if (wrap > roughest + 1.0) Fail("spinning strip has a seam", QString::number(wrap));
}

void CheckDigits(const QString& path) {
  const QImage digits = Load(path, 188, 21);
  if (digits.isNull()) return;
  if (MeanLuma(digits, QRect(160, 0, 16, 21)) != 0) Fail("blank digit cell not black", path);
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b)
      if (RegionDiff(digits, QRect(16 * a, 0, 16, 21), digits, QRect(16 * b, 0, 16, 21)) < 3)
        Fail("digits look alike", QString("%1: %2 and %3").arg(path).arg(a).arg(b));
  std::vector<QRgb> colours;
  for (int y = 0; y < 21; ++y)
    for (int x = 0; x < 188; ++x)
      if (std::find(colours.begin(), colours.end(), digits.pixel(x, y)) == colours.end())
        colours.push_back(digits.pixel(x, y));
  if (colours.size() > 16) Fail("digit strip has more than 16 colours", path);
}

}  // namespace

// A button picture lies on the dialog's own face: it must be see-through around its shape and
// solid over much of its area, or the button shows a box or nothing.
void CheckButtonPicture(const QString& path, int w, int h) {
  const QImage img = Load(path, w, h);
  if (img.isNull()) return;
  if (!img.hasAlphaChannel()) {
    Fail("no transparency", path);
    return;
  }
  if (qAlpha(img.pixel(0, 0)) != 0 || qAlpha(img.pixel(w - 1, 0)) != 0)
    Fail("top corners not transparent", path);
  int opaque = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) opaque += qAlpha(img.pixel(x, y)) == 255;
  if (opaque * 10 < w * h) Fail("mostly see-through", path);
}

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: zelmar-check-art ART_DIR\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  CheckBackground(dir);
  CheckMarkers(dir);
  CheckSpinStrip(dir);
  CheckSheet(dir + "/main/symbols.jpg", 76);
  for (int cell : {98, 110, 122, 152})
    CheckSheet(QString("%1/beside/Zelmar%2.jpg").arg(dir).arg(cell), cell);
  Load(dir + "/main/bet_max.jpg", 57, 68);
  Load(dir + "/main/spin.jpg", 58, 70);
  Load(dir + "/main/coin_dimmed.jpg", 57, 110);
  const QImage logo = Load(dir + "/main/logo.png", 125, 70);
  const QImage logo_mask = Load(dir + "/main/logo_mask.png", 125, 70);
  if (!logo.isNull() && logo.depth() < 24) Fail("logo is not 24-bit");
  CheckMasked("logo", logo, logo_mask);
  CheckDigits(dir + "/main/digits_red.png");
  CheckDigits(dir + "/main/digits_green.png");
  for (const char* chip : {"chip_1000", "chip_100", "chip_10", "chip_1"})
    CheckButtonPicture(QString("%1/main/%2.png").arg(dir, chip), 80, 57);
  CheckButtonPicture(dir + "/main/glyph_ok.png", 20, 20);
  CheckButtonPicture(dir + "/main/glyph_help.png", 20, 20);
  if (failures == 0) std::printf("art in %s: all checks passed\n", argv[1]);
  return failures == 0 ? 0 : 1;
}
