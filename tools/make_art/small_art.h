// The smaller pictures of the main screen: keys, logo, payline markers and meter digits.
#pragma once

#include <QColor>
#include <QImage>

namespace art {

// BET MAX key, 57 x 68: rows 0..33 unlit, rows 34..67 lit.
QImage MakeBetMaxKey();
// SPIN key, 58 x 70: rows 0..34 unlit, rows 35..69 lit.
QImage MakeSpinKey();
// A coin key, 57 x 110: rows 0..54 dimmed, rows 55..109 lit.
QImage MakeCoinKey();

// The logo, 125 x 70, pure black wherever its mask is white; and that mask (1 bit: black where
// the logo is opaque).
struct Masked {
  QImage picture;  // RGB32
  QImage mask;     // Format_Mono, black = shape
};
Masked MakeLogo();

// Payline markers, 90 x 225: nine rows of 25 pixels. lit: squares in the row colour; dim:
// squares at about 40% brightness, bars still in the row colour. The mask is black on every
// square and bar, and both pictures are pure black where it is white.
struct Markers {
  QImage lit;   // RGB32
  QImage dim;   // RGB32
  QImage mask;  // Format_Mono
};
Markers MakeLineMarkers();

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
