// MainWindow: the main window. It owns the game state and the timers and routes window events to
// the game's steps: start-up, bet selection, the spin, the evaluation and the win presentation.
// All drawing goes through MainScreen onto the window's persistent surface.
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "platform/canvas.h"
#include "platform/platform.h"
#include "screen/main_art.h"
#include "screen/main_screen.h"
#include "shell/identity.h"
#include "shell/sounds.h"

class QAction;
class MainWindow;

// The client area: shows the window's surface and hands mouse and key presses to MainWindow.
class GameSurface : public QWidget {
 public:
  explicit GameSurface(MainWindow& window);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  MainWindow& window_;
};

// The keys the game answers to on the main screen.
enum class GameKey {
  kEnter,  // spins
  kSpace,  // spins
  kM,      // bets the maximum and spins
};

struct StartOptions {
  // Seed of the random sequence; empty seeds from the time of day.
  std::optional<uint32_t> seed;
  // Program file used for AppDir and ExeBaseName; empty means the running program.
  std::string program_file;
};

class MainWindow : public QMainWindow {
 public:
  MainWindow(GameState& state, Platform& platform, GameSounds& sounds,
             const StartOptions& options = {});
  ~MainWindow() override;

  GameState& State() { return gs_; }
  const GameIdentity& Identity() const { return identity_; }
  Canvas& Surface() { return canvas_; }
  MainScreen& Screen() { return *screen_; }
  const MainArt& Art() const { return art_; }
  GameSurface* SurfaceWidget() { return surface_; }
  // Problems met while loading replacement art (shown to nobody; kept for tests and logs).
  const std::vector<std::string>& ArtProblems() const { return art_problems_; }

  // Start-up and life cycle.
  void SetUpGame(const StartOptions& options);
  void FinishStartUp();
  void NewGame();
  void PaintAll();

  // Input.
  // A mouse press at window point (x, y), any button.
  void ClickAt(int x, int y);
  void PressKey(GameKey key);

  // Bet selection and spin control.
  void SelectBet(int button);
  void MaxBet();
  void RequestSpin();

  // The spin.
  void SpinReels();
  void WaitSeconds(double seconds);

  // Evaluation and win presentation.
  void EvaluateSpin();
  void CountUpWin(int start);
  void AdvanceWinCycle();
  void ClearStatusText();
  void StartBonusGame();

  // Timers, exposed for tests.
  Timer& StartUpTimer() { return *start_up_timer_; }
  Timer& WinCycleTimer() { return *win_cycle_timer_; }
  Timer& BonusDelayTimer() { return *bonus_delay_timer_; }
  QAction* NewGameAction() { return new_game_; }
  QAction* SoundAction() { return sound_; }
  QAction* MusicAction() { return music_; }

  // Sets or clears the input guard; the commands that change the game follow it.
  void SetBusy(bool busy);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class GameSurface;
  void BuildMenu();
  void SurfaceResized(int width, int height);
  void WriteStatusText(const QString& text, QRgb colour, int anchor_x, bool right_aligned, int top);
  int StatusTextHeight(const QString& text);
  void SetStatusFont();
  void DrawWinningCells();
  void DrawBounce(int r, const QImage& picture, int shift);
  void FinishDeferredClose();

  GameState& gs_;
  GameIdentity identity_;
  Platform& platform_;
  GameSounds& sounds_;
  MainArt art_;
  Canvas canvas_;
  std::unique_ptr<MainScreen> screen_;
  GameSurface* surface_ = nullptr;
  QAction* new_game_ = nullptr;
  QAction* exit_ = nullptr;
  QAction* sound_ = nullptr;
  QAction* music_ = nullptr;
  std::unique_ptr<Timer> start_up_timer_;
  std::unique_ptr<Timer> win_cycle_timer_;
  std::unique_ptr<Timer> bonus_delay_timer_;
  std::vector<std::string> art_problems_;

  // How many game loops (a spin request, a bonus payout) are running on the call stack; a close
  // that arrives meanwhile waits until they have put every credit in place.
  int running_loops_ = 0;
  // The spin just played triggered the bonus game (its prizes are already shuffled).
  bool bonus_follows_ = false;
  bool close_pending_ = false;
  bool closed_ = false;
};
