// The faces, font bands and named colours of what the game draws itself: the main screen, the
// win cycle's status line and the payoff chart; the game's windows and dialogs take the same
// face. Texts grow with the layout width in steps: a band table lists, for each band, the widest
// layout width it covers and the font used there, narrowest band first; the last band covers
// every wider layout. Everything here is a constant or made from one, so any part of the game
// may read it.
#pragma once

#include <QFont>
#include <QRgb>
#include <QString>
#include <array>
#include <climits>
#include <cstddef>

#include "platform/canvas.h"

// The face of the game's windows and dialogs, at a size in pixels: their controls and labels
// take it whatever the desktop's own font is.
inline QFont DialogFont(int pixels, bool bold = false) {
  QFont font(QString::fromLatin1(kUiFace));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// One font: its face, its size in points and its weight.
struct FontBand {
  const char* face;
  int size;
  bool bold;
};

// One band of a table: the layout widths up to widest (those above the band before it) use font.
struct FontStep {
  int widest;
  FontBand font;
};

// The band of a table that covers layout_width.
template <typename Step, std::size_t N>
constexpr const Step& BandFor(const std::array<Step, N>& bands, int layout_width) {
  for (const Step& step : bands) {
    if (layout_width <= step.widest) return step;
  }
  return bands.back();
}

namespace font_bands {

inline constexpr int kEveryWider = INT_MAX;

// The main screen's texts. The meter frame's: its labels and the win cycle's status line below
// them.
inline constexpr std::array<FontStep, 4> kMeterFrame{{
    {850, {kUiFace, 8, false}},
    {1150, {kUiFace, 10, false}},
    {1300, {kUiFace, 12, true}},
    {kEveryWider, {kUiFace, 14, true}},
}};
// The captions of the bet keys.
inline constexpr std::array<FontStep, 3> kBetKeys{{
    {900, {kUiFace, 8, false}},
    {1150, {kUiFace, 8, true}},
    {kEveryWider, {kUiFace, 10, true}},
}};
// The payline numbers on the lit markers.
inline constexpr std::array<FontStep, 4> kMarkerNumbers{{
    {900, {kUiFace, 8, true}},
    {1190, {kUiFace, 10, true}},
    {1400, {kUiFace, 14, true}},
    {kEveryWider, {kUiFace, 18, true}},
}};
// The coin value: the large "5" and the small cent sign after it.
inline constexpr std::array<FontStep, 5> kCoinFigure{{
    {990, {kCoinFace, 20, true}},
    {1090, {kCoinFace, 24, true}},
    {1190, {kCoinFace, 28, true}},
    {1390, {kCoinFace, 36, true}},
    {kEveryWider, {kCoinFace, 48, true}},
}};
inline constexpr std::array<FontStep, 5> kCentSign{{
    {990, {kCoinFace, 8, true}},
    {1090, {kCoinFace, 10, true}},
    {1190, {kCoinFace, 12, true}},
    {1390, {kCoinFace, 14, true}},
    {kEveryWider, {kCoinFace, 18, true}},
}};

}  // namespace font_bands

// The font of each of the main screen's texts at a layout width (as ScreenScale::Width()
// counts it).
constexpr FontBand MeterLabelFont(int layout_width) {
  return BandFor(font_bands::kMeterFrame, layout_width).font;
}
constexpr FontBand StatusLineFont(int layout_width) {
  return BandFor(font_bands::kMeterFrame, layout_width).font;
}
constexpr FontBand BetKeyFont(int layout_width) {
  return BandFor(font_bands::kBetKeys, layout_width).font;
}
constexpr FontBand MarkerNumberFont(int layout_width) {
  return BandFor(font_bands::kMarkerNumbers, layout_width).font;
}
constexpr FontBand CoinFigureFont(int layout_width) {
  return BandFor(font_bands::kCoinFigure, layout_width).font;
}
constexpr FontBand CentSignFont(int layout_width) {
  return BandFor(font_bands::kCentSign, layout_width).font;
}

// The payoff chart: every text bold in kUiFace, in five sizes (points) per band: the jackpot,
// the rules, the scatter and large-symbol tables (and the Close button), the small-symbol table,
// the bonus texts.
struct PayoffChartFonts {
  int jackpot, rules, large_table, small_table, bonus;
};
struct PayoffChartStep {
  int widest;
  PayoffChartFonts fonts;
};
namespace font_bands {
inline constexpr std::array<PayoffChartStep, 4> kPayoffChart{{
    {999, {12, 8, 10, 8, 8}},
    {1190, {14, 10, 12, 10, 10}},
    {1299, {18, 12, 14, 12, 12}},
    {kEveryWider, {24, 14, 18, 14, 14}},
}};
}  // namespace font_bands

// The payoff chart's sizes at the layout width of the main screen it is shown for.
constexpr PayoffChartFonts PayoffChartFontsFor(int layout_width) {
  return BandFor(font_bands::kPayoffChart, layout_width).fonts;
}

// The named colours of the main screen, the status line and the payoff chart.
namespace colours {
inline constexpr QRgb kWhite = qRgb(255, 255, 255);
inline constexpr QRgb kYellow = qRgb(255, 255, 0);
inline constexpr QRgb kSilver = qRgb(192, 192, 192);
inline constexpr QRgb kGrey = qRgb(128, 128, 128);
inline constexpr QRgb kBlack = qRgb(0, 0, 0);
inline constexpr QRgb kRed = qRgb(255, 0, 0);
}  // namespace colours
