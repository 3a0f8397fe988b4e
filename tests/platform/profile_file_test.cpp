#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "tests/support/text_files.h"

namespace {}  // namespace

TEST(ProfileIntTest, ReadsDecimalAndHexadecimalAndRejectsEverythingElse) {
  struct Case {
    const char* text;
    std::optional<int32_t> value;
  };
  const Case cases[] = {
      {"1250", 1250},
      {"-5", -5},
      {"+7", 7},
      {"   42", 42},
      {"0x3E8", 1000},
      {"0X3e8", 1000},
      {"$3E8", 1000},
      {"x3E8", 1000},
      {"X3e8", 1000},
      {"-$10", -16},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0x7FFFFFFF", 2147483647},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"0x80000000", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"12abc", std::nullopt},
      {"12 ", std::nullopt},
      {"1 2", std::nullopt},
      {"0x3G", std::nullopt},
      {"1e3", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"--5", std::nullopt},
      {"٣", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseProfileInt(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(ProfileTextTest, CutsUtf8TextAtWholeCharacters) {
  EXPECT_EQ(Utf8Prefix("abcdef", 4), "abcd");
  EXPECT_EQ(Utf8Prefix("äöü€x", 4), "äöü€");
  EXPECT_EQ(Utf8Prefix("a😀b", 2), "a😀");
  EXPECT_EQ(Utf8Prefix("ab", 30), "ab");
}

TEST(ProfileDocumentTest, ReadsValuesByTheProfileRules) {
  const std::string text =
      "; saved by hand\n"
      "[CurrentGame]\n"
      "GameName=  \"  Lucky  \"  \n"
      "gamedate=12/06/26\n"
      "Credits=\n"
      "  Spins = -5\n"
      "Half=\"open\n"
      "Inner=\"a\"b\"\n"
      "Equals=a=b\n"
      "noequals\n"
      "[ Other ]\n"
      "Credits=7\n";
  for (const bool crlf : {false, true}) {
    std::string file = text;
    if (crlf) {
      file.clear();
      for (char c : text) file += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    const ProfileDocument doc = ProfileDocument::Parse(file);
    SCOPED_TRACE(crlf ? "CRLF" : "LF");
    EXPECT_EQ(doc.Value("currentgame", "GAMENAME"), "  Lucky  ");
    EXPECT_EQ(doc.Value("CurrentGame", "GameDate"), "12/06/26");
    EXPECT_EQ(doc.Value("CurrentGame", "Credits"), "");
    EXPECT_EQ(doc.Value("CurrentGame", "Spins"), "-5");
    EXPECT_EQ(doc.Value("CurrentGame", "Half"), "\"open");
    EXPECT_EQ(doc.Value("CurrentGame", "Inner"), "a\"b");
    EXPECT_EQ(doc.Value("CurrentGame", "Equals"), "a=b");
    EXPECT_EQ(doc.Value("CurrentGame", "noequals"), std::nullopt);
    EXPECT_EQ(doc.Value("CurrentGame", "Bonus"), std::nullopt);
    EXPECT_EQ(doc.Value("other", "credits"), "7");
    EXPECT_EQ(doc.Value("GameNo1", "Credits"), std::nullopt);
  }
}

TEST(ProfileDocumentTest, CutsLongValuesTo2047Characters) {
  const std::string ascii(3000, 'a');
  const ProfileDocument doc =
      ProfileDocument::Parse("[S]\nLong=" + ascii + "\nWide=" + std::string(2046, 'a') + "ééé\n");
  EXPECT_EQ(doc.Value("S", "Long"), std::string(2047, 'a'));
  EXPECT_EQ(doc.Value("S", "Wide"), std::string(2046, 'a') + "é");
}

TEST(ProfileDocumentTest, WritingKeepsWhatItDoesNotOwnInItsOrder) {
  ProfileDocument doc = ProfileDocument::Parse(
      "\xEF\xBB\xBF; notes\r\n"
      "[Mine]\r\n"
      "CREDITS=1\r\n"
      "Other=x\r\n"
      "\r\n"
      "[Theirs]\r\n"
      "Credits=2\r\r\n");
  EXPECT_EQ(doc.Value("Theirs", "Credits"), "2");
  doc.SetValue("mine", "Credits", "5");
  doc.SetValue("Mine", "Spins", "6");
  doc.SetValue("New", "GameName", "a]\n[Theirs]\r\nCredits=9");
  EXPECT_EQ(doc.Text(),
            "; notes\n"
            "[Mine]\n"
            "CREDITS=5\n"
            "Other=x\n"
            "Spins=6\n"
            "\n"
            "[Theirs]\n"
            "Credits=2\n"
            "[New]\n"
            "GameName=a] [Theirs]  Credits=9\n");
  EXPECT_EQ(ProfileDocument::Parse(doc.Text()).Value("Theirs", "Credits"), "2");
}

TEST(ProfileFileTest, WritesOneSectionIntoANewFolderAndKeepsTheRest) {
  QTemporaryDir dir;
  const QString path = dir.filePath("deep/er/game.ini");
  std::string error;
  ASSERT_TRUE(WriteProfileSection(path.toStdString(), "A", {{"K", "1"}, {"L", "2"}}, &error))
      << error;
  const auto owner_rw = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
  const auto others_r = QFileDevice::ReadGroup | QFileDevice::ReadOther;
  EXPECT_EQ(QFile::permissions(path) & (owner_rw | others_r), owner_rw | others_r);
  // A file the player made private stays private through every rewrite.
  ASSERT_TRUE(QFile::setPermissions(path, owner_rw));
  // A new file left by a writer that died is cleared away; the player's own files are not.
  WriteText(path + ".tmp-Ab3dEf", "[A]\nK=half");
  WriteText(path + ".backup", "[A]\nK=0\n");
  ASSERT_TRUE(WriteProfileSection(path.toStdString(), "B", {{"K", "3"}}, &error)) << error;
  ASSERT_TRUE(WriteProfileSection(path.toStdString(), "a", {{"k", "4"}}, &error)) << error;
  EXPECT_EQ(ReadText(path), "[A]\nK=4\nL=2\n[B]\nK=3\n");
  EXPECT_EQ(QFile::permissions(path) & (owner_rw | others_r), owner_rw);
  EXPECT_EQ(ReadProfileFile(path.toStdString()).Value("B", "K"), "3");
  EXPECT_EQ(QDir(dir.filePath("deep/er")).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"game.ini", "game.ini.backup", "game.ini.lock"}));
}

TEST(ProfileFileTest, ReportsARefusedWriteAndLeavesTheFileAsItWas) {
  QTemporaryDir dir;
  // The folder is a plain file: nothing can be written under it.
  WriteText(dir.filePath("plain"), "x");
  std::string error;
  EXPECT_FALSE(
      WriteProfileSection(dir.filePath("plain/game.ini").toStdString(), "A", {{"K", "1"}}, &error));
  EXPECT_FALSE(error.empty());
  // A file that exists but cannot be read is never replaced by a rewrite built without it.
  QDir(dir.path()).mkdir("game.ini");
  EXPECT_FALSE(WriteProfileSection(dir.filePath("game.ini").toStdString(), "A", {{"K", "1"}}));
  EXPECT_TRUE(QFileInfo(dir.filePath("game.ini")).isDir());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"game.ini.lock", "plain"}));
  // A missing file reads as empty.
  EXPECT_EQ(ReadProfileFile(dir.filePath("none.ini").toStdString()).Value("A", "K"), std::nullopt);
}
