// The reel symbols: the symbol sheet at any cell size and the motion-blurred spinning strip.
#pragma once

#include <QImage>
#include <QPainter>

namespace art {

// Number of cells on a symbol sheet (4 columns by 6 rows) and the columns per row.
inline constexpr int kSheetColumns = 4;
inline constexpr int kSheetRows = 6;

// Paints symbol code (0..23) into the square (0, 0)-(cell, cell) of the painter's current
// coordinates. The painter may be scaled (the 2x and 4x masters): the shadows, glows and emoji
// it builds as pictures are then made at its device resolution. Codes 0..4 are the wild's animation
// frames, 5..9 the scatter badge in the colour of reels 0..4, 10..21 the sports symbols, 22 and 23
// empty (black).
void PaintSymbol(QPainter& p, int code, int cell);

// The whole sheet, 4 x cell wide and 6 x cell high, every cell painted natively at that size.
QImage MakeSymbolSheet(int cell);

// The spinning strip: one 76-pixel column of twelve symbols blurred along the reel's motion,
// seamless from bottom back to top. scale 2 or 4 paints the same strip at 2 or 4 times the size
// (the symbols drawn by a scaled painter, the blur lengthened with them).
QImage MakeSpinStrip(int scale = 1);

}  // namespace art
