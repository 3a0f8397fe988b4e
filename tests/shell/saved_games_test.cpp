#include "shell/saved_games.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <thread>

#include "platform/profile_file.h"
#include "tests/support/text_files.h"

namespace {

std::string Today() {
  return FormatSaveDate(QDate::currentDate());
}

class SavedGamesTest : public ::testing::Test {
 protected:
  void SetMoney(int32_t credits, int32_t borrowed, int32_t spins, int32_t total, int32_t bonus) {
    state_.Credits = credits;
    state_.Borrowed = borrowed;
    state_.SpinCount = spins;
    state_.TotalBet = total;
    state_.BonusPayoffs = bonus;
  }
  void ExpectMoney(int32_t credits, int32_t borrowed, int32_t spins, int32_t total, int32_t bonus) {
    EXPECT_EQ(state_.Credits, credits);
    EXPECT_EQ(state_.Borrowed, borrowed);
    EXPECT_EQ(state_.SpinCount, spins);
    EXPECT_EQ(state_.TotalBet, total);
    EXPECT_EQ(state_.BonusPayoffs, bonus);
  }

  QTemporaryDir dir_;
  QString path_ = dir_.filePath("zelmar-slots/zelmar-slots.ini");
  GameState state_;
  SavedGames saves_{state_, path_.toStdString()};
};

}  // namespace

TEST(SavedGamesFileTest, LivesInTheUsersDataFolder) {
  const QByteArray old_data = qgetenv("XDG_DATA_HOME");
  const QByteArray home = qgetenv("HOME");
  qputenv("XDG_DATA_HOME", "/data/home");
  EXPECT_EQ(SavedGamesFilePath("slots"), "/data/home/zelmar-slots/slots.ini");
  // A relative folder is not a data folder; the default takes its place.
  qputenv("XDG_DATA_HOME", "relative");
  EXPECT_EQ(SavedGamesFilePath("slots"),
            home.toStdString() + "/.local/share/zelmar-slots/slots.ini");
  qunsetenv("XDG_DATA_HOME");
  EXPECT_EQ(SavedGamesFilePath("slots"),
            home.toStdString() + "/.local/share/zelmar-slots/slots.ini");
  qputenv("XDG_DATA_HOME", old_data);
}

TEST(SavedGamesFileTest, WritesDatesMonthFirstWithTheLocalesSeparator) {
  const QDate date(2026, 12, 6);
  EXPECT_EQ(FormatSaveDate(date, QLocale(QLocale::English, QLocale::UnitedStates)), "12/06/26");
  EXPECT_EQ(FormatSaveDate(date, QLocale(QLocale::German, QLocale::Germany)), "12.06.26");
  EXPECT_EQ(FormatSaveDate(date, QLocale(QLocale::Swedish, QLocale::Sweden)), "12-06-26");
  EXPECT_EQ(FormatSaveDate(date, QLocale(QLocale::Korean, QLocale::SouthKorea)), "12.06.26");
  EXPECT_EQ(FormatSaveDate(date, QLocale::c()), "12/06/26");
  EXPECT_EQ(FormatSaveDate(QDate(2009, 1, 5), QLocale(QLocale::English, QLocale::UnitedStates)),
            "01/05/09");
}

TEST_F(SavedGamesTest, ReadsEachKeyOrItsDefault) {
  WriteText(path_,
            "[gameno1]\r\n"
            "GameName=\r\n"
            "GameDate=12/06/2026 evening\r\n"
            "Credits=\r\n"
            "Borrowed=$7D0\r\n"
            "spins=-5\r\n"
            "TotalBets=12abc\r\n"
            "Bonus=0x80000000\r\n"
            // Every key, each with a value that no default has.
            "[GameNo2]\r\n"
            "GameName=Second\r\n"
            "GameDate=11/30/25\r\n"
            "Credits=0x3E7\r\n"
            "Borrowed=0X3e9\r\n"
            "Spins=12\r\n"
            "TotalBets=345\r\n"
            "Bonus=67\r\n");
  ASSERT_TRUE(saves_.SaveLoadGame(0, false));
  EXPECT_EQ(saves_.SavedGameName(), "");
  EXPECT_EQ(saves_.SavedGameDate(), "12/06/2026");
  ExpectMoney(1000, 2000, -5, 0, 0);
  ASSERT_TRUE(saves_.SaveLoadGame(1, false));
  EXPECT_EQ(saves_.SavedGameName(), "Second");
  EXPECT_EQ(saves_.SavedGameDate(), "11/30/25");
  ExpectMoney(999, 1001, 12, 345, 67);
}

