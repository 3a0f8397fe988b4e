#include "screen/main_screen.h"

#include <QRect>
#include <algorithm>
#include <array>
#include <cstring>

#include "engine/game_state.h"
#include "platform/canvas.h"
#include "screen/fonts.h"
#include "screen/layout.h"
#include "screen/main_art.h"
#include "screen/scale.h"

namespace {

using colours::kBlack, colours::kGrey, colours::kSilver, colours::kWhite;

constexpr std::array<int, kPaylines + 1> kMarkerRows = {-1, 4, 1, 7, 0, 8, 2, 6, 3, 5};

// Copies a rectangle of src (l, t)-(r, b) onto the window rectangle (dl, dt)-(dr, db) with the
// canvas's current raster operation. An empty source or destination draws nothing.
void Blit(Canvas& canvas, int dl, int dt, int dr, int db, const QImage& src, int l, int t, int r,
          int b) {
  if (src.isNull() || dr <= dl || db <= dt || r <= l || b <= t) return;
  canvas.CopyRect(dl, dt, dr, db, src, l, t, r, b);
}

void WriteCentred(Canvas& canvas, int x, int y, const QString& text) {
  canvas.TextOut(x - canvas.TextWidth(text) / 2, y - canvas.TextHeight(text) / 2, text);
}

void SetFont(Canvas& canvas, const FontBand& font) {
  canvas.SetFontFace(QString::fromLatin1(font.face));
  canvas.SetFontSize(font.size);
  canvas.SetFontBold(font.bold);
}

}  // namespace

int MarkerRow(int n) {
  if (n < 1 || n > kPaylines) return -1;
  return kMarkerRows[n];
}

void DrawNumber(Canvas& target, const MainArt& art, int value, int x, int y, bool green,
                bool right_aligned, double ratio) {
  // Decimal digits without sign; at most 10 for a 32-bit value. Built on the stack: the meters
  // are redrawn every step of the count-up.
  char digits[10];
  int n = 0;
  unsigned v = value < 0 ? 0u : static_cast<unsigned>(value);
  do {
    digits[n++] = static_cast<char>(v % 10);
    v /= 10;
  } while (v != 0 && n < 10);

  const QImage& laid_out = green ? art.green_bitmap : art.digits_bitmap;
  if (ratio != 1 && laid_out.isNull()) ratio = 1;
  const QImage& strip = ratio != 1 ? laid_out : (green ? art.green_small : art.digits_small);
  const int w = DevicePixels(kDigitWidth, ratio);
  const int h = DevicePixels(kDigitHeight, ratio);
  if (right_aligned) x -= w * n;
  target.SetPenColor(kBlack);
  target.SetBrushColor(kBlack);
  target.SetBrushClear(false);
  if (right_aligned) {
    target.FillRect(x - w, y, x + w * n, y + h);
  } else {
    target.FillRect(x, y, x + w * n + w, y + h);
  }

  target.SetRasterOp(RasterOp::Copy);
  for (int i = n - 1; i >= 0; --i, x += w) {
    const int d = digits[i];
    Blit(target, x, y, x + w, y + h, strip, w * d, 0, w * d + w, h);
  }
}

MainScreen::MainScreen(const GameState& gs, const ScreenLayout& layout, const MainArt& art,
                       Canvas& canvas)
    : gs_(gs),
      layout_(layout),
      art_(art),
      canvas_(canvas),
      meter_top_(layout.scale.Scale(layout::kMeterFrame.top) +
                 layout.scale.Px(layout::kMeterDigitsDrop)) {}

