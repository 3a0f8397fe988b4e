// zelmar-check-art ART_DIR: verifies the committed pictures against what the game relies on.
// Prints every failure and exits 1 if there was one.
// zelmar-check-art --same PICTURE OTHER: exits 0 if the two are the same picture to within the
// rounding in which drawing code tuned for different processors may differ; else says how far
// apart they are and exits 1.
//
// The game reads pixels of the art at fixed places and masks pictures onto each other, so a
// picture that merely looks right can still break the screen: a marker whose sampled pixel is
// off colours a payline path wrongly, a logo that is not black outside its mask smears the
// cabinet, a spinning strip with a seam flickers at the wrap. Those are checked here.
//
// The cabinet's pictures also come as masters at twice and four times the design size
// (<stem>_2x.<ext>, <stem>_4x.<ext>), which the game reduces on large screens. Each master is
// checked for its exact size, for masks that are pure black and white and match their pictures,
// for the same pixel-level properties as the design-size picture at the corresponding scaled
// places (a design pixel at x, y covers the k x k pixels from k*x, k*y), and for showing the same
// design: reduced to the design size, it must look like the design-size picture.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "layout.h"
#include "screen/scale.h"

namespace {

int failures = 0;

void Fail(const char* what, const QString& detail = {}) {
  ++failures;
  std::fprintf(stderr, "FAIL %s %s\n", what, qPrintable(detail));
}

// Pictures the generator draws on one processor and on another may differ in the last bit of a
// few antialiased edge pixels (Qt picks its blending routines by the instruction set): seen at
// most 1 level of 255 on 17 of 72,960 pixels. A real change to the art moves far more.
constexpr int kRoundingLevels = 4;
constexpr double kRoundingShare = 0.01;

int ComparePictures(const QString& path, const QString& other_path) {
  const QImage a = QImage(path).convertToFormat(QImage::Format_ARGB32);
  const QImage b = QImage(other_path).convertToFormat(QImage::Format_ARGB32);
  if (a.isNull() || b.isNull() || a.size() != b.size()) {
    std::printf("%s and %s are not pictures of one size\n", qPrintable(path),
                qPrintable(other_path));
    return 1;
  }
  int largest = 0;
  long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      const int off = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
      largest = std::max(largest, off);
      differing += off > 0 ? 1 : 0;
    }
  }
  const long pixels = static_cast<long>(a.width()) * a.height();
  if (largest <= kRoundingLevels && differing <= kRoundingShare * pixels) return 0;
  std::printf("%ld of %ld pixels differ, by up to %d levels\n", differing, pixels, largest);
  return 1;
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

// The file name of a picture at a scale: <stem>.<ext> at 1, <stem>_2x.<ext> and <stem>_4x.<ext>.
QString Master(const QString& dir, const char* stem, int k, const char* ext) {
  const QString suffix = k == 1 ? QString() : QString("_%1x").arg(k);
  return QString("%1/main/%2%3.%4").arg(dir, QLatin1String(stem), suffix, QLatin1String(ext));
}

// A rectangle of the design grid in the pixels of a picture k times the design size.
QRect Up(const QRect& r, int k) {
  return QRect(r.x() * k, r.y() * k, r.width() * k, r.height() * k);
}

// Nearest-neighbour stretch as the game's canvas does it: floor(d * sn / dn).
int SourceOffset(int d, int sn, int dn) {
  return static_cast<int>(int64_t{d} * sn / dn);
}

