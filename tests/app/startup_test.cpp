// Start-up, New Game, the window's size and place, and the input guard.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>

#include "tests/app/game_fixture.h"

using StartUp = GameFixture;

TEST_F(StartUp, NewGameStateBeforeAnythingIsSaved) {
  Start();
  EXPECT_EQ(state.Credits, 1000);
  EXPECT_EQ(state.Borrowed, 1000);
  EXPECT_EQ(state.SpinCount, 0);
  EXPECT_EQ(state.TotalBet, 0);
  EXPECT_EQ(state.BonusPayoffs, 0);
  EXPECT_EQ(state.LinesBet, 9);
  EXPECT_EQ(state.CreditsPerLine, 1);
  EXPECT_EQ(state.LinesButton, 5);
  EXPECT_EQ(state.CreditsButton, 6);
  EXPECT_EQ(state.WildFrame, 4);
  EXPECT_EQ(state.WildFrameStep, 1);
  EXPECT_EQ(state.GameTitle, "Zelmar Slots");
  EXPECT_EQ(state.VersionText, "1.1");
  EXPECT_EQ(state.SoundRoot, "Zelmar");
  // The sounds are loaded and the music found during start-up, the music started after it.
  EXPECT_EQ(sounds.Calls, (std::vector<std::string>{"LoadSounds", "FindMusicTracks"}));
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Zelmar Slots"));
  EXPECT_EQ(state.ReelStop, (std::array<int32_t, 5>{3, 30, 7, 2, 7}));
}

TEST_F(StartUp, InputIsIgnoredUntilTheFirstTimerTick) {
  Start();
  EXPECT_TRUE(state.Busy);
  EXPECT_FALSE(form->NewGameAction()->isEnabled());
  ClickSpin();
  form->FormKeyDown(13);
  platform.Advance(249);
  EXPECT_TRUE(state.Busy);
  EXPECT_EQ(state.SpinCount, 0);
  EXPECT_EQ(state.Credits, 1000);
  EXPECT_EQ(sounds.Count("Start"), 0);

  platform.Advance(1);
  EXPECT_FALSE(state.Busy);
  EXPECT_TRUE(form->NewGameAction()->isEnabled());
  EXPECT_EQ(sounds.Calls, (std::vector<std::string>{"LoadSounds", "FindMusicTracks",
                                                    "QueueFirstTrack", "Start"}));
  EXPECT_FALSE(form->Timer1().Enabled());
  platform.Advance(1000);
  EXPECT_EQ(sounds.Count("Start"), 1);  // the start-up tick runs once
}

TEST_F(StartUp, ProgramFolderAndBaseNameFollowTheRealFile) {
  QFile real(QDir(dir.path()).filePath("real/zelmar-slots"));
  QDir(dir.path()).mkpath("real");
  ASSERT_TRUE(real.open(QIODevice::WriteOnly));
  real.close();
  ASSERT_TRUE(QFile::link(real.fileName(), QDir(dir.path()).filePath("link-to-game")));

  StartOptions options;
  options.Seed = 1;
  options.ProgramFile = QDir(dir.path()).filePath("link-to-game").toStdString();
  TForm1 other(state, platform, sounds, options);
  const QString expectedDir = QFileInfo(real.fileName()).canonicalPath() + "/";
  EXPECT_EQ(state.AppDir, expectedDir.toStdString());
  EXPECT_EQ(state.ExeBaseName, "zelmar-slots");  // no extension, nothing cut
}

TEST_F(StartUp, WindowIsTheScreenLessTenCentredAndFixedAtLargeFonts) {
  Start(1, 800, 600, 120);
  EXPECT_EQ(form->width(), 790);
  EXPECT_EQ(form->height(), 590);
  EXPECT_EQ(form->x(), 5);
  EXPECT_EQ(form->y(), 5);
  EXPECT_FALSE(form->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(form->minimumSize(), form->maximumSize());
}

TEST_F(StartUp, SmallFontResolutionMaximisesTheWindow) {
  Start(1, 1024, 768, 96);
  EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(state.ScreenWidth, 1024);
  EXPECT_EQ(state.ScreenHeight, 768);
}

TEST_F(StartUp, ReelGeometryFollowsTheScreenWidth) {
  Start(1, 1280, 1024, 120);
  EXPECT_EQ(state.ReelsLeft, 331);
  EXPECT_EQ(state.ReelsTop, 336);
  EXPECT_EQ(state.ReelPitch, 147);
  EXPECT_EQ(state.BlurHeight, 1459);
}

TEST_F(StartUp, NewGameRestoresMoneyAndKeepsTheBet) {
  Start();
  Ready();
  state.Credits = 0;
  state.Borrowed = 3000;
  state.TotalBet = 4500;
  state.SpinCount = 77;
  state.BonusPayoffs = 300;
  state.LinesBet = 5;
  state.CreditsPerLine = 3;
  form->NewGameAction()->trigger();
  EXPECT_EQ(state.Credits, 1000);
  EXPECT_EQ(state.Borrowed, 1000);
  EXPECT_EQ(state.TotalBet, 0);
  EXPECT_EQ(state.SpinCount, 0);
  EXPECT_EQ(state.BonusPayoffs, 0);
  EXPECT_EQ(state.LinesBet, 5);
  EXPECT_EQ(state.CreditsPerLine, 3);
  EXPECT_FALSE(state.Busy);
}

TEST_F(StartUp, OptionsMenuSwitchesSoundAndMusicWithTheirCheckMarks) {
  Start();
  const QList<QAction*> menus = form->menuBar()->actions();
  ASSERT_GE(menus.size(), 2);
  EXPECT_EQ(menus[1]->text(), QStringLiteral("&Options"));
  EXPECT_EQ(menus[1]->menu()->actions(),
            (QList<QAction*>{form->SoundAction(), form->MusicAction()}));
  for (QAction* item : {form->SoundAction(), form->MusicAction()}) {
    EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(item->isChecked());
  }
  form->SoundAction()->trigger();
  EXPECT_FALSE(sounds.Sound);
  EXPECT_FALSE(form->SoundAction()->isChecked());
  EXPECT_TRUE(sounds.Music);
  form->MusicAction()->trigger();
  form->MusicAction()->trigger();
  EXPECT_TRUE(sounds.Music);
  EXPECT_TRUE(form->MusicAction()->isChecked());
  form.reset();
  EXPECT_EQ(sounds.Calls.back(), "CloseMusic");
}
