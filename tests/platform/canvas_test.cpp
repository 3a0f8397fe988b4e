#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <vector>

namespace {

// A source picture whose every pixel tells where it came from: red = x, green = y.
QImage Coordinates(int w, int h, QImage::Format format = QImage::Format_RGB32) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x, y, 0x40));
  }
  return format == QImage::Format_RGB32 ? image : image.convertToFormat(format);
}

Canvas Filled(int w, int h, QRgb rgb) {
  Canvas canvas(w, h);
  canvas.MutableImage().fill(rgb);
  return canvas;
}

}  // namespace

TEST(CanvasCopyRect, OneToOneCopyIsExact) {
  Canvas canvas = Filled(40, 30, qRgb(1, 2, 3));
  const QImage src = Coordinates(20, 20);
  canvas.CopyRect(5, 6, 15, 16, src, 3, 4, 13, 14);
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 5 && x < 15 && y >= 6 && y < 16;
      const QRgb expected = inside ? qRgb(x - 5 + 3, y - 6 + 4, 0x40) : qRgb(1, 2, 3);
      ASSERT_EQ(canvas.Pixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(CanvasCopyRect, QRectFormCoversTheSamePixels) {
  Canvas a = Filled(20, 20, qRgb(0, 0, 0));
  Canvas b = Filled(20, 20, qRgb(0, 0, 0));
  const QImage src = Coordinates(10, 10);
  a.CopyRect(QRect(2, 3, 5, 4), src, QRect(1, 1, 5, 4));
  b.CopyRect(2, 3, 7, 7, src, 1, 1, 6, 5);
  EXPECT_EQ(a.Image(), b.Image());
}

TEST(CanvasCopyRect, StretchUpRepeatsNearestPixels) {
  Canvas canvas(6, 4);
  const QImage src = Coordinates(3, 2);
  canvas.CopyRect(0, 0, 6, 4, src, 0, 0, 3, 2);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(canvas.Pixel(x, y), qRgb(x / 2, y / 2, 0x40));
  }
}

TEST(CanvasCopyRect, StretchFollowsFlooredMapping) {
  // 7 source columns onto 3 and 5 rows onto 8: dst d reads floor(d * s / n).
  Canvas canvas(3, 8);
  const QImage src = Coordinates(10, 10);
  canvas.CopyRect(0, 0, 3, 8, src, 2, 1, 9, 6);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(canvas.Pixel(x, y), qRgb(2 + x * 7 / 3, 1 + y * 5 / 8, 0x40)) << x << "," << y;
    }
  }
}

TEST(CanvasCopyRect, StretchNeverBlendsColours) {
  // A black/white checkerboard scaled by 1.37 must still hold only black and white.
  QImage board(16, 16, QImage::Format_RGB32);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) board.setPixel(x, y, (x + y) % 2 ? 0xffffffff : 0xff000000);
  }
  Canvas canvas(22, 22);
  canvas.CopyRect(0, 0, 22, 22, board, 0, 0, 16, 16);
  for (int y = 0; y < 22; ++y) {
    for (int x = 0; x < 22; ++x) {
      const QRgb p = canvas.Pixel(x, y);
      ASSERT_TRUE(p == 0xffffffffu || p == 0xff000000u) << x << "," << y;
    }
  }
}

TEST(CanvasCopyRect, MaskedPictureWithAndThenOr) {
  Canvas canvas = Filled(4, 1, qRgb(0x30, 0x60, 0x90));
  QImage mask(4, 1, QImage::Format_RGB32);
  QImage picture(4, 1, QImage::Format_RGB32);
  // Pixels 0, 1: shape (mask black, picture coloured); 2, 3: background (mask white, picture
  // black).
  for (int x = 0; x < 4; ++x) {
    mask.setPixel(x, 0, x < 2 ? 0xff000000 : 0xffffffff);
    picture.setPixel(x, 0, x < 2 ? qRgb(0xf0, 0x0f, 0x11) : 0xff000000);
  }
  canvas.SetRasterOp(RasterOp::And);
  canvas.CopyRect(0, 0, 4, 1, mask, 0, 0, 4, 1);
  EXPECT_EQ(canvas.Pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(3, 0), qRgb(0x30, 0x60, 0x90));
  canvas.SetRasterOp(RasterOp::Or);
  canvas.CopyRect(0, 0, 4, 1, picture, 0, 0, 4, 1);
  EXPECT_EQ(canvas.Pixel(1, 0), qRgb(0xf0, 0x0f, 0x11));
  EXPECT_EQ(canvas.Pixel(2, 0), qRgb(0x30, 0x60, 0x90));
}

