// Playing: stakes and refusals, the spin, the count-up, the win cycle and the bonus hand-over.
#include <QAction>
#include <QKeyEvent>
#include <QRegion>
#include <QScopeGuard>
#include <fstream>
#include <map>

#include "engine/bonus.h"
#include "engine/countup.h"
#include "screen/fonts.h"
#include "screen/main_screen.h"
#include "shell/game_audio.h"
#include "tests/app/game_fixture.h"
#include "tests/support/recording_player.h"
#include "windows/bonus_game.h"

namespace {
// Steps the count-up takes for a win.
int CountSteps(int win) {
  int steps = 0;
  for (; win > 0; win -= CountUpStep(win)) ++steps;
  return steps;
}

bool NoWin(const GameState& g) {
  return g.GamePaid == 0 && g.ScatterCount < 3;
}

// A text of the status line: the strip is cleared, then each text is written at its anchor.
struct StatusText {
  QString text;
  QRgb colour;
  int anchor;  // design x of its left edge, or of its right edge when right_aligned
  bool right_aligned;
};

// The status strip as the window must show the texts at the design width (in the status line's
// font, every text on the line whose bottom is the strip's), and as it shows it.
QImage ExpectedStatus(const std::vector<StatusText>& texts) {
  Canvas c(800, 600);
  const FontBand font = StatusLineFont(800);
  c.SetFontFace(QString::fromLatin1(font.face));
  c.SetFontSize(font.size);
  c.SetFontBold(font.bold);
  c.SetBrushClear(true);
  const int top = 61 - c.TextHeight(texts.front().text);
  for (const StatusText& t : texts) {
    c.SetFontColor(t.colour);
    c.TextOut(t.right_aligned ? t.anchor - c.TextWidth(t.text) : t.anchor, top, t.text);
  }
  return c.Image().copy(QRect(QPoint(172, 50), QPoint(623, 60)));
}
QImage ShownStatus(const Canvas& surface) {
  return surface.Image().copy(QRect(QPoint(172, 50), QPoint(623, 60)));
}
constexpr QRgb kWhiteText = qRgb(255, 255, 255);
constexpr QRgb kYellowText = qRgb(255, 255, 0);

// Records the credits at each reel stop: the stake must be gone before any reel lands.
class CreditsAtReelStop : public RecordingSounds {
 public:
  explicit CreditsAtReelStop(const GameState& g) : g_(g) {}
  void PlayReelStopSound() override {
    RecordingSounds::PlayReelStopSound();
    seen.push_back(g_.Credits);
  }
  std::vector<int> seen;

 private:
  const GameState& g_;
};
}  // namespace

using Stakes = GameFixture;

TEST_F(Stakes, SpinRefusedWhenCreditsDoNotCoverTheStake) {
  Start();
  Ready();
  state_.Credits = 5;
  ClickSpin();
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text, QStringLiteral("No bet was placed!"));
  EXPECT_EQ(state_.Credits, 5);
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_FALSE(game_->Play().Running());
}

TEST_F(Stakes, FewerLinesThenSpinStakesExactlyWhatIsLeft) {
  const uint32_t seed = FindSeed(5, 1, NoWin);
  Start(seed);
  Ready();
  state_.Credits = 5;
  ClickLines(3);
  EXPECT_EQ(state_.LinesBet, 5);
  EXPECT_EQ(state_.SpinCount, 0);  // a lines button only selects
  ClickSpin();
  PlayOut();
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.TotalBet, 5);
  EXPECT_EQ(state_.Credits, 0);
  EXPECT_EQ(state_.LastBet, 5);
  EXPECT_EQ(state_.Bet, 0);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Stakes, CreditsButtonBeyondTheCreditsExplainsAndChangesNothing) {
  Start();
  Ready();
  state_.Credits = 50;
  ClickCredits(10);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text,
            QStringLiteral("You have 50, but you tried to bet 90 credits.  You cannot bet more "
                           "credits than you have.  Borrow some credits or place a smaller bet."));
  EXPECT_EQ(state_.CreditsPerLine, 1);
  EXPECT_EQ(state_.CreditsButton, 6);
  EXPECT_EQ(state_.Credits, 50);
  EXPECT_EQ(state_.SpinCount, 0);
}

