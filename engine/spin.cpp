#include "engine/spin.h"

#include "engine/bonus.h"
#include "engine/paytable.h"
#include "engine/reels.h"

bool PlaySpin(GameState& state, int blur_height, std::array<int, kReels>& offsets) {
  DrawSpinStops(state, blur_height, offsets);
  ScoreSpin(state);
  if (!TriggersBonus(state.ScatterCount)) return false;
  ShuffleBallPrizes(state);
  return true;
}
