// Scaling of the 800 x 600 design grid to the screen. The factor comes from the layout width
// alone (the screen width, or less where the screen is too short for the keys; see
// screen/layout_width.h). Whoever draws or hit-tests holds the ScreenScale it works at: the main
// window keeps one in its layout, side windows get a copy, tools and tests make their own.
#pragma once

#include "engine/scale.h"
#include "platform/pixel_ratio.h"

// Where and how large the cabinet is drawn: the 800-wide design grid scaled to layout_width.
struct ScreenScale {
  int layout_width = kDesignWidth;  // the width the cabinet is laid out for (< 1 counts as 800)
  int offset = 0;                   // the cabinet's left edge in the game area, device pixels
  // Device pixels per window unit (2 on a screen scaled to 200 %, 1.5 at 150 %). The cabinet is
  // laid out for its width in device pixels and drawn there, so that nothing is enlarged on the
  // way to the screen: a ratio is one more width, and the fixed pixel sizes grow with it (Px).
  double ratio = 1;
  // v * (DeviceWidth() / 800), truncated (engine's ScaleAt), in device pixels.
  int Scale(int v) const;
  // A fixed size of v window pixels (a digit, a one-pixel corner), in device pixels, to the
  // nearest: every fixed size of the cabinet goes through here.
  int Px(int v) const { return DevicePixels(v, ratio); }
  // The layout width as it counts: layout_width, or the design width 800 when it is below 1, so
  // that nothing scales to nothing. In window units: the font bands and the symbol sheets of the
  // common widths read it.
  int Width() const { return layout_width >= 1 ? layout_width : kDesignWidth; }
  // The cabinet's width in device pixels: the width it is laid out and drawn at.
  int DeviceWidth() const { return Px(Width()); }
  // The device pixel under a mouse position v in window units (a fraction at a fractional ratio).
  int ToDevice(double v) const { return static_cast<int>(std::floor(v * ratio)); }
};
