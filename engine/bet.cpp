#include "engine/bet.h"

bool TakeStake(GameState& state) {
  if (state.Bet != 0) return false;  // set by a credits button, already deducted
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

BetChoice ChooseBet(const GameState& state, int button) {
  BetChoice choice{state.LinesBet, state.CreditsPerLine, {}};
  if (IsLinesButton(button)) {
    choice.lines = BetButtonValue(button);
  } else if (IsCreditsButton(button)) {
    choice.per_line = BetButtonValue(button);
    if (!CreditsCover(state.Credits, choice.lines, choice.per_line)) {
      choice.refusal = CreditCheckMessage(state.Credits, choice.lines * choice.per_line);
    }
  }
  return choice;
}

std::string CreditCheckMessage(int credits, int stake) {
  return "You have " + std::to_string(credits) + ", but you tried to bet " + std::to_string(stake) +
         " credits.  You cannot bet more credits than you have.  Borrow some credits or place a "
         "smaller bet.";
}
