// Start-up, New Game, the window's size and place, and the input guard.
#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <vector>

#include "shell/game_audio.h"
#include "tests/app/game_fixture.h"
#include "tests/support/recording_player.h"
#include "windows/borrow_dialog.h"

using StartUp = GameFixture;

TEST_F(StartUp, NewGameStateBeforeAnythingIsSaved) {
  Start();
  EXPECT_EQ(state_.Credits, 1000);
  EXPECT_EQ(state_.Borrowed, 1000);
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_EQ(state_.TotalBet, 0);
  EXPECT_EQ(state_.BonusPayoffs, 0);
  EXPECT_EQ(state_.LinesBet, 9);
  EXPECT_EQ(state_.CreditsPerLine, 1);
  EXPECT_EQ(state_.LinesButton, 5);
  EXPECT_EQ(state_.CreditsButton, 6);
  EXPECT_EQ(window_->CycleState().wild_frame, 4);
  EXPECT_EQ(window_->CycleState().wild_frame_step, 1);
  EXPECT_EQ(window_->Identity().GameTitle, "Zelmar Slots");
  EXPECT_EQ(window_->Identity().VersionText, "1.1");
  EXPECT_EQ(window_->Identity().SoundRoot, "Zelmar");
  // The sounds are loaded and the music found during start-up, the music started after it.
  EXPECT_EQ(sounds_.calls, (std::vector<std::string>{"LoadSounds", "FindMusicTracks"}));
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Zelmar Slots"));
  EXPECT_EQ(state_.ReelStop, (std::array<int32_t, 5>{3, 30, 7, 2, 7}));
}

TEST_F(StartUp, InputIsIgnoredUntilTheFirstTimerTick) {
  Start();
  EXPECT_TRUE(state_.Busy);
  EXPECT_FALSE(window_->NewGameAction()->isEnabled());
  ClickSpin();
  window_->PressKey(GameKey::kEnter);
  platform_.Advance(249);
  EXPECT_TRUE(state_.Busy);
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_EQ(state_.Credits, 1000);
  EXPECT_EQ(sounds_.Count("Start"), 0);

  platform_.Advance(1);
  EXPECT_FALSE(state_.Busy);
  EXPECT_TRUE(window_->NewGameAction()->isEnabled());
  EXPECT_EQ(sounds_.calls, (std::vector<std::string>{"LoadSounds", "FindMusicTracks",
                                                     "QueueFirstTrack", "Start"}));
  EXPECT_FALSE(window_->StartUpTimer().Enabled());
  platform_.Advance(1000);
  EXPECT_EQ(sounds_.Count("Start"), 1);  // the start-up tick runs once
}

TEST_F(StartUp, ProgramFolderAndBaseNameFollowTheRealFile) {
  QFile real(QDir(dir_.path()).filePath("real/zelmar-slots"));
  QDir(dir_.path()).mkpath("real");
  ASSERT_TRUE(real.open(QIODevice::WriteOnly));
  real.close();
  ASSERT_TRUE(QFile::link(real.fileName(), QDir(dir_.path()).filePath("link-to-game")));

  StartOptions options;
  options.seed = 1;
  options.program_file = QDir(dir_.path()).filePath("link-to-game").toStdString();
  MainWindow other(state_, platform_, sounds_, help_, web_, options);
  const QString expected_dir = QFileInfo(real.fileName()).canonicalPath() + "/";
  EXPECT_EQ(other.Identity().AppDir, expected_dir.toStdString());
  EXPECT_EQ(other.Identity().ExeBaseName, "zelmar-slots");  // no extension, nothing cut
}

