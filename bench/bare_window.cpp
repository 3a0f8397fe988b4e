// The yardstick the game is measured against: a bare Qt main window with a menu bar like the
// game's, sized like the game's window (the screen less 10 pixels each way) and shown. It draws
// nothing of its own, plays nothing and reads no file, so what the game costs beyond it is what
// the game itself adds.
#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Bare Window"));
  QMenuBar* bar = window.menuBar();
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&New Game"));
  file->addSeparator();
  file->addAction(QStringLiteral("&Open Game"));
  file->addAction(QStringLiteral("&Save Game"));
  file->addSeparator();
  QObject::connect(file->addAction(QStringLiteral("E&xit")), &QAction::triggered, &window,
                   &QMainWindow::close);
  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  for (const QString& name : {QStringLiteral("Sound"), QStringLiteral("Music")}) {
    QAction* check = options->addAction(name);
    check->setCheckable(true);
    check->setChecked(true);
  }
  bar->addAction(QStringLiteral("&Borrow"));
  bar->addAction(QStringLiteral("&Stats"));
  bar->addAction(QStringLiteral("&Payoffs"));
  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->addAction(QStringLiteral("Version"));
  help->addSeparator();
  help->addAction(QStringLiteral("&Manual"));
  const QSize screen = QGuiApplication::primaryScreen()->size();
  window.resize(screen.width() - 10, screen.height() - 10);
  window.show();
  return QApplication::exec();
}