void CheckMasked(const QString& name, const QImage& pic, const QImage& mask) {
  if (pic.isNull() || mask.isNull()) return;
  if (pic.size() != mask.size()) {
    Fail("mask and picture differ in size", name);
    return;
  }
  if (mask.depth() != 1) Fail("mask is not 1 bit", name);
  for (QRgb c : mask.colorTable())
    if ((c & 0xffffff) != 0 && (c & 0xffffff) != 0xffffff)
      Fail("mask is not pure black and white", name);
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

// The markers at scale k (1, 2 or 4).
void CheckMarkers(const QString& dir, int k) {
  const QString lit_path = Master(dir, "line_bubbles", k, "png");
  const QString dim_path = Master(dir, "line_bubbles_dim", k, "png");
  const QImage lit = Load(lit_path, 90 * k, 225 * k);
  const QImage dim = Load(dim_path, 90 * k, 225 * k);
  const QImage mask = Load(Master(dir, "line_bubbles_mask", k, "png"), 90 * k, 225 * k);
  if (lit.isNull() || dim.isNull() || mask.isNull()) return;
  if (lit.depth() < 24 || dim.depth() < 24) Fail("marker pictures are not 24-bit", lit_path);
  CheckMasked(lit_path, lit, mask);
  CheckMasked(dim_path, dim, mask);
  for (int row = 0; row < 9; ++row) {
    const QRgb colour = art::kRowColour[row];
    // Horizontal extent of the marker shapes: even rows 2..68, odd rows 21..87 (design pixels).
    int min_x = 90 * k, max_x = -1;
    for (int y = 25 * row * k; y < 25 * (row + 1) * k; ++y)
      for (int x = 0; x < 90 * k; ++x)
        if (MaskOpaque(mask, x, y)) min_x = std::min(min_x, x), max_x = std::max(max_x, x);
    const int want_min = (row % 2 ? 21 : 2) * k, want_max = (row % 2 ? 87 : 68) * k + k - 1;
    if (min_x != want_min || max_x != want_max)
      Fail("marker row extent",
           QString("%1 row %2 spans %3..%4").arg(lit_path).arg(row).arg(min_x).arg(max_x));
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
      const QString where = QString("%1 row %2 width %3 art %4,%5")
                                .arg(lit_path)
                                .arg(row)
                                .arg(width)
                                .arg(art_x)
                                .arg(art_y);
      // Every pixel of the master that the design pixel covers.
      bool failed = false;
      for (int y = art_y * k; y < (art_y + 1) * k && !failed; ++y) {
        for (int x = art_x * k; x < (art_x + 1) * k && !failed; ++x) {
          failed = true;
          if (!MaskOpaque(mask, x, y)) {
            Fail("path sample outside the marker", where);
            continue;
          }
          if ((lit.pixel(x, y) & 0xffffff) != (colour & 0xffffff)) {
            Fail("lit marker sample is not the row colour", where);
            continue;
          }
          const QRgb d = dim.pixel(x, y);
          if (row % 2 == 0) {
            if ((d & 0xffffff) != (colour & 0xffffff)) {
              Fail("dim bar sample is not the row colour", where);
              continue;
            }
          } else if (Luma(d) > 0.6 * Luma(colour) || (d & 0xffffff) == 0) {
            Fail("dim square sample is not a darker row colour", where);
            continue;
          }
          failed = false;
        }
      }
    }
  }
}

