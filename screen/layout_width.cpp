#include "screen/layout_width.h"

#include <algorithm>

#include "engine/scale.h"

namespace {

bool KeysFit(int width, int client_width, int client_height) {
  return ScaleAt(width, kKeysBottomRow) <= client_height &&
         ScaleAt(width, kInSightRightColumn) <= client_width;
}

}  // namespace

int LayoutWidth(int screen_width, int client_width, int client_height) {
  const int width = screen_width >= 1 ? screen_width : kDesignWidth;
  if (KeysFit(width, client_width, client_height)) return width;
  // Scale grows with the width, so the widths that fit form a range from 1 up: find its top.
  int fits = 1;          // treated as fitting even when nothing does
  int too_wide = width;  // known not to fit
  while (too_wide - fits > 1) {
    const int middle = fits + (too_wide - fits) / 2;
    if (KeysFit(middle, client_width, client_height)) {
      fits = middle;
    } else {
      too_wide = middle;
    }
  }
  return fits;
}

int CabinetLeft(int client_width, int layout_width) {
  const int cabinet_width = ScaleAt(std::max(layout_width, 1), kDesignWidth);
  return std::max(0, (client_width - cabinet_width) / 2);
}

int InSightWidth(int layout_width) {
  return ScaleAt(layout_width, kInSightRightColumn);
}

int InSightHeight(int layout_width) {
  return ScaleAt(layout_width, kKeysBottomRow);
}
