#include "shell/saved_games_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "platform/profile_file.h"
#include "tests/support/fake_platform.h"

namespace {

void WriteText(const QString& path, const std::string& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text.data(), static_cast<qint64>(text.size()));
}

std::string Today() {
  return FormatSaveDate(QDate::currentDate());
}

constexpr char kSavedFile[] =
    "[GameNo3]\nGameName=Old\nGameDate=01/01/99\nCredits=5\nBorrowed=6\nSpins=7\nTotalBets=8\n"
    "Bonus=9\n"
    "[GameNo5]\nGameName=Lucky evening\nGameDate=12/05/26\nCredits=980\nBorrowed=2000\n"
    "Spins=12\nTotalBets=300\nBonus=40\n";

class SavedGamesDialogTest : public ::testing::Test {
 protected:
  SavedGamesDialogTest() {
    identity_.GameTitle = "Test Title";
    state_.Credits = 1250;
    state_.Borrowed = 1000;
    state_.SpinCount = 37;
    state_.TotalBet = 840;
    state_.BonusPayoffs = 90;
    state_.LinesBet = 3;
    state_.ReelStop = {1, 2, 3, 4, 5};
    WriteText(path_, kSavedFile);
  }

  // Runs the command; `act` works the dialog while it is open.
  bool Run(SlotDialogMode mode, const std::function<void(SavedGamesDialog&)>& act,
           std::function<void(int)> show_help = {}) {
    platform_.on_modal = [&](QDialog* dialog) {
      ++dialogs_shown_;
      act(*static_cast<SavedGamesDialog*>(dialog));
    };
    return RunSavedGamesDialog(
        saves_, platform_, identity_, mode,
        [this] { return saves_.SaveLoadGame(kRunningGameSlot, true, kRunningGameName); },
        std::move(show_help));
  }

  void ExpectRunningGameKept() {
    EXPECT_EQ(state_.Credits, 1250);
    EXPECT_EQ(state_.Borrowed, 1000);
    EXPECT_EQ(state_.SpinCount, 37);
    EXPECT_EQ(state_.TotalBet, 840);
    EXPECT_EQ(state_.BonusPayoffs, 90);
  }

  std::optional<std::string> Saved(const char* section, const char* key) {
    return ReadProfileFile(path_.toStdString()).Value(section, key);
  }

  QTemporaryDir dir_;
  QString path_ = dir_.filePath("zelmar-slots/zelmar-slots.ini");
  GameState state_;
  SavedGames saves_{state_, path_.toStdString()};
  GameIdentity identity_;
  FakePlatform platform_;
  int dialogs_shown_ = 0;
};

}  // namespace

TEST_F(SavedGamesDialogTest, ListsTheEightSlotsAndKeepsTheRunningGame) {
  const bool opened = Run(SlotDialogMode::kSave, [&](SavedGamesDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Save a Game -- Select Game Slot");
    EXPECT_EQ(dialog.NameField(5)->text(), "Lucky evening");
    EXPECT_EQ(dialog.DateLabel(5)->text(), "12/05/26");
    EXPECT_EQ(dialog.CreditsLabel(5)->text(), "980 Credits");
    EXPECT_EQ(dialog.BorrowedLabel(5)->text(), "2000 Borrowed");
    EXPECT_EQ(dialog.TitleLabel(5)->text(), "Test Title");
    EXPECT_EQ(dialog.NameField(8)->text(), "GameNo8");
    EXPECT_EQ(dialog.DateLabel(8)->text(), QString::fromStdString(Today()));
    EXPECT_EQ(dialog.CreditsLabel(8)->text(), "1000 Credits");
    EXPECT_EQ(dialog.BorrowedLabel(8)->text(), "1000 Borrowed");
    EXPECT_EQ(dialog.SlotButton(8)->text(), "OK");
    EXPECT_EQ(dialog.SlotButton(8)->parentWidget()->geometry(), QRect(312, 232, 289, 65));
    EXPECT_FALSE(dialog.HelpButton()->isVisibleTo(&dialog));
    EXPECT_EQ(dialog.focusWidget(), dialog.CancelButton());
    // The running game stays in memory while the slots are listed, and is kept in the file.
    ExpectRunningGameKept();
    EXPECT_EQ(Saved("CurrentGame", "Credits"), "1250");
    EXPECT_EQ(Saved("CurrentGame", "GameName"), "CurrentGame");
    dialog.CancelButton()->click();
  });
  EXPECT_FALSE(opened);
  EXPECT_EQ(dialogs_shown_, 1);
}

TEST_F(SavedGamesDialogTest, CancelEscAndTheCloseBoxChangeNothing) {
  const std::vector<std::function<void(SavedGamesDialog&)>> ways = {
      [](SavedGamesDialog& dialog) { dialog.CancelButton()->click(); },
      [](SavedGamesDialog& dialog) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &escape);
      },
      [](SavedGamesDialog& dialog) { dialog.close(); },
  };
  for (SlotDialogMode mode : {SlotDialogMode::kOpen, SlotDialogMode::kSave}) {
    for (size_t way = 0; way < ways.size(); ++way) {
      SCOPED_TRACE(testing::Message() << "way " << way);
      EXPECT_FALSE(Run(mode, ways[way]));
      ExpectRunningGameKept();
      EXPECT_EQ(Saved("GameNo3", "GameDate"), "01/01/99");
      EXPECT_EQ(Saved("GameNo5", "Credits"), "980");
    }
  }
  EXPECT_EQ(dialogs_shown_, 6);
  EXPECT_TRUE(platform_.queries.empty());
}

