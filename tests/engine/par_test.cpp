#include "engine/par.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/game_state.h"
#include "engine/paytable.h"
#include "engine/reels.h"

namespace {

constexpr double kCombinations = 24300000.0;  // 30^5

}  // namespace

TEST(ParTest, BonusExpectationsFollowFromSixWinnersAndTwoBombs) {
  const auto ev = BonusExpectations();
  // k picks survive with C(6,k)/C(8,k) and then hold k of the six winners, 3.5 each on average.
  EXPECT_DOUBLE_EQ(ev[1], 21.0 / 8);
  EXPECT_DOUBLE_EQ(ev[2], 15.0 / 28 * 7);
  EXPECT_DOUBLE_EQ(ev[3], 20.0 / 56 * 10.5);
  EXPECT_DOUBLE_EQ(ev[4], 15.0 / 70 * 14);
  EXPECT_DOUBLE_EQ(ev[5], 6.0 / 56 * 17.5);
  EXPECT_DOUBLE_EQ(ev[6], 21.0 / 28);  // all six winners before either bomb
}

TEST(ParTest, ScatterFiguresFollowFromOneFifthPerReel) {
  // Every reel shows its piece at 6 of its 30 stops.
  const double p = 0.2, q = 0.8;
  const double three = 10 * p * p * p * q * q, four = 5 * p * p * p * p * q, five = std::pow(p, 5);
  for (int lines : {1, 9}) {
    const ParFigures par = ComputePar(lines, 1);
    EXPECT_NEAR(par.bonus_trigger_probability, three + four + five, 1e-15);
    EXPECT_NEAR(par.scatter_rtp, 5 * three + 25 * four + 100 * five, 1e-15);
  }
}

TEST(ParTest, JackpotNeedsThePiecesOnABetPayline) {
  // Each reel shows its piece in a given row at 2 of 30 stops; the lines exclude each other.
  for (int lines : {1, 3, 5, 7, 9}) {
    EXPECT_NEAR(ComputePar(lines, 1).jackpot_probability, lines / std::pow(15.0, 5), 1e-18);
  }
}

TEST(ParTest, LineReturnIsTheSameForEveryBet) {
  // 2366129 / 2430000 was computed once by an independent implementation of the pay table.
  for (int lines : {1, 3, 5, 7, 9}) {
    for (int per_line : {1, 10}) {
      EXPECT_DOUBLE_EQ(ComputePar(lines, per_line).line_rtp, 2366129.0 / 2430000.0);
    }
  }
}

TEST(ParTest, EnumerationAgreesWithTheIndependentReturns) {
  for (int lines : {1, 5, 9}) {
    const ParFigures par = ComputePar(lines, 1);
    const StopEnumeration all = EnumerateAllStops(lines);
    EXPECT_EQ(all.combinations, 24300000);
    const double mean = static_cast<double>(all.pay_sum) / kCombinations / lines;
    EXPECT_NEAR(mean, par.line_rtp + par.scatter_rtp, 1e-12) << lines << " lines";
    EXPECT_GT(par.hit_frequency, par.bonus_trigger_probability);
    EXPECT_LT(par.hit_frequency, 1.0);
    EXPECT_GT(par.volatility, 0.0);
  }
}

TEST(ParTest, ThreadCountDoesNotChangeTheTotals) {
  const StopEnumeration one = EnumerateAllStops(7, 1);
  const StopEnumeration three = EnumerateAllStops(7, 3);
  EXPECT_EQ(one.combinations, three.combinations);
  EXPECT_EQ(one.paying, three.paying);
  EXPECT_EQ(one.pay_sum, three.pay_sum);
  EXPECT_EQ(one.pay_square_sum, three.pay_square_sum);
}

TEST(ParTest, EnumerationMatchesScoringEverySpinOneByOne) {
  // The slow, obvious way: every stop combination through the game's own ScoreSpin. All 30^5
  // would take seconds, so it covers whole slices with reel 0 fixed: a stop showing the scatter
  // piece, one wrapping past the strip's end and one showing the wild.
  GameState state;
  BuildReelStrips(state);
  for (int lines : {3, 9}) {
    for (int reel0_stop : {3, 29, 30}) {
      state.LinesBet = lines;
      state.CreditsPerLine = 1;
      int64_t paying = 0, sum = 0, squares = 0, combinations = 0;
      for (int s1 = 1; s1 <= kStripLength; ++s1)
        for (int s2 = 1; s2 <= kStripLength; ++s2)
          for (int s3 = 1; s3 <= kStripLength; ++s3)
            for (int s4 = 1; s4 <= kStripLength; ++s4) {
              state.ReelStop = {reel0_stop, s1, s2, s3, s4};
              ScoreSpin(state);
              const int64_t x = state.GamePaid;
              ++combinations;
              paying += x > 0 ? 1 : 0;
              sum += x;
              squares += x * x;
            }
      const StopEnumeration slice = EnumerateStopsWithFirstReelAt(lines, reel0_stop);
      EXPECT_EQ(slice.combinations, combinations);
      EXPECT_EQ(slice.paying, paying) << lines << " lines, reel 0 at " << reel0_stop;
      EXPECT_EQ(slice.pay_sum, sum) << lines << " lines, reel 0 at " << reel0_stop;
      EXPECT_EQ(slice.pay_square_sum, squares) << lines << " lines, reel 0 at " << reel0_stop;
    }
  }
}

TEST(ParTest, SlicesAddUpToTheWholeEnumeration) {
  StopEnumeration sum;
  for (int stop = 1; stop <= kStripLength; ++stop) {
    const StopEnumeration slice = EnumerateStopsWithFirstReelAt(9, stop);
    sum.combinations += slice.combinations;
    sum.paying += slice.paying;
    sum.pay_sum += slice.pay_sum;
    sum.pay_square_sum += slice.pay_square_sum;
  }
  const StopEnumeration all = EnumerateAllStops(9);
  EXPECT_EQ(sum.combinations, all.combinations);
  EXPECT_EQ(sum.paying, all.paying);
  EXPECT_EQ(sum.pay_sum, all.pay_sum);
  EXPECT_EQ(sum.pay_square_sum, all.pay_square_sum);
}

TEST(ParTest, BetValidation) {
  for (int lines : {1, 3, 5, 7, 9}) EXPECT_TRUE(IsValidLinesBet(lines));
  for (int lines : {0, 2, 4, 8, 10, -1}) EXPECT_FALSE(IsValidLinesBet(lines));
  for (int per_line : {1, 2, 3, 5, 10}) EXPECT_TRUE(IsValidCreditsPerLine(per_line));
  for (int per_line : {0, 4, 6, 9, 11, -1}) EXPECT_FALSE(IsValidCreditsPerLine(per_line));
}
