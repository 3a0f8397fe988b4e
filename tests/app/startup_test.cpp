// Start-up, New Game, the window's size and place, and the input guard.
#include <QAction>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "screen/layout_width.h"
#include "shell/game_audio.h"
#include "shell/saved_games_dialog.h"
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
  EXPECT_EQ(game_->Cycle().State().wild_frame, 4);
  EXPECT_EQ(game_->Cycle().State().wild_frame_step, 1);
  EXPECT_EQ(game_->Identity().GameTitle, "Zelmar Slots");
  EXPECT_EQ(game_->Identity().VersionText, "1.1");
  EXPECT_EQ(game_->Identity().SoundRoot, "Zelmar");
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Zelmar Slots"));
  EXPECT_EQ(state_.ReelStop, (std::array<int32_t, 5>{3, 30, 7, 2, 7}));
  EXPECT_FALSE(QFile::exists(SavesFile()));  // start-up only reads
}

TEST_F(StartUp, GoesOnWithTheGameOfTheLastRunAndKeepsItAtTheClose) {
  WriteFile("zelmar-slots/zelmar-slots.ini",
            "[CurrentGame]\r\nGameName=CurrentGame\r\nCredits=1250\r\nBorrowed=2000\r\n"
            "Spins=37\r\nTotalBets=0x348\r\nBonus=90\r\n");
  Start();
  Ready();
  EXPECT_EQ(state_.Credits, 1250);
  EXPECT_EQ(state_.Borrowed, 2000);
  EXPECT_EQ(state_.SpinCount, 37);
  EXPECT_EQ(state_.TotalBet, 840);
  EXPECT_EQ(state_.BonusPayoffs, 90);
  EXPECT_EQ(state_.LinesBet, 9);
  EXPECT_EQ(state_.CreditsPerLine, 1);

  state_.Credits = 1100;
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(Saved("CurrentGame", "Credits"), "1100");
  EXPECT_EQ(Saved("CurrentGame", "TotalBets"), "840");
  EXPECT_EQ(Saved("CurrentGame", "GameDate"), FormatSaveDate(QDate::currentDate()));
  EXPECT_TRUE(platform_.messages.empty());
}

// Runs a function before each paint of any widget.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(std::function<void(QObject*)> before_paint)
      : before_paint_(std::move(before_paint)) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) before_paint_(watched);
    return false;
  }

 private:
  std::function<void(QObject*)> before_paint_;
};

TEST_F(StartUp, TheFirstPictureShowsTheLastRunsGameAndTheSoundsAreReadiedAfterIt) {
  WriteFile("zelmar-slots/zelmar-slots.ini", "[CurrentGame]\nCredits=1250\nBorrowed=2000\n");
  std::optional<int> credits_at_first_paint;
  std::vector<std::string> sounds_at_first_paint;
  const PaintWatch watch([&](QObject* widget) {
    if (credits_at_first_paint || !game_ || widget != &game_->View()) return;
    credits_at_first_paint = state_.Credits;
    sounds_at_first_paint = sounds_.calls;
  });
  Start();
  ASSERT_TRUE(credits_at_first_paint.has_value()) << "the game area was painted";
  EXPECT_EQ(*credits_at_first_paint, 1250);
  // Neither the audio device nor a sound file delays the first picture.
  EXPECT_TRUE(sounds_at_first_paint.empty());
  platform_.ProcessMessages();
  EXPECT_EQ(sounds_.calls, (std::vector<std::string>{"LoadSounds", "FindMusicTracks"}));
  // The first picture was drawn while the window was being shown: it is the cabinet as drawn
  // now, here and where the maximised window's game area called for another layout.
  for (const int dpi : {120, 96}) {
    if (dpi == 96) Start(1, 1280, 1024, dpi);
    const QImage first = Surface().Image().copy();
    game_->View().Settled().Screen().PaintAll(true);
    EXPECT_TRUE(first == Surface().Image()) << dpi << " dpi";
  }
}

TEST_F(StartUp, AWindowNotYetOnTheScreenReadiesItsSoundsAtTheStartUpTick) {
  StartOptions options;
  options.seed = 1;
  options.program_file = QDir(dir_.path()).filePath("zelmar-slots").toStdString();
  qputenv("XDG_DATA_HOME", dir_.path().toUtf8());
  const GameServices services{platform_, sounds_, help_, web_};
  MainWindow hidden(services);
  const Game game(state_, services, hidden, options);
  platform_.Advance(250);
  EXPECT_EQ(sounds_.calls, (std::vector<std::string>{"LoadSounds", "FindMusicTracks",
                                                     "QueueFirstTrack", "Start"}));
  hidden.show();  // drawn at last: nothing is readied twice
  platform_.ProcessMessages();
  platform_.ProcessMessages();
  EXPECT_EQ(sounds_.Count("LoadSounds"), 1);
}

