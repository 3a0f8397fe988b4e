#include "small_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "layout.h"
#include "paint_kit.h"

namespace art {

namespace {

// One state of a push key: a rounded cap in a dark housing, with a caption. Lit keys glow.
void PaintKeyCap(QPainter& p, const QRectF& r, const QColor& face, bool lit,
                 const QStringList& caption, const QColor& text_colour, double text_pixels) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(r, QColor(18, 18, 22));
  const QRectF cap = r.adjusted(1.5, 1.5, -1.5, -1.5);
  // Housing ring.
  p.setPen(QPen(QColor(150, 154, 164), 1.0));
  p.setBrush(QColor(40, 42, 48));
  p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
  QLinearGradient body(cap.topLeft(), cap.bottomLeft());
  body.setColorAt(0.0, Mix(face, Qt::white, lit ? 0.55 : 0.25));
  body.setColorAt(0.48, face);
  body.setColorAt(0.52, Scaled(face, 0.82));
  body.setColorAt(1.0, Scaled(face, lit ? 0.75 : 0.55));
  p.setPen(QPen(Scaled(face, 0.4), 1.0));
  p.setBrush(body);
  p.drawRoundedRect(cap, 5, 5);
  if (lit) {
    QRadialGradient glow(cap.center(), cap.width() * 0.6);
    glow.setColorAt(0, QColor(255, 255, 255, 90));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawRoundedRect(cap, 5, 5);
  }
  // Gloss on the upper third.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, lit ? 90 : 45));
  p.drawRoundedRect(QRectF(cap.left() + 3, cap.top() + 1.5, cap.width() - 6, cap.height() * 0.3), 3,
                    3);
  const QFont font = PixelFont(QStringLiteral("DejaVu Sans"), text_pixels, QFont::Black);
  const double line_h = text_pixels * 1.02;
  const double top = cap.center().y() - line_h * caption.size() / 2.0;
  for (int i = 0; i < caption.size(); ++i) {
    const QRectF line(cap.left(), top + i * line_h, cap.width(), line_h);
    QPainterPath path = TextPath(caption[i], font, line);
    Lettering(p, path, text_colour, lit ? Scaled(face, 0.35) : QColor(0, 0, 0, 0), lit ? 2.0 : 0.0);
  }
  p.restore();
}

QImage TwoStateKey(int w, int h, const QColor& face, const QStringList& caption, double text_pixels,
                   int scale) {
  QImage key(w * scale, h * scale, QImage::Format_RGB32);
  key.fill(Qt::black);
  QPainter p(&key);
  if (scale != 1) p.scale(scale, scale);
  const int half = h / 2;
  PaintKeyCap(p, QRectF(0, 0, w, half), Scaled(face, 0.45), false, caption, QColor(150, 150, 150),
              text_pixels);
  PaintKeyCap(p, QRectF(0, half, w, h - half), face, true, caption, QColor(255, 255, 255),
              text_pixels);
  return key;
}

QImage ToMono(const QImage& shape_alpha, int threshold) {
  QImage mask(shape_alpha.size(), QImage::Format_Mono);
  mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  // Clear every bit, row padding included, so the saved file is the same on every run.
  mask.fill(1);
  for (int y = 0; y < shape_alpha.height(); ++y)
    for (int x = 0; x < shape_alpha.width(); ++x)
      mask.setPixel(x, y, qAlpha(shape_alpha.pixel(x, y)) >= threshold ? 0 : 1);
  return mask;
}

}  // namespace

QImage MakeBetMaxKey(int scale) {
  return TwoStateKey(kBetMaxKey.width(), 2 * kBetMaxKey.height(), QColor(40, 120, 245),
                     {QStringLiteral("BET"), QStringLiteral("MAX")}, 11, scale);
}

QImage MakeSpinKey(int scale) {
  return TwoStateKey(kSpinKey.width(), 2 * kSpinKey.height(), QColor(30, 200, 60),
                     {QStringLiteral("SPIN")}, 15, scale);
}