TEST_F(Stakes, MaxBetBelowNinetyOnlyStopsThePresentation) {
  Start();
  Ready();
  state_.Credits = 89;
  game_->Cycle().Clock().SetEnabled(true);
  ClickMaxBet();
  EXPECT_FALSE(game_->Cycle().Clock().Enabled());
  game_->Cycle().Clock().SetEnabled(true);
  PressKey(Qt::Key_M);
  EXPECT_FALSE(game_->Cycle().Clock().Enabled());
  EXPECT_EQ(state_.Credits, 89);
  EXPECT_EQ(state_.LinesBet, 9);
  EXPECT_EQ(state_.CreditsPerLine, 1);
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Stakes, MaxBetStakesNinetyAndSpins) {
  const uint32_t seed = FindSeed(9, 10, NoWin);
  Start(seed);
  Ready();
  ClickLines(1);
  state_.Credits = 90;  // exactly the stake
  ClickMaxBet();
  PlayOut();
  EXPECT_EQ(state_.LinesBet, 9);
  EXPECT_EQ(state_.CreditsPerLine, 10);
  EXPECT_EQ(state_.LinesButton, 5);
  EXPECT_EQ(state_.CreditsButton, 10);
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.Credits, 0);
  EXPECT_EQ(state_.LastBet, 90);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Stakes, AnyMouseButtonSpinsAndTheGapBetweenKeyRowsDoesNothing) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  for (int y = 498; y <= 502; ++y) ClickDesign(250, y);
  ClickDesign(250, 498, Qt::RightButton);
  EXPECT_EQ(state_.SpinCount, 0);
  EXPECT_EQ(state_.LinesBet, 9);
  ClickDesign(630, 500, Qt::RightButton);
  PlayOut();
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.Credits, 991);
}

TEST_F(Stakes, EnterSpaceAndMReachTheGameThroughRealKeyPresses) {
  struct Case {
    Qt::Key key;
    int spins;
    int credits;
  };
  const uint32_t seed = FindSeed(9, 10, NoWin);
  ASSERT_TRUE(NoWin(PredictSpin(seed, 9, 1)));
  for (const Case& c :
       {Case{Qt::Key_Return, 1, 991}, Case{Qt::Key_Enter, 1, 991}, Case{Qt::Key_Space, 1, 991},
        Case{Qt::Key_M, 1, 910}, Case{Qt::Key_S, 0, 1000}}) {
    Start(seed);
    Ready();
    QKeyEvent press(QEvent::KeyPress, c.key, Qt::NoModifier);
    QCoreApplication::sendEvent(&game_->View(), &press);
    PlayOut();
    EXPECT_EQ(state_.SpinCount, c.spins) << c.key;
    EXPECT_EQ(state_.Credits, c.credits) << c.key;
    EndGame();
    QFile::remove(SavesFile());  // the spin was kept: the next key starts a new game
    state_ = GameState();
  }
}

TEST_F(Stakes, AreaBoundsAreInclusiveAtTheScaledEdges) {
  Start(FindSeed(9, 1, NoWin), 1024, 768, 120);
  Ready();
  ClickAt(S(666), S(528));  // spin's far corner
  PlayOut();
  EXPECT_EQ(state_.SpinCount, 1);
  ClickAt(S(666) + 1, S(528));
  EXPECT_EQ(state_.SpinCount, 1);
}

TEST_F(Stakes, CreditsButtonPlaysAtOnceAndTheStakeIsGoneBeforeAnyReelLands) {
  const uint32_t seed =
      FindSeed(9, 2, [](const GameState& g) { return g.GamePaid > 0 && g.ScatterCount < 3; });
  const GameState expected = PredictSpin(seed, 9, 2);
  CreditsAtReelStop watcher(state_);
  Start(seed, 800, 600, 120, &watcher);
  Ready();
  ClickCredits(7);
  PlayOut();
  ASSERT_EQ(watcher.seen.size(), 5u);
  for (int credits : watcher.seen) EXPECT_EQ(credits, 1000 - 18);
  EXPECT_EQ(state_.Credits, 1000 - 18 + expected.GamePaid);
  EXPECT_EQ(state_.ReelStop, expected.ReelStop);
  EXPECT_EQ(state_.LastBet, 18);
  EndGame();  // before the watcher it plays to goes
}

TEST_F(Stakes, LastBetIsRestakedUntilABetKeyIsPressed) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  ClickSpin();
  PlayOut();
  EXPECT_EQ(state_.LastBet, 9);
  state_.LastBet = 27;  // a stake restored from an earlier selection
  const int before = state_.Credits;
  ClickSpin();
  PlayOut();
  EXPECT_EQ(state_.TotalBet, 9 + 27);
  EXPECT_LE(state_.Credits, before - 27 + state_.GamePaid);
  ClickLines(2);
  EXPECT_EQ(state_.LastBet, 0);
}

