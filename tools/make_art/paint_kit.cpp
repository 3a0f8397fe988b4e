#include "paint_kit.h"

#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

namespace {

// One pass of a running-sum box blur over n samples of 4 channels, read and written with a
// stride. wrap chooses cyclic neighbours instead of clamped ones.
void BlurLine(uint8_t* data, int n, int stride, int radius, bool wrap) {
  std::vector<uint8_t> src(static_cast<size_t>(n) * 4);
  for (int i = 0; i < n; ++i)
    for (int c = 0; c < 4; ++c) src[i * 4 + c] = data[i * stride + c];
  auto at = [&](int i, int c) -> int {
    if (wrap) {
      i %= n;
      if (i < 0) i += n;
    } else {
      i = std::clamp(i, 0, n - 1);
    }
    return src[i * 4 + c];
  };
  const int window = 2 * radius + 1;
  for (int c = 0; c < 4; ++c) {
    int sum = 0;
    for (int k = -radius; k <= radius; ++k) sum += at(k, c);
    for (int i = 0; i < n; ++i) {
      data[i * stride + c] = static_cast<uint8_t>((sum + window / 2) / window);
      sum += at(i + radius + 1, c) - at(i - radius, c);
    }
  }
}

}  // namespace

void BoxBlurVerticalWrap(QImage& image, int radius) {
  if (radius <= 0) return;
  const int stride = static_cast<int>(image.bytesPerLine());
  for (int x = 0; x < image.width(); ++x)
    BlurLine(image.bits() + x * 4, image.height(), stride, radius, true);
}

void BoxBlur(QImage& image, int radius) {
  if (radius <= 0) return;
  const int stride = static_cast<int>(image.bytesPerLine());
  for (int y = 0; y < image.height(); ++y)
    BlurLine(image.scanLine(y), image.width(), 4, radius, false);
  for (int x = 0; x < image.width(); ++x)
    BlurLine(image.bits() + x * 4, image.height(), stride, radius, false);
}

QImage ShadowOf(const QImage& picture, QColor colour, int radius) {
  const int pad = radius * 3;
  QImage shadow(picture.width() + 2 * pad, picture.height() + 2 * pad,
                QImage::Format_ARGB32_Premultiplied);
  shadow.fill(Qt::transparent);
  {
    QPainter p(&shadow);
    p.drawImage(pad, pad, picture);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(shadow.rect(), colour);
  }
  // Three box passes approximate a Gaussian.
  for (int i = 0; i < 3; ++i) BoxBlur(shadow, radius);
  return shadow;
}

