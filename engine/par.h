// The game's exact math: returns, probabilities and spread, computed from the strips and the pay
// table (never sampled). Returns are per credit staked, so the credits per line only scale the
// money and drop out; the paylines bet decide which lines pay.
#pragma once

#include <array>
#include <cstdint>

struct ParFigures {
  double line_rtp = 0;                   // expected payline pay per credit staked
  double scatter_rtp = 0;                // expected scatter pay per credit staked
  double bonus_trigger_probability = 0;  // a spin shows 3 or more scatters
  double jackpot_probability = 0;        // a spin pays the jackpot on a payline that is bet
  double hit_frequency = 0;              // a spin pays anything, lines or scatter
  double volatility = 0;  // standard deviation of one spin's lines-plus-scatter pay per credit
  // [k], k = 1..6: expected bonus total in multiples of the total bet for a player who picks k
  // balls at random and then collects; [0] (collect at once) is 0.
  std::array<double, 7> bonus_ev_stop_after{};
};

// Totals over all 30^5 stop combinations, with a spin's pay counted in credits per credit bet on
// a line (line pays plus the scatter multiplier times the lines bet).
struct StopEnumeration {
  int64_t combinations = 0;
  int64_t paying = 0;  // combinations that pay anything
  int64_t pay_sum = 0;
  int64_t pay_square_sum = 0;
};

// True for the paylines counts the game offers: 1, 3, 5, 7 or 9.
constexpr bool IsValidLinesBet(int lines) {
  return lines == 1 || lines == 3 || lines == 5 || lines == 7 || lines == 9;
}
// True for the credits per line the game offers: 1, 2, 3, 5 or 10.
constexpr bool IsValidCreditsPerLine(int per_line) {
  return per_line == 1 || per_line == 2 || per_line == 3 || per_line == 5 || per_line == 10;
}

// Scores every one of the 30^5 stop combinations of the game's strips for paylines 1..linesBet
// (1..9). Exact integer totals; the work is split over `threads` threads (at least 1).
StopEnumeration EnumerateAllStops(int lines_bet, int threads = 2);

// The same totals for the 30^4 stop combinations with reel 0 at reel0Stop (1..30).
StopEnumeration EnumerateStopsWithFirstReelAt(int lines_bet, int reel0_stop);

// The expected bonus totals of ParFigures::bonus_ev_stop_after, by going through every order in
// which the eight prizes can be revealed: a bomb loses everything, the sixth winner ends the game.
std::array<double, 7> BonusExpectations();

// All figures for a bet of linesBet lines (1..9); creditsPerLine only scales and is accepted for
// symmetry with the game's bet.
ParFigures ComputePar(int lines_bet, int credits_per_line);
