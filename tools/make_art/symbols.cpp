#include "symbols.h"

#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>

#include "paint_kit.h"

namespace art {

namespace {

constexpr int kStripCells = 12;
constexpr int kStripCell = 76;
// The order of the symbols on the spinning strip: mostly line symbols with one wild and one
// scatter, so the blur reads as the same reel the player sees at rest.
constexpr int kStripCodes[kStripCells] = {10, 13, 0, 16, 11, 19, 6, 14, 17, 20, 12, 21};

QRectF Frac(double s, double x, double y, double w, double h) {
  return QRectF(x * s, y * s, w * s, h * s);
}

// The common tile behind the sports symbols: a deep blue glow with a thin gold rule, so the
// set reads as one family on the reels.
void PaintTile(QPainter& p, double s, const QColor& glow, const QColor& rim) {
  QRadialGradient g(QPointF(0.5 * s, 0.45 * s), 0.78 * s);
  g.setColorAt(0.0, glow);
  g.setColorAt(0.55, Mix(glow, QColor(10, 14, 40), 0.6));
  g.setColorAt(1.0, QColor(4, 6, 20));
  p.fillRect(QRectF(0, 0, s, s), g);
  const double w = std::max(1.0, s / 70.0);
  p.setPen(QPen(rim, w));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(0.03 * s, 0.03 * s, 0.94 * s, 0.94 * s), 0.08 * s, 0.08 * s);
}

void PaintSportsTile(QPainter& p, double s) {
  PaintTile(p, s, QColor(56, 84, 150), QColor(214, 178, 92, 150));
}

void Emo(QPainter& p, const char* utf8, const QRectF& box, double s) {
  DrawWithShadow(p, Emoji(QString::fromUtf8(utf8)), box, s * 0.035);
}

QImage Mirrored(const QImage& img) {
  return img.mirrored(true, false);
}

void EmoMirrored(QPainter& p, const char* utf8, const QRectF& box, double s) {
  DrawWithShadow(p, Mirrored(Emoji(QString::fromUtf8(utf8))), box, s * 0.035);
}

// A soft shadow for a vector shape given in cell coordinates, blurred at the painter's device
// resolution.
void PathShadow(QPainter& p, const QPainterPath& path, double s) {
  const double off = s * 0.035;
  const double k = DeviceScale(p);
  QImage shape(static_cast<int>(s * k) + 1, static_cast<int>(s * k) + 1,
               QImage::Format_ARGB32_Premultiplied);
  shape.fill(Qt::transparent);
  {
    QPainter q(&shape);
    q.setRenderHint(QPainter::Antialiasing);
    if (k != 1) q.scale(k, k);
    q.setPen(Qt::NoPen);
    q.setBrush(QColor(0, 0, 0, 170));
    q.drawPath(path);
  }
  const int radius = std::max(1, static_cast<int>(std::lround(off * k * 0.8)));
  for (int i = 0; i < 3; ++i) BoxBlur(shape, radius);
  DrawDevicePicture(p, QPointF(off, off), shape);
}

void PaintBowlingPin(QPainter& p, double s) {
  const double cx = 0.5 * s;
  auto x = [&](double dx) { return cx + dx * s; };
  auto y = [&](double dy) { return dy * s; };
  QPainterPath pin;
  pin.moveTo(x(0), y(0.08));
  pin.cubicTo(x(0.085), y(0.08), x(0.095), y(0.24), x(0.055), y(0.33));
  pin.cubicTo(x(0.04), y(0.38), x(0.16), y(0.48), x(0.16), y(0.64));
  pin.cubicTo(x(0.16), y(0.78), x(0.1), y(0.86), x(0.075), y(0.92));
  pin.lineTo(x(-0.075), y(0.92));
  pin.cubicTo(x(-0.1), y(0.86), x(-0.16), y(0.78), x(-0.16), y(0.64));
  pin.cubicTo(x(-0.16), y(0.48), x(-0.04), y(0.38), x(-0.055), y(0.33));
  pin.cubicTo(x(-0.095), y(0.24), x(-0.085), y(0.08), x(0), y(0.08));
  pin.closeSubpath();
  PathShadow(p, pin, s);
  QLinearGradient body(QPointF(x(-0.16), 0), QPointF(x(0.16), 0));
  body.setColorAt(0.0, QColor(200, 198, 192));
  body.setColorAt(0.3, QColor(255, 255, 252));
  body.setColorAt(0.65, QColor(236, 232, 224));
  body.setColorAt(1.0, QColor(150, 146, 140));
  p.setPen(QPen(QColor(60, 56, 52), std::max(1.0, s / 60.0)));
  p.setBrush(body);
  p.drawPath(pin);
  p.save();
  p.setClipPath(pin);
  QLinearGradient red(QPointF(x(-0.16), 0), QPointF(x(0.16), 0));
  red.setColorAt(0.0, QColor(140, 10, 16));
  red.setColorAt(0.35, QColor(236, 40, 44));
  red.setColorAt(1.0, QColor(110, 6, 12));
  p.setPen(Qt::NoPen);
  p.setBrush(red);
  p.drawRect(QRectF(x(-0.2), y(0.285), 0.4 * s, 0.035 * s));
  p.drawRect(QRectF(x(-0.2), y(0.345), 0.4 * s, 0.035 * s));
  // A gloss line down the left of the body.
  p.setBrush(QColor(255, 255, 255, 150));
  p.drawEllipse(QRectF(x(-0.1), y(0.48), 0.045 * s, 0.3 * s));
  p.drawEllipse(QRectF(x(-0.045), y(0.12), 0.03 * s, 0.12 * s));
  p.restore();
}

void PaintBaseballBat(QPainter& p, double s) {
  // The bat is built lying along x (knob at 0, barrel end at len) and turned into place.
  const double len = 0.9 * s;
  QPainterPath bat;
  const double knob = 0.04 * s, handle = 0.022 * s, barrel = 0.062 * s;
  bat.moveTo(0, -handle);
  bat.cubicTo(0.3 * len, -handle, 0.5 * len, -handle * 1.2, 0.72 * len, -barrel);
  bat.lineTo(len - barrel, -barrel);
  bat.arcTo(QRectF(len - 2 * barrel, -barrel, 2 * barrel, 2 * barrel), 90, -180);
  bat.lineTo(0.72 * len, barrel);
  bat.cubicTo(0.5 * len, handle * 1.2, 0.3 * len, handle, 0, handle);
  bat.closeSubpath();
  QPainterPath knob_path;
  knob_path.addEllipse(QPointF(0, 0), knob * 0.55, knob);
  bat = bat.united(knob_path);
  QTransform t;
  t.translate(0.14 * s, 0.82 * s);
  t.rotate(-48);
  const QPainterPath placed = t.map(bat);
  PathShadow(p, placed, s);
  QLinearGradient wood(t.map(QPointF(0, -barrel)), t.map(QPointF(0, barrel)));
  wood.setColorAt(0.0, QColor(250, 216, 150));
  wood.setColorAt(0.35, QColor(222, 160, 86));
  wood.setColorAt(1.0, QColor(120, 66, 24));
  p.setPen(QPen(QColor(70, 36, 10), std::max(1.0, s / 70.0)));
  p.setBrush(wood);
  p.drawPath(placed);
  // Grip tape on the handle.
  p.save();
  p.setClipPath(placed);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 30, 34, 220));
  p.drawPolygon(t.map(QPolygonF(QRectF(knob * 0.3, -barrel, 0.24 * len, 2 * barrel))));
  p.restore();
}

