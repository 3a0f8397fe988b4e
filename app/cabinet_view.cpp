#include "app/cabinet_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <algorithm>
#include <utility>

#include "screen/layout_width.h"
#include "screen/scale.h"

CabinetView::CabinetView(std::unique_ptr<Cabinet> cabinet, Host& host, QWidget* parent)
    : QWidget(parent), cabinet_(std::move(cabinet)), host_(host) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
  // A window the player makes smaller than the screen keeps the design's own layout in sight, or
  // the one it starts with on a screen too small for that.
  const int smallest = std::min(kSmallestLayoutWidth, cabinet_->Layout().scale.Width());
  setMinimumSize(InSightWidth(smallest), InSightHeight(smallest));
  ReportArtProblems();
  cabinet_->Surface().on_changed = [this](const QRect& r) { SurfaceChanged(r); };
}

CabinetView::~CabinetView() {
  AwaitDrawnAhead();
  cabinet_->Surface().on_changed = nullptr;
}

void CabinetView::SurfaceChanged(const QRect& r) {
  const ScreenScale& scale = cabinet_->Layout().scale;
  const QRect device = r.translated(scale.offset, 0);
  if (scale.ratio == 1) {
    update(device);
  } else {
    update(QRectF(QPointF(device.topLeft()) / scale.ratio, QSizeF(device.size()) / scale.ratio)
               .toAlignedRect());
  }
}

void CabinetView::paintEvent(QPaintEvent* event) {
  // Only what changed is drawn: each rectangle of the region the canvas reported, copied 1:1
  // from the cabinet's surface (device pixels), and black only where a rectangle lies beside or
  // below the cabinet. (The region's bounding box would repaint everything between two turning
  // reels.)
  const bool first = !first_paint_done_;
  if (first) {
    // This paint shows all of the cabinet.
    first_paint_done_ = true;
    const QRegion rest = QRegion(rect()).subtracted(event->region());
    if (!rest.isEmpty()) update(rest);
  }
  QPainter painter(this);
  const double ratio = cabinet_->Layout().scale.ratio;
  const QPoint offset(cabinet_->Layout().scale.offset, 0);
  const QRect cabinet(offset, cabinet_->SurfaceSize());
  // The device pixels an area of the widget covers; at a fractional ratio its edges may lie
  // between them, and the pixels partly covered count.
  const auto device = [ratio](const QRect& area) {
    return QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect();
  };
  // Clipped to one rectangle at a time, a copy is a plain row-by-row blit; under the region's
  // many rectangles it would go through span blending handed out to a thread pool.
  for (const QRect& area : event->region()) {
    const QRect shown = device(area).intersected(cabinet);
    if (shown == device(area)) continue;
    painter.setClipRect(area);
    for (const QRect& margin : QRegion(device(area)).subtracted(QRegion(shown))) {
      painter.fillRect(QRectF(QPointF(margin.topLeft()) / ratio, QSizeF(margin.size()) / ratio),
                       Qt::black);
    }
  }
  // The first picture may still be being drawn ahead: the black above came meanwhile.
  if (first) DrawFirstPicture();
  const Canvas& canvas = cabinet_->Surface();
  for (const QRect& area : event->region()) {
    const QRect shown = device(area).intersected(cabinet);
    if (shown.isEmpty()) continue;
    painter.setClipRect(area);
    // A turning reel is painted from its strip, the rest from the surface.
    canvas.ForEachShownPart(
        shown.translated(-offset), [&](const QRect& part, const QImage& from, const QPoint& at) {
          const QRect source(at, part.size());
          if (ratio == 1) {
            painter.drawImage(part.topLeft() + offset, from, source);
          } else {
            painter.drawImage(
                QRectF(QPointF(part.topLeft() + offset) / ratio, QSizeF(part.size()) / ratio), from,
                QRectF(source));
          }
        });
  }
}

void CabinetView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const int width = event->size().width();
  const int height = event->size().height();
  if (width <= 0 || height <= 0) return;
  // The real game area (after the window manager, its panels and the menu bar) may fit another
  // layout than the one expected; the art is prepared again only then, and never under a spin:
  // a running spin's cabinet is laid out anew once its reels have stopped (FitToArea).
  if (host_.PlayRunning()) {
    cabinet_->PlaceIn(width);
  } else {
    LayOut(width, height);
  }
  if (first_paint_done_) {
    PaintAll();
  } else {
    update();  // the first paint shows the whole cabinet
  }
}

