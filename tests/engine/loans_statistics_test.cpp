// Borrowing, paying back and the derived statistics at the edges of the 32-bit game values.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/game_state.h"
#include "engine/loans.h"
#include "engine/statistics.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

GameState Money(int32_t credits, int32_t borrowed) {
  GameState s;
  s.Credits = credits;
  s.Borrowed = borrowed;
  return s;
}

TEST(Loans, BorrowingStopsAtTheLargest32BitAmountOfEitherMeter) {
  struct Case {
    int32_t credits, borrowed, amount;
    LoanOutcome outcome;
  };
  const Case cases[] = {
      {kMax - 1000, 0, 1000, LoanOutcome::kDone},
      {kMax - 999, 0, 1000, LoanOutcome::kBeyondLargestAmount},
      {0, kMax - 10, 10, LoanOutcome::kDone},
      {0, kMax - 9, 100, LoanOutcome::kBeyondLargestAmount},
      {kMax, kMax, 1, LoanOutcome::kBeyondLargestAmount},
  };
  for (const Case& c : cases) {
    GameState s = Money(c.credits, c.borrowed);
    EXPECT_EQ(ApplyLoan(s, LoanMode::kBorrow, c.amount), c.outcome) << c.credits << " " << c.amount;
    const bool done = c.outcome == LoanOutcome::kDone;
    EXPECT_EQ(s.Credits, done ? c.credits + c.amount : c.credits);
    EXPECT_EQ(s.Borrowed, done ? c.borrowed + c.amount : c.borrowed);
  }
}

TEST(Loans, RepaymentIsCheckedAgainstCreditsBeforeBorrowed) {
  GameState s = Money(50, 20);
  EXPECT_EQ(ApplyLoan(s, LoanMode::kPayBack, 100), LoanOutcome::kNotEnoughCredits);
  EXPECT_EQ(ApplyLoan(s, LoanMode::kPayBack, 50), LoanOutcome::kMoreThanBorrowed);
  EXPECT_EQ(ApplyLoan(s, LoanMode::kPayBack, 20), LoanOutcome::kDone);
  EXPECT_EQ(s.Credits, 30);
  EXPECT_EQ(s.Borrowed, 0);
}

TEST(Statistics, DerivedFiguresDoNotWrapForAnySavedValues) {
  GameState s = Money(kMax, 0);
  s.TotalBet = kMax;
  s.BonusPayoffs = -5;
  const GameStatistics st = ComputeStatistics(s);
  EXPECT_EQ(st.payoffs, 2 * int64_t{kMax});
  EXPECT_EQ(st.normal_payoffs, 2 * int64_t{kMax} + 5);
  EXPECT_DOUBLE_EQ(st.payoff_percentage, 200.0);

  s = Money(0, kMax);
  s.TotalBet = 0;
  EXPECT_EQ(ComputeStatistics(s).payoffs, -int64_t{kMax});
  EXPECT_EQ(ComputeStatistics(s).payoff_percentage, 0.0) << "no bets, no percentage";
}

}  // namespace
