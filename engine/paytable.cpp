#include "engine/paytable.h"

#include "engine/reels.h"

namespace {

constexpr PayRule Wilds(int count, int pays) {
  return {PayRule::Kind::Wilds, 0, count, pays};
}
constexpr PayRule Line(int count, int symbol, int pays) {
  return {PayRule::Kind::Symbol, symbol, count, pays};
}

// Wilds never stand in for the scatter pieces: the jackpot needs the pieces themselves.
bool IsJackpotLine(const std::array<int, kReels>& symbols) {
  for (int r = 0; r < kReels; ++r) {
    if (symbols[r] != kFirstScatter + r) return false;
  }
  return true;
}

}  // namespace

// The order is the pay table itself: a short high combination must be found before a longer
// lower one (three wilds pay as 3 x I before 5 x G is tried; a leading wild pays 2 before 2 x F).
const std::array<PayRule, kPayRuleCount> kPayTable{{
    Wilds(5, 2500),
    {PayRule::Kind::Jackpot, 0, 5, 5000},
    Line(5, kSymbolI, 2500),
    Line(5, kSymbolJ, 2500),
    Wilds(4, 2000),
    Line(5, kSymbolK, 1000),
    Line(5, kSymbolL, 1000),
    Line(5, kSymbolA, 500),
    Line(4, kSymbolI, 500),
    Line(4, kSymbolJ, 500),
    Line(4, kSymbolK, 250),
    Line(4, kSymbolL, 250),
    Line(5, kSymbolB, 200),
    Line(5, kSymbolC, 200),
    Line(5, kSymbolD, 150),
    Line(5, kSymbolE, 150),
    Line(5, kSymbolF, 120),
    Line(3, kSymbolI, 120),
    Line(3, kSymbolJ, 120),
    Line(5, kSymbolG, 100),
    Line(5, kSymbolH, 100),
    Line(3, kSymbolK, 100),
    Line(3, kSymbolL, 100),
    Line(4, kSymbolA, 75),
    Line(4, kSymbolB, 50),
    Line(4, kSymbolC, 50),
    Line(4, kSymbolD, 40),
    Line(4, kSymbolE, 40),
    Line(3, kSymbolA, 40),
    Wilds(2, 25),
    Line(4, kSymbolF, 20),
    Line(4, kSymbolG, 20),
    Line(4, kSymbolH, 20),
    Line(3, kSymbolB, 10),
    Line(3, kSymbolC, 10),
    Line(3, kSymbolD, 10),
    Line(3, kSymbolE, 10),
    Line(3, kSymbolF, 5),
    Line(3, kSymbolG, 5),
    Line(3, kSymbolH, 5),
    Line(2, kSymbolI, 5),
    Line(2, kSymbolJ, 5),
    Line(2, kSymbolK, 5),
    Line(2, kSymbolL, 5),
    Wilds(1, 2),
    Line(2, kSymbolF, 2),
    Line(1, kSymbolI, 1),
    Line(1, kSymbolJ, 1),
}};

bool RuleHolds(const PayRule& rule, const std::array<int, kReels>& symbols) {
  switch (rule.kind) {
    case PayRule::Kind::Wilds:
      for (int r = 0; r < rule.count; ++r) {
        if (symbols[r] != kWild) return false;
      }
      return true;
    case PayRule::Kind::Jackpot:
      return IsJackpotLine(symbols);
    case PayRule::Kind::Symbol:
      for (int r = 0; r < rule.count; ++r) {
        if (symbols[r] != rule.symbol && symbols[r] != kWild) return false;
      }
      return true;
  }
  return false;
}

