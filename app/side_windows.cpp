// MainWindow: the commands on the menu bar itself that open the side windows.
#include <QAction>
#include <QMenuBar>

#include "app/main_window.h"
#include "windows/borrow_dialog.h"
#include "windows/payoff_chart.h"
#include "windows/statistics_window.h"

void MainWindow::AddSideWindowCommands() {
  borrow_ = menuBar()->addAction(QStringLiteral("&Borrow"));
  connect(borrow_, &QAction::triggered, this, [this] { OpenBorrowDialog(); });
  borrow_->setEnabled(!gs_.Busy);
  stats_ = menuBar()->addAction(QStringLiteral("&Stats"));
  connect(stats_, &QAction::triggered, this, [this] { OpenStatistics(); });
  payoffs_ = menuBar()->addAction(QStringLiteral("&Payoffs"));
  connect(payoffs_, &QAction::triggered, this, [this] { OpenPayoffChart(); });
}

void MainWindow::OpenBorrowDialog() {
  // Like New Game: credits that a spin, a count-up or a bonus game is still moving must not
  // change under it.
  if (gs_.Busy) return;
  {
    BorrowDialog dialog(gs_, identity_, art_, platform_, this);
    platform_.RunModal(&dialog);
  }
  PaintAll();
}

void MainWindow::OpenStatistics() {
  StatisticsWindow window(gs_, this);
  platform_.RunModal(&window);
}

void MainWindow::OpenPayoffChart() {
  PayoffChartWindow chart(gs_, art_.symbol_bitmap, this);
  platform_.RunModal(&chart);
}