QImage MakeCoinKey(int scale) {
  QImage key(57 * scale, 110 * scale, QImage::Format_RGB32);
  key.fill(Qt::black);
  QPainter p(&key);
  p.setRenderHint(QPainter::Antialiasing);
  if (scale != 1) p.scale(scale, scale);
  for (int state = 0; state < 2; ++state) {
    const bool lit = state == 1;
    const QRectF r(0, state * 55, 57, 55);
    const QColor face = lit ? QColor(214, 40, 40) : QColor(90, 26, 26);
    PaintKeyCap(p, r, face, lit, {}, Qt::white, 10);
    // A gold coin on the cap with the caption under it.
    const QPointF c(r.center().x(), r.top() + 21);
    QRadialGradient gold(c - QPointF(4, 4), 16);
    gold.setColorAt(0, lit ? QColor(255, 246, 180) : QColor(150, 130, 80));
    gold.setColorAt(0.6, lit ? QColor(240, 180, 40) : QColor(120, 90, 30));
    gold.setColorAt(1, lit ? QColor(150, 90, 10) : QColor(70, 50, 10));
    p.setPen(QPen(lit ? QColor(110, 60, 0) : QColor(50, 36, 10), 1.2));
    p.setBrush(gold);
    p.drawEllipse(c, 13, 13);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, 10, 10);
    const QFont coin = PixelFont(QStringLiteral("DejaVu Serif"), 13, QFont::Black);
    Lettering(p, TextPath(QStringLiteral("1"), coin, QRectF(c.x() - 10, c.y() - 10, 20, 20)),
              lit ? QColor(120, 60, 0) : QColor(60, 40, 10), QColor(0, 0, 0, 0), 0);
    const QFont cap = PixelFont(QStringLiteral("DejaVu Sans"), 9, QFont::Black);
    Lettering(p, TextPath(QStringLiteral("BET ONE"), cap, QRectF(r.left(), r.top() + 37, 57, 12)),
              lit ? QColor(255, 255, 255) : QColor(150, 140, 140), QColor(0, 0, 0, 0), 0);
  }
  return key;
}