void MainScreen::PaintAll(bool show_last_win) {
  const QImage& bg = art_.background_bitmap;
  canvas_.SetRasterOp(RasterOp::Copy);
  Blit(canvas_, 0, 0, bg.width(), bg.height(), bg, 0, 0, bg.width(), bg.height());

  DrawAllLineMarkers();
  for (int n = 1; n <= kPaylines; ++n) DrawPaylinePath(n);
  RestoreReelFrames();
  if (show_last_win && gs_.GamePaid > 0) {
    for (int n = 1; n <= kPaylines; ++n) DrawLineMarkers(n, gs_.LineWin[n] >= 1);
  }
  for (int r = 0; r < kReels; ++r) DrawReelAtRest(r);

  DrawMeterFrame();
  DrawCreditsMeter();
  DrawBetMeter(gs_.Bet);

  for (int k = 1; k <= 10; ++k) DrawBetButton(k, false);
  DrawBetButton(gs_.LinesButton, true);
  DrawBetButton(gs_.CreditsButton, true);
  DrawPlayButton(PlayKey::kMaxBet, true);
  DrawPlayButton(PlayKey::kSpin, true);

  DrawCoinValue();
  canvas_.SetBrushClear(false);
  canvas_.SetFontFace(QString::fromLatin1(kUiFace));
  canvas_.SetFontBold(false);

  DrawLogo();
}

void MainScreen::DrawBetButton(int k, bool lit) {
  const ScreenScale& scale = layout_.scale;
  if (k < 1 || k > layout::kBetKeys) return;
  shown_.bet_key_lit[k] = lit;
  const layout::BetKey& key = layout::BetKeyPlace(k);
  const QRgb fill = lit ? kWhite : (art_.key_colour | 0xff000000u);
  canvas_.SetPenColor(fill);
  canvas_.SetBrushColor(fill);
  canvas_.SetBrushClear(false);
  canvas_.FillRect(scale.Scale(key.left), scale.Scale(key.top), scale.Scale(key.left + key.width),
                   scale.Scale(key.top + layout::kBetKeyHeight));

  SetFont(canvas_, BetKeyFont(scale.Width()));
  canvas_.SetFontColor(lit ? kBlack : kGrey);
  canvas_.SetBrushClear(true);
  // Every caption is centred on left + 25, "10 Credits" included, as on the cabinet's keys.
  WriteCentred(canvas_, scale.Scale(key.left + layout::kBetCaptionCentre),
               scale.Scale(key.top + (k <= 5 ? 4 : 5)), QString::fromLatin1(key.caption));
  canvas_.SetBrushClear(false);
  canvas_.SetFontBold(false);
}

void MainScreen::DrawPlayButton(PlayKey which, bool lit) {
  const ScreenScale& scale = layout_.scale;
  const bool max_bet = which == PlayKey::kMaxBet;
  shown_.play_key_lit[max_bet ? 0 : 1] = lit;
  const QImage& key = max_bet ? (lit ? art_.max_bet_lit : art_.max_bet_unlit)
                              : (lit ? art_.spin_lit : art_.spin_unlit);
  const int x = scale.Scale(max_bet ? layout::kMaxBetKeyLeft : layout::kSpinKeyLeft);
  const int y = scale.Scale(layout::kPlayKeysTop);
  canvas_.SetRasterOp(RasterOp::Copy);
  Blit(canvas_, x, y, x + key.width(), y + key.height(), key, 0, 0, key.width(), key.height());
}

