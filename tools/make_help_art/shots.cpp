#include "tools/make_help_art/shots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "engine/paytable.h"
#include "engine/reels.h"
#include "engine/spin.h"
#include "platform/platform.h"
#include "screen/scale.h"
#include "shell/identity.h"
#include "shell/sounds.h"
#include "windows/bonus_game.h"

namespace help_art {

namespace {

constexpr int kBlurHeight = 912;
// How long after the spin the win picture is taken: the first win's symbols and its
// "Line paid" text are showing.
constexpr int kWinShotDelayMs = 450;  // the spinning strip's height at 800 pixels across

// What the first spin from a seed shows, by the engine alone.
GameState PredictSpin(uint32_t seed) {
  GameState g;
  g.Random.SetSeed(seed);
  BuildReelStrips(g);
  g.LinesBet = 9;
  g.CreditsPerLine = 1;
  std::array<int, kReels> offsets{};
  PlaySpin(g, kBlurHeight, offsets);
  return g;
}

uint32_t FindSeed(const std::function<bool(const GameState&)>& want) {
  for (uint32_t seed = 1; seed < 2000000; ++seed) {
    if (want(PredictSpin(seed))) return seed;
  }
  return 0;
}

// Lets the real window's timers and repaints run for ms milliseconds.
void Run(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool Save(const QDir& dir, const char* name, const QImage& image) {
  if (image.isNull() || !image.save(dir.filePath(QLatin1String(name)), "PNG")) {
    std::fprintf(stderr, "cannot make %s\n", name);
    return false;
  }
  return true;
}

// A game in its window on the screen, past its start-up.
struct ShownGame {
  explicit ShownGame(uint32_t seed) : platform(CreateQtPlatform()) {
    StartOptions options;
    options.seed = seed;
    window = std::make_unique<MainWindow>(services);
    game = std::make_unique<Game>(state, services, *window, options);
    window->show();
    Run(400);  // start-up ends at the first tick, 250 ms in
  }
  ~ShownGame() { window->close(); }

  std::unique_ptr<Platform> platform;
  SilentSounds sounds;
  std::unique_ptr<HelpViewer> help = CreateHelpWindowViewer();
  std::unique_ptr<WebBrowser> web = CreateDesktopWebBrowser();
  const GameServices services{*platform, sounds, *help, *web};
  GameState state;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Game> game;  // goes before its window
};

}  // namespace

bool TakeScreenshots(const QDir& dir) {
  bool ok = true;
  {
    ShownGame shown(1);
    // The window with its menu bar, down to the bottom of the cabinet.
    const ScreenScale& scale = shown.game->View().Shown().Layout().scale;
    const QImage shot = shown.window->grab().toImage();
    const int bottom = shown.game->View().geometry().top() + scale.Scale(600);
    ok = Save(dir, "cabinet.png", shot.copy(0, 0, shot.width(), std::min(bottom, shot.height()))) &&
         ok;
    const QImage& surface = shown.game->View().Settled().Surface().Image();
    ok = Save(dir, "bet_keys.png",
              surface.copy(QRect(QPoint(scale.Scale(92), scale.Scale(474)),
                                 QPoint(scale.Scale(672), scale.Scale(528))))) &&
         ok;
  }
  {
    // A spin with two or more paying lines and no badges, shown while its first line flashes.
    const uint32_t seed = FindSeed([](const GameState& g) {
      int lines = 0;
      for (int n = 1; n <= kPaylines; ++n) lines += g.LineWin[n] > 0 ? 1 : 0;
      return g.ScatterCount == 0 && lines >= 2 && g.GamePaid >= 20;
    });
    ShownGame shown(seed);
    shown.game->Play().RequestSpin();
    while (shown.game->Play().Running()) Run(25);
    Run(kWinShotDelayMs);
    const QImage& surface = shown.game->View().Settled().Surface().Image();
    const int bottom = shown.game->View().Shown().Layout().scale.Scale(600);
    ok = Save(dir, "win.png",
              surface.copy(0, 0, surface.width(), std::min(surface.height(), bottom))) &&
         ok;
  }
  {
    // The bonus game after two winning picks.
    GameState state;
    state.LinesBet = 9;
    state.CreditsPerLine = 1;
    state.BallPrizes = {1, 0, 10, 2, 5, 0, 2, 1};
    std::unique_ptr<Platform> platform = CreateQtPlatform();
    SilentSounds sounds;
    GameIdentity identity;
    identity.GameTitle = "Zelmar Slots";
    BonusGameWindow bonus(state, identity, *platform, sounds, QSize());
    bonus.show();
    Run(300);
    for (int ball : {2, 4}) {
      const QRect box = bonus.BallBox(ball);
      bonus.PickAt(box.center().x(), box.center().y());
    }
    Run(600);
    ok = Save(dir, "bonus.png", bonus.Picture().Image().copy()) && ok;
  }
  return ok;
}

}  // namespace help_art