Masked MakeLogo(int scale) {
  const int w = 125, h = 70;
  QImage rgba(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
  rgba.fill(Qt::transparent);
  {
    QPainter p(&rgba);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    if (scale != 1) p.scale(scale, scale);
    // ZELMAR: heavy gold capitals with a dark outline, slightly slanted.
    QFont big = PixelFont(QStringLiteral("DejaVu Sans"), 36, QFont::Black);
    big.setLetterSpacing(QFont::AbsoluteSpacing, -1.0);
    QPainterPath word = TextPath(QStringLiteral("ZELMAR"), big, QRectF(0, 2, w, 40));
    QRectF b = word.boundingRect();
    QTransform fit;
    fit.translate(w / 2.0, b.center().y());
    fit.shear(-0.12, 0);
    fit.scale(113.0 / b.width(), 32.0 / b.height());
    fit.translate(-b.center().x(), -b.center().y());
    word = fit.map(word);
    b = word.boundingRect();
    QLinearGradient gold(QPointF(0, b.top()), QPointF(0, b.bottom()));
    gold.setColorAt(0.0, QColor(255, 252, 214));
    gold.setColorAt(0.42, QColor(255, 208, 52));
    gold.setColorAt(0.5, QColor(214, 132, 8));
    gold.setColorAt(0.75, QColor(255, 196, 40));
    gold.setColorAt(1.0, QColor(255, 236, 140));
    Lettering(p, word, QColor(0, 0, 0, 0), QColor(20, 8, 0), 5.0);
    Lettering(p, word, gold, QColor(150, 20, 10), 2.4);
    // SLOTS on a red ribbon under the name.
    QPainterPath ribbon;
    const double rt = 43, rb = 65;
    ribbon.moveTo(14, rt);
    ribbon.lineTo(w - 14, rt);
    ribbon.lineTo(w - 6, (rt + rb) / 2);
    ribbon.lineTo(w - 14, rb);
    ribbon.lineTo(14, rb);
    ribbon.lineTo(6, (rt + rb) / 2);
    ribbon.closeSubpath();
    QLinearGradient red(QPointF(0, rt), QPointF(0, rb));
    red.setColorAt(0, QColor(255, 110, 90));
    red.setColorAt(0.45, QColor(210, 20, 24));
    red.setColorAt(1, QColor(120, 0, 10));
    p.setPen(QPen(QColor(20, 8, 0), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(red);
    p.drawPath(ribbon);
    p.setPen(QPen(QColor(255, 220, 120), 1.0));
    p.setBrush(Qt::NoBrush);
    QTransform inset;
    inset.translate(w / 2.0, (rt + rb) / 2);
    inset.scale(0.95, 0.78);
    inset.translate(-w / 2.0, -(rt + rb) / 2);
    p.drawPath(inset.map(ribbon));
    QFont ribbon_font = PixelFont(QStringLiteral("DejaVu Sans"), 15, QFont::Black);
    ribbon_font.setLetterSpacing(QFont::AbsoluteSpacing, 4.0);
    QPainterPath slots_word =
        TextPath(QStringLiteral("SLOTS"), ribbon_font, QRectF(0, rt, w, rb - rt));
    Lettering(p, slots_word, QColor(255, 255, 255), QColor(60, 0, 0), 2.0);
    // Two small stars either side of the ribbon's text.
    for (double x : {24.0, w - 24.0}) {
      QPolygonF star;
      const QPointF c(x, (rt + rb) / 2);
      for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5;
        const double r = k % 2 ? 2.2 : 5.0;
        star << c + QPointF(r * std::cos(a), r * std::sin(a));
      }
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 226, 90));
      p.drawPolygon(star);
    }
  }
  Masked out;
  out.mask = ToMono(rgba, 128);
  out.picture = QImage(rgba.size(), QImage::Format_RGB32);
  for (int y = 0; y < rgba.height(); ++y) {
    for (int x = 0; x < rgba.width(); ++x) {
      // Shape pixels are the logo over black (its edge is a dark outline, so the hard mask
      // edge does not show a fringe); everything outside the mask is pure black.
      const QRgb c = rgba.pixel(x, y);
      out.picture.setPixel(
          x, y,
          out.mask.pixelIndex(x, y) == 0 ? qRgb(qRed(c), qGreen(c), qBlue(c)) : qRgb(0, 0, 0));
    }
  }
  return out;
}

Span MarkerSquare(int row, bool left_square) {
  // Even rows span x 2..68, odd rows 21..87. The odd rows' left square reaches to x 40 inside
  // its outline because the payline path samples its colour at x 34..40 of this art,
  // depending on the screen width.
  if (row % 2 == 0) return left_square ? Span{2, 19} : Span{50, 19};
  return left_square ? Span{21, 21} : Span{69, 19};
}

