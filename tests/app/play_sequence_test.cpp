// The play sequence on its own, without a window: one spin stepped frame by frame on the fake
// clock, with what is drawn and played at each step, and input tried at every one of them.
#include "app/play_sequence.h"

#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "app/win_cycle.h"
#include "engine/countup.h"
#include "engine/reels.h"
#include "engine/slot_machine.h"
#include "engine/spin.h"
#include "screen/cabinet.h"
#include "tests/app/game_fixture.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_sounds.h"

namespace {

int CountSteps(int win) {
  int steps = 0;
  for (; win > 0; win -= CountUpStep(win)) ++steps;
  return steps;
}

class FakeHost : public PlayHost {
 public:
  void ShowNotice(const std::string& text) override { notices.push_back(text); }
  void OpenBonusGame() override { ++bonus_games; }
  void CloseBonusGame() override {}
  void PlayRunningChanged(bool running) override { running_changes.push_back(running); }
  void KeepRunningGame(const GameState& state) override { kept_credits.push_back(state.Credits); }

  std::vector<std::string> notices;
  std::vector<bool> running_changes;
  std::vector<int> kept_credits;
  int bonus_games = 0;
};

class PlaySequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A spin at 9 lines of 1 credit with a line win that starts the bonus game.
    seed_ = FindSeed(9, 1, [](const GameState& g) {
      bool line_win = false;
      for (int n = 1; n <= kPaylines; ++n) line_win = line_win || g.LineWon[n];
      return line_win && g.ScatterCount >= 3;
    });
    expected_ = PredictSpin(seed_, 9, 1);
    gs_.Random.SetSeed(seed_);
    BuildReelStrips(gs_);
    gs_.Credits = 1000;
    machine_.ResetBet();
    cabinet_ = std::make_unique<Cabinet>(gs_, "", "Zelmar", 800, 600, 800, 560);
    cabinet_->Screen().PaintAll();
    cycle_ = std::make_unique<WinCycle>(gs_, cabinet_->Screen(), cabinet_->Status(), platform_);
    play_ = std::make_unique<PlaySequence>(machine_, cabinet_->Layout(), cabinet_->Screen(),
                                           cabinet_->Status(), *cycle_, sounds_, platform_, host_);
  }
  QImage Reel(int r) const {
    const ScreenLayout& l = cabinet_->Layout();
    return cabinet_->Surface().Image().copy(l.ReelsLeft + r * l.ReelPitch, l.ReelsTop, l.CellSize,
                                            3 * l.CellSize);
  }
  // The player presses everything there is; while play runs none of it may count.
  void PressEverything() {
    play_->RequestSpin();
    play_->MaxBet();
    for (int k = 1; k <= kBetButtons; ++k) play_->SelectBet(NumberedButton(k));
    play_->CountUpWin(0);
  }
  void ExpectNothingPressed(int credits) {
    EXPECT_EQ(gs_.SpinCount, 1);
    EXPECT_EQ(gs_.Credits, credits);
    EXPECT_EQ(gs_.LinesBet, 9);
    EXPECT_EQ(gs_.CreditsPerLine, 1);
    EXPECT_TRUE(host_.notices.empty());
  }

  uint32_t seed_ = 0;
  GameState expected_;
  GameState gs_;
  SlotMachine machine_{gs_};
  FakePlatform platform_;
  RecordingSounds sounds_;
  FakeHost host_;
  std::unique_ptr<Cabinet> cabinet_;
  std::unique_ptr<WinCycle> cycle_;
  std::unique_ptr<PlaySequence> play_;
};

using Stage = PlaySequence::Stage;

