// The game variables: one object for the life of the process, handed to the main window. The
// screen and the windows read it; only the rules (SlotMachine in engine/slot_machine.h, and the
// functions it plays by) write it. Names follow the game's own vocabulary so that rules, drawing
// and tests speak the same language.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/random.h"

// Reels 0..4 from the left, rows 0..2 from the top, paylines 1..9, strip positions 1..30.
inline constexpr int kReels = 5;
inline constexpr int kRows = 3;
inline constexpr int kPaylines = 9;
inline constexpr int kStripLength = 30;
// A presented win 1..9 is a payline; this one is the scatter win.
inline constexpr int kScatterWin = 10;

struct ScatterCell {
  int16_t reel = 0;
  int16_t row = 0;
};

struct GameState {
  // NOLINTBEGIN(readability-identifier-naming): the game's own vocabulary
  // The game's one random sequence (spin stops, strip offsets, bonus shuffle).
  RandomGenerator Random;

  // Money and statistics.
  int32_t Credits = 0;
  int32_t Borrowed = 0;
  int32_t SpinCount = 0;
  int32_t TotalBet = 0;
  int32_t BonusPayoffs = 0;

  // Bet.
  int32_t LinesBet = 0;
  int32_t CreditsPerLine = 0;
  int32_t LinesButton = 0;
  int32_t CreditsButton = 0;
  int32_t Bet = 0;
  int32_t LastBet = 0;

  // Reels: ReelStrip[r][1..30] (index 0 unused), ReelStop[r] in 1..30,
  // ReelWindow[r][row] the codes visible after the last evaluation.
  std::array<std::array<int32_t, kStripLength + 1>, kReels> ReelStrip{};
  std::array<int32_t, kReels> ReelStop{};
  std::array<std::array<int32_t, kRows>, kReels> ReelWindow{};

  // Result of the last spin; payline arrays are indexed 1..9 (index 0 unused).
  std::array<int32_t, kPaylines + 1> LineWin{};
  std::array<int32_t, kPaylines + 1> LineMatch{};
  std::array<bool, kPaylines + 1> LineWon{};
  int32_t ScatterCount = 0;
  std::array<ScatterCell, kReels + 1> ScatterPos{};  // 1..ScatterCount, in reel order
  int32_t ScatterWin = 0;
  int32_t GamePaid = 0;
  int32_t WinToCount = 0;
  int32_t BonusWin = 0;
  std::array<int32_t, 8> BallPrizes{};
  // A bonus game won and not yet ended, kept with the running game from the press that won it:
  // the bet its prizes multiply (0 when none is owed) and what the player did in it so far, in
  // order (balls 0..7, kBonusCollect for a collect).
  int32_t BonusBet = 0;
  std::array<int32_t, 9> BonusPicks{};
  int32_t BonusPickCount = 0;
  // NOLINTEND(readability-identifier-naming)
};

// In BonusPicks: the player collected.
inline constexpr int32_t kBonusCollect = 8;

// A new game's money: the credits a player starts with, all of them counted as borrowed.
inline constexpr int32_t kStartingCredits = 1000;

// Puts the money and statistics of a new game in place: kStartingCredits credits, all borrowed,
// nothing bet, no spins, no bonus payoffs.
inline void StartNewGame(GameState& state) {
  state.Credits = kStartingCredits;
  state.Borrowed = kStartingCredits;
  state.TotalBet = 0;
  state.SpinCount = 0;
  state.BonusPayoffs = 0;
}
