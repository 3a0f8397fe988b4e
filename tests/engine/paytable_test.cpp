#include "engine/paytable.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/game_state.h"
#include "engine/reels.h"

namespace {

constexpr int kW = kWild;
constexpr int kA = kSymbolA, kB = kSymbolB, kC = kSymbolC, kD = kSymbolD, kE = kSymbolE,
              kF = kSymbolF, kG = kSymbolG, kH = kSymbolH, kI = kSymbolI, kJ = kSymbolJ,
              kK = kSymbolK, kL = kSymbolL;

struct LineCase {
  std::array<int, kReels> symbols;
  int pays;
  int match;
};

using Window = std::array<std::array<int, kRows>, kReels>;

// A window in which no payline pays: neighbouring reels share no symbol and none of these
// symbols pays on its own.
constexpr Window kBlankWindow{
    {{kG, kH, kK}, {kA, kB, kC}, {kG, kH, kK}, {kA, kB, kC}, {kG, kH, kK}}};

// A state whose reels show `window` (each reel's strip starts with its column, stop 1).
GameState StateShowing(const Window& window, int lines_bet, int credits_per_line) {
  GameState state;
  BuildReelStrips(state);
  for (int r = 0; r < kReels; ++r) {
    for (int row = 0; row < kRows; ++row) state.ReelStrip[r][1 + row] = window[r][row];
    state.ReelStop[r] = 1;
  }
  state.LinesBet = lines_bet;
  state.CreditsPerLine = credits_per_line;
  return state;
}

LineScore FirstRuleThatHolds(const std::array<int, kReels>& symbols) {
  for (const PayRule& rule : kPayTable) {
    if (RuleHolds(rule, symbols)) return {rule.pays, rule.count};
  }
  return {};
}

}  // namespace

TEST(PayTableTest, OrderOfTheRulesDecides) {
  const std::vector<LineCase> cases = {
      // Wilds on their own.
      {{kW, kW, kW, kW, kW}, 2500, 5},
      {{kW, kW, kW, kW, kK}, 2000, 4},
      {{kW, kW, kW, kW, 9}, 2000, 4},
      {{kW, kW, kW, kW, kI}, 2500, 5},
      {{kW, kW, kW, kW, kJ}, 2500, 5},
      {{kW, kW, kW, kW, kG}, 2000, 4},
      // Three wilds pay as 3 x I unless a better combination comes first in the table.
      {{kW, kW, kW, kB, kC}, 120, 3},
      {{kW, kW, kW, kA, kA}, 500, 5},
      {{kW, kW, kW, kD, kD}, 150, 5},
      {{kW, kW, kW, kG, kG}, 120, 3},
      {{kW, kW, kW, kH, kH}, 120, 3},
      {{kW, kW, kW, kL, kB}, 250, 4},
      {{kW, kW, kW, kL, kL}, 1000, 5},
      // Two leading wilds pay 25 unless a rule of 25 or more holds.
      {{kW, kW, kB, kB, kK}, 50, 4},
      {{kW, kW, kB, kK, kK}, 25, 2},
      {{kW, kW, kG, kG, kK}, 25, 2},
      {{kW, kW, kA, kK, kK}, 40, 3},
      {{kW, kW, kK, kK, kK}, 1000, 5},
      // A leading wild pays 2 with match 1, also before 2 x F.
      {{kW, kF, kB, kC, kD}, 2, 1},
      {{kF, kW, kB, kC, kD}, 2, 2},
      {{kW, kB, kC, kD, kE}, 2, 1},
      {{kW, kI, kB, kC, kD}, 5, 2},
      // Ordinary lines.
      {{kK, kB, kC, kD, kE}, 0, 0},
      {{kI, kB, kC, kD, kE}, 1, 1},
      {{kJ, kB, kC, kD, kE}, 1, 1},
      {{kI, kI, kI, kI, kI}, 2500, 5},
      {{kI, kI, kW, kI, kB}, 500, 4},
      {{kL, kL, kL, kL, kL}, 1000, 5},
      {{kA, kA, kA, kA, kA}, 500, 5},
      {{kA, kA, kW, kA, kB}, 75, 4},
      {{kA, kA, kB, kA, kA}, 0, 0},
      {{kG, kG, kG, kG, kG}, 100, 5},
      {{kG, kG, kG, kB, kG}, 5, 3},
      {{kG, kG, kB, kG, kG}, 0, 0},
      {{kF, kF, kB, kF, kF}, 2, 2},
      {{kF, kF, kF, kF, kF}, 120, 5},
      {{kE, kE, kE, kE, kB}, 40, 4},
      {{kB, kW, kB, kC, kC}, 10, 3},
      {{kK, kK, kC, kC, kC}, 5, 2},
      // The jackpot needs the pieces themselves; wilds never stand in for them.
      {{5, 6, 7, 8, 9}, 5000, 5},
      {{kW, 6, 7, 8, 9}, 2, 1},
      {{5, 6, 7, 8, kW}, 0, 0},
      {{5, kW, kW, kW, kW}, 0, 0},
      {{6, 5, 7, 8, 9}, 0, 0},
  };
  for (const LineCase& c : cases) {
    const LineScore score = ScoreLine(c.symbols);
    EXPECT_EQ(score.pays, c.pays) << ::testing::PrintToString(c.symbols);
    EXPECT_EQ(score.match, c.match) << ::testing::PrintToString(c.symbols);
  }
}

