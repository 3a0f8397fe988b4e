// Symbol codes, the five reel strips and the spin's random stops.
#pragma once

#include <array>
#include <string_view>

#include "engine/game_state.h"

// Symbol codes. Each code is also a cell of the symbol sheet (column code % 4, row code / 4).
inline constexpr int kWild = 0;
inline constexpr int kFirstWildFrame = 1;  // 1..4: frames of the wild animation, never on a strip
inline constexpr int kLastWildFrame = 4;
inline constexpr int kFirstScatter = 5;  // 5..9: scatter piece of reel 0..4
inline constexpr int kLastScatter = 9;
inline constexpr int kSymbolA = 10;
inline constexpr int kSymbolB = 11;
inline constexpr int kSymbolC = 12;
inline constexpr int kSymbolD = 13;
inline constexpr int kSymbolE = 14;
inline constexpr int kSymbolF = 15;
inline constexpr int kSymbolG = 16;
inline constexpr int kSymbolH = 17;
inline constexpr int kSymbolI = 18;
inline constexpr int kSymbolJ = 19;
inline constexpr int kSymbolK = 20;
inline constexpr int kSymbolL = 21;

// The start stops 3, 30, 7, 2, 7 show the five scatter pieces across the middle row.
inline constexpr std::array<int, kReels> kStartStops{3, 30, 7, 2, 7};

// The strip texts as built into the game, one character per strip position 1..30.
inline constexpr std::array<std::string_view, kReels> kStripTexts{
    "G0E5HAJBCDKGEF5DHLCBHKIFJDGEAL", "6CGKBHLEAC0FDK6GHFCLADEIHBIFGJ",
    "AELHFCG7BKDCFEGAHDB7IG0FHCJKLJ", "G08BFHKCIAD0EFVEGD8KHAEFVCIHJL",
    "ALEB0HC9GDJEHFAGBEG0FDLHF9IJDK"};

// True for the scatter pieces, codes 5..9.
constexpr bool IsScatter(int code) {
  return code >= kFirstScatter && code <= kLastScatter;
}

// Decodes one strip character: "0".."9" -> 0..9, "A".."K" -> 10..20, anything else -> 21 (L).
constexpr int DecodeStripChar(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'K') return kSymbolA + (c - 'A');
  return kSymbolL;
}

// The strip position k rows below stop (k >= 0), wrapping so that 30 is followed by 1.
// Any stop is first brought into 1..30, so a bad stop can never index outside the strip.
constexpr int StripPosition(int stop, int k) {
  const int zero_based = ((stop - 1 + k) % kStripLength + kStripLength) % kStripLength;
  return zero_based + 1;
}

// Fills ReelStrip[r][1..30] from the strip texts and sets the start stops.
void BuildReelStrips(GameState& state);

// Fills ReelWindow[r][0..2] with the codes at ReelStop[r], +1, +2 of each strip.
void FillReelWindow(GameState& state);

// Makes the spin's random draws in the game's fixed order: for reel 0..4, the reel's strip
// offset RandomInt(blurHeight) into offsets[r], then its stop RandomInt(30) + 1 into ReelStop[r].
void DrawSpinStops(GameState& state, int blur_height, std::array<int, kReels>& offsets);
