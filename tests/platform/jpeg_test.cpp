#include "platform/jpeg.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

// Four flat quadrants, big enough that JPEG keeps their colours within a few levels.
QImage Quadrants(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool right = x >= w / 2;
      const bool bottom = y >= h / 2;
      image.setPixel(x, y,
                     !right && !bottom  ? qRgb(220, 30, 30)
                     : right && !bottom ? qRgb(30, 200, 40)
                     : !right           ? qRgb(20, 40, 210)
                                        : qRgb(240, 240, 240));
    }
  }
  return image;
}

QByteArray QtJpeg(const QImage& image, int quality = 95) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "JPG", quality));
  return bytes;
}

// A 4-channel JPEG written by libjpeg itself, as print-oriented tools make them.
QByteArray CmykJpeg(int w, int h, J_COLOR_SPACE stored) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &mem, &size);
  cinfo.image_width = w;
  cinfo.image_height = h;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_colorspace(&cinfo, stored);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  // Full cyan ink, no other ink; stored inverted as Adobe writers do (255 = no ink).
  std::vector<JSAMPLE> row(static_cast<size_t>(w) * 4);
  for (int x = 0; x < w; ++x) {
    row[4 * x] = 0;
    row[4 * x + 1] = 255;
    row[4 * x + 2] = 255;
    row[4 * x + 3] = 255;
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray bytes(reinterpret_cast<const char*>(mem), static_cast<qsizetype>(size));
  std::free(mem);
  return bytes;
}

int ChannelDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

// Sets the height and width in the frame header (SOF0..SOF2).
QByteArray WithDeclaredSize(QByteArray bytes, int width, int height) {
  for (qsizetype i = 2; i + 9 < bytes.size(); ++i) {
    const auto marker = static_cast<unsigned char>(bytes[i + 1]);
    if (static_cast<unsigned char>(bytes[i]) == 0xff && marker >= 0xc0 && marker <= 0xc2) {
      bytes[i + 5] = static_cast<char>(height >> 8);
      bytes[i + 6] = static_cast<char>(height & 0xff);
      bytes[i + 7] = static_cast<char>(width >> 8);
      bytes[i + 8] = static_cast<char>(width & 0xff);
      return bytes;
    }
  }
  ADD_FAILURE() << "no frame header";
  return bytes;
}

const QImage kSentinel = [] {
  QImage image(1, 1, QImage::Format_RGB32);
  image.fill(qRgb(1, 2, 3));
  return image;
}();

void ExpectFailure(const QByteArray& bytes, const char* what) {
  QImage out = kSentinel;
  QString error;
  EXPECT_FALSE(DecodeJpeg(bytes, &out, &error)) << what;
  EXPECT_EQ(out, kSentinel) << what << ": output must stay untouched";
  EXPECT_FALSE(error.isEmpty()) << what;
}

}  // namespace

TEST(JpegDecode, DecodesQtsOwnJpegToRgb32) {
  const QImage original = Quadrants(64, 48);
  QImage out;
  QString error;
  ASSERT_TRUE(DecodeJpeg(QtJpeg(original), &out, &error)) << error.toStdString();
  EXPECT_EQ(out.format(), QImage::Format_RGB32);
  EXPECT_EQ(out.size(), QSize(64, 48));
  for (QPoint p : {QPoint(8, 8), QPoint(56, 8), QPoint(8, 40), QPoint(56, 40)}) {
    EXPECT_LE(ChannelDistance(out.pixel(p), original.pixel(p)), 8) << p.x() << "," << p.y();
    EXPECT_EQ(qAlpha(out.pixel(p)), 255);
  }
}

TEST(JpegDecode, DecodesProgressiveJpeg) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "JPG");
  writer.setProgressiveScanWrite(true);
  writer.setQuality(95);
  const QImage original = Quadrants(40, 40);
  ASSERT_TRUE(writer.write(original));
  QImage out;
  ASSERT_TRUE(DecodeJpeg(bytes, &out));
  EXPECT_LE(ChannelDistance(out.pixel(30, 30), original.pixel(30, 30)), 8);
  // A progressive stream cut short is as broken as a baseline one.
  QImage untouched;
  EXPECT_FALSE(DecodeJpeg(bytes.left(bytes.size() * 2 / 3), &untouched));
  EXPECT_TRUE(untouched.isNull());
}