TEST_F(Stakes, TheLastBetIsRestakedWithCreditsExactlyEqualToIt) {
  Start(FindSeed(9, 1, NoWin));
  Ready();
  state_.LastBet = 18;  // not what the keys select (9 lines at 1)
  state_.Credits = 18;
  ClickSpin();
  PlayOut();
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.TotalBet, 18);
  EXPECT_EQ(state_.Credits, 0);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Stakes, AMusicStartThatFailsInASpinRequestIsShownAndTheSpinGoesAhead) {
  const uint32_t seed = FindSeed(9, 3, NoWin);
  for (const char* name : {"Zelmar0.wav", "Zelmar3.wav", "Zelmar0.mid"}) {
    std::ofstream(QDir(dir_.path()).filePath(name).toStdString()) << "RIFF";
  }
  RecordingPlayer player;
  player.fail_open = true;
  GameAudio music(player, platform_);
  Start(seed, 800, 600, 120, &music);
  Ready();          // the first track is now waiting for the music timer
  ClickCredits(8);  // "3 Credits": the stake is taken, then the spin
  PlayOut();
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text, "The music can't be played: the device is busy (" +
                                            QDir(dir_.path()).filePath("Zelmar0.mid") + ")");
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.TotalBet, 27);
  EXPECT_EQ(state_.Credits, 1000 - 27);
  EXPECT_EQ(state_.Bet, 0);
  EXPECT_FALSE(game_->Play().Running());
  EndGame();  // before the sounds it plays to go
}

using Spin = GameFixture;

TEST_F(Spin, TakesFortySevenFramesAndLandsTheReelsOneAfterAnother) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  const uint32_t t0 = platform_.Now();
  ClickSpin();
  PlayOut();
  EXPECT_EQ(platform_.Now() - t0, 47u * 25u);
  EXPECT_EQ(sounds_.Count("ReelStop"), 5);
  EXPECT_EQ(sounds_.Count("StartPendingTrack"), 1);
  EXPECT_FALSE(game_->Play().Running());
  EXPECT_TRUE(game_->Cycle().Clock().Enabled());  // the wilds animate even without a win
  EXPECT_EQ(game_->Cycle().State().shown_win, -1);
}

// Records when each reel lands.
class LandingClock : public RecordingSounds {
 public:
  explicit LandingClock(const FakePlatform& platform) : platform_(platform) {}
  void PlayReelStopSound() override {
    RecordingSounds::PlayReelStopSound();
    landings.push_back(platform_.Now());
  }
  std::vector<uint32_t> landings;

 private:
  const FakePlatform& platform_;
};

TEST_F(Spin, ReelsLandEverySixFramesFromFrameTwentyOneAndBounceDownThenUp) {
  LandingClock clock(platform_);
  const auto game_goes_first = qScopeGuard([this] { EndGame(); });  // it plays to clock
  Start(FindSeed(9, 1, NoWin), 800, 600, 120, &clock);
  Ready();
  const ScreenLayout& l = Layout();
  const QRect reel0(l.ReelsLeft, l.ReelsTop, l.CellSize, 3 * l.CellSize);
  // A picture of reel 0 after every frame: the timer ticks right after each frame is drawn.
  std::map<int, QImage> frames;
  auto look = platform_.CreateTimer(
      25, true, [&] { frames[game_->Play().Frame()] = Surface().Image().copy(reel0); });
  const uint32_t t0 = platform_.Now();
  ClickSpin();
  PlayOut();
  look->SetEnabled(false);
  std::vector<uint32_t> landed;
  for (uint32_t t : clock.landings) landed.push_back(t - t0);
  EXPECT_EQ(landed, (std::vector<uint32_t>{525, 675, 825, 975, 1125}));  // frames 21 + 6r

  // Reel 0 lands at frame 21, then its picture is shifted 1, 2, 1, 0, -1, -2, -1, 0 pixels (down
  // is positive) at frames 22..29. frames[k] shows the window after frame k.
  const QImage rest = Surface().Image().copy(reel0);
  auto shift_of = [&](const QImage& picture) {
    for (int s = -3; s <= 3; ++s) {
      bool same = true;
      for (int y = 10; y < reel0.height() - 20 && same; ++y) {
        for (int x = 0; x < reel0.width() && same; ++x)
          same = picture.pixel(x, y) == rest.pixel(x, y - s);
      }
      if (same) return s;
    }
    return 99;
  };
  ASSERT_GE(frames.size(), 30u);
  std::vector<int> shifts;
  for (int k = 21; k <= 29; ++k) shifts.push_back(shift_of(frames[k]));
  EXPECT_EQ(shifts, (std::vector<int>{0, 1, 2, 1, 0, -1, -2, -1, 0}));
  EXPECT_NE(shift_of(frames[20]), 0) << "reel 0 still spins at frame 20";
}

TEST_F(Spin, ARepaintWhileTheReelsTurnDoesNotGiveAwayTheResult) {
  const uint32_t seed = FindSeed(
      9, 1, [](const GameState& g) { return g.LineWon[1] && !g.LineWon[2] && g.ScatterCount < 3; });
  Start(seed);
  Ready();
  const int top = S(212) + S(25 * MarkerRow(2));
  // The marker without its right edge, where the paths start.
  const QRect marker(S(162), top, S(36), S(25));
  QImage before, after;
  auto repaint = platform_.CreateTimer(100, false, [&] {
    if (!before.isNull()) return;  // once, while the reels turn
    before = Surface().Image().copy(marker);
    game_->View().PaintAll();
    after = Surface().Image().copy(marker);
  });
  repaint->SetEnabled(true);
  ClickSpin();
  PlayOut();
  ASSERT_FALSE(before.isNull());
  EXPECT_EQ(after, before) << "payline 2 is bet and stays lit until the reels have landed";
}