Markers MakeLineMarkers(int scale) {
  const int w = 90, h = 225;
  Markers m;
  m.lit = QImage(w * scale, h * scale, QImage::Format_RGB32);
  m.dim = QImage(w * scale, h * scale, QImage::Format_RGB32);
  m.lit.fill(Qt::black);
  m.dim.fill(Qt::black);
  QImage shape(w * scale, h * scale, QImage::Format_ARGB32);
  shape.fill(Qt::transparent);
  // The bars are drawn on the design's pixel grid: at scale k each design pixel of a bar is a
  // k x k block, so the colours the game samples are those of the design at every size.
  auto put = [&](QImage& image, int x, int y, QRgb colour) {
    for (int dy = 0; dy < scale; ++dy)
      for (int dx = 0; dx < scale; ++dx) image.setPixel(x * scale + dx, y * scale + dy, colour);
  };
  for (int row = 0; row < 9; ++row) {
    const QColor colour = QColor::fromRgb(kRowColour[row]);
    const int y0 = row * 25;
    // Bar between the squares, flat in the row colour (the paths of even rows sample it), with
    // a darker edge along its top and bottom.
    const Span l = MarkerSquare(row, true), r = MarkerSquare(row, false);
    for (int x = l.left + l.width; x < r.left; ++x) {
      for (int y = kMarkerBarTop; y < kMarkerBarTop + kMarkerBarHeight; ++y) {
        const bool edge = y == kMarkerBarTop || y == kMarkerBarTop + kMarkerBarHeight - 1;
        const QColor c = edge ? Scaled(colour, 0.6) : colour;
        put(m.lit, x, y0 + y, c.rgb());
        put(m.dim, x, y0 + y, c.rgb());
        put(shape, x, y0 + y, 0xff000000);
      }
    }
    // The squares: rounded rectangles with a one-pixel outline, tested at the centre of each
    // picture pixel in design pixels. A corner radius of 2 cuts exactly the corner pixel at the
    // design size and draws a round corner, outline following it, in the masters.
    constexpr double kCorner = 2.0;
    const int yd0 = (y0 + kMarkerSquareTop) * scale;
    for (const Span& s : {l, r}) {
      const double w_s = s.width, h_s = kMarkerSquareHeight;
      for (int yd = yd0; yd < yd0 + kMarkerSquareHeight * scale; ++yd) {
        for (int xd = s.left * scale; xd < (s.left + s.width) * scale; ++xd) {
          const double u = (xd + 0.5) / scale - s.left, v = (yd - yd0 + 0.5) / scale;
          const double corner = std::hypot(u - std::clamp(u, kCorner, w_s - kCorner),
                                           v - std::clamp(v, kCorner, h_s - kCorner));
          if (corner > kCorner) continue;  // rounded corners
          const bool outline = u < 1 || v < 1 || u > w_s - 1 || v > h_s - 1 || corner > kCorner - 1;
          // A glossy band across the upper rows; the rows from 9 down stay flat so the
          // colour the game samples there is the exact row colour.
          const int gy = static_cast<int>(v);
          const double gloss = outline ? 0.0 : gy <= 2 ? 0.45 : gy <= 4 ? 0.25 : 0.0;
          const QColor lit_c = outline ? Scaled(colour, 0.55) : Mix(colour, Qt::white, gloss);
          const QColor dim_base = Scaled(colour, 0.4);
          const QColor dim_c =
              outline ? Scaled(colour, 0.25) : Mix(dim_base, Qt::white, gloss * 0.35);
          m.lit.setPixel(xd, yd, lit_c.rgb());
          m.dim.setPixel(xd, yd, dim_c.rgb());
          shape.setPixel(xd, yd, 0xff000000);
        }
      }
    }
  }
  m.mask = ToMono(shape, 128);
  return m;
}