void PaintGolfBallOnTee(QPainter& p, double s) {
  // Grass tuft.
  QPainterPath grass;
  grass.addEllipse(QRectF(0.16 * s, 0.82 * s, 0.68 * s, 0.12 * s));
  QLinearGradient turf(QPointF(0, 0.82 * s), QPointF(0, 0.94 * s));
  turf.setColorAt(0, QColor(120, 210, 80));
  turf.setColorAt(1, QColor(30, 110, 30));
  p.setPen(Qt::NoPen);
  p.setBrush(turf);
  p.drawPath(grass);
  p.setPen(QPen(QColor(90, 190, 70), std::max(1.0, s / 60.0), Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < 9; ++i) {
    const double x = (0.22 + i * 0.07) * s;
    const double lean = ((i % 3) - 1) * 0.02 * s;
    p.drawLine(QPointF(x, 0.87 * s), QPointF(x + lean, (0.8 - (i % 2) * 0.03) * s));
  }
  // The tee: a cup and a tapering peg.
  QPainterPath tee;
  tee.moveTo(0.40 * s, 0.63 * s);
  tee.lineTo(0.60 * s, 0.63 * s);
  tee.cubicTo(0.57 * s, 0.69 * s, 0.53 * s, 0.69 * s, 0.525 * s, 0.71 * s);
  tee.lineTo(0.51 * s, 0.88 * s);
  tee.lineTo(0.49 * s, 0.88 * s);
  tee.lineTo(0.475 * s, 0.71 * s);
  tee.cubicTo(0.47 * s, 0.69 * s, 0.43 * s, 0.69 * s, 0.40 * s, 0.63 * s);
  tee.closeSubpath();
  QLinearGradient tee_fill(QPointF(0.4 * s, 0), QPointF(0.6 * s, 0));
  tee_fill.setColorAt(0, QColor(150, 20, 20));
  tee_fill.setColorAt(0.4, QColor(250, 70, 60));
  tee_fill.setColorAt(1, QColor(120, 10, 10));
  p.setPen(QPen(QColor(70, 0, 0), std::max(1.0, s / 90.0)));
  p.setBrush(tee_fill);
  p.drawPath(tee);
  // The ball.
  const QPointF c(0.5 * s, 0.41 * s);
  const double r = 0.23 * s;
  QPainterPath ball;
  ball.addEllipse(c, r, r);
  PathShadow(p, ball, s);
  QRadialGradient shade(c + QPointF(-0.35 * r, -0.4 * r), 1.5 * r);
  shade.setColorAt(0, QColor(255, 255, 255));
  shade.setColorAt(0.5, QColor(232, 236, 240));
  shade.setColorAt(1, QColor(130, 136, 150));
  p.setPen(QPen(QColor(70, 74, 86), std::max(1.0, s / 80.0)));
  p.setBrush(shade);
  p.drawPath(ball);
  // Dimples in a staggered grid, fading toward the rim.
  p.save();
  p.setClipPath(ball);
  const double step = r * 0.32;
  for (int row = -4; row <= 4; ++row) {
    for (int col = -4; col <= 4; ++col) {
      const QPointF d(c.x() + (col + (row % 2 ? 0.5 : 0)) * step, c.y() + row * step * 0.87);
      const double dist = std::hypot(d.x() - c.x(), d.y() - c.y()) / r;
      if (dist > 0.95) continue;
      const double dr = step * 0.3 * (1.0 - 0.45 * dist);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(90, 100, 120, static_cast<int>(70 * (1.0 - 0.5 * dist))));
      p.drawEllipse(d, dr, dr * (1.0 - 0.3 * dist));
    }
  }
  p.restore();
}

