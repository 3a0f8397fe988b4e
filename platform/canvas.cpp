#include "platform/canvas.h"

#include <fontconfig/fontconfig.h>
#include <sys/mman.h>
#include <unistd.h>

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QRegion>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>
#include <vector>

#include "platform/pixel_ratio.h"

namespace {

constexpr uint32_t kOpaque = 0xff000000u;

// One destination scanline span: dst[i] op= src[map[i]] (or src[i] when map is null).
template <RasterOp op>
inline void Blend(uint32_t* dst, const uint32_t* src, int count, bool src_opaque) {
  // An RGB32 source is opaque already: its rows are copied as they are, the reel frames' bulk.
  if (op == RasterOp::Copy && src_opaque) {
    std::memcpy(dst, src, sizeof(uint32_t) * count);
    return;
  }
  for (int i = 0; i < count; ++i) {
    if constexpr (op == RasterOp::Copy) {
      dst[i] = src[i] | kOpaque;
    } else if constexpr (op == RasterOp::And) {
      dst[i] = (dst[i] & src[i]) | kOpaque;
    } else {
      dst[i] = dst[i] | src[i] | kOpaque;
    }
  }
}

template <RasterOp op>
inline void BlendMapped(uint32_t* dst, const uint32_t* src, const int* map, int count) {
  for (int i = 0; i < count; ++i) {
    const uint32_t s = src[map[i]];
    if constexpr (op == RasterOp::Copy) {
      dst[i] = s | kOpaque;
    } else if constexpr (op == RasterOp::And) {
      dst[i] = (dst[i] & s) | kOpaque;
    } else {
      dst[i] = dst[i] | s | kOpaque;
    }
  }
}

// Where destination offset d (0 <= d < dn) of a stretch from sn source pixels onto dn
// destination pixels reads: floor(d * sn / dn). Exact integer maths, so a 1:1 copy is exact.
inline int SourceOffset(int d, int sn, int dn) {
  return static_cast<int>(static_cast<int64_t>(d) * sn / dn);
}

template <RasterOp op>
void StretchRows(uint32_t* dst_bits, qsizetype dst_stride, const uint8_t* src_bits,
                 qsizetype src_stride, bool src_opaque, int x0, int x1, int y0, int y1, int dl,
                 int dt, int dw, int dh, int sl, int st, int sw, int sh, int src_w, int src_h) {
  // Columns: which destination columns read a column inside the source image, and where. A
  // copy at the same width (every reel frame, every digit) needs no column map, so the hot
  // paths allocate nothing.
  const bool identity_columns = (sw == dw);
  std::vector<int> map;
  int first = x1;
  int last = x0;  // exclusive
  int src_column0 = 0;
  if (identity_columns) {
    first = std::max(x0, dl - sl);
    last = std::min(x1, dl - sl + src_w);
    src_column0 = sl + (first - dl);
  } else {
    map.reserve(x1 - x0);
    for (int x = x0; x < x1; ++x) {
      const int sx = sl + SourceOffset(x - dl, sw, dw);
      if (sx >= 0 && sx < src_w) {
        if (first == x1) first = x;
        last = x + 1;
        map.push_back(sx);
      } else if (first != x1) {
        break;  // source columns increase with x: once past the right edge, all later ones are
      }
    }
    if (!map.empty()) src_column0 = map.front();
  }
  if (first >= last) return;
  const int count = last - first;

  int prev_sy = -1;
  const uint32_t* prev_row = nullptr;
  for (int y = y0; y < y1; ++y) {
    const int sy = st + SourceOffset(y - dt, sh, dh);
    if (sy < 0 || sy >= src_h) continue;
    uint32_t* dst =
        reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(dst_bits) + y * dst_stride) + first;
    // A copy that repeats the source row just written (stretching up) duplicates that row.
    if (op == RasterOp::Copy && sy == prev_sy && prev_row != nullptr) {
      std::memcpy(dst, prev_row, sizeof(uint32_t) * count);
      prev_row = dst;
      continue;
    }
    const uint32_t* src = reinterpret_cast<const uint32_t*>(src_bits + sy * src_stride);
    if (identity_columns) {
      Blend<op>(dst, src + src_column0, count, src_opaque);
    } else {
      BlendMapped<op>(dst, src, map.data(), count);
    }
    prev_sy = sy;
    prev_row = dst;
  }
}

}  // namespace

