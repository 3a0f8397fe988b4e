// The nine paylines, the ordered pay table and the scoring of a spin.
#pragma once

#include <array>

#include "engine/game_state.h"

// Row (0 top .. 2 bottom) used on each reel by paylines 1..9; entry 0 is payline 1.
inline constexpr std::array<std::array<int, kReels>, kPaylines> kPaylineRows{{
    {1, 1, 1, 1, 1},  // 1 middle row
    {0, 0, 0, 0, 0},  // 2 top row
    {2, 2, 2, 2, 2},  // 3 bottom row
    {0, 1, 2, 1, 0},  // 4 V
    {2, 1, 0, 1, 2},  // 5 inverted V
    {0, 0, 1, 0, 0},  // 6 top, dipping in the middle
    {2, 2, 1, 2, 2},  // 7 bottom, rising in the middle
    {1, 0, 0, 0, 1},  // 8 middle, raised over reels 1 to 3
    {1, 2, 2, 2, 1},  // 9 middle, lowered over reels 1 to 3
}};

// Row of payline n (1..9) on reel r (0..4).
constexpr int PaylineRow(int payline, int reel) {
  return kPaylineRows[payline - 1][reel];
}

// One rule of the pay table.
struct PayRule {
  enum class Kind {
    Wilds,    // the first `count` positions are all wild
    Jackpot,  // exactly the scatter pieces 5, 6, 7, 8, 9 in this order
    Symbol,   // each of the first `count` positions is `symbol` or wild
  };
  Kind kind;
  int symbol;  // line symbol code for Kind::Symbol, else 0
  int count;   // the rule's match length
  int pays;    // per credit bet on the line
};

inline constexpr int kPayRuleCount = 48;

// The pay table in the order the rules are tried; the first rule that holds decides.
extern const std::array<PayRule, kPayRuleCount> kPayTable;

// What one payline's five symbols are worth.
struct LineScore {
  int pays = 0;   // per credit bet on the line; 0 when no rule holds
  int match = 0;  // reels from the left that form the combination; 0 when no rule holds
};

// True when the rule holds for the five symbols, read from reel 0 to reel 4.
bool RuleHolds(const PayRule& rule, const std::array<int, kReels>& symbols);

// Scores five symbols against the pay table: the first rule that holds, or nothing.
LineScore ScoreLine(const std::array<int, kReels>& symbols);

// The scatter win as a multiple of the total bet: 5, 25 or 100 for 3, 4 or 5 scatters, else 0.
constexpr int ScatterMultiplier(int scatter_count) {
  return scatter_count >= 5 ? 100 : scatter_count == 4 ? 25 : scatter_count == 3 ? 5 : 0;
}

// The pure part of a spin's evaluation. Resets the previous result, fills ReelWindow from the
// stops, records the visible scatters in reel then row order in ScatterPos[1..ScatterCount],
// pays the scatters on the total bet, scores paylines 1..9 (a payline that is not bet is scored
// but pays 0), and sets LineWin, LineMatch, LineWon, WinToCount and GamePaid. Draws nothing and
// uses no randomness.
void ScoreSpin(GameState& state);

// The win the presentation shows first: kScatterWin for a scatter win, else the lowest paying
// payline, else -1 when the spin paid nothing.
int FirstWinToShow(const GameState& state);
