// Scaling, art replacement from files beside the program, and the choice of symbol art and
// reel geometry by screen width.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <utility>
#include <vector>

#include "engine/game_state.h"
#include "platform/file_lookup.h"
#include "platform/jpeg.h"
#include "screen/main_art.h"
#include "screen/scale.h"
#include "screen_test_util.h"
#include "synthetic_art.h"

namespace {

// Writes image as a JPEG file; flat colours survive the compression within a few levels.
void WriteJpeg(const QString& path, const QImage& image) {
  ASSERT_TRUE(image.save(path, "JPEG", 100)) << path.toStdString();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QImage Solid(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

std::string DirOf(const QTemporaryDir& dir) {
  return dir.path().toStdString() + "/";
}

}  // namespace

TEST(ScreenScale, ScalesByTheLayoutWidthAloneAndTakesNoWidthAsTheDesignWidth) {
  EXPECT_EQ(ScreenScale{}.Scale(207), 207);
  EXPECT_EQ((ScreenScale{1024}.Scale(207)), 264);
  EXPECT_EQ((ScreenScale{1152}.Scale(800)), 1151);  // the factor lies just below 1.44
  EXPECT_EQ((ScreenScale{1600, 300}.Scale(100)), 200) << "the cabinet's offset does not scale";
  // No usable width counts as the design width rather than collapsing every size to nothing.
  for (int width : {0, -1600}) {
    EXPECT_EQ((ScreenScale{width}.Scale(100)), 100) << width;
    EXPECT_EQ(ScreenScale{width}.Width(), 800) << width;
  }
  EXPECT_EQ(ScreenScale{1}.Width(), 1);
}

struct GeometryRow {
  int width;
  int native_cell;     // CellSize with the sheet file for the width present
  int stretched_cell;  // CellSize without it
  int reels_left;
  int reels_top;
  int reel_pitch;
  int strip_width;
  int blur_height;
};

class ReelGeometry : public ::testing::TestWithParam<GeometryRow> {};

TEST_P(ReelGeometry, WithoutSheetFilesTheSheetIsStretched) {
  const GeometryRow& row = GetParam();
  QTemporaryDir dir;
  MainArt art = synthetic::MakeArt();
  ScreenLayout layout;
  layout.scale.layout_width = row.width;
  PrepareWorkingBitmaps(art);
  LoadArtForResolution(art, layout, DirOf(dir), "Zelmar");

  EXPECT_EQ(layout.CellSize, row.stretched_cell);
  EXPECT_EQ(layout.ReelsLeft, row.reels_left);
  EXPECT_EQ(layout.ReelsTop, row.reels_top);
  EXPECT_EQ(layout.ReelPitch, row.reel_pitch);
  EXPECT_EQ(layout.BlurHeight, row.blur_height);
  EXPECT_EQ(art.spin_strip_bitmap.size(), QSize(row.strip_width, row.blur_height));
  EXPECT_EQ(art.symbol_bitmap.size(), QSize(layout.scale.Scale(304), layout.scale.Scale(456)));
  EXPECT_EQ(art.symbol_bitmap.format(), QImage::Format_RGB32);
  EXPECT_EQ(art.spin_strip_bitmap.format(), QImage::Format_RGB32);
  // The middle of every cell still shows that cell's symbol after stretching.
  const int c = layout.CellSize;
  for (int code = 0; code < 24; ++code) {
    EXPECT_EQ(Rgb(art.symbol_bitmap.pixel((code % 4) * c + c / 2, (code / 4) * c + c / 2)),
              synthetic::SymbolColour(code))
        << "code " << code;
  }
}

TEST_P(ReelGeometry, ASheetFileForTheWidthIsUsedAtItsOwnCellSize) {
  const GeometryRow& row = GetParam();
  QTemporaryDir dir;
  // Names in several spellings: the match ignores letter case.
  const QRgb tint = qRgb(128, 128, 128);
  WriteJpeg(dir.filePath("zelmar98.JPG"), synthetic::MakeSheet(98, tint));
  WriteJpeg(dir.filePath("ZELMAR110.jpg"), synthetic::MakeSheet(110, tint));
  WriteJpeg(dir.filePath("Zelmar122.Jpg"), synthetic::MakeSheet(122, tint));
  WriteJpeg(dir.filePath("zelmar152.jpg"), synthetic::MakeSheet(152, tint));

  MainArt art = synthetic::MakeArt();
  ScreenLayout layout;
  layout.scale.layout_width = row.width;
  PrepareWorkingBitmaps(art);
  LoadArtForResolution(art, layout, DirOf(dir), "Zelmar");

  const bool has_sheet = row.width != 800 && row.width != 1366;
  EXPECT_EQ(layout.CellSize, row.native_cell);
  EXPECT_EQ(layout.ReelsLeft, row.reels_left);
  EXPECT_EQ(layout.ReelsTop, row.reels_top);
  EXPECT_EQ(layout.ReelPitch, row.reel_pitch);
  EXPECT_EQ(layout.BlurHeight, row.blur_height);
  // The strip is laid out as wide as the cells, whichever sheet gives them their size.
  EXPECT_EQ(art.spin_strip_bitmap.size(), QSize(row.native_cell, row.blur_height));
  if (has_sheet) {
    EXPECT_EQ(art.symbol_bitmap.size(), QSize(4 * row.native_cell, 6 * row.native_cell));
    EXPECT_EQ(art.symbol_sheet_picture.size(), art.symbol_bitmap.size());
  } else if (row.width == 1366) {
    EXPECT_EQ(art.symbol_bitmap.size(), QSize(layout.scale.Scale(304), layout.scale.Scale(456)));
  } else {
    EXPECT_EQ(art.symbol_bitmap.size(), QSize(304, 456));
  }
  const int c = layout.CellSize;
  for (int code = 0; code < 24; ++code) {
    const QRgb plain = synthetic::SymbolColour(code);
    const QRgb expected =
        has_sheet ? qRgb(qRed(plain) ^ 128, qGreen(plain) ^ 128, qBlue(plain) ^ 128) : plain;
    EXPECT_TRUE(
        Near(art.symbol_bitmap.pixel((code % 4) * c + c / 2, (code / 4) * c + c / 2), expected, 6))
        << "code " << code;
  }
}

INSTANTIATE_TEST_SUITE_P(CommonWidths, ReelGeometry,
                         ::testing::Values(GeometryRow{800, 76, 76, 207, 210, 92, 76, 912},
                                           GeometryRow{1024, 98, 97, 264, 268, 117, 97, 1167},
                                           GeometryRow{1152, 110, 109, 298, 302, 132, 109, 1313},
                                           GeometryRow{1280, 122, 121, 331, 336, 147, 121, 1459},
                                           GeometryRow{1600, 152, 152, 414, 420, 184, 152, 1824},
                                           GeometryRow{1366, 129, 129, 353, 358, 157, 129, 1557}),
                         [](const auto& row) { return std::to_string(row.param.width); });

TEST(SheetChoice, AnUndecodableSheetFallsBackToStretching) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("Zelmar98.jpg"), QByteArray("\xff\xd8\xff\xe0 not really", 16));
  MainArt art = synthetic::MakeArt();
  ScreenLayout layout;
  layout.scale.layout_width = 1024;
  PrepareWorkingBitmaps(art);
  LoadArtForResolution(art, layout, DirOf(dir), "Zelmar");
  EXPECT_EQ(layout.CellSize, 97);
  EXPECT_EQ(art.symbol_bitmap.size(), QSize(layout.scale.Scale(304), layout.scale.Scale(456)));
  EXPECT_EQ(art.symbol_sheet_picture.size(), QSize(304, 456));
}

