#include "preview.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <vector>

#include "layout.h"
#include "screen/fonts.h"

namespace art {

namespace {

// The start-up reels: the strips and stops that show the five scatter pieces across the
// middle row, so the mock shows the screen a player sees first.
const char* const kStrips[5] = {"G0E5HAJBCDKGEF5DHLCBHKIFJDGEAL", "6CGKBHLEAC0FDK6GHFCLADEIHBIFGJ",
                                "AELHFCG7BKDCFEGAHDB7IG0FHCJKLJ", "G08BFHKCIAD0EFVEGD8KHAEFVCIHJL",
                                "ALEB0HC9GDJEHFAGBEG0FDLHF9IJDK"};
const int kStops[5] = {3, 30, 7, 2, 7};
const int kMarkerRow[10] = {0, 4, 1, 7, 0, 8, 2, 6, 3, 5};

int Code(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'K') return 10 + (c - 'A');
  return 21;
}

class Screen {
 public:
  explicit Screen(int width) : width_(width), r_(width / 800.0) {}
  int S(int v) const { return static_cast<int>(static_cast<long double>(v) * r_); }
  int Width() const { return width_; }

 private:
  int width_;
  double r_;
};

QFont Font(const QString& family, int points, bool bold) {
  QFont f(family);
  f.setPixelSize((points * 96 + 36) / 72);
  f.setBold(bold);
  return f;
}
// The game's font for a text, in the face the game's faces stand in for here.
QFont Font(const FontBand& band) {
  return Font("Liberation Sans", band.size, band.bold);
}

void MaskedCopy(QImage& dst, const QRect& to, const QImage& mask, const QImage& pic,
                const QRect& from) {
  for (int y = 0; y < to.height(); ++y) {
    for (int x = 0; x < to.width(); ++x) {
      const int sx = from.left() + x * from.width() / to.width();
      const int sy = from.top() + y * from.height() / to.height();
      if (mask.pixelIndex(sx, sy) == 0 || qGray(mask.pixel(sx, sy)) < 128)
        dst.setPixel(to.left() + x, to.top() + y, pic.pixel(sx, sy));
    }
  }
}

}  // namespace

