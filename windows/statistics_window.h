// The statistics window: the running totals of the game (spins, credits, borrowed, total bets,
// payoffs split into normal and bonus payoffs) and the overall payoff percentage. The figures
// are taken once, when the window is made; the window changes nothing.
#pragma once

#include <QDialog>
#include <array>

struct GameState;
class QLabel;
class QPushButton;

class StatisticsWindow : public QDialog {
 public:
  static constexpr int kClientWidth = 632;
  static constexpr int kClientHeight = 207;

  // The figures the window shows, in the order it fills them in.
  enum class Figure {
    kSpins,
    kCredits,
    kBorrowed,
    kPayoffs,
    kNormalPayoffs,
    kBonusPayoffs,
    kPercentage,
    kTotalBets,
  };
  static constexpr int kFigureCount = 8;

  explicit StatisticsWindow(const GameState& state, QWidget* parent = nullptr);

  // The label showing figure f; its right edge stays at the figure's place whatever its width.
  QLabel* Value(Figure f) { return values_[static_cast<int>(f)]; }
  QPushButton* OkButton() { return ok_button_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::array<QLabel*, kFigureCount> values_{};
  QPushButton* ok_button_ = nullptr;
};
