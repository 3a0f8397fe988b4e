// The program: one game in its main window, and the message loop.
#include <QAccessible>
#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/cabinet_accessible.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/orderly_end.h"
#include "platform/after_first_paint.h"
#include "platform/canvas.h"
#include "platform/folder_claim.h"
#include "platform/freed_memory.h"
#include "platform/platform.h"
#include "platform/sound_module.h"
#include "screen/layout.h"
#include "screen/layout_width.h"
#include "screen/scale.h"
#include "shell/game_audio.h"
#include "shell/saved_games.h"
#include "shell/settings.h"

namespace {

// How long a second start waits for the running game to show itself.
constexpr int kHandOverMs = 900;

// A start on a data folder that a running game holds: that game shows its window, and this
// start ends. The launcher's activation token lets a Wayland desktop give it the focus.
int HandOverToRunningGame(const FolderClaim& claim) {
  const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
  if (claim.AskHolderToShow(token != nullptr ? token : "", kHandOverMs)) {
    std::puts("zelmar-slots: the game is already running; its window is shown.");
    return 0;
  }
  std::fputs(
      "zelmar-slots: the game is already running with the same saved games, and did not "
      "answer; it was not started a second time.\n",
      stderr);
  return 1;
}

// Puts the running game before the player: out of the task bar, raised and given the focus, or
// the dialog it has open in front of it. A desktop that does not let a window take the focus by
// itself is asked to show that the game wants it.
void ShowRunningGame(QWidget& window, const QString& activation_token) {
  if (window.isMinimized()) window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  QWidget* front = QApplication::activeModalWidget();
  if (front == nullptr) front = &window;
  // Qt's Wayland window hands the token in the environment to the compositor at activation.
  if (!activation_token.isEmpty() && QGuiApplication::platformName() == QLatin1String("wayland")) {
    qputenv("XDG_ACTIVATION_TOKEN", activation_token.toLatin1());
  }
  front->raise();
  front->activateWindow();
  QTimer::singleShot(kHandOverMs, front, [front] {
    if (!front->isActiveWindow()) QApplication::alert(front);
  });
}

}  // namespace

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

  // One running game per data folder: a start that finds the game running on it shows that
  // game instead, and ends.
  FolderClaim claim(GameDataFolder());
  if (claim.GetState() == FolderClaim::State::kHeldElsewhere) return HandOverToRunningGame(claim);
  if (claim.GetState() == FolderClaim::State::kUnguarded) {
    std::fprintf(stderr, "zelmar-slots: %s; a second start will not find this game running\n",
                 claim.Problem().c_str());
  }

  // The desktop's scale is taken as it is, 125 % and 150 % included: the cabinet and the side
  // windows are drawn in the screen's own pixels at any ratio, so nothing is enlarged.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
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
    const double ratio = std::max(1.0, screen->devicePixelRatio());
    ScreenScale largest;
    largest.layout_width =
        LayoutWidth(screen->size().width(), screen->size().width(), screen->size().height());
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
  // The cabinet and the bonus game draw their parts themselves; an assistive technology finds
  // them through their own interfaces, which Qt makes only when one asks.
  QAccessible::installFactory(GameWindowsAccessible);

  std::unique_ptr<Platform> platform = CreateQtPlatform();
  // The audio device outlives the game's sounds, which outlive the game and its window. It is
  // opened once the window is on the screen, from the sound module in the real program file's
  // folder.
  std::unique_ptr<SoundPlayer> player = CreateSoundModulePlayer(
      QCoreApplication::applicationDirPath().toStdString() + "/" + kSoundModuleFile);
  GameAudio sounds(*player, *platform);
  std::unique_ptr<HelpViewer> help = CreateHelpWindowViewer();
  std::unique_ptr<WebBrowser> web = CreateDesktopWebBrowser();
  GameState state;
  StartOptions options;
  options.kept_art_dir = kept_art_dir;
  options.surface = std::move(surface);
  // ZELMAR_SEED replays the game of that seed (a test's, a reported game's); by default the time
  // of day seeds it.
  if (const char* seed = std::getenv("ZELMAR_SEED"); seed != nullptr && *seed != '\0') {
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(seed, &end, 10);
    if (*end != '\0' || errno != 0 || value > 0xffffffffUL || *seed == '-') {
      std::fprintf(stderr, "zelmar-slots: ZELMAR_SEED '%s' is not a number 0..4294967295\n", seed);
      return 2;
    }
    options.seed = static_cast<uint32_t>(value);
  }
  // The window first: the game is laid out for the game area below its menu bar. The game goes
  // first, out of the window it is shown in.
  const GameServices services{*platform, sounds, *help, *web};
  MainWindow window(services);
  Game game(state, services, window, options);
  claim.Listen([&window](const QString& token) { ShowRunningGame(window, token); });
  const OrderlyEnd orderly_end(window, game);
  window.show();
  // The icon comes from the desktop's icon theme, whose first lookup takes milliseconds: the
  // window takes it once it is drawn (the window manager and the task bar follow the change).
  const AfterFirstPaint set_icon(
      [] { QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ZELMAR_APP_ID))); });
  return app.exec();
}