TEST_F(Spin, TheWindowShowsTheCabinetAsDrawnWhileTheReelsTurnAndLand) {
  // The turning reels are painted onto the window straight from their strip: what the window
  // shows is the cabinet as drawn, at every stage of a spin.
  Start(1, 1280, 800);
  Ready();
  int grabs = 0;
  auto compare = platform_.CreateTimer(75, false, [&] {
    if (!game_->Play().ReelsTurning()) return;
    const QImage shown = game_->View().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& drawn = Surface().Image();
    const QPoint offset(Layout().scale.offset, 0);
    const QRect visible = QRect(offset, drawn.size()).intersected(shown.rect());
    ASSERT_EQ(shown.copy(visible), drawn.copy(visible.translated(-offset))) << "at " << grabs;
    ++grabs;
  });
  compare->SetEnabled(true);
  ClickSpin();
  PlayOut();
  EXPECT_GE(grabs, 10);
}

TEST_F(Spin, InputDuringTheSpinAndTheCountUpIsIgnored) {
  const uint32_t seed =
      FindSeed(9, 1, [](const GameState& g) { return g.GamePaid >= 20 && g.ScatterCount < 3; });
  const GameState expected = PredictSpin(seed, 9, 1);
  Start(seed);
  Ready();
  int attempts = 0;
  bool busy_seen = true;
  auto poke = platform_.CreateTimer(40, true, [&] {
    ++attempts;
    busy_seen = busy_seen && game_->Play().Running();
    ClickSpin();
    ClickMaxBet();
    ClickCredits(10);
    PressKey(Qt::Key_Space);
  });
  ClickSpin();
  PlayOut();
  poke->SetEnabled(false);
  EXPECT_GT(attempts, 30);
  EXPECT_TRUE(busy_seen);
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.CreditsPerLine, 1);
  EXPECT_EQ(state_.Credits, 1000 - 9 + expected.GamePaid);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Spin, CommandsThatMoveCreditsAreUnavailableWhileBusyStatsAndPayoffsAlwaysAvailable) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  const std::vector<QAction*> guarded = {Item("&File/&New Game"), Item("&File/&Open Game"),
                                         Item("&File/&Save Game"), Item("&Borrow")};
  bool guarded_during_spin = false, others_during_spin = false;
  auto look = platform_.CreateTimer(100, true, [&] {
    for (QAction* action : guarded) guarded_during_spin |= action->isEnabled();
    others_during_spin = Item("&Stats")->isEnabled() && Item("&Payoffs")->isEnabled();
  });
  ClickSpin();
  PlayOut();
  look->SetEnabled(false);
  EXPECT_FALSE(guarded_during_spin);
  EXPECT_TRUE(others_during_spin);
  for (QAction* action : guarded) EXPECT_TRUE(action->isEnabled());
}

TEST_F(Spin, AWindowOpenedFromTheMenuHoldsPlayWhereItStandsUntilItCloses) {
  const uint32_t seed =
      FindSeed(9, 1, [](const GameState& g) { return g.GamePaid > 0 && g.ScatterCount < 3; });
  const GameState expected = PredictSpin(seed, 9, 1);
  Start(seed);
  Ready();
  ClickSpin();
  platform_.Advance(8 * 25);
  ASSERT_EQ(game_->Play().Frame(), 8);
  // The statistics, open for 5 s: nothing on the cabinet moves behind them.
  platform_.on_modal = [&](QDialog* dialog) {
    const QImage shown = Surface().Image().copy();
    platform_.Advance(5000);
    EXPECT_EQ(game_->Play().Frame(), 8);
    EXPECT_EQ(sounds_.Count("ReelStop"), 0);
    EXPECT_TRUE(Surface().Image() == shown) << "the cabinet moved";
    dialog->reject();
  };
  Item("&Stats")->trigger();
  // The frame that fell due meanwhile comes at the clock's next tick, the rest 25 ms apart.
  platform_.Advance(1);
  EXPECT_EQ(game_->Play().Frame(), 9);
  platform_.Advance(24);
  EXPECT_EQ(game_->Play().Frame(), 9);
  platform_.Advance(1);
  EXPECT_EQ(game_->Play().Frame(), 10);
  PlayOut();
  EXPECT_EQ(state_.Credits, 1000 - 9 + expected.GamePaid);

  // A close while a window holds play still ends play at once, every credit in place.
  ClickSpin();
  platform_.Advance(100);
  platform_.on_modal = [&](QDialog* dialog) {
    window_->close();
    EXPECT_FALSE(game_->Play().Running());
    dialog->reject();
  };
  Item("&Payoffs")->trigger();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(state_.WinToCount, 0);
  EXPECT_EQ(state_.SpinCount, 2);
}

