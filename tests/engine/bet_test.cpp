#include "engine/bet.h"

#include <gtest/gtest.h>

#include "engine/game_state.h"

namespace {

GameState Selection(int credits, int lines, int perLine) {
  GameState state;
  state.Credits = credits;
  state.LinesBet = lines;
  state.CreditsPerLine = perLine;
  return state;
}

}  // namespace

TEST(BetButtonTest, ButtonsSetTheirValues) {
  const int lines[] = {1, 3, 5, 7, 9};
  const int credits[] = {1, 2, 3, 5, 10};
  for (int b = 1; b <= 5; ++b) {
    EXPECT_TRUE(IsLinesButton(b));
    EXPECT_FALSE(IsCreditsButton(b));
    EXPECT_EQ(BetButtonValue(b), lines[b - 1]);
  }
  for (int b = 6; b <= 10; ++b) {
    EXPECT_TRUE(IsCreditsButton(b));
    EXPECT_FALSE(IsLinesButton(b));
    EXPECT_EQ(BetButtonValue(b), credits[b - 6]);
  }
  for (int b : {-1, 0, 11, 100}) {
    EXPECT_EQ(BetButtonValue(b), 0);
    EXPECT_FALSE(IsLinesButton(b) || IsCreditsButton(b));
  }
  EXPECT_EQ(BetButtonValue(5) * BetButtonValue(10), kMaxStake);
}

TEST(TakeStakeTest, StakesTheSelectionWhenCovered) {
  GameState state = Selection(1000, 9, 1);
  EXPECT_TRUE(TakeStake(state));
  EXPECT_EQ(state.Bet, 9);
  EXPECT_EQ(state.Credits, 991);
}

TEST(TakeStakeTest, RefusesWithoutDeductingWhenCreditsFallShort) {
  // Credits 5 with 9 lines at 1: no bet; then 5 lines stake the last 5 credits.
  GameState state = Selection(5, 9, 1);
  EXPECT_FALSE(TakeStake(state));
  EXPECT_EQ(state.Bet, 0);
  EXPECT_EQ(state.Credits, 5);

  state.LinesBet = BetButtonValue(3);
  state.LastBet = 0;  // a bet button forgets the last stake
  EXPECT_TRUE(TakeStake(state));
  EXPECT_EQ(state.Bet, 5);
  EXPECT_EQ(state.Credits, 0);
}

TEST(TakeStakeTest, ReStakesTheLastBet) {
  GameState state = Selection(100, 9, 1);
  state.LastBet = 9;
  EXPECT_TRUE(TakeStake(state));
  EXPECT_EQ(state.Bet, 9);
  EXPECT_EQ(state.Credits, 91);

  GameState shortOfIt = Selection(8, 9, 1);
  shortOfIt.LastBet = 9;
  EXPECT_FALSE(TakeStake(shortOfIt));
  EXPECT_EQ(shortOfIt.Bet, 0);
  EXPECT_EQ(shortOfIt.Credits, 8);
}

TEST(TakeStakeTest, StakeSetByACreditsButtonIsLeftAlone) {
  // The credits button has already staked and deducted 90.
  GameState state = Selection(10, 9, 10);
  state.Bet = 90;
  EXPECT_FALSE(TakeStake(state));
  EXPECT_EQ(state.Bet, 90);
  EXPECT_EQ(state.Credits, 10);
}

TEST(TakeStakeTest, ExactlyCoveredStakeIsTaken) {
  GameState state = Selection(90, 9, 10);
  EXPECT_TRUE(TakeStake(state));
  EXPECT_EQ(state.Credits, 0);
  EXPECT_EQ(state.Bet, 90);
}

TEST(TakeStakeTest, AnEmptySelectionStakesNothing) {
  GameState state = Selection(50, 0, 1);
  EXPECT_FALSE(TakeStake(state));
  EXPECT_EQ(state.Bet, 0);
  EXPECT_EQ(state.Credits, 50);
}

TEST(CreditCheckTest, CoverTestAndMessages) {
  EXPECT_FALSE(CreditsCover(50, 9, 10));
  EXPECT_TRUE(CreditsCover(90, 9, 10));
  EXPECT_FALSE(CreditsCover(89, 9, 10));  // max bet with 89 credits does nothing
  EXPECT_FALSE(CreditsCover(-1, 1, 1));
  EXPECT_EQ(CreditCheckMessage(50, 90),
            "You have 50, but you tried to bet 90 credits.  You cannot bet more credits than you "
            "have.  Borrow some credits or place a smaller bet.");
  EXPECT_STREQ(kNoBetMessage, "No bet was placed!");
}
