// The width the cabinet is laid out for, and where it stands in the game area.
//
// The cabinet is scaled by the screen width, as long as what the player reads and presses is in
// sight in the game area: the design down to the bottom of the keys, and across to the right of
// the coin slot and the scatter panel. On a wide, short screen, or in a window the player made
// smaller than the screen, it is laid out for the largest width at which that part fits instead,
// and centred between black margins. Everything that scales (a ScreenScale, the choice of symbol
// sheet, the font sizes) reads this layout width.
#pragma once

#include "engine/scale.h"

// The design row the keys end above: rows 0 to 549 must be in sight for every key to be reached.
inline constexpr int kKeysBottomRow = 550;
// The design column the cabinet must be in sight up to: every key, meter and panel lies left of
// it. Its last ten columns are the outer rim, which a window of the screen's width less ten has
// always hidden, so such a window keeps the screen's layout.
inline constexpr int kInSightRightColumn = 790;

// The smallest layout a window the player sizes is given room for: the design's own width. Below
// it the texts, which stop shrinking at 8 points, and the meters' digits, which keep their size,
// no longer fit their keys and frames. A screen too small for even that keeps the layout it starts
// with.
inline constexpr int kSmallestLayoutWidth = kDesignWidth;

// The layout width for a screen screen_width pixels wide whose game area is client_width x
// client_height pixels: screen_width when ScaleAt(screen_width, kKeysBottomRow) <= client_height
// and ScaleAt(screen_width, kInSightRightColumn) <= client_width (the bottom and right edges, like
// every rectangle's, lie just outside), else the largest width for which both hold. Never below
// 1; a screen_width below 1 counts as the design width.
int LayoutWidth(int screen_width, int client_width, int client_height);

// Left edge of a cabinet laid out for layout_width (ScaleAt(layout_width, kDesignWidth) pixels
// wide), centred in a game area client_width pixels wide; 0 when the cabinet is as wide as the area
// or wider, so a cabinet scaled by the screen width keeps its place at the left edge.
int CabinetLeft(int client_width, int layout_width);

// The game area, in window units, that shows what must be in sight of a cabinet laid out
// layout_width wide: ScaleAt(layout_width, kInSightRightColumn) x ScaleAt(layout_width,
// kKeysBottomRow).
int InSightWidth(int layout_width);
int InSightHeight(int layout_width);