TEST_F(Spin, AClosePutsEveryCreditInPlaceKeepsTheGameAndTheBonusGameOwedForTheNextStart) {
  // One spin with a win and the bonus game, closed at each point of its play.
  const uint32_t seed = FindSeed(9, 1, [](const GameState& g) { return g.ScatterCount >= 3; });
  const GameState expected = PredictSpin(seed, 9, 1);
  using Stage = PlaySequence::Stage;
  struct Point {
    const char* name;
    std::function<bool(const PlaySequence&)> reached;
  };
  const std::vector<Point> points = {
      {"first frame", [](const PlaySequence& p) { return p.Frame() == 1; }},
      {"a landing", [](const PlaySequence& p) { return p.Frame() == 21 + 6; }},
      {"the win sound", [](const PlaySequence& p) { return p.CurrentStage() == Stage::kWinSound; }},
      {"the count-up",
       [this](const PlaySequence& p) {
         return p.CurrentStage() == Stage::kCountingUp && sounds_.Count("Count") == 2;
       }},
      {"the bonus hand-over",
       [](const PlaySequence& p) { return p.CurrentStage() == Stage::kBonusPending; }},
      {"the bonus game",
       [](const PlaySequence& p) { return p.CurrentStage() == Stage::kBonusGame; }},
  };
  int winner = 0;
  while (expected.BallPrizes[winner] == 0) ++winner;
  for (const Point& point : points) {
    SCOPED_TRACE(point.name);
    // The win sound plays on until the close when that is the point.
    sounds_.hold_win_sound = std::string(point.name) == "the win sound";
    Start(seed);
    Ready();
    bool closed_at_point = false;
    // In the bonus game one winner is picked, then the window is closed.
    platform_.on_modal = [&](QDialog* dialog) {
      auto* bonus = dynamic_cast<BonusGameWindow*>(dialog);
      ASSERT_NE(bonus, nullptr);
      const QRect box = bonus->BallBox(winner);
      bonus->PickAt(box.center().x(), box.center().y());
      closed_at_point = point.reached(game_->Play());
      window_->close();
    };
    auto closer = platform_.CreateTimer(1, true, [&] {
      if (closed_at_point || !point.reached(game_->Play())) return;
      closed_at_point = true;
      window_->close();
    });
    ClickSpin();
    platform_.RunUntil([&] { return !window_->isVisible(); }, 20000);
    closer.reset();
    platform_.on_modal = nullptr;
    EXPECT_TRUE(closed_at_point);
    EXPECT_FALSE(window_->isVisible());
    // The bonus game is owed from the press that won it, with the pick made in it: a close does
    // not pay it, nor throw it away.
    const bool in_bonus = std::string(point.name) == "the bonus game";
    const int won = expected.GamePaid;
    EXPECT_EQ(state_.Credits, 1000 - 9 + won);
    EXPECT_EQ(state_.WinToCount, 0);
    EXPECT_EQ(state_.GamePaid, won);
    EXPECT_FALSE(game_->Play().Running());
    // The game kept for the next start holds the whole win and the bonus game owed, and no bonus
    // game opened unasked.
    EXPECT_EQ(Saved("CurrentGame", "Credits"), std::to_string(1000 - 9 + won));
    EXPECT_EQ(Saved("CurrentGame", "Spins"), "1");
    EXPECT_EQ(Saved("CurrentGame", "BonusBet"), "9");
    EXPECT_EQ(Saved("CurrentGame", "BonusPicks"), in_bonus ? std::to_string(winner) : "");
    EXPECT_EQ(sounds_.Count("Bonus"), point.name == points[4].name || in_bonus ? 1 : 0);

    // The next start plays it on from where it stood, before anything else, and pays what it
    // would have paid: here one more winner, then a collect.
    EndGame();
    state_ = GameState();
    int second = winner + 1;
    while (expected.BallPrizes[second] == 0) ++second;
    const int32_t bonus =
        9 * (expected.BallPrizes[second] + (in_bonus ? expected.BallPrizes[winner] : 0));
    int opened = 0;
    platform_.on_modal = [&](QDialog* dialog) {
      auto* owed = dynamic_cast<BonusGameWindow*>(dialog);
      ASSERT_NE(owed, nullptr);
      ++opened;
      EXPECT_EQ(owed->Game().Picked(winner), in_bonus);
      const QRect box = owed->BallBox(second);
      owed->PickAt(box.center().x(), box.center().y());
      owed->PickAt(30, 150);  // a STOP sign
    };
    sounds_.hold_win_sound = false;
    Start(seed + 1);
    EXPECT_EQ(opened, 0) << "before start-up ended";
    Ready();
    PlayOut();
    game_->Keeper().Flush();
    platform_.on_modal = nullptr;
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(state_.Credits, 1000 - 9 + won + bonus);
    EXPECT_EQ(state_.BonusPayoffs, bonus);
    EXPECT_EQ(Saved("CurrentGame", "Credits"), std::to_string(1000 - 9 + won + bonus));
    EXPECT_EQ(Saved("CurrentGame", "Bonus"), std::to_string(bonus));
    EXPECT_EQ(Saved("CurrentGame", "BonusBet"), "0");
    EndGame();
    state_ = GameState();
    sounds_.calls.clear();
    QFile::remove(SavesFile());
  }
}

