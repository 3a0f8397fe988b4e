// The game's emblem: a red slot-machine cabinet under a golden dome, three reels showing 7s and
// a pull lever. One painting routine serves every output, so the scalable icon and the pixel
// icons show the same picture.
#pragma once

#include <QImage>
#include <QPainter>
#include <QString>

namespace icon {

// The emblem is drawn on a square of this many units.
constexpr int kDesignSize = 256;

// Paints the emblem onto p in design units (0..kDesignSize on both axes).
void PaintEmblem(QPainter& p);

// The emblem as a square ARGB picture of side `size`, transparent around the cabinet.
QImage EmblemPicture(int size);

// Writes the emblem as an SVG file with a 256 x 256 view box. False if it cannot be written.
bool WriteEmblemSvg(const QString& path);

}  // namespace icon
