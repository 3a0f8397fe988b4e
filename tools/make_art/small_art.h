// The smaller pictures of the main screen: keys, logo, payline markers and meter digits.
// Every picture but the digits takes a scale: 1 paints it at its design size, 2 and 4 paint the
// same drawing at twice and four times that size (the masters for large screens); the sizes
// given below are those at scale 1.
#pragma once

#include <QColor>
#include <QImage>

namespace art {

// BET MAX key, 57 x 68: rows 0..33 unlit, rows 34..67 lit.
QImage MakeBetMaxKey(int scale = 1);
// SPIN key, 58 x 70: rows 0..34 unlit, rows 35..69 lit.
QImage MakeSpinKey(int scale = 1);
// A coin key, 57 x 110: rows 0..54 dimmed, rows 55..109 lit.
QImage MakeCoinKey(int scale = 1);

// The logo, 125 x 70, pure black wherever its mask is white; and that mask (1 bit: black where
// the logo is opaque).
struct Masked {
  QImage picture;  // RGB32
  QImage mask;     // Format_Mono, black = shape
};
Masked MakeLogo(int scale = 1);

// Payline markers, 90 x 225: nine rows of 25 pixels. lit: squares in the row colour; dim:
// squares at about 40% brightness, bars still in the row colour. The mask is black on every
// square and bar, and both pictures are pure black where it is white.
struct Markers {
  QImage lit;   // RGB32
  QImage dim;   // RGB32
  QImage mask;  // Format_Mono
};
Markers MakeLineMarkers(int scale = 1);

// Where a row's squares sit (x of the left edge and width, inclusive of the outline), so the
// checker can find them too. left = true for the left square.
struct Span {
  int left;
  int width;
};
Span MarkerSquare(int row, bool left_square);
inline constexpr int kMarkerSquareTop = 4;      // row-local y of the squares' top
inline constexpr int kMarkerSquareHeight = 19;  // rows 4..22
inline constexpr int kMarkerBarTop = 10;        // row-local y of the bar's top
inline constexpr int kMarkerBarHeight = 7;      // rows 10..16

// Seven-segment digit strip, 188 x 21: digits 0..9 in 16-pixel cells, a blank cell at 160 and
// a colon at 176. At most 16 colours (Indexed8 with a 16-entry table).
QImage MakeDigitStrip(QColor lit, QColor unlit);

}  // namespace art