Canvas::Canvas(int width, int height) {
  Resize(width, height);
}

void Canvas::Resize(int width, int height, SurfaceAhead* ahead) {
  if (width <= 0 || height <= 0) {
    image_ = QImage();
    return;
  }
  shown_.clear();
  if (ahead != nullptr) {
    image_ = ahead->Take(width, height);
    if (!image_.isNull()) return;
  }
  // Ordinary pages. Huge pages would set a large surface up in a third of the time, but finding
  // a free 2 MB block kept one start in five waiting 25 to 80 ms before its first picture.
  image_ = QImage(width, height, QImage::Format_RGB32);
  image_.fill(qRgb(0, 0, 0));
}

struct SurfaceAhead::Memory {
  void* start = nullptr;
  size_t bytes = 0;
};

void SurfaceAhead::Release(void* memory) {
  auto* surface = static_cast<Memory*>(memory);
  munmap(surface->start, surface->bytes);
  delete surface;
}

SurfaceAhead::SurfaceAhead(int width, int height) {
  if (width <= 0 || height <= 0) return;
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  try {
    memory_ = std::async(std::launch::async, [pixels]() -> Memory* {
      const size_t bytes = pixels * sizeof(uint32_t);
      void* start =
          mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (start == MAP_FAILED) return nullptr;
      // A child process started meanwhile (the desktop bus's launcher behind the menu bar, say)
      // does not share these pages: if it did, the next write to each would fault again.
      madvise(start, bytes, MADV_DONTFORK);
      std::fill_n(static_cast<uint32_t*>(start), pixels, kOpaque);  // black, every page touched
      return new Memory{start, bytes};
    });
    pixels_ = pixels;
  } catch (const std::system_error&) {
    // No thread to spare: the canvas makes its surface itself.
  }
}

SurfaceAhead::~SurfaceAhead() {
  if (!memory_.valid()) return;
  if (Memory* memory = memory_.get()) Release(memory);
}

QImage SurfaceAhead::Take(int width, int height) {
  if (!memory_.valid() || width <= 0 || height <= 0) return {};
  Memory* memory = memory_.get();
  if (memory == nullptr) return {};
  const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (pixels > pixels_) {
    Release(memory);
    return {};
  }
  // The whole pages beyond the surface go back.
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t used = (pixels * sizeof(uint32_t) + page - 1) / page * page;
  if (used < memory->bytes) {
    munmap(static_cast<char*>(memory->start) + used, memory->bytes - used);
    memory->bytes = used;
  }
  return QImage(static_cast<uchar*>(memory->start), width, height,
                static_cast<qsizetype>(width) * static_cast<qsizetype>(sizeof(uint32_t)),
                QImage::Format_RGB32, Release, memory);
}

namespace {

// Calls part(top, rows, src_row) for each run of rows of dst that shows src's rows from
// src_row on without wrapping, for a rectangle showing src from row `from`.
template <typename Part>
void ForEachRun(const QRect& dst, int src_height, int from, int first_y, int last_y, Part part) {
  if (src_height < 1) return;
  int y = first_y;
  while (y <= last_y) {
    const int src_row = ((from + (y - dst.top())) % src_height + src_height) % src_height;
    const int rows = std::min(last_y - y + 1, src_height - src_row);
    part(y, rows, src_row);
    y += rows;
  }
}

}  // namespace