using CountUp = GameFixture;

TEST_F(CountUp, AWinOf1234IsCountedInEightyOneAudibleStepsOf75Ms) {
  Start();
  Ready();
  state_.WinToCount = 1234;
  const uint32_t t0 = platform_.Now();
  game_->Play().CountUpWin(0);
  PlayOut();
  EXPECT_EQ(sounds_.Count("Count"), 81);
  EXPECT_EQ(state_.Credits, 1000 + 1234);
  EXPECT_EQ(state_.WinToCount, 0);
  EXPECT_EQ(platform_.Now() - t0, 81u * 75u);
  EXPECT_FALSE(game_->Play().Running());
}

TEST_F(CountUp, WinMeterContinuesFromTheGivenStart) {
  Start();
  Ready();
  state_.WinToCount = 7;
  game_->Play().CountUpWin(993);
  PlayOut();
  // The red meter now reads 1000: four digits right-aligned at S(428).
  const Canvas& c = Surface();
  const int top = game_->View().Settled().Screen().MeterTop();
  const int left = S(428) - 4 * 16;
  bool red = false;
  for (int y = top; y < top + 21 && !red; ++y) {
    for (int x = left; x < left + 16; ++x) {
      const QRgb p = c.Pixel(x, y);
      if (qRed(p) > 150 && qGreen(p) < 100) red = true;
    }
  }
  EXPECT_TRUE(red) << "leading digit of 1000 on the win meter";
}

using WinPresentation = GameFixture;

TEST_F(WinPresentation, ShowsTheScatterWinThenPaylinesTwoAndFiveEachForElevenTicks) {
  Start();
  Ready();
  state_.LineWon.fill(false);
  state_.LineWon[2] = true;
  state_.LineWon[5] = true;
  state_.LineWin[2] = 10;
  state_.LineWin[5] = 5;
  state_.LineMatch[2] = 3;
  state_.LineMatch[5] = 3;
  state_.ScatterWin = 45;
  state_.ScatterCount = 3;
  state_.ScatterPos[1] = {0, 0};
  state_.ScatterPos[2] = {1, 1};
  state_.ScatterPos[3] = {2, 2};
  state_.GamePaid = 60;
  state_.BonusWin = 1;
  game_->Cycle().Begin();
  std::vector<int> shown;
  for (int tick = 0; tick < 10 + 11 + 11 + 2; ++tick) {
    platform_.Advance(300);
    shown.push_back(game_->Cycle().State().shown_win);
    if (tick == 0) {
      EXPECT_EQ(ShownStatus(Surface()),
                ExpectedStatus({{QStringLiteral("Scatter paid 45"), kWhiteText, 202, false},
                                {QStringLiteral("Bonus Game Paid 1"), kYellowText, 452, true}}));
    }
    if (tick == 1) {
      state_.BonusWin = 0;  // no bonus game played yet
      platform_.Advance(300);
      ++tick;
      shown.push_back(game_->Cycle().State().shown_win);
      EXPECT_EQ(ShownStatus(Surface()),
                ExpectedStatus({{QStringLiteral("Scatter paid 45"), kWhiteText, 202, false},
                                {QStringLiteral("Play the Bonus Game"), kYellowText, 452, true}}));
    }
  }
  std::vector<int> expected;
  expected.insert(expected.end(), 10, 10);
  expected.insert(expected.end(), 11, 2);
  expected.insert(expected.end(), 11, 5);
  expected.insert(expected.end(), 2, 10);
  EXPECT_EQ(shown, expected);
}

