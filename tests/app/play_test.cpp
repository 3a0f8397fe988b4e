// Playing: stakes and refusals, the spin, the count-up, the win cycle and the bonus hand-over.
#include <QAction>
#include <stdexcept>

#include "engine/bonus.h"
#include "tests/app/game_fixture.h"
#include "windows/bonus_game.h"

namespace {
bool NoWin(const GameState& g) {
  return g.GamePaid == 0 && g.ScatterCount < 3;
}

// The status line: any pixel of the given colour in the strip the texts are written to.
bool StatusShows(const Canvas& canvas, QRgb colour) {
  for (int y = Scale(46); y < Scale(61); ++y) {
    for (int x = Scale(172); x < Scale(624); ++x) {
      if ((canvas.Pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    }
  }
  return false;
}

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
  state.Credits = 5;
  ClickSpin();
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].text, QStringLiteral("No bet was placed!"));
  EXPECT_EQ(state.Credits, 5);
  EXPECT_EQ(state.SpinCount, 0);
  EXPECT_FALSE(state.Busy);
}

TEST_F(Stakes, FewerLinesThenSpinStakesExactlyWhatIsLeft) {
  const uint32_t seed = FindSeed(5, 1, NoWin);
  Start(seed);
  Ready();
  state.Credits = 5;
  ClickLines(3);
  EXPECT_EQ(state.LinesBet, 5);
  EXPECT_EQ(state.SpinCount, 0);  // a lines button only selects
  ClickSpin();
  EXPECT_EQ(state.SpinCount, 1);
  EXPECT_EQ(state.TotalBet, 5);
  EXPECT_EQ(state.Credits, 0);
  EXPECT_EQ(state.LastBet, 5);
  EXPECT_EQ(state.Bet, 0);
  EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(Stakes, CreditsButtonBeyondTheCreditsExplainsAndChangesNothing) {
  Start();
  Ready();
  state.Credits = 50;
  ClickCredits(10);
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].text,
            QStringLiteral("You have 50, but you tried to bet 90 credits.  You cannot bet more "
                           "credits than you have.  Borrow some credits or place a smaller bet."));
  EXPECT_EQ(state.CreditsPerLine, 1);
  EXPECT_EQ(state.CreditsButton, 6);
  EXPECT_EQ(state.Credits, 50);
  EXPECT_EQ(state.SpinCount, 0);
}

TEST_F(Stakes, MaxBetBelowNinetyOnlyStopsThePresentation) {
  Start();
  Ready();
  state.Credits = 89;
  form->Timer3().SetEnabled(true);
  ClickMaxBet();
  EXPECT_FALSE(form->Timer3().Enabled());
  form->Timer3().SetEnabled(true);
  form->FormKeyDown(77);
  EXPECT_FALSE(form->Timer3().Enabled());
  EXPECT_EQ(state.Credits, 89);
  EXPECT_EQ(state.LinesBet, 9);
  EXPECT_EQ(state.CreditsPerLine, 1);
  EXPECT_EQ(state.SpinCount, 0);
  EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(Stakes, MaxBetStakesNinetyAndSpins) {
  const uint32_t seed = FindSeed(9, 10, NoWin);
  Start(seed);
  Ready();
  ClickLines(1);
  ClickMaxBet();
  EXPECT_EQ(state.LinesBet, 9);
  EXPECT_EQ(state.CreditsPerLine, 10);
  EXPECT_EQ(state.LinesButton, 5);
  EXPECT_EQ(state.CreditsButton, 10);
  EXPECT_EQ(state.SpinCount, 1);
  EXPECT_EQ(state.Credits, 910);
  EXPECT_EQ(state.LastBet, 90);
}

TEST_F(Stakes, AnyMouseButtonSpinsAndTheGapBetweenKeyRowsDoesNothing) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  for (int y = 498; y <= 502; ++y) ClickDesign(250, y);
  ClickDesign(250, 498, Qt::RightButton);
  EXPECT_EQ(state.SpinCount, 0);
  EXPECT_EQ(state.LinesBet, 9);
  ClickSpin(Qt::RightButton);
  EXPECT_EQ(state.SpinCount, 1);
  EXPECT_EQ(state.Credits, 991);
}

TEST_F(Stakes, AreaBoundsAreInclusiveAtTheScaledEdges) {
  Start(FindSeed(9, 1, NoWin), 1024, 768, 120);
  Ready();
  form->FormMouseDown(Qt::LeftButton, Scale(666), Scale(528));  // spin's far corner
  EXPECT_EQ(state.SpinCount, 1);
  form->FormMouseDown(Qt::LeftButton, Scale(666) + 1, Scale(528));
  EXPECT_EQ(state.SpinCount, 1);
}