TEST(SheetChoice, SheetNamesFollowTheSoundPrefix) {
  QTemporaryDir dir;
  WriteJpeg(dir.filePath("Zelmar122.jpg"), synthetic::MakeSheet(122, qRgb(0, 0, 0)));
  {
    MainArt art = synthetic::MakeArt();
    ScreenLayout layout;
    layout.scale.layout_width = 1280;
    PrepareWorkingBitmaps(art);
    LoadArtForResolution(art, layout, DirOf(dir), "Acme");
    EXPECT_EQ(layout.CellSize, 121) << "a sheet of another prefix must not be used";
  }
  WriteJpeg(dir.filePath("ACME122.jpg"), synthetic::MakeSheet(122, qRgb(0, 0, 0)));
  MainArt art = synthetic::MakeArt();
  ScreenLayout layout;
  layout.scale.layout_width = 1280;
  PrepareWorkingBitmaps(art);
  LoadArtForResolution(art, layout, DirOf(dir), "Acme");
  EXPECT_EQ(layout.CellSize, 122);
}

TEST(ReplaceArt, FilesBesideTheProgramReplaceThePicturesWhateverTheirCase) {
  QTemporaryDir dir;
  WriteJpeg(dir.filePath("tester.JPG"), Solid(400, 300, qRgb(200, 30, 30)));
  WriteJpeg(dir.filePath("MotionX.jpg"), Solid(76, 456, qRgb(30, 200, 30)));
  WriteJpeg(dir.filePath("BET5BUT.JPG"), Solid(57, 68, qRgb(30, 30, 200)));
  WriteJpeg(dir.filePath("spinbut.jpg"), Solid(58, 70, qRgb(200, 200, 30)));
  WriteJpeg(dir.filePath("bet1b.jpg"), Solid(57, 110, qRgb(30, 200, 200)));
  WriteJpeg(dir.filePath("ZELMAR.jpg"), Solid(304, 456, qRgb(200, 30, 200)));

  // Over the carried art, whose masters would otherwise be laid out at a large width.
  MainArt art;
  ASSERT_TRUE(LoadBuiltInArt(art, nullptr));
  std::vector<std::string> problems;
  ReplaceArtFromFiles(art, DirOf(dir), "Zelmar", &problems);
  EXPECT_TRUE(problems.empty());

  EXPECT_EQ(art.background_picture.size(), QSize(400, 300));
  EXPECT_TRUE(Near(art.background_picture.pixel(10, 10), qRgb(200, 30, 30), 6));
  EXPECT_EQ(art.spin_strip_picture.size(), QSize(76, 456));
  EXPECT_TRUE(Near(art.spin_strip_picture.pixel(10, 10), qRgb(30, 200, 30), 6));
  EXPECT_TRUE(Near(art.max_bet_key_picture.pixel(10, 10), qRgb(30, 30, 200), 6));
  EXPECT_TRUE(Near(art.spin_key_picture.pixel(10, 10), qRgb(200, 200, 30), 6));
  EXPECT_TRUE(Near(art.dimmed_coin_picture.pixel(10, 10), qRgb(30, 200, 200), 6));
  EXPECT_TRUE(Near(art.symbol_sheet_picture.pixel(10, 10), qRgb(200, 30, 200), 6));

  // Laid out large, each replacement is what is drawn, stretched, and no master stands in for it.
  PrepareWorkingBitmaps(art);
  ScreenLayout layout;
  layout.scale.layout_width = 2400;
  LoadArtForResolution(art, layout, DirOf(dir), "Zelmar");
  EXPECT_EQ(art.background_bitmap.size(), QSize(2400, 1800));
  EXPECT_TRUE(Near(art.background_bitmap.pixel(1200, 900), qRgb(200, 30, 30), 6));
  EXPECT_TRUE(Near(art.max_bet_unlit.pixel(5, 5), qRgb(30, 30, 200), 6));
  EXPECT_TRUE(Near(art.spin_lit.pixel(5, 5), qRgb(200, 200, 30), 6));
  EXPECT_TRUE(Near(art.symbol_bitmap.pixel(layout.CellSize * 2, layout.CellSize * 3),
                   qRgb(200, 30, 200), 6));
  // A shorter strip wraps at its own scaled height.
  EXPECT_EQ(layout.BlurHeight, 1368);
  EXPECT_EQ(art.spin_strip_bitmap.size(), QSize(layout.CellSize, layout.BlurHeight));
  EXPECT_TRUE(Near(art.spin_strip_bitmap.pixel(5, 700), qRgb(30, 200, 30), 6));
  for (const QImage* image : {&art.background_bitmap, &art.spin_strip_bitmap, &art.max_bet_lit,
                              &art.spin_unlit, &art.symbol_bitmap}) {
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
  }
}

