// Where the game draws over the cabinet art, in pixels of the 800 x 600 background, as the
// tools need them: taken from the game's own layout table, so the art is built around the places
// the game draws at and the checker verifies exactly those.
#pragma once

#include <QColor>
#include <QRect>

#include "screen/layout.h"

namespace art {

inline constexpr int kWidth = kDesignWidth;
inline constexpr int kHeight = layout::kDesignHeight;

// Reel windows: five columns of three 76-pixel cells.
inline constexpr int kReelLeft = layout::kReelsLeft;
inline constexpr int kReelTop = layout::kReelsTop;
inline constexpr int kReelPitch = layout::kReelPitch;
inline constexpr int kReelCell = layout::kCell;
inline constexpr int kReelHeight = 3 * kReelCell;
inline constexpr int kReels = 5;
// The frame strips beside each window that the game copies back over the payline paths.
inline constexpr int kLeftStrip = layout::kLeftFrameStrip;
inline constexpr int kRightStrip = layout::kRightFrameStrip;

// Payline marker columns (markers are masked onto the art there).
inline constexpr QRect kLeftMarkers(layout::kLeftMarkers.left, layout::kMarkersTop,
                                    layout::kLeftMarkers.width, 9 * layout::kMarkerRowHeight);
inline constexpr QRect kRightMarkers(layout::kRightMarkers.left, layout::kMarkersTop,
                                     layout::kRightMarkers.width, 9 * layout::kMarkerRowHeight);

// The meter frame the game paints black, and its status line.
inline constexpr QRect kMeterFrame(layout::kMeterFrame.left, layout::kMeterFrame.top,
                                   layout::kMeterFrame.Width(), layout::kMeterFrame.Height());

// Bet keys, filled by the game.
inline constexpr int kLinesKeyLeft[5] = {layout::BetKeyPlace(1).left, layout::BetKeyPlace(2).left,
                                         layout::BetKeyPlace(3).left, layout::BetKeyPlace(4).left,
                                         layout::BetKeyPlace(5).left};
inline constexpr int kLinesKeyTop = layout::BetKeyPlace(1).top;
inline constexpr int kLinesKeyWidth = layout::BetKeyPlace(1).width;
inline constexpr int kCreditsKeyLeft[5] = {layout::BetKeyPlace(6).left, layout::BetKeyPlace(7).left,
                                           layout::BetKeyPlace(8).left, layout::BetKeyPlace(9).left,
                                           layout::BetKeyPlace(10).left};
inline constexpr int kCreditsKeyTop = layout::BetKeyPlace(6).top;
inline constexpr int kCreditsKeyWidth = layout::BetKeyPlace(6).width;
inline constexpr int kBetKeyHeight = layout::kBetKeyHeight;
// The game samples this pixel for the colour of an unlit bet key.
inline constexpr int kKeySampleX = layout::kKeyColourX;
inline constexpr int kKeySampleY = layout::kKeyColourY;
// Unlit key face: pale gold, so the game's grey captions read on it.
inline constexpr QRgb kKeyFace = 0xffead29a;

// BET MAX and SPIN keys, copied from their own art.
inline constexpr QRect kBetMaxKey(layout::kMaxBetKeyLeft, layout::kPlayKeysTop, 57, 34);
inline constexpr QRect kSpinKey(layout::kSpinKeyLeft, layout::kPlayKeysTop, 58, 35);

// The white box for the coin value, and the coin slot labels' centres.
inline constexpr QRect kCoinBox(639, 17, 56, 38);
inline constexpr int kSlotLabelX = layout::kSlotLabelX;
inline constexpr int kInsertLabelY = layout::kInsertLabelY;
inline constexpr int kCoinsLabelY = layout::kCoinsLabelY;

// The patch the game restores at each spin.
inline constexpr QRect kPatch(layout::kSpinPatch.left, layout::kSpinPatch.top,
                              layout::kSpinPatch.Width(), layout::kSpinPatch.Height());

// The logo's place (drawn by the game with its mask).
inline constexpr QRect kLogoArea(0, layout::kLogoTop, layout::kLogoAreaWidth, 70);

// Payline marker rows: colours of rows 0..8, as the game's paths take them.
inline constexpr QRgb kRowColour[9] = {0xffff0000, 0xff843f08, 0xff00ff00, 0xff00ffff, 0xff0000ff,
                                       0xffff00ff, 0xffff8000, 0xff008040, 0xffff0080};

}  // namespace art