TEST_F(StartUp, AGameThatCannotBeKeptIsReportedAndTheWindowStillCloses) {
  WriteFile("zelmar-slots", "a file where the folder should be");
  Start();
  Ready();
  window_->close();
  EXPECT_FALSE(window_->isVisible());
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text, "Unable to write to " + SavesFile());
}

TEST_F(StartUp, TheSettingsFileNamesTheGame) {
  // Found in any letter case, like the art beside the program.
  WriteFile("TESTING.INI", "[Settings]\nAboutName=Test Title\nSoundRoot=Gold\n");
  Start();
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("Test Title"));
  EXPECT_EQ(game_->Identity().SoundRoot, "Gold");
  Item("&Help/Version")->trigger();
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].caption, QStringLiteral("Information"));
  EXPECT_EQ(platform_.messages[0].text, QStringLiteral("Test Title\n\nVersion:  1.1"));
}

TEST_F(StartUp, AnOpenedGameIsOnTheMetersAtOnceAndTheBetStays) {
  WriteFile("zelmar-slots/zelmar-slots.ini",
            "[GameNo5]\nGameName=Lucky evening\nCredits=980\nBorrowed=2000\nSpins=12\n"
            "TotalBets=300\nBonus=40\n");
  Start();
  Ready();
  ClickLines(2);
  const auto stops = state_.ReelStop;
  platform_.on_modal = [](QDialog* dialog) {
    static_cast<SavedGamesDialog*>(dialog)->SlotButton(5)->click();
  };
  Item("&File/&Open Game")->trigger();
  EXPECT_EQ(state_.Credits, 980);
  EXPECT_EQ(state_.LinesBet, 3);
  EXPECT_EQ(state_.ReelStop, stops);
  // What the window shows is what a full repaint of the opened game draws.
  const QImage shown = Surface().Image().copy();
  game_->View().PaintAll();
  EXPECT_EQ(shown, Surface().Image());
}

TEST_F(StartUp, InputIsIgnoredUntilTheFirstTimerTick) {
  Start();
  EXPECT_FALSE(game_->StartUp().Ended());
  EXPECT_FALSE(Item("&File/&New Game")->isEnabled());
  ClickSpin();
  PressKey(Qt::Key_Return);
  platform_.Advance(249);
  EXPECT_FALSE(game_->StartUp().Ended());
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_EQ(state_.Credits, 1000);
  EXPECT_EQ(sounds_.Count("Start"), 0);

  platform_.Advance(1);
  EXPECT_TRUE(Item("&File/&New Game")->isEnabled());
  EXPECT_EQ(sounds_.calls, (std::vector<std::string>{"LoadSounds", "FindMusicTracks",
                                                     "QueueFirstTrack", "Start"}));
  EXPECT_TRUE(game_->StartUp().Ended());
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
  const GameServices services{platform_, sounds_, help_, web_};
  MainWindow other_window(services);
  const Game other(state_, services, other_window, options);
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
  EXPECT_EQ(Layout().ScreenWidth, 1024);
  EXPECT_EQ(Layout().ScreenHeight, 768);
}

TEST_F(StartUp, ReelGeometryFollowsTheScreenWidth) {
  Start(1, 1280, 1024, 120);
  EXPECT_EQ(Layout().ReelsLeft, 331);
  EXPECT_EQ(Layout().ReelsTop, 336);
  EXPECT_EQ(Layout().ReelPitch, 147);
  EXPECT_EQ(Layout().BlurHeight, 1459);
}

TEST_F(StartUp, EveryKeyIsWithinReachOnCommonScreens) {
  const struct {
    int width, height;
    bool scaled_by_width;  // 4:3 and 5:4: laid out exactly as before, from the left edge
  } kScreens[] = {{800, 600, true},    {1024, 768, true},  {1280, 1024, true},
                  {1366, 768, false},  {1600, 900, false}, {1920, 1080, false},
                  {1920, 1200, false}, {2560, 1440, false}};
  for (const auto& screen : kScreens) {
    SCOPED_TRACE(testing::Message() << screen.width << " x " << screen.height);
    Start(1, screen.width, screen.height, 120);
    Ready();
    const QSize area = game_->View().size();
    const int width = Layout().scale.layout_width;
    EXPECT_EQ(width, LayoutWidth(screen.width, area.width(), area.height()))
        << "fitted to the real game area";
    if (screen.scaled_by_width) {
      EXPECT_EQ(width, screen.width);
      EXPECT_EQ(Layout().scale.offset, 0);
    } else {
      EXPECT_LT(width, screen.width);
      EXPECT_EQ(Layout().scale.offset, (area.width() - ScaleAt(width, 800)) / 2);
    }
    // The SPIN key's whole mouse area, and the design down to row 550, lie in the game area.
    const layout::HitArea& spin = layout::kSpinHitArea;
    EXPECT_GT(AreaX(spin.left), 0);
    EXPECT_LT(AreaX(spin.right), area.width());
    EXPECT_LT(S(spin.bottom), area.height());
    EXPECT_LE(S(kKeysBottomRow), area.height());
    // A press at its centre spins.
    ClickArea(spin);
    EXPECT_EQ(state_.SpinCount, 1);
    EndGame();
    QFile::remove(SavesFile());  // the spin was kept: the next screen starts a new game
    state_ = GameState();
  }
}