// The background at scale k (1, 2 or 4).
void CheckBackground(const QString& dir, int k) {
  const QString path = Master(dir, "background", k, "jpg");
  const QImage bg = Load(path, kDesignWidth * k, layout::kDesignHeight * k);
  if (bg.isNull()) return;
  // Unlit bet keys are filled with the pixel at (188, 492); the key faces of the art must be
  // that colour all over so a key the game redraws looks like the art's key. In a master every
  // pixel the design pixel covers is that colour.
  const QRect sample = Up(QRect(layout::kKeyColourX, layout::kKeyColourY, 1, 1), k);
  const QRgb key_colour = bg.pixel(sample.topLeft());
  for (int y = sample.top(); y <= sample.bottom(); ++y)
    for (int x = sample.left(); x <= sample.right(); ++x)
      if (MaxChannelDiff(bg.pixel(x, y), art::kKeyFace) > 6)
        Fail("unlit key colour drifted", QString("%1 at %2,%3").arg(path).arg(x).arg(y));
  for (const layout::BetKey& bet_key : layout::kBetKeyTable) {
    const QRect key = Up(QRect(bet_key.left, bet_key.top, bet_key.width, layout::kBetKeyHeight), k);
    for (int y = key.top(); y <= key.bottom(); ++y)
      for (int x = key.left(); x <= key.right(); ++x)
        if (MaxChannelDiff(bg.pixel(x, y), key_colour) > 12) {
          Fail("bet key face not flat", QString("%1 key %2 at %3,%4")
                                            .arg(path)
                                            .arg(QString::fromLatin1(bet_key.caption))
                                            .arg(x)
                                            .arg(y));
          y = key.bottom() + 1;
          break;
        }
  }
  // The coin value is written in black inside the white box.
  if (MeanLuma(bg, Up(art::kCoinBox.adjusted(4, 4, -4, -4), k)) < 245)
    Fail("coin box is not white", path);
  // "Insert" is white on the slot plate, "Coins" black under it.
  if (MeanLuma(bg, Up(QRect(698, 466, 24, 10), k)) > 70)
    Fail("plate under Insert is not dark", path);
  if (MeanLuma(bg, Up(QRect(698, 481, 24, 10), k)) < 170)
    Fail("plate under Coins is not light", path);
  // The frame strips must read as a frame against the dark gaps where the paths show.
  for (int i = 0; i < art::kReels; ++i) {
    const int left = layout::kReelsLeft - layout::kLeftFrameStrip + i * layout::kReelPitch;
    const QRect left_strip(left, layout::kReelsTop, layout::kLeftFrameStrip, art::kReelHeight);
    const QRect right_strip(layout::kReelsLeft + layout::kCell + i * layout::kReelPitch,
                            layout::kReelsTop, layout::kRightFrameStrip, art::kReelHeight);
    if (MeanLuma(bg, Up(left_strip, k)) < 90 || MeanLuma(bg, Up(right_strip, k)) < 70)
      Fail("reel frame strip too dark", QString("%1 reel %2").arg(path).arg(i));
    if (i < art::kReels - 1) {
      const QRect gap(right_strip.right() + 1, layout::kReelsTop, 10, art::kReelHeight);
      if (MeanLuma(bg, Up(gap, k)) > 45)
        Fail("gap between reels too light for paths", QString("%1 reel %2").arg(path).arg(i));
    }
  }
  if (MeanLuma(bg, Up(art::kLeftMarkers, k)) > 30 || MeanLuma(bg, Up(art::kRightMarkers, k)) > 30)
    Fail("payline marker backdrop not dark", path);
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

// The spinning strip at scale k (1, 2 or 4).
void CheckSpinStrip(const QString& dir, int k) {
  const QString path = Master(dir, "spin_strip", k, "jpg");
  const int w = 76 * k, h = 912 * k;
  const QImage strip = Load(path, w, h);
  if (strip.isNull()) return;
  // Scrolling wraps from the last row to the first: that join must be no harsher than the
  // roughest join between neighbouring rows inside the picture.
  double roughest = 0;
  for (int y = 0; y + 1 < h; ++y)
    roughest =
        std::max(roughest, RegionDiff(strip, QRect(0, y, w, 1), strip, QRect(0, y + 1, w, 1)));
  const double wrap = RegionDiff(strip, QRect(0, h - 1, w, 1), strip, QRect(0, 0, w, 1));
  if (wrap > roughest + 1.0)
    Fail("spinning strip has a seam", QString("%1: %2").arg(path).arg(wrap));
}

// A master shows the design of the design-size picture: reduced to that size, it differs from it
// on average by no more than limit (0..255 per channel). This catches a master drawn at the
// wrong place or scale, or from other drawing code.
void CheckSameDesign(const QString& master_path, const QString& design_path, double limit) {
  const QImage master(master_path), design(design_path);
  if (master.isNull() || design.isNull()) return;  // already reported
  // Pictures with transparency are compared as they look over a grey face.
  auto over_grey = [](const QImage& img) {
    QImage out(img.size(), QImage::Format_RGB32);
    out.fill(QColor(128, 128, 128));
    QPainter p(&out);
    p.drawImage(0, 0, img);
    return out;
  };
  const QImage reduced =
      over_grey(master.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                    .scaled(design.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  const QImage one = over_grey(design);
  const double d = RegionDiff(reduced, reduced.rect(), one, one.rect());
  if (d > limit)
    Fail("master does not show the design",
         QString("%1 reduced differs from %2 by %3").arg(master_path, design_path).arg(d));
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
  if (argc == 4 && std::strcmp(argv[1], "--same") == 0) {
    return ComparePictures(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
  }
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: zelmar-check-art ART_DIR\n       zelmar-check-art --same PICTURE OTHER\n");
    return 2;
  }
  const QString dir = QString::fromLocal8Bit(argv[1]);
  // The cabinet's pictures at the design size and as the 2x and 4x masters.
  for (int k : {1, 2, 4}) {
    CheckBackground(dir, k);
    CheckMarkers(dir, k);
    CheckSpinStrip(dir, k);
    Load(Master(dir, "bet_max", k, "jpg"), 57 * k, 68 * k);
    Load(Master(dir, "spin", k, "jpg"), 58 * k, 70 * k);
    Load(Master(dir, "coin_dimmed", k, "jpg"), 57 * k, 110 * k);
    const QString logo_path = Master(dir, "logo", k, "png");
    const QImage logo = Load(logo_path, 125 * k, 70 * k);
    const QImage logo_mask = Load(Master(dir, "logo_mask", k, "png"), 125 * k, 70 * k);
    if (!logo.isNull() && logo.depth() < 24) Fail("logo is not 24-bit", logo_path);
    CheckMasked(logo_path, logo, logo_mask);
    for (const char* chip : {"chip_1000", "chip_100", "chip_10", "chip_1"})
      CheckButtonPicture(Master(dir, chip, k, "png"), 80 * k, 57 * k);
  }
  // Each master reduced to the design size looks like the design-size picture. The limits leave
  // room for the finer edges and lettering of the masters and for JPEG (the masters measured
  // 0.1 to 5.2 when they were made); the design-size pictures moved by a single pixel differ
  // from themselves by 8 (background) to 21 (bet_max).
  struct Pair {
    const char* stem;
    const char* ext;
    double limit;
  };
  for (const Pair& pair :
       {Pair{"background", "jpg", 4}, Pair{"spin_strip", "jpg", 4.5}, Pair{"bet_max", "jpg", 8},
        Pair{"spin", "jpg", 8}, Pair{"coin_dimmed", "jpg", 8}, Pair{"logo", "png", 4},
        Pair{"logo_mask", "png", 7}, Pair{"line_bubbles", "png", 3},
        Pair{"line_bubbles_dim", "png", 3}, Pair{"line_bubbles_mask", "png", 3},
        Pair{"chip_1000", "png", 3}, Pair{"chip_100", "png", 3}, Pair{"chip_10", "png", 3},
        Pair{"chip_1", "png", 3}})
    for (int k : {2, 4})
      CheckSameDesign(Master(dir, pair.stem, k, pair.ext), Master(dir, pair.stem, 1, pair.ext),
                      pair.limit);
  CheckSheet(dir + "/main/symbols.jpg", 76);
  CheckSheet(dir + "/main/symbols_304.jpg", 304);
  for (int cell : {98, 110, 122, 152})
    CheckSheet(QString("%1/beside/Zelmar%2.jpg").arg(dir).arg(cell), cell);
  CheckDigits(dir + "/main/digits_red.png");
  CheckDigits(dir + "/main/digits_green.png");
  CheckButtonPicture(dir + "/main/glyph_ok.png", 20, 20);
  CheckButtonPicture(dir + "/main/glyph_help.png", 20, 20);
  if (failures == 0) std::printf("art in %s: all checks passed\n", argv[1]);
  return failures == 0 ? 0 : 1;
}