void Canvas::ShowRows(int slot, const QRect& dst, const QImage& src, int from) {
  const QRect on = dst.intersected(image_.rect());
  // The slot's last rows are dropped unseen where the new ones cover them all; anything else
  // shown so far that the new rows would overlap is copied in first.
  for (auto it = shown_.begin(); it != shown_.end(); ++it) {
    if (it->slot == slot && on.contains(it->dst)) {
      shown_.erase(it);
      break;
    }
  }
  for (const ShownRows& other : shown_) {
    if (other.dst.intersects(on) || other.slot == slot) {
      Settle();
      break;
    }
  }
  if (on.isEmpty() || src.isNull()) return;
  if (src.format() != QImage::Format_RGB32 || dst.left() < on.left() || on.width() > src.width()) {
    // Not a plain picture, or not from its first column on: copied in at once.
    const RasterOp op = op_;
    op_ = RasterOp::Copy;
    ForEachRun(dst, src.height(), from, on.top(), on.bottom(), [&](int y, int rows, int src_row) {
      CopyRect(on.left(), y, on.right() + 1, y + rows, src, on.left() - dst.left(), src_row,
               on.left() - dst.left() + on.width(), src_row + rows);
    });
    op_ = op;
    return;
  }
  shown_.push_back({slot, on, src, from + (on.top() - dst.top())});
  Changed(on);
}

void Canvas::DropShownRows(int slot) {
  shown_.erase(std::remove_if(shown_.begin(), shown_.end(),
                              [slot](const ShownRows& s) { return s.slot == slot; }),
               shown_.end());
}

void Canvas::Settle() const {
  Settle(image_.rect());
}

void Canvas::Settle(const QRect& area) const {
  for (size_t i = 0; i < shown_.size();) {
    if (!shown_[i].dst.intersects(area)) {
      ++i;
      continue;
    }
    const ShownRows s = std::move(shown_[i]);
    shown_.erase(shown_.begin() + static_cast<std::ptrdiff_t>(i));
    const auto row_bytes = static_cast<size_t>(s.dst.width()) * sizeof(uint32_t);
    ForEachRun(s.dst, s.src.height(), s.from, s.dst.top(), s.dst.bottom(),
               [&](int y, int rows, int src_row) {
                 for (int r = 0; r < rows; ++r) {
                   std::memcpy(image_.scanLine(y + r) + s.dst.left() * sizeof(uint32_t),
                               s.src.constScanLine(src_row + r), row_bytes);
                 }
               });
  }
}

void Canvas::ForEachShownPart(
    const QRect& area,
    const std::function<void(const QRect&, const QImage&, const QPoint&)>& paint) const {
  const QRect on = area.intersected(image_.rect());
  if (on.isEmpty()) return;
  QRegion own(on);
  for (const ShownRows& s : shown_) {
    const QRect part = s.dst.intersected(on);
    if (part.isEmpty()) continue;
    own -= part;
    ForEachRun(s.dst, s.src.height(), s.from, part.top(), part.bottom(),
               [&](int y, int rows, int src_row) {
                 paint(QRect(part.left(), y, part.width(), rows), s.src,
                       QPoint(part.left() - s.dst.left(), src_row));
               });
  }
  for (const QRect& r : own) paint(r, image_, r.topLeft());
}

void Canvas::Changed(const QRect& r) {
  const QRect clipped = r.intersected(image_.rect());
  if (!clipped.isEmpty() && on_changed) on_changed(clipped);
}

void Canvas::CopyRect(const QRect& dst, const QImage& src, const QRect& src_rect) {
  CopyRect(dst.left(), dst.top(), dst.left() + dst.width(), dst.top() + dst.height(), src,
           src_rect.left(), src_rect.top(), src_rect.left() + src_rect.width(),
           src_rect.top() + src_rect.height());
}

