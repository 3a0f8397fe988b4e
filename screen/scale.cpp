#include "screen/scale.h"

int ScreenScale::Scale(int v) const {
  return ScaleAt(DeviceWidth(), v);
}
