// The program: one main window and its message loop.
#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/orderly_end.h"
#include "platform/after_first_paint.h"
#include "platform/canvas.h"
#include "platform/freed_memory.h"
#include "platform/platform.h"
#include "platform/sound_module.h"
#include "screen/layout.h"
#include "screen/layout_width.h"
#include "screen/scale.h"
#include "shell/game_audio.h"
#include "shell/settings.h"

int main(int argc, char** argv) {
  ReturnLargeBlocksWhenFreed();
  // --help and --version answer without a display; Qt's own options pass through to Qt.
  const CommandLineOutcome outcome =
      ParseCommandLine("zelmar-slots", std::vector<std::string>(argv + 1, argv + argc));
  if (!outcome.run_game) {
    std::fputs(outcome.out.c_str(), stdout);
    std::fputs(outcome.err.c_str(), stderr);
    return outcome.exit_status;
  }

  // The cabinet is drawn pixel for pixel at the screen's width; fractional desktop scaling
  // would blur it, so only whole scale factors are used.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Floor);
  FontConfigurationPreload fonts;
  QApplication app(argc, argv);
  fonts.Join();
  // Where the laid-out art is kept for the next start: at the same size nothing is decoded.
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  const std::string kept_art_dir =
      cache.isEmpty() ? std::string() : cache.toStdString() + "/zelmar-slots";
  // The memory of the cabinet's surface is made on another core while the window is set up, as
  // large as the whole screen's height allows (the game area is less: the menu bar and any frame
  // take some), once the screen's size is known.
  std::shared_ptr<SurfaceAhead> surface;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const int ratio = std::max(1, static_cast<int>(screen->devicePixelRatio()));
    ScreenScale largest;
    largest.layout_width = LayoutWidth(screen->size().width(), screen->size().height());
    largest.ratio = ratio;
    surface = std::make_shared<SurfaceAhead>(largest.Scale(kDesignWidth),
                                             largest.Scale(layout::kDesignHeight));
  }
  // The program's name, which its windows carry as their class. No display name is set: Qt would
  // append it to every caption, and each window's caption is its own (the game's title, a
  // dialog's question).
  QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
  // Desktops match the window to its menu entry and icon by this id.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZELMAR_APP_ID));
  InstallFontSubstitutes();

  std::unique_ptr<Platform> platform = CreateQtPlatform();
  // The audio device outlives the game's sounds, which outlive the main window. It is opened
  // once the window is on the screen, from the sound module in the real program file's folder.
  std::unique_ptr<SoundPlayer> player = CreateSoundModulePlayer(
      QCoreApplication::applicationDirPath().toStdString() + "/" + kSoundModuleFile);
  GameAudio sounds(*player, *platform);
  std::unique_ptr<HelpViewer> help = CreateHelpWindowViewer();
  std::unique_ptr<WebBrowser> web = CreateDesktopWebBrowser();
  GameState state;
  StartOptions options;
  options.kept_art_dir = kept_art_dir;
  options.surface = std::move(surface);
  MainWindow window(state, *platform, sounds, *help, *web, options);
  const OrderlyEnd orderly_end(window);
  window.DrawCabinetAhead();
  window.show();
  // The icon comes from the desktop's icon theme, whose first lookup takes milliseconds: the
  // window takes it once it is drawn (the window manager and the task bar follow the change).
  const AfterFirstPaint set_icon(
      [] { QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ZELMAR_APP_ID))); });
  return app.exec();
}