TEST_F(StartUp, WindowIsTheScreenLessTenCentredAndFixedAtLargeFonts) {
  Start(1, 800, 600, 120);
  EXPECT_EQ(window_->width(), 790);
  EXPECT_EQ(window_->height(), 590);
  EXPECT_EQ(window_->x(), 5);
  EXPECT_EQ(window_->y(), 5);
  EXPECT_FALSE(window_->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(window_->minimumSize(), window_->maximumSize());
}

TEST_F(StartUp, SmallFontResolutionMaximisesTheWindow) {
  Start(1, 1024, 768, 96);
  EXPECT_TRUE(window_->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(window_->Layout().ScreenWidth, 1024);
  EXPECT_EQ(window_->Layout().ScreenHeight, 768);
}

TEST_F(StartUp, ReelGeometryFollowsTheScreenWidth) {
  Start(1, 1280, 1024, 120);
  EXPECT_EQ(window_->Layout().ReelsLeft, 331);
  EXPECT_EQ(window_->Layout().ReelsTop, 336);
  EXPECT_EQ(window_->Layout().ReelPitch, 147);
  EXPECT_EQ(window_->Layout().BlurHeight, 1459);
}

TEST_F(StartUp, MenuBarOpensTheSideWindowsAndBorrowingRepaintsTheCreditsMeter) {
  Start();
  Ready();
  const QList<QAction*> bar = window_->menuBar()->actions();
  ASSERT_GE(bar.size(), 5);
  EXPECT_EQ(
      bar.mid(bar.size() - 4, 3),
      (QList<QAction*>{window_->BorrowAction(), window_->StatsAction(), window_->PayoffsAction()}));
  EXPECT_EQ(window_->BorrowAction()->text(), "&Borrow");
  EXPECT_EQ(window_->StatsAction()->text(), "&Stats");
  EXPECT_EQ(window_->PayoffsAction()->text(), "&Payoffs");

  const QImage before = window_->Surface().Image().copy();
  std::vector<QString> opened;
  platform_.on_modal = [&](QDialog* dialog) {
    opened.push_back(dialog->windowTitle());
    if (auto* borrow = dynamic_cast<BorrowDialog*>(dialog)) borrow->Chip(1)->click();
    dialog->accept();
  };
  window_->BorrowAction()->trigger();
  EXPECT_EQ(state_.Credits, 1100);
  EXPECT_EQ(state_.Borrowed, 1100);
  EXPECT_NE(window_->Surface().Image(), before) << "the credits meter shows 1100";
  window_->PaintAll();
  const QImage after_borrow = window_->Surface().Image().copy();
  window_->StatsAction()->trigger();
  window_->PayoffsAction()->trigger();
  EXPECT_EQ(opened, (std::vector<QString>{"Use this form to borrow or pay back credits",
                                          "Your Game Statistics", "Payoff Chart"}));
  EXPECT_EQ(window_->Surface().Image(), after_borrow);
  EXPECT_EQ(state_.Credits, 1100);
}

TEST_F(StartUp, NewGameRestoresMoneyAndKeepsTheBet) {
  Start();
  Ready();
  state_.Credits = 0;
  state_.Borrowed = 3000;
  state_.TotalBet = 4500;
  state_.SpinCount = 77;
  state_.BonusPayoffs = 300;
  state_.LinesBet = 5;
  state_.CreditsPerLine = 3;
  window_->NewGameAction()->trigger();
  EXPECT_EQ(state_.Credits, 1000);
  EXPECT_EQ(state_.Borrowed, 1000);
  EXPECT_EQ(state_.TotalBet, 0);
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_EQ(state_.BonusPayoffs, 0);
  EXPECT_EQ(state_.LinesBet, 5);
  EXPECT_EQ(state_.CreditsPerLine, 3);
  EXPECT_FALSE(state_.Busy);
}

TEST_F(StartUp, MissingMemorySoundsAreReportedAndStartUpGoesOn) {
  RecordingPlayer player;
  GameAudio audio(player, platform_);
  Start(1, 800, 600, 120, &audio);
  const std::string folder = window_->Identity().AppDir;
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text.toStdString(),
            "File not found: " + folder + "Zelmar0.wav\nFile not found: " + folder + "Zelmar3.wav");
  EXPECT_EQ(window_->width(), 790);  // the steps after the sounds have run
  Ready();
  EXPECT_FALSE(state_.Busy);
  window_.reset();  // before the sounds it plays to go
}
