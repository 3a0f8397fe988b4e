#include "emblem.h"

#include <QBuffer>
#include <QFile>
#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QSvgGenerator>
#include <cmath>

namespace icon {
namespace {

const QColor kGoldLight(255, 236, 140);
const QColor kGold(246, 190, 40);
const QColor kGoldDark(166, 104, 10);
const QColor kCabinetRed(222, 28, 40);
const QColor kCabinetDark(110, 0, 18);
const QColor kSevenRed(214, 14, 28);
const QColor kInk(40, 8, 12);

QLinearGradient Vertical(double top, double bottom, QColor from, QColor to) {
  QLinearGradient g(0, top, 0, bottom);
  g.setColorAt(0, from);
  g.setColorAt(1, to);
  return g;
}

// A rounded rectangle filled with the rim brush, and inside it, `rim` units in, the same shape
// with the face brush. Rims are drawn as fills rather than strokes so that every renderer of
// the SVG gets the same gradients.
void RimmedBox(QPainter& p, const QRectF& box, double radius, double rim, const QBrush& rim_brush,
               const QBrush& face) {
  p.setPen(Qt::NoPen);
  p.setBrush(rim_brush);
  p.drawRoundedRect(box, radius, radius);
  p.setBrush(face);
  const QRectF inner = box.adjusted(rim, rim, -rim, -rim);
  p.drawRoundedRect(inner, radius - rim, radius - rim);
}

// A bold "7" standing in a reel cell whose top-left corner is `at`, 40 x 68 units.
QPolygonF Seven(QPointF at) {
  const QPolygonF shape({{7, 14}, {33, 14}, {33, 23}, {22, 56}, {11, 56}, {23, 24}, {7, 24}});
  return shape.translated(at);
}

void PaintDome(QPainter& p) {
  // The dome: the upper half of an ellipse sitting on the cabinet.
  QPainterPath dome;
  dome.moveTo(34, 98);
  dome.arcTo(QRectF(34, 18, 164, 160), 180, -180);
  dome.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Vertical(18, 98, kGoldLight, kGoldDark));
  p.drawPath(dome);
  QPainterPath face;
  face.moveTo(44, 98);
  face.arcTo(QRectF(44, 28, 144, 140), 180, -180);
  face.closeSubpath();
  QRadialGradient glow(116, 70, 70);
  glow.setColorAt(0, QColor(255, 250, 214));
  glow.setColorAt(0.6, kGold);
  glow.setColorAt(1, QColor(214, 140, 20));
  p.setBrush(glow);
  p.drawPath(face);

  // A five-pointed star in the dome.
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    const double radius = (i % 2 == 0) ? 26 : 11;
    const double angle = -M_PI / 2 + i * M_PI / 5;
    star << QPointF(116 + radius * std::cos(angle), 66 + radius * std::sin(angle));
  }
  p.setBrush(QColor(255, 255, 255));
  p.drawPolygon(star);
  QPolygonF inner;
  for (const QPointF& point : star) inner << QPointF(116, 66) + (point - QPointF(116, 66)) * 0.72;
  p.setBrush(kSevenRed);
  p.drawPolygon(inner);
}

void PaintLever(QPainter& p) {
  // The lever stands behind the cabinet's right side and leans out to its ball.
  QPainterPath stem;
  stem.moveTo(206, 172);
  stem.lineTo(230, 58);
  stem.lineTo(238, 60);
  stem.lineTo(216, 174);
  stem.closeSubpath();
  QLinearGradient metal(206, 0, 238, 0);
  metal.setColorAt(0, QColor(120, 124, 132));
  metal.setColorAt(0.5, QColor(246, 248, 252));
  metal.setColorAt(1, QColor(96, 100, 108));
  p.setPen(Qt::NoPen);
  p.setBrush(metal);
  p.drawPath(stem);
  QRadialGradient ball(228, 42, 22, 222, 36);
  ball.setColorAt(0, QColor(255, 190, 190));
  ball.setColorAt(0.35, kCabinetRed);
  ball.setColorAt(1, kCabinetDark);
  p.setBrush(ball);
  p.drawEllipse(QPointF(234, 50), 17, 17);
  // The hub where the lever meets the cabinet.
  p.setBrush(Vertical(150, 194, QColor(236, 238, 242), QColor(90, 94, 102)));
  p.drawRoundedRect(QRectF(196, 150, 22, 44), 6, 6);
}

void PaintCabinet(QPainter& p) {
  RimmedBox(p, QRectF(26, 90, 180, 152), 20, 7, Vertical(90, 242, kGoldLight, kGoldDark),
            Vertical(97, 235, kCabinetRed, kCabinetDark));

  // The reel window: a dark frame with a gold lining and three reels.
  RimmedBox(p, QRectF(40, 106, 152, 84), 12, 4, Vertical(106, 190, kGoldLight, kGoldDark),
            QColor(24, 6, 10));
  for (int reel = 0; reel < 3; ++reel) {
    const QPointF at(48 + reel * 46, 114);
    QLinearGradient drum(0, at.y(), 0, at.y() + 68);
    drum.setColorAt(0, QColor(130, 130, 138));
    drum.setColorAt(0.5, QColor(255, 255, 255));
    drum.setColorAt(1, QColor(130, 130, 138));
    p.setBrush(drum);
    p.drawRect(QRectF(at, QSizeF(40, 68)));
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kSevenRed);
    p.drawPolygon(Seven(at));
    p.setPen(Qt::NoPen);
  }
  // The payline across the middle row.
  p.setBrush(QColor(255, 214, 60));
  p.drawRect(QRectF(40, 146, 6, 4));
  p.drawRect(QRectF(186, 146, 6, 4));

  // The coin tray.
  RimmedBox(p, QRectF(62, 204, 108, 26), 8, 3, Vertical(204, 230, kGoldLight, kGoldDark),
            Vertical(207, 227, QColor(10, 2, 4), QColor(70, 20, 26)));
}

}  // namespace

void PaintEmblem(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing);
  PaintLever(p);
  PaintDome(p);
  PaintCabinet(p);
}

QImage EmblemPicture(int size) {
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.scale(double(size) / kDesignSize, double(size) / kDesignSize);
  PaintEmblem(p);
  p.end();
  return picture.convertToFormat(QImage::Format_ARGB32);
}

bool WriteEmblemSvg(const QString& path) {
  QBuffer svg;
  QSvgGenerator generator;
  generator.setOutputDevice(&svg);
  generator.setSize(QSize(kDesignSize, kDesignSize));
  generator.setViewBox(QRect(0, 0, kDesignSize, kDesignSize));
  generator.setTitle(QStringLiteral("Zelmar Slots"));
  generator.setDescription(QStringLiteral("A slot-machine cabinet with three sevens"));
  QPainter p(&generator);
  PaintEmblem(p);
  p.end();
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(svg.data()) == svg.data().size();
}

}  // namespace icon