TEST_F(SavedGamesTest, WritesTheKeysInOrderAndChangesNoVariable) {
  WriteText(path_, "[Player]\nNote=keep me\n[GameNo2]\nExtra=1\nCredits=1\n");
  SetMoney(1250, 1000, 37, 840, -90);
  ASSERT_TRUE(saves_.SaveLoadGame(kRunningGameSlot, true, "CurrentGame"));
  SetMoney(980, 1000, 12, 300, 0);
  ASSERT_TRUE(saves_.SaveLoadGame(1, true, "Lucky evening"));
  ExpectMoney(980, 1000, 12, 300, 0);
  const std::string today = Today();
  EXPECT_EQ(ReadText(path_),
            "[Player]\nNote=keep me\n"
            "[GameNo2]\nExtra=1\nCredits=980\nGameName=Lucky evening\nGameDate=" +
                today +
                "\nBorrowed=1000\nSpins=12\nTotalBets=300\nBonus=0\n"
                "[CurrentGame]\nGameName=CurrentGame\nGameDate=" +
                today +
                "\nCredits=1250\nBorrowed=1000\nSpins=37\nTotalBets=840\nBonus=-90\n"
                "BonusBet=0\nBonusPrizes=\nBonusPicks=\n");
  ASSERT_TRUE(saves_.SaveLoadGame(kRunningGameSlot, false));
  ExpectMoney(1250, 1000, 37, 840, -90);
}

// A bonus game won and not yet ended travels with the running game only, and only one that the
// game could have drawn and played comes back: anything else reads as no bonus game owed, as a
// file of an earlier build does.
TEST_F(SavedGamesTest, TheRunningGameKeepsTheBonusGameItOwesAndReadsBackOnlyOneItCouldOwe) {
  state_.BallPrizes = {0, 2, 10, 1, 5, 0, 1, 2};
  state_.BonusBet = 45;
  state_.BonusPicks = {2, 6, kBonusCollect};
  state_.BonusPickCount = 3;
  ASSERT_TRUE(saves_.SaveLoadGame(kRunningGameSlot, true, "CurrentGame"));
  ASSERT_TRUE(saves_.SaveLoadGame(0, true, "Slot"));
  const ProfileDocument file = ReadProfileFile(path_.toStdString());
  EXPECT_EQ(file.Value("CurrentGame", "BonusBet"), "45");
  EXPECT_EQ(file.Value("CurrentGame", "BonusPrizes"), "0,2,10,1,5,0,1,2");
  EXPECT_EQ(file.Value("CurrentGame", "BonusPicks"), "2,6,stop");
  EXPECT_FALSE(file.Value("GameNo1", "BonusBet").has_value());
  const GameState written = state_;
  state_ = GameState();
  ASSERT_TRUE(saves_.SaveLoadGame(kRunningGameSlot, false));
  EXPECT_EQ(state_.BonusBet, 45);
  EXPECT_EQ(state_.BallPrizes, written.BallPrizes);
  EXPECT_EQ(state_.BonusPicks, written.BonusPicks);
  EXPECT_EQ(state_.BonusPickCount, 3);

  const std::string money = "[CurrentGame]\nCredits=5\n";
  const std::string prizes = "BonusPrizes=10,5,2,2,1,1,0,0\n";
  struct Row {
    std::string keys;
    int32_t bet;
    std::vector<int32_t> picks;
  };
  for (const Row& row : std::vector<Row>{
           {"", 0, {}},
           {"BonusBet=9\nBonusPrizes=10,5,2,2,1,1,0,1\n", 0, {}},
           {"BonusBet=9\nBonusPrizes=10,5,2,2,1,1,0\n", 0, {}},
           {"BonusBet=0\n" + prizes, 0, {}},
           {"BonusBet=-9\n" + prizes + "BonusPicks=1\n", 0, {}},
           {"BonusBet=9\n" + prizes, 9, {}},
           {"BonusBet=9\n" + prizes + "BonusPicks= 1 , 3 \n", 9, {1, 3}},
           {"BonusBet=9\n" + prizes + "BonusPicks=1,1,3\n", 9, {1}},
           {"BonusBet=9\n" + prizes + "BonusPicks=2,stop,3\n", 9, {2, kBonusCollect}},
           {"BonusBet=9\n" + prizes + "BonusPicks=6,1\n", 9, {6}},  // a bomb ends it
           {"BonusBet=9\n" + prizes + "BonusPicks=8,1\n", 9, {}},
       }) {
    SCOPED_TRACE(row.keys);
    WriteText(path_, money + row.keys);
    state_ = written;
    ASSERT_TRUE(saves_.SaveLoadGame(kRunningGameSlot, false));
    EXPECT_EQ(state_.Credits, 5);
    EXPECT_EQ(state_.BonusBet, row.bet);
    EXPECT_EQ(std::vector<int32_t>(state_.BonusPicks.begin(),
                                   state_.BonusPicks.begin() + state_.BonusPickCount),
              row.picks);
  }
}

