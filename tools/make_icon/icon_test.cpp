// The committed icon files: every size present with a transparent surround, and the scalable
// icon showing the same picture as the pixel icons, so no desktop shows a stale or broken one.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>

#include "emblem.h"

namespace {

const QString kDir = QStringLiteral(ZELMAR_ICON_DIR);

QImage Rendered(QSvgRenderer& svg, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  svg.render(&p);
  p.end();
  return image.convertToFormat(QImage::Format_ARGB32);
}

struct Difference {
  double mean = 0;  // per channel, alpha included
  int largest = 0;  // in any one channel of any one pixel
};

Difference Compare(const QImage& a, const QImage& b) {
  Difference d;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      for (int off : {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                      std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))}) {
        d.mean += off;
        d.largest = std::max(d.largest, off);
      }
    }
  }
  d.mean /= 4.0 * a.width() * a.height();
  return d;
}

TEST(Icon, EverySizeIsTheScalableIconDrawnInPixels) {
  QSvgRenderer svg(kDir + "/zelmar-slots.svg");
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, icon::kDesignSize, icon::kDesignSize));
  for (int size : {48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const QImage png = QImage(QStringLiteral("%1/zelmar-slots-%2.png").arg(kDir).arg(size))
                           .convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(png.size(), QSize(size, size));
    // Transparent corners around the cabinet, a solid cabinet in the middle.
    EXPECT_EQ(qAlpha(png.pixel(0, size - 1)), 0);
    EXPECT_EQ(qAlpha(png.pixel(size - 1, size - 1)), 0);
    EXPECT_EQ(qAlpha(png.pixel(size / 2, size * 3 / 4)), 255);
    // The committed pictures are what the painter draws today, to within the last bit that
    // another processor's blending routines may round differently.
    const QImage painted = icon::EmblemPicture(size).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(painted.size(), png.size());
    EXPECT_LE(Compare(png, painted).largest, 2);
    EXPECT_LT(Compare(png, Rendered(svg, size)).mean, 2.0);
  }
}

}  // namespace
