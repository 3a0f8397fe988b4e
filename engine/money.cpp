#include "engine/money.h"

#include "engine/countup.h"

void CountSpin(GameState& state) {
  state.TotalBet = AddUpToLargest(state.TotalBet, state.Bet);
  state.SpinCount = AddUpToLargest(state.SpinCount, 1);
}

int32_t PayCountUpStep(GameState& state) {
  const int32_t step = CountUpStep(state.WinToCount);
  state.Credits = AddUpToLargest(state.Credits, step);
  state.WinToCount -= step;
  return step;
}

void AddBonusWin(GameState& state) {
  state.WinToCount = state.BonusWin;
  state.GamePaid = AddUpToLargest(state.GamePaid, state.BonusWin);
  state.BonusPayoffs = AddUpToLargest(state.BonusPayoffs, state.BonusWin);
}
