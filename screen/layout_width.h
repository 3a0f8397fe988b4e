// The width the cabinet is laid out for, and where it stands in the game area.
//
// The cabinet is scaled by the screen width, as long as the design down to the bottom of the keys
// fits the height of the game area; on a wide, short screen it is laid out for the largest width
// at which that part fits instead, and centred between black margins. Everything that scales
// (a ScreenScale, the choice of symbol sheet, the font sizes) reads this layout width.
#pragma once

// The design row the keys end above: rows 0 to 549 must be in sight for every key to be reached.
inline constexpr int kKeysBottomRow = 550;

// The layout width for a screen screen_width pixels wide whose game area is client_height pixels
// high: screen_width when ScaleAt(screen_width, kKeysBottomRow) <= client_height (the bottom edge,
// like every rectangle's, lies just outside), else the largest width for which that holds.
// Never below 1; a screen_width below 1 counts as the design width.
int LayoutWidth(int screen_width, int client_height);

// Left edge of a cabinet laid out for layout_width (ScaleAt(layout_width, kDesignWidth) pixels
// wide), centred in a game area client_width pixels wide; 0 when the cabinet is as wide as the area
// or wider, so a cabinet scaled by the screen width keeps its place at the left edge.
int CabinetLeft(int client_width, int layout_width);
