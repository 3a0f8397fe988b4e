// The money of a game: counters at the edge of their 32-bit range, and a long game played by the
// rules in which every credit paid is accounted for after every spin.
#include "engine/money.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "engine/bet.h"
#include "engine/bonus.h"
#include "engine/loans.h"
#include "engine/reels.h"
#include "engine/scale.h"
#include "engine/slot_machine.h"
#include "engine/spin.h"
#include "engine/statistics.h"

namespace {

constexpr int32_t kMax = kLargestAmount;

// Counts a whole win into the credits the way the count-up does, step by step.
int64_t CountUpWholeWin(GameState& s) {
  int64_t paid = 0;
  int steps = 0;
  while (s.WinToCount > 0) {
    const int32_t step = PayCountUpStep(s);
    EXPECT_GT(step, 0);
    paid += step;
    if (++steps > 1'000'000) break;  // a count-up that never ends is a fault, not a hang
  }
  EXPECT_EQ(PayCountUpStep(s), 0);
  return paid;
}

TEST(MoneyAtTheLimit, WinsStakesAndStatisticsStopAtTheLargestAmount) {
  struct Case {
    const char* path;
    int32_t before;
    int32_t amount;
    int32_t after;
  };
  // The win is counted into Credits, the stake into TotalBet, the spin into SpinCount and the
  // bonus into BonusPayoffs; each row is run through every one of those paths.
  const Case cases[] = {
      {"far below", 1000, 90, 1090},
      {"exactly reaching", kMax - 90, 90, kMax},
      {"one past", kMax - 89, 90, kMax},
      {"at the limit", kMax, 90, kMax},
      {"negative from an edited save", -50, 90, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    GameState win;
    win.Credits = c.before;
    win.WinToCount = c.amount;
    EXPECT_EQ(CountUpWholeWin(win), c.amount);  // every step of the count-up still runs
    EXPECT_EQ(win.Credits, c.after);
    EXPECT_EQ(win.WinToCount, 0);

    GameState stake;
    stake.TotalBet = c.before;
    stake.SpinCount = c.before;
    stake.Bet = c.amount;
    CountSpin(stake);
    EXPECT_EQ(stake.TotalBet, c.after);
    EXPECT_EQ(stake.SpinCount, c.before == kMax ? kMax : c.before + 1);
    EXPECT_EQ(stake.Bet, c.amount);  // the spin plays with its whole stake

    GameState bonus;
    bonus.BonusPayoffs = c.before;
    bonus.GamePaid = 10;
    bonus.BonusWin = c.amount;
    AddBonusWin(bonus);
    EXPECT_EQ(bonus.BonusPayoffs, c.after);
    EXPECT_EQ(bonus.GamePaid, 10 + c.amount);
    EXPECT_EQ(bonus.WinToCount, c.amount);
  }
}

// The heap and resident memory of this process, in KiB, from the kernel's view.
long ResidentKiB() {
  long pages_total = 0;
  long pages_resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  if (std::fscanf(statm, "%ld %ld", &pages_total, &pages_resident) != 2) pages_resident = 0;
  std::fclose(statm);
  return pages_resident * 4;
}

// ZELMAR_SOAK_SPINS sets the length of the long game (5000 unless set).
int SoakSpins() {
  const char* value = std::getenv("ZELMAR_SOAK_SPINS");
  const int spins = value ? std::atoi(value) : 0;
  return spins > 0 ? spins : 5000;
}

// A player who bets at random, borrows when short, pays back when flush, and plays the bonus
// game by random picks, sometimes collecting early. Everything the game pays is tallied here
// from the spin's own results, apart from the meters.
TEST(LongPlay, EveryCreditPaidIsAccountedForAfterEverySpin) {
  const int spins = SoakSpins();
  constexpr int kWidth = 1024;
  const int blur_height = ScaleAt(kWidth, 912);

  GameState s;
  s.Random.SetSeed(20261207);
  BuildReelStrips(s);
  s.Credits = 1000;
  s.Borrowed = 1000;
  s.LinesBet = 9;
  s.CreditsPerLine = 1;
  SlotMachine machine(s);
  std::mt19937 player(17);
  auto chance = [&](int one_in) { return player() % one_in == 0; };

  int64_t paid = 0;
  int64_t bonus_paid = 0;
  int64_t staked = 0;
  int bonus_games = 0;
  long resident_after_warm_up = 0;
  const auto start = std::chrono::steady_clock::now();
  std::array<int, kReels> offsets{};

  for (int n = 1; n <= spins; ++n) {
    if (n == 1 || chance(3)) {  // a new selection; otherwise the last stake is played again
      s.LinesBet = BetButtonValue(NumberedButton(1 + static_cast<int>(player() % 5)));
      s.CreditsPerLine = BetButtonValue(NumberedButton(6 + static_cast<int>(player() % 5)));
      s.LastBet = 0;
    }
    if (!CreditsCover(s.Credits, s.LinesBet, s.CreditsPerLine) || s.Credits < s.LastBet) {
      ASSERT_EQ(ApplyLoan(s, LoanMode::kBorrow, 1000), LoanOutcome::kDone);
    } else if (s.Credits > 20000 && s.Borrowed >= 5000 && chance(10)) {
      ASSERT_EQ(ApplyLoan(s, LoanMode::kPayBack, 5000), LoanOutcome::kDone);
    }

    const int32_t credits_before = s.Credits;
    ASSERT_TRUE(machine.TakeStake()) << "spin " << n;
    ASSERT_EQ(s.Credits, credits_before - s.Bet);
    staked += s.Bet;
    const bool bonus = machine.Spin(blur_height, offsets);

    int64_t spin_won = s.ScatterWin;
    for (int line = 1; line <= kPaylines; ++line) spin_won += s.LineWin[line];
    ASSERT_EQ(s.GamePaid, spin_won) << "spin " << n;
    ASSERT_EQ(CountUpWholeWin(s), spin_won);

    if (bonus) {
      ++bonus_games;
      BonusGame game(s.BallPrizes, s.LinesBet, s.CreditsPerLine);
      int64_t picked = 0;
      while (!game.Over()) {
        if (game.PickCount() > 0 && chance(8)) {
          game.Collect();
          break;
        }
        const BonusGame::PickResult pick = game.Pick(static_cast<int>(player() % kBonusBalls));
        picked += pick.prize;
        if (pick.outcome == BonusGame::Outcome::kBomb) picked = 0;
      }
      ASSERT_EQ(game.Total(), picked);
      machine.EndBonusGame(game.Total());
      machine.PayBonusWin();
      ASSERT_EQ(CountUpWholeWin(s), s.BonusWin);
      spin_won += s.BonusWin;
      bonus_paid += s.BonusWin;
    }
    paid += spin_won;
    machine.EndSpin();

    ASSERT_EQ(int64_t{s.Credits} - s.Borrowed + s.TotalBet, paid) << "spin " << n;
    ASSERT_EQ(ComputeStatistics(s).payoffs, paid);
    ASSERT_EQ(ComputeStatistics(s).normal_payoffs, paid - bonus_paid);
    ASSERT_EQ(s.TotalBet, staked);
    ASSERT_EQ(s.SpinCount, n);
    ASSERT_EQ(s.BonusPayoffs, bonus_paid);
    ASSERT_GE(s.Credits, 0);
    ASSERT_GT(s.Borrowed, 0);
    if (n == spins / 10) resident_after_warm_up = ResidentKiB();
  }

  const long resident_at_end = ResidentKiB();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "long play: %d spins, %d bonus games, %.1f s, resident %ld KiB after %d spins, "
      "%ld KiB at the end; credits %d, borrowed %d, total bet %d, bonus payoffs %d\n",
      spins, bonus_games, seconds, resident_after_warm_up, spins / 10, resident_at_end, s.Credits,
      s.Borrowed, s.TotalBet, s.BonusPayoffs);
  EXPECT_GT(bonus_games, spins / 100);
  // The rules allocate nothing per spin: the resident size stays where it was after warming up
  // (a page or two of slack for the C library's buffers).
  EXPECT_LE(resident_at_end - resident_after_warm_up, 256) << "KiB grown";
}

}  // namespace
