// Borrowing credits and paying them back. A loan raises Credits and Borrowed together and a
// repayment lowers both, so the game's payoffs (see statistics.h) never move with a loan.
#pragma once

#include <array>
#include <cstdint>

#include "engine/game_state.h"

// The amounts of the four chips, largest first.
inline constexpr std::array<int32_t, 4> kChipAmounts{1000, 100, 10, 1};

enum class LoanMode { kBorrow, kPayBack };

enum class LoanOutcome {
  kDone,                 // Credits and Borrowed have changed by the amount
  kNotEnoughCredits,     // a repayment larger than Credits
  kMoreThanBorrowed,     // a repayment larger than Borrowed
  kBeyondLargestAmount,  // a loan that would carry Credits or Borrowed past the 32-bit range
};

// Borrows or pays back amount (> 0). Anything but kDone leaves the state untouched. A
// repayment is checked against Credits first, then against Borrowed.
LoanOutcome ApplyLoan(GameState& state, LoanMode mode, int32_t amount);