void MainScreen::DrawMeterFrame() {
  const ScreenScale& scale = layout_.scale;
  shown_.winnings = -1;
  canvas_.SetFontColor(kWhite);
  canvas_.SetFontBold(true);
  canvas_.SetBrushColor(kBlack);
  canvas_.SetBrushClear(false);
  canvas_.SetPenColor(kBlack);
  const layout::Rect& frame = layout::kMeterFrame;
  const int left = scale.Scale(frame.left);
  const int top = scale.Scale(frame.top);
  const int right = scale.Scale(frame.right);
  const int bottom = scale.Scale(frame.bottom);
  canvas_.FillRect(left, top, right, bottom);

  CutFrameCorner(Corner::kTopLeft, left, top);
  CutFrameCorner(Corner::kTopRight, right, top);
  CutFrameCorner(Corner::kBottomLeft, left, bottom);
  CutFrameCorner(Corner::kBottomRight, right - 1, bottom);

  SetFont(canvas_, MeterLabelFont(scale.Width()));
  // Opaque on the black brush: the blanks around each label are part of the black frame.
  const int label_y = scale.Scale(layout::kMeterLabelY);
  canvas_.TextOut(scale.Scale(layout::kCoinsLabelX), label_y, QStringLiteral(" Coins: "));
  canvas_.TextOut(scale.Scale(layout::kWinningsLabelX), label_y, QStringLiteral(" Winnings: "));
  canvas_.TextOut(scale.Scale(layout::kCreditsLabelX), label_y, QStringLiteral(" Credits: "));
  meter_top_ = top + scale.Px(layout::kMeterDigitsDrop);

  canvas_.SetPenColor(canvas_.BrushColor());
  canvas_.SetBrushClear(true);
  canvas_.SetFontColor(kWhite);
  WriteCentred(canvas_, scale.Scale(layout::kSlotLabelX), scale.Scale(layout::kInsertLabelY),
               QStringLiteral("Insert"));
  canvas_.SetFontColor(kBlack);
  WriteCentred(canvas_, scale.Scale(layout::kSlotLabelX), scale.Scale(layout::kCoinsLabelY),
               QStringLiteral("Coins"));

  canvas_.SetFontBold(true);
  canvas_.SetBrushClear(false);
}

void MainScreen::CutFrameCorner(Corner corner, int x, int y) {
  const bool left = corner == Corner::kTopLeft || corner == Corner::kBottomLeft;
  const bool top = corner == Corner::kTopLeft || corner == Corner::kTopRight;
  const QRgb c = canvas_.Pixel(left ? x - 1 : x + 1, y);
  // The corner pixel and its neighbours inward along each edge, one window pixel each: at a
  // pixel ratio above 1, blocks of that many device pixels (rounded) reaching inward.
  const int r = layout_.scale.Px(1);
  const int in_x = left ? 1 : -1;
  const int in_y = top ? 1 : -1;
  for (int j = 0; j < r; ++j) {
    for (int i = 0; i < r; ++i) {
      canvas_.SetPixel(x + i * in_x, y + j * in_y, c);
      canvas_.SetPixel(x + i * in_x, y + (r + j) * in_y, c);
      canvas_.SetPixel(x + (r + i) * in_x, y + j * in_y, c);
    }
  }
}

void MainScreen::RedrawMeters() {
  DrawMeterFrame();
  DrawCreditsMeter();
  DrawBetMeter(gs_.Bet);
}

void MainScreen::RestoreBackgroundPatch() {
  const ScreenScale& scale = layout_.scale;
  canvas_.SetRasterOp(RasterOp::Copy);
  const layout::Rect& patch = layout::kSpinPatch;
  PutBackBackground(scale.Scale(patch.left), scale.Scale(patch.top), scale.Scale(patch.right),
                    scale.Scale(patch.bottom));
}

void MainScreen::DrawLogo() {
  const QRect place = LogoPlace();
  const int x = place.left();
  const int y = place.top();
  const int w = place.width();
  const int h = place.height();
  canvas_.SetRasterOp(RasterOp::And);
  Blit(canvas_, x, y, x + w, y + h, art_.logo_mask_bitmap, 0, 0, w, h);
  canvas_.SetRasterOp(RasterOp::Or);
  Blit(canvas_, x, y, x + w, y + h, art_.logo_bitmap, 0, 0, w, h);
  canvas_.SetRasterOp(RasterOp::Copy);
}

void MainScreen::DrawCoinValue() {
  const ScreenScale& scale = layout_.scale;
  const QString five = QStringLiteral("5");
  const QString cent = QString(QChar(0x00A2));
  const int width = scale.Width();
  SetFont(canvas_, CoinFigureFont(width));
  canvas_.SetFontColor(kBlack);
  canvas_.SetBrushClear(true);
  // Right-aligned in the white box: the whole "5¢" measured at the large size.
  const int y = scale.Scale(layout::kCoinValueTop);
  int x = scale.Scale(layout::kCoinValueRight) - canvas_.TextWidth(five + cent) +
          scale.Scale(layout::kCoinValueNudge);
  canvas_.TextOut(x, y, five);
  x += canvas_.TextWidth(five);
  SetFont(canvas_, CentSignFont(width));
  canvas_.TextOut(x, y, cent);
  canvas_.SetFontFace(QString::fromLatin1(kUiFace));
}

