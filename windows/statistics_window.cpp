#include "windows/statistics_window.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <vector>

#include "engine/game_state.h"
#include "engine/statistics.h"
#include "platform/number_format.h"
#include "screen/fonts.h"

namespace {

constexpr int kFontPixels = 13;
// "%10.0n": grouped thousands, no decimals, at least ten characters.
constexpr int kGroupedWidth = 10;
// "%4.2f": two decimals, at least four characters.
constexpr int kPercentWidth = 4;

struct Caption {
  const char* text;
  int left, top;
  bool bold;
};
constexpr Caption kCaptions[] = {
    {"Spins:", 12, 14, false},     {"Credits:", 12, 70, false},
    {"Borrowed:", 12, 126, false}, {"Total Bets:", 340, 14, false},
    {"Payoffs:", 340, 46, false},  {"Normal:", 364, 70, false},
    {"Bonus:", 364, 94, false},    {"Overall Payoff Percentage:", 340, 126, true},
};

struct ValuePlace {
  StatisticsWindow::Figure figure;
  int right, top;
  bool bold, red;
};
constexpr ValuePlace kValues[] = {
    {StatisticsWindow::Figure::kSpins, 281, 14, true, false},
    {StatisticsWindow::Figure::kCredits, 281, 70, true, false},
    {StatisticsWindow::Figure::kBorrowed, 281, 126, true, false},
    {StatisticsWindow::Figure::kTotalBets, 609, 14, true, false},
    {StatisticsWindow::Figure::kPayoffs, 609, 46, true, false},
    {StatisticsWindow::Figure::kNormalPayoffs, 585, 70, false, false},
    {StatisticsWindow::Figure::kBonusPayoffs, 585, 94, false, false},
    {StatisticsWindow::Figure::kPercentage, 617, 126, true, true},
};

}  // namespace

StatisticsWindow::StatisticsWindow(const GameState& state, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Your Game Statistics"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(DialogFont(kFontPixels));
  QPalette face = palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  face.setColor(QPalette::WindowText, Qt::black);
  setPalette(face);

  std::vector<QLabel*> captions;
  for (const Caption& c : kCaptions) {
    auto* label = new QLabel(QString::fromLatin1(c.text), this);
    captions.push_back(label);
    label->setFont(DialogFont(kFontPixels, c.bold));
    label->move(c.left, c.top);
    label->adjustSize();
  }
  for (const ValuePlace& v : kValues) {
    auto* label = new QLabel(this);
    label->setFont(DialogFont(kFontPixels, v.bold));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    if (v.red) {
      QPalette red = label->palette();
      red.setColor(QPalette::WindowText, QColor(255, 0, 0));
      label->setPalette(red);
    }
    values_[static_cast<int>(v.figure)] = label;
  }
  // Each figure is labelled by the caption beside it (a screen reader reads them together).
  for (size_t i = 0; i < captions.size(); ++i) captions[i]->setBuddy(Value(kValues[i].figure));

  // Filled once, in this order; the label grows to the left from its fixed right edge.
  const GameStatistics stats = ComputeStatistics(state);
  auto fill = [this](Figure f, const QString& text) {
    QLabel* label = Value(f);
    label->setText(text);
    label->adjustSize();
    for (const ValuePlace& v : kValues) {
      if (v.figure == f) label->move(v.right - label->width(), v.top);
    }
  };
  fill(Figure::kSpins, FormatGrouped(state.SpinCount, kGroupedWidth));
  fill(Figure::kCredits, FormatGrouped(state.Credits, kGroupedWidth));
  fill(Figure::kBorrowed, FormatGrouped(state.Borrowed, kGroupedWidth));
  fill(Figure::kPayoffs, FormatGrouped(stats.payoffs, kGroupedWidth));
  fill(Figure::kNormalPayoffs, FormatGrouped(stats.normal_payoffs, kGroupedWidth));
  fill(Figure::kBonusPayoffs, QString::number(state.BonusPayoffs));
  fill(Figure::kPercentage,
       FormatFixed(stats.payoff_percentage, 2, kPercentWidth) + QLatin1Char('%'));
  fill(Figure::kTotalBets, FormatGrouped(state.TotalBet, kGroupedWidth));

  ok_button_ =
      new QPushButton(QIcon(QStringLiteral(":/art/main/glyph_ok.png")), QStringLiteral("OK"), this);
  ok_button_->setGeometry(536, 168, 89, 33);
  ok_button_->setIconSize(QSize(20, 20));
  ok_button_->setDefault(true);
  connect(ok_button_, &QPushButton::clicked, this, &QDialog::accept);
}

void StatisticsWindow::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
  QDialog::showEvent(event);
}
