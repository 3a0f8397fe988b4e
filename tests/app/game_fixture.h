// A game in its main window on the offscreen platform with a virtual clock, recorded sounds and
// messages, and helpers to find seeds whose next spin lands the way a test needs.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "engine/paytable.h"
#include "engine/reels.h"
#include "engine/spin.h"
#include "platform/profile_file.h"
#include "screen/layout.h"
#include "screen/scale.h"
#include "tests/support/fake_help_viewer.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_sounds.h"

// What the next spin from a seed shows (and the bonus prizes it shuffles), computed with the
// engine alone.
inline GameState PredictSpin(uint32_t seed, int lines_bet, int per_line, int blur_height = 912) {
  GameState g;
  g.Random.SetSeed(seed);
  BuildReelStrips(g);
  g.LinesBet = lines_bet;
  g.CreditsPerLine = per_line;
  std::array<int, kReels> offsets{};
  PlaySpin(g, blur_height, offsets);
  return g;
}

// The first seed from 1 on whose first spin satisfies the condition.
inline uint32_t FindSeed(int lines_bet, int per_line,
                         const std::function<bool(const GameState&)>& want) {
  for (uint32_t seed = 1; seed < 2000000; ++seed) {
    if (want(PredictSpin(seed, lines_bet, per_line))) return seed;
  }
  ADD_FAILURE() << "no seed found";
  return 0;
}

class GameFixture : public ::testing::Test {
 protected:
  // Creates the game in its main window as the program does, the first picture drawn while the
  // window is shown; `with` replaces the recorded sounds, `help` the help viewer.
  void Start(uint32_t seed = 1, int width = 800, int height = 600, int dpi = 120,
             GameSounds* with = nullptr, HelpViewer* help = nullptr) {
    EndGame();  // a game started before
    platform_.width = width;
    platform_.height = height;
    platform_.dpi = dpi;
    StartOptions options;
    options.seed = seed;
    options.program_file = QDir(dir_.path()).filePath("zelmar-slots").toStdString();
    // The saved games of this test live in its own folder.
    qputenv("XDG_DATA_HOME", dir_.path().toUtf8());
    const GameServices services{platform_, with ? *with : sounds_, help ? *help : help_, web_};
    window_ = std::make_unique<MainWindow>(services);
    game_ = std::make_unique<Game>(state_, services, *window_, options);
    window_->show();
    platform_.ProcessMessages();
  }
  // The game goes, then its window.
  void EndGame() {
    game_.reset();
    window_.reset();
  }

  // Ends start-up: the first tick of its clock.
  void Ready() { platform_.Advance(250); }
  // Runs the clock until the play has come to rest, or waits for the bonus game to open; the
  // clock stops at the step that got it there. A real player's win sound ends in real time.
  void PlayOut() {
    using Stage = PlaySequence::Stage;
    const auto done = [this] {
      return !game_->Play().Running() || game_->Play().CurrentStage() == Stage::kBonusPending;
    };
    QElapsedTimer real;
    real.start();
    while (!done() && real.elapsed() < 10000) {
      if (game_->Play().CurrentStage() == Stage::kWinSound) {
        QEventLoop wait;
        QTimer::singleShot(5, &wait, &QEventLoop::quit);
        wait.exec();
        continue;
      }
      platform_.RunUntil(
          [&] { return done() || game_->Play().CurrentStage() == Stage::kWinSound; });
    }
    ASSERT_TRUE(done());
  }

  // The cabinet as laid out now, and its surface once any picture drawn ahead is finished.
  const ScreenLayout& Layout() const { return game_->View().Shown().Layout(); }
  Canvas& Surface() { return game_->View().Settled().Surface(); }
  // Window pixel of a design point, the way the window scales it now.
  int S(int v) const { return Layout().scale.Scale(v); }

  // Game-area point of a design point: the cabinet may stand off the area's left edge.
  int AreaX(int x) const { return Layout().scale.offset + S(x); }
  // A real press of `button` (any) at game-area point (x, y), or at design point (x, y).
  void ClickAt(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF at(x, y);
    QMouseEvent press(QEvent::MouseButtonPress, at, game_->View().mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&game_->View(), &press);
  }
  void ClickDesign(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    ClickAt(AreaX(x), S(y), button);
  }
  // A real key press in the game area.
  void PressKey(Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&game_->View(), &press);
  }
  // The item with this caption: "&File/E&xit" inside a menu, "&Borrow" on the bar itself.
  QAction* Item(const QString& path) {
    const QStringList parts = path.split('/');
    for (QAction* top : window_->menuBar()->actions()) {
      if (top->text() != parts[0]) continue;
      if (parts.size() == 1) return top;
      for (QAction* item : top->menu()->actions()) {
        if (item->text() == parts[1]) return item;
      }
    }
    ADD_FAILURE() << "no menu item " << path.toStdString();
    static QAction none;
    return &none;
  }
  // The saved-games file of this test's game, and one of its values.
  QString SavesFile() const { return dir_.filePath("zelmar-slots/zelmar-slots.ini"); }
  std::optional<std::string> Saved(const char* section, const char* key) const {
    return ReadProfileFile(SavesFile().toStdString()).Value(section, key);
  }
  // Writes a file of this test's folder (the folder of the program and of the saved games).
  void WriteFile(const QString& name, const std::string& text) {
    const QString path = dir_.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
  }

  // A click in the middle of a mouse area of the layout.
  void ClickArea(const layout::HitArea& a) {
    ClickDesign((a.left + a.right) / 2, (a.top + a.bottom) / 2);
  }
  void ClickSpin() { ClickArea(layout::kSpinHitArea); }
  void ClickMaxBet() { ClickArea(layout::kMaxBetHitArea); }
  // Bet keys 1..5 choose the paylines, 6..10 the credits per line.
  void ClickLines(int button) { ClickArea(layout::BetKeyHitArea(button)); }
  void ClickCredits(int button) { ClickArea(layout::BetKeyHitArea(button)); }

  QTemporaryDir dir_;
  FakePlatform platform_;
  RecordingSounds sounds_;
  FakeHelpViewer help_;
  FakeWebBrowser web_;
  GameState state_;
  // The game is shown in the window: it goes first.
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<Game> game_;
};