namespace {

// Every rule asks only how far from the left a run of one kind reaches: the leading wilds, the
// run of the first line symbol that is not wild (with the wilds around it), or the jackpot. So a
// line's result depends only on that shape, and the table, tried in order, is resolved once per
// shape. The result is exactly that of trying RuleHolds rule by rule.
struct LineShape {
  int wild_run = 0;    // leading wilds, 0..5
  int letter = -1;     // first symbol that is not wild, when it is a line symbol; else -1
  int letter_run = 0;  // leading positions that are `letter` or wild (wildRun when no letter)
  bool jackpot = false;
};

constexpr int kLetters = kSymbolL - kSymbolA + 1;

bool ShapeHolds(const PayRule& rule, const LineShape& shape) {
  switch (rule.kind) {
    case PayRule::Kind::Wilds:
      return shape.wild_run >= rule.count;
    case PayRule::Kind::Jackpot:
      return shape.jackpot;
    case PayRule::Kind::Symbol:
      return (rule.symbol == shape.letter ? shape.letter_run : shape.wild_run) >= rule.count;
  }
  return false;
}

// Results by [jackpot][wildRun][letter + 1][letterRun].
using ShapeTable =
    std::array<std::array<std::array<std::array<LineScore, kReels + 1>, kLetters + 1>, kReels + 1>,
               2>;

ShapeTable ResolveShapes() {
  ShapeTable table{};
  for (int jackpot = 0; jackpot < 2; ++jackpot)
    for (int wild_run = 0; wild_run <= kReels; ++wild_run)
      for (int letter = -1; letter < kLetters; ++letter)
        for (int letter_run = wild_run; letter_run <= kReels; ++letter_run) {
          const LineShape shape{wild_run, letter < 0 ? -1 : kSymbolA + letter, letter_run,
                                jackpot == 1};
          for (const PayRule& rule : kPayTable) {
            if (ShapeHolds(rule, shape)) {
              table[jackpot][wild_run][letter + 1][letter_run] = {rule.pays, rule.count};
              break;
            }
          }
        }
  return table;
}

}  // namespace

LineScore ScoreLine(const std::array<int, kReels>& symbols) {
  static const ShapeTable kTable = ResolveShapes();
  int wild_run = 0;
  while (wild_run < kReels && symbols[wild_run] == kWild) ++wild_run;
  int letter = -1;
  int letter_run = wild_run;
  if (wild_run < kReels && symbols[wild_run] >= kSymbolA && symbols[wild_run] <= kSymbolL) {
    letter = symbols[wild_run] - kSymbolA;
    const int code = symbols[wild_run];
    while (letter_run < kReels && (symbols[letter_run] == code || symbols[letter_run] == kWild)) {
      ++letter_run;
    }
  }
  const bool jackpot = IsJackpotLine(symbols);
  return kTable[jackpot ? 1 : 0][wild_run][letter + 1][letter_run];
}

void ScoreSpin(GameState& state) {
  // Nothing of the previous spin may survive into this one's presentation.
  state.LineWon.fill(false);
  state.GamePaid = 0;
  state.ScatterCount = 0;
  state.ScatterPos.fill(ScatterCell{});
  state.WinToCount = 0;
  state.BonusWin = 0;
  state.LineWin.fill(0);
  state.LineMatch.fill(0);
  state.ScatterWin = 0;

  FillReelWindow(state);

  // A reel never shows two scatter pieces, so at most five are found and ScatterPos holds them.
  for (int r = 0; r < kReels; ++r) {
    for (int row = 0; row < kRows; ++row) {
      if (IsScatter(state.ReelWindow[r][row]) && state.ScatterCount < kReels) {
        ++state.ScatterCount;
        state.ScatterPos[state.ScatterCount] = {static_cast<int16_t>(r), static_cast<int16_t>(row)};
      }
    }
  }

  state.ScatterWin = state.LinesBet * state.CreditsPerLine * ScatterMultiplier(state.ScatterCount);

  for (int n = 1; n <= kPaylines; ++n) {
    std::array<int, kReels> symbols{};
    for (int r = 0; r < kReels; ++r) symbols[r] = state.ReelWindow[r][PaylineRow(n, r)];
    const int per_line = n <= state.LinesBet ? state.CreditsPerLine : 0;
    const LineScore score = ScoreLine(symbols);
    state.LineWin[n] = score.pays * per_line;
    state.LineMatch[n] = score.match;
    state.WinToCount += state.LineWin[n];
    if (state.LineWin[n] > 0) state.LineWon[n] = true;
  }

  state.WinToCount += state.ScatterWin;
  state.GamePaid = state.WinToCount;
}

int FirstWinToShow(const GameState& state) {
  if (state.ScatterWin > 0) return kScatterWin;
  for (int n = 1; n <= kPaylines; ++n) {
    if (state.LineWon[n]) return n;
  }
  return -1;
}