void PaintBalanceBeam(QPainter& p, double s) {
  p.setPen(Qt::NoPen);
  // Legs.
  QLinearGradient steel(QPointF(0, 0), QPointF(0.06 * s, 0));
  steel.setColorAt(0, QColor(90, 96, 110));
  steel.setColorAt(0.5, QColor(220, 226, 236));
  steel.setColorAt(1, QColor(80, 86, 100));
  for (double x : {0.2, 0.74}) {
    p.save();
    p.translate(x * s, 0);
    p.setBrush(steel);
    p.drawPolygon(QPolygonF({QPointF(0.01 * s, 0.8 * s), QPointF(0.05 * s, 0.8 * s),
                             QPointF(0.07 * s, 0.93 * s), QPointF(-0.01 * s, 0.93 * s)}));
    p.restore();
  }
  // The beam: suede top.
  QLinearGradient suede(QPointF(0, 0.74 * s), QPointF(0, 0.82 * s));
  suede.setColorAt(0, QColor(246, 228, 190));
  suede.setColorAt(0.45, QColor(206, 170, 112));
  suede.setColorAt(1, QColor(120, 90, 50));
  p.setPen(QPen(QColor(70, 50, 20), std::max(1.0, s / 90.0)));
  p.setBrush(suede);
  p.drawRoundedRect(QRectF(0.08 * s, 0.74 * s, 0.84 * s, 0.075 * s), 0.02 * s, 0.02 * s);
}

