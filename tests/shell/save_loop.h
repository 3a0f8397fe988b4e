// What the save loop's spins leave in the running game, for the loop and the tests that check it.
#pragma once

#include <cstdint>

#include "shell/saved_games.h"

// The five numbers after spin k: each one changes at every spin, so a section that mixed two
// spins cannot pass for either.
inline SavedGame RunningGameAfterSpin(int32_t k) {
  SavedGame game;
  game.credits = 1000 + k;
  game.borrowed = 2000 + k;
  game.spin_count = k;
  game.total_bet = 5 * k;
  game.bonus_payoffs = 7 * k;
  return game;
}
