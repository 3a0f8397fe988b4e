#include "engine/bonus.h"

#include <utility>

void ShuffleBallPrizes(GameState& state) {
  for (int i = 0; i < kBonusBalls; ++i) state.BallPrizes[i] = kBallMultipliers[i];
  // This shuffle is part of the game's one random sequence: its 8008 draws (j may equal i) must
  // stay exactly as they are, or every later spin of a seeded game would change.
  for (int round = 0; round < 1001; ++round) {
    for (int i = 0; i < kBonusBalls; ++i) {
      const int j = state.Random.RandomInt(kBonusBalls);
      std::swap(state.BallPrizes[i], state.BallPrizes[j]);
    }
  }
}

BonusGame::BonusGame(const std::array<int32_t, kBonusBalls>& prizes, int lines_bet,
                     int credits_per_line)
    : prizes_(prizes), bet_(lines_bet * credits_per_line) {}

BonusGame::PickResult BonusGame::Pick(int ball) {
  if (over_ || ball < 0 || ball >= kBonusBalls || picked_[ball]) return {};
  picked_[ball] = true;
  ++picks_;
  const int32_t multiplier = prizes_[ball];
  if (multiplier <= 0) {
    total_ = 0;
    over_ = true;
    return {Outcome::kBomb, 0};
  }
  const int32_t prize = multiplier * bet_;
  total_ += prize;
  if (picks_ >= kBonusWinners) {
    over_ = true;
    return {Outcome::kLastWinner, prize};
  }
  return {Outcome::kWinner, prize};
}

void BonusGame::Collect() {
  over_ = true;
}
