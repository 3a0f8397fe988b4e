// The pictures of the borrow dialog: four casino chips for its amount buttons and the glyphs of
// its OK and Help buttons. All have an alpha channel; outside their shape they are transparent.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace art {

inline constexpr int kChipWidth = 80;
inline constexpr int kChipHeight = 57;
inline constexpr int kGlyphSide = 20;

struct ChipStyle {
  QString file;   // file name under art/main
  QString label;  // the value printed on the inlay, e.g. "$1,000"
  QColor body;    // colour of the clay
  QColor spots;   // colour of the edge inserts
  QColor inlay;   // colour of the centre label
  QColor lettering;
};

// The four chips, largest value first: blue $1,000, red $100, green $10, black $1.
const ChipStyle* ChipStyles(int* count);

// A chip seen from slightly above, kChipWidth x kChipHeight, with a soft shadow; scale 2 or 4
// paints the same chip at twice or four times that size (for screens with a device pixel ratio
// above 1).
QImage MakeChip(const ChipStyle& style, int scale = 1);

// A green tick for OK and a blue disc with a question mark for Help, kGlyphSide square.
QImage MakeOkGlyph();
QImage MakeHelpGlyph();

}  // namespace art