TEST(CanvasCopyRect, AndAndOrAreBitwiseOnEachChannelCopiedOrStretched) {
  QImage src(2, 1, QImage::Format_RGB32);
  src.setPixel(0, 0, qRgb(0b10101010, 0b11110000, 0b00001111));
  src.setPixel(1, 0, qRgb(0, 0, 0));
  const QRgb dst = qRgb(0b11001100, 0b00111100, 0b01010101);
  const QRgb anded = qRgb(0b10001000, 0b00110000, 0b00000101);
  const QRgb ored = qRgb(0b11101110, 0b11111100, 0b01011111);
  struct Case {
    RasterOp op;
    int width, height;  // the destination; the source's first pixel covers its left half
    QRgb first, second;
  };
  for (const Case& c :
       {Case{RasterOp::And, 2, 1, anded, 0xff000000}, Case{RasterOp::Or, 2, 1, ored, dst},
        Case{RasterOp::And, 6, 3, anded, 0xff000000}, Case{RasterOp::Or, 6, 3, ored, dst}}) {
    Canvas canvas = Filled(c.width, c.height, dst);
    canvas.SetRasterOp(c.op);
    canvas.CopyRect(0, 0, c.width, c.height, src, 0, 0, 2, 1);
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        EXPECT_EQ(canvas.Pixel(x, y), x < c.width / 2 ? c.first : c.second)
            << (c.op == RasterOp::And ? "AND " : "OR ") << c.width << " wide at " << x << "," << y;
      }
    }
  }
}

TEST(CanvasCopyRect, OneBitAndPaletteSourcesGiveTheSamePixels) {
  QImage mono(9, 3, QImage::Format_Mono);
  mono.setColor(0, qRgb(0, 0, 0));
  mono.setColor(1, qRgb(255, 255, 255));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 9; ++x) mono.setPixel(x, y, (x * y) % 2);
  }
  Canvas a(9, 3);
  a.CopyRect(0, 0, 9, 3, mono, 0, 0, 9, 3);
  Canvas b(9, 3);
  b.CopyRect(0, 0, 9, 3, mono.convertToFormat(QImage::Format_RGB32), 0, 0, 9, 3);
  EXPECT_EQ(a.Image(), b.Image());

  const QImage coords = Coordinates(12, 12);
  for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_ARGB32_Premultiplied}) {
    Canvas c(8, 8);
    c.CopyRect(0, 0, 8, 8, Coordinates(12, 12, format), 2, 3, 10, 11);
    Canvas d(8, 8);
    d.CopyRect(0, 0, 8, 8, coords, 2, 3, 10, 11);
    EXPECT_EQ(c.Image(), d.Image()) << format;
  }
}

TEST(CanvasCopyRect, ClipsToTheSurfaceAndTheSource) {
  Canvas canvas = Filled(10, 10, qRgb(9, 9, 9));
  const QImage src = Coordinates(8, 8);
  canvas.CopyRect(-3, -2, 5, 6, src, 0, 0, 8, 8);  // sticks out top-left
  EXPECT_EQ(canvas.Pixel(0, 0), qRgb(3, 2, 0x40));
  EXPECT_EQ(canvas.Pixel(4, 5), qRgb(7, 7, 0x40));
  EXPECT_EQ(canvas.Pixel(5, 5), qRgb(9, 9, 9));
  canvas.CopyRect(7, 7, 15, 15, src, 0, 0, 8, 8);  // sticks out bottom-right
  EXPECT_EQ(canvas.Pixel(9, 9), qRgb(2, 2, 0x40));
  // A source rectangle running off its image leaves those destination pixels alone.
  Canvas other = Filled(6, 1, qRgb(9, 9, 9));
  other.CopyRect(0, 0, 6, 1, src, 5, 0, 11, 1);
  EXPECT_EQ(other.Pixel(2, 0), qRgb(7, 0, 0x40));
  EXPECT_EQ(other.Pixel(3, 0), qRgb(9, 9, 9));
}

