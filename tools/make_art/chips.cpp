#include "chips.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <numbers>

#include "paint_kit.h"

namespace art {

namespace {

// Chips are painted four times larger and then reduced with area averaging, which gives clean
// edges and lettering at the small size.
constexpr int kOversample = 4;

// Geometry in oversampled pixels. The chip is a disc of radius kRadius seen from above at an
// angle, so its face is squashed vertically by kTilt and its edge shows kThickness pixels.
constexpr double kRadius = 37.5 * kOversample;
constexpr double kTilt = 0.64;
constexpr double kThickness = 6.0 * kOversample;
constexpr int kEdgeSpots = 6;
constexpr double kSpotDegrees = 22.0;

const ChipStyle kStyles[] = {
    {QStringLiteral("chip_1000.png"), QStringLiteral("$1,000"), QColor(22, 62, 172),
     QColor(245, 245, 240), QColor(236, 232, 218), QColor(18, 46, 130)},
    {QStringLiteral("chip_100.png"), QStringLiteral("$100"), QColor(184, 22, 30),
     QColor(245, 245, 240), QColor(236, 232, 218), QColor(150, 14, 22)},
    {QStringLiteral("chip_10.png"), QStringLiteral("$10"), QColor(18, 128, 62),
     QColor(245, 245, 240), QColor(236, 232, 218), QColor(12, 96, 44)},
    {QStringLiteral("chip_1.png"), QStringLiteral("$1"), QColor(30, 30, 34), QColor(214, 178, 72),
     QColor(236, 232, 218), QColor(24, 24, 28)},
};

// The annular sector of the face between radii inner and outer, angles a0..a1 (degrees),
// in face coordinates (centre at the origin, not yet squashed).
QPainterPath Sector(double inner, double outer, double a0, double a1) {
  QPainterPath path;
  path.arcMoveTo(QRectF(-outer, -outer, 2 * outer, 2 * outer), a0);
  path.arcTo(QRectF(-outer, -outer, 2 * outer, 2 * outer), a0, a1 - a0);
  path.arcTo(QRectF(-inner, -inner, 2 * inner, 2 * inner), a1, a0 - a1);
  path.closeSubpath();
  return path;
}

// The visible side band of the chip between angles a0 and a1 (degrees, measured as on the
// face; the front half is 180..360), in picture coordinates around centre c.
QPolygonF SideBand(QPointF c, double a0, double a1) {
  QPolygonF top, bottom;
  constexpr int kSteps = 24;
  for (int i = 0; i <= kSteps; ++i) {
    const double a = (a0 + (a1 - a0) * i / kSteps) * std::numbers::pi / 180.0;
    // Qt's angles run counter-clockwise with y up; on the picture y grows downwards.
    const QPointF p(c.x() + kRadius * std::cos(a), c.y() - kRadius * kTilt * std::sin(a));
    top << p;
    bottom.prepend(p + QPointF(0, kThickness));
  }
  return top + bottom;
}

}  // namespace

const ChipStyle* ChipStyles(int* count) {
  *count = static_cast<int>(std::size(kStyles));
  return kStyles;
}

QImage MakeChip(const ChipStyle& style, int scale) {
  // w, h and the geometry are in oversampled pixels of the design-size chip; the painter's scale
  // makes the picture `scale` times larger before it is reduced.
  const int w = kChipWidth * kOversample, h = kChipHeight * kOversample;
  QImage big(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  const QPointF c(w / 2.0, kRadius * kTilt + 1.5 * kOversample);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    if (scale != 1) p.scale(scale, scale);

    // A soft shadow under the chip, cast down and to the right.
    QImage shadow(w * scale, h * scale, QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
      QPainter s(&shadow);
      s.setRenderHint(QPainter::Antialiasing);
      if (scale != 1) s.scale(scale, scale);
      s.setPen(Qt::NoPen);
      s.setBrush(QColor(0, 0, 0, 120));
      s.drawEllipse(c + QPointF(2.0 * kOversample, kThickness + 1.5 * kOversample), kRadius - 2,
                    kRadius * kTilt - 2);
    }
    BoxBlur(shadow, 2 * kOversample * scale);
    DrawDevicePicture(p, QPointF(0, 0), shadow);

    // The edge: the clay darkened, the inserts running over it.
    QLinearGradient side(c.x() - kRadius, 0, c.x() + kRadius, 0);
    side.setColorAt(0.0, Scaled(style.body, 0.45));
    side.setColorAt(0.35, Scaled(style.body, 0.8));
    side.setColorAt(1.0, Scaled(style.body, 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(side);
    p.drawPolygon(SideBand(c, 180, 360));
    QLinearGradient spot_side(c.x() - kRadius, 0, c.x() + kRadius, 0);
    spot_side.setColorAt(0.0, Scaled(style.spots, 0.55));
    spot_side.setColorAt(0.35, Scaled(style.spots, 0.92));
    spot_side.setColorAt(1.0, Scaled(style.spots, 0.6));
    p.setBrush(spot_side);
    for (int i = 0; i < kEdgeSpots; ++i) {
      const double mid = 30.0 + i * 360.0 / kEdgeSpots;
      double a0 = mid - kSpotDegrees / 2, a1 = mid + kSpotDegrees / 2;
      // Only the front half of the edge can be seen.
      for (double shift : {0.0, 360.0}) {
        const double s0 = std::max(a0 + shift, 180.0), s1 = std::min(a1 + shift, 360.0);
        if (s1 > s0) p.drawPolygon(SideBand(c, s0, s1));
      }
    }

    // The face, squashed into an ellipse.
    p.save();
    p.translate(c);
    p.scale(1.0, kTilt);
    QRadialGradient clay(QPointF(-kRadius * 0.35, -kRadius * 0.45), kRadius * 1.6);
    clay.setColorAt(0.0, Mix(style.body, Qt::white, 0.28));
    clay.setColorAt(0.55, style.body);
    clay.setColorAt(1.0, Scaled(style.body, 0.72));
    p.setBrush(clay);
    p.drawEllipse(QPointF(0, 0), kRadius, kRadius);
    // Edge inserts on the face.
    p.setBrush(style.spots);
    for (int i = 0; i < kEdgeSpots; ++i) {
      const double mid = 30.0 + i * 360.0 / kEdgeSpots;
      p.drawPath(
          Sector(kRadius * 0.76, kRadius - 0.5, mid - kSpotDegrees / 2, mid + kSpotDegrees / 2));
    }
    // Small inserts between the large ones, as on a real casino chip.
    for (int i = 0; i < kEdgeSpots; ++i) {
      const double mid = i * 360.0 / kEdgeSpots;
      p.drawPath(Sector(kRadius * 0.86, kRadius * 0.94, mid - 4, mid + 4));
    }
    // The raised rim line around the inlay.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Mix(style.spots, style.body, 0.25), 1.2 * kOversample, Qt::DashLine));
    p.drawEllipse(QPointF(0, 0), kRadius * 0.69, kRadius * 0.69);
    // The inlay with its printed value.
    QRadialGradient paper(QPointF(-kRadius * 0.2, -kRadius * 0.25), kRadius * 0.9);
    paper.setColorAt(0.0, Mix(style.inlay, Qt::white, 0.5));
    paper.setColorAt(1.0, Scaled(style.inlay, 0.9));
    p.setPen(QPen(Scaled(style.body, 0.8), 0.8 * kOversample));
    p.setBrush(paper);
    p.drawEllipse(QPointF(0, 0), kRadius * 0.6, kRadius * 0.6);
    p.restore();

    // The value is printed flat on the inlay but kept tall enough to read at a glance.
    const double inlay_width = 2 * kRadius * 0.6;
    QFont font = PixelFont(QStringLiteral("DejaVu Sans"), 13.0 * kOversample, QFont::Black);
    QPainterPath text;
    text.addText(0, 0, font, style.label);
    const QRectF b = text.boundingRect();
    const double fit = std::min(1.0, inlay_width * 0.86 / b.width());
    QTransform place;
    place.translate(c.x(), c.y());
    place.scale(fit, fit * 0.82);
    place.translate(-b.center().x(), -b.center().y());
    Lettering(p, place.map(text), style.lettering, QColor(0, 0, 0, 0), 0);

    // A gloss across the upper face.
    p.save();
    p.translate(c);
    p.scale(1.0, kTilt);
    QLinearGradient gloss(0, -kRadius, 0, kRadius * 0.2);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawEllipse(QPointF(0, 0), kRadius - 1, kRadius - 1);
    p.restore();
  }
  return big
      .scaled(kChipWidth * scale, kChipHeight * scale, Qt::IgnoreAspectRatio,
              Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_ARGB32);
}

QImage MakeOkGlyph() {
  const int side = kGlyphSide * kOversample;
  QImage big(side, side, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(0.12 * side, 0.55 * side);
    tick.lineTo(0.40 * side, 0.82 * side);
    tick.lineTo(0.88 * side, 0.20 * side);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(10, 80, 20), 0.20 * side, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
    QLinearGradient green(0, 0, 0, side);
    green.setColorAt(0.0, QColor(120, 220, 100));
    green.setColorAt(1.0, QColor(20, 150, 40));
    p.setPen(QPen(QBrush(green), 0.12 * side, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
  }
  return big.scaled(kGlyphSide, kGlyphSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_ARGB32);
}

QImage MakeHelpGlyph() {
  const int side = kGlyphSide * kOversample;
  QImage big(side, side, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient disc(QPointF(0.38 * side, 0.32 * side), 0.7 * side);
    disc.setColorAt(0.0, QColor(120, 170, 255));
    disc.setColorAt(1.0, QColor(20, 60, 170));
    p.setPen(QPen(QColor(10, 36, 110), 0.05 * side));
    p.setBrush(disc);
    p.drawEllipse(QRectF(0.05 * side, 0.05 * side, 0.9 * side, 0.9 * side));
    const QFont font = PixelFont(QStringLiteral("DejaVu Sans"), 0.72 * side, QFont::Black);
    Lettering(p, TextPath(QStringLiteral("?"), font, QRectF(0, 0, side, side)), Qt::white,
              QColor(0, 0, 0, 0), 0);
  }
  return big.scaled(kGlyphSide, kGlyphSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_ARGB32);
}

}  // namespace art