void Canvas::CopyRect(int dl, int dt, int dr, int db, const QImage& src, int sl, int st, int sr,
                      int sb) {
  // Only the rows shown from elsewhere that this copy reads or draws over are taken in first.
  if (src.constBits() == image_.constBits()) {
    Settle();
  } else {
    Settle(QRect(QPoint(dl, dt), QPoint(dr - 1, db - 1)).normalized());
  }
  const int dw = dr - dl;
  const int dh = db - dt;
  const int sw = sr - sl;
  const int sh = sb - st;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.isNull() || image_.isNull()) return;

  // Destination pixels that lie on the surface.
  const int x0 = std::max(dl, 0);
  const int x1 = std::min(dr, image_.width());
  const int y0 = std::max(dt, 0);
  const int y1 = std::min(db, image_.height());
  if (x0 >= x1 || y0 >= y1) return;

  // The source pixels this copy can read, clipped to the source image.
  const int rsx0 = std::max(sl + SourceOffset(x0 - dl, sw, dw), 0);
  const int rsx1 = std::min(sl + SourceOffset(x1 - 1 - dl, sw, dw) + 1, src.width());
  const int rsy0 = std::max(st + SourceOffset(y0 - dt, sh, dh), 0);
  const int rsy1 = std::min(st + SourceOffset(y1 - 1 - dt, sh, dh) + 1, src.height());
  if (rsx0 >= rsx1 || rsy0 >= rsy1) return;

  // Working bitmaps are RGB32 and are read in place. Any other format (1-bit masks, 16-colour
  // strips, 24-bit pictures) is converted, only the part that is read. The surface itself as
  // source is copied first so that overlapping rectangles read the pixels as they were.
  QImage converted;
  const QImage* from = &src;
  int ox = 0;  // where the converted part starts in source coordinates
  int oy = 0;
  const bool rgb32 = src.format() == QImage::Format_RGB32 ||
                     src.format() == QImage::Format_ARGB32;  // alpha is ignored, as on screen
  if (!rgb32 || src.constBits() == image_.constBits()) {
    const QRect part(rsx0, rsy0, rsx1 - rsx0, rsy1 - rsy0);
    converted = src.copy(part).convertToFormat(QImage::Format_RGB32);
    if (converted.isNull()) return;
    from = &converted;
    ox = rsx0;
    oy = rsy0;
  }

  uint32_t* dst_bits = reinterpret_cast<uint32_t*>(image_.bits());
  const qsizetype dst_stride = image_.bytesPerLine();
  const uint8_t* src_bits = from->constBits();
  const qsizetype src_stride = from->bytesPerLine();
  const int src_w = from->width();
  const int src_h = from->height();
  // Format_RGB32 keeps its top byte at 0xff; an ARGB32 picture's alpha is overwritten instead.
  const bool opaque = from->format() == QImage::Format_RGB32;
  const int tsl = sl - ox;
  const int tst = st - oy;

  switch (op_) {
    case RasterOp::Copy:
      StretchRows<RasterOp::Copy>(dst_bits, dst_stride, src_bits, src_stride, opaque, x0, x1, y0,
                                  y1, dl, dt, dw, dh, tsl, tst, sw, sh, src_w, src_h);
      break;
    case RasterOp::And:
      StretchRows<RasterOp::And>(dst_bits, dst_stride, src_bits, src_stride, opaque, x0, x1, y0, y1,
                                 dl, dt, dw, dh, tsl, tst, sw, sh, src_w, src_h);
      break;
    case RasterOp::Or:
      StretchRows<RasterOp::Or>(dst_bits, dst_stride, src_bits, src_stride, opaque, x0, x1, y0, y1,
                                dl, dt, dw, dh, tsl, tst, sw, sh, src_w, src_h);
      break;
  }
  Changed(QRect(x0, y0, x1 - x0, y1 - y0));
}

namespace {

// Fills the part of (l, t)-(r, b) that lies on the image; the rectangle is already ordered.
void FillSpan(QImage& image, int l, int t, int r, int b, QRgb rgb) {
  l = std::max(l, 0);
  t = std::max(t, 0);
  r = std::min(r, image.width());
  b = std::min(b, image.height());
  if (l >= r || t >= b) return;
  const uint32_t value = rgb | kOpaque;
  for (int y = t; y < b; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
    std::fill(row + l, row + r, value);
  }
}

}  // namespace

void Canvas::FillRect(int l, int t, int r, int b) {
  Settle(QRect(QPoint(l, t), QPoint(r - 1, b - 1)).normalized());
  if (r <= l || b <= t || image_.isNull()) return;
  if (!brush_clear_) FillSpan(image_, l, t, r, b, brush_);
  // The outline lies inside the rectangle; with pen and brush alike it cannot be seen.
  if (brush_clear_ || pen_ != brush_) {
    const int w = std::min({pen_width_, (r - l + 1) / 2, (b - t + 1) / 2});
    FillSpan(image_, l, t, r, t + w, pen_);
    FillSpan(image_, l, b - w, r, b, pen_);
    FillSpan(image_, l, t, l + w, b, pen_);
    FillSpan(image_, r - w, t, r, b, pen_);
  }
  Changed(QRect(l, t, r - l, b - t));
}