void PaintWild(QPainter& p, double s, int frame) {
  // A violet burst with gold rays behind the heap, so the wild stands out from the tiles.
  QRadialGradient g(QPointF(0.5 * s, 0.5 * s), 0.75 * s);
  g.setColorAt(0, QColor(190, 90, 230));
  g.setColorAt(0.5, QColor(86, 20, 130));
  g.setColorAt(1, QColor(26, 4, 48));
  p.fillRect(QRectF(0, 0, s, s), g);
  p.save();
  p.translate(0.5 * s, 0.5 * s);
  p.rotate(frame * 6.0);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 16; ++i) {
    p.setBrush(QColor(255, 214, 90, i % 2 ? 34 : 60));
    QPainterPath ray;
    ray.moveTo(0, 0);
    ray.lineTo(s * std::cos((i * 22.5 - 5) * M_PI / 180),
               s * std::sin((i * 22.5 - 5) * M_PI / 180));
    ray.lineTo(s * std::cos((i * 22.5 + 5) * M_PI / 180),
               s * std::sin((i * 22.5 + 5) * M_PI / 180));
    ray.closeSubpath();
    p.drawPath(ray);
  }
  p.restore();
  p.setPen(QPen(QColor(255, 214, 110, 200), std::max(1.0, s / 50.0)));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(0.03 * s, 0.03 * s, 0.94 * s, 0.94 * s), 0.08 * s, 0.08 * s);

  // The heap of balls, back to front.
  Emo(p, "\U0001F3C8", Frac(s, 0.28, 0.04, 0.44, 0.32), s);  // football on top
  Emo(p, "\u26BE", Frac(s, 0.06, 0.14, 0.32, 0.32), s);      // baseball
  Emo(p, "\U0001F3BE", Frac(s, 0.64, 0.14, 0.30, 0.30), s);  // tennis
  Emo(p, "\U0001F3C0", Frac(s, 0.06, 0.34, 0.44, 0.44), s);  // basketball
  Emo(p, "\u26BD", Frac(s, 0.50, 0.34, 0.44, 0.44), s);      // soccer

  // WILD lettering with a shine sweeping across it from frame 1 to frame 4.
  const QFont font = PixelFont(QStringLiteral("DejaVu Sans"), s * 0.3, QFont::Black);
  QPainterPath word = TextPath(QStringLiteral("WILD"), font, Frac(s, 0.05, 0.60, 0.90, 0.30));
  const QRectF wb = word.boundingRect();
  QTransform widen;
  widen.translate(wb.center().x(), wb.center().y());
  widen.scale(std::min(1.25, 0.9 * s / wb.width()), 1.0);
  widen.translate(-wb.center().x(), -wb.center().y());
  word = widen.map(word);
  QLinearGradient gold(QPointF(0, word.boundingRect().top()),
                       QPointF(0, word.boundingRect().bottom()));
  gold.setColorAt(0, QColor(255, 250, 190));
  gold.setColorAt(0.45, QColor(255, 206, 40));
  gold.setColorAt(0.55, QColor(230, 150, 10));
  gold.setColorAt(1, QColor(255, 220, 80));
  // Frames 1..4: a hot glow pulses behind the letters.
  static const double kGlow[5] = {0.0, 0.55, 1.0, 0.8, 0.45};
  if (frame > 0) {
    const double k = DeviceScale(p);
    QImage halo(static_cast<int>(s * k) + 1, static_cast<int>(s * k) + 1,
                QImage::Format_ARGB32_Premultiplied);
    halo.fill(Qt::transparent);
    {
      QPainter q(&halo);
      q.setRenderHint(QPainter::Antialiasing);
      if (k != 1) q.scale(k, k);
      q.setPen(QPen(QColor(255, 230, 120), s * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      q.setBrush(QColor(255, 230, 120));
      q.drawPath(word);
    }
    const int radius = std::max(1, static_cast<int>(s * k * 0.03));
    for (int i = 0; i < 3; ++i) BoxBlur(halo, radius);
    p.save();
    p.setOpacity(kGlow[frame]);
    DrawDevicePicture(p, QPointF(0, 0), halo);
    p.restore();
  }
  Lettering(p, word, QColor(0, 0, 0, 0), QColor(40, 0, 40), s * 0.09);
  Lettering(p, word, gold, QColor(170, 20, 30), s * 0.045);
  if (frame == 0) return;
  // A slanted shine sweeps across the letters, left to right over frames 1..4.
  const QRectF b = word.boundingRect();
  const double x = b.left() + (0.08 + 0.28 * (frame - 1)) * b.width();
  QLinearGradient shine(QPointF(x - 0.1 * s, b.bottom()), QPointF(x + 0.1 * s, b.top()));
  shine.setColorAt(0, QColor(255, 255, 255, 0));
  shine.setColorAt(0.5, QColor(255, 255, 255, 250));
  shine.setColorAt(1, QColor(255, 255, 255, 0));
  p.save();
  p.setClipPath(word);
  p.fillRect(QRectF(0, 0, s, s), shine);
  p.restore();
  // Twinkles over the heap, at different places in each frame.
  static const QPointF kSparks[5][2] = {{},
                                        {QPointF(0.24, 0.22), QPointF(0.8, 0.5)},
                                        {QPointF(0.55, 0.12), QPointF(0.2, 0.5)},
                                        {QPointF(0.82, 0.24), QPointF(0.45, 0.46)},
                                        {QPointF(0.38, 0.3), QPointF(0.7, 0.1)}};
  for (int k = 0; k < 2; ++k) {
    const QPointF star = kSparks[frame][k] * s;
    const double r = (k == 0 ? 0.14 : 0.1) * s;
    QPainterPath spark;
    spark.moveTo(star + QPointF(0, -r));
    spark.quadTo(star, star + QPointF(r, 0));
    spark.quadTo(star, star + QPointF(0, r));
    spark.quadTo(star, star + QPointF(-r, 0));
    spark.quadTo(star, star + QPointF(0, -r));
    p.setPen(Qt::NoPen);
    QRadialGradient glow(star, r * 0.7);
    glow.setColorAt(0, QColor(255, 255, 255, 240));
    glow.setColorAt(1, QColor(255, 240, 160, 0));
    p.setBrush(glow);
    p.drawEllipse(star, r * 0.7, r * 0.7);
    p.setBrush(QColor(255, 255, 240));
    p.drawPath(spark);
  }
}

// The scatter piece: an enamelled badge carrying the ZELMAR name, one colouring per reel.
void PaintScatter(QPainter& p, double s, int reel) {
  struct Enamel {
    QColor light, dark, text;
  };
  static const Enamel kEnamel[5] = {
      {QColor(255, 214, 80), QColor(150, 80, 0), QColor(120, 20, 10)},      // gold
      {QColor(255, 90, 80), QColor(130, 0, 10), QColor(255, 246, 210)},     // ruby
      {QColor(110, 240, 120), QColor(0, 100, 40), QColor(255, 250, 220)},   // emerald
      {QColor(110, 190, 255), QColor(10, 40, 150), QColor(255, 250, 220)},  // sapphire
      {QColor(230, 130, 255), QColor(90, 10, 130), QColor(255, 250, 220)},  // amethyst
  };
  const Enamel& e = kEnamel[reel];
  PaintTile(p, s, Mix(e.dark, QColor(20, 20, 40), 0.5), QColor(230, 230, 240, 150));
  // Light rays behind the badge.
  p.save();
  p.translate(0.5 * s, 0.5 * s);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 12; ++i) {
    p.setBrush(QColor(e.light.red(), e.light.green(), e.light.blue(), 46));
    const double a0 = (i * 30 - 6) * M_PI / 180, a1 = (i * 30 + 6) * M_PI / 180;
    p.drawPolygon(QPolygonF({QPointF(0, 0), QPointF(s * std::cos(a0), s * std::sin(a0)),
                             QPointF(s * std::cos(a1), s * std::sin(a1))}));
  }
  p.restore();
  const QRectF outer = Frac(s, 0.05, 0.2, 0.9, 0.6);
  QPainterPath badge;
  badge.addRoundedRect(outer, 0.3 * s, 0.3 * s, Qt::AbsoluteSize);
  PathShadow(p, badge, s);
  QLinearGradient rim(outer.topLeft(), outer.bottomLeft());
  rim.setColorAt(0, QColor(255, 255, 255));
  rim.setColorAt(0.5, QColor(170, 176, 190));
  rim.setColorAt(0.51, QColor(110, 116, 130));
  rim.setColorAt(1, QColor(230, 232, 240));
  p.setPen(QPen(QColor(30, 30, 40), std::max(1.0, s / 76.0)));
  p.setBrush(rim);
  p.drawPath(badge);
  const QRectF inner = outer.adjusted(0.045 * s, 0.045 * s, -0.045 * s, -0.045 * s);
  QRadialGradient enamel(inner.center() - QPointF(0, 0.1 * s), 0.5 * s);
  enamel.setColorAt(0, e.light);
  enamel.setColorAt(1, e.dark);
  p.setPen(Qt::NoPen);
  p.setBrush(enamel);
  p.drawRoundedRect(inner, 0.26 * s, 0.26 * s, Qt::AbsoluteSize);
  // Gloss on the upper half of the enamel.
  p.setBrush(QColor(255, 255, 255, 60));
  p.drawRoundedRect(QRectF(inner.left() + 0.05 * s, inner.top() + 0.02 * s, inner.width() - 0.1 * s,
                           inner.height() * 0.42),
                    0.2 * s, 0.2 * s, Qt::AbsoluteSize);
  const QFont font = PixelFont(QStringLiteral("DejaVu Sans"), s * 0.2, QFont::Black);
  QPainterPath word = TextPath(QStringLiteral("ZELMAR"), font, inner.adjusted(0, 0, 0, -0.02 * s));
  const QRectF wb = word.boundingRect();
  QTransform fit;
  fit.translate(wb.center().x(), wb.center().y());
  fit.scale(0.74 * s / wb.width(), 0.74 * s / wb.width() > 1.1 ? 1.1 : 1.0);
  fit.translate(-wb.center().x(), -wb.center().y());
  word = fit.map(word);
  const QColor outline = reel == 0 ? QColor(255, 250, 220) : QColor(20, 10, 20);
  Lettering(p, word, e.text, outline, s * 0.035);
  // Small stars above and below the name.
  p.setBrush(QColor(255, 255, 230));
  p.setPen(QPen(QColor(40, 30, 10), std::max(0.6, s / 150.0)));
  for (double x : {0.35, 0.5, 0.65}) {
    for (double y : {0.3, 0.7}) {
      const QPointF c(x * s, y * s);
      const double r = (x == 0.5 ? 0.04 : 0.03) * s;
      QPolygonF star;
      for (int k = 0; k < 10; ++k) {
        const double a = -M_PI / 2 + k * M_PI / 5;
        const double rr = k % 2 ? r * 0.45 : r;
        star << c + QPointF(rr * std::cos(a), rr * std::sin(a));
      }
      p.drawPolygon(star);
    }
  }
}

}  // namespace

