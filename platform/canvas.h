// Canvas: the drawing surface of one window, a persistent RGB32 image that the widget shows.
//
// Drawing contract (every routine of the game relies on it):
// - A rectangle is (left, top)-(right, bottom); the right column and the bottom row lie outside.
// - CopyRect stretches a source rectangle onto a destination rectangle with the current raster
//   operation: plain copy, AND (dst & src) or OR (dst | src). Pixels are copied exactly: nearest
//   neighbour, never smoothed. Routines that change the raster operation set it back to Copy.
// - FillRect draws a solid block with pen and brush of one colour (no visible outline).
// - Text is placed by the top-left corner of its character cell. With a clear brush it is drawn
//   transparently; with a solid brush its cell is first filled with the brush colour.
// - Font sizes are points at 96 pixels per inch; the two faces the game names (kUiFace and
//   kCoinFace below) resolve to installed fonts of the same metrics (see InstallFontSubstitutes).
//
// Every change reports the touched rectangle through OnChanged so the widget can repaint it.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <thread>
#include <vector>

enum class RasterOp { Copy, And, Or };

// The face of the game's windows, dialogs and of the texts on the cabinet, and a canvas's face
// until it is set.
inline constexpr char kUiFace[] = "MS Sans Serif";
// The face of the coin value in the coin panel and of the bonus game's plain texts.
inline constexpr char kCoinFace[] = "Arial";

class SurfaceAhead;

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height);

  // Replaces the surface by a black one of the given size; in the memory made ahead, where
  // given and large enough.
  void Resize(int width, int height, SurfaceAhead* ahead = nullptr);
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  // The surface, with every rectangle shown from elsewhere (ShowRows) in it.
  const QImage& Image() const {
    Settle();
    return image_;
  }
  // The same, to be read only within area: elsewhere a turning reel's rows may not be in yet.
  const QImage& ImageWithin(const QRect& area) const {
    Settle(area);
    return image_;
  }
  QImage& MutableImage() {
    Settle();
    return image_;
  }

  // A turning reel: the rectangle dst shows src's rows from row `from` on (in src's columns from
  // 0), going on from src's top row past its bottom one, pixel for pixel. Replaces what the same
  // slot showed before. The rows are not copied into the surface at once: the widget paints them
  // straight from src (ForEachShownPart), and the surface takes them in only when it is read or
  // drawn on. A reel's frame that the next frame replaces is then copied once, onto the screen,
  // not twice. src must be an RGB32 picture.
  void ShowRows(int slot, const QRect& dst, const QImage& src, int from);

  // The rows that slot shows are about to be drawn over in full: dropped, not copied in.
  void DropShownRows(int slot);

  // The parts of the rectangle `area` of the surface and where each is shown from: calls
  // paint(part, picture, at) for each, part in surface coordinates and at the top-left of the
  // same-sized rectangle of picture (the surface itself, or a source of ShowRows) that it shows.
  void ForEachShownPart(
      const QRect& area,
      const std::function<void(const QRect&, const QImage&, const QPoint&)>& paint) const;

  void SetRasterOp(RasterOp op) { op_ = op; }
  RasterOp Op() const { return op_; }

  // Stretch-copies src's rectangle srcRect onto dst (both given as (l, t)-(r, b), exclusive).
  void CopyRect(const QRect& dst, const QImage& src, const QRect& src_rect);
  // Same, rectangles given as left, top, right, bottom.
  void CopyRect(int dl, int dt, int dr, int db, const QImage& src, int sl, int st, int sr, int sb);

  // Pen and brush.
  void SetPenColor(QRgb rgb) { pen_ = rgb; }
  QRgb PenColor() const { return pen_; }
  void SetPenWidth(int width) { pen_width_ = width < 1 ? 1 : width; }
  void SetBrushColor(QRgb rgb) { brush_ = rgb; }
  QRgb BrushColor() const { return brush_; }
  void SetBrushClear(bool clear) { brush_clear_ = clear; }
  bool BrushClear() const { return brush_clear_; }

  // Filled rectangle (l, t)-(r, b), right column and bottom row excluded, in the brush colour
  // with an outline in the pen colour (callers set both alike for a solid block).
  void FillRect(int l, int t, int r, int b);

  // Lines with the pen's colour and width (round caps and joins).
  void MoveTo(int x, int y);
  void LineTo(int x, int y);

  QRgb Pixel(int x, int y) const;  // black outside the surface
  void SetPixel(int x, int y, QRgb rgb);

  // Font.
  void SetFontFace(const QString& face) { face_ = face; }
  const QString& FontFace() const { return face_; }
  void SetFontSize(int points) { points_ = points; }
  int FontSize() const { return points_; }
  void SetFontBold(bool bold) { bold_ = bold; }
  bool FontBold() const { return bold_; }
  void SetFontColor(QRgb rgb) { font_color_ = rgb; }
  QRgb FontColor() const { return font_color_; }

  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;

  // The QFont the current face, size and bold select.
  QFont CurrentFont() const;
  // Device pixels per window unit: text is drawn that many times larger (to the nearest pixel
  // size), as on a screen scaled by it. 1 unless a high-density screen asks for more.
  void SetPixelRatio(double ratio) { pixel_ratio_ = ratio < 1 ? 1 : ratio; }
  double PixelRatio() const { return pixel_ratio_; }

  // Called with the rectangle every drawing operation touched.
  std::function<void(const QRect&)> on_changed;

 private:
  void Changed(const QRect& r);
  // Copies every rectangle shown from elsewhere into the surface; or only those that meet area.
  void Settle() const;
  void Settle(const QRect& area) const;

  struct ShownRows {
    int slot;
    QRect dst;  // on the surface
    QImage src;
    int from;  // src's row shown at dst's top
  };

  // The surface; the rectangles of shown_ are yet to be copied into it (Settle).
  mutable QImage image_;
  mutable std::vector<ShownRows> shown_;
  RasterOp op_ = RasterOp::Copy;
  QRgb pen_ = qRgb(0, 0, 0);
  int pen_width_ = 1;
  QRgb brush_ = qRgb(255, 255, 255);
  bool brush_clear_ = false;
  QRgb font_color_ = qRgb(0, 0, 0);
  QString face_ = QString::fromLatin1(kUiFace);
  int points_ = 8;
  bool bold_ = false;
  int pen_x_ = 0;
  int pen_y_ = 0;
  double pixel_ratio_ = 1;
};

