#include "app/orderly_end.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <cerrno>
#include <csignal>

#include "app/game.h"

namespace {

constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGINT, SIGHUP};

// The pipe from the signal handler to the event loop: [0] is read by the loop, [1] written by
// the handler. A signal handler may only do what is safe there: write one byte, keep errno.
int end_pipe[2] = {-1, -1};

void OnEndSignal(int) {
  const int saved = errno;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(end_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

OrderlyEnd::OrderlyEnd(QWidget& main_window, Game& game) : main_window_(main_window), game_(game) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, end_pipe) == 0) {
    notifier_ = new QSocketNotifier(end_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
      char bytes[16];
      while (read(end_pipe[0], bytes, sizeof bytes) > 0) {
      }
      End();
    });
    struct sigaction action = {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal_number : kEndSignals) sigaction(signal_number, &action, nullptr);
  }
  // A session that ends asks the game to keep its data; the game keeps it and goes.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { End(); });
}

OrderlyEnd::~OrderlyEnd() {
  if (notifier_ == nullptr) return;
  struct sigaction action = {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (int signal_number : kEndSignals) sigaction(signal_number, &action, nullptr);
  delete notifier_;
  notifier_ = nullptr;
  close(end_pipe[0]);
  close(end_pipe[1]);
  end_pipe[0] = end_pipe[1] = -1;
}

void OrderlyEnd::End() {
  // The close puts every credit of the play in place and keeps the running game, asking nothing.
  game_.EndUnattended();
  main_window_.close();
  // A dialog still open (a message box, the statistics) runs an event loop of its own: leaving
  // them all ends the program. A game that could not be kept is no success.
  QCoreApplication::exit(game_.RunningGameKept() ? 0 : 1);
}
