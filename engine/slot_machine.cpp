#include "engine/slot_machine.h"

#include <algorithm>

#include "engine/money.h"
#include "engine/reels.h"
#include "engine/spin.h"

void SlotMachine::SwitchOn(std::optional<uint32_t> seed) {
  if (seed) {
    gs_.Random.SetSeed(*seed);
  } else {
    gs_.Random.SeedFromClock();
  }
  gs_.LineWon.fill(false);
  BuildReelStrips(gs_);
  ResetBet();
}

void SlotMachine::ResetBet() {
  gs_.Bet = 0;
  gs_.LastBet = 0;
  gs_.LinesBet = BetButtonValue(BetButton::kLines9);
  gs_.CreditsPerLine = BetButtonValue(BetButton::kPerLine1);
  gs_.LinesButton = ButtonNumber(BetButton::kLines9);
  gs_.CreditsButton = ButtonNumber(BetButton::kPerLine1);
}

std::string SlotMachine::Select(BetButton button) {
  const int value = BetButtonValue(button);
  if (IsLinesButton(button)) {
    gs_.LinesBet = value;
    gs_.LinesButton = ButtonNumber(button);
  } else {
    if (!CreditsCover(gs_.Credits, gs_.LinesBet, value)) {
      return CreditCheckMessage(gs_.Credits, gs_.LinesBet * value);
    }
    gs_.CreditsPerLine = value;
    gs_.CreditsButton = ButtonNumber(button);
  }
  gs_.LastBet = 0;
  return {};
}

bool SlotMachine::TakeStake() {
  return ::TakeStake(gs_);
}

bool SlotMachine::Spin(int blur_height, std::array<int, kReels>& offsets) {
  CountSpin(gs_);
  const bool bonus = PlaySpin(gs_, blur_height, offsets);
  if (bonus) OweBonusGame(gs_.BallPrizes, gs_.LinesBet * gs_.CreditsPerLine, nullptr, 0);
  return bonus;
}

void SlotMachine::RecordBonusPick(int32_t pick) {
  if (gs_.BonusBet <= 0 || gs_.BonusPickCount >= static_cast<int32_t>(gs_.BonusPicks.size())) {
    return;
  }
  gs_.BonusPicks[static_cast<size_t>(gs_.BonusPickCount++)] = pick;
}

void SlotMachine::OweBonusGame(const std::array<int32_t, 8>& prizes, int32_t bet,
                               const int32_t* picks, int32_t pick_count) {
  gs_.BonusBet = std::max(bet, 0);
  gs_.BonusPicks = {};
  gs_.BonusPickCount = 0;
  if (gs_.BonusBet == 0) return;
  gs_.BallPrizes = prizes;
  for (int32_t i = 0; i < pick_count; ++i) RecordBonusPick(picks[i]);
}

int32_t SlotMachine::PayCountUpStep() {
  return ::PayCountUpStep(gs_);
}

void SlotMachine::EndBonusGame(int32_t total) {
  gs_.BonusWin = total;
  OweBonusGame({}, 0, nullptr, 0);
}

void SlotMachine::PayBonusWin() {
  AddBonusWin(gs_);
}

void SlotMachine::EndSpin() {
  gs_.LastBet = gs_.Bet;
  gs_.Bet = 0;
}

GameState SlotMachine::AsCounted() const {
  GameState counted = gs_;
  counted.Credits = AddUpToLargest(counted.Credits, counted.WinToCount);
  counted.WinToCount = 0;
  return counted;
}

LoanOutcome SlotMachine::Lend(LoanMode mode, int32_t amount) {
  return ApplyLoan(gs_, mode, amount);
}

void SlotMachine::NewGame() {
  StartNewGame(gs_);
}

void SlotMachine::Restore(const GameMoney& money) {
  gs_.Credits = money.credits;
  gs_.Borrowed = money.borrowed;
  gs_.SpinCount = money.spin_count;
  gs_.TotalBet = money.total_bet;
  gs_.BonusPayoffs = money.bonus_payoffs;
}