// Reads the desktop's font configuration and font list on another core from construction until
// Join(): the first text the window measures would otherwise wait several milliseconds for them
// on the user interface thread. Made before the application object, whose connection to the
// display takes about as long; the font system shares what was read (it is safe to use from
// both threads at once, so an early measure only waits as it would have).
class FontConfigurationPreload {
 public:
  FontConfigurationPreload();
  ~FontConfigurationPreload() { Join(); }
  FontConfigurationPreload(const FontConfigurationPreload&) = delete;
  FontConfigurationPreload& operator=(const FontConfigurationPreload&) = delete;
  void Join();

 private:
  std::thread thread_;
};

// The memory of a black surface, taken and filled on another core from construction on, for a
// canvas's first Resize: a surface of several megabytes costs the user-interface thread
// milliseconds of page faults, which it can spend setting up the window instead.
class SurfaceAhead {
 public:
  // Room for a surface of up to width x height pixels.
  SurfaceAhead(int width, int height);
  ~SurfaceAhead();
  SurfaceAhead(const SurfaceAhead&) = delete;
  SurfaceAhead& operator=(const SurfaceAhead&) = delete;
  // A black RGB32 surface of the given size in that memory, which it then owns; null when it
  // does not fit, no memory was made, or it was taken before. Waits until the memory is ready.
  QImage Take(int width, int height);

 private:
  struct Memory;  // the surface's own pages, outside the heap
  static void Release(void* memory);

  size_t pixels_ = 0;
  std::future<Memory*> memory_;
};

// Maps kUiFace and kCoinFace to installed fonts with the same metrics. Call once after
// the QGuiApplication exists.
void InstallFontSubstitutes();

// Pixel size of a point size at 96 pixels per inch, rounded as the desktop does.
int PointsToPixels(int points);