QRect MainScreen::LogoPlace() const {
  // At its own pixel size, centred over the cabinet's first columns.
  const ScreenScale& scale = layout_.scale;
  const int w = art_.logo_bitmap.width();
  const int h = art_.logo_bitmap.height();
  return QRect((scale.Scale(layout::kLogoAreaWidth) - w) / 2, scale.Scale(layout::kLogoTop), w, h);
}

void MainScreen::DrawCreditsMeter() {
  shown_.credits = gs_.Credits;
  DrawNumber(canvas_, art_, gs_.Credits, layout_.scale.Scale(layout::kCreditsMeterRight),
             meter_top_, true, true, layout_.scale.ratio);
}

void MainScreen::DrawBetMeter(int amount) {
  shown_.coins = amount;
  DrawNumber(canvas_, art_, amount, layout_.scale.Scale(layout::kBetMeterRight), meter_top_, true,
             true, layout_.scale.ratio);
}

void MainScreen::DrawWinMeter(int amount) {
  shown_.winnings = amount;
  DrawNumber(canvas_, art_, amount, layout_.scale.Scale(layout::kWinMeterRight), meter_top_, false,
             true, layout_.scale.ratio);
}

void MainScreen::DrawLineMarkers(int n, bool lit) {
  const ScreenScale& scale = layout_.scale;
  const int r = MarkerRow(n);
  if (r < 0) return;
  const int top = scale.Scale(layout::kMarkersTop) + scale.Scale(layout::kMarkerRowHeight * r);
  const int height = scale.Scale(layout::kMarkerRowHeight);
  const bool odd = (r % 2) != 0;
  const QString number = QString::number(n);

  const FontBand number_font = MarkerNumberFont(scale.Width());
  auto draw_one = [&](const layout::MarkerColumn& column, const MarkerColumnArt& art) {
    const int left = scale.Scale(column.left);
    const int w = art.mask.width();
    const int number_offset = odd ? column.number_odd : column.number_even;
    canvas_.SetRasterOp(RasterOp::And);
    Blit(canvas_, left, top, left + w, top + height, art.mask, 0, r * height, w, (r + 1) * height);
    canvas_.SetRasterOp(RasterOp::Or);
    Blit(canvas_, left, top, left + w, top + height, lit ? art.lit : art.dim, 0, r * height, w,
         (r + 1) * height);
    canvas_.SetRasterOp(RasterOp::Copy);
    canvas_.SetBrushClear(true);
    canvas_.SetFontColor(lit ? kWhite : kSilver);
    SetFont(canvas_, number_font);
    if (lit)
      WriteCentred(canvas_, left + scale.Scale(number_offset),
                   top + scale.Scale(layout::kMarkerNumberY), number);
  };
  // Even rows have their square on the left of each marker, odd rows on the right.
  draw_one(layout::kLeftMarkers, art_.left_markers);
  draw_one(layout::kRightMarkers, art_.right_markers);
  canvas_.SetRasterOp(RasterOp::Copy);
  canvas_.SetBrushClear(false);
}

void MainScreen::DrawAllLineMarkers() {
  for (int n = 1; n <= kPaylines; ++n) DrawLineMarkers(n, n <= gs_.LinesBet);
}

