#include "engine/bet.h"

bool TakeStake(GameState& state) {
  state.Bet = 0;
  const int selection = state.LinesBet * state.CreditsPerLine;
  if (state.LastBet > 0 && state.Credits >= state.LastBet) {
    state.Bet = state.LastBet;
  } else if (state.Credits >= selection) {
    state.Bet = selection;
  }
  // A selection of 0 lines or credits stakes nothing; it must not count as a spin.
  if (state.Bet <= 0) {
    state.Bet = 0;
    return false;
  }
  state.Credits -= state.Bet;
  return true;
}

std::string CreditCheckMessage(int credits, int stake) {
  return "You have " + std::to_string(credits) + ", but you tried to bet " + std::to_string(stake) +
         " credits.  You cannot bet more credits than you have.  Borrow some credits or place a "
         "smaller bet.";
}
