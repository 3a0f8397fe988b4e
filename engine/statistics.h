// The running totals of a game as the statistics window shows them.
#pragma once

#include <cstdint>

#include "engine/game_state.h"

struct GameStatistics {
  // Everything paid out to the player so far: Credits - Borrowed + TotalBet.
  int64_t payoffs = 0;
  // The part of payoffs won on the reels: payoffs - BonusPayoffs.
  int64_t normal_payoffs = 0;
  // payoffs / TotalBet * 100 while TotalBet > 0, else 0.
  double payoff_percentage = 0.0;
};

// Computes the derived figures in 64 bits, so they are right for any 32-bit game values,
// including saved games whose sums would overflow 32-bit arithmetic.
GameStatistics ComputeStatistics(const GameState& state);
