// Borrowing at the edge of the 32-bit game values (the dialog tests cover the rest).
#include "engine/loans.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/game_state.h"

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

}  // namespace
