#include "shell/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void WriteText(const QString& path, const std::string& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text.data(), static_cast<qint64>(text.size()));
}

}  // namespace

TEST(IdentityTest, ComesFromTheRealProgramFileWhereverItIs) {
  QTemporaryDir dir;
  // A folder deeper than 255 characters is kept whole.
  QString deep = dir.path();
  while (deep.size() <= 300) deep += "/a-rather-long-folder-name";
  ASSERT_TRUE(QDir().mkpath(deep));
  WriteText(deep + "/slots.bin", "");
  ASSERT_TRUE(QFile::link(deep + "/slots.bin", dir.filePath("link")));

  const GameIdentity identity = BuiltInIdentity(dir.filePath("link").toStdString());
  EXPECT_EQ(identity.AppDir, (deep + "/").toStdString());
  EXPECT_EQ(identity.ExeBaseName, "slots");
  EXPECT_EQ(HelpFilePath(identity), (deep + "/slots.hlp").toStdString());
  EXPECT_EQ(identity.GameTitle, "Zelmar Slots");
  EXPECT_EQ(identity.SoundRoot, "Zelmar");
  EXPECT_EQ(identity.VersionText, "1.1");
  EXPECT_EQ(VersionBoxText(identity), "Zelmar Slots\n\nVersion:  1.1");

  // The settings file is found beside the program however deep its folder lies, and whatever
  // the letter case of its name.
  WriteText(deep + "/testing.INI", "[Settings]\nAboutName=Deep\n");
  GameIdentity read = identity;
  ReadSettings(read);
  EXPECT_EQ(read.GameTitle, "Deep");
}

TEST(ReadSettingsTest, ChangesOnlyWhatTheFileSets) {
  struct Case {
    const char* file;  // nullptr: no settings file
    const char* title;
    const char* sound_root;
  };
  const Case cases[] = {
      {nullptr, "Zelmar Slots", "Zelmar"},
      {"[Settings]\nAboutName=Test Title\n", "Test Title", "Zelmar"},
      {"[Settings]\nSoundRoot=Gold\n", "Zelmar Slots", "Gold"},
      {"[settings]\r\nsoundroot = Sounds/Alt\r\nABOUTNAME=\"  Spaced  \"\r\n", "  Spaced  ",
       "Sounds/Alt"},
      {"[Settings]\nAboutName=\nSoundRoot=\n", "", ""},
      {"[Other]\nAboutName=Elsewhere\n", "Zelmar Slots", "Zelmar"},
      // 35 characters: the title keeps the first 30, whole characters only.
      {"[Settings]\nAboutName=Ünglaublich glückliche Walzen 12345\n",
       "Ünglaublich glückliche Walzen ", "Zelmar"},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    GameIdentity identity = BuiltInIdentity(dir.filePath("zelmar-slots").toStdString());
    if (c.file != nullptr) WriteText(dir.filePath("Testing.ini"), c.file);
    ReadSettings(identity);
    EXPECT_EQ(identity.GameTitle, c.title) << (c.file ? c.file : "no file");
    EXPECT_EQ(identity.SoundRoot, c.sound_root) << (c.file ? c.file : "no file");
    EXPECT_EQ(identity.VersionText, "1.1");
  }
}
