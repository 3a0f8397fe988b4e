#include "engine/bonus.h"

#include <utility>

void ShuffleBallPrizes(GameState& state) {
  for (int i = 0; i < 8; ++i) state.BallPrizes[i] = kBallMultipliers[i];
  // This shuffle is part of the game's one random sequence: its 8008 draws (j may equal i) must
  // stay exactly as they are, or every later spin of a seeded game would change.
  for (int round = 0; round < 1001; ++round) {
    for (int i = 0; i < 8; ++i) {
      const int j = state.Random.RandomInt(8);
      std::swap(state.BallPrizes[i], state.BallPrizes[j]);
    }
  }
}
