// The money moves of a spin: the stake entering the statistics, the count-up of a win into the
// credits, and the bonus game's total joining the spin's result.
//
// Every money meter and counter is a signed 32-bit number, because the meters, the statistics
// window and the saved-games file all carry 32-bit values. None of them ever wraps: a win, the
// total of the stakes, the spin count and the bonus payoffs stop at kLargestAmount, and the spin
// always plays. (A loan, which the player asks for, is refused instead: see loans.h.)
#pragma once

#include <cstdint>
#include <limits>

#include "engine/game_state.h"

inline constexpr int32_t kLargestAmount = std::numeric_limits<int32_t>::max();

// value + amount (amount >= 0), or kLargestAmount when the sum would not fit.
constexpr int32_t AddUpToLargest(int32_t value, int32_t amount) {
  const int64_t sum = int64_t{value} + amount;
  return sum > kLargestAmount ? kLargestAmount : static_cast<int32_t>(sum);
}

// A spin starts: its stake Bet joins TotalBet and the spin is counted.
void CountSpin(GameState& state);

// Moves the next count-up step (CountUpStep) of WinToCount into Credits and returns it; 0 once
// nothing is left. WinToCount always goes down by the step, so a count-up always ends.
int32_t PayCountUpStep(GameState& state);

// The bonus game's total BonusWin becomes the win still to count and joins GamePaid and
// BonusPayoffs.
void AddBonusWin(GameState& state);