const QImage& Emoji(const QString& text) {
  static QHash<QString, QImage> cache;
  auto it = cache.find(text);
  if (it != cache.end()) return *it;
  QImage big(320, 320, QImage::Format_ARGB32_Premultiplied);
  big.fill(Qt::transparent);
  {
    QPainter p(&big);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    QFont f(QStringLiteral("Noto Color Emoji"));
    f.setPixelSize(160);
    p.setFont(f);
    p.drawText(QRectF(0, 0, 320, 320), Qt::AlignCenter, text);
  }
  int left = big.width(), top = big.height(), right = -1, bottom = -1;
  for (int y = 0; y < big.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(big.constScanLine(y));
    for (int x = 0; x < big.width(); ++x) {
      if (qAlpha(line[x]) > 8) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  QImage cropped = right < 0 ? QImage(1, 1, QImage::Format_ARGB32_Premultiplied)
                             : big.copy(left, top, right - left + 1, bottom - top + 1);
  if (right < 0) cropped.fill(Qt::transparent);
  return *cache.insert(text, cropped);
}

double DeviceScale(const QPainter& p) {
  return std::sqrt(std::abs(p.deviceTransform().determinant()));
}

void DrawDevicePicture(QPainter& p, const QPointF& at, const QImage& picture) {
  if (p.deviceTransform().type() <= QTransform::TxTranslate) {
    p.drawImage(at, picture);
    return;
  }
  const QPointF device = p.deviceTransform().map(at);
  p.save();
  p.resetTransform();
  p.drawImage(device, picture);
  p.restore();
}

void DrawFitted(QPainter& p, const QImage& picture, const QRectF& box) {
  const double k = DeviceScale(p);
  const double scale = std::min(box.width() / picture.width(), box.height() / picture.height()) * k;
  const int w = std::max(1, static_cast<int>(std::lround(picture.width() * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(picture.height() * scale)));
  const QImage scaled = picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  DrawDevicePicture(p, QPointF(box.center().x() - w / (2.0 * k), box.center().y() - h / (2.0 * k)),
                    scaled);
}

void DrawWithShadow(QPainter& p, const QImage& picture, const QRectF& box, double shadow_offset) {
  // Sizes in device pixels; places in the painter's units.
  const double k = DeviceScale(p);
  const double scale = std::min(box.width() / picture.width(), box.height() / picture.height()) * k;
  const int w = std::max(1, static_cast<int>(std::lround(picture.width() * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(picture.height() * scale)));
  const QImage scaled = picture.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const int radius = std::max(1, static_cast<int>(std::lround(shadow_offset * k * 0.8)));
  const QImage shadow = ShadowOf(scaled, QColor(0, 0, 0, 170), radius);
  const QPointF at(box.center().x() - w / (2.0 * k), box.center().y() - h / (2.0 * k));
  DrawDevicePicture(p, at + QPointF(shadow_offset - radius * 3 / k, shadow_offset - radius * 3 / k),
                    shadow);
  DrawDevicePicture(p, at, scaled);
}

void BrushedStreaks(QPainter& p, const QRectF& rect, Noise& noise, double strength) {
  p.save();
  p.setClipRect(rect);
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int y = static_cast<int>(rect.top()); y < rect.bottom(); ++y) {
    double x = rect.left();
    while (x < rect.right()) {
      const double len = 6 + noise.Unit() * 40;
      const int v = noise.Unit() < 0.5 ? 255 : 0;
      const int a = static_cast<int>(noise.Unit() * 40 * strength);
      p.fillRect(QRectF(x, y, len, 1), QColor(v, v, v, a));
      x += len;
    }
  }
  p.restore();
}

QLinearGradient ChromeGradient(const QPointF& from, const QPointF& to) {
  QLinearGradient g(from, to);
  g.setColorAt(0.00, QColor(250, 250, 252));
  g.setColorAt(0.18, QColor(196, 202, 212));
  g.setColorAt(0.45, QColor(120, 126, 138));
  g.setColorAt(0.55, QColor(92, 98, 110));
  g.setColorAt(0.80, QColor(168, 174, 186));
  g.setColorAt(1.00, QColor(70, 74, 84));
  return g;
}

void RaisedPlate(QPainter& p, const QRectF& rect, double radius, const QBrush& face, double bevel) {
  p.save();
  p.setPen(Qt::NoPen);
  QLinearGradient edge(rect.topLeft(), rect.bottomRight());
  edge.setColorAt(0.0, QColor(255, 255, 255, 200));
  edge.setColorAt(0.5, QColor(128, 128, 128, 120));
  edge.setColorAt(1.0, QColor(0, 0, 0, 220));
  p.setBrush(edge);
  p.drawRoundedRect(rect, radius, radius);
  p.setBrush(face);
  p.drawRoundedRect(rect.adjusted(bevel, bevel, -bevel, -bevel), std::max(0.0, radius - bevel),
                    std::max(0.0, radius - bevel));
  p.restore();
}

void SunkenWell(QPainter& p, const QRectF& rect, double radius, const QColor& inside,
                double bevel) {
  p.save();
  p.setPen(Qt::NoPen);
  QLinearGradient edge(rect.topLeft(), rect.bottomRight());
  edge.setColorAt(0.0, QColor(0, 0, 0, 230));
  edge.setColorAt(0.5, QColor(60, 60, 60, 160));
  edge.setColorAt(1.0, QColor(255, 255, 255, 170));
  p.setBrush(edge);
  p.drawRoundedRect(rect, radius, radius);
  p.setBrush(inside);
  p.drawRoundedRect(rect.adjusted(bevel, bevel, -bevel, -bevel), std::max(0.0, radius - bevel),
                    std::max(0.0, radius - bevel));
  p.restore();
}

QPainterPath TextPath(const QString& text, const QFont& font, const QRectF& box) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF b = path.boundingRect();
  path.translate(box.center().x() - b.center().x(), box.center().y() - b.center().y());
  return path;
}

void Lettering(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline,
               double outline_width) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  if (outline_width > 0) {
    p.setPen(QPen(outline, outline_width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawPath(path);
  p.restore();
}

QFont PixelFont(const QString& family, double pixels, int weight) {
  QFont f(family);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  f.setWeight(static_cast<QFont::Weight>(weight));
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  return QColor::fromRgbF(
      a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
      a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QColor Scaled(const QColor& c, double factor) {
  auto ch = [&](int v) { return std::clamp(static_cast<int>(std::lround(v * factor)), 0, 255); };
  return QColor(ch(c.red()), ch(c.green()), ch(c.blue()), c.alpha());
}

}  // namespace art