TEST_F(Stakes, CreditsButtonPlaysAtOnceAndTheStakeIsGoneBeforeAnyReelLands) {
  const uint32_t seed =
      FindSeed(9, 2, [](const GameState& g) { return g.GamePaid > 0 && g.ScatterCount < 3; });
  const GameState expected = PredictSpin(seed, 9, 2);
  CreditsAtReelStop watcher(state);
  Start(seed, 800, 600, 120, &watcher);
  Ready();
  ClickCredits(7);
  ASSERT_EQ(watcher.seen.size(), 5u);
  for (int credits : watcher.seen) EXPECT_EQ(credits, 1000 - 18);
  EXPECT_EQ(state.Credits, 1000 - 18 + expected.GamePaid);
  EXPECT_EQ(state.ReelStop, expected.ReelStop);
  EXPECT_EQ(state.LastBet, 18);
  form.reset();  // before the watcher it plays to goes
}

TEST_F(Stakes, LastBetIsRestakedUntilABetKeyIsPressed) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  ClickSpin();
  EXPECT_EQ(state.LastBet, 9);
  state.LastBet = 27;  // a stake restored from an earlier selection
  const int before = state.Credits;
  ClickSpin();
  EXPECT_EQ(state.TotalBet, 9 + 27);
  EXPECT_LE(state.Credits, before - 27 + state.GamePaid);
  ClickLines(2);
  EXPECT_EQ(state.LastBet, 0);
}

// A music device that fails whenever a track change is started.
class FailingMusic : public RecordingSounds {
 public:
  void StartPendingTrack() override { throw std::runtime_error("the music device is gone"); }
};

TEST_F(Stakes, AFailingMusicStartNeverKeepsAStakeWithoutItsSpin) {
  const uint32_t seed = FindSeed(9, 3, NoWin);
  FailingMusic music;
  Start(seed, 800, 600, 120, &music);
  Ready();
  ClickCredits(8);  // "3 Credits": the stake is taken, then the spin
  EXPECT_EQ(state.SpinCount, 1);
  EXPECT_EQ(state.TotalBet, 27);
  EXPECT_EQ(state.Credits, 1000 - 27);
  EXPECT_EQ(state.Bet, 0);
  EXPECT_FALSE(state.Busy);
  form.reset();  // before the sounds it plays to go
}

using Spin = GameFixture;

TEST_F(Spin, TakesFortySevenFramesAndLandsTheReelsOneAfterAnother) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  const uint32_t t0 = platform.Now();
  ClickSpin();
  EXPECT_EQ(platform.Now() - t0, 47u * 25u);
  EXPECT_EQ(sounds.Count("ReelStop"), 5);
  EXPECT_EQ(sounds.Count("StartPendingTrack"), 1);
  EXPECT_FALSE(state.Busy);
  EXPECT_TRUE(form->Timer3().Enabled());  // the wilds animate even without a win
  EXPECT_EQ(state.ShownWin, -1);
}

