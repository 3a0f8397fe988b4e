// The program: one main window and its message loop.
#include <QApplication>

#include "app/main_window.h"
#include "platform/canvas.h"
#include "platform/platform.h"
#include "shell/sounds.h"

int main(int argc, char** argv) {
  // The cabinet is drawn pixel for pixel at the screen's width; fractional desktop scaling
  // would blur it, so only whole scale factors are used.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Floor);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelmar Slots"));
  QApplication::setApplicationDisplayName(QStringLiteral("Zelmar Slots"));
  InstallFontSubstitutes();

  std::unique_ptr<Platform> platform = CreateQtPlatform();
  SilentSounds sounds;
  GameState state;
  MainWindow window(state, *platform, sounds);
  window.show();
  return app.exec();
}
