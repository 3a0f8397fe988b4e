#include "engine/scale.h"

#include <cmath>
#include <cstdint>
#include <limits>

int ScaleAt(int width, int v) {
  const double factor = static_cast<double>(width) / kDesignWidth;
  const long double product = static_cast<long double>(v) * static_cast<long double>(factor);
  const long double truncated = std::trunc(product);
  // A huge width would otherwise overflow into a negative size.
  if (truncated > static_cast<long double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (truncated < static_cast<long double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(truncated);
}