QImage MakePreview(const QString& dir, int screen_width, int lines_bet) {
  const Screen sc(screen_width);
  auto scale = [&](int v) { return sc.S(v); };
  const QImage bg = QImage(dir + "/main/background.jpg").convertToFormat(QImage::Format_RGB32);
  QImage sheet;
  int cell = 76;
  const int sheet_cell = screen_width == 1600   ? 152
                         : screen_width == 1280 ? 122
                         : screen_width == 1152 ? 110
                         : screen_width == 1024 ? 98
                                                : 0;
  if (sheet_cell) {
    sheet = QImage(QString("%1/beside/Zelmar%2.jpg").arg(dir).arg(sheet_cell));
    cell = sheet_cell;
  }
  if (sheet.isNull()) {
    sheet = QImage(dir + "/main/symbols.jpg");
    if (screen_width != 800) {
      sheet = sheet.scaled(scale(304), scale(456));
      cell = scale(76);
    }
  }
  const QImage lit = QImage(dir + "/main/line_bubbles.png").convertToFormat(QImage::Format_RGB32);
  const QImage dim =
      QImage(dir + "/main/line_bubbles_dim.png").convertToFormat(QImage::Format_RGB32);
  const QImage neg = QImage(dir + "/main/line_bubbles_mask.png");
  const QImage logo = QImage(dir + "/main/logo.png").convertToFormat(QImage::Format_RGB32);
  const QImage logo_mask = QImage(dir + "/main/logo_mask.png");
  const QImage green = QImage(dir + "/main/digits_green.png").convertToFormat(QImage::Format_RGB32);
  const QImage bet_max = QImage(dir + "/main/bet_max.jpg");
  const QImage spin = QImage(dir + "/main/spin.jpg");

  QImage out(scale(kDesignWidth), scale(layout::kDesignHeight), QImage::Format_RGB32);
  out.fill(Qt::black);
  {
    QPainter p(&out);
    p.drawImage(QRect(0, 0, scale(kDesignWidth), scale(layout::kDesignHeight)), bg);
  }
  const int reels_left = scale(layout::kReelsLeft), reels_top = scale(layout::kReelsTop),
            pitch = scale(layout::kReelPitch), h = cell / 2;

  // Markers.
  QPainter p(&out);
  auto marker = [&](int n, bool on) {
    const int r = kMarkerRow[n];
    const int top = scale(layout::kMarkersTop) + scale(layout::kMarkerRowHeight * r);
    p.end();
    MaskedCopy(out,
               QRect(scale(layout::kLeftMarkers.left), top, scale(layout::kLeftMarkers.width),
                     scale(layout::kMarkerRowHeight)),
               neg, on ? lit : dim, QRect(0, 25 * r, 42, 25));
    MaskedCopy(out,
               QRect(scale(layout::kRightMarkers.left), top, scale(layout::kRightMarkers.width),
                     scale(layout::kMarkerRowHeight)),
               neg, on ? lit : dim, QRect(49, 25 * r, 41, 25));
    p.begin(&out);
    if (!on) return;
    const int sw = sc.Width();
    p.setFont(Font(MarkerNumberFont(sw)));
    p.setPen(Qt::white);
    const QFontMetrics fm(p.font());
    const QString t = QString::number(n);
    const int tw = fm.horizontalAdvance(t), th = fm.height();
    int x =
        scale(layout::kLeftMarkers.left) +
        (r % 2 ? scale(layout::kLeftMarkers.number_odd) : scale(layout::kLeftMarkers.number_even)) -
        tw / 2;
    const int y = top + scale(layout::kMarkerNumberY) - th / 2;
    p.drawText(x, y + fm.ascent(), t);
    x = scale(layout::kRightMarkers.left) +
        (r % 2 ? scale(layout::kRightMarkers.number_odd)
               : scale(layout::kRightMarkers.number_even)) -
        tw / 2;
    p.drawText(x, y + fm.ascent(), t);
  };
  for (int n = 1; n <= 9; ++n) marker(n, n <= lines_bet);
  // Paths.
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int n = 1; n <= 9; ++n) {
    const int r = kMarkerRow[n];
    const int y0 = scale(layout::kMarkersTop) +
                   scale(layout::kMarkerRowHeight * r + layout::kMarkerNumberY),
              xs = reels_left - scale(layout::kPathOverhang),
              xe = reels_left + 4 * pitch + cell + scale(layout::kPathOverhang);
    p.end();
    const QColor colour = QColor::fromRgb(out.pixel(xs - 8, y0));
    p.begin(&out);
    struct Pt {
      int x, y, w;
    };
    std::vector<Pt> pts;
    switch (n) {
      case 1:
      case 2:
      case 3:
        pts = {{xe, y0, 3}};
        break;
      case 4:
        pts = {{reels_left + 2 * pitch + h, reels_top + 3 * cell - scale(5), 2}, {xe, y0, 2}};
        break;
      case 5:
        pts = {{reels_left + 2 * pitch + h, reels_top + scale(5), 2}, {xe, y0, 2}};
        break;
      case 6:
      case 7:
        pts = {{reels_left + pitch + h, y0, 3},
               {reels_left + 2 * pitch + h, reels_top + cell + h, 2},
               {reels_left + 3 * pitch + h, y0, 2},
               {xe, y0, 3}};
        break;
      case 8:
        pts = {{reels_left + h, y0, 3},
               {reels_left + pitch + h, reels_top + h - scale(6), 2},
               {reels_left + 3 * pitch + h, reels_top + h - scale(6), 3},
               {reels_left + 4 * pitch + h, y0, 2},
               {xe, y0, 3}};
        break;
      case 9:
        pts = {{reels_left + h, y0, 3},
               {reels_left + pitch + h, reels_top + 2 * cell + h + scale(6), 2},
               {reels_left + 3 * pitch + h, reels_top + 2 * cell + h + scale(6), 3},
               {reels_left + 4 * pitch + h, y0, 2},
               {xe, y0, 3}};
        break;
    }
    QPoint at(xs, y0);
    for (const Pt& pt : pts) {
      p.setPen(QPen(colour, scale(pt.w), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawLine(at, QPoint(pt.x, pt.y));
      at = QPoint(pt.x, pt.y);
    }
  }
  // Frames back over the paths.
  for (int i = 0; i < 5; ++i) {
    p.drawImage(QRect(scale(layout::kLeftFrameStripLeft) + i * pitch, scale(layout::kReelsTop),
                      scale(layout::kLeftFrameStrip), 3 * cell),
                bg, QRect(204 + 92 * i, 210, 4, 228));
    p.drawImage(QRect(scale(layout::kReelsLeft) + i * pitch + cell, scale(layout::kReelsTop),
                      scale(layout::kRightFrameStrip), 3 * cell),
                bg, QRect(283 + 92 * i, 210, 3, 228));
  }
  // Reels at rest.
  for (int r = 0; r < 5; ++r) {
    int pos = kStops[r];
    for (int k = 0; k < 3; ++k) {
      const int code = Code(kStrips[r][pos - 1]);
      p.drawImage(QRect(reels_left + r * pitch, reels_top + k * cell, cell, cell), sheet,
                  QRect((code % 4) * cell, (code / 4) * cell, cell, cell));
      pos = pos == 30 ? 1 : pos + 1;
    }
  }
  // Meter frame, labels and meters.
  p.fillRect(
      QRect(QPoint(scale(layout::kMeterFrame.left), scale(layout::kMeterFrame.top)),
            QPoint(scale(layout::kMeterFrame.right) - 1, scale(layout::kMeterFrame.bottom) - 1)),
      Qt::black);
  const int sw = sc.Width();
  p.setFont(Font(MeterLabelFont(sw)));
  p.setPen(Qt::white);
  const QFontMetrics lm(p.font());
  p.drawText(scale(layout::kCoinsLabelX), scale(layout::kMeterLabelY) + lm.ascent(), " Coins: ");
  p.drawText(scale(layout::kWinningsLabelX), scale(layout::kMeterLabelY) + lm.ascent(),
             " Winnings: ");
  p.drawText(scale(layout::kCreditsLabelX), scale(layout::kMeterLabelY) + lm.ascent(),
             " Credits: ");
  auto number = [&](int value, int right) {
    const QString t = QString::number(value);
    int x = right - 16 * static_cast<int>(t.size());
    for (QChar ch : t) {
      const int d = ch.digitValue();
      p.drawImage(QRect(x, scale(layout::kMeterFrame.top) + layout::kMeterDigitsDrop, 16, 21),
                  green, QRect(16 * d, 0, 16, 21));
      x += 16;
    }
  };
  number(0, scale(layout::kBetMeterRight));
  number(1000, scale(layout::kCreditsMeterRight));
  p.setPen(Qt::white);
  p.drawText(QPoint(scale(layout::kSlotLabelX) - lm.horizontalAdvance("Insert") / 2,
                    scale(layout::kInsertLabelY) - lm.height() / 2 + lm.ascent()),
             "Insert");
  p.setPen(Qt::black);
  p.drawText(QPoint(scale(layout::kSlotLabelX) - lm.horizontalAdvance("Coins") / 2,
                    scale(layout::kCoinsLabelY) - lm.height() / 2 + lm.ascent()),
             "Coins");
  // Bet keys.
  const QRgb unlit = bg.pixel(layout::kKeyColourX, layout::kKeyColourY);
  for (int k = 0; k < layout::kBetKeys; ++k) {
    const bool on = k == 4 || k == 5;
    const auto& [caption, left, top, width] = layout::kBetKeyTable[k];
    p.fillRect(QRect(QPoint(scale(left), scale(top)),
                     QPoint(scale(left + width) - 1, scale(top + layout::kBetKeyHeight) - 1)),
               on ? QColor(Qt::white) : QColor::fromRgb(unlit));
    p.setFont(Font(BetKeyFont(sw)));
    p.setPen(on ? Qt::black : QColor(128, 128, 128));
    const QFontMetrics km(p.font());
    const int cx = scale(left + layout::kBetCaptionCentre) -
                   km.horizontalAdvance(QString::fromLatin1(caption)) / 2;
    const int cy = scale(top + (k < 5 ? 4 : 5)) - km.height() / 2;
    p.drawText(cx, cy + km.ascent(), QString::fromLatin1(caption));
  }
  // BET MAX and SPIN lit.
  p.drawImage(
      QRect(scale(542), scale(485), scale(542 + 57) - scale(542), scale(485 + 34) - scale(485)),
      bet_max, QRect(0, 34, 57, 34));
  p.drawImage(
      QRect(scale(606), scale(485), scale(606 + 58) - scale(606), scale(485 + 35) - scale(485)),
      spin, QRect(0, 35, 58, 35));
  // Coin value.
  p.setFont(Font(CoinFigureFont(sw)));
  p.setPen(Qt::black);
  const QFontMetrics bm(p.font());
  int x = scale(687) - bm.horizontalAdvance(QString::fromUtf8("5¢")) + scale(4);
  p.drawText(x, scale(22) + bm.ascent(), "5");
  x += bm.horizontalAdvance("5");
  p.setFont(Font(CentSignFont(sw)));
  p.drawText(x, scale(22) + QFontMetrics(p.font()).ascent(), QString::fromUtf8("¢"));
  p.end();
  MaskedCopy(out, QRect((scale(140) - 125) / 2, scale(10), 125, 70), logo_mask, logo,
             QRect(0, 0, 125, 70));
  return out;
}

}  // namespace art