void MainScreen::DrawPaylinePath(int n) {
  const ScreenScale& scale = layout_.scale;
  const int r = MarkerRow(n);
  if (r < 0) return;
  const int l = layout_.ReelsLeft;
  const int t = layout_.ReelsTop;
  const int p = layout_.ReelPitch;
  const int c = layout_.CellSize;
  const int h = c / 2;
  const int y0 = scale.Scale(layout::kMarkersTop) +
                 scale.Scale(layout::kMarkerRowHeight * r + layout::kMarkerNumberY);
  const int xs = l - scale.Scale(layout::kPathOverhang);
  const int xe = l + 4 * p + c + scale.Scale(layout::kPathOverhang);
  const int wide = scale.Scale(3);
  const int narrow = scale.Scale(2);

  struct Point {
    int x, y, pen_width;
  };
  std::array<Point, 5> points{};
  int count = 0;
  auto add = [&](int x, int y, int pen_width) { points[count++] = {x, y, pen_width}; };
  switch (n) {
    case 4:
      add(l + 2 * p + h, t + 3 * c - scale.Scale(5), narrow);
      add(xe, y0, narrow);
      break;
    case 5:
      add(l + 2 * p + h, t + scale.Scale(5), narrow);
      add(xe, y0, narrow);
      break;
    case 6:
    case 7:
      add(l + p + h, y0, wide);
      add(l + 2 * p + h, t + c + h, narrow);
      add(l + 3 * p + h, y0, narrow);
      add(xe, y0, wide);
      break;
    case 8:
      add(l + h, y0, wide);
      add(l + p + h, t + h - scale.Scale(6), narrow);
      add(l + 3 * p + h, t + h - scale.Scale(6), wide);
      add(l + 4 * p + h, y0, narrow);
      add(xe, y0, wide);
      break;
    case 9:
      add(l + h, y0, wide);
      add(l + p + h, t + 2 * c + h + scale.Scale(6), narrow);
      add(l + 3 * p + h, t + 2 * c + h + scale.Scale(6), wide);
      add(l + 4 * p + h, y0, narrow);
      add(xe, y0, wide);
      break;
    default:  // 1, 2, 3: straight across
      add(xe, y0, wide);
      break;
  }

  canvas_.SetBrushClear(false);
  // The path takes whatever colour its left marker shows now, lit or dim.
  const QRgb colour = canvas_.Pixel(xs - scale.Px(layout::kPathColourSample), y0);
  canvas_.SetPenColor(colour);
  line_colour_[n] = colour & 0xFFFFFFu;
  canvas_.SetPenWidth(wide);
  canvas_.MoveTo(xs, y0);
  for (int i = 0; i < count; ++i) {
    canvas_.SetPenWidth(points[i].pen_width);
    canvas_.LineTo(points[i].x, points[i].y);
  }
  canvas_.SetPenWidth(1);
  line_colour_[kScatterWin] = 0xFFFFFFu;
}

void MainScreen::RestoreReelFrames() {
  const ScreenScale& scale = layout_.scale;
  const int top = scale.Scale(layout::kReelsTop);
  canvas_.SetRasterOp(RasterOp::Copy);
  auto put = [&](const QImage& strip, int left) {
    Blit(canvas_, left, top, left + strip.width(), top + strip.height(), strip, 0, 0, strip.width(),
         strip.height());
  };
  for (int i = 0; i < kReels; ++i) {
    put(art_.left_frames[i], scale.Scale(layout::kLeftFrameStripLeft) + i * layout_.ReelPitch);
    put(art_.right_frames[i], layout_.ReelsLeft + i * layout_.ReelPitch + layout_.CellSize);
  }
}

void MainScreen::PutBackBackground(int left, int top, int right, int bottom) {
  canvas_.SetRasterOp(RasterOp::Copy);
  Blit(canvas_, left, top, right, bottom, art_.background_bitmap, left, top, right, bottom);
}

void MainScreen::DrawCell(int reel, int row, int code) {
  const int c = layout_.CellSize;
  const int x = layout_.ReelsLeft + reel * layout_.ReelPitch;
  const int y = layout_.ReelsTop + row * c;
  const QImage& sheet = art_.symbol_bitmap;
  const int sx = (code % 4) * c;
  const int sy = (code / 4) * c;
  if (code < 0 || sx + c > sheet.width() || sy + c > sheet.height()) {
    // A code the sheet has no cell for shows an empty (black) cell rather than stray pixels.
    canvas_.SetPenColor(kBlack);
    canvas_.SetBrushColor(kBlack);
    canvas_.SetBrushClear(false);
    canvas_.FillRect(x, y, x + c, y + c);
    return;
  }
  canvas_.SetRasterOp(RasterOp::Copy);
  Blit(canvas_, x, y, x + c, y + c, sheet, sx, sy, sx + c, sy + c);
}

