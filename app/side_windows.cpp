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
    BorrowDialog dialog(gs_, identity_, cabinet_->art, platform_, this);
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
  // The chart is a window of its own in window units: it gets the cabinet's scale and symbols at
  // a pixel ratio of 1, and the desktop scales it as any dialog. The chart reads the sheet while
  // it is open, so the sheet lives here.
  ScreenScale scale = cabinet_->layout.scale;
  const int ratio = scale.ratio;
  const QImage& laid_out = cabinet_->art.symbol_bitmap;
  const QImage sheet = ratio == 1 ? laid_out
                                  : laid_out.scaled(laid_out.size() / ratio, Qt::IgnoreAspectRatio,
                                                    Qt::SmoothTransformation);
  scale.ratio = 1;
  scale.offset /= ratio;
  PayoffChartWindow chart(scale, cabinet_->layout.CellSize / ratio, sheet, this);
  platform_.RunModal(&chart);
}