TEST_F(SavedGamesTest, NamesComeBackAsTypedAndCutAtWholeCharacters) {
  // 40 characters, many of them two bytes long: written whole, read back as the first 30.
  const std::string forty = "Glück am Abend [2]=Ü ÄÖ; Spiel Nummer 40";
  ASSERT_EQ(QString::fromStdString(forty).size(), 40);
  const std::string tricky = "[GameNo1]\nCredits=5 = ] [";
  ASSERT_TRUE(saves_.SaveLoadGame(2, true, forty));
  ASSERT_TRUE(saves_.SaveLoadGame(3, true, tricky));
  EXPECT_NE(ReadText(path_).find("GameName=" + forty + "\n"), std::string::npos);
  EXPECT_EQ(saves_.ReadSlot(2).name, QString::fromStdString(forty).left(30).toStdString());
  // A line break cannot start a line of its own in the file.
  EXPECT_EQ(saves_.ReadSlot(3).name, "[GameNo1] Credits=5 = ] [");
  EXPECT_EQ(saves_.ReadSlot(0).name, "GameNo1");
  EXPECT_EQ(saves_.ReadSlot(0).credits, 1000);
}

TEST_F(SavedGamesTest, AKilledSaveLeavesTheOldGameOrTheNewOne) {
  WriteText(path_, "[Player]\nNote=keep me\n");
  auto run = [&](const QString& slot, const QString& count) {
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(ZELMAR_SAVE_LOOP), {path_, slot, count});
    EXPECT_TRUE(process->waitForStarted());
    return process;
  };
  // Killed in turn while saving a named slot and while keeping the running game, as closing does.
  constexpr int kSlots[] = {3, kRunningGameSlot};
  int32_t last[] = {0, 0};
  for (int round = 0; round < 200; ++round) {
    const int slot = kSlots[round % 2];
    const std::string section = SlotSectionName(slot);
    auto loop = run(QString::number(slot), "0");
    // Killed at a random moment once it is saving, however long it took to start.
    ASSERT_TRUE(loop->waitForReadyRead(30000));
    std::this_thread::sleep_for(
        std::chrono::microseconds(QRandomGenerator::global()->bounded(20000)));
    loop->kill();
    ASSERT_TRUE(loop->waitForFinished());
    ASSERT_EQ(loop->exitStatus(), QProcess::CrashExit)
        << loop->readAllStandardError().toStdString();

    const ProfileDocument file = ReadProfileFile(path_.toStdString());
    ASSERT_EQ(file.Value("Player", "Note"), "keep me") << "round " << round;
    // The section the killed save was not writing is exactly as its last save left it.
    const int32_t other = last[(round + 1) % 2];
    if (other > 0) {
      ASSERT_EQ(file.Value(SlotSectionName(kSlots[(round + 1) % 2]), "Spins"),
                std::to_string(other))
          << "round " << round;
    }
    const std::optional<std::string> spins = file.Value(section, "Spins");
    if (!spins) {
      ASSERT_EQ(last[round % 2], 0) << "round " << round;
      continue;
    }
    // Every key of the section comes from one and the same save.
    const int32_t k = ParseProfileInt(*spins).value_or(-1);
    ASSERT_GE(k, last[round % 2]) << "round " << round;
    for (const char* key : {"Credits", "Borrowed", "TotalBets", "Bonus"}) {
      ASSERT_EQ(file.Value(section, key), *spins) << key << " in round " << round;
    }
    ASSERT_EQ(file.Value(section, "GameName"), "Loop " + *spins);
    last[round % 2] = k;
  }
  EXPECT_GT(last[0], 0);
  EXPECT_GT(last[1], 0);
  // One more save clears whatever the killed writers left behind.
  auto once = run("3", "1");
  ASSERT_TRUE(once->waitForFinished());
  EXPECT_EQ(once->exitCode(), 0);
  EXPECT_EQ(QDir(dir_.filePath("zelmar-slots")).entryList(QDir::Files | QDir::Hidden),
            (QStringList{"zelmar-slots.ini", "zelmar-slots.ini.lock"}));
}

TEST_F(SavedGamesTest, TwoCopiesSavingAtOnceKeepEachOthersSaves) {
  constexpr int kSaves = 100;
  QProcess first;
  QProcess second;
  first.start(QStringLiteral(ZELMAR_SAVE_LOOP), {path_, "0", QString::number(kSaves)});
  second.start(QStringLiteral(ZELMAR_SAVE_LOOP), {path_, "1", QString::number(kSaves)});
  ASSERT_TRUE(first.waitForFinished(60000));
  ASSERT_TRUE(second.waitForFinished(60000));
  EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  EXPECT_EQ(saves_.ReadSlot(0).spin_count, kSaves);
  EXPECT_EQ(saves_.ReadSlot(1).spin_count, kSaves);
}
