#include "screen/status_line.h"

#include "platform/canvas.h"
#include "screen/fonts.h"
#include "screen/layout.h"

StatusLine::StatusLine(Canvas& canvas, const ScreenLayout& layout)
    : canvas_(canvas), layout_(layout) {}

void StatusLine::Clear() {
  const ScreenScale& scale = layout_.scale;
  shown_.clear();
  canvas_.SetPenColor(colours::kBlack);
  canvas_.SetBrushColor(colours::kBlack);
  canvas_.SetBrushClear(false);
  const layout::Rect& line = layout::kStatusLine;
  canvas_.FillRect(scale.Scale(line.left), scale.Scale(line.top), scale.Scale(line.right),
                   scale.Scale(line.bottom));
}

void StatusLine::Show(const Text& first, const std::optional<Text>& second) {
  Clear();
  const FontBand font = StatusLineFont(layout_.scale.Width());
  canvas_.SetFontFace(QString::fromLatin1(font.face));
  canvas_.SetFontSize(font.size);
  canvas_.SetFontBold(font.bold);
  const int top = layout_.scale.Scale(layout::kStatusLine.bottom) - canvas_.TextHeight(first.text);
  Write(first, top);
  if (second) Write(*second, top);
  shown_ = second ? first.text + QStringLiteral(", ") + second->text : first.text;
}

void StatusLine::Write(const Text& text, int top) {
  canvas_.SetFontColor(text.colour);
  canvas_.SetBrushClear(true);
  const int anchor = layout_.scale.Scale(text.anchor);
  const int x = text.right_aligned ? anchor - canvas_.TextWidth(text.text) : anchor;
  canvas_.TextOut(x, top, text.text);
  canvas_.SetBrushClear(false);
}
