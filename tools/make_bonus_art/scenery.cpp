#include "scenery.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "characters.h"
#include "drawing_kit.h"

namespace bonusart {

const char* const kCaptionTitle = "BONUS GAME";
const char* const kCaptionLines[2] = {
    "Pick as many balls as you like, then hit STOP to collect your prizes.",
    "But two balls hide a BOMB \u2014 pick either one and you lose it all!"};

std::array<QPoint, 8> BoxCorners() {
  std::array<QPoint, 8> corners;
  for (int i = 0; i < 8; ++i)
    corners[static_cast<size_t>(i)] =
        QPoint((kFrameSide + 40) * (i % 4) + 40, (kFrameSide + 30) * (i / 4) + 210);
  return corners;
}

namespace {

constexpr double kPi = 3.14159265358979323846;

QFont Bold(double pixels, bool italic = false) {
  QFont f(QStringLiteral("Liberation Sans"));
  f.setBold(true);
  f.setItalic(italic);
  f.setPixelSize(static_cast<int>(std::lround(pixels)));
  return f;
}

// Text drawn as a path: a dark outline under a filled face, readable over any background.
void DrawOutlinedText(QPainter& p, const QString& text, const QFont& font, QPointF baseline,
                      const QBrush& fill, double outline, const QColor& outline_colour) {
  QPainterPath path;
  path.addText(baseline, font, text);
  p.setPen(QPen(outline_colour, outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(path);
}

// ---------------------------------------------------------------------------------------------
// Stadium

void PaintSky(QPainter& p) {
  QLinearGradient sky(0, 0, 0, 100);
  sky.setColorAt(0.0, QColor(4, 8, 28));
  sky.setColorAt(0.7, QColor(14, 26, 66));
  sky.setColorAt(1.0, QColor(34, 52, 104));
  p.fillRect(QRectF(0, 0, 640, 100), sky);
  Dice dice(7);
  for (int i = 0; i < 70; ++i) {
    const double x = dice.Uniform(0, 640), y = dice.Uniform(0, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40 + dice.Below(120)));
    p.drawEllipse(QPointF(x, y), 0.45, 0.45);
  }
}

// One tier of spectators between y0 and y1. Rows further back are smaller and darker.
void PaintCrowd(QPainter& p, double y0, double y1, double row_front, double row_back,
                double dark_back, std::uint32_t seed) {
  Dice dice(seed);
  static const QColor kShirts[] = {
      QColor(220, 40, 40), QColor(250, 250, 250), QColor(30, 80, 200),  QColor(250, 200, 30),
      QColor(40, 150, 70), QColor(240, 120, 30),  QColor(120, 40, 160), QColor(60, 60, 70),
      QColor(200, 40, 40), QColor(40, 110, 220),  QColor(230, 230, 235)};
  static const QColor kSkins[] = {QColor(250, 214, 180), QColor(232, 180, 140),
                                  QColor(196, 140, 100), QColor(140, 96, 64), QColor(96, 64, 44)};
  // Seats behind the people.
  QLinearGradient seats(0, y0, 0, y1);
  seats.setColorAt(0, QColor(30, 34, 60));
  seats.setColorAt(1, QColor(60, 66, 110));
  p.fillRect(QRectF(0, y0, 640, y1 - y0), seats);

  double y = y0;
  while (y < y1) {
    const double t = (y - y0) / (y1 - y0);
    const double rh = row_back + (row_front - row_back) * t;
    const double light = dark_back + (1.0 - dark_back) * t;
    // Seat-row edge.
    p.fillRect(QRectF(0, y + rh * 0.92, 640, rh * 0.12), QColor(20, 22, 40, 160));
    double x = dice.Uniform(-rh, 0);
    while (x < 640 + rh) {
      const double w = rh * dice.Uniform(0.78, 1.05);
      if (dice.Below(100) < 94) {
        QColor shirt = kShirts[dice.Below(static_cast<int>(std::size(kShirts)))];
        QColor skin = kSkins[dice.Below(static_cast<int>(std::size(kSkins)))];
        auto dim = [&](QColor c) {
          return QColor::fromRgbF(c.redF() * light, c.greenF() * light, c.blueF() * light);
        };
        const double head_r = rh * 0.24;
        const double body_top = y + rh * 0.42 + dice.Uniform(-0.5, 0.5);
        const double cx = x + w / 2;
        p.setPen(Qt::NoPen);
        p.setBrush(dim(shirt));
        p.drawRoundedRect(QRectF(cx - w * 0.42, body_top, w * 0.84, rh * 0.6), rh * 0.2, rh * 0.2);
        if (dice.Below(100) < 14) {
          // Arms up, cheering.
          p.setPen(QPen(dim(skin), rh * 0.12, Qt::SolidLine, Qt::RoundCap));
          const double lean = dice.Uniform(-0.15, 0.15) * rh;
          p.drawLine(QPointF(cx - w * 0.3, body_top + rh * 0.1),
                     QPointF(cx - w * 0.45 + lean, body_top - rh * 0.55));
          p.drawLine(QPointF(cx + w * 0.3, body_top + rh * 0.1),
                     QPointF(cx + w * 0.45 + lean, body_top - rh * 0.55));
          p.setPen(Qt::NoPen);
        }
        p.setBrush(dim(skin));
        p.drawEllipse(QPointF(cx, body_top - head_r * 0.55), head_r, head_r * 1.1);
        if (dice.Below(100) < 35) {
          // Hair or a cap.
          p.setBrush(dice.Below(3) ? dim(QColor(40, 28, 20)) : dim(shirt));
          p.drawChord(QRectF(cx - head_r, body_top - head_r * 1.65, head_r * 2, head_r * 2.0), 0,
                      180 * 16);
        }
      }
      x += w * dice.Uniform(0.95, 1.12);
    }
    y += rh * 0.78;
  }
  // Camera flashes here and there.
  for (int i = 0; i < 14; ++i) {
    const QPointF c(dice.Uniform(10, 630), dice.Uniform(y0 + 4, y1 - 4));
    QRadialGradient g(c, 5);
    g.setColorAt(0, QColor(255, 255, 255, 230));
    g.setColorAt(0.3, QColor(255, 255, 240, 110));
    g.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, 5, 5);
  }
  // The tier's back rows lie under the roof's shadow.
  QLinearGradient shade(0, y0, 0, y1);
  shade.setColorAt(0, QColor(0, 0, 20, 140));
  shade.setColorAt(0.5, QColor(0, 0, 20, 40));
  shade.setColorAt(1, QColor(0, 0, 20, 0));
  p.fillRect(QRectF(0, y0, 640, y1 - y0), shade);
}

void PaintBoards(QPainter& p, double y0, double y1) {
  p.fillRect(QRectF(0, y0 - 2, 640, 2), QColor(20, 20, 30));
  const double w = 128;
  static const std::pair<QColor, QColor> kTones[] = {{QColor(220, 20, 40), QColor(120, 0, 20)},
                                                     {QColor(20, 90, 220), QColor(5, 30, 110)},
                                                     {QColor(250, 190, 20), QColor(190, 100, 0)},
                                                     {QColor(20, 150, 80), QColor(0, 70, 40)}};
  static const char* const kWords[] = {"ZELMAR", "BONUS", "JACKPOT", "SLOTS", "ZELMAR"};
  for (int i = 0; i < 5; ++i) {
    const QRectF r(i * w, y0, w - 2, y1 - y0);
    const auto& tone = kTones[i % 4];
    QLinearGradient g(0, r.top(), 0, r.bottom());
    g.setColorAt(0, tone.first.lighter(130));
    g.setColorAt(0.5, tone.first);
    g.setColorAt(1, tone.second);
    p.fillRect(r, g);
    // LED dot texture.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    for (double yy = r.top() + 1; yy < r.bottom(); yy += 2)
      for (double xx = r.left() + 1; xx < r.right(); xx += 2) p.drawRect(QRectF(xx, yy, 0.5, 0.5));
    const QFont f = Bold(11, true);
    QFontMetricsF fm(f);
    const QString word = QString::fromLatin1(kWords[i]);
    const double tw = fm.horizontalAdvance(word);
    DrawOutlinedText(p, word, f,
                     QPointF(r.center().x() - tw / 2, r.center().y() + fm.capHeight() / 2),
                     QColor(255, 255, 255), 1.6, QColor(0, 0, 0, 140));
    p.fillRect(QRectF(r.right(), r.top(), 2, r.height()), QColor(10, 10, 16));
  }
  p.fillRect(QRectF(0, y1, 640, 1.5), QColor(10, 10, 16));
}

void PaintPitch(QPainter& p, double y0) {
  const double h = 480 - y0;
  const int bands = 10;
  for (int i = 0; i < bands; ++i) {
    // Bands widen toward the viewer.
    const double a = y0 + h * std::pow(static_cast<double>(i) / bands, 1.3);
    const double b = y0 + h * std::pow(static_cast<double>(i + 1) / bands, 1.3);
    p.fillRect(QRectF(0, a, 640, b - a + 0.5), i % 2 ? QColor(52, 150, 58) : QColor(40, 128, 48));
  }
  // Grass texture.
  Dice dice(99);
  for (int i = 0; i < 9000; ++i) {
    const double x = dice.Uniform(0, 640), y = dice.Uniform(y0, 480);
    const bool light = dice.Below(2);
    p.setPen(QPen(light ? QColor(150, 230, 120, 40) : QColor(0, 40, 0, 45), 0.6));
    p.drawLine(QPointF(x, y), QPointF(x + dice.Uniform(-0.6, 0.6), y - dice.Uniform(1, 2.4)));
  }
  // Markings: the touchline, the halfway line, the centre circle.
  const QPen chalk(QColor(245, 250, 245, 230), 2.0);
  p.setPen(chalk);
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(0, y0 + 6), QPointF(640, y0 + 6));
  p.drawLine(QPointF(320, y0 + 6), QPointF(320, 480));
  p.drawEllipse(QPointF(320, 335), 92, 40);
  p.setBrush(QColor(245, 250, 245));
  p.drawEllipse(QPointF(320, 335), 3, 1.6);
  p.setBrush(Qt::NoBrush);
  // Penalty areas at both ends, seen from the side.
  QPolygonF left_box({QPointF(0, 262), QPointF(24, 262), QPointF(14, 470), QPointF(0, 470)});
  QPolygonF right_box({QPointF(640, 262), QPointF(616, 262), QPointF(626, 470), QPointF(640, 470)});
  p.drawPolyline(left_box);
  p.drawPolyline(right_box);
  // Darker edges and foreground.
  QRadialGradient vignette(QPointF(320, 300), 420);
  vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
  vignette.setColorAt(1.0, QColor(0, 10, 0, 150));
  p.fillRect(QRectF(0, y0, 640, h), vignette);
}

void PaintFloodlight(QPainter& p, QPointF centre, bool left) {
  // Mast.
  const double mast_x = centre.x() + (left ? 6 : -6);
  QLinearGradient steel(mast_x - 3, 0, mast_x + 3, 0);
  steel.setColorAt(0, QColor(40, 44, 60));
  steel.setColorAt(0.5, QColor(110, 116, 140));
  steel.setColorAt(1, QColor(30, 34, 48));
  p.fillRect(QRectF(mast_x - 2.5, centre.y() + 12, 5, 90 - centre.y()), steel);
  // Lamp bank: a frame holding 4 x 3 lamps.
  const QRectF bank(centre.x() - 26, centre.y() - 13, 52, 26);
  p.setPen(QPen(QColor(20, 22, 34), 1.5));
  p.setBrush(QColor(50, 54, 74));
  p.drawRoundedRect(bank, 2, 2);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 4; ++c) {
      const QPointF lc(bank.left() + 7 + c * 12.6, bank.top() + 5 + r * 8);
      QRadialGradient g(lc, 5);
      g.setColorAt(0, QColor(255, 255, 255));
      g.setColorAt(0.5, QColor(255, 250, 220));
      g.setColorAt(1, QColor(200, 210, 255));
      p.setPen(QPen(QColor(30, 30, 40), 0.8));
      p.setBrush(g);
      p.drawEllipse(lc, 4.8, 3.4);
    }
  }
}

