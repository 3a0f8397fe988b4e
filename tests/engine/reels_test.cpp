#include "engine/reels.h"

#include <gtest/gtest.h>

#include <array>

#include "engine/game_state.h"

namespace {

GameState BuiltState() {
  GameState state;
  BuildReelStrips(state);
  return state;
}

}  // namespace

TEST(StripDecodingTest, MapsDigitsLettersAndEverythingElse) {
  EXPECT_EQ(DecodeStripChar('0'), kWild);
  EXPECT_EQ(DecodeStripChar('5'), 5);
  EXPECT_EQ(DecodeStripChar('9'), 9);
  EXPECT_EQ(DecodeStripChar('A'), kSymbolA);
  EXPECT_EQ(DecodeStripChar('K'), kSymbolK);
  EXPECT_EQ(DecodeStripChar('L'), kSymbolL);
  EXPECT_EQ(DecodeStripChar('V'), kSymbolL);
  EXPECT_EQ(DecodeStripChar('a'), kSymbolL);
  EXPECT_EQ(DecodeStripChar(' '), kSymbolL);
}

TEST(StripDecodingTest, SymbolCountsMatchTheDesignedStrips) {
  // Rows: wild, scatter piece, A..L; columns: reels 0..4.
  const int expected[14][kReels] = {
      {1, 1, 1, 2, 2}, {2, 2, 2, 2, 2}, {2, 2, 2, 2, 2}, {2, 2, 2, 1, 2}, {2, 3, 3, 2, 1},
      {3, 2, 2, 2, 3}, {3, 2, 2, 3, 3}, {2, 3, 3, 3, 3}, {3, 3, 3, 2, 3}, {3, 3, 3, 3, 3},
      {1, 2, 1, 2, 1}, {2, 1, 2, 1, 2}, {2, 2, 2, 2, 1}, {2, 2, 2, 3, 2},
  };
  const GameState state = BuiltState();
  for (int r = 0; r < kReels; ++r) {
    std::array<int, 14> counts{};
    for (int p = 1; p <= kStripLength; ++p) {
      const int code = state.ReelStrip[r][p];
      if (code == kWild) {
        ++counts[0];
      } else if (IsScatter(code)) {
        EXPECT_EQ(code, kFirstScatter + r) << "reel " << r << " carries another reel's piece";
        ++counts[1];
      } else {
        ASSERT_GE(code, kSymbolA);
        ASSERT_LE(code, kSymbolL);
        ++counts[code - kSymbolA + 2];
      }
    }
    for (int row = 0; row < 14; ++row) EXPECT_EQ(counts[row], expected[row][r]) << "reel " << r;
  }
}

TEST(StripDecodingTest, ScatterPiecesAreNeverVisibleTogether) {
  const GameState state = BuiltState();
  for (int r = 0; r < kReels; ++r) {
    for (int stop = 1; stop <= kStripLength; ++stop) {
      int visible = 0;
      for (int row = 0; row < kRows; ++row) {
        visible += IsScatter(state.ReelStrip[r][StripPosition(stop, row)]) ? 1 : 0;
      }
      EXPECT_LE(visible, 1) << "reel " << r << " stop " << stop;
    }
  }
}

TEST(ReelWindowTest, StartStopsShowTheScatterPiecesAcrossTheMiddleRow) {
  GameState state = BuiltState();
  EXPECT_EQ(state.ReelStop, (std::array<int32_t, kReels>{3, 30, 7, 2, 7}));
  FillReelWindow(state);
  for (int r = 0; r < kReels; ++r) EXPECT_EQ(state.ReelWindow[r][1], kFirstScatter + r);
}

TEST(ReelWindowTest, StopsNearTheEndWrapToTheStart) {
  EXPECT_EQ(StripPosition(29, 0), 29);
  EXPECT_EQ(StripPosition(29, 1), 30);
  EXPECT_EQ(StripPosition(29, 2), 1);
  EXPECT_EQ(StripPosition(30, 0), 30);
  EXPECT_EQ(StripPosition(30, 1), 1);
  EXPECT_EQ(StripPosition(30, 2), 2);
  EXPECT_EQ(StripPosition(1, 2), 3);

  GameState state = BuiltState();
  state.ReelStop = {29, 30, 29, 30, 29};
  FillReelWindow(state);
  for (int r = 0; r < kReels; ++r) {
    const int stop = state.ReelStop[r];
    const std::array<int, 3> positions =
        stop == 29 ? std::array<int, 3>{29, 30, 1} : std::array<int, 3>{30, 1, 2};
    for (int row = 0; row < kRows; ++row) {
      EXPECT_EQ(state.ReelWindow[r][row], state.ReelStrip[r][positions[row]])
          << "reel " << r << " row " << row;
    }
  }
}

TEST(ReelWindowTest, OutOfRangeStopsNeverLeaveTheStrip) {
  EXPECT_EQ(StripPosition(31, 0), 1);
  EXPECT_EQ(StripPosition(0, 0), 30);
  EXPECT_EQ(StripPosition(-29, 2), 3);
  EXPECT_EQ(StripPosition(1000, 1), 11);
}

TEST(SpinDrawTest, DrawsOffsetThenStopPerReelInThatOrder) {
  // Pinned from an independent implementation of the generator, seed 12345, width 800.
  GameState state = BuiltState();
  state.Random.SetSeed(12345);
  std::array<int, kReels> offsets{};
  DrawSpinStops(state, 912, offsets);
  EXPECT_EQ(offsets, (std::array<int, kReels>{351, 72, 577, 401, 29}));
  EXPECT_EQ(state.ReelStop, (std::array<int32_t, kReels>{9, 17, 11, 3, 28}));
  DrawSpinStops(state, 912, offsets);
  EXPECT_EQ(offsets, (std::array<int, kReels>{888, 219, 465, 768, 708}));
  EXPECT_EQ(state.ReelStop, (std::array<int32_t, kReels>{10, 24, 13, 25, 27}));
}
