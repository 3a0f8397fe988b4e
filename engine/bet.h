// The pure rules of betting: button values, the stake of a spin request and the refusal texts.
#pragma once

#include <string>

#include "engine/game_state.h"

inline constexpr int kMaxStake = 90;  // 9 lines at 10 credits, the max-bet button's stake
inline constexpr const char* kNoBetMessage = "No bet was placed!";

// Lines buttons are 1..5, credits-per-line buttons 6..10.
constexpr bool IsLinesButton(int button) {
  return button >= 1 && button <= 5;
}
constexpr bool IsCreditsButton(int button) {
  return button >= 6 && button <= 10;
}

// The value a bet button sets: paylines 1, 3, 5, 7, 9 for buttons 1..5, credits per line
// 1, 2, 3, 5, 10 for buttons 6..10; 0 for any other button.
constexpr int BetButtonValue(int button) {
  constexpr int kValues[11] = {0, 1, 3, 5, 7, 9, 1, 2, 3, 5, 10};
  return button >= 1 && button <= 10 ? kValues[button] : 0;
}

// Takes the stake for a spin request. With no stake set yet (Bet 0) it re-stakes LastBet when
// that is set and covered, else LinesBet x CreditsPerLine when covered, and deducts it from
// Credits. A stake already set (by a credits button) is left alone. Returns whether a stake was
// taken now; afterwards Bet > 0 means the spin goes ahead, Bet 0 that kNoBetMessage is due and
// nothing was deducted.
bool TakeStake(GameState& state);

// True when the credits cover a bet of lines x perLine.
constexpr bool CreditsCover(int credits, int lines, int per_line) {
  return static_cast<long long>(credits) >= static_cast<long long>(lines) * per_line;
}

// What a bet button asks for: the paylines and credits per line it leaves selected, or, for a
// credits button whose stake the credits do not cover, the refusal to show (and nothing changes).
// A lines button is never refused. Any other button selects what is selected now.
struct BetChoice {
  int lines = 0;
  int per_line = 0;
  std::string refusal;  // empty when the choice stands
};
BetChoice ChooseBet(const GameState& state, int button);

// Whether the max-bet button may stake kMaxStake: with fewer credits it does nothing.
constexpr bool CanBetMax(int credits) {
  return credits >= kMaxStake;
}

// The refusal shown when a credits button asks for more than the credits: "You have <credits>,
// but you tried to bet <stake> credits.  You cannot bet ...", with two blanks after each stop.
std::string CreditCheckMessage(int credits, int stake);
