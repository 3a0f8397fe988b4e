#include "windows/payoff_chart.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <cstdint>

#include "platform/help_viewer.h"
#include "screen/fonts.h"

namespace {

using colours::kBlack, colours::kGrey, colours::kRed, colours::kSilver, colours::kWhite,
    colours::kYellow;
using payoff_chart::PayColumn;

const QString kFace = QString::fromLatin1(kUiFace);

constexpr int kScatterCodes[] = {5, 6, 7, 8, 9};
constexpr int kSheetColumns = 4;
constexpr int kCounts[] = {5, 4, 3, 2, 1};

const char* const kRulesLeft[] = {
    "All payoffs are based on coins",    "bet per line except scatter wins",
    "which are based on total credits.", "Lines pay from the left side only.",
    "Scatters win in any position.",     "Wild symbols match any except",
    "the ZELMAR scatter symbol.",
};
constexpr int kRulesLeftTops[] = {20, 34, 48, 62, 76, 90, 104};
const char* const kRulesRight[] = {
    "Collect a Scatter win by getting",
    "three or more ZELMAR logos on",
    "the screen in any position.",
    "Scatter wins start bonus game.",
};
constexpr int kRulesRightTops[] = {20, 34, 48, 106};
constexpr int kScatterTops[] = {62, 76, 90};
constexpr int kScatterCounts[] = {5, 4, 3};

const QString kBonusText1 = QStringLiteral(
    "The Zelmar Bonus Game is played when you get three or more ZELMAR logos on the screen "
    "during any slot spin.  When you get to the");
const QString kBonusText2 = QStringLiteral(
    "Bonus Game, select as many of the walking balls as you want.  However, behind two of them "
    "are BOMBS.  Get a bomb and you lose it all!");

void SetPen(Canvas& c, QRgb colour, int width) {
  c.SetPenColor(colour);
  c.SetPenWidth(width);
}

// A plain stand-in for a character picture that cannot be read: a ball on a black ground.
QImage PlainCharacter(int i) {
  static const QColor kColours[] = {Qt::white,  QColor(230, 120, 30), QColor(240, 240, 230),
                                    Qt::yellow, QColor(130, 70, 30),  QColor(30, 30, 30),
                                    Qt::red,    QColor(240, 240, 240)};
  QImage image(PayoffChartWindow::kCharacterSide, PayoffChartWindow::kCharacterSide,
               QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::gray, 2));
  p.setBrush(kColours[i % 8]);
  p.drawEllipse(QRectF(20, 20, 70, 70));
  return image;
}

// The character pictures stand on a white ground, as in the bonus game's boxes. On the black
// glass they are shown on black: the ground connected to the picture's border becomes black, and
// the light fringe pixels along the figure's outline lose the white they had mixed in, so no pale
// halo remains.
QImage OnBlackGround(const QImage& picture) {
  QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const int w = image.width(), h = image.height();
  // The ground: white, or the pale neutral grey of the soft shadow the figures cast on it.
  auto light = [&image](int x, int y) {
    const QRgb c = image.pixel(x, y);
    const int lo = std::min({qRed(c), qGreen(c), qBlue(c)});
    const int hi = std::max({qRed(c), qGreen(c), qBlue(c)});
    return lo >= 150 && hi - lo <= 16;
  };
  std::vector<uint8_t> ground(static_cast<size_t>(w) * h, 0);
  std::vector<QPoint> todo;
  auto visit = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    uint8_t& g = ground[static_cast<size_t>(y) * w + x];
    if (g != 0 || !light(x, y)) return;
    g = 1;
    todo.emplace_back(x, y);
  };
  for (int x = 0; x < w; ++x) {
    visit(x, 0);
    visit(x, h - 1);
  }
  for (int y = 0; y < h; ++y) {
    visit(0, y);
    visit(w - 1, y);
  }
  while (!todo.empty()) {
    const QPoint p = todo.back();
    todo.pop_back();
    visit(p.x() + 1, p.y());
    visit(p.x() - 1, p.y());
    visit(p.x(), p.y() + 1);
    visit(p.x(), p.y() - 1);
  }
  auto is_ground = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y < h && ground[static_cast<size_t>(y) * w + x] != 0;
  };
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (is_ground(x, y)) {
        image.setPixel(x, y, qRgb(0, 0, 0));
        continue;
      }
      if (!is_ground(x - 1, y) && !is_ground(x + 1, y) && !is_ground(x, y - 1) &&
          !is_ground(x, y + 1)) {
        continue;
      }
      // How much of the white ground this outline pixel carries, judged by its darkest channel.
      const QRgb c = image.pixel(x, y);
      const int lightest = std::min({qRed(c), qGreen(c), qBlue(c)});
      const int white = std::clamp((lightest - 96) * 255 / (255 - 96), 0, 255);
      image.setPixel(x, y,
                     qRgb(std::max(0, qRed(c) - white), std::max(0, qGreen(c) - white),
                          std::max(0, qBlue(c) - white)));
    }
  }
  return image;
}

