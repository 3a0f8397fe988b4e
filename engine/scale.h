// The one rule that turns a value on the 800-unit design grid into window pixels.
#pragma once

// Width of the design grid: every place on the main screen is given on it.
inline constexpr int kDesignWidth = 800;

// Returns v * (width / 800) truncated toward zero. The factor is rounded to double precision
// first, then the product is formed at extended precision (64-bit mantissa) so that it is not
// rounded again: at width 1152 the factor lies just below 1.44 and 800 scales to 1151.
// Width must be at least 1; results beyond the 32-bit range are clamped to it.
int ScaleAt(int width, int v);
