#include "screen/status_line.h"

#include "platform/canvas.h"
#include "screen/layout.h"
#include "screen/scale.h"

StatusLine::StatusLine(Canvas& canvas, const ScreenLayout& layout)
    : canvas_(canvas), layout_(layout) {}

void StatusLine::Clear() {
  canvas_.SetPenColor(qRgb(0, 0, 0));
  canvas_.SetBrushColor(qRgb(0, 0, 0));
  canvas_.SetBrushClear(false);
  const layout::Rect& line = layout::kStatusLine;
  canvas_.FillRect(Scale(line.left), Scale(line.top), Scale(line.right), Scale(line.bottom));
}

void StatusLine::Show(const Text& first, const std::optional<Text>& second) {
  Clear();
  const int w = layout_.LayoutWidth;
  canvas_.SetFontFace(QStringLiteral("MS Sans Serif"));
  if (w < 851) {
    canvas_.SetFontBold(false);
    canvas_.SetFontSize(8);
  } else if (w <= 1150) {
    canvas_.SetFontBold(false);
    canvas_.SetFontSize(10);
  } else if (w <= 1300) {
    canvas_.SetFontBold(true);
    canvas_.SetFontSize(12);
  } else {
    canvas_.SetFontBold(true);
    canvas_.SetFontSize(14);
  }
  const int top = Scale(layout::kStatusLine.bottom) - canvas_.TextHeight(first.text);
  Write(first, top);
  if (second) Write(*second, top);
}

void StatusLine::Write(const Text& text, int top) {
  canvas_.SetFontColor(text.colour);
  canvas_.SetBrushClear(true);
  const int anchor = Scale(text.anchor);
  const int x = text.right_aligned ? anchor - canvas_.TextWidth(text.text) : anchor;
  canvas_.TextOut(x, top, text.text);
  canvas_.SetBrushClear(false);
}