TEST(JpegDecode, DecodesGreyscaleAndCmyk) {
  QImage grey = Quadrants(32, 32).convertToFormat(QImage::Format_Grayscale8);
  QImage out;
  ASSERT_TRUE(DecodeJpeg(QtJpeg(grey), &out));
  EXPECT_EQ(out.format(), QImage::Format_RGB32);
  const QRgb p = out.pixel(4, 4);
  EXPECT_EQ(qRed(p), qGreen(p));
  EXPECT_EQ(qGreen(p), qBlue(p));
  EXPECT_LE(std::abs(qRed(p) - qGray(grey.pixel(4, 4))), 6);

  for (J_COLOR_SPACE stored : {JCS_CMYK, JCS_YCCK}) {
    QImage cmyk;
    QString error;
    ASSERT_TRUE(DecodeJpeg(CmykJpeg(16, 16, stored), &cmyk, &error)) << error.toStdString();
    EXPECT_EQ(cmyk.size(), QSize(16, 16));
    // libjpeg marks CMYK files with an Adobe marker, so the inks read as stored inverted:
    // full cyan alone is (0, 255, 255).
    EXPECT_LE(ChannelDistance(cmyk.pixel(8, 8), qRgb(0, 255, 255)), 8) << stored;
  }
}

TEST(JpegDecode, FailsCleanlyOnBrokenInput) {
  const QByteArray good = QtJpeg(Quadrants(64, 64));
  ExpectFailure(QByteArray(), "empty");
  ExpectFailure(QByteArray("GIF89a not a jpeg at all"), "garbage");
  ExpectFailure(good.left(2), "only the start marker");
  ExpectFailure(good.left(good.size() / 2), "truncated in the scan");
  ExpectFailure(good.left(good.size() - 2), "end marker missing");
  QByteArray noise(4096, 0);
  std::mt19937 rng(7);
  for (char& c : noise) c = static_cast<char>(rng());
  noise[0] = static_cast<char>(0xff);
  noise[1] = static_cast<char>(0xd8);
  ExpectFailure(noise, "start marker then noise");
}

TEST(JpegDecode, RefusesEnormousDeclaredSizesWithoutAllocating) {
  const QByteArray good = QtJpeg(Quadrants(16, 16));
  ExpectFailure(WithDeclaredSize(good, 60000, 60000), "60000 x 60000");
  ExpectFailure(WithDeclaredSize(good, 65535, 8), "65535 wide");
  ExpectFailure(WithDeclaredSize(good, 16, 0), "zero height");
}

TEST(JpegDecode, SurvivesCorruptedBytes) {
  // Whatever the damage, the decoder returns: either a picture of the declared size or a
  // failure with the output untouched.
  const QByteArray good = QtJpeg(Quadrants(48, 40), 80);
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    QByteArray bad = good;
    const int hits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < hits; ++i) bad[rng() % bad.size()] = static_cast<char>(rng());
    QImage out = kSentinel;
    if (DecodeJpeg(bad, &out)) {
      EXPECT_FALSE(out.isNull());
      EXPECT_EQ(out.format(), QImage::Format_RGB32);
    } else {
      EXPECT_EQ(out, kSentinel);
    }
  }
}

TEST(JpegLoadFile, ReadsFilesAndReportsMissingOnes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("TESTER.jpg");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QtJpeg(Quadrants(40, 30)));
  file.close();
  QImage out;
  ASSERT_TRUE(LoadJpegFile(path, &out));
  EXPECT_EQ(out.size(), QSize(40, 30));

  QString error;
  QImage untouched = kSentinel;
  EXPECT_FALSE(LoadJpegFile(dir.filePath("missing.jpg"), &untouched, &error));
  EXPECT_TRUE(error.contains("missing.jpg"));
  EXPECT_EQ(untouched, kSentinel);

  QFile broken(dir.filePath("broken.jpg"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("\xff\xd8\xff\xe0 nothing more");
  broken.close();
  EXPECT_FALSE(LoadJpegFile(broken.fileName(), &untouched, &error));
  EXPECT_TRUE(error.contains("broken.jpg"));
}
