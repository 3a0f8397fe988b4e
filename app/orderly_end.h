// OrderlyEnd: the game ends in order when the desktop asks it to, not only when the player
// closes the window. SIGTERM (a session or the machine shutting down), SIGINT (Ctrl+C in a
// terminal) and SIGHUP (its terminal closing), and the session manager's request to commit data,
// all close the main window through the event loop, which puts every credit of a spin in place
// and keeps the running game, and then end the program, whatever dialog is open: with status 0
// when the running game was kept, and with status 1, the file left as it was and the reason on
// the error output (nobody is there to answer a message box) when it could not be written.
#pragma once

#include <QObject>

class Game;
class QSocketNotifier;
class QWidget;

class OrderlyEnd : public QObject {
 public:
  // Installs the signal handlers; one per process, made on the user-interface thread after the
  // application object. main_window, which shows game, and game must outlive it.
  OrderlyEnd(QWidget& main_window, Game& game);
  ~OrderlyEnd() override;
  OrderlyEnd(const OrderlyEnd&) = delete;
  OrderlyEnd& operator=(const OrderlyEnd&) = delete;

  // Closes the main window and, once it has gone, leaves every event loop: with status 0 when
  // the running game was kept, else 1.
  void End();

 private:
  QWidget& main_window_;
  Game& game_;
  QSocketNotifier* notifier_ = nullptr;
};
