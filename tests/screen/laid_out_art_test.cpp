// The laid-out art kept between runs: what is read back is what was laid out, and a file of other
// pictures, another layout or damaged is never used.
#include "screen/laid_out_art.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <string>
#include <tuple>

#include "engine/game_state.h"
#include "screen/cabinet.h"

namespace {

std::string ProgramFile() {
  return QCoreApplication::applicationFilePath().toStdString();
}

QByteArray ReadAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const std::string& path, const QByteArray& bytes) {
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

}  // namespace

TEST(KeptArt, WhatIsReadBackIsTheArtAsLaidOutAndSharesWhatItShared) {
  GameState gs;
  QTemporaryDir beside, cache;
  const std::string app_dir = beside.path().toStdString();
  for (const auto& [width, ratio] :
       {std::pair{800, 1.0}, std::pair{1530, 1.0}, std::pair{800, 2.0}, std::pair{1024, 1.5}}) {
    SCOPED_TRACE(testing::Message() << width << " at " << ratio);
    const Cabinet laid_out(gs, app_dir, "Zelmar", width, 2000, width, 2000, ratio);
    const std::string key = LaidOutArtKey(ProgramFile(), app_dir, "Zelmar", width, ratio);
    const std::string path = LaidOutArtPath(cache.path().toStdString(), width, ratio);
    ASSERT_TRUE(
        SaveLaidOutArt(path, key, laid_out.Art(), laid_out.CarriedSheet(), laid_out.Layout()));

    MainArt art;
    QImage sheet;
    ScreenLayout layout;
    layout.scale = laid_out.Layout().scale;
    ASSERT_TRUE(LoadLaidOutArt(path, key, art, sheet, layout));
    EXPECT_EQ(art.background_bitmap, laid_out.Art().background_bitmap);
    EXPECT_EQ(art.spin_strip_bitmap, laid_out.Art().spin_strip_bitmap);
    EXPECT_EQ(art.right_frames[4], laid_out.Art().right_frames[4]);
    EXPECT_EQ(art.green_small, laid_out.Art().green_small);
    EXPECT_EQ(sheet, laid_out.CarriedSheet());
    EXPECT_EQ(art.key_colour, laid_out.Art().key_colour);
    EXPECT_EQ(art.carried.markers, laid_out.Art().carried.markers);
    EXPECT_EQ(layout.CellSize, laid_out.Layout().CellSize);
    EXPECT_EQ(layout.BlurHeight, laid_out.Layout().BlurHeight);
    EXPECT_EQ(layout.ReelsTop, laid_out.Layout().ReelsTop);
    // Pictures that were one picture stay one, in memory as on disk.
    EXPECT_EQ(art.background_picture.constBits() == art.background_bitmap.constBits(),
              laid_out.Art().background_picture.constBits() ==
                  laid_out.Art().background_bitmap.constBits());
    // Everything else: what is read back is written again byte for byte.
    const std::string again = path + ".again";
    ASSERT_TRUE(SaveLaidOutArt(again, key, art, sheet, layout));
    EXPECT_EQ(ReadAll(again), ReadAll(path));
    // A picture read back may be drawn into: the file stays as it was. And the file may be cut
    // short under the running game (a mapped file would end it here with SIGBUS): the pictures
    // stay whole.
    art.background_bitmap.fill(Qt::red);
    EXPECT_EQ(ReadAll(again), ReadAll(path));
    ASSERT_TRUE(QFile::resize(QString::fromStdString(path), 100));
    EXPECT_EQ(art.spin_strip_bitmap, laid_out.Art().spin_strip_bitmap);
    EXPECT_EQ(art.left_markers.mask, laid_out.Art().left_markers.mask);
  }
}