TEST_F(WinPresentation, StatusLineAlternatesBetweenTheWinAndTheGameTotal) {
  Start();
  Ready();
  game_->View().PaintAll();
  state_.LineWon.fill(false);
  state_.LineWon[1] = true;
  state_.LineWin[1] = 25;
  state_.LineMatch[1] = 2;
  state_.GamePaid = 25;
  state_.ScatterCount = 0;
  for (auto& reel : state_.ReelWindow) reel = {10, 11, 12};  // no wild to animate
  // Of the reels, a tick redraws the two winning cells and nothing else.
  const ScreenLayout& at = Layout();
  const QRect reels(at.ReelsLeft, at.ReelsTop, 4 * at.ReelPitch + at.CellSize, 3 * at.CellSize);
  QRegion reels_drawn;
  Canvas& surface = Surface();
  auto shows = surface.on_changed;
  surface.on_changed = [&](const QRect& r) {
    reels_drawn += r.intersected(reels);
    shows(r);
  };
  game_->Cycle().Begin();
  platform_.Advance(300);  // FlashOn: "Line paid 25" in the payline's colour, cells drawn
  platform_.Advance(300);
  surface.on_changed = shows;
  EXPECT_EQ(reels_drawn, QRegion(at.ReelsLeft, at.ReelsTop + at.CellSize,
                                 at.ReelPitch + at.CellSize, at.CellSize) -
                             QRegion(at.ReelsLeft + at.CellSize, at.ReelsTop + at.CellSize,
                                     at.ReelPitch - at.CellSize, at.CellSize));
  platform_.Advance(300);
  ASSERT_TRUE(game_->Cycle().State().flash_on);
  const QRgb line_colour = game_->View().Settled().Screen().LineColour(1) | 0xFF000000;
  EXPECT_EQ(ShownStatus(Surface()),
            ExpectedStatus({{QStringLiteral("Line paid 25"), line_colour, 202, false}}));
  platform_.Advance(300);  // off: "Game paid 25" in white, the two cells white
  ASSERT_FALSE(game_->Cycle().State().flash_on);
  EXPECT_EQ(ShownStatus(Surface()),
            ExpectedStatus({{QStringLiteral("Game paid 25"), kWhiteText, 594, true}}));
  const int cell_x = Layout().ReelsLeft + Layout().CellSize / 2;
  const int cell_y =
      Layout().ReelsTop + Layout().CellSize + Layout().CellSize / 2;  // payline 1: middle row
  EXPECT_EQ(Surface().Pixel(cell_x, cell_y) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(Surface().Pixel(cell_x + Layout().ReelPitch, cell_y) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_NE(Surface().Pixel(cell_x + 2 * Layout().ReelPitch, cell_y) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(WinPresentation, AWildAnimatesWithoutAWin) {
  Start();
  Ready();
  game_->View().PaintAll();
  for (auto& reel : state_.ReelWindow) reel = {10, 11, 12};
  state_.ReelWindow[2][1] = 0;
  game_->Cycle().Begin();
  std::vector<int> frames;
  const int x = Layout().ReelsLeft + 2 * Layout().ReelPitch;
  const int y = Layout().ReelsTop + Layout().CellSize;
  std::vector<QImage> pictures;
  for (int tick = 0; tick < 8; ++tick) {
    platform_.Advance(300);
    frames.push_back(game_->Cycle().State().wild_frame);
    pictures.push_back(Surface().Image().copy(x, y, Layout().CellSize, Layout().CellSize));
  }
  EXPECT_EQ(frames, (std::vector<int>{3, 2, 1, 0, 1, 2, 3, 4}));
  EXPECT_NE(pictures[0], pictures[3]) << "frame 3 and frame 0 of the wild look different";
  EXPECT_EQ(pictures[0], pictures[6]) << "frame 3 twice looks the same";
  EXPECT_EQ(game_->Cycle().State().shown_win, -1);
}

TEST_F(WinPresentation, ALinesButtonStopsThePresentationAndRedrawsTheReels) {
  Start();
  Ready();
  game_->View().PaintAll();
  const QImage clean = Surface().Image().copy(Layout().ReelsLeft, Layout().ReelsTop,
                                              Layout().CellSize, 3 * Layout().CellSize);
  state_.LineWon.fill(false);
  state_.LineWon[1] = true;
  state_.LineWin[1] = 2;
  state_.LineMatch[1] = 1;
  state_.GamePaid = 2;
  game_->Cycle().Begin();
  platform_.Advance(600);  // on, then off: reel 0's middle cell is white
  ClickLines(5);
  EXPECT_FALSE(game_->Cycle().Clock().Enabled());
  const QImage after = Surface().Image().copy(Layout().ReelsLeft, Layout().ReelsTop,
                                              Layout().CellSize, 3 * Layout().CellSize);
  // A point of reel 0's middle cell that no payline path crosses.
  const int y = Layout().CellSize + 8;
  EXPECT_EQ(after.pixel(Layout().CellSize / 2, y), clean.pixel(Layout().CellSize / 2, y));
  EXPECT_NE(after.pixel(Layout().CellSize / 2, y) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(WinPresentation, AReelDrawnAtRestShowsItsWildsAtRestToo) {
  // A single payline win whose reels hold a wild outside the win's cells.
  struct Cell {
    int reel = -1;
    int row = -1;
  };
  const auto wild_beside_the_win = [](const GameState& g) {
    int won = 0;
    for (int n = 1; n <= kPaylines; ++n) won = g.LineWon[n] ? (won == 0 ? n : -1) : won;
    if (won <= 0 || g.ScatterWin > 0 || g.ScatterCount >= 3) return Cell{};
    for (int r = 0; r < g.LineMatch[won]; ++r) {
      for (int row = 0; row < kRows; ++row) {
        if (row != PaylineRow(won, r) && g.ReelWindow[r][row] == 0) return Cell{r, row};
      }
    }
    return Cell{};
  };
  const uint32_t seed =
      FindSeed(9, 1, [&](const GameState& g) { return wild_beside_the_win(g).reel >= 0; });
  const Cell wild = wild_beside_the_win(PredictSpin(seed, 9, 1));
  Start(seed);
  Ready();
  ClickSpin();
  PlayOut();
  const ScreenLayout& l = Layout();
  const QRect cell(l.ReelsLeft + wild.reel * l.ReelPitch, l.ReelsTop + wild.row * l.CellSize,
                   l.CellSize, l.CellSize);
  game_->View().Settled().Screen().DrawCellAtRest(wild.reel, wild.row);
  const QImage rest = Surface().Image().copy(cell);
  // When the win's symbols show, their reels are at rest, the wild beside them included; and
  // when the cycle moves on to the next win, all five reels are.
  for (int tick = 0; tick < 24; ++tick) {
    platform_.Advance(WinCycle::kTickMs);
    const WinCycleState& now = game_->Cycle().State();
    const bool at_rest = now.flash_on || now.flash_ticks == 0 || now.wild_frame == 0;
    EXPECT_EQ(Surface().Image().copy(cell) == rest, at_rest)
        << "tick " << tick << ", frame " << now.wild_frame;
  }
}

using Bonus = GameFixture;

TEST_F(Bonus, ThreeScattersHandOverAfterTwoSecondsAndPayTheBonus) {
  const uint32_t seed = FindSeed(9, 1, [](const GameState& g) { return g.ScatterCount >= 3; });
  const GameState expected = PredictSpin(seed, 9, 1);
  Start(seed);
  Ready();
  // The shuffled prizes are known before the bonus game opens: pick the first winner, then
  // collect with the STOP sign, so the bonus pays for sure.
  int winner = -1;
  for (int i = 0; i < kBonusBalls && winner < 0; ++i) {
    if (expected.BallPrizes[i] > 0) winner = i;
  }
  ASSERT_GE(winner, 0);
  const int prize = expected.BallPrizes[winner] * 9;
  int bonus_total = -1;
  platform_.on_modal = [&](QDialog* dialog) {
    auto* bonus = dynamic_cast<BonusGameWindow*>(dialog);
    ASSERT_NE(bonus, nullptr);
    const QRect box = bonus->BallBox(winner);
    bonus->PickAt(box.center().x(), box.center().y());
    bonus->PickAt(30, 150);  // STOP
    bonus_total = bonus->Game().Total();
  };
  ClickSpin();
  PlayOut();
  // After the spin's count-up: the bonus sound, the display frozen, play still running.
  EXPECT_EQ(sounds_.Count("Bonus"), 1);
  EXPECT_TRUE(game_->Play().Running());
  EXPECT_FALSE(game_->Cycle().Clock().Enabled());
  EXPECT_TRUE((game_->Play().CurrentStage() == PlaySequence::Stage::kBonusPending));
  EXPECT_EQ(state_.Credits, 1000 - 9 + expected.GamePaid);
  EXPECT_EQ(state_.BallPrizes, expected.BallPrizes);

  platform_.Advance(1999);
  EXPECT_EQ(bonus_total, -1);
  platform_.Advance(1);
  ASSERT_EQ(bonus_total, prize);
  // The bonus window closes itself; then the game pays what it left.
  platform_.Advance(10000);
  EXPECT_EQ(state_.BonusWin, prize);
  EXPECT_EQ(state_.GamePaid, expected.GamePaid + prize);
  EXPECT_EQ(state_.BonusPayoffs, prize);
  EXPECT_EQ(state_.Credits, 1000 - 9 + expected.GamePaid + prize);
  EXPECT_EQ(sounds_.Count("Count"), CountSteps(expected.GamePaid) + CountSteps(prize));
  // The win meter counts on from the spin's win to the whole game's.
  Canvas meter(Surface().Width(), Surface().Height());
  const int top = game_->View().Settled().Screen().MeterTop();
  DrawNumber(meter, game_->View().Shown().Art(), expected.GamePaid + prize, S(428), top, false,
             true);
  // Two digits and the blank cell before them; the status line below covers their last rows.
  ASSERT_LT(expected.GamePaid + prize, 100);
  const QRect digits(S(428) - 3 * 16, top, 3 * 16, S(50) - top);
  EXPECT_EQ(Surface().Image().copy(digits), meter.Image().copy(digits));
  EXPECT_FALSE(game_->Play().Running());
  EXPECT_TRUE(game_->Cycle().Clock().Enabled());
  EXPECT_FALSE((game_->Play().CurrentStage() == PlaySequence::Stage::kBonusPending));
}
