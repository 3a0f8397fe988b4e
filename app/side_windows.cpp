// MainWindow: the side windows that the menu bar's own commands open.
#include "app/main_window.h"
#include "windows/borrow_dialog.h"
#include "windows/payoff_chart.h"
#include "windows/statistics_window.h"

void MainWindow::Borrow() {
  // Like New Game: credits that a spin, a count-up or a bonus game is still moving must not
  // change under it.
  if (play_->Running()) return;
  {
    BorrowDialog dialog(gs_, identity_, view_->Shown().Art(), platform_, this);
    platform_.RunModal(&dialog);
  }
  keeper_->Keep(gs_);  // what was borrowed or paid back
  PaintAll();
}

void MainWindow::ShowStatistics() {
  StatisticsWindow window(gs_, this);
  platform_.RunModal(&window);
}

void MainWindow::ShowPayoffChart() {
  // The chart draws the cabinet's symbols as laid out, at the cabinet's scale and pixel ratio.
  const Cabinet& cabinet = view_->Shown();
  PayoffChartWindow chart(cabinet.Layout().scale, cabinet.Layout().CellSize,
                          cabinet.Art().symbol_bitmap, this);
  platform_.RunModal(&chart);
}
