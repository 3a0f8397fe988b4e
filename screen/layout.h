// Where everything on the main screen sits, on the 800 x 600 design grid. Painting, the hit
// tests of the mouse, the art generator's checks and the tests all read these places from here;
// a ScreenScale turns them into window pixels.
#pragma once

#include <array>

#include "engine/game_state.h"
#include "engine/scale.h"
#include "screen/scale.h"

namespace layout {

inline constexpr int kDesignHeight = 600;

// A rectangle of the design grid; right and bottom lie just outside it.
struct Rect {
  int left, top, right, bottom;
  constexpr int Width() const { return right - left; }
  constexpr int Height() const { return bottom - top; }
};

// A mouse area of the design grid; every bound is inside it, so a click exactly on the scaled
// right or bottom bound still counts.
struct HitArea {
  int left, top, right, bottom;
};

// The reel windows: five columns of three cells, the first at (207, 210), one every 92.
inline constexpr int kReelsLeft = 207;
inline constexpr int kReelsTop = 210;
inline constexpr int kReelPitch = 92;
inline constexpr int kCell = 76;  // symbol cell of the carried sheet and strip
// The frame strips beside each reel window, copied back from the background over the payline
// paths, as tall as the window: the left one 4 wide from 3 design pixels left of the window (its
// last column lies under the window's first), the right one 3 wide from the window's right edge.
inline constexpr int kLeftFrameStripLeft = kReelsLeft - 3;
inline constexpr int kLeftFrameStrip = 4;
inline constexpr int kRightFrameStrip = 3;

// Payline markers: two columns of nine 25-pixel rows from y 212, masked onto the cabinet. Each
// column's art is a slice of the marker pictures; the number sits on the marker's square, which
// is on the left in even rows and on the right in odd ones.
inline constexpr int kMarkersTop = 212;
inline constexpr int kMarkerRowHeight = 25;
inline constexpr int kMarkerNumberY = 13;  // centre of the number below the row's top
struct MarkerColumn {
  int left, width;              // on the screen
  int art_left, art_right;      // columns of the marker pictures
  int number_even, number_odd;  // centre of the number right of left
};
inline constexpr MarkerColumn kLeftMarkers{162, 42, 0, 42, 10, 29};
inline constexpr MarkerColumn kRightMarkers{654, 41, 49, 90, 12, 31};
// A payline path starts this far left of the reels and ends as far right of them; its colour is
// sampled this far left of its start, on the left marker.
inline constexpr int kPathOverhang = 3;
inline constexpr int kPathColourSample = 8;

// The meter frame, painted black with rounded corners, its labels and the meters' right edges.
inline constexpr Rect kMeterFrame{169, 27, 627, 64};
inline constexpr int kMeterLabelY = 29;
inline constexpr int kCoinsLabelX = 172;
inline constexpr int kWinningsLabelX = 309;
inline constexpr int kCreditsLabelX = 489;
inline constexpr int kBetMeterRight = 250;
inline constexpr int kWinMeterRight = 428;
inline constexpr int kCreditsMeterRight = 620;
// The meter digits stand this many window pixels below the scaled frame top.
inline constexpr int kMeterDigitsDrop = 3;

// The status line of the win cycle inside the meter frame: the strip it clears, the baseline
// its texts stand on, and their anchors (the line or scatter win starts at the left anchor, the
// game's total and the bonus text end at the right ones).
inline constexpr Rect kStatusLine{172, 50, 624, 61};
inline constexpr int kStatusLeftAnchor = 202;
inline constexpr int kStatusRightAnchor = 594;
inline constexpr int kStatusBonusRightAnchor = 452;

// The bet keys: 1, 3, 5, 7, 9 paylines on the upper row, 1, 2, 3, 5, 10 credits a line on the
// lower one. The painted face is as wide as the key; the mouse area is 51 wide on both rows and
// takes the face's top and bottom edges.
struct BetKey {
  const char* caption;
  int left, top, width;
};
inline constexpr int kBetKeyHeight = 10;
inline constexpr int kBetKeyHitWidth = 51;
inline constexpr int kBetCaptionCentre = 25;  // right of the key's left edge, on both rows
inline constexpr int kBetKeys = 10;
inline constexpr std::array<BetKey, kBetKeys> kBetKeyTable{{
    {"1 Payline", 167, 487, 51},
    {"3 Paylines", 227, 487, 51},
    {"5 Paylines", 287, 487, 51},
    {"7 Paylines", 347, 487, 51},
    {"9 Paylines", 407, 487, 51},
    {"1 Credit", 193, 503, 53},
    {"2 Credits", 254, 503, 53},
    {"3 Credits", 315, 503, 53},
    {"5 Credits", 376, 503, 53},
    {"10 Credits", 437, 503, 53},
}};
// Bet key k (1..10).
constexpr const BetKey& BetKeyPlace(int k) {
  return kBetKeyTable[k - 1];
}
constexpr HitArea BetKeyHitArea(int k) {
  const BetKey& key = BetKeyPlace(k);
  return {key.left, key.top, key.left + kBetKeyHitWidth, key.top + kBetKeyHeight};
}
// Whether the device pixel (x, y) of the cabinet lies in a mouse area at the given scale.
inline bool Hits(const ScreenScale& scale, const HitArea& area, int x, int y) {
  return x >= scale.Scale(area.left) && x <= scale.Scale(area.right) &&
         y >= scale.Scale(area.top) && y <= scale.Scale(area.bottom);
}
// The background pixel whose colour an unlit bet key takes (on the first lines key).
inline constexpr int kKeyColourX = 188;
inline constexpr int kKeyColourY = 492;

// BET MAX and SPIN: their pictures' top-left corners and their (larger) mouse areas.
inline constexpr int kPlayKeysTop = 485;
inline constexpr int kMaxBetKeyLeft = 542;
inline constexpr int kSpinKeyLeft = 606;
inline constexpr HitArea kMaxBetHitArea{542, 485, 600, 528};
inline constexpr HitArea kSpinHitArea{606, 485, 666, 528};

// The coin value "5¢" ends at this right edge (plus 4 window pixels at the design width), top at
// y 22; the coin slot's "Insert" / "Coins" labels are centred at these points.
inline constexpr int kCoinValueRight = 687;
inline constexpr int kCoinValueNudge = 4;
inline constexpr int kCoinValueTop = 22;
inline constexpr int kSlotLabelX = 710;
inline constexpr int kInsertLabelY = 471;
inline constexpr int kCoinsLabelY = 486;

// The patch of background put back at every spin.
inline constexpr Rect kSpinPatch{560, 99, 644, 184};

// The logo is centred in the cabinet's first 140 columns, its top at y 10.
inline constexpr int kLogoAreaWidth = 140;
inline constexpr int kLogoTop = 10;

}  // namespace layout

// The reel layout in window pixels at the layout width the art was prepared for. The names are
// the game's own.
struct ScreenLayout {
  // NOLINTBEGIN(readability-identifier-naming): the game's own vocabulary
  int32_t ScreenWidth = 0;
  int32_t ScreenHeight = 0;
  // Where and how large the cabinet is drawn and hit-tested: its layout width is ScreenWidth, or
  // less on a short screen.
  ScreenScale scale;
  int32_t CellSize = 0;
  int32_t ReelPitch = 0;
  int32_t ReelsLeft = 0;
  int32_t ReelsTop = 0;
  int32_t BlurHeight = 0;  // height of the stretched spin strip: the wrap of a spin
  // NOLINTEND(readability-identifier-naming)
};
