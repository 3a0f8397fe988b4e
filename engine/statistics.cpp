#include "engine/statistics.h"

GameStatistics ComputeStatistics(const GameState& state) {
  GameStatistics s;
  s.payoffs = int64_t{state.Credits} - state.Borrowed + state.TotalBet;
  s.normal_payoffs = s.payoffs - state.BonusPayoffs;
  if (state.TotalBet > 0) {
    s.payoff_percentage =
        static_cast<double>(s.payoffs) / static_cast<double>(state.TotalBet) * 100.0;
  }
  return s;
}