TEST_F(StartUp, AGameAreaShorterThanExpectedGetsALayoutOfItsOwn) {
  Start(1, 1600, 1200, 120);
  Ready();
  ASSERT_EQ(Layout().scale.layout_width, 1600);
  // A window manager that leaves less room than expected: a panel, a taller caption.
  window_->setFixedSize(1590, 900);
  platform_.ProcessMessages();
  const int width = Layout().scale.layout_width;
  EXPECT_EQ(width, LayoutWidth(1600, game_->View().width(), game_->View().height()));
  EXPECT_EQ(Layout().CellSize, ScaleAt(width, 76)) << "symbol art prepared again";
  EXPECT_EQ(Layout().ReelsLeft, ScaleAt(width, 207));
  EXPECT_EQ(Surface().Width(), ScaleAt(width, 800));
  ClickSpin();
  EXPECT_EQ(state_.SpinCount, 1);
  // A new size while the reels turn is laid out once they have stopped, never under them.
  window_->setFixedSize(1590, 700);
  platform_.ProcessMessages();
  EXPECT_EQ(Layout().scale.layout_width, width);
  EXPECT_EQ(Layout().CellSize, ScaleAt(width, 76));
  PlayOut();
  const int after = LayoutWidth(1600, game_->View().width(), game_->View().height());
  ASSERT_LT(after, width);
  EXPECT_EQ(Layout().scale.layout_width, after);
  EXPECT_EQ(Layout().CellSize, ScaleAt(after, 76));
  EXPECT_EQ(Surface().Width(), ScaleAt(after, 800));
}

// A window the player un-maximised and made smaller than the screen of 1280 x 800: the cabinet is
// laid out for what the window shows, every key and meter in sight and working, down to the
// design's own layout, below which the window does not shrink (asked for 640 x 760, it stays as
// wide as that layout's keys and meters); maximised again, the cabinet is as it was.
TEST_F(StartUp, AWindowMadeSmallerThanTheScreenKeepsEveryKeyAndMeterInSight) {
  Start(1, 1280, 800, 96);
  Ready();
  ASSERT_TRUE(window_->windowState() & Qt::WindowMaximized);
  const int maximised = Layout().scale.layout_width;
  const QSize maximised_surface = Surface().Image().size();
  window_->setWindowState(Qt::WindowNoState);
  for (const QSize& asked : {QSize(1000, 760), QSize(640, 760), QSize(200, 150)}) {
    SCOPED_TRACE(testing::Message() << asked.width() << " x " << asked.height());
    window_->resize(asked);
    platform_.ProcessMessages();
    const QSize area = game_->View().size();
    EXPECT_GE(area.width(), InSightWidth(kSmallestLayoutWidth));
    EXPECT_GE(area.height(), InSightHeight(kSmallestLayoutWidth));
    const int width = Layout().scale.layout_width;
    EXPECT_EQ(width, LayoutWidth(1280, area.width(), area.height()));
    EXPECT_GE(width, kSmallestLayoutWidth);
    EXPECT_EQ(Surface().Width(), ScaleAt(width, 800));
    // The rightmost keys and meters, and the bottom of the keys.
    for (const layout::HitArea& key : {layout::kSpinHitArea, layout::kMaxBetHitArea,
                                       layout::BetKeyHitArea(5), layout::BetKeyHitArea(10)}) {
      EXPECT_GE(AreaX(key.left), 0);
      EXPECT_LT(AreaX(key.right), area.width());
      EXPECT_LT(S(key.bottom), area.height());
    }
    EXPECT_LT(AreaX(layout::kMeterFrame.right), area.width());
    EXPECT_LT(AreaX(layout::kRightMarkers.left + layout::kRightMarkers.width), area.width());
    EXPECT_LE(AreaX(kInSightRightColumn), area.width());
  }
  EXPECT_EQ(game_->View().width(), InSightWidth(kSmallestLayoutWidth)) << "as narrow as it gets";
  ClickSpin();
  EXPECT_EQ(state_.SpinCount, 1);
  PlayOut();

  window_->setWindowState(Qt::WindowMaximized);
  platform_.ProcessMessages();
  EXPECT_EQ(Layout().scale.layout_width, maximised);
  EXPECT_EQ(Surface().Image().size(), maximised_surface);
}

