// The pure rules of betting: button values, the stake of a spin request and the refusal texts.
#pragma once

#include <string>

#include "engine/game_state.h"

inline constexpr int kMaxStake = 90;  // 9 lines at 10 credits, the max-bet button's stake
inline constexpr const char* kNoBetMessage = "No bet was placed!";

// The ten bet buttons, numbered 1..10 from the left as the cabinet shows them: the first five
// choose the paylines, the last five the credits per line.
enum class BetButton {
  kLines1 = 1,
  kLines3,
  kLines5,
  kLines7,
  kLines9,
  kPerLine1,
  kPerLine2,
  kPerLine3,
  kPerLine5,
  kPerLine10,
};
inline constexpr int kBetButtons = 10;

// The button's place 1..10 on the cabinet, and the button at place 1..10.
constexpr int ButtonNumber(BetButton button) {
  return static_cast<int>(button);
}
constexpr BetButton NumberedButton(int number) {
  return static_cast<BetButton>(number);
}

constexpr bool IsLinesButton(BetButton button) {
  return button <= BetButton::kLines9;
}

// The value a bet button sets: paylines 1, 3, 5, 7, 9 for the lines buttons, credits per line
// 1, 2, 3, 5, 10 for the others.
constexpr int BetButtonValue(BetButton button) {
  constexpr int kValues[kBetButtons] = {1, 3, 5, 7, 9, 1, 2, 3, 5, 10};
  return kValues[ButtonNumber(button) - 1];
}

// Takes the stake of a spin request from the credits: LastBet again when it is set and covered,
// else the selection LinesBet x CreditsPerLine when covered. This is the one place a stake
// leaves the credits; Bet then holds it until the spin is over. Returns false when there is
// no stake to take (kNoBetMessage is due): nothing is deducted and Bet stays 0.
bool TakeStake(GameState& state);

// True when the credits cover a bet of lines x perLine.
constexpr bool CreditsCover(int credits, int lines, int per_line) {
  return static_cast<long long>(credits) >= static_cast<long long>(lines) * per_line;
}

// Whether the max-bet button may stake kMaxStake: with fewer credits it does nothing.
constexpr bool CanBetMax(int credits) {
  return credits >= kMaxStake;
}

// The refusal shown when a credits button asks for more than the credits: "You have <credits>,
// but you tried to bet <stake> credits.  You cannot bet ...", with two blanks after each stop.
std::string CreditCheckMessage(int credits, int stake);
