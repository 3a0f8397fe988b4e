#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>

#include "engine/bonus.h"
#include "engine/countup.h"
#include "engine/game_state.h"

namespace {

// Counts a win down the way the count-up does; returns the steps taken by size.
std::map<int, int> CountUp(int win, int& steps) {
  std::map<int, int> by_size;
  steps = 0;
  while (win > 0) {
    const int step = CountUpStep(win);
    EXPECT_GT(step, 0);
    EXPECT_LE(step, win);
    win -= step;
    ++by_size[step];
    ++steps;
  }
  EXPECT_EQ(win, 0);
  return by_size;
}

}  // namespace

TEST(CountUpTest, StepShrinksAtEachThreshold) {
  const std::pair<int, int> table[] = {{100000, 100}, {1000, 100}, {999, 50}, {500, 50}, {499, 10},
                                       {100, 10},     {99, 5},     {25, 5},   {24, 2},   {10, 2},
                                       {9, 1},        {1, 1},      {0, 0},    {-5, 0}};
  for (const auto& [remaining, step] : table) EXPECT_EQ(CountUpStep(remaining), step) << remaining;
}

TEST(CountUpTest, WinsCountInTheDocumentedSteps) {
  int steps = 0;
  EXPECT_EQ(CountUp(1234, steps),
            (std::map<int, int>{{100, 3}, {50, 9}, {10, 39}, {5, 14}, {2, 8}, {1, 8}}));
  EXPECT_EQ(steps, 81);
  EXPECT_EQ(CountUp(1000, steps),
            (std::map<int, int>{{100, 1}, {50, 9}, {10, 36}, {5, 14}, {2, 6}, {1, 8}}));
  EXPECT_EQ(steps, 74);
  EXPECT_EQ(CountUp(24, steps), (std::map<int, int>{{2, 8}, {1, 8}}));
  EXPECT_EQ(steps, 16);
  EXPECT_EQ(CountUp(5, steps), (std::map<int, int>{{1, 5}}));
  EXPECT_EQ(steps, 5);
}

TEST(CountUpTest, EveryWinIsCountedExactly) {
  int steps = 0;
  for (int win = 1; win <= 50000; ++win) CountUp(win, steps);
}

TEST(BallPrizeTest, ShuffleKeepsSixWinnersAndTwoBombs) {
  GameState state;
  for (uint32_t seed : {0u, 1u, 777u, 0xFFFFFFFFu, 86399999u}) {
    state.Random.SetSeed(seed);
    state.BallPrizes.fill(-3);  // whatever was there before is replaced
    ShuffleBallPrizes(state);
    std::array<int32_t, 8> sorted = state.BallPrizes;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::array<int32_t, 8>{0, 0, 1, 1, 2, 2, 5, 10})) << "seed " << seed;
  }
}

TEST(BallPrizeTest, ShuffleIsPinnedAndDraws8008Numbers) {
  // Pinned from an independent implementation of the generator and the shuffle, seed 777.
  GameState state;
  state.Random.SetSeed(777);
  ShuffleBallPrizes(state);
  EXPECT_EQ(state.BallPrizes, (std::array<int32_t, 8>{0, 2, 10, 1, 5, 2, 1, 0}));
  EXPECT_EQ(state.Random.Seed(), 2425938209u);

  RandomGenerator reference;
  reference.SetSeed(777);
  for (int i = 0; i < 8008; ++i) reference.RandomInt(8);
  EXPECT_EQ(reference.Seed(), state.Random.Seed());
}

TEST(BonusGameTest, WinnersAddTheirMultipleOfTheWholeBetAndTheSixthEndsTheGame) {
  // Prizes in ball order; 5 lines at 2 credits make a bet of 10.
  BonusGame game({10, 0, 5, 2, 2, 1, 0, 1}, 5, 2);
  using O = BonusGame::Outcome;
  struct Step {
    int ball;
    O outcome;
    int prize;
    int total;
  };
  const Step steps[] = {
      {0, O::kWinner, 100, 100}, {0, O::kIgnored, 0, 100},   // a ball is picked once
      {8, O::kIgnored, 0, 100},  {-1, O::kIgnored, 0, 100},  // no such ball
      {2, O::kWinner, 50, 150},  {3, O::kWinner, 20, 170},     {4, O::kWinner, 20, 190},
      {5, O::kWinner, 10, 200},  {7, O::kLastWinner, 10, 210}, {1, O::kIgnored, 0, 210},
  };
  for (const Step& s : steps) {
    const BonusGame::PickResult r = game.Pick(s.ball);
    EXPECT_EQ(r.outcome, s.outcome) << "ball " << s.ball;
    EXPECT_EQ(r.prize, s.prize) << "ball " << s.ball;
    EXPECT_EQ(game.Total(), s.total) << "ball " << s.ball;
  }
  EXPECT_TRUE(game.Over());
  EXPECT_EQ(game.PickCount(), kBonusBalls);
  EXPECT_FALSE(game.Picked(1));
}

TEST(BonusGameTest, ABombLosesTheTotalAndACollectKeepsIt) {
  BonusGame bombed({10, 0, 5, 2, 2, 1, 0, 1}, 9, 1);
  EXPECT_EQ(bombed.Pick(0).prize, 90);
  EXPECT_EQ(bombed.PickCount(), 1);
  EXPECT_FALSE(bombed.Over());
  EXPECT_EQ(bombed.Pick(1).outcome, BonusGame::Outcome::kBomb);
  EXPECT_EQ(bombed.Total(), 0);
  EXPECT_TRUE(bombed.Over());
  EXPECT_EQ(bombed.Pick(2).outcome, BonusGame::Outcome::kIgnored);
  bombed.Collect();  // a STOP during the explosion saves nothing
  EXPECT_EQ(bombed.Total(), 0);

  BonusGame collected({10, 0, 5, 2, 2, 1, 0, 1}, 9, 1);
  collected.Collect();  // before any pick
  EXPECT_EQ(collected.Pick(0).outcome, BonusGame::Outcome::kIgnored);
  EXPECT_EQ(collected.Total(), 0);
  BonusGame kept({10, 0, 5, 2, 2, 1, 0, 1}, 9, 1);
  kept.Pick(2);
  kept.Collect();
  EXPECT_EQ(kept.Pick(0).outcome, BonusGame::Outcome::kIgnored);
  EXPECT_EQ(kept.Total(), 45);
}