QImage MakeDigitStrip(QColor lit, QColor unlit) {
  const int w = 188, h = 21;
  // Segment outlines of one digit in cell coordinates, slanted a little like a real meter.
  constexpr double kLeftEdge = 2.6, kRightEdge = 13.0, kTopEdge = 1.6, kBottomEdge = 19.4;
  constexpr double kMiddle = (kTopEdge + kBottomEdge) / 2, kThickness = 2.6, kGap = 0.55;
  auto hseg = [&](double yc) {
    return QPolygonF({QPointF(kLeftEdge + kGap, yc),
                      QPointF(kLeftEdge + kGap + kThickness / 2, yc - kThickness / 2),
                      QPointF(kRightEdge - kGap - kThickness / 2, yc - kThickness / 2),
                      QPointF(kRightEdge - kGap, yc),
                      QPointF(kRightEdge - kGap - kThickness / 2, yc + kThickness / 2),
                      QPointF(kLeftEdge + kGap + kThickness / 2, yc + kThickness / 2)});
  };
  auto vseg = [&](double xc, double y1, double y2) {
    return QPolygonF(
        {QPointF(xc, y1 + kGap), QPointF(xc + kThickness / 2, y1 + kGap + kThickness / 2),
         QPointF(xc + kThickness / 2, y2 - kGap - kThickness / 2), QPointF(xc, y2 - kGap),
         QPointF(xc - kThickness / 2, y2 - kGap - kThickness / 2),
         QPointF(xc - kThickness / 2, y1 + kGap + kThickness / 2)});
  };
  const double top = kTopEdge + kThickness / 2, bottom = kBottomEdge - kThickness / 2,
               left = kLeftEdge + kThickness / 2, right = kRightEdge - kThickness / 2;
  // a b c d e f g
  const std::array<QPolygonF, 7> segs = {
      hseg(top),    vseg(right, top, kMiddle),   vseg(right, kMiddle, bottom),
      hseg(bottom), vseg(left, kMiddle, bottom), vseg(left, top, kMiddle),
      hseg(kMiddle)};
  static constexpr const char* kOn[10] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                          "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
  QTransform slant(1, 0, -0.09, 1, 0.09 * kMiddle, 0);

  QImage lit_cover(w, h, QImage::Format_ARGB32_Premultiplied);
  QImage unlit_cover(w, h, QImage::Format_ARGB32_Premultiplied);
  lit_cover.fill(Qt::transparent);
  unlit_cover.fill(Qt::transparent);
  {
    QPainter pl(&lit_cover), pu(&unlit_cover);
    for (QPainter* p : {&pl, &pu}) {
      p->setRenderHint(QPainter::Antialiasing);
      p->setPen(Qt::NoPen);
      p->setBrush(Qt::white);
    }
    for (int d = 0; d < 10; ++d) {
      for (int s = 0; s < 7; ++s) {
        const bool on =
            std::string_view(kOn[d]).find(static_cast<char>('a' + s)) != std::string_view::npos;
        QPainter& p = on ? pl : pu;
        p.drawPolygon(slant.map(segs[s]).translated(16.0 * d, 0));
      }
    }
    // Colon: two lit dots in the last cell.
    pl.drawEllipse(QPointF(181.5, 7.0), 1.6, 1.6);
    pl.drawEllipse(QPointF(180.5, 14.5), 1.6, 1.6);
  }
  // A faint glow around lit segments.
  QImage glow = lit_cover.copy();
  BoxBlur(glow, 1);

  // 16 colours: black, three unlit shades, twelve lit shades.
  QVector<QRgb> table;
  table << qRgb(0, 0, 0);
  for (int k = 1; k <= 3; ++k) table << Mix(Qt::black, unlit, k / 3.0).rgb();
  for (int k = 1; k <= 12; ++k) table << Mix(Qt::black, lit, k / 12.0).rgb();
  QImage out(w, h, QImage::Format_Indexed8);
  out.setColorTable(table);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const double cl = qAlpha(lit_cover.pixel(x, y)) / 255.0;
      const double cg = qAlpha(glow.pixel(x, y)) / 255.0 * 0.35;
      const double cu = qAlpha(unlit_cover.pixel(x, y)) / 255.0;
      const double l = std::max(cl, cg);
      int index = 0;
      if (l * 12 >= 0.5 && l >= cu * 0.4) {
        index = 3 + std::clamp(static_cast<int>(std::lround(l * 12)), 1, 12);
      } else if (cu * 3 >= 0.5) {
        index = std::clamp(static_cast<int>(std::lround(cu * 3)), 1, 3);
      }
      // The blank cell stays black whatever the glow did.
      out.setPixel(x, y, x >= 160 && x < 176 ? 0 : index);
    }
  }
  return out;
}

}  // namespace art