TEST(ReplaceArt, FilesThatCannotBeDecodedKeepTheCarriedPictures) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("TESTER.jpg"), QByteArray("this is not a picture"));
  // A real JPEG cut in half: the header reads fine, the data runs out.
  QByteArray jpeg;
  {
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImage noisy(76, 912, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
      for (int x = 0; x < noisy.width(); ++x) noisy.setPixel(x, y, qRgb(x * 3, y, (x * y) & 255));
    ASSERT_TRUE(noisy.save(&buffer, "JPEG", 90));
  }
  WriteBytes(dir.filePath("MOTIONX.jpg"), jpeg.left(jpeg.size() / 2));
  WriteBytes(dir.filePath("SpinBut.jpg"), QByteArray());

  const MainArt carried = synthetic::MakeArt();
  MainArt art = carried;
  std::vector<std::string> problems;
  ReplaceArtFromFiles(art, DirOf(dir), "Zelmar", &problems);

  EXPECT_EQ(art.background_picture, carried.background_picture);
  EXPECT_EQ(art.spin_strip_picture, carried.spin_strip_picture);
  EXPECT_EQ(art.spin_key_picture, carried.spin_key_picture);
  ASSERT_EQ(problems.size(), 3u);
  std::string all;
  for (const auto& line : problems) all += line + "\n";
  EXPECT_NE(all.find("TESTER.jpg"), std::string::npos) << all;
  EXPECT_NE(all.find("MOTIONX.jpg"), std::string::npos) << all;
  EXPECT_NE(all.find("SpinBut.jpg"), std::string::npos) << all;
}

