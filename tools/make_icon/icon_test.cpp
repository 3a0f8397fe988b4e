// The committed icon files: every size present with a transparent surround, and the scalable
// icon showing the same picture as the pixel icons, so no desktop shows a stale or broken one.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
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

// Mean difference per channel (alpha included) between two pictures of the same size.
double MeanDifference(const QImage& a, const QImage& b) {
  double total = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
               std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
    }
  }
  return total / (4.0 * a.width() * a.height());
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
    // The committed pictures are what the painter draws today.
    EXPECT_EQ(png, icon::EmblemPicture(size));
    EXPECT_LT(MeanDifference(png, Rendered(svg, size)), 2.0);
  }
}

}  // namespace