void PaintSymbol(QPainter& p, int code, int cell) {
  const double s = cell;
  p.save();
  p.setClipRect(QRectF(0, 0, s, s));
  p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                   QPainter::TextAntialiasing);
  if (code <= 4) {
    PaintWild(p, s, code);
  } else if (code <= 9) {
    PaintScatter(p, s, code - 5);
  } else if (code <= 21) {
    PaintSportsTile(p, s);
    switch (code) {
      case 10:  // ice-hockey sticks and puck: two sticks crossed over one puck
        EmoMirrored(p, "\U0001F3D2", Frac(s, 0.16, 0.08, 0.76, 0.76), s);
        Emo(p, "\U0001F3D2", Frac(s, 0.08, 0.08, 0.76, 0.76), s);
        break;
      case 11:  // racing car
        Emo(p, "\U0001F3CE", Frac(s, 0.06, 0.14, 0.88, 0.72), s);
        break;
      case 12:  // boxing gloves, a pair
        EmoMirrored(p, "\U0001F94A", Frac(s, 0.06, 0.12, 0.52, 0.7), s);
        Emo(p, "\U0001F94A", Frac(s, 0.42, 0.2, 0.52, 0.7), s);
        break;
      case 13:  // soccer ball
        Emo(p, "\u26BD", Frac(s, 0.12, 0.12, 0.76, 0.76), s);
        break;
      case 14:  // tennis racket and ball
        Emo(p, "\U0001F3BE", Frac(s, 0.1, 0.1, 0.8, 0.8), s);
        break;
      case 15:  // gymnast on a balance beam
        PaintBalanceBeam(p, s);
        Emo(p, "\U0001F938", Frac(s, 0.1, 0.02, 0.8, 0.73), s);
        break;
      case 16:  // billiard eight-ball
        Emo(p, "\U0001F3B1", Frac(s, 0.12, 0.12, 0.76, 0.76), s);
        break;
      case 17:  // bowling pin
        PaintBowlingPin(p, s);
        break;
      case 18:  // American football
        Emo(p, "\U0001F3C8", Frac(s, 0.08, 0.12, 0.84, 0.76), s);
        break;
      case 19:  // basketball
        Emo(p, "\U0001F3C0", Frac(s, 0.12, 0.12, 0.76, 0.76), s);
        break;
      case 20:  // baseball bat and ball
        PaintBaseballBat(p, s);
        Emo(p, "\u26BE", Frac(s, 0.5, 0.5, 0.4, 0.4), s);
        break;
      case 21:  // golf ball on a tee
        PaintGolfBallOnTee(p, s);
        break;
    }
  } else {
    p.fillRect(QRectF(0, 0, s, s), Qt::black);
  }
  p.restore();
}

