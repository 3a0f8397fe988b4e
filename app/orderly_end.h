// OrderlyEnd: the game ends in order when the desktop asks it to, not only when the player
// closes the window. SIGTERM (a session or the machine shutting down), SIGINT (Ctrl+C in a
// terminal) and SIGHUP (its terminal closing), and the session manager's request to commit data,
// all close the main window through the event loop, which puts every credit of a spin in place
// and keeps the running game, and then end the program with status 0, whatever dialog is open.
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

class OrderlyEnd : public QObject {
 public:
  // Installs the signal handlers; one per process, made on the user-interface thread after the
  // application object. main_window must outlive it.
  explicit OrderlyEnd(QWidget& main_window);
  ~OrderlyEnd() override;
  OrderlyEnd(const OrderlyEnd&) = delete;
  OrderlyEnd& operator=(const OrderlyEnd&) = delete;

  // Closes the main window and, once it has gone, leaves every event loop with status 0.
  void End();

 private:
  QWidget& main_window_;
  QSocketNotifier* notifier_ = nullptr;
};
