// MainWindow: the side windows that the menu bar's own commands open.
#include "app/main_window.h"
#include "windows/borrow_dialog.h"
#include "windows/payoff_chart.h"
#include "windows/statistics_window.h"

void MainWindow::Borrow() {
  // Like New Game: credits that a spin, a count-up or a bonus game is still moving must not
  // change under it.
  if (gs_.Busy) return;
  {
    BorrowDialog dialog(gs_, identity_, art_, platform_, this);
    platform_.RunModal(&dialog);
  }
  PaintAll();
}

void MainWindow::ShowStatistics() {
  StatisticsWindow window(gs_, this);
  platform_.RunModal(&window);
}

void MainWindow::ShowPayoffChart() {
  PayoffChartWindow chart(layout_.scale, layout_.CellSize, art_.symbol_bitmap, this);
  platform_.RunModal(&chart);
}