TEST(PayTableTest, TableByPaysAgreesWithTheTableBySymbol) {
  // The same pay table read by symbol: the pay of n x S for n = 5..1 (0: no rule).
  struct BySymbol {
    int symbol;
    std::array<int, 5> pays;  // for 5, 4, 3, 2, 1
  };
  const BySymbol rows[] = {
      {kI, {2500, 500, 120, 5, 1}}, {kJ, {2500, 500, 120, 5, 1}}, {kK, {1000, 250, 100, 5, 0}},
      {kL, {1000, 250, 100, 5, 0}}, {kA, {500, 75, 40, 0, 0}},    {kB, {200, 50, 10, 0, 0}},
      {kC, {200, 50, 10, 0, 0}},    {kD, {150, 40, 10, 0, 0}},    {kE, {150, 40, 10, 0, 0}},
      {kF, {120, 20, 5, 2, 0}},     {kG, {100, 20, 5, 0, 0}},     {kH, {100, 20, 5, 0, 0}},
  };
  for (const BySymbol& row : rows) {
    for (int n = 5; n >= 1; --n) {
      std::array<int, kReels> symbols{};
      // n of the symbol, then a breaker that continues no run (a scatter piece).
      for (int r = 0; r < kReels; ++r) symbols[r] = r < n ? row.symbol : kFirstScatter + r;
      const LineScore score = ScoreLine(symbols);
      EXPECT_EQ(score.pays, row.pays[5 - n]) << n << " x symbol " << row.symbol;
      EXPECT_EQ(score.match, row.pays[5 - n] > 0 ? n : 0) << n << " x symbol " << row.symbol;
    }
  }
}

TEST(PayTableTest, ScoringAgreesWithTryingEveryRuleInOrder) {
  // Every line over an alphabet that holds every kind of symbol the rules tell apart.
  const int alphabet[] = {kW, 5, 6, 7, 8, 9, kA, kB, kF, kG, kI, kJ, kK, kL};
  std::array<int, kReels> s{};
  int checked = 0;
  for (int a : alphabet)
    for (int b : alphabet)
      for (int c : alphabet)
        for (int d : alphabet)
          for (int e : alphabet) {
            s = {a, b, c, d, e};
            const LineScore fast = ScoreLine(s);
            const LineScore literal = FirstRuleThatHolds(s);
            ASSERT_EQ(fast.pays, literal.pays) << ::testing::PrintToString(s);
            ASSERT_EQ(fast.match, literal.match) << ::testing::PrintToString(s);
            ++checked;
          }
  EXPECT_EQ(checked, 14 * 14 * 14 * 14 * 14);
}

TEST(ScoreSpinTest, JackpotPaysWithTheScatterWinOnTop) {
  GameState state;
  BuildReelStrips(state);  // the start stops show 5, 6, 7, 8, 9 across the middle row
  state.LinesBet = 9;
  state.CreditsPerLine = 1;
  ScoreSpin(state);
  EXPECT_EQ(state.LineWin[1], 5000);
  EXPECT_EQ(state.LineMatch[1], 5);
  EXPECT_EQ(state.ScatterCount, 5);
  EXPECT_EQ(state.ScatterWin, 900);
  EXPECT_EQ(state.GamePaid, 5900);
  EXPECT_EQ(state.WinToCount, 5900);
  EXPECT_EQ(FirstWinToShow(state), kScatterWin);
  for (int r = 0; r < kReels; ++r) {
    EXPECT_EQ(state.ScatterPos[r + 1].reel, r);
    EXPECT_EQ(state.ScatterPos[r + 1].row, 1);
  }
}

TEST(ScoreSpinTest, JackpotOnAnyPaylinePaysTimesCreditsPerLine) {
  Window window = kBlankWindow;
  for (int r = 0; r < kReels; ++r) window[r][PaylineRow(4, r)] = kFirstScatter + r;
  GameState state = StateShowing(window, 9, 2);
  ScoreSpin(state);
  EXPECT_EQ(state.LineWin[4], 10000);
  EXPECT_EQ(state.ScatterWin, 100 * 9 * 2);
  EXPECT_EQ(state.GamePaid, 10000 + 1800);
}

