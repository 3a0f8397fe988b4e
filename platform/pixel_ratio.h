// The one rule that turns a fixed size in window units into device pixels on a screen of a given
// device pixel ratio (1.5 on a desktop scaled to 150 %).
#pragma once

#include <cmath>

// v window units at `ratio` device pixels each, to the nearest device pixel: a one-unit corner
// stays one device pixel at 1.25 and becomes two at 1.5, a 16-unit digit becomes 20 and 24.
inline int DevicePixels(int v, double ratio) {
  return static_cast<int>(std::lround(v * ratio));
}
