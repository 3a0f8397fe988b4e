// The status line: the strip above the reels where the win presentation writes what a spin
// paid. Texts stand on the strip's bottom edge, in the main screen's type at the size the layout
// width selects, with a transparent background.
#pragma once

#include <QRgb>
#include <QString>
#include <optional>

class Canvas;
struct ScreenLayout;

class StatusLine {
 public:
  // A text and where it stands: anchor is the design x of its left edge, or of its right edge
  // when right_aligned.
  struct Text {
    QString text;
    QRgb colour = 0;
    int anchor = 0;
    bool right_aligned = false;
  };

  // Canvas and layout must outlive the status line.
  StatusLine(Canvas& canvas, const ScreenLayout& layout);

  // Fills the strip black.
  void Clear();
  // Clears the strip, then writes first and, when given, second. The height of first places both
  // on the strip's bottom edge.
  void Show(const Text& first, const std::optional<Text>& second);
  // The text the strip shows now (both texts, the first one first), empty when clear.
  const QString& Shown() const { return shown_; }

 private:
  void Write(const Text& text, int top);

  Canvas& canvas_;
  const ScreenLayout& layout_;
  QString shown_;
};
