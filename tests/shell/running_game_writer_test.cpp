#include "shell/running_game_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <memory>
#include <thread>

#include "platform/profile_file.h"
#include "shell/saved_games.h"
#include "tests/shell/save_loop.h"
#include "tests/support/text_files.h"

namespace {

GameState AfterSpin(int32_t k) {
  const SavedGame after = RunningGameAfterSpin(k);
  GameState state;
  state.Credits = after.credits;
  state.Borrowed = after.borrowed;
  state.SpinCount = after.spin_count;
  state.TotalBet = after.total_bet;
  state.BonusPayoffs = after.bonus_payoffs;
  return state;
}

// The spin whose numbers the running game of the file holds: 0 without a running game, -1 when
// its numbers do not all come from one spin.
int32_t SpinInFile(const QString& path) {
  const ProfileDocument file = ReadProfileFile(path.toStdString());
  const std::string section = SlotSectionName(kRunningGameSlot);
  const std::optional<std::string> spins = file.Value(section, "Spins");
  if (!spins) return 0;
  const int32_t k = ParseProfileInt(*spins).value_or(-1);
  const SavedGame after = RunningGameAfterSpin(k);
  const bool one_spin = file.Value(section, "GameName") == kRunningGameName &&
                        file.Value(section, "Credits") == std::to_string(after.credits) &&
                        file.Value(section, "Borrowed") == std::to_string(after.borrowed) &&
                        file.Value(section, "TotalBets") == std::to_string(after.total_bet) &&
                        file.Value(section, "Bonus") == std::to_string(after.bonus_payoffs);
  return one_spin ? k : -1;
}

// While it lives, no file of this process can grow by a single byte: every write of the file is
// refused halfway, after the new content was begun beside the old file. Root is no exception.
class DiskTakesNoMoreBytes {
 public:
  DiskTakesNoMoreBytes() {
    getrlimit(RLIMIT_FSIZE, &old_limit_);
    rlimit none = old_limit_;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
    // A write past the limit then fails with EFBIG instead of ending the process.
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  }
  ~DiskTakesNoMoreBytes() {
    setrlimit(RLIMIT_FSIZE, &old_limit_);
    std::signal(SIGXFSZ, old_handler_);
  }
  DiskTakesNoMoreBytes(const DiskTakesNoMoreBytes&) = delete;
  DiskTakesNoMoreBytes& operator=(const DiskTakesNoMoreBytes&) = delete;

 private:
  rlimit old_limit_{};
  void (*old_handler_)(int) = nullptr;
};

class RunningGameWriterTest : public ::testing::Test {
 protected:
  // The files beside the saved-games file: any temporary a write left would show here.
  std::string FilesInFolder() const {
    return QDir(dir_.filePath("zelmar-slots"))
        .entryList(QDir::Files | QDir::Hidden)
        .join(' ')
        .toStdString();
  }

  QTemporaryDir dir_;
  QString path_ = dir_.filePath("zelmar-slots/zelmar-slots.ini");
};

}  // namespace

TEST_F(RunningGameWriterTest, KeepsTheNewestGameAsClosingWouldAndWritesTheLastOneWhenItGoes) {
  const std::string others = "[Player]\nNote=keep me\n";
  WriteText(path_, others);
  auto writer = std::make_unique<RunningGameWriter>(path_.toStdString());
  GameState state;
  for (int32_t k = 1; k <= 300; ++k) {
    state = AfterSpin(k);
    writer->Keep(state);
  }
  // Keep took a copy: the game changing after it changes nothing that is written.
  state.Credits = 1;
  ASSERT_TRUE(writer->Flush());
  const std::string kept = ReadText(path_);
  // Byte for byte what keeping the running game the closing way writes.
  const QString closing_path = dir_.filePath("closing.ini");
  WriteText(closing_path, others);
  GameState closing_state = AfterSpin(300);
  SavedGames closing(closing_state, closing_path.toStdString());
  ASSERT_TRUE(closing.SaveLoadGame(kRunningGameSlot, true, kRunningGameName));
  EXPECT_EQ(kept, ReadText(closing_path));

  // The game still waiting when the writer goes is written before it is gone.
  writer->Keep(AfterSpin(301));
  writer.reset();
  EXPECT_EQ(SpinInFile(path_), 301);
  EXPECT_EQ(FilesInFolder(), "zelmar-slots.ini zelmar-slots.ini.lock");
}

