// MainWindow: the window's life cycle, its size and place, and the hold of play.
#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include "platform/window_manager.h"
#include "shell/help_topics.h"
#include "shell/web_page.h"

MainWindow::MainWindow(const GameServices& services) : services_(services) {
  BuildMenu();
  EnableGameCommands(false);
  SetHelpContext(this, kMainWindowHelp);
  help_key_ = std::make_unique<HelpKey>(services_.help);
}

void MainWindow::ShowGame(Game* game) {
  game_ = game;
  if (game == nullptr) return;
  // 6. Caption and the manual's menu item, named after the game.
  const QString title = QString::fromStdString(game->Identity().GameTitle);
  setWindowTitle(title);
  menu_.manual->setText(WithAccessKey(title + " Manual"));

  // 13. Window size: the screen less 10 pixels each way.
  setCentralWidget(&game->View());
  // No style sheet here: it would reach every window this one opens and override their own fonts
  // and colours. The game area paints the black beside the cabinet itself.
  Platform& platform = services_.platform;
  resize(platform.ScreenWidth() - 10, platform.ScreenHeight() - 10);
  move(0, 0);

  // 17. Centre the window on the screen.
  move((platform.ScreenWidth() - width()) / 2, (platform.ScreenHeight() - height()) / 2);

  // 18. At a small-font resolution the window fills the screen; otherwise its size is fixed.
  if (platform.LogicalDpi() < 100) {
    setWindowState(Qt::WindowMaximized);
  } else {
    setFixedSize(size());
  }
}

QSize MainWindow::ExpectedGameArea() {
  Platform& platform = services_.platform;
  const int menu_bar = menuBar()->sizeHint().height();
  // Only a desktop with a window manager maximises the window (step 18); on a bare X server it
  // keeps its own size, and a layout for the maximised size would be made in vain.
  if (platform.LogicalDpi() < 100 && WindowsGetMaximised()) {
    // Maximised: the screen's free area (without the desktop's panels) less the window's frame,
    // which the platform knows once the window exists (a window manager may tell it only later).
    create();
    const QScreen* on = screen();
    const QSize free = on != nullptr ? on->availableGeometry().size()
                                     : QSize(platform.ScreenWidth(), platform.ScreenHeight());
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return {free.width() - frame.left() - frame.right(),
            free.height() - frame.top() - frame.bottom() - menu_bar};
  }
  // The window's own size, the screen less 10, holds the menu bar and the game area.
  return {platform.ScreenWidth() - 10, platform.ScreenHeight() - 10 - menu_bar};
}

void MainWindow::EnableGameCommands(bool enabled) {
  // A new spin must never start inside a running one, and the money must not be reset under a
  // spin or a count-up that is still moving credits. Nor may a saved game be swapped in under
  // it, a half-played one saved, or credits borrowed.
  for (QAction* action : {menu_.new_game, menu_.open_game, menu_.save_game, menu_.borrow}) {
    if (action) action->setEnabled(enabled);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The game ends first: every credit won put in place and the running game kept.
  if (game_ != nullptr) game_->End();
  services_.help.Close();
  event->accept();
}

bool MainWindow::event(QEvent* event) {
  if (game_ != nullptr &&
      (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)) {
    game_->Play().Hold(event->type() == QEvent::WindowBlocked);
  }
  return QMainWindow::event(event);
}