void PaintFloodGlow(QPainter& p, QPointF centre, bool left) {
  p.save();
  p.setCompositionMode(QPainter::CompositionMode_Plus);
  // Beam toward the pitch.
  QPolygonF beam({centre + QPointF(-20, 0), centre + QPointF(20, 0), QPointF(left ? 380 : 260, 480),
                  QPointF(left ? 120 : 520, 480)});
  QLinearGradient bg(centre, QPointF(left ? 250 : 390, 480));
  bg.setColorAt(0, QColor(60, 62, 50, 255));
  bg.setColorAt(0.5, QColor(18, 18, 14, 255));
  bg.setColorAt(1, QColor(0, 0, 0, 255));
  p.setPen(Qt::NoPen);
  p.setBrush(bg);
  p.drawPolygon(beam);
  // Halo.
  QRadialGradient halo(centre, 70);
  halo.setColorAt(0, QColor(190, 190, 170));
  halo.setColorAt(0.25, QColor(80, 80, 76));
  halo.setColorAt(1, QColor(0, 0, 0));
  p.setBrush(halo);
  p.drawEllipse(centre, 70, 70);
  p.restore();
}

// The posts of the two STOP signs; they stand behind the advertising boards.
void PaintSignPosts(QPainter& p) {
  for (const QRect& r : {kLeftStop, kRightStop}) {
    const double x = r.left() + r.width() / 2.0;
    QLinearGradient steel(x - 2.5, 0, x + 2.5, 0);
    steel.setColorAt(0, QColor(90, 94, 110));
    steel.setColorAt(0.4, QColor(220, 224, 235));
    steel.setColorAt(1, QColor(70, 74, 90));
    p.setPen(QPen(QColor(20, 20, 30), 0.8));
    p.setBrush(steel);
    p.drawRect(QRectF(x - 2.5, r.top() + 20, 5, 190 - r.top() - 20));
  }
}