TEST_F(Spin, InputDuringTheSpinAndTheCountUpIsIgnored) {
  const uint32_t seed =
      FindSeed(9, 1, [](const GameState& g) { return g.GamePaid >= 20 && g.ScatterCount < 3; });
  const GameState expected = PredictSpin(seed, 9, 1);
  Start(seed);
  Ready();
  int attempts = 0;
  bool busySeen = true;
  auto poke = platform.CreateTimer(40, true, [&] {
    ++attempts;
    busySeen = busySeen && state.Busy;
    ClickSpin();
    ClickMaxBet();
    ClickCredits(10);
    form->FormKeyDown(32);
  });
  ClickSpin();
  poke->SetEnabled(false);
  EXPECT_GT(attempts, 30);
  EXPECT_TRUE(busySeen);
  EXPECT_EQ(state.SpinCount, 1);
  EXPECT_EQ(state.CreditsPerLine, 1);
  EXPECT_EQ(state.Credits, 1000 - 9 + expected.GamePaid);
  EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(Spin, NewGameIsUnavailableWhileBusy) {
  const uint32_t seed = FindSeed(9, 1, NoWin);
  Start(seed);
  Ready();
  bool enabledDuringSpin = true;
  auto look = platform.CreateTimer(100, true,
                                   [&] { enabledDuringSpin = form->NewGameAction()->isEnabled(); });
  ClickSpin();
  look->SetEnabled(false);
  EXPECT_FALSE(enabledDuringSpin);
  EXPECT_TRUE(form->NewGameAction()->isEnabled());
}

TEST_F(Spin, ClosingDuringTheSpinStillPaysTheWinBeforeTheWindowGoes) {
  const uint32_t seed =
      FindSeed(9, 1, [](const GameState& g) { return g.GamePaid >= 50 && g.ScatterCount < 3; });
  const GameState expected = PredictSpin(seed, 9, 1);
  Start(seed);
  Ready();
  auto closer = platform.CreateTimer(300, true, [&] { form->close(); });
  ClickSpin();
  closer->SetEnabled(false);
  EXPECT_TRUE(state.Quitting);
  EXPECT_EQ(state.Credits, 1000 - 9 + expected.GamePaid);
  EXPECT_EQ(state.WinToCount, 0);
  platform.ProcessMessages();
  QCoreApplication::processEvents();
  EXPECT_FALSE(form->isVisible());
}

using CountUp = GameFixture;

TEST_F(CountUp, AWinOf1234IsCountedInEightyOneAudibleStepsOf75Ms) {
  Start();
  Ready();
  state.WinToCount = 1234;
  const uint32_t t0 = platform.Now();
  form->CountUpWin(0);
  EXPECT_EQ(sounds.Count("Count"), 81);
  EXPECT_EQ(state.Credits, 1000 + 1234);
  EXPECT_EQ(state.WinToCount, 0);
  EXPECT_EQ(platform.Now() - t0, 81u * 75u);
  EXPECT_FALSE(state.Busy);
}

TEST_F(CountUp, WinMeterContinuesFromTheGivenStart) {
  Start();
  Ready();
  state.WinToCount = 7;
  form->CountUpWin(993);
  // The red meter now reads 1000: four digits right-aligned at Scale(428).
  const Canvas& c = form->Surface();
  const int top = form->Screen().MeterTop();
  const int left = Scale(428) - 4 * 16;
  bool red = false;
  for (int y = top; y < top + 21 && !red; ++y) {
    for (int x = left; x < left + 16; ++x) {
      const QRgb p = c.Pixel(x, y);
      if (qRed(p) > 150 && qGreen(p) < 100) red = true;
    }
  }
  EXPECT_TRUE(red) << "leading digit of 1000 on the win meter";
}

using WinCycle = GameFixture;

TEST_F(WinCycle, ShowsTheScatterWinThenPaylinesTwoAndFiveEachForElevenTicks) {
  Start();
  Ready();
  state.LineWon.fill(false);
  state.LineWon[2] = true;
  state.LineWon[5] = true;
  state.LineWin[2] = 10;
  state.LineWin[5] = 5;
  state.LineMatch[2] = 3;
  state.LineMatch[5] = 3;
  state.ScatterWin = 45;
  state.ScatterCount = 3;
  state.ScatterPos[1] = {0, 0};
  state.ScatterPos[2] = {1, 1};
  state.ScatterPos[3] = {2, 2};
  state.GamePaid = 60;
  state.BonusWin = 1;
  state.ShownWin = 10;
  state.FlashTicks = 0;
  form->Timer3().SetEnabled(true);
  std::vector<int> shown;
  for (int tick = 0; tick < 10 + 11 + 11 + 2; ++tick) {
    platform.Advance(300);
    shown.push_back(state.ShownWin);
  }
  std::vector<int> expected;
  expected.insert(expected.end(), 10, 10);
  expected.insert(expected.end(), 11, 2);
  expected.insert(expected.end(), 11, 5);
  expected.insert(expected.end(), 2, 10);
  EXPECT_EQ(shown, expected);
}

TEST_F(WinCycle, StatusLineAlternatesBetweenTheWinAndTheGameTotal) {
  Start();
  Ready();
  form->FormPaint();
  state.LineWon.fill(false);
  state.LineWon[1] = true;
  state.LineWin[1] = 25;
  state.LineMatch[1] = 2;
  state.GamePaid = 25;
  state.ScatterCount = 0;
  state.ShownWin = 1;
  state.FlashOn = false;
  form->Timer3().SetEnabled(true);
  platform.Advance(300);  // FlashOn: "Line paid 25" in the payline's colour, cells drawn
  ASSERT_TRUE(state.FlashOn);
  EXPECT_TRUE(StatusShows(form->Surface(), state.LineColour[1] | 0xFF000000));
  platform.Advance(300);  // off: "Game paid 25" in white, the two cells white
  ASSERT_FALSE(state.FlashOn);
  EXPECT_TRUE(StatusShows(form->Surface(), qRgb(255, 255, 255)));
  const int cellX = state.ReelsLeft + state.CellSize / 2;
  const int cellY = state.ReelsTop + state.CellSize + state.CellSize / 2;  // payline 1: middle row
  EXPECT_EQ(form->Surface().Pixel(cellX, cellY) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(form->Surface().Pixel(cellX + state.ReelPitch, cellY) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_NE(form->Surface().Pixel(cellX + 2 * state.ReelPitch, cellY) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(WinCycle, AWildAnimatesWithoutAWin) {
  Start();
  Ready();
  form->FormPaint();
  state.ShownWin = -1;
  for (auto& reel : state.ReelWindow) reel = {10, 11, 12};
  state.ReelWindow[2][1] = 0;
  form->Timer3().SetEnabled(true);
  std::vector<int> frames;
  const int x = state.ReelsLeft + 2 * state.ReelPitch;
  const int y = state.ReelsTop + state.CellSize;
  std::vector<QImage> pictures;
  for (int tick = 0; tick < 8; ++tick) {
    platform.Advance(300);
    frames.push_back(state.WildFrame);
    pictures.push_back(form->Surface().Image().copy(x, y, state.CellSize, state.CellSize));
  }
  EXPECT_EQ(frames, (std::vector<int>{3, 2, 1, 0, 1, 2, 3, 4}));
  EXPECT_NE(pictures[0], pictures[3]) << "frame 3 and frame 0 of the wild look different";
  EXPECT_EQ(pictures[0], pictures[6]) << "frame 3 twice looks the same";
  EXPECT_EQ(state.ShownWin, -1);
}

TEST_F(WinCycle, ALinesButtonStopsThePresentationAndRedrawsTheReels) {
  Start();
  Ready();
  form->FormPaint();
  const QImage clean = form->Surface().Image().copy(state.ReelsLeft, state.ReelsTop, state.CellSize,
                                                    3 * state.CellSize);
  state.LineWon.fill(false);
  state.LineWon[1] = true;
  state.LineWin[1] = 2;
  state.LineMatch[1] = 1;
  state.GamePaid = 2;
  state.ShownWin = 1;
  state.FlashOn = true;
  form->Timer3().SetEnabled(true);
  platform.Advance(300);  // the off phase: reel 0's middle cell is white
  ClickLines(5);
  EXPECT_FALSE(form->Timer3().Enabled());
  const QImage after = form->Surface().Image().copy(state.ReelsLeft, state.ReelsTop, state.CellSize,
                                                    3 * state.CellSize);
  // A point of reel 0's middle cell that no payline path crosses.
  const int y = state.CellSize + 8;
  EXPECT_EQ(after.pixel(state.CellSize / 2, y), clean.pixel(state.CellSize / 2, y));
  EXPECT_NE(after.pixel(state.CellSize / 2, y) & 0xFFFFFF, 0xFFFFFFu);
}

using Bonus = GameFixture;

TEST_F(Bonus, ThreeScattersHandOverAfterTwoSecondsAndPayTheBonus) {
  const uint32_t seed = FindSeed(9, 1, [](const GameState& g) { return g.ScatterCount >= 3; });
  const GameState expected = PredictSpin(seed, 9, 1);
  Start(seed);
  Ready();
  int bonusTotal = -1;
  platform.OnModal = [&](QDialog* dialog) {
    auto* bonus = dynamic_cast<TTrickForm*>(dialog);
    ASSERT_NE(bonus, nullptr);
    // Pick every ball until the game ends (six winners or a bomb).
    for (int i = 0; i < 8 && bonus->PickCount() < 8; ++i) {
      bonus->Image1MouseDown(40 + 150 * (i % 4) + 50, 210 + 140 * (i / 4) + 50);
    }
    bonusTotal = bonus->BonusTotal();
  };
  ClickSpin();
  // After the spin's count-up: the bonus sound, the display frozen, Busy kept.
  EXPECT_EQ(sounds.Count("Bonus"), 1);
  EXPECT_TRUE(state.Busy);
  EXPECT_FALSE(form->Timer3().Enabled());
  EXPECT_TRUE(form->Timer6().Enabled());
  EXPECT_EQ(state.Credits, 1000 - 9 + expected.GamePaid);
  const GameState shuffled = [&] {
    GameState g = PredictSpin(seed, 9, 1);
    ShuffleBallPrizes(g);
    return g;
  }();
  EXPECT_EQ(state.BallPrizes, shuffled.BallPrizes);

  platform.Advance(1999);
  EXPECT_EQ(bonusTotal, -1);
  platform.Advance(1);
  ASSERT_GE(bonusTotal, 0);
  // The bonus window closes itself; then the main window pays what it left.
  platform.Advance(10000);
  EXPECT_EQ(state.BonusWin, bonusTotal);
  EXPECT_EQ(state.GamePaid, expected.GamePaid + bonusTotal);
  EXPECT_EQ(state.BonusPayoffs, bonusTotal);
  EXPECT_EQ(state.Credits, 1000 - 9 + expected.GamePaid + bonusTotal);
  EXPECT_FALSE(state.Busy);
  EXPECT_TRUE(form->Timer3().Enabled());
  EXPECT_FALSE(form->Timer6().Enabled());
}
