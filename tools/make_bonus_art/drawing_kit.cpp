#include "drawing_kit.h"

#include <QFile>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace bonusart {

QImage RenderSupersampled(int w, int h, const QColor& background,
                          const std::function<void(QPainter&)>& paint, int factor) {
  QImage big(w * factor, h * factor, QImage::Format_ARGB32_Premultiplied);
  big.fill(background);
  {
    QPainter p(&big);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(factor, factor);
    paint(p);
  }
  const QImage small = big.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  // An opaque background gives an opaque picture; a transparent one keeps its alpha so the
  // result can be laid over another picture.
  return small.convertToFormat(background.alpha() == 255 ? QImage::Format_RGB32
                                                         : QImage::Format_ARGB32_Premultiplied);
}

std::uint32_t Dice::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

double Dice::Uniform(double lo, double hi) {
  return lo + (hi - lo) * (Next() / 4294967296.0);
}

int Dice::Below(int n) {
  return static_cast<int>(Next() % static_cast<std::uint32_t>(n));
}

void DrawEyes(QPainter& p, QPointF centre, double spacing, double w, double h, bool blink,
              const QColor& lid, QPointF look) {
  p.save();
  for (int side = -1; side <= 1; side += 2) {
    const QPointF c = centre + QPointF(side * spacing / 2, 0);
    const QRectF eye(c.x() - w / 2, c.y() - h / 2, w, h);
    if (blink) {
      // Closed lids: the eye's shape in the lid colour, with the lash line across its lower
      // half and a lash flicking out at the outer corner.
      QLinearGradient shade(eye.topLeft(), eye.bottomLeft());
      shade.setColorAt(0.0, lid.lighter(118));
      shade.setColorAt(1.0, lid.darker(125));
      p.setPen(QPen(kInk, std::max(1.2, w * 0.14)));
      p.setBrush(shade);
      p.drawEllipse(eye);
      QPainterPath lash;
      lash.moveTo(eye.left() + w * 0.04, c.y() + h * 0.08);
      lash.quadTo(c.x(), c.y() + h * 0.42, eye.right() - w * 0.04, c.y() + h * 0.08);
      p.setPen(QPen(kInk, std::max(1.4, w * 0.16), Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawPath(lash);
      const double ox = side < 0 ? eye.left() + w * 0.06 : eye.right() - w * 0.06;
      p.setPen(QPen(kInk, std::max(1.0, w * 0.1), Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(ox, c.y() + h * 0.1), QPointF(ox + side * w * 0.2, c.y() + h * 0.26));
      continue;
    }
    QLinearGradient white(eye.topLeft(), eye.bottomLeft());
    white.setColorAt(0.0, QColor(255, 255, 255));
    white.setColorAt(0.7, QColor(246, 248, 255));
    white.setColorAt(1.0, QColor(205, 212, 230));
    p.setPen(QPen(kInk, std::max(1.2, w * 0.14)));
    p.setBrush(white);
    p.drawEllipse(eye);
    // Pupils look a little down and toward the middle so the character meets the player.
    const double pw = w * 0.52, ph = h * 0.56;
    const QPointF pc = c + QPointF((look.x() * -side * 0.3 + 0.05) * w * 0.35, look.y() * h * 0.14);
    QRadialGradient iris(pc, pw * 0.6);
    iris.setColorAt(0.0, QColor(60, 50, 80));
    iris.setColorAt(1.0, QColor(5, 5, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(iris);
    p.drawEllipse(pc, pw / 2, ph / 2);
    p.setBrush(Qt::white);
    p.drawEllipse(pc + QPointF(-pw * 0.18, -ph * 0.2), pw * 0.2, pw * 0.2);
    p.drawEllipse(pc + QPointF(pw * 0.2, ph * 0.22), pw * 0.08, pw * 0.08);
  }
  p.restore();
}

void DrawSmile(QPainter& p, QPointF centre, double width, double depth) {
  p.save();
  QPainterPath mouth;
  const double l = centre.x() - width / 2, r = centre.x() + width / 2, y = centre.y();
  mouth.moveTo(l, y);
  mouth.quadTo(centre.x(), y + depth * 0.35, r, y);
  mouth.quadTo(centre.x(), y + depth * 2.1, l, y);
  mouth.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(110, 16, 28));
  p.drawPath(mouth);
  p.setClipPath(mouth);
  p.setBrush(QColor(236, 96, 110));
  p.drawEllipse(QPointF(centre.x() + width * 0.08, y + depth * 1.25), width * 0.28, depth * 0.5);
  p.setClipping(false);
  p.setPen(QPen(kInk, std::max(1.2, width * 0.09), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(mouth);
  p.restore();
}

void DrawGlove(QPainter& p, QPointF wrist, QPointF centre, double s, bool mirror) {
  p.save();
  const QPointF d = centre - wrist;
  const double angle = std::atan2(d.y(), d.x()) * 180.0 / M_PI;
  p.translate(centre);
  p.rotate(angle);
  const double t = mirror ? 1.0 : -1.0;  // thumb side

  QPainterPath hand;
  hand.addEllipse(QPointF(0.05 * s, 0), 0.62 * s, 0.56 * s);
  QPainterPath thumb;
  thumb.addEllipse(QPointF(-0.12 * s, t * 0.5 * s), 0.3 * s, 0.2 * s);
  QPainterPath cuff;
  cuff.addRoundedRect(QRectF(-1.0 * s, -0.42 * s, 0.5 * s, 0.84 * s), 0.18 * s, 0.18 * s);
  const QPainterPath glove = hand.united(thumb).united(cuff);

  QRadialGradient shade(QPointF(-0.1 * s, -0.25 * s), 1.1 * s);
  shade.setColorAt(0.0, QColor(255, 255, 255));
  shade.setColorAt(0.6, QColor(244, 244, 250));
  shade.setColorAt(1.0, QColor(190, 194, 212));
  p.setPen(QPen(kInk, std::max(1.2, s * 0.16), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(shade);
  p.drawPath(glove);

  // Finger creases and the cuff's seam.
  p.setPen(QPen(kInk, std::max(0.8, s * 0.09), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(0.35 * s, -0.14 * s), QPointF(0.62 * s, -0.14 * s));
  p.drawLine(QPointF(0.35 * s, 0.14 * s), QPointF(0.62 * s, 0.14 * s));
  p.drawLine(QPointF(-0.55 * s, -0.36 * s), QPointF(-0.55 * s, 0.36 * s));
  p.restore();
}

void DrawShoe(QPainter& p, QPointF g, double l, bool point_left, const QColor& colour) {
  p.save();
  p.translate(g);
  if (!point_left) p.scale(-1, 1);
  // Drawn pointing left: toe at -L/2, heel at +L/2, ground at y = 0.
  QPainterPath upper;
  upper.moveTo(0.46 * l, -0.16 * l);
  upper.cubicTo(0.5 * l, -0.34 * l, 0.38 * l, -0.54 * l, 0.2 * l, -0.54 * l);
  upper.lineTo(0.02 * l, -0.52 * l);
  upper.cubicTo(-0.12 * l, -0.4 * l, -0.5 * l, -0.46 * l, -0.52 * l, -0.2 * l);
  upper.lineTo(-0.52 * l, -0.14 * l);
  upper.closeSubpath();
  QLinearGradient fill(0, -0.55 * l, 0, -0.1 * l);
  fill.setColorAt(0.0, colour.lighter(150));
  fill.setColorAt(0.45, colour);
  fill.setColorAt(1.0, colour.darker(150));
  const QPen ink(kInk, std::max(1.2, l * 0.08), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(ink);
  p.setBrush(fill);
  p.drawPath(upper);

  // White toe cap and laces.
  QPainterPath cap;
  cap.moveTo(-0.52 * l, -0.16 * l);
  cap.cubicTo(-0.5 * l, -0.36 * l, -0.3 * l, -0.38 * l, -0.2 * l, -0.16 * l);
  cap.closeSubpath();
  p.setBrush(QColor(250, 250, 250));
  p.setPen(QPen(kInk, std::max(0.9, l * 0.05)));
  p.drawPath(cap);
  p.setPen(QPen(QColor(255, 255, 255), std::max(0.9, l * 0.06), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(-0.02 * l, -0.44 * l), QPointF(0.1 * l, -0.3 * l));
  p.drawLine(QPointF(0.1 * l, -0.46 * l), QPointF(0.0 * l, -0.3 * l));

  // Sole.
  QPainterPath sole;
  sole.addRoundedRect(QRectF(-0.56 * l, -0.19 * l, 1.08 * l, 0.19 * l), 0.09 * l, 0.09 * l);
  QLinearGradient sole_fill(0, -0.19 * l, 0, 0);
  sole_fill.setColorAt(0.0, QColor(255, 255, 255));
  sole_fill.setColorAt(1.0, QColor(200, 200, 212));
  p.setPen(ink);
  p.setBrush(sole_fill);
  p.drawPath(sole);
  p.restore();
}

void DrawLimb(QPainter& p, QPointF a, QPointF bend, QPointF b, double width) {
  p.save();
  QPainterPath limb;
  limb.moveTo(a);
  limb.quadTo(bend, b);
  p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(limb);
  p.restore();
}

void DrawGroundShadow(QPainter& p, QPointF c, double rx, double ry, double strength) {
  p.save();
  p.translate(c);
  p.scale(1.0, ry / rx);
  QRadialGradient g(QPointF(0, 0), rx);
  g.setColorAt(0.0, QColor(40, 40, 60, static_cast<int>(110 * strength)));
  g.setColorAt(0.6, QColor(40, 40, 60, static_cast<int>(55 * strength)));
  g.setColorAt(1.0, QColor(40, 40, 60, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawEllipse(QPointF(0, 0), rx, rx);
  p.restore();
}

namespace {

struct JpegError {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  auto* err = reinterpret_cast<JpegError*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}

}  // namespace

bool WriteJpeg(const QImage& image, const QString& path, int quality, QString* error) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
  if (!file) {
    *error = QStringLiteral("cannot open %1 for writing").arg(path);
    return false;
  }
  jpeg_compress_struct info;
  JpegError err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnJpegError;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&info);
    std::fclose(file);
    *error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(err.message));
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(rgb.width());
  info.image_height = static_cast<JDIMENSION>(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  // Full-resolution colour: with the usual 2x2 chroma subsampling, the colour of a character
  // would smear a few pixels into the white border that must stay white.
  for (int c = 0; c < info.num_components; ++c) {
    info.comp_info[c].h_samp_factor = 1;
    info.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  const bool closed = std::fclose(file) == 0;
  if (!closed) {
    *error = QStringLiteral("cannot finish writing %1").arg(path);
    return false;
  }
  return true;
}

}  // namespace bonusart
