#include "engine/loans.h"

#include <limits>

LoanOutcome ApplyLoan(GameState& state, LoanMode mode, int32_t amount) {
  if (mode == LoanMode::kBorrow) {
    // Both meters are 32-bit: a loan that would not fit in either is refused as a whole rather
    // than wrapping one of them to a negative balance.
    const int64_t credits = int64_t{state.Credits} + amount;
    const int64_t borrowed = int64_t{state.Borrowed} + amount;
    constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
    if (credits > kLargest || borrowed > kLargest) return LoanOutcome::kBeyondLargestAmount;
    state.Credits = static_cast<int32_t>(credits);
    state.Borrowed = static_cast<int32_t>(borrowed);
    return LoanOutcome::kDone;
  }
  if (amount > state.Credits) return LoanOutcome::kNotEnoughCredits;
  if (amount > state.Borrowed) return LoanOutcome::kMoreThanBorrowed;
  state.Credits -= amount;
  state.Borrowed -= amount;
  return LoanOutcome::kDone;
}