// The design row the characters' first row stands on, and the design gaps between the rows of
// characters and texts below it.
constexpr int kCharactersTop = 378;
constexpr int kBelowCharacters = 6;
constexpr int kBonusLinePitch = 12;

// Whether the glass shows a second row of characters at a layout width.
bool SecondCharacterRow(int layout_width) {
  return layout_width >= 1000;
}

}  // namespace

int payoff_chart::GlassLayoutWidth(int widest, int window_width, int window_height) {
  // The lowest line of the bonus texts, in window units, as its band's font sets it.
  const auto text_height = [](int layout_width) {
    Canvas probe(1, 1);
    probe.SetFontFace(kFace);
    probe.SetFontBold(true);
    probe.SetFontSize(PayoffChartFontsFor(layout_width).bonus);
    return probe.TextHeight(kBonusText2);
  };
  const auto bottom = [&](int w) {
    const int texts = ScaleAt(w, kCharactersTop) + PayoffChartWindow::kCharacterSide +
                      ScaleAt(w, kBelowCharacters) + ScaleAt(w, kBonusLinePitch) + text_height(w);
    if (!SecondCharacterRow(w)) return texts;
    return std::max(texts, ScaleAt(w, kCharactersTop) + 2 * PayoffChartWindow::kCharacterSide +
                               2 * ScaleAt(w, kBelowCharacters) + 2 * ScaleAt(w, kBonusLinePitch));
  };
  // The second row of characters comes in at 1000 wide, so the height does not grow steadily
  // with the width: the widths are tried from the widest down.
  for (int w = std::min(widest, window_width); w > 1; --w) {
    if (bottom(w) <= window_height) return w;
  }
  return 1;
}

std::array<QImage, 8> PayoffChartWindow::BuiltInCharacters() {
  std::array<QImage, 8> characters;
  for (int i = 0; i < 8; ++i) {
    characters[i] = QImage(QStringLiteral(":/art/bonus/character%1.png").arg(i + 1));
  }
  return characters;
}

PayoffChartWindow::PayoffChartWindow(ScreenScale scale, int cell_size, const QImage& symbol_sheet,
                                     QWidget* parent)
    : PayoffChartWindow(scale, cell_size, symbol_sheet, BuiltInCharacters(), parent) {}