void CabinetView::mousePressEvent(QMouseEvent* event) {
  const ScreenScale& scale = cabinet_->Layout().scale;
  int bet_key = 0;
  const CabinetInput input = InputAt(scale.ToDevice(event->position().x()),
                                     scale.ToDevice(event->position().y()), &bet_key);
  if (input != CabinetInput::kNone) host_.CabinetPressed(input, bet_key);
}

void CabinetView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      host_.CabinetPressed(CabinetInput::kSpin, 0);
      break;
    case Qt::Key_M:
      host_.CabinetPressed(CabinetInput::kMaxBet, 0);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

CabinetInput CabinetView::InputAt(int x, int y, int* bet_key) const {
  const ScreenScale& scale = cabinet_->Layout().scale;
  x -= scale.offset;  // the mouse areas are laid out on the cabinet
  if (layout::Hits(scale, layout::kMaxBetHitArea, x, y)) return CabinetInput::kMaxBet;
  if (layout::Hits(scale, layout::kSpinHitArea, x, y)) return CabinetInput::kSpin;
  for (int k = 1; k <= layout::kBetKeys; ++k) {
    if (layout::Hits(scale, layout::BetKeyHitArea(k), x, y)) {
      *bet_key = k;
      return CabinetInput::kBetKey;
    }
  }
  // The logo, at its own pixel size centred over the cabinet's first columns, is the door to the
  // maker's games page.
  const QRect logo = cabinet_->Screen().LogoPlace();
  if (x >= logo.left() && x <= logo.left() + logo.width() && y >= logo.top() &&
      y <= logo.top() + logo.height()) {
    return CabinetInput::kGamesPage;
  }
  return CabinetInput::kNone;
}

void CabinetView::FitToArea() {
  if (size().isEmpty() || cabinet_->FitsArea(width(), height())) return;
  LayOut(width(), height());
  PaintAll();
}

void CabinetView::LayOut(int width, int height) {
  if (!cabinet_->FitsArea(width, height)) {
    DiscardDrawnAhead();
    cabinet_->LayOut(width, height);
    ReportArtProblems();
  }
  cabinet_->PlaceIn(width);
}

void CabinetView::ReportArtProblems() {
  // A replacement picture that could not be used is skipped without a message box; the program's
  // error output (a terminal, the desktop's journal) says which one and why.
  for (const std::string& problem : cabinet_->TakeArtProblems()) qWarning("%s", problem.c_str());
}

void CabinetView::DrawAhead() {
  if (first_paint_done_ || drawing_ahead_.valid() || cabinet_->SurfaceSize().isEmpty()) return;
  // Drawn on another core, the first picture is ready 7 ms sooner at 1920x1080 with the art kept
  // (first paint, median of 21 starts). The surface's change notices ask for repaints, which only
  // this thread may do; the first paint shows the whole cabinet in any case.
  changes_held_ = std::exchange(cabinet_->Surface().on_changed, nullptr);
  drawing_ahead_ = std::async(
      std::launch::async, [&screen = cabinet_->Screen(), show_last_win = !host_.ReelsTurning()] {
        screen.PaintAll(show_last_win);
      });
  drawn_ahead_ = true;
}

void CabinetView::AwaitDrawnAhead() {
  if (!drawing_ahead_.valid()) return;
  drawing_ahead_.get();
  cabinet_->Surface().on_changed = std::move(changes_held_);
  changes_held_ = nullptr;
}

void CabinetView::DiscardDrawnAhead() {
  AwaitDrawnAhead();
  drawn_ahead_ = false;
}

void CabinetView::DrawFirstPicture() {
  AwaitDrawnAhead();
  if (std::exchange(drawn_ahead_, false) || cabinet_->Surface().Width() == 0) return;
  Canvas& surface = cabinet_->Surface();
  const std::function<void(const QRect&)> changed = std::exchange(surface.on_changed, nullptr);
  cabinet_->Screen().PaintAll(!host_.ReelsTurning());
  surface.on_changed = changed;
}

void CabinetView::PaintAll() {
  if (!first_paint_done_) {
    // Until the window's first paint the cabinet is drawn there, once: the window is mapped
    // without waiting for it. A picture drawn ahead may no longer be the game's.
    DiscardDrawnAhead();
    update();
    return;
  }
  if (cabinet_->Surface().Width() == 0) return;
  // While the reels turn the spin's result is already known but not yet shown.
  cabinet_->Screen().PaintAll(!host_.ReelsTurning());
  update();
}
