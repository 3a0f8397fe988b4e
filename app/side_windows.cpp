// MainWindow: the side windows that the menu bar's own commands open to show the game (the
// borrow dialog, which changes its money, is the game's).
#include "app/main_window.h"
#include "platform/accessible_part.h"
#include "windows/payoff_chart.h"
#include "windows/statistics_window.h"

void MainWindow::ShowStatistics() {
  if (game_ == nullptr) return;
  StatisticsWindow window(game_->State(), this);
  services_.platform.RunModal(&window);
}

void MainWindow::ShowPayoffChart() {
  if (game_ == nullptr) return;
  // The chart draws the cabinet's symbols as laid out, at the cabinet's scale and pixel ratio.
  const Cabinet& cabinet = game_->View().Shown();
  PayoffChartWindow chart(cabinet.Layout().scale, cabinet.Layout().CellSize,
                          cabinet.Art().symbol_bitmap, this);
  // Its figures are read through an interface of its own.
  ForgetInterfaceMadeWhileBuilt(&chart);
  services_.platform.RunModal(&chart);
}