TEST_F(SavedGamesDialogTest, ACancelledNameLeavesTheSlotUntouched) {
  EXPECT_FALSE(Run(SlotDialogMode::kSave, [](SavedGamesDialog& dialog) {
    dialog.NameField(3)->setText("Typed over");
    dialog.SlotButton(3)->click();
    EXPECT_FALSE(dialog.isVisible());
  }));
  ASSERT_EQ(platform_.queries.size(), 1u);
  EXPECT_EQ(platform_.queries[0].caption, "Name for this saved game?");
  EXPECT_EQ(platform_.queries[0].prompt, "");
  EXPECT_EQ(platform_.queries[0].text, "Typed over");
  EXPECT_EQ(platform_.queries[0].max_length, 255);
  EXPECT_EQ(Saved("GameNo3", "GameName"), "Old");
  EXPECT_EQ(Saved("GameNo3", "GameDate"), "01/01/99");
  EXPECT_EQ(Saved("GameNo3", "Credits"), "5");
  ExpectRunningGameKept();
}

TEST_F(SavedGamesDialogTest, AConfirmedNameSavesTheRunningGameWholeAndShowsItCut) {
  // 40 characters; the 30th is three bytes long.
  const QString forty = QStringLiteral("Ein langer Abend am Glücksrad€ Runde 40!");
  ASSERT_EQ(forty.size(), 40);
  platform_.on_query = [&](const QString&) { return std::optional<QString>(forty); };
  Run(SlotDialogMode::kSave, [](SavedGamesDialog& dialog) { dialog.SlotButton(3)->click(); });
  EXPECT_EQ(Saved("GameNo3", "GameName"), forty.toStdString());
  EXPECT_EQ(Saved("GameNo3", "GameDate"), Today());
  EXPECT_EQ(Saved("GameNo3", "Credits"), "1250");
  EXPECT_EQ(Saved("GameNo3", "Bonus"), "90");
  ExpectRunningGameKept();

  // An empty name is a name too.
  platform_.on_query = [](const QString&) { return std::optional<QString>(QString()); };
  Run(SlotDialogMode::kSave, [](SavedGamesDialog& dialog) { dialog.SlotButton(4)->click(); });
  EXPECT_EQ(Saved("GameNo4", "GameName"), "");

  Run(SlotDialogMode::kOpen, [&](SavedGamesDialog& dialog) {
    EXPECT_EQ(dialog.NameField(3)->text(), forty.left(30));
    EXPECT_EQ(dialog.NameField(4)->text(), "");
    EXPECT_EQ(dialog.CreditsLabel(3)->text(), "1250 Credits");
    dialog.CancelButton()->click();
  });
}

TEST_F(SavedGamesDialogTest, OpeningASlotMakesItTheRunningGameAndNothingElse) {
  EXPECT_TRUE(Run(SlotDialogMode::kOpen, [](SavedGamesDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Open a Game -- Select Game Slot");
    dialog.SlotButton(5)->click();
  }));
  EXPECT_EQ(state_.Credits, 980);
  EXPECT_EQ(state_.Borrowed, 2000);
  EXPECT_EQ(state_.SpinCount, 12);
  EXPECT_EQ(state_.TotalBet, 300);
  EXPECT_EQ(state_.BonusPayoffs, 40);
  EXPECT_EQ(state_.LinesBet, 3);
  EXPECT_EQ(state_.ReelStop, (std::array<int32_t, kReels>{1, 2, 3, 4, 5}));
  EXPECT_EQ(Saved("CurrentGame", "GameName"), "CurrentGame");
  EXPECT_EQ(Saved("CurrentGame", "GameDate"), Today());
  EXPECT_EQ(Saved("CurrentGame", "Credits"), "980");
  EXPECT_EQ(Saved("CurrentGame", "Borrowed"), "2000");
  EXPECT_EQ(Saved("CurrentGame", "Spins"), "12");
  EXPECT_EQ(Saved("CurrentGame", "TotalBets"), "300");
  EXPECT_EQ(Saved("CurrentGame", "Bonus"), "40");
  EXPECT_EQ(Saved("GameNo5", "GameName"), "Lucky evening");
}

TEST_F(SavedGamesDialogTest, AnUnwritableFileIsReportedAndOpensNoDialog) {
  QFile::remove(path_);
  QDir(dir_.path()).rmdir("zelmar-slots");
  WriteText(dir_.filePath("zelmar-slots"), "a file where the folder should be");
  EXPECT_FALSE(Run(SlotDialogMode::kOpen, [](SavedGamesDialog&) {}));
  EXPECT_EQ(dialogs_shown_, 0);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text, "Unable to write to " + path_);
  ExpectRunningGameKept();
}

TEST_F(SavedGamesDialogTest, HelpOpensItsTopic) {
  std::vector<int> topics;
  Run(
      SlotDialogMode::kSave,
      [](SavedGamesDialog& dialog) {
        EXPECT_TRUE(dialog.HelpButton()->isVisibleTo(&dialog));
        dialog.HelpButton()->click();
        dialog.CancelButton()->click();
      },
      [&](int topic) { topics.push_back(topic); });
  EXPECT_EQ(topics, std::vector<int>{41008});
}