TEST(ScoreSpinTest, ScattersPayOnTheTotalBetWhereverTheyStand) {
  struct Case {
    std::vector<int> reels_with_scatter;
    int lines, per_line, scatter_win;
  };
  const Case cases[] = {
      {{0, 2, 4}, 5, 2, 50},          {{1, 2, 3}, 9, 1, 45}, {{0, 1, 3, 4}, 3, 5, 375},
      {{0, 1, 2, 3, 4}, 1, 10, 1000}, {{0, 4}, 9, 10, 0},    {{3}, 9, 1, 0},
  };
  for (const Case& c : cases) {
    Window window = kBlankWindow;
    for (int r : c.reels_with_scatter) window[r][(r * 2) % kRows] = kFirstScatter + r;
    GameState state = StateShowing(window, c.lines, c.per_line);
    ScoreSpin(state);
    EXPECT_EQ(state.ScatterCount, static_cast<int>(c.reels_with_scatter.size()));
    EXPECT_EQ(state.ScatterWin, c.scatter_win);
    EXPECT_EQ(state.GamePaid, c.scatter_win);
    EXPECT_EQ(FirstWinToShow(state), c.scatter_win > 0 ? kScatterWin : -1);
  }
}

TEST(ScoreSpinTest, RecordsScattersInReelThenRowOrder) {
  Window window = kBlankWindow;
  window[0][2] = 5;
  window[2][0] = 7;
  window[4][1] = 9;
  GameState state = StateShowing(window, 9, 1);
  ScoreSpin(state);
  ASSERT_EQ(state.ScatterCount, 3);
  EXPECT_EQ(state.ScatterPos[1].reel, 0);
  EXPECT_EQ(state.ScatterPos[1].row, 2);
  EXPECT_EQ(state.ScatterPos[2].reel, 2);
  EXPECT_EQ(state.ScatterPos[2].row, 0);
  EXPECT_EQ(state.ScatterPos[3].reel, 4);
  EXPECT_EQ(state.ScatterPos[3].row, 1);
}

TEST(ScoreSpinTest, PaylinesNotBetAreScoredButPayNothing) {
  Window window = kBlankWindow;
  // 3 x I on payline 7 (rows 2, 2, 1); it also gives 2 x I on payline 3 and 1 x I on payline 5.
  window[0][2] = kI;
  window[1][2] = kI;
  window[2][1] = kI;
  GameState state = StateShowing(window, 5, 1);
  ScoreSpin(state);
  EXPECT_EQ(state.LineWin[7], 0);
  EXPECT_FALSE(state.LineWon[7]);
  EXPECT_EQ(state.LineMatch[7], 3);
  EXPECT_EQ(state.LineWin[3], 5);
  EXPECT_EQ(state.LineWin[5], 1);
  EXPECT_EQ(FirstWinToShow(state), 3);  // the lowest paying payline when no scatter pays
  EXPECT_EQ(state.GamePaid, 6);

  state.LinesBet = 7;
  state.CreditsPerLine = 3;
  ScoreSpin(state);
  EXPECT_EQ(state.LineWin[7], 360);
  EXPECT_TRUE(state.LineWon[7]);
  EXPECT_EQ(state.GamePaid, 360 + 15 + 3);
  EXPECT_EQ(state.WinToCount, state.GamePaid);
}

TEST(ScoreSpinTest, NoWinLeavesNothingOfThePreviousSpin) {
  GameState state = StateShowing(kBlankWindow, 9, 1);
  state.LineWon.fill(true);
  state.LineWin.fill(77);
  state.LineMatch.fill(4);
  state.ScatterCount = 4;
  state.ScatterWin = 225;
  state.GamePaid = 500;
  state.WinToCount = 12;
  state.BonusWin = 189;
  ScoreSpin(state);
  for (int n = 1; n <= kPaylines; ++n) {
    EXPECT_FALSE(state.LineWon[n]);
    EXPECT_EQ(state.LineWin[n], 0);
    EXPECT_EQ(state.LineMatch[n], 0);
  }
  EXPECT_EQ(state.ScatterCount, 0);
  EXPECT_EQ(state.ScatterWin, 0);
  EXPECT_EQ(state.GamePaid, 0);
  EXPECT_EQ(state.WinToCount, 0);
  EXPECT_EQ(state.BonusWin, 0);
  EXPECT_EQ(FirstWinToShow(state), -1);
}

TEST(ScoreSpinTest, FillsTheWindowFromTheStopsWithoutDrawingRandomNumbers) {
  GameState state;
  BuildReelStrips(state);
  state.LinesBet = 9;
  state.CreditsPerLine = 1;
  state.ReelStop = {29, 30, 1, 15, 28};
  state.Random.SetSeed(31337);
  ScoreSpin(state);
  EXPECT_EQ(state.Random.Seed(), 31337u);
  for (int r = 0; r < kReels; ++r)
    for (int row = 0; row < kRows; ++row)
      EXPECT_EQ(state.ReelWindow[r][row],
                state.ReelStrip[r][StripPosition(state.ReelStop[r], row)]);
}