TEST_F(PlaySequenceTest, OneSpinWithALineWinAndTheBonusStepByStep) {
  sounds_.hold_win_sound = true;
  play_->RequestSpin();
  EXPECT_EQ(play_->CurrentStage(), Stage::kSpinning);
  EXPECT_EQ(gs_.Credits, 991) << "the stake leaves before any reel moves";
  EXPECT_EQ(host_.running_changes, std::vector<bool>{true});
  // The whole result is known at the press, and kept then as it will stand.
  EXPECT_EQ(host_.kept_credits, std::vector<int>{991 + expected_.GamePaid});

  // The frames: reel r lands with its sound at frame 21 + 6r and shows its stop at once.
  std::vector<std::vector<QImage>> pictures(kReels);
  for (int frame = 1; frame <= PlaySequence::kFrames; ++frame) {
    platform_.Advance(PlaySequence::kFrameMs - 1);
    EXPECT_EQ(play_->Frame(), frame - 1);
    platform_.Advance(1);
    ASSERT_EQ(play_->Frame(), frame);
    int landed = 0;
    for (int r = 0; r < kReels; ++r) landed += frame >= 21 + 6 * r ? 1 : 0;
    EXPECT_EQ(sounds_.Count("ReelStop"), landed) << "frame " << frame;
    for (int r = 0; r < kReels; ++r) pictures[r].push_back(Reel(r));
    PressEverything();
    ExpectNothingPressed(991);
  }
  // After the last frame every reel shows its stop, and the spin is evaluated.
  for (int r = 0; r < kReels; ++r) {
    const QImage rest = Reel(r);
    const int landing = 21 + 6 * r;
    EXPECT_EQ(pictures[r][landing - 1], rest) << "reel " << r << " at its landing";
    EXPECT_NE(pictures[r][landing - 2], rest) << "reel " << r << " still spins before it";
    if (landing + 1 <= PlaySequence::kFrames) {
      EXPECT_NE(pictures[r][landing], rest) << "reel " << r << " bounces after it";
    }
  }
  EXPECT_EQ(gs_.ReelStop, expected_.ReelStop);

  // The win sound holds the screen until it has ended: neither the presentation nor a credit
  // moves meanwhile.
  EXPECT_EQ(play_->CurrentStage(), Stage::kWinSound);
  EXPECT_EQ(sounds_.calls.back(), "WinWait");
  const QImage at_the_sound = cabinet_->Surface().Image().copy();
  platform_.Advance(5000);
  EXPECT_TRUE(cabinet_->Surface().Image() == at_the_sound) << "the cabinet moved";
  EXPECT_EQ(play_->CurrentStage(), Stage::kWinSound);
  EXPECT_EQ(sounds_.Count("Count"), 0);
  PressEverything();
  ExpectNothingPressed(991);

  // A window in front holds play: the sound's end waits for it to go, and play goes on at the
  // clock's next tick, not inside the window's closing.
  play_->Hold(true);
  sounds_.EndWinSound();
  platform_.Advance(5000);
  EXPECT_TRUE(cabinet_->Surface().Image() == at_the_sound) << "the cabinet moved";
  play_->Hold(false);
  EXPECT_EQ(sounds_.Count("Count"), 0);
  platform_.Advance(1);

  // The first count-up step and the presentation's first tick come together, the next step
  // 75 ms later.
  EXPECT_EQ(play_->CurrentStage(), Stage::kCountingUp);
  EXPECT_EQ(sounds_.Count("Count"), 1);
  EXPECT_EQ(gs_.Credits, 991 + CountUpStep(expected_.GamePaid));
  EXPECT_TRUE(cycle_->Running());
  EXPECT_EQ(cycle_->State().flash_ticks, 1);
  platform_.Advance(PlaySequence::kCountStepMs - 1);
  EXPECT_EQ(sounds_.Count("Count"), 1);
  PressEverything();
  ExpectNothingPressed(991 + CountUpStep(expected_.GamePaid));
  platform_.Advance(1);
  EXPECT_EQ(sounds_.Count("Count"), 2);

  // Once every credit is in, the bonus sound plays and the display holds still for 2 s.
  ASSERT_TRUE(platform_.RunUntil([&] { return play_->CurrentStage() == Stage::kBonusPending; }));
  EXPECT_EQ(sounds_.calls.back(), "Bonus");
  EXPECT_EQ(gs_.Credits, 991 + expected_.GamePaid);
  EXPECT_EQ(gs_.LastBet, 9);
  EXPECT_FALSE(cycle_->Running());
  PressEverything();
  ExpectNothingPressed(991 + expected_.GamePaid);
  // A window the player opened from the menu keeps the bonus game waiting behind it, and the
  // bonus game opens as soon as that window has gone.
  play_->Hold(true);
  platform_.Advance(PlaySequence::kBonusDelayMs + 5000);
  EXPECT_EQ(host_.bonus_games, 0);
  play_->Hold(false);
  platform_.Advance(1);
  EXPECT_EQ(host_.bonus_games, 1);
  EXPECT_EQ(play_->CurrentStage(), Stage::kBonusGame);

  // Play waits for the bonus game, whatever the clock does, until it has closed.
  platform_.Advance(60000);
  PressEverything();
  ExpectNothingPressed(991 + expected_.GamePaid);
  EXPECT_EQ(play_->CurrentStage(), Stage::kBonusGame);
  gs_.BonusWin = 18;
  play_->BonusGameClosed();

  // Its prize is announced and counted on the same way, then play rests.
  EXPECT_EQ(play_->CurrentStage(), Stage::kWinSound);
  EXPECT_FALSE(cycle_->Running());
  sounds_.EndWinSound();
  EXPECT_EQ(sounds_.Count("Count"), CountSteps(expected_.GamePaid) + 1);
  EXPECT_TRUE(cycle_->Running());
  ASSERT_TRUE(platform_.RunUntil([&] { return !play_->Running(); }));
  EXPECT_EQ(gs_.Credits, 991 + expected_.GamePaid + 18);
  EXPECT_EQ(gs_.GamePaid, expected_.GamePaid + 18);
  EXPECT_EQ(gs_.BonusPayoffs, 18);
  EXPECT_EQ(sounds_.Count("Count"), CountSteps(expected_.GamePaid) + CountSteps(18));
  EXPECT_EQ(host_.running_changes, (std::vector<bool>{true, false}));
  EXPECT_EQ(sounds_.Count("WinWait"), 2);
  // The bonus game's prize is kept the moment it is paid.
  EXPECT_EQ(host_.kept_credits,
            (std::vector<int>{991 + expected_.GamePaid, 991 + expected_.GamePaid + 18}));
}

}  // namespace