TEST(CanvasCopyRect, EmptyOrInvertedRectanglesDrawNothing) {
  Canvas canvas = Filled(10, 10, qRgb(9, 9, 9));
  const QImage before = canvas.Image();
  int changes = 0;
  canvas.on_changed = [&](const QRect&) { ++changes; };
  const QImage src = Coordinates(8, 8);
  canvas.CopyRect(5, 5, 5, 8, src, 0, 0, 4, 4);
  canvas.CopyRect(5, 5, 2, 8, src, 0, 0, 4, 4);
  canvas.CopyRect(0, 0, 4, 4, src, 3, 3, 3, 3);
  canvas.CopyRect(20, 20, 30, 30, src, 0, 0, 4, 4);
  canvas.CopyRect(0, 0, 4, 4, QImage(), 0, 0, 4, 4);
  EXPECT_EQ(canvas.Image(), before);
  EXPECT_EQ(changes, 0);
}

TEST(CanvasCopyRect, CopyWithinTheSurfaceReadsTheOldPixels) {
  Canvas canvas(10, 1);
  for (int x = 0; x < 10; ++x) canvas.SetPixel(x, 0, qRgb(x, 0, 0));
  canvas.CopyRect(2, 0, 10, 1, canvas.Image(), 0, 0, 8, 1);  // overlapping shift right
  for (int x = 2; x < 10; ++x) EXPECT_EQ(canvas.Pixel(x, 0), qRgb(x - 2, 0, 0));
}

TEST(CanvasCopyRect, ReportsTheClippedRectangle) {
  Canvas canvas(10, 10);
  std::vector<QRect> changes;
  canvas.on_changed = [&](const QRect& r) { changes.push_back(r); };
  canvas.CopyRect(-2, 3, 4, 20, Coordinates(4, 4), 0, 0, 4, 4);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0], QRect(0, 3, 4, 7));
}

TEST(CanvasFillRect, FillsUpToButExcludingRightAndBottom) {
  Canvas canvas = Filled(10, 10, qRgb(0, 0, 0));
  canvas.SetPenColor(qRgb(255, 255, 0));
  canvas.SetBrushColor(qRgb(255, 255, 0));
  canvas.FillRect(2, 3, 6, 8);
  EXPECT_EQ(canvas.Pixel(2, 3), qRgb(255, 255, 0));
  EXPECT_EQ(canvas.Pixel(5, 7), qRgb(255, 255, 0));
  EXPECT_EQ(canvas.Pixel(6, 7), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(5, 8), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(1, 3), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(2, 2), qRgb(0, 0, 0));
}

TEST(CanvasFillRect, PenDrawsAnOutlineInsideTheRectangle) {
  Canvas canvas = Filled(10, 10, qRgb(0, 0, 0));
  canvas.SetPenColor(qRgb(255, 0, 0));
  canvas.SetBrushColor(qRgb(0, 0, 255));
  canvas.FillRect(1, 1, 6, 6);
  EXPECT_EQ(canvas.Pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(5, 3), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(3, 5), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(3, 3), qRgb(0, 0, 255));
  EXPECT_EQ(canvas.Pixel(6, 3), qRgb(0, 0, 0));
  // A clear brush leaves the inside alone.
  canvas.SetBrushClear(true);
  canvas.SetPenColor(qRgb(0, 255, 0));
  canvas.FillRect(1, 1, 6, 6);
  EXPECT_EQ(canvas.Pixel(1, 1), qRgb(0, 255, 0));
  EXPECT_EQ(canvas.Pixel(3, 3), qRgb(0, 0, 255));
}

TEST(CanvasFillRect, IgnoresTheRasterOperationAndClips) {
  Canvas canvas = Filled(4, 4, qRgb(0x0f, 0x0f, 0x0f));
  canvas.SetRasterOp(RasterOp::And);
  canvas.SetPenColor(qRgb(0xf0, 0xf0, 0xf0));
  canvas.SetBrushColor(qRgb(0xf0, 0xf0, 0xf0));
  QRect reported;
  canvas.on_changed = [&](const QRect& r) { reported = r; };
  canvas.FillRect(-5, -5, 2, 100);
  EXPECT_EQ(canvas.Pixel(0, 3), qRgb(0xf0, 0xf0, 0xf0));
  EXPECT_EQ(canvas.Pixel(2, 0), qRgb(0x0f, 0x0f, 0x0f));
  EXPECT_EQ(reported, QRect(0, 0, 2, 4));
  reported = QRect();
  canvas.FillRect(3, 3, 1, 1);  // inverted
  EXPECT_TRUE(reported.isNull());
}

