// The payoff chart: a maximised black window, like the pay glass of a cabinet, that shows every
// line pay beside its symbol tiles, the scatter pays, the jackpot, the rules of play and of the
// bonus game, and the bonus game's walking characters, with a Close button between two silver
// rules. It reads the main window's symbol sheet and CellSize and changes nothing.
//
// The figures are the chart's own fixed texts, laid out as the glass is printed; the tests hold
// them against the pay table the game really pays.
#pragma once

#include <QDialog>
#include <QImage>
#include <QRgb>
#include <QString>
#include <array>
#include <vector>

#include "platform/canvas.h"
#include "screen/scale.h"
#include "shell/help_topics.h"

class QLabel;
class QPushButton;

namespace payoff_chart {

// One column of a pay table under a symbol tile: the pays for 5, 4, 3, 2 and 1 of the symbol
// from the left of a line (0 where the chart shows no line), and where the column's first line
// stands and how far apart its lines are, in design units.
struct PayColumn {
  int code;
  std::array<int, 5> pays;  // for counts 5, 4, 3, 2, 1
  int first_top;
  int pitch;
};

inline constexpr int kJackpotPays = 5000;
// Scatter pays, as multiples of the total bet, for 5, 4 and 3 scatters.
inline constexpr std::array<int, 3> kScatterPays{100, 25, 5};

// The large tiles of the middle row: the wild and the four highest symbols. Three wilds have no
// pay of their own: they pay as three I's, so the glass promises that and nothing more.
inline constexpr std::array<PayColumn, 5> kLargeColumns{{
    {0, {2500, 2000, 120, 25, 2}, 149, 16},
    {18, {2500, 500, 120, 5, 1}, 149, 16},
    {19, {2500, 500, 120, 5, 1}, 149, 16},
    {20, {1000, 250, 100, 5, 0}, 157, 16},
    {21, {1000, 250, 100, 5, 0}, 157, 16},
}};

// The small tiles of the bottom row: symbols A to H.
inline constexpr std::array<PayColumn, 8> kSmallColumns{{
    {10, {500, 75, 40, 0, 0}, 258, 16},
    {11, {200, 50, 10, 0, 0}, 258, 16},
    {12, {200, 50, 10, 0, 0}, 258, 16},
    {13, {150, 40, 10, 0, 0}, 258, 16},
    {14, {150, 40, 10, 0, 0}, 258, 16},
    {15, {120, 20, 5, 2, 0}, 249, 15},
    {16, {100, 20, 5, 0, 0}, 258, 16},
    {17, {100, 20, 5, 0, 0}, 258, 16},
}};

// The width the glass is laid out for in a window window_width x window_height (window units),
// beside a main screen laid out `widest` wide: widest, as long as the whole glass, its lowest
// characters and texts included, is in sight in the window; else the largest width at which it
// is, as the cabinet is laid out on a short screen. Never below 1.
int GlassLayoutWidth(int widest, int window_width, int window_height);

}  // namespace payoff_chart

class PayoffChartWindow : public QDialog {
 public:
  static constexpr int kHelpContext = kPayoffChartHelp;
  static constexpr int kCharacters = 12;
  static constexpr int kCharacterSide = 110;

  // One text as the last paint drew it: its cell's top-left corner and extent (device pixels of
  // the drawing), colour and size.
  struct DrawnText {
    QString text;
    int x, y;
    QRgb colour;
    int points;
    int width = 0, height = 0;
  };

  // The glass is laid out at scale, the main screen's (its layout width sets the glass's width,
  // the places and the font sizes, narrowed where the window is too short for all of it; its
  // pixel ratio the device pixels the glass is drawn in).
  // symbol_sheet holds the symbol cells at cell_size device pixels; it is read at every paint and
  // must outlive the window. The window sizes itself to the screen and is shown maximised.
  PayoffChartWindow(ScreenScale scale, int cell_size, const QImage& symbol_sheet,
                    QWidget* parent = nullptr);
  // Same with the character pictures given (a missing one is drawn plainly).
  PayoffChartWindow(ScreenScale scale, int cell_size, const QImage& symbol_sheet,
                    std::array<QImage, 8> characters, QWidget* parent = nullptr);

  // Paints the whole chart and places the Close button and the characters.
  void PaintAll();

  // The drawing in device pixels, as wide as the glass's layout; it stands GlassLeft() window
  // pixels from the window's left edge.
  const Canvas& Surface() const { return surface_; }
  // The scale the glass is drawn at: the main screen's, narrowed to fit the window.
  const ScreenScale& GlassScale() const { return glass_; }
  int GlassLeft() const { return glass_left_; }
  QPushButton* CloseButton() { return close_button_; }
  QLabel* Character(int i) { return characters_[i]; }
  const std::vector<DrawnText>& Texts() const { return texts_; }
  // Where the last paint drew text i, in the window's own coordinates; none for a text it did
  // not draw.
  QRect TextPlace(size_t i) const;
  // Where the figures of a pay table stand (the large columns first, then the small ones, as the
  // chart's tables list them), and the scatter pays; in the window's own coordinates.
  QRect PayTablePlace(size_t column) const;
  QRect ScatterPlace() const { return scatter_place_; }

  // The eight single frames of the bonus game's characters carried with the program.
  static std::array<QImage, 8> BuiltInCharacters();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Text(int x, int y, const QString& text);
  void FramedTile(int code, int x, int y, int side);
  void PayTable(const payoff_chart::PayColumn& column, int right, int pay_left, QRgb colour);

  ScreenScale scale_;
  ScreenScale glass_;  // scale_ at the glass's own layout width (GlassLayoutWidth)
  int cell_size_;
  const QImage& symbol_sheet_;
  Canvas surface_;
  int glass_left_ = 0;  // the drawing's left edge in the window
  QPushButton* close_button_ = nullptr;
  std::array<QLabel*, kCharacters> characters_{};
  std::vector<DrawnText> texts_;
  std::vector<QRect> pay_table_places_;
  QRect scatter_place_;
};
