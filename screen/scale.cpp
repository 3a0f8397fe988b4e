#include "screen/scale.h"

#include <utility>

#include "engine/scale.h"

namespace {

std::function<int()>& WidthSource() {
  static std::function<int()> source;
  return source;
}

}  // namespace

void SetLayoutWidthSource(std::function<int()> source) {
  WidthSource() = std::move(source);
}

int CurrentLayoutWidth() {
  const auto& source = WidthSource();
  if (!source) return kDesignWidth;
  const int width = source();
  return width >= 1 ? width : kDesignWidth;
}

int Scale(int v) {
  return ScaleAt(CurrentLayoutWidth(), v);
}