void PaintStands(QPainter& p) {
  // Roof fascia with its row of small lights.
  QLinearGradient roof(0, 84, 0, 94);
  roof.setColorAt(0, QColor(70, 74, 96));
  roof.setColorAt(1, QColor(24, 26, 40));
  p.fillRect(QRectF(0, 84, 640, 10), roof);
  for (double x = 6; x < 640; x += 16) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 240, 200));
    p.drawEllipse(QPointF(x, 89), 1.2, 1.0);
  }
  PaintCrowd(p, 94, 140, 5.6, 4.2, 0.55, 11);
  // Balcony front between the tiers.
  QLinearGradient balcony(0, 140, 0, 148);
  balcony.setColorAt(0, QColor(200, 206, 220));
  balcony.setColorAt(0.3, QColor(120, 126, 150));
  balcony.setColorAt(1, QColor(40, 44, 66));
  p.fillRect(QRectF(0, 140, 640, 8), balcony);
  PaintCrowd(p, 148, 190, 7.2, 5.6, 0.75, 23);
  PaintSignPosts(p);
  PaintBoards(p, 190, 206);
}

void PaintCaption(QPainter& p) {
  const QRectF panel(66, 5, 508, 78);
  // Drop shadow, glass panel, gold frame.
  p.setPen(Qt::NoPen);
  for (int i = 4; i >= 1; --i) {
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(panel.adjusted(-i + 2, -i + 3, i + 2, i + 3), 10 + i, 10 + i);
  }
  QLinearGradient glass(0, panel.top(), 0, panel.bottom());
  glass.setColorAt(0, QColor(24, 40, 110, 240));
  glass.setColorAt(0.5, QColor(8, 16, 60, 245));
  glass.setColorAt(1, QColor(4, 8, 34, 250));
  QLinearGradient gold(0, panel.top(), 0, panel.bottom());
  gold.setColorAt(0, QColor(255, 236, 150));
  gold.setColorAt(0.5, QColor(214, 160, 40));
  gold.setColorAt(1, QColor(140, 90, 20));
  p.setPen(QPen(QBrush(gold), 3));
  p.setBrush(glass);
  p.drawRoundedRect(panel, 10, 10);
  p.setPen(QPen(QColor(255, 255, 255, 60), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(panel.adjusted(3, 3, -3, -3), 8, 8);
  // Gloss on the upper half.
  QLinearGradient gloss(0, panel.top(), 0, panel.center().y());
  gloss.setColorAt(0, QColor(255, 255, 255, 46));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawRoundedRect(
      QRectF(panel.left() + 4, panel.top() + 4, panel.width() - 8, panel.height() / 2 - 4), 7, 7);

  // Title in gold with stars either side.
  const QFont title = Bold(27, true);
  QFontMetricsF tm(title);
  const QString t = QString::fromLatin1(kCaptionTitle);
  const double tw = tm.horizontalAdvance(t);
  const double base = panel.top() + 31;
  QLinearGradient title_fill(0, base - tm.capHeight(), 0, base);
  title_fill.setColorAt(0, QColor(255, 250, 200));
  title_fill.setColorAt(0.5, QColor(255, 214, 60));
  title_fill.setColorAt(1, QColor(230, 130, 10));
  DrawOutlinedText(p, t, title, QPointF(320 - tw / 2, base), title_fill, 3.2, QColor(60, 20, 0));
  for (int side = -1; side <= 1; side += 2) {
    const QPointF c(320 + side * (tw / 2 + 22), base - tm.capHeight() / 2);
    QPolygonF star;
    for (int k = 0; k < 10; ++k) {
      const double a = -kPi / 2 + k * kPi / 5;
      const double r = k % 2 ? 4.2 : 10;
      star << c + QPointF(r * std::cos(a), r * std::sin(a));
    }
    p.setPen(QPen(QColor(60, 20, 0), 1.4));
    p.setBrush(title_fill);
    p.drawPolygon(star);
  }

  // The two instruction lines; STOP and BOMB stand out.
  const QFont body = Bold(13);
  QFontMetricsF bm(body);
  const double line_y[2] = {panel.top() + 52, panel.top() + 69};
  for (int i = 0; i < 2; ++i) {
    const QString line = QString::fromUtf8(kCaptionLines[i]);
    const double lw = bm.horizontalAdvance(line);
    double x = 320 - lw / 2;
    // Split into plain words and highlighted words, keeping spacing by measuring as we go.
    const QStringList words = line.split(QLatin1Char(' '));
    for (int w = 0; w < words.size(); ++w) {
      const QString word = words[w] + (w + 1 < words.size() ? QStringLiteral(" ") : QString());
      QColor colour(255, 255, 255);
      if (words[w].startsWith(QLatin1String("STOP"))) colour = QColor(255, 90, 80);
      if (words[w].startsWith(QLatin1String("BOMB"))) colour = QColor(255, 200, 40);
      DrawOutlinedText(p, word, body, QPointF(x, line_y[i]), colour, 2.4, QColor(0, 0, 20, 200));
      x += bm.horizontalAdvance(word);
    }
  }
}

void PaintBoxFrames(QPainter& p) {
  for (const QPoint& c : BoxCorners()) {
    const QRectF box(c.x(), c.y(), kFrameSide, kFrameSide);
    // Soft shadow on the grass.
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
      p.setBrush(QColor(0, 20, 0, 22));
      p.drawRoundedRect(box.adjusted(-4 - i + 4, -4 - i + 6, 4 + i + 4, 4 + i + 6), 6, 6);
    }
    // Gold bevelled frame around the white box.
    const QRectF outer = box.adjusted(-5, -5, 5, 5);
    QLinearGradient gold(outer.topLeft(), outer.bottomRight());
    gold.setColorAt(0, QColor(255, 240, 170));
    gold.setColorAt(0.45, QColor(222, 168, 48));
    gold.setColorAt(1, QColor(130, 80, 14));
    p.setPen(QPen(QColor(60, 36, 4), 1));
    p.setBrush(gold);
    p.drawRoundedRect(outer, 4, 4);
    p.setPen(QPen(QColor(90, 56, 8), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.fillRect(box, Qt::white);
  }
}

QPolygonF Octagon(const QRectF& r, double cut_x, double cut_y) {
  return QPolygonF({QPointF(r.left() + cut_x, r.top()), QPointF(r.right() - cut_x, r.top()),
                    QPointF(r.right(), r.top() + cut_y), QPointF(r.right(), r.bottom() - cut_y),
                    QPointF(r.right() - cut_x, r.bottom()), QPointF(r.left() + cut_x, r.bottom()),
                    QPointF(r.left(), r.bottom() - cut_y), QPointF(r.left(), r.top() + cut_y)});
}

void PaintStopSign(QPainter& p, QSizeF size, bool lit) {
  const QRectF face(3.5, 3, size.width() - 7, size.height() - 6);
  const double k = face.height() / 48.0;
  if (lit) {
    // Glow around the sign.
    QRadialGradient glow(QPointF(size.width() / 2, size.height() / 2), size.width() * 0.56);
    glow.setColorAt(0.6, QColor(255, 214, 140, 245));
    glow.setColorAt(0.8, QColor(255, 140, 60, 170));
    glow.setColorAt(1.0, QColor(255, 70, 10, 0));
    p.save();
    p.translate(size.width() / 2, size.height() / 2);
    p.scale(1.0, size.height() / size.width() * 1.15);
    p.translate(-size.width() / 2, -size.height() / 2);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(size.width() / 2, size.height() / 2), size.width() * 0.56,
                  size.width() * 0.56);
    p.restore();
  }
  // Ink rim, white band, red face.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 6, 8));
  p.drawPolygon(Octagon(face, 17, 14 * k));
  p.setBrush(lit ? QColor(255, 255, 255) : QColor(168, 160, 162));
  p.drawPolygon(Octagon(face.adjusted(1.4, 1.4, -1.4, -1.4), 16.4, 13.4 * k));
  const QRectF red = face.adjusted(3.6, 3.6, -3.6, -3.6);
  const QPolygonF red_face = Octagon(red, 15.5, 12.5 * k);
  QLinearGradient fill(0, red.top(), 0, red.bottom());
  if (lit) {
    fill.setColorAt(0, QColor(255, 110, 90));
    fill.setColorAt(0.5, QColor(240, 24, 24));
    fill.setColorAt(1, QColor(170, 0, 10));
  } else {
    fill.setColorAt(0, QColor(140, 40, 40));
    fill.setColorAt(0.5, QColor(110, 16, 18));
    fill.setColorAt(1, QColor(70, 6, 10));
  }
  p.setBrush(fill);
  p.drawPolygon(red_face);
  // Gloss.
  QPainterPath clip;
  clip.addPolygon(red_face);
  p.save();
  p.setClipPath(clip);
  QLinearGradient gloss(0, red.top(), 0, red.center().y());
  gloss.setColorAt(0, QColor(255, 255, 255, lit ? 120 : 40));
  gloss.setColorAt(1, QColor(255, 255, 255, 0));
  p.setBrush(gloss);
  p.drawEllipse(QRectF(red.left() - 10, red.top() - red.height() * 0.6, red.width() + 20,
                       red.height() * 1.05));
  p.restore();
  // Text.
  const QFont f = Bold(19 * k);
  QFontMetricsF fm(f);
  const QString word = QStringLiteral("STOP");
  const double tw = fm.horizontalAdvance(word);
  const QPointF at(size.width() / 2 - tw / 2, size.height() / 2 + fm.capHeight() / 2);
  QPainterPath text;
  text.addText(at + QPointF(0.8, 1.0), f, word);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, lit ? 120 : 90));
  p.drawPath(text);
  QPainterPath face2;
  face2.addText(at, f, word);
  p.setBrush(lit ? QColor(255, 255, 255) : QColor(200, 188, 188));
  p.drawPath(face2);
}