QImage MakeSymbolSheet(int cell) {
  QImage sheet(kSheetColumns * cell, kSheetRows * cell, QImage::Format_RGB32);
  sheet.fill(Qt::black);
  QPainter p(&sheet);
  for (int code = 0; code < kSheetColumns * kSheetRows; ++code) {
    p.save();
    p.translate((code % kSheetColumns) * cell, (code / kSheetColumns) * cell);
    PaintSymbol(p, code, cell);
    p.restore();
  }
  return sheet;
}

QImage MakeSpinStrip(int scale) {
  QImage strip(kStripCell * scale, kStripCell * kStripCells * scale,
               QImage::Format_ARGB32_Premultiplied);
  strip.fill(Qt::black);
  {
    QPainter p(&strip);
    if (scale != 1) p.scale(scale, scale);
    for (int i = 0; i < kStripCells; ++i) {
      p.save();
      p.translate(0, i * kStripCell);
      PaintSymbol(p, kStripCodes[i], kStripCell);
      p.restore();
    }
  }
  // A long box twice over reads as a streak; the wrap keeps the join invisible.
  BoxBlurVerticalWrap(strip, 9 * scale);
  BoxBlurVerticalWrap(strip, 9 * scale);
  return strip.convertToFormat(QImage::Format_RGB32);
}

}  // namespace art
