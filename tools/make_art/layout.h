// Where the game draws over the cabinet art, in pixels of the 800 x 600 background. The art
// is built around these places and the checker verifies them, so both read them from here.
#pragma once

#include <QColor>
#include <QRect>

namespace art {

inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;

// Reel windows: five columns of three 76-pixel cells.
inline constexpr int kReelLeft = 207;
inline constexpr int kReelTop = 210;
inline constexpr int kReelPitch = 92;
inline constexpr int kReelCell = 76;
inline constexpr int kReelHeight = 3 * kReelCell;
inline constexpr int kReels = 5;
// The frame strips beside each window that the game copies back over the payline paths:
// 4 pixels left of the window, 3 pixels right of it.
inline constexpr int kLeftStrip = 4;
inline constexpr int kRightStrip = 3;

// Payline marker columns (markers are masked onto the art there).
inline constexpr QRect kLeftMarkers(162, 212, 42, 225);
inline constexpr QRect kRightMarkers(654, 212, 41, 225);

// The meter frame the game paints black, and its status line.
inline constexpr QRect kMeterFrame(169, 27, 627 - 169, 64 - 27);

// Bet keys, filled by the game.
inline constexpr int kLinesKeyLeft[5] = {167, 227, 287, 347, 407};
inline constexpr int kLinesKeyTop = 487;
inline constexpr int kLinesKeyWidth = 51;
inline constexpr int kCreditsKeyLeft[5] = {193, 254, 315, 376, 437};
inline constexpr int kCreditsKeyTop = 503;
inline constexpr int kCreditsKeyWidth = 53;
inline constexpr int kBetKeyHeight = 10;
// The game samples this pixel for the colour of an unlit bet key.
inline constexpr int kKeySampleX = 188;
inline constexpr int kKeySampleY = 492;
// Unlit key face: pale gold, so the game's grey captions read on it.
inline constexpr QRgb kKeyFace = 0xffead29a;

// BET MAX and SPIN keys, copied from their own art.
inline constexpr QRect kBetMaxKey(542, 485, 57, 34);
inline constexpr QRect kSpinKey(606, 485, 58, 35);

// The white box for the coin value, and the coin slot labels' centres.
inline constexpr QRect kCoinBox(639, 17, 56, 38);
inline constexpr int kSlotLabelX = 710;
inline constexpr int kInsertLabelY = 471;
inline constexpr int kCoinsLabelY = 486;

// The patch the game restores at each spin.
inline constexpr QRect kPatch(560, 99, 84, 85);

// The logo's place (drawn by the game with its mask).
inline constexpr QRect kLogoArea(0, 10, 140, 70);

// Payline marker rows: colours of rows 0..8, as the game's paths take them.
inline constexpr QRgb kRowColour[9] = {0xffff0000, 0xff843f08, 0xff00ff00, 0xff00ffff, 0xff0000ff,
                                       0xffff00ff, 0xffff8000, 0xff008040, 0xffff0080};

}  // namespace art