void Canvas::MoveTo(int x, int y) {
  pen_x_ = x;
  pen_y_ = y;
}

void Canvas::LineTo(int x, int y) {
  Settle();
  const int from_x = pen_x_;
  const int from_y = pen_y_;
  pen_x_ = x;
  pen_y_ = y;
  if (image_.isNull()) return;
  {
    QPainter painter(&image_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen{QColor::fromRgb(pen_)};
    pen.setWidth(pen_width_);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    if (from_x == x && from_y == y) {
      painter.drawPoint(x, y);
    } else {
      painter.drawLine(from_x, from_y, x, y);
    }
  }
  // The touched area: the segment's box grown by the pen's reach on every side.
  const int reach = pen_width_ / 2 + 1;
  const QRect box = QRect(QPoint(std::min(from_x, x), std::min(from_y, y)),
                          QPoint(std::max(from_x, x), std::max(from_y, y)))
                        .adjusted(-reach, -reach, reach, reach);
  Changed(box);
}

QRgb Canvas::Pixel(int x, int y) const {
  Settle(QRect(x, y, 1, 1));
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return qRgb(0, 0, 0);
  return reinterpret_cast<const uint32_t*>(image_.constScanLine(y))[x] | kOpaque;
}

void Canvas::SetPixel(int x, int y, QRgb rgb) {
  Settle(QRect(x, y, 1, 1));
  if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) return;
  reinterpret_cast<uint32_t*>(image_.scanLine(y))[x] = rgb | kOpaque;
  Changed(QRect(x, y, 1, 1));
}

QFont Canvas::CurrentFont() const {
  QFont font(face_);
  font.setPixelSize(std::max(1, DevicePixels(PointsToPixels(points_), pixel_ratio_)));
  font.setBold(bold_);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

void Canvas::TextOut(int x, int y, const QString& text) {
  Settle();
  if (image_.isNull() || text.isEmpty()) return;
  const QFont font = CurrentFont();
  const QFontMetrics metrics(font);
  const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
  if (!brush_clear_)
    FillSpan(image_, cell.left(), cell.top(), cell.left() + cell.width(),
             cell.top() + cell.height(), brush_);
  {
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(font_color_));
    painter.drawText(x, y + metrics.ascent(), text);
  }
  // Glyphs may overhang their advance a little (bold and italic faces); report those pixels too.
  const QRect ink = metrics.boundingRect(text).translated(x, y + metrics.ascent());
  Changed(cell.united(ink));
}

int Canvas::TextWidth(const QString& text) const {
  return QFontMetrics(CurrentFont()).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString&) const {
  return QFontMetrics(CurrentFont()).height();
}

FontConfigurationPreload::FontConfigurationPreload() {
  try {
    thread_ = std::thread([] {
      if (FcInit() != FcTrue) return;
      // The list walks the font caches, as the font system's first look at the fonts will.
      FcPattern* all = FcPatternCreate();
      FcObjectSet* fields = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, nullptr);
      if (all != nullptr && fields != nullptr) {
        if (FcFontSet* fonts = FcFontList(nullptr, all, fields)) FcFontSetDestroy(fonts);
      }
      if (fields != nullptr) FcObjectSetDestroy(fields);
      if (all != nullptr) FcPatternDestroy(all);
    });
  } catch (const std::system_error&) {
    // No thread to spare: the font system reads the configuration itself when first asked.
  }
}

void FontConfigurationPreload::Join() {
  if (thread_.joinable()) thread_.join();
}

void InstallFontSubstitutes() {
  for (const char* face : {kUiFace, kCoinFace}) {
    QFont::insertSubstitution(QString::fromLatin1(face), QStringLiteral("Liberation Sans"));
  }
}

int PointsToPixels(int points) {
  // Rounded to nearest, halves away from zero, as the desktop's MulDiv(points, 96, 72) does.
  const int64_t scaled = static_cast<int64_t>(points) * 96;
  const int64_t result = scaled >= 0 ? (scaled + 36) / 72 : -((-scaled + 36) / 72);
  return static_cast<int>(result);
}