// ---------------------------------------------------------------------------------------------
// Bomb strip

void PaintBomb(QPainter& p, int frame) {
  Dice dice(500 + static_cast<std::uint32_t>(frame));
  const double shake = (frame % 2 ? 0.8 : -0.8);
  const QPointF c(52 + shake, 62);
  const double r = 28;
  DrawGroundShadow(p, QPointF(54, 96), 28, 4, 1.0);
  // Fuse holder and fuse, burning shorter from frame to frame.
  const QPointF neck = c + QPointF(std::cos(-0.95) * r * 0.92, std::sin(-0.95) * r * 0.92);
  QPainterPath fuse;
  fuse.moveTo(neck);
  fuse.cubicTo(neck + QPointF(8, -10), neck + QPointF(2, -24), neck + QPointF(20, -30));
  const double burnt = 0.78 - 0.13 * frame;
  QPainterPath left;
  const int steps = 40;
  QPointF tip = neck;
  for (int i = 0; i <= steps; ++i) {
    const double t = burnt * i / steps;
    tip = fuse.pointAtPercent(t);
    i == 0 ? left.moveTo(tip) : left.lineTo(tip);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kInk, 4.4, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(left);
  p.setPen(QPen(QColor(196, 160, 110), 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(left);
  // Body.
  QRadialGradient body(c + QPointF(-10, -12), r * 1.5);
  body.setColorAt(0, QColor(120, 124, 150));
  body.setColorAt(0.25, QColor(50, 52, 70));
  body.setColorAt(0.8, QColor(14, 14, 22));
  body.setColorAt(1, QColor(4, 4, 8));
  p.setPen(QPen(kInk, 2.4));
  p.setBrush(body);
  p.drawEllipse(c, r, r);
  p.save();
  p.translate(neck);
  p.rotate(-54);
  QLinearGradient cap(0, -6, 0, 6);
  cap.setColorAt(0, QColor(170, 174, 190));
  cap.setColorAt(0.5, QColor(90, 94, 110));
  cap.setColorAt(1, QColor(40, 42, 56));
  p.setBrush(cap);
  p.setPen(QPen(kInk, 1.8));
  p.drawRoundedRect(QRectF(-4, -7.5, 9, 15), 2, 2);
  p.restore();
  // Highlight.
  QRadialGradient hl(c + QPointF(-11, -13), 9);
  hl.setColorAt(0, QColor(255, 255, 255, 200));
  hl.setColorAt(1, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(hl);
  p.drawEllipse(c + QPointF(-11, -13), 10, 7);
  // The word on its belly.
  const QFont f = Bold(14);
  QFontMetricsF fm(f);
  const QString word = QStringLiteral("BOMB");
  const double tw = fm.horizontalAdvance(word);
  DrawOutlinedText(p, word, f, QPointF(c.x() - tw / 2, c.y() + 8), QColor(255, 214, 40), 2.4,
                   QColor(120, 0, 0));
  // The spark at the burning end flickers: new rays every frame.
  const double spark_r = 8 + dice.Uniform(0, 4);
  QRadialGradient spark(tip, spark_r);
  spark.setColorAt(0, QColor(255, 255, 255, 255));
  spark.setColorAt(0.3, QColor(255, 240, 120, 240));
  spark.setColorAt(0.7, QColor(255, 140, 20, 140));
  spark.setColorAt(1, QColor(255, 80, 0, 0));
  p.setBrush(spark);
  p.drawEllipse(tip, spark_r, spark_r);
  const int rays = 9 + dice.Below(5);
  for (int i = 0; i < rays; ++i) {
    const double a = dice.Uniform(0, 2 * kPi);
    const double len = dice.Uniform(5, 14);
    const QPointF end = tip + QPointF(std::cos(a) * len, std::sin(a) * len);
    p.setPen(QPen(i % 3 ? QColor(255, 200, 40) : QColor(255, 110, 20), dice.Uniform(0.8, 1.6),
                  Qt::SolidLine, Qt::RoundCap));
    p.drawLine(tip, end);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 200));
    p.drawEllipse(end, 0.9, 0.9);
  }
}

// One frame of the explosion; `k` runs 0..7.
void PaintBlast(QPainter& p, int k) {
  // The sky flashes yellow and fades back.
  const double flash = std::max(0.0, 1.0 - k / 3.0);
  p.fillRect(QRectF(0, 0, 110, 110), QColor(255, 255, static_cast<int>(255 - 110 * flash)));
  const QPointF c(55, 60);
  Dice layout(4242);  // the same blobs in every frame, so the fireball grows coherently
  struct Blob {
    double angle, dist, size, rise;
  };
  std::vector<Blob> blobs;
  for (int i = 0; i < 34; ++i)
    blobs.push_back({layout.Uniform(0, 2 * kPi), std::sqrt(layout.Uniform(0, 1)),
                     layout.Uniform(0.3, 0.55), layout.Uniform(0.5, 1.5)});

  static const double kRadius[8] = {14, 24, 34, 42, 46, 48, 50, 52};
  static const double kFire[8] = {1.0, 1.0, 0.95, 0.85, 0.6, 0.35, 0.12, 0.0};
  static const double kSmoke[8] = {0.0, 0.0, 0.1, 0.3, 0.6, 0.7, 0.55, 0.3};
  const double r = kRadius[k];

  // Smoke first, rising as it spreads.
  if (kSmoke[k] > 0) {
    for (const Blob& b : blobs) {
      const QPointF at = c + QPointF(std::cos(b.angle) * b.dist * r * 0.85,
                                     std::sin(b.angle) * b.dist * r * 0.7 - b.rise * k * 2.2);
      const double s = b.size * r * 0.75;
      QRadialGradient g(at, s);
      const int grey = 60 + static_cast<int>(20 * k);
      g.setColorAt(0, QColor(grey, grey, grey + 6, static_cast<int>(230 * kSmoke[k])));
      g.setColorAt(0.7, QColor(grey + 20, grey + 20, grey + 26, static_cast<int>(140 * kSmoke[k])));
      g.setColorAt(1, QColor(grey + 40, grey + 40, grey + 40, 0));
      p.setPen(Qt::NoPen);
      p.setBrush(g);
      p.drawEllipse(at, s, s);
    }
  }
  // The fireball: outer red blobs, then orange, then a yellow-white core.
  if (kFire[k] > 0) {
    const double layers[3][2] = {{1.0, 0.0}, {0.7, 1.0}, {0.4, 2.0}};
    for (const auto& layer : layers) {
      for (const Blob& b : blobs) {
        const QPointF at =
            c + QPointF(std::cos(b.angle) * b.dist * r * layer[0] * 0.8,
                        std::sin(b.angle) * b.dist * r * layer[0] * 0.7 - b.rise * k * 1.2);
        const double s = b.size * r * (0.55 + 0.2 * layer[0]);
        QRadialGradient g(at, s);
        const int a = static_cast<int>(255 * kFire[k]);
        if (layer[1] == 0) {
          g.setColorAt(0, QColor(230, 70, 20, a));
          g.setColorAt(0.8, QColor(150, 20, 10, a * 3 / 4));
          g.setColorAt(1, QColor(90, 10, 5, 0));
        } else if (layer[1] == 1) {
          g.setColorAt(0, QColor(255, 180, 40, a));
          g.setColorAt(0.8, QColor(245, 110, 20, a * 2 / 3));
          g.setColorAt(1, QColor(230, 70, 10, 0));
        } else {
          g.setColorAt(0, QColor(255, 255, 230, a));
          g.setColorAt(0.6, QColor(255, 230, 110, a * 3 / 4));
          g.setColorAt(1, QColor(255, 170, 40, 0));
        }
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(at, s, s);
      }
    }
  }
  // Flying sparks and debris in the first frames.
  if (k <= 4) {
    Dice sparks(777);
    for (int i = 0; i < 22; ++i) {
      const double a = sparks.Uniform(0, 2 * kPi);
      const double d0 = r * (0.7 + 0.1 * k), d1 = d0 + sparks.Uniform(5, 12);
      const QPointF from = c + QPointF(std::cos(a) * d0, std::sin(a) * d0 * 0.85);
      const QPointF to = c + QPointF(std::cos(a) * d1, std::sin(a) * d1 * 0.85);
      p.setPen(QPen(i % 4 ? QColor(255, 210, 60, 230) : QColor(60, 40, 30, 230), i % 4 ? 1.4 : 2.4,
                    Qt::SolidLine, Qt::RoundCap));
      p.drawLine(from, to);
    }
  }
  if (k == 0) {
    // The flash itself: a star burst.
    QPolygonF star;
    for (int i = 0; i < 24; ++i) {
      const double a = i * kPi / 12;
      const double rr = i % 2 ? 10 : 30;
      star << c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 240, 230));
    p.drawPolygon(star);
  }
}

void PaintYouLose(QPainter& p) {
  p.fillRect(QRectF(0, 0, 110, 110), Qt::black);
  const QFont f = Bold(30);
  QFontMetricsF fm(f);
  const QString lines[2] = {QStringLiteral("YOU"), QStringLiteral("LOSE")};
  for (int i = 0; i < 2; ++i) {
    const double tw = fm.horizontalAdvance(lines[i]);
    const QPointF at(55 - tw / 2, 49 + i * 34);
    QLinearGradient g(0, at.y() - fm.capHeight(), 0, at.y());
    g.setColorAt(0, QColor(255, 240, 120));
    g.setColorAt(0.5, QColor(255, 150, 30));
    g.setColorAt(1, QColor(230, 30, 20));
    // Red glow under the letters.
    QPainterPath path;
    path.addText(at, f, lines[i]);
    for (int w = 7; w >= 3; w -= 2) {
      p.setPen(QPen(QColor(255, 40, 0, 40), w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(path);
    }
    DrawOutlinedText(p, lines[i], f, at, g, 1.6, QColor(90, 0, 0));
  }
}

}  // namespace

QImage RenderStadiumBackdrop() {
  QImage img = RenderSupersampled(
      kStadiumWidth, kStadiumHeight, Qt::black,
      [](QPainter& p) {
        PaintSky(p);
        PaintStands(p);
        PaintPitch(p, 206);
        PaintFloodGlow(p, QPointF(33, 30), true);
        PaintFloodGlow(p, QPointF(607, 30), false);
        PaintFloodlight(p, QPointF(33, 30), true);
        PaintFloodlight(p, QPointF(607, 30), false);
        PaintCaption(p);
        PaintBoxFrames(p);
      },
      2);
  // The boxes are pure white inside, whatever the filtering did at their edges.
  QPainter p(&img);
  for (const QPoint& c : BoxCorners())
    p.fillRect(QRect(c, QSize(kFrameSide, kFrameSide)), Qt::white);
  return img;
}

QImage RenderStopSign(const QImage& backdrop, const QRect& place, bool lit) {
  QImage sign = backdrop.copy(place).convertToFormat(QImage::Format_RGB32);
  const QImage overlay = RenderSupersampled(
      place.width(), place.height(), Qt::transparent,
      [&](QPainter& p) { PaintStopSign(p, place.size(), lit); }, 4);
  QPainter p(&sign);
  p.drawImage(0, 0, overlay);
  return sign;
}

QImage RenderStadium(const QImage& backdrop) {
  QImage img = backdrop.convertToFormat(QImage::Format_RGB32);
  QPainter p(&img);
  p.drawImage(kLeftStop.topLeft(), RenderStopSign(backdrop, kLeftStop, false));
  p.drawImage(kRightStop.topLeft(), RenderStopSign(backdrop, kRightStop, false));
  return img;
}

QImage RenderBombStrip() {
  QImage strip(kFrameSide, kFrameSide * kBombFrames, QImage::Format_RGB32);
  QPainter p(&strip);
  for (int f = 0; f < kBombFrames; ++f) {
    const QImage frame = RenderSupersampled(
        kFrameSide, kFrameSide, Qt::white,
        [f](QPainter& q) {
          if (f < 4)
            PaintBomb(q, f);
          else if (f < 12)
            PaintBlast(q, f - 4);
          else
            PaintYouLose(q);
        },
        4);
    p.drawImage(0, f * kFrameSide, frame);
  }
  return strip;
}

}  // namespace bonusart