void MainScreen::DrawReelAtRest(int r) {
  // The cells cover the whole window: the turning rows shown there are not copied in first.
  canvas_.DropShownRows(r);
  for (int row = 0; row < kRows; ++row) DrawCellAtRest(r, row);
}

void MainScreen::DrawCellAtRest(int r, int row) {
  if (r < 0 || r >= kReels || row < 0 || row >= kRows) return;
  // A stop outside 1..30 is read around the strip, as the strip itself wraps from 30 to 1.
  const int p = ((gs_.ReelStop[r] - 1 + row) % kStripLength + kStripLength) % kStripLength + 1;
  DrawCell(r, row, gs_.ReelStrip[r][p]);
}

void MainScreen::DrawSpinSlice(int r, int offset) {
  if (r < 0 || r >= kReels) return;
  const QImage& strip = art_.spin_strip_bitmap;
  const int blur = strip.height();
  const int c = layout_.CellSize;
  if (blur < 1 || c < 1) return;
  const int x = layout_.ReelsLeft + r * layout_.ReelPitch;
  const int from = (offset % blur + blur) % blur;
  // The strip is a loop: past its end the picture goes on from its top rows, pixel for pixel (the
  // strip was laid out as wide as a cell). The turning reel is painted onto the screen straight
  // from the strip; the surface takes the rows in when it is next read or drawn on.
  const int w = std::min(c, strip.width());
  canvas_.ShowRows(r, QRect(x, layout_.ReelsTop, w, 3 * c), strip, from);
}

void MainScreen::DrawWildFrame(int reel, int row, int frame) {
  if (reel < 0 || reel >= kReels || row < 0 || row >= kRows) return;
  DrawCell(reel, row, frame);
}

void MainScreen::TakeLandingPicture(int r, QImage* picture) const {
  const QRect area(layout_.ReelsLeft + r * layout_.ReelPitch, layout_.ReelsTop, layout_.CellSize,
                   3 * layout_.CellSize - layout_.scale.Px(8));
  const QImage& surface = canvas_.ImageWithin(area);
  if (picture->size() != area.size() || picture->format() != surface.format() ||
      !surface.rect().contains(area)) {
    *picture = surface.copy(area);
    return;
  }
  const auto row_bytes = static_cast<size_t>(area.width()) * 4;
  for (int y = 0; y < area.height(); ++y) {
    std::memcpy(picture->scanLine(y), surface.constScanLine(area.top() + y) + area.left() * 4,
                row_bytes);
  }
}

void MainScreen::DrawBounce(int r, const QImage& picture, int shift) {
  const int x = layout_.ReelsLeft + r * layout_.ReelPitch;
  const int window_top = layout_.ReelsTop;
  const int window_bottom = layout_.ReelsTop + 3 * layout_.CellSize;
  int top = window_top + shift;
  int src_top = 0;
  if (top < window_top) {
    src_top = window_top - top;
    top = window_top;
  }
  const int bottom = std::min(window_top + shift + picture.height(), window_bottom);
  const int rows = bottom - top;
  if (rows <= 0) return;
  canvas_.CopyRect(x, top, x + picture.width(), bottom, picture, 0, src_top, picture.width(),
                   src_top + rows);
}

void MainScreen::FillCellWhite(int reel, int row) {
  if (reel < 0 || reel >= kReels || row < 0 || row >= kRows) return;
  const int c = layout_.CellSize;
  const int x = layout_.ReelsLeft + reel * layout_.ReelPitch;
  const int y = layout_.ReelsTop + row * c;
  canvas_.SetPenColor(kWhite);
  canvas_.SetBrushColor(kWhite);
  canvas_.SetBrushClear(false);
  canvas_.FillRect(x, y, x + c, y + c);
}