TEST(KeptArt, ArtOfOtherPicturesOrOfADamagedFileIsNotUsed) {
  GameState gs;
  QTemporaryDir beside, cache;
  const std::string app_dir = beside.path().toStdString();
  const Cabinet laid_out(gs, app_dir, "Zelmar", 800, 600, 800, 600);
  const std::string key = LaidOutArtKey(ProgramFile(), app_dir, "Zelmar", 800, 1);
  const std::string path = LaidOutArtPath(cache.path().toStdString(), 800, 1);
  ASSERT_TRUE(
      SaveLaidOutArt(path, key, laid_out.Art(), laid_out.CarriedSheet(), laid_out.Layout()));

  // The key changes with the layout, the asset prefix, and a picture beside the program that
  // appears or changes, whatever the case of its name. Each pixel ratio of a layout width keeps a
  // file of its own.
  EXPECT_NE(LaidOutArtKey(ProgramFile(), app_dir, "Zelmar", 801, 1), key);
  EXPECT_NE(LaidOutArtKey(ProgramFile(), app_dir, "Zelmar", 800, 2), key);
  EXPECT_NE(LaidOutArtKey(ProgramFile(), app_dir, "Zelmar", 800, 1.5), key);
  EXPECT_NE(LaidOutArtPath(cache.path().toStdString(), 800, 1.5), path);
  EXPECT_NE(LaidOutArtPath(cache.path().toStdString(), 800, 1.5),
            LaidOutArtPath(cache.path().toStdString(), 800, 2));
  EXPECT_NE(LaidOutArtKey(ProgramFile(), app_dir, "Other", 800, 1), key);
  WriteAll(app_dir + "/tester.JPG", "not yet a picture");
  const std::string with_file = LaidOutArtKey(ProgramFile(), app_dir, "Zelmar", 800, 1);
  EXPECT_NE(with_file, key);
  WriteAll(app_dir + "/tester.JPG", "another picture");
  EXPECT_NE(LaidOutArtKey(ProgramFile(), app_dir, "Zelmar", 800, 1), with_file);

  const QByteArray whole = ReadAll(path);
  auto refused = [&](const QByteArray& bytes, const std::string& with_key) {
    WriteAll(path, bytes);
    MainArt art;
    QImage sheet;
    ScreenLayout layout;
    layout.scale = laid_out.Layout().scale;
    const bool read = LoadLaidOutArt(path, with_key, art, sheet, layout);
    return !read && art.background_bitmap.isNull() && sheet.isNull() && layout.CellSize == 0;
  };
  EXPECT_TRUE(refused(whole, with_file));
  for (const qsizetype cut :
       {qsizetype{0}, qsizetype{7}, qsizetype{40}, whole.size() / 2, whole.size() - 1}) {
    EXPECT_TRUE(refused(whole.left(cut), key)) << "cut at " << cut;
  }
  EXPECT_TRUE(refused(whole + '\0', key));
  // A byte changed: the format's version, a picture's width or the key colour in the head, or any
  // pixel (noise there would be drawn at every start).
  const qsizetype head = 8 + 4 + 4 + 8 + 8 + 4 + static_cast<qsizetype>(key.size());
  for (const qsizetype at :
       {qsizetype{8}, head + 5 * 4 + 4 + 4 + 1, head + 5 * 4, whole.size() / 2, whole.size() - 3}) {
    QByteArray changed = whole;
    changed[at] = static_cast<char>(changed[at] + 1);
    EXPECT_TRUE(refused(changed, key)) << "changed at " << at;
  }
  EXPECT_FALSE(refused(whole, key));
  // Something other than a file at the path is refused at once, not waited on.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  {
    MainArt art;
    QImage sheet;
    ScreenLayout layout;
    layout.scale = laid_out.Layout().scale;
    EXPECT_FALSE(LoadLaidOutArt(path, key, art, sheet, layout));
  }
  ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
  // A whole file whose reel geometry is not what this layout makes: the cabinet would come up
  // with black reels, or a black block over the keys, at every start.
  for (const auto& [name, figure, value] :
       {std::tuple{"cell size", &ScreenLayout::CellSize, 4000},
        std::tuple{"cell size", &ScreenLayout::CellSize, 98},
        std::tuple{"reels' left edge", &ScreenLayout::ReelsLeft, -5000},
        std::tuple{"strip height", &ScreenLayout::BlurHeight, 1}}) {
    ScreenLayout other = laid_out.Layout();
    other.*figure = value;
    ASSERT_TRUE(SaveLaidOutArt(path, key, laid_out.Art(), laid_out.CarriedSheet(), other));
    EXPECT_TRUE(refused(ReadAll(path), key)) << name << " " << value;
  }
  // A file laid out whole and consistent, but for a cell this layout never uses.
  ScreenLayout other_cell = laid_out.Layout();
  MainArt other_art = laid_out.Art();
  SetReelGeometry(other_cell, 60, other_art.spin_strip_picture.height());
  other_art.symbol_bitmap = other_art.symbol_bitmap.scaled(4 * 60, 6 * 60);
  other_art.spin_strip_bitmap = other_art.spin_strip_bitmap.scaled(60, other_cell.BlurHeight);
  ASSERT_TRUE(SaveLaidOutArt(path, key, other_art, laid_out.CarriedSheet(), other_cell));
  EXPECT_TRUE(refused(ReadAll(path), key));
}

TEST(KeptArt, ACabinetKeepsItsLayoutOnlyWhenEveryPictureWasUsableAndReadsItBackNextTime) {
  GameState gs;
  QTemporaryDir beside, cache;
  const std::string app_dir = beside.path().toStdString();
  const KeptArt kept{cache.path().toStdString(), ProgramFile()};
  const std::string path = LaidOutArtPath(kept.dir, 1024, 1);
  {
    Cabinet first(gs, app_dir, "Zelmar", 1024, 768, 1024, 768, 1, kept);
    first.KeepLaidOutArt();
  }
  ASSERT_TRUE(QFile::exists(QString::fromStdString(path)));

  // What the next cabinet of that size shows comes from the kept file: here one kept with a red
  // background under the same key.
  {
    const Cabinet red(gs, app_dir, "Zelmar", 1024, 768, 1024, 768, 1, kept);
    MainArt art = red.Art();
    art.background_bitmap.fill(Qt::red);
    ASSERT_TRUE(SaveLaidOutArt(path, LaidOutArtKey(kept.program_file, app_dir, "Zelmar", 1024, 1),
                               art, red.CarriedSheet(), red.Layout()));
  }
  Cabinet next(gs, app_dir, "Zelmar", 1024, 768, 1024, 768, 1, kept);
  EXPECT_EQ(next.Art().background_bitmap.pixel(500, 300), qRgb(255, 0, 0));
  EXPECT_TRUE(next.TakeArtProblems().empty());

  // Only the layouts written last are kept: the oldest of four is let go of.
  for (int width : {801, 802, 803}) WriteAll(LaidOutArtPath(kept.dir, width, 1), "newer");
  std::filesystem::last_write_time(
      path, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  ForgetOlderLaidOutArt(kept.dir);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(LaidOutArtPath(kept.dir, 801, 1))));

  // A picture beside the program that can't be used is told at every start: that layout is not
  // kept.
  QFile::remove(QString::fromStdString(path));
  WriteAll(app_dir + "/TESTER.jpg", "not a picture");
  {
    Cabinet told(gs, app_dir, "Zelmar", 1024, 768, 1024, 768, 1, kept);
    EXPECT_FALSE(told.TakeArtProblems().empty());
    told.KeepLaidOutArt();
  }
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}
