// The prizes behind the bonus game's eight balls.
#pragma once

#include <array>

#include "engine/game_state.h"

// The multipliers before the shuffle: six winners (sum 21) and two bombs (0).
inline constexpr std::array<int, 8> kBallMultipliers{10, 5, 2, 2, 1, 1, 0, 0};

// Sets BallPrizes to the multipliers above, then shuffles them with 1001 rounds of: for i = 0..7,
// swap entries i and RandomInt(8). Draws exactly 8008 numbers from the game's sequence.
void ShuffleBallPrizes(GameState& state);

// Credits a winning ball pays: its multiplier times the whole bet of the spin.
constexpr int BallPrizeCredits(int multiplier, int lines_bet, int credits_per_line) {
  return multiplier * lines_bet * credits_per_line;
}
