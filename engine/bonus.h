// The bonus game's rules: the prizes behind its eight balls, how they are shuffled, and what a
// pick, a bomb and a collect do to the bonus total.
#pragma once

#include <array>
#include <cstdint>

#include "engine/game_state.h"

inline constexpr int kBonusBalls = 8;
// The sixth winner is the last one there is: picking it ends the game.
inline constexpr int kBonusWinners = 6;

// The multipliers before the shuffle: six winners (sum 21) and two bombs (0).
inline constexpr std::array<int, kBonusBalls> kBallMultipliers{10, 5, 2, 2, 1, 1, 0, 0};

// Sets BallPrizes to the multipliers above, then shuffles them with 1001 rounds of: for i = 0..7,
// swap entries i and RandomInt(8). Draws exactly 8008 numbers from the game's sequence.
void ShuffleBallPrizes(GameState& state);

// One bonus game. A pick reveals a ball's multiplier: a winner adds multiplier x lines bet x
// credits per line (the whole bet of the spin that started the game) to the total, a bomb
// loses the whole total and ends the game, and the sixth winner ends it keeping the total.
// Collecting ends it keeping the total. Nothing can be picked once the game is over.
class BonusGame {
 public:
  enum class Outcome {
    kIgnored,     // the ball was picked before, or the game is over
    kWinner,      // a prize was added; the game goes on
    kLastWinner,  // the sixth winner: its prize was added and the game is over
    kBomb,        // the total is lost and the game is over
  };
  struct PickResult {
    Outcome outcome = Outcome::kIgnored;
    int32_t prize = 0;  // credits the pick added
  };

  BonusGame(const std::array<int32_t, kBonusBalls>& prizes, int lines_bet, int credits_per_line);

  // Picks ball 0..7; any other ball is ignored.
  PickResult Pick(int ball);
  // Ends the game keeping the total.
  void Collect();

  bool Over() const { return over_; }
  int32_t Total() const { return total_; }
  // Balls picked so far; once the game is over every ball counts as picked.
  int PickCount() const { return over_ ? kBonusBalls : picks_; }
  bool Picked(int ball) const { return ball >= 0 && ball < kBonusBalls && picked_[ball]; }
  // The credits ball 0..7 adds when picked (0 for a bomb, and for any other ball).
  int32_t Prize(int ball) const {
    return ball >= 0 && ball < kBonusBalls ? prizes_[ball] * bet_ : 0;
  }

 private:
  std::array<int32_t, kBonusBalls> prizes_;
  std::array<bool, kBonusBalls> picked_{};
  int32_t bet_;
  int32_t total_ = 0;
  int picks_ = 0;
  bool over_ = false;
};