TEST_F(StartUp, MenuBarOpensTheSideWindowsAndBorrowingRepaintsTheCreditsMeter) {
  Start();
  Ready();
  const QImage before = Surface().Image().copy();
  std::vector<QString> opened;
  platform_.on_modal = [&](QDialog* dialog) {
    opened.push_back(dialog->windowTitle());
    if (auto* borrow = dynamic_cast<BorrowDialog*>(dialog)) borrow->Chip(1)->click();
    dialog->accept();
  };
  Item("&Borrow")->trigger();
  EXPECT_EQ(state_.Credits, 1100);
  EXPECT_EQ(state_.Borrowed, 1100);
  // The loan is kept at once: a kill right after it loses nothing.
  game_->Keeper().Flush();
  EXPECT_EQ(Saved("CurrentGame", "Credits"), "1100");
  EXPECT_EQ(Saved("CurrentGame", "Borrowed"), "1100");
  EXPECT_NE(Surface().Image(), before) << "the credits meter shows 1100";
  game_->View().PaintAll();
  const QImage after_borrow = Surface().Image().copy();
  // Credits changed behind the window's back: a repaint would show them on the meter. Stats and
  // Payoffs only look.
  state_.Credits = 4321;
  Item("&Stats")->trigger();
  Item("&Payoffs")->trigger();
  EXPECT_EQ(opened, (std::vector<QString>{"Use this form to borrow or pay back credits",
                                          "Your Game Statistics", "Payoff Chart"}));
  EXPECT_EQ(Surface().Image(), after_borrow);
  EXPECT_EQ(state_.Credits, 4321);
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
  Item("&File/&New Game")->trigger();
  EXPECT_EQ(state_.Credits, 1000);
  EXPECT_EQ(state_.Borrowed, 1000);
  EXPECT_EQ(state_.TotalBet, 0);
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_EQ(state_.BonusPayoffs, 0);
  EXPECT_EQ(state_.LinesBet, 5);
  EXPECT_EQ(state_.CreditsPerLine, 3);
  EXPECT_TRUE(game_->StartUp().Ended());
}

TEST_F(StartUp, SoundProblemsAreToldOnceTheCabinetIsOnTheScreenAndStartUpGoesOn) {
  WriteFile("zelmar-slots/zelmar-slots.ini", "[CurrentGame]\nCredits=1250\nBorrowed=2000\n");
  RecordingPlayer player;
  player.device = false;
  GameAudio audio(player, platform_);
  // Whether the window on the screen already shows the cabinet whenever a box comes up.
  std::vector<bool> cabinet_shown;
  platform_.on_message = [&](const QString&, const QString&) {
    bool shown = false;
    if (game_ != nullptr) {
      const QImage screen = window_->screen()->grabWindow(window_->winId()).toImage();
      const QImage& cabinet = Surface().Image();
      const QRect area(QPoint(Layout().scale.offset, 0), game_->View().size());
      const QRect part = area.intersected(QRect(QPoint(), cabinet.size()));
      const QPoint at = game_->View().mapTo(window_.get(), part.topLeft());
      shown = !part.isEmpty() &&
              screen.copy(QRect(at, part.size())).convertToFormat(QImage::Format_RGB32) ==
                  cabinet.copy(part).convertToFormat(QImage::Format_RGB32);
    }
    cabinet_shown.push_back(shown);
  };
  Start(1, 800, 600, 120, &audio);
  EXPECT_EQ(state_.Credits, 1250);  // the running game was read all the same
  EXPECT_EQ(window_->width(), 790);
  Ready();
  EXPECT_TRUE(game_->StartUp().Ended());
  platform_.Advance(1000);
  const std::string folder = game_->Identity().AppDir;
  ASSERT_EQ(platform_.messages.size(), 2u);
  EXPECT_EQ(platform_.messages[0].text.toStdString(),
            "No sound device could be opened (no output here).\nThe game plays without sound.");
  EXPECT_EQ(platform_.messages[1].text.toStdString(),
            "File not found: " + folder + "Zelmar0.wav\nFile not found: " + folder + "Zelmar3.wav");
  EXPECT_EQ(cabinet_shown, (std::vector<bool>{true, true}));
  EndGame();  // before the sounds it plays to go
}
