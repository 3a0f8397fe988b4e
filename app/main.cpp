// The program: one main window and its message loop.
#include <QApplication>

#include "app/main_window.h"
#include "platform/canvas.h"
#include "platform/platform.h"
#include "platform/sound_player.h"
#include "shell/game_audio.h"

int main(int argc, char** argv) {
  // The cabinet is drawn pixel for pixel at the screen's width; fractional desktop scaling
  // would blur it, so only whole scale factors are used.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Floor);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zelmar Slots"));
  QApplication::setApplicationDisplayName(QStringLiteral("Zelmar Slots"));
  InstallFontSubstitutes();

  std::unique_ptr<Platform> platform = CreateQtPlatform();
  // The audio device outlives the game's sounds, which outlive the main window.
  std::unique_ptr<SoundPlayer> player = CreateSdlSoundPlayer();
  GameAudio sounds(*player, *platform);
  GameState state;
  MainWindow window(state, *platform, sounds);
  window.show();
  return app.exec();
}