// A surface made ahead is black to the last pixel (alpha byte included), of the size asked
// for, and given once; a larger request, or a second one, gets a surface made the usual way.
TEST(CanvasResize, TakesTheSurfaceMadeAheadOnceAndOnlyWhereItFits) {
  const auto all_black = [](const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x) {
        if (row[x] != 0xff000000u) return false;
      }
    }
    return true;
  };
  SurfaceAhead ahead(1000, 300);
  const QImage taken = ahead.Take(1100, 250);
  ASSERT_EQ(taken.size(), QSize(1100, 250));
  EXPECT_EQ(taken.format(), QImage::Format_RGB32);
  EXPECT_TRUE(all_black(taken));
  EXPECT_TRUE(ahead.Take(10, 10).isNull());

  SurfaceAhead small(40, 30);
  Canvas canvas;
  canvas.Resize(41, 30, &small);
  EXPECT_EQ(canvas.Image().size(), QSize(41, 30));
  EXPECT_TRUE(all_black(canvas.Image()));
  EXPECT_TRUE(small.Take(40, 30).isNull());  // let go of when it did not fit

  SurfaceAhead fits(40, 30);
  canvas.Resize(40, 30, &fits);
  canvas.SetPixel(39, 29, qRgb(9, 8, 7));
  EXPECT_EQ(canvas.Pixel(39, 29), qRgb(9, 8, 7));
  EXPECT_TRUE(all_black(canvas.Image().copy(0, 0, 39, 29)));
}

TEST(CanvasPixels, OutsideTheSurfaceReadsBlackAndWritesNothing) {
  Canvas canvas = Filled(3, 3, qRgb(7, 7, 7));
  EXPECT_EQ(canvas.Pixel(-1, 0), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(3, 0), qRgb(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(0, 3), qRgb(0, 0, 0));
  canvas.SetPixel(3, 1, qRgb(1, 1, 1));
  canvas.SetPixel(-1, -1, qRgb(1, 1, 1));
  canvas.SetPixel(2, 2, qRgb(200, 100, 50));
  EXPECT_EQ(canvas.Pixel(2, 2), qRgb(200, 100, 50));
  EXPECT_EQ(canvas.Image().pixel(2, 1), qRgb(7, 7, 7));
  EXPECT_EQ(Canvas().Pixel(0, 0), qRgb(0, 0, 0));
}

TEST(CanvasLines, DrawsSolidPenColourWithTheGivenWidth) {
  Canvas canvas(20, 20);
  canvas.SetPenColor(qRgb(0, 255, 255));
  canvas.SetPenWidth(5);
  QRect reported;
  canvas.on_changed = [&](const QRect& r) { reported = reported.united(r); };
  canvas.MoveTo(3, 10);
  canvas.LineTo(16, 10);
  EXPECT_EQ(canvas.Pixel(10, 10), qRgb(0, 255, 255));
  EXPECT_EQ(canvas.Pixel(10, 8), qRgb(0, 255, 255));
  EXPECT_EQ(canvas.Pixel(10, 12), qRgb(0, 255, 255));
  EXPECT_EQ(canvas.Pixel(10, 14), qRgb(0, 0, 0));
  EXPECT_TRUE(reported.contains(QRect(3, 8, 14, 5))) << reported.x() << " " << reported.width();
  // No antialiasing: only black or the pen colour.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      const QRgb p = canvas.Pixel(x, y);
      ASSERT_TRUE(p == qRgb(0, 0, 0) || p == qRgb(0, 255, 255)) << x << "," << y;
    }
  }
  // The pen position moved to the end: the next segment starts there.
  canvas.SetPenWidth(1);
  canvas.LineTo(16, 18);
  EXPECT_EQ(canvas.Pixel(16, 16), qRgb(0, 255, 255));
}

TEST(CanvasFonts, PointsToPixelsAtNinetySixDpi) {
  const int table[][2] = {{8, 11},  {10, 13}, {12, 16}, {14, 19}, {18, 24},
                          {20, 27}, {24, 32}, {28, 37}, {36, 48}, {48, 64}};
  for (const auto& row : table) EXPECT_EQ(PointsToPixels(row[0]), row[1]) << row[0];
}