// Two copies of the game on one file: the one that played nothing since it read the file must
// not put its old game back over the other's, whenever it keeps it (a close, a dialog).
TEST_F(RunningGameWriterTest, AGameUnchangedSinceItWasReadIsNotWrittenOverAnotherCopysGame) {
  WriteText(path_, "[CurrentGame]\nGameName=CurrentGame\nCredits=1000\nBorrowed=1000\n");
  RunningGameWriter idle(path_.toStdString());
  GameState as_read;
  idle.ReadFromFile(as_read);
  {
    RunningGameWriter playing(path_.toStdString());
    playing.ReadFromFile(as_read);
    playing.Keep(AfterSpin(3));
  }
  ASSERT_EQ(SpinInFile(path_), 3);
  EXPECT_TRUE(idle.KeepNow(as_read));
  EXPECT_EQ(SpinInFile(path_), 3);
  // A game it has changed is its own to keep.
  EXPECT_TRUE(idle.KeepNow(AfterSpin(4)));
  EXPECT_EQ(SpinInFile(path_), 4);
}

TEST_F(RunningGameWriterTest, ARunOfRefusedWritesIsReportedOnceAndTheGameGoesOn) {
  auto writer = std::make_unique<RunningGameWriter>(path_.toStdString());
  int notices = 0;
  writer->SetFailureHandler([&] { ++notices; });
  writer->Keep(AfterSpin(1));
  ASSERT_TRUE(writer->Flush());
  const std::string kept = ReadText(path_);

  auto refused_run = [&](int32_t first, int32_t last) {
    const DiskTakesNoMoreBytes full;
    for (int32_t k = first; k <= last; ++k) {
      writer->Keep(AfterSpin(k));
      EXPECT_FALSE(writer->Flush());
    }
  };
  refused_run(2, 4);
  // The notice waits for the user-interface thread.
  EXPECT_EQ(notices, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(notices, 1);
  // The file is as it was, and no half-written file is left beside it.
  EXPECT_EQ(ReadText(path_), kept);
  EXPECT_EQ(FilesInFolder(), "zelmar-slots.ini zelmar-slots.ini.lock");

  // Once the disk takes bytes again the newest game is kept and the run is over.
  writer->Keep(AfterSpin(5));
  EXPECT_TRUE(writer->Flush());
  EXPECT_EQ(SpinInFile(path_), 5);
  refused_run(6, 7);
  QCoreApplication::processEvents();
  EXPECT_EQ(notices, 2);
  EXPECT_EQ(SpinInFile(path_), 5);

  // A write whose caller tells the player itself brings no notice on top.
  writer->Keep(AfterSpin(8));
  ASSERT_TRUE(writer->Flush());
  {
    const DiskTakesNoMoreBytes full;
    EXPECT_FALSE(writer->KeepNow(AfterSpin(9)));
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(notices, 2);

  // A notice still on its way when the writer goes is dropped with it.
  writer->Keep(AfterSpin(10));
  ASSERT_TRUE(writer->Flush());
  refused_run(11, 11);
  writer.reset();
  QCoreApplication::processEvents();
  EXPECT_EQ(notices, 2);
}

TEST_F(RunningGameWriterTest, AKilledGameKeepsItsLastSpinOrTheOneBeingWritten) {
  WriteText(path_, "[Player]\nNote=keep me\n");
  auto play = [&](int spins) {
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(ZELMAR_SAVE_LOOP), {path_, "spins", QString::number(spins)});
    EXPECT_TRUE(process->waitForStarted());
    return process;
  };
  // The spin the file held before a round, and so the last one kept.
  int32_t kept = 0;
  for (int round = 0; round < 100; ++round) {
    auto game = play(200);
    // Killed at a random moment once it is playing, however long it took to start: mostly in
    // the middle of a write, since writing is nearly all it does.
    ASSERT_TRUE(game->waitForReadyRead(30000));
    std::this_thread::sleep_for(
        std::chrono::microseconds(QRandomGenerator::global()->bounded(20000)));
    game->kill();
    ASSERT_TRUE(game->waitForFinished());
    const QList<QByteArray> printed = game->readAllStandardOutput().trimmed().split('\n');
    const int32_t last_pressed = printed.last().toInt();
    ASSERT_GT(last_pressed, kept) << "round " << round;
    const int32_t in_file = SpinInFile(path_);
    if (game->exitStatus() == QProcess::NormalExit) {
      // It played all its spins before the kill came: the last one is kept.
      ASSERT_EQ(game->exitCode(), 0) << game->readAllStandardError().toStdString();
      ASSERT_EQ(in_file, last_pressed) << "round " << round;
    } else {
      ASSERT_TRUE(in_file == last_pressed || in_file == last_pressed + 1)
          << "round " << round << ": spin " << in_file << " kept, " << last_pressed
          << " was the last one flushed";
    }
    ASSERT_EQ(ReadProfileFile(path_.toStdString()).Value("Player", "Note"), "keep me");
    kept = in_file;
  }
  // One more game clears whatever the killed writers left behind.
  auto last = play(1);
  ASSERT_TRUE(last->waitForFinished());
  EXPECT_EQ(last->exitCode(), 0);
  EXPECT_EQ(SpinInFile(path_), kept + 1);
  EXPECT_EQ(FilesInFolder(), "zelmar-slots.ini zelmar-slots.ini.lock");
}
