#include "engine/bet.h"

#include <gtest/gtest.h>

#include "engine/game_state.h"
#include "engine/slot_machine.h"

TEST(BetButtonTest, ButtonsSetTheirValues) {
  const int expected[] = {1, 3, 5, 7, 9, 1, 2, 3, 5, 10};
  for (int k = 1; k <= kBetButtons; ++k) {
    EXPECT_EQ(BetButtonValue(NumberedButton(k)), expected[k - 1]) << "button " << k;
    EXPECT_EQ(IsLinesButton(NumberedButton(k)), k <= 5) << "button " << k;
  }
}

TEST(TakeStakeTest, TakesOnlyWhatTheCreditsCover) {
  struct Case {
    const char* what;
    int credits, lines, per_line, bet, last_bet;
    bool taken;
    int bet_after, credits_after;
  };
  const Case cases[] = {
      {"selection covered", 1000, 9, 1, 0, 0, true, 9, 991},
      {"5 credits, 9 lines: no bet", 5, 9, 1, 0, 0, false, 0, 5},
      {"5 credits, 5 lines: the last 5", 5, 5, 1, 0, 0, true, 5, 0},
      {"exactly 90 for 90", 90, 9, 10, 0, 0, true, 90, 0},
      {"last bet re-staked", 100, 9, 1, 0, 9, true, 9, 91},
      {"last bet not covered", 8, 9, 1, 0, 9, false, 0, 8},
      {"a stake is taken anew at every request", 10, 9, 1, 90, 0, true, 9, 1},
      {"empty selection stakes nothing", 50, 0, 1, 0, 0, false, 0, 50},
  };
  for (const Case& c : cases) {
    GameState state;
    state.Credits = c.credits;
    state.LinesBet = c.lines;
    state.CreditsPerLine = c.per_line;
    state.Bet = c.bet;
    state.LastBet = c.last_bet;
    EXPECT_EQ(TakeStake(state), c.taken) << c.what;
    EXPECT_EQ(state.Bet, c.bet_after) << c.what;
    EXPECT_EQ(state.Credits, c.credits_after) << c.what;
  }
}

TEST(CreditCheckTest, CoverTestAndMessages) {
  EXPECT_FALSE(CreditsCover(50, 9, 10));
  EXPECT_TRUE(CreditsCover(90, 9, 10));
  EXPECT_FALSE(CanBetMax(89));  // max bet with 89 credits does nothing
  EXPECT_TRUE(CanBetMax(90));

  // A credits button is checked against the lines already selected; a lines button never is. A
  // refused button changes nothing; one that stands is lit and forgets the last bet.
  GameState state;
  SlotMachine machine(state);
  machine.ResetBet();
  state.Credits = 50;
  state.LastBet = 9;
  EXPECT_EQ(machine.Select(BetButton::kPerLine10), CreditCheckMessage(50, 90));
  EXPECT_EQ(state.CreditsPerLine, 1);
  EXPECT_EQ(state.CreditsButton, 6);
  EXPECT_EQ(state.LastBet, 9);
  EXPECT_EQ(machine.Select(BetButton::kPerLine5), "");  // 9 lines at 5: 45 credits
  EXPECT_EQ(state.CreditsPerLine, 5);
  EXPECT_EQ(state.CreditsButton, 9);
  EXPECT_EQ(state.LinesBet, 9);
  EXPECT_EQ(state.LastBet, 0);
  state.Credits = 0;
  EXPECT_EQ(machine.Select(BetButton::kLines3), "");
  EXPECT_EQ(state.LinesBet, 3);
  EXPECT_EQ(state.LinesButton, 2);
  EXPECT_EQ(machine.Selection(), 15);
  EXPECT_EQ(CreditCheckMessage(50, 90),
            "You have 50, but you tried to bet 90 credits.  You cannot bet more credits than you "
            "have.  Borrow some credits or place a smaller bet.");
  EXPECT_STREQ(kNoBetMessage, "No bet was placed!");
}