TEST(CanvasFonts, WindowsFacesResolveToLiberationSans) {
  InstallFontSubstitutes();
  Canvas canvas(10, 10);
  for (const char* face : {"MS Sans Serif", "Arial"}) {
    canvas.SetFontFace(face);
    canvas.SetFontSize(10);
    canvas.SetFontBold(true);
    const QFontInfo info(canvas.CurrentFont());
    EXPECT_EQ(info.family(), QStringLiteral("Liberation Sans")) << face;
    EXPECT_EQ(info.pixelSize(), 13);
    EXPECT_TRUE(info.bold());
  }
}

TEST(CanvasText, MeasuresWholeCellsThatGrowWithSizeAndBold) {
  Canvas canvas(10, 10);
  canvas.SetFontFace("Arial");
  canvas.SetFontSize(8);
  const int w8 = canvas.TextWidth("Credits 1234");
  const int h8 = canvas.TextHeight("Credits 1234");
  EXPECT_GT(w8, 0);
  EXPECT_GE(h8, 11);
  EXPECT_EQ(canvas.TextWidth(""), 0);
  canvas.SetFontSize(24);
  EXPECT_GT(canvas.TextWidth("Credits 1234"), 2 * w8);
  EXPECT_GE(canvas.TextHeight("x"), 32);
  const int plain = canvas.TextWidth("WWWW");
  canvas.SetFontBold(true);
  EXPECT_GE(canvas.TextWidth("WWWW"), plain);
}

TEST(CanvasText, OpaqueTextFillsItsCellTransparentTextKeepsTheBackground) {
  Canvas canvas = Filled(200, 60, qRgb(0, 0, 128));
  canvas.SetFontFace("MS Sans Serif");
  canvas.SetFontSize(18);
  canvas.SetFontBold(true);
  canvas.SetFontColor(qRgb(255, 255, 255));
  const QString text = QStringLiteral("HI");
  const int w = canvas.TextWidth(text);
  const int h = canvas.TextHeight(text);

  canvas.SetBrushClear(false);
  canvas.SetBrushColor(qRgb(255, 0, 0));
  QRect reported;
  canvas.on_changed = [&](const QRect& r) { reported = r; };
  canvas.TextOut(10, 5, text);
  EXPECT_TRUE(reported.contains(QRect(10, 5, w, h)));
  // Cell corners in the brush colour, outside the cell untouched, some glyph pixels white.
  EXPECT_EQ(canvas.Pixel(10, 5), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(10 + w - 1, 5 + h - 1), qRgb(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(10 + w, 5), qRgb(0, 0, 128));
  EXPECT_EQ(canvas.Pixel(10, 5 + h), qRgb(0, 0, 128));
  int white = 0;
  for (int y = 5; y < 5 + h; ++y) {
    for (int x = 10; x < 10 + w; ++x) white += canvas.Pixel(x, y) == qRgb(255, 255, 255);
  }
  EXPECT_GT(white, 20);

  canvas.SetBrushClear(true);
  canvas.TextOut(110, 5, text);
  EXPECT_EQ(canvas.Pixel(110, 5), qRgb(0, 0, 128));
  EXPECT_EQ(canvas.Pixel(110 + w - 1, 5 + h - 1), qRgb(0, 0, 128));
  int red = 0;
  int white_too = 0;
  for (int y = 5; y < 5 + h; ++y) {
    for (int x = 110; x < 110 + w; ++x) {
      red += canvas.Pixel(x, y) == qRgb(255, 0, 0);
      white_too += canvas.Pixel(x, y) == qRgb(255, 255, 255);
    }
  }
  EXPECT_EQ(red, 0);
  EXPECT_EQ(white_too, white);  // the same glyphs, drawn at the same cell position
}

TEST(CanvasText, TopOfTheCellIsAtY) {
  Canvas canvas(100, 60);
  canvas.SetFontSize(24);
  canvas.SetFontColor(qRgb(255, 255, 255));
  canvas.SetBrushClear(true);
  canvas.TextOut(5, 20, QStringLiteral("H"));
  const int h = canvas.TextHeight("H");
  int top = -1;
  int bottom = -1;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (qRed(canvas.Pixel(x, y)) > 128) {
        if (top < 0) top = y;
        bottom = y;
      }
    }
  }
  ASSERT_GE(top, 0);
  EXPECT_GE(top, 20);          // nothing above the cell
  EXPECT_LT(bottom, 20 + h);   // nothing below it
  EXPECT_LT(top, 20 + h / 3);  // a capital starts near the top of its cell
}
