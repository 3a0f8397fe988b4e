// SlotMachine: the machine's rules over the game's data. The bet, the stake, the last bet, the
// count-up and the money change here and nowhere else; the screen, the side windows and the
// saved games read the data through State(). The machine keeps no data of its own, so any number
// of them may stand for one game's data.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/bet.h"
#include "engine/game_state.h"
#include "engine/loans.h"

// A game's money and statistics: what a saved game holds.
struct GameMoney {
  int32_t credits = kStartingCredits;
  int32_t borrowed = kStartingCredits;
  int32_t spin_count = 0;
  int32_t total_bet = 0;
  int32_t bonus_payoffs = 0;
};

class SlotMachine {
 public:
  explicit SlotMachine(GameState& state) : gs_(state) {}

  const GameState& State() const { return gs_; }

  // The machine as it is switched on: the random sequence seeded (from the time of day without a
  // seed), the reel strips built at their start stops, no win lit, and the bet of every start.
  void SwitchOn(std::optional<uint32_t> seed);
  // The bet of every start: 9 lines at 1 credit per line, their buttons lit, no stake in play and
  // none to play again.
  void ResetBet();

  // A bet button: its lines or credits per line are selected, it is lit, and the last bet is
  // forgotten, so that the next spin stakes the selection. A credits button whose stake the
  // credits do not cover is refused: the text to show comes back and nothing changes. Returns ""
  // when the choice stands.
  std::string Select(BetButton button);
  // The stake of the selection, lines x credits per line: what the bet meter shows meanwhile.
  int32_t Selection() const { return gs_.LinesBet * gs_.CreditsPerLine; }

  // A spin request: the stake is taken from the credits (see TakeStake in bet.h). False, nothing
  // taken, when there is none. Bet then holds the stake until EndSpin.
  bool TakeStake();
  // The staked spin: counted in the statistics, its stops drawn (each reel's strip offset for the
  // picture into offsets) and scored. True when the bonus game follows: it is owed from now on,
  // at the stake of this spin, until EndBonusGame.
  bool Spin(int blur_height, std::array<int, kReels>& offsets);
  // A pick (ball 0..7) or the collect (kBonusCollect) in the owed bonus game, kept with it so that
  // the game can be played on from there after the program ends. Ignored when none is owed or
  // the record is full.
  void RecordBonusPick(int32_t pick);
  // Puts an owed bonus game in place, as the running game kept it: prizes as drawn, the bet, and
  // the picks made. A bet of 0 owes none.
  void OweBonusGame(const std::array<int32_t, 8>& prizes, int32_t bet, const int32_t* picks,
                    int32_t pick_count);
  // Moves the next step of the win still to count into the credits and returns it; 0 once
  // nothing is left.
  int32_t PayCountUpStep();
  // The bonus game has ended with total credits won; it stays in BonusWin until paid, and is
  // owed no more.
  void EndBonusGame(int32_t total);
  // The bonus game's win becomes the win to count and joins the spin's and the game's payoffs.
  void PayBonusWin();
  // The spin is over: its stake becomes the last bet, staked again by the next spin request.
  void EndSpin();
  // The game as it will stand once the win still to count is in the credits.
  GameState AsCounted() const;

  // Borrows or pays back amount (see ApplyLoan in loans.h).
  LoanOutcome Lend(LoanMode mode, int32_t amount);
  // The money of a new game (see StartNewGame).
  void NewGame();
  // The money of a saved game.
  void Restore(const GameMoney& money);

 private:
  GameState& gs_;
};
