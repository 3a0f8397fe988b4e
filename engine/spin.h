// One spin of the game's rules, as the game, the math tool and the tests play it.
#pragma once

#include <array>

#include "engine/game_state.h"

// Three or more scatters anywhere start the bonus game.
constexpr bool TriggersBonus(int scatter_count) {
  return scatter_count >= 3;
}

// Draws the stops (and each reel's strip offset for the picture) from the game's sequence,
// scores the spin, and when it triggers the bonus game shuffles the bonus prizes. Returns
// whether the bonus game follows. Takes no stake and moves no credits.
bool PlaySpin(GameState& state, int blur_height, std::array<int, kReels>& offsets);
