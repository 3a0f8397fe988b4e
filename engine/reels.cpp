#include "engine/reels.h"

void BuildReelStrips(GameState& state) {
  for (int r = 0; r < kReels; ++r) {
    state.ReelStrip[r][0] = 0;
    for (int k = 1; k <= kStripLength; ++k) {
      state.ReelStrip[r][k] = DecodeStripChar(kStripTexts[r][k - 1]);
    }
    state.ReelStop[r] = kStartStops[r];
  }
}

void FillReelWindow(GameState& state) {
  for (int r = 0; r < kReels; ++r) {
    for (int row = 0; row < kRows; ++row) {
      state.ReelWindow[r][row] = state.ReelStrip[r][StripPosition(state.ReelStop[r], row)];
    }
  }
}

void DrawSpinStops(GameState& state, int blur_height, std::array<int, kReels>& offsets) {
  // The order offset, stop, offset, stop ... is part of the game: a seed names a whole sequence
  // of spins only while every draw happens at the same place in the sequence. Reordering these
  // draws, or adding one, would change every spin of every recorded seed, the math tool's
  // replays and the pinned tests. The offset is drawn even though it only moves the picture.
  for (int r = 0; r < kReels; ++r) {
    offsets[r] = state.Random.RandomInt(blur_height);
    state.ReelStop[r] = state.Random.RandomInt(kStripLength) + 1;
  }
}