TEST(ReplaceArt, MissingFilesAreSilent) {
  QTemporaryDir dir;
  const MainArt carried = synthetic::MakeArt();
  MainArt art = carried;
  std::vector<std::string> problems;
  ReplaceArtFromFiles(art, DirOf(dir), "Zelmar", &problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(art.background_picture, carried.background_picture);
  // A folder that does not exist at all is no different.
  ReplaceArtFromFiles(art, DirOf(dir) + "nowhere/", "Zelmar", &problems);
  EXPECT_TRUE(problems.empty());
}

TEST(FindFileNoCase, PrefersTheExactSpellingAndIgnoresFolders) {
  QTemporaryDir dir;
  WriteBytes(dir.filePath("tester.jpg"), "a");
  WriteBytes(dir.filePath("TESTER.jpg"), "b");
  ASSERT_TRUE(QDir(dir.path()).mkdir("SpinBut.jpg"));
  EXPECT_EQ(FindFileNoCase(DirOf(dir), "TESTER.jpg"), dir.filePath("TESTER.jpg").toStdString());
  EXPECT_EQ(FindFileNoCase(DirOf(dir), "Tester.JPG"), dir.filePath("TESTER.jpg").toStdString());
  EXPECT_EQ(FindFileNoCase(DirOf(dir), "SpinBut.jpg"), "");
  EXPECT_EQ(FindFileNoCase(DirOf(dir), "MOTIONX.jpg"), "");
  // An asset prefix with a folder in it takes the file from that folder.
  ASSERT_TRUE(QDir(dir.path()).mkdir("Gold"));
  WriteBytes(dir.filePath("Gold/GOLD152.jpg"), "c");
  EXPECT_EQ(FindFileNoCase(DirOf(dir), "Gold/Gold152.jpg"),
            dir.filePath("Gold/GOLD152.jpg").toStdString());
}

TEST(BuiltInArt, DecodesEveryPictureAtItsSizeInOneFormat) {
  // A build without its art fails here. The loader itself refuses carried pictures of the wrong
  // size.
  MainArt art;
  QString error;
  ASSERT_TRUE(LoadBuiltInArt(art, &error)) << error.toStdString();
  for (const QImage* image :
       {&art.background_picture, &art.spin_strip_picture, &art.symbol_sheet_picture,
        &art.max_bet_key_picture, &art.spin_key_picture, &art.dimmed_coin_picture, &art.logo,
        &art.logo_mask, &art.line_bubbles, &art.line_bubbles_dim, &art.line_bubbles_neg,
        &art.digits_small, &art.green_small}) {
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
  }
  EXPECT_EQ(art.background_picture.size(), QSize(800, 600));
  EXPECT_EQ(art.line_bubbles_neg.size(), QSize(90, 225));
}

TEST(Masters, NoCarriedPictureIsShownLargerThanTheMasterItIsMadeFrom) {
  // The cabinet at every layout width from 800 to 4096 on screens of these pixel ratios, in device
  // pixels: the smallest master at least as large is taken, and beyond the largest, the largest.
  constexpr int kLargest = 4 * kDesignWidth;
  for (double ratio : {1.0, 1.25, 1.5, 2.0}) {
    for (int width = 800; width <= 4096; ++width) {
      const int shown = static_cast<int>(width * ratio);
      const int factor = MasterFactor(shown / static_cast<double>(kDesignWidth));
      SCOPED_TRACE(testing::Message() << width << " at " << ratio << ": " << factor << "x");
      ASSERT_TRUE(factor == 1 || factor == 2 || factor == 4);
      if (shown <= kLargest) {
        ASSERT_GE(factor * kDesignWidth, shown);
      } else {
        ASSERT_EQ(factor, 4);
      }
      if (factor > 1) {
        ASSERT_LT(factor / 2 * kDesignWidth, shown) << "a smaller master would do";
      }
    }
  }
  // The game's own art is laid out from them, by device pixels: a cabinet 1600 wide, or 800 wide
  // at a pixel ratio of 2, is the 2x master itself, the keys included. A mask reduced from a
  // master is black and white again, its picture black wherever it is white, so that the markers
  // and the logo go onto the cabinet exactly.
  QImage master, key;
  ASSERT_TRUE(LoadJpegFile(QStringLiteral(":/art/main/background_2x.jpg"), &master, nullptr));
  ASSERT_TRUE(LoadJpegFile(QStringLiteral(":/art/main/spin_2x.jpg"), &key, nullptr));
  for (const auto& [width, ratio] : {std::pair{1024, 1}, std::pair{1600, 1}, std::pair{1920, 1},
                                     std::pair{800, 2}, std::pair{800, 3}}) {
    SCOPED_TRACE(testing::Message() << width << " at " << ratio);
    MainArt art;
    ASSERT_TRUE(LoadBuiltInArt(art, nullptr));
    PrepareWorkingBitmaps(art);
    ScreenLayout layout;
    layout.scale.layout_width = width;
    layout.scale.ratio = ratio;
    LoadArtForResolution(art, layout, "/nonexistent-folder/", "Zelmar");
    if (width * ratio == 2 * kDesignWidth) {
      EXPECT_EQ(art.background_bitmap, master.convertToFormat(QImage::Format_RGB32));
      EXPECT_EQ(
          art.spin_unlit,
          key.copy(0, 0, key.width(), key.height() / 2).convertToFormat(QImage::Format_RGB32));
    }
    const std::pair<const QImage*, std::vector<const QImage*>> masks[] = {
        {&art.left_markers.mask, {&art.left_markers.lit, &art.left_markers.dim}},
        {&art.right_markers.mask, {&art.right_markers.lit, &art.right_markers.dim}},
        {&art.logo_mask_bitmap, {&art.logo_bitmap}}};
    for (const auto& [mask, pictures] : masks) {
      ASSERT_FALSE(mask->isNull());
      int grey = 0, showing = 0;
      for (int y = 0; y < mask->height(); ++y) {
        for (int x = 0; x < mask->width(); ++x) {
          const QRgb m = mask->pixel(x, y) & 0xFFFFFF;
          grey += m != 0 && m != 0xFFFFFF ? 1 : 0;
          for (const QImage* picture : pictures) {
            showing += m == 0xFFFFFF && (picture->pixel(x, y) & 0xFFFFFF) != 0 ? 1 : 0;
          }
        }
      }
      EXPECT_EQ(grey, 0) << "grey pixels in a mask " << mask->width() << " wide";
      EXPECT_EQ(showing, 0) << "picture pixels outside a mask " << mask->width() << " wide";
    }
  }
}
