#include "synthetic_art.h"

#include <QPainter>

namespace synthetic {

namespace {

constexpr QRgb kRowColours[9] = {qRgb(255, 0, 0),   qRgb(132, 63, 8), qRgb(0, 255, 0),
                                 qRgb(0, 255, 255), qRgb(0, 0, 255),  qRgb(255, 0, 255),
                                 qRgb(255, 128, 0), qRgb(0, 128, 64), qRgb(255, 0, 128)};

QImage Filled(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

void Fill(QImage& image, int l, int t, int r, int b, QRgb colour) {
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) image.setPixel(x, y, colour);
}

// One marker row: two squares joined by a bar; even rows span x 2..68, odd rows x 21..87.
// Squares cover rows 4..20 of the row, the bar rows 9..15.
void DrawMarkerRow(QImage& image, int row, QRgb square, QRgb bar) {
  const int l = row % 2 == 0 ? 2 : 21;
  const int top = 25 * row;
  Fill(image, l, top + 4, l + 20, top + 21, square);
  Fill(image, l + 20, top + 9, l + 46, top + 16, bar);
  Fill(image, l + 46, top + 4, l + 66, top + 21, square);
}

}  // namespace

QRgb MarkerColour(int row) {
  return kRowColours[row];
}

QRgb DimMarkerColour(int row) {
  const QRgb c = kRowColours[row];
  return qRgb(qRed(c) / 2, qGreen(c) / 2, qBlue(c) / 2);
}

QRgb SymbolColour(int code) {
  return qRgb(10 * code + 5, 250 - 10 * code, 60 + code);
}

QRgb StripColour(int row) {
  return qRgb(row & 0xff, (row >> 8) & 0xff, 170);
}

QRgb GreenDigit(int d, int x) {
  return qRgb(0, 100 + 10 * d, 16 + x);
}

QRgb RedDigit(int d, int x) {
  return qRgb(100 + 10 * d, 0, 16 + x);
}

QImage MakeSheet(int cell, QRgb tint) {
  QImage sheet(4 * cell, 6 * cell, QImage::Format_RGB32);
  for (int code = 0; code < 24; ++code) {
    const QRgb c = SymbolColour(code);
    const QRgb mixed = qRgb(qRed(c) ^ qRed(tint), qGreen(c) ^ qGreen(tint), qBlue(c) ^ qBlue(tint));
    Fill(sheet, (code % 4) * cell, (code / 4) * cell, (code % 4 + 1) * cell, (code / 4 + 1) * cell,
         mixed);
  }
  return sheet;
}

MainArt MakeArt() {
  MainArt art;

  QImage bg = Filled(800, 600, kBackground);
  for (int i = 0; i < 5; ++i) {
    Fill(bg, 204 + 92 * i, 210, 208 + 92 * i, 438, kFrameLeft);
    Fill(bg, 208 + 92 * i, 210, 283 + 92 * i, 438, kReelWindow);
    Fill(bg, 283 + 92 * i, 210, 286 + 92 * i, 438, kFrameRight);
  }
  for (int k = 0; k < 5; ++k) Fill(bg, 167 + 60 * k, 487, 218 + 60 * k, 497, kKeyArt);
  for (int k = 0; k < 5; ++k) Fill(bg, 193 + 61 * k, 503, 246 + 61 * k, 513, kKeyArt);
  bg.setPixel(188, 492, kKeySample);
  Fill(bg, 640, 18, 700, 60, kCoinBox);
  Fill(bg, 560, 99, 644, 184, kPatch);
  art.background_picture = bg;

  QImage strip(76, 912, QImage::Format_RGB32);
  for (int y = 0; y < strip.height(); ++y) Fill(strip, 0, y, 76, y + 1, StripColour(y));
  art.spin_strip_picture = strip;

  art.symbol_sheet_picture = MakeSheet(76, qRgb(0, 0, 0));

  art.max_bet_key_picture = Filled(57, 68, kMaxBetUnlit);
  Fill(art.max_bet_key_picture, 0, 34, 57, 68, kMaxBetLit);
  art.spin_key_picture = Filled(58, 70, kSpinUnlit);
  Fill(art.spin_key_picture, 0, 35, 58, 70, kSpinLit);
  art.dimmed_coin_picture = Filled(57, 110, qRgb(60, 60, 60));

  art.logo = Filled(125, 70, qRgb(0, 0, 0));
  Fill(art.logo, kLogoShapeLeft, kLogoShapeTop, kLogoShapeRight, kLogoShapeBottom, kLogo);
  art.logo_mask = Filled(125, 70, qRgb(255, 255, 255));
  Fill(art.logo_mask, kLogoShapeLeft, kLogoShapeTop, kLogoShapeRight, kLogoShapeBottom,
       qRgb(0, 0, 0));

  art.line_bubbles = Filled(90, 225, qRgb(0, 0, 0));
  art.line_bubbles_dim = Filled(90, 225, qRgb(0, 0, 0));
  art.line_bubbles_neg = Filled(90, 225, qRgb(255, 255, 255));
  for (int row = 0; row < 9; ++row) {
    DrawMarkerRow(art.line_bubbles, row, MarkerColour(row), MarkerColour(row));
    DrawMarkerRow(art.line_bubbles_dim, row, DimMarkerColour(row), MarkerColour(row));
    DrawMarkerRow(art.line_bubbles_neg, row, qRgb(0, 0, 0), qRgb(0, 0, 0));
  }

  art.green_small = Filled(188, 21, qRgb(0, 0, 0));
  art.digits_small = Filled(188, 21, qRgb(0, 0, 0));
  for (int d = 0; d < 10; ++d) {
    for (int x = 0; x < 16; ++x) {
      Fill(art.green_small, 16 * d + x, 0, 16 * d + x + 1, 21, GreenDigit(d, x));
      Fill(art.digits_small, 16 * d + x, 0, 16 * d + x + 1, 21, RedDigit(d, x));
    }
  }
  // The colon-like mark after the blank cell is never drawn; make it loud so a stray read shows.
  Fill(art.green_small, 176, 0, 188, 21, qRgb(255, 0, 255));
  Fill(art.digits_small, 176, 0, 188, 21, qRgb(255, 0, 255));
  return art;
}

}  // namespace synthetic
