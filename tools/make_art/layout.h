// What the art tools add to the game's own layout table (screen/layout.h), which they read
// directly: the places the game draws at in the Qt shapes the painters take, and the art's own
// colours and sizes. The art is built around exactly the places the game draws at, and the
// checker verifies exactly those.
#pragma once

#include <QColor>
#include <QRect>

#include "screen/layout.h"

namespace art {

// A rectangle of the layout table, whose right and bottom lie outside it, as a QRect.
constexpr QRect AsQRect(const layout::Rect& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

// Reel windows: five columns of three cells.
inline constexpr int kReels = 5;
inline constexpr int kReelHeight = 3 * layout::kCell;

// The payline marker wells (markers are masked onto the art there): nine rows each.
inline constexpr QRect kLeftMarkers(layout::kLeftMarkers.left, layout::kMarkersTop,
                                    layout::kLeftMarkers.width, 9 * layout::kMarkerRowHeight);
inline constexpr QRect kRightMarkers(layout::kRightMarkers.left, layout::kMarkersTop,
                                     layout::kRightMarkers.width, 9 * layout::kMarkerRowHeight);

// Unlit key face: pale gold, so the game's grey captions read on it.
inline constexpr QRgb kKeyFace = 0xffead29a;

// BET MAX and SPIN keys, copied from their own art (one state's size).
inline constexpr QRect kBetMaxKey(layout::kMaxBetKeyLeft, layout::kPlayKeysTop, 57, 34);
inline constexpr QRect kSpinKey(layout::kSpinKeyLeft, layout::kPlayKeysTop, 58, 35);

// The white box for the coin value.
inline constexpr QRect kCoinBox(639, 17, 56, 38);

// Payline marker rows: colours of rows 0..8, as the game's paths take them.
inline constexpr QRgb kRowColour[9] = {0xffff0000, 0xff843f08, 0xff00ff00, 0xff00ffff, 0xff0000ff,
                                       0xffff00ff, 0xffff8000, 0xff008040, 0xffff0080};

}  // namespace art