PayoffChartWindow::PayoffChartWindow(ScreenScale scale, int cell_size, const QImage& symbol_sheet,
                                     std::array<QImage, 8> characters, QWidget* parent)
    : QDialog(parent),
      scale_(scale),
      glass_(scale),
      cell_size_(cell_size),
      symbol_sheet_(symbol_sheet) {
  setWindowTitle(QStringLiteral("Payoff Chart"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QPalette black = palette();
  black.setColor(QPalette::Window, Qt::black);
  setPalette(black);
  QFont form(kFace);
  form.setBold(true);
  setFont(form);
  SetHelpContext(this, kHelpContext);

  close_button_ = new QPushButton(QStringLiteral("Close"), this);
  // The button sits on the dark glass; keep the desktop's own button colours for it.
  close_button_->setPalette(QGuiApplication::palette());
  connect(close_button_, &QPushButton::clicked, this, &QDialog::accept);

  for (int i = 0; i < kCharacters; ++i) {
    // The last four repeat the first four.
    QImage picture = characters[i % 8];
    picture = picture.size() == QSize(kCharacterSide, kCharacterSide) ? OnBlackGround(picture)
                                                                      : PlainCharacter(i % 8);
    auto* label = new QLabel(this);
    label->setPixmap(QPixmap::fromImage(picture));
    // A picture of what the bonus game's rules below it speak of.
    label->setAccessibleName(QStringLiteral("A walking ball of the bonus game"));
    label->resize(kCharacterSide, kCharacterSide);
    characters_[i] = label;
  }

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    resize(screen->availableGeometry().size());
  }
  setWindowState(Qt::WindowMaximized);
  PaintAll();
}

void PayoffChartWindow::Text(int x, int y, const QString& text) {
  surface_.TextOut(x, y, text);
  texts_.push_back({text, x, y, surface_.FontColor(), surface_.FontSize(), surface_.TextWidth(text),
                    surface_.TextHeight(text)});
}

QRect PayoffChartWindow::TextPlace(size_t i) const {
  if (i >= texts_.size()) return {};
  const DrawnText& t = texts_[i];
  const double ratio = glass_.ratio;
  return QRectF(t.x / ratio, t.y / ratio, t.width / ratio, t.height / ratio)
      .toAlignedRect()
      .translated(glass_left_, 0);
}

QRect PayoffChartWindow::PayTablePlace(size_t column) const {
  return column < pay_table_places_.size() ? pay_table_places_[column] : QRect();
}

void PayoffChartWindow::FramedTile(int code, int x, int y, int side) {
  const int cell = cell_size_;
  const QRect source((code % kSheetColumns) * cell, (code / kSheetColumns) * cell, cell, cell);
  surface_.SetRasterOp(RasterOp::Copy);
  if (side == cell) {
    surface_.CopyRect(x, y, x + side, y + side, symbol_sheet_, source.left(), source.top(),
                      source.left() + cell, source.top() + cell);
  } else {
    // Shrinking by a quarter with a plain pixel pick would drop every fourth row and column and
    // break the pictures' outlines; averaging each small pixel over the area it covers keeps
    // them smooth.
    const QImage small = symbol_sheet_.copy(source).scaled(side, side, Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation);
    surface_.CopyRect(x, y, x + side, y + side, small, 0, 0, side, side);
  }
  // Lit from the top left: silver on the left and top, grey on the right and bottom, and a
  // thin grey line inside.
  const int one = glass_.Px(1);
  const int two = glass_.Px(2);
  SetPen(surface_, kSilver, two);
  surface_.MoveTo(x, y + side);
  surface_.LineTo(x, y);
  surface_.LineTo(x + side, y);
  SetPen(surface_, kGrey, two);
  surface_.LineTo(x + side, y + side);
  surface_.LineTo(x + one, y + side);
  SetPen(surface_, kGrey, one);
  surface_.MoveTo(x + one, y + one);
  surface_.LineTo(x + side - two, y + one);
  surface_.LineTo(x + side - two, y + side - two);
  surface_.LineTo(x + one, y + side - two);
  surface_.LineTo(x + one, y + one);
}

void PayoffChartWindow::PayTable(const PayColumn& column, int right, int pay_left, QRgb colour) {
  surface_.SetFontColor(colour);
  const size_t first_text = texts_.size();
  int line = 0;
  for (int k = 0; k < 5; ++k) {
    if (column.pays[k] == 0) continue;
    const int top = glass_.Scale(column.first_top) + line * glass_.Scale(column.pitch);
    const QString count = QString::number(kCounts[k]);
    Text(right - surface_.TextWidth(count), top, count);
    Text(pay_left, top, QString::number(column.pays[k]));
    ++line;
  }
  QRect place;
  for (size_t i = first_text; i < texts_.size(); ++i) place |= TextPlace(i);
  pay_table_places_.push_back(place);
}

void PayoffChartWindow::PaintAll() {
  // The glass is as wide as the main screen's layout, or narrower where the window is too short
  // or too narrow for all of it, and centred in a wider window between black margins. The glass
  // is drawn in device pixels (the window's widgets stand in window units, places of `window`).
  glass_ = scale_;
  glass_.layout_width = payoff_chart::GlassLayoutWidth(glass_.Width(), width(), height());
  const int screen_width = glass_.Width();
  const int glass_width = std::min(width(), screen_width);
  glass_left_ = (width() - glass_width) / 2;
  ScreenScale window = glass_;
  window.ratio = 1;
  const double ratio = glass_.ratio;
  const QSize device(std::min(glass_.Px(width()), glass_.DeviceWidth()), glass_.Px(height()));
  if (surface_.Width() != device.width() || surface_.Height() != device.height()) {
    surface_.SetPixelRatio(ratio);
    surface_.Resize(device.width(), device.height());
    surface_.on_changed = [this, ratio](const QRect& r) {
      update(QRectF(QPointF(r.topLeft()) / ratio, QSizeF(r.size()) / ratio)
                 .toAlignedRect()
                 .translated(glass_left_, 0));
    };
  }
  texts_.clear();
  pay_table_places_.clear();
  const PayoffChartFonts fonts = PayoffChartFontsFor(screen_width);
  // The symbol cells are the main screen's; on a narrower glass the tiles are drawn smaller.
  const int cell = glass_.layout_width == scale_.layout_width
                       ? cell_size_
                       : std::max(1, static_cast<int>(static_cast<int64_t>(cell_size_) *
                                                      glass_.DeviceWidth() / scale_.DeviceWidth()));
  const int small = (cell / 4) * 3;

  surface_.SetRasterOp(RasterOp::Copy);
  surface_.SetPenWidth(1);
  surface_.SetPenColor(kBlack);
  surface_.SetBrushColor(kBlack);
  surface_.SetBrushClear(false);
  surface_.FillRect(0, 0, surface_.Width(), surface_.Height());

  // The tiles: the scatter pieces on top, the wild and the four highest symbols large in the
  // middle, the other eight symbols small at the bottom.
  for (int i = 0; i < 5; ++i)
    FramedTile(kScatterCodes[i], glass_.Scale(197) + i * (cell + glass_.Scale(5)), glass_.Scale(32),
               cell);
  for (int i = 0; i < 5; ++i) {
    FramedTile(payoff_chart::kLargeColumns[i].code,
               glass_.Scale(56) + i * (cell + glass_.Scale(76)), glass_.Scale(150), cell);
  }
  for (int i = 0; i < 8; ++i) {
    FramedTile(payoff_chart::kSmallColumns[i].code,
               glass_.Scale(28) + i * (cell + glass_.Scale(21)), glass_.Scale(250), small);
  }

  surface_.SetBrushClear(true);
  surface_.SetFontFace(kFace);
  surface_.SetFontBold(true);

  // The jackpot, above and below the middle scatter tile. The heading keeps clear of the two
  // columns of rules beside it: where the band's size would run into them (the widest screens),
  // it is set a point smaller until it fits.
  const int centre = glass_.Scale(197) + 2 * cell + 2 * glass_.Scale(5) + cell / 2;
  const QString jackpot =
      QStringLiteral("Zelmar Jackpot - Get all five ZELMAR Symbols on a Payline");
  surface_.SetFontSize(fonts.rules);
  int left_column_end = 0;
  for (const char* line : kRulesLeft) {
    left_column_end =
        std::max(left_column_end, glass_.Scale(10) + surface_.TextWidth(QString::fromLatin1(line)));
  }
  const int half_room =
      std::min(centre - left_column_end, glass_.Scale(624) - centre) - glass_.Scale(4);
  int jackpot_points = fonts.jackpot;
  surface_.SetFontSize(jackpot_points);
  while (jackpot_points > fonts.rules && surface_.TextWidth(jackpot) / 2 > half_room) {
    surface_.SetFontSize(--jackpot_points);
  }
  surface_.SetFontColor(kRed);
  Text(centre - surface_.TextWidth(jackpot) / 2,
       glass_.Scale(32) - surface_.TextHeight(jackpot) - glass_.Scale(2), jackpot);
  const QString pays = QStringLiteral("Pays ") + QString::number(payoff_chart::kJackpotPays) +
                       QStringLiteral(" X Coins Per Line Bet");
  Text(centre - surface_.TextWidth(pays) / 2, glass_.Scale(32) + cell + glass_.Scale(1), pays);

  // The rules of play.
  surface_.SetFontSize(fonts.rules);
  surface_.SetFontColor(kWhite);
  for (int i = 0; i < 7; ++i)
    Text(glass_.Scale(10), glass_.Scale(kRulesLeftTops[i]), QString::fromLatin1(kRulesLeft[i]));
  for (int i = 0; i < 4; ++i) {
    Text(glass_.Scale(624), glass_.Scale(kRulesRightTops[i]), QString::fromLatin1(kRulesRight[i]));
  }

  // The scatter pays.
  surface_.SetFontSize(fonts.large_table);
  const size_t first_scatter_text = texts_.size();
  for (int i = 0; i < 3; ++i) {
    const int top = glass_.Scale(kScatterTops[i]);
    surface_.SetFontColor(kRed);
    Text(glass_.Scale(680), top, QString::number(kScatterCounts[i]));
    surface_.SetFontColor(kWhite);
    Text(glass_.Scale(690), top, QStringLiteral("-"));
    surface_.SetFontColor(kYellow);
    Text(glass_.Scale(697), top, QString::number(payoff_chart::kScatterPays[i]));
  }
  scatter_place_ = QRect();
  for (size_t i = first_scatter_text; i < texts_.size(); ++i) scatter_place_ |= TextPlace(i);

  // The line pays beside their tiles, column colours alternating.
  for (int i = 0; i < 5; ++i) {
    const int right = glass_.Scale(54) + i * (cell + glass_.Scale(76));
    PayTable(payoff_chart::kLargeColumns[i], right, right + cell + glass_.Scale(5),
             i % 2 == 0 ? kYellow : kWhite);
  }
  surface_.SetFontSize(fonts.small_table);
  for (int i = 0; i < 8; ++i) {
    const int right = glass_.Scale(26) + i * (cell + glass_.Scale(21));
    PayTable(payoff_chart::kSmallColumns[i], right, right + small + glass_.Scale(4),
             i % 2 == 0 ? kWhite : kYellow);
  }

  // Two silver rules with the Close button between them.
  SetPen(surface_, kSilver, glass_.Px(3));
  for (int y : {glass_.Scale(325), glass_.Scale(365)}) {
    surface_.MoveTo(0, y);
    surface_.LineTo(glass_.DeviceWidth(), y);
  }
  SetPen(surface_, kBlack, 1);
  const int button_width = screen_width / 2;
  close_button_->setGeometry(glass_left_ + (screen_width - button_width) / 2, window.Scale(332),
                             button_width, window.Scale(28));
  QFont button_font = close_button_->font();
  button_font.setPixelSize(PointsToPixels(fonts.large_table));
  button_font.setBold(true);
  close_button_->setFont(button_font);

  // The bonus game, under the characters.
  surface_.SetFontSize(fonts.bonus);
  surface_.SetFontColor(kWhite);
  const int first_top =
      glass_.Scale(kCharactersTop) + glass_.Px(kCharacterSide) + glass_.Scale(kBelowCharacters);
  const int second_top = first_top + glass_.Scale(kBonusLinePitch);
  Text(glass_.Scale(400) - surface_.TextWidth(kBonusText1) / 2, first_top, kBonusText1);
  Text(glass_.Scale(400) - surface_.TextWidth(kBonusText2) / 2, second_top, kBonusText2);
  surface_.SetBrushClear(false);

  // The characters: one row above the texts and, on screens wide enough, one below.
  const int slot = glass_width / 6;
  for (int i = 0; i < kCharacters; ++i) {
    const int left = glass_left_ + (slot - kCharacterSide) / 2 + (i % 6) * slot;
    const int top = i < 6 ? window.Scale(kCharactersTop)
                          : window.Scale(kCharactersTop) + kCharacterSide +
                                2 * window.Scale(kBelowCharacters) +
                                2 * window.Scale(kBonusLinePitch);
    characters_[i]->move(left, top);
    characters_[i]->setVisible(i < 6 || SecondCharacterRow(screen_width));
  }
}

void PayoffChartWindow::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), Qt::black);
  // Device pixel for device pixel: the glass's size in window units is its size over the ratio.
  const QImage& glass = surface_.Image();  // clipped to the region being painted
  const double ratio = glass_.ratio;
  p.drawImage(QRectF(glass_left_, 0, glass.width() / ratio, glass.height() / ratio), glass);
}

void PayoffChartWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PaintAll();
}
