// MainWindow: the main window. It owns the game state and the timers and routes window events to
// the game's steps: start-up, bet selection, the spin, the evaluation and the win presentation.
// All drawing goes through MainScreen onto the window's persistent surface.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QSize>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "platform/canvas.h"
#include "platform/help_viewer.h"
#include "platform/platform.h"
#include "platform/web_browser.h"
#include "screen/layout.h"
#include "screen/main_art.h"
#include "screen/main_screen.h"
#include "shell/identity.h"
#include "shell/saved_games.h"
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

// Where the win presentation stands: the win on show and its blink, and the wilds' animation.
struct WinCycleState {
  int shown_win = -1;   // 1..9 a payline, kScatterWin the scatters, -1 nothing to show
  int flash_ticks = 0;  // ticks spent on the shown win
  bool flash_on = false;
  int wild_frame = 4;  // 0..4, stepping by wild_frame_step and turning at the ends
  int wild_frame_step = 1;
};

struct StartOptions {
  // Seed of the random sequence; empty seeds from the time of day.
  std::optional<uint32_t> seed;
  // Program file used for AppDir and ExeBaseName; empty means the running program.
  std::string program_file;
};

class MainWindow : public QMainWindow {
 public:
  MainWindow(GameState& state, Platform& platform, GameSounds& sounds, HelpViewer& help,
             WebBrowser& web, const StartOptions& options = {});
  ~MainWindow() override;

  const GameIdentity& Identity() const { return identity_; }
  const ScreenLayout& Layout() const { return layout_; }
  const WinCycleState& CycleState() const { return win_cycle_; }
  Canvas& Surface() { return canvas_; }
  const MainArt& Art() const { return art_; }
  MainScreen& Screen() { return *screen_; }
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
  // A mouse press at game-area point (x, y), any button.
  void ClickAt(int x, int y);
  // How far the cabinet stands from the game area's left edge (0 unless the layout is narrower
  // than the screen).
  int CabinetOffset() const { return layout_.scale.offset; }
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
  // Starts the presentation of the last result at its first win (the wilds animate with or
  // without one).
  void BeginWinCycle();
  void AdvanceWinCycle();
  void ClearStatusText();
  void StartBonusGame();

  // Menu commands, in the order of the menu bar (app/main_menu.cpp).
  void OpenGame();
  void SaveGame();
  void Exit();
  void SwitchSound();
  void SwitchMusic();
  // The side windows: borrowing (then a repaint, so the credits meter shows the new balance), the
  // statistics and the payoff chart, each shown modally.
  void Borrow();
  void ShowStatistics();
  void ShowPayoffChart();
  void ShowVersion();
  void ShowManual();
  void OpenGamesPage();
  void ShowCompanyInformation();
  // The help viewer, for the windows this one opens (their Help buttons).
  HelpViewer& Help() { return help_; }

  // Timers, exposed for tests.
  Timer& StartUpTimer() { return *start_up_timer_; }
  Timer& WinCycleTimer() { return *win_cycle_timer_; }
  Timer& BonusDelayTimer() { return *bonus_delay_timer_; }
  QAction* NewGameAction() { return new_game_; }
  QAction* OpenGameAction() { return open_game_; }
  QAction* SaveGameAction() { return save_game_; }
  QAction* VersionAction() { return version_; }
  SavedGames& Saves() { return *saves_; }

  // The side windows' commands on the menu bar.
  QAction* BorrowAction() { return borrow_; }
  QAction* StatsAction() { return stats_; }
  QAction* PayoffsAction() { return payoffs_; }

  // Sets or clears the input guard; the commands that change the game follow it.
  void SetBusy(bool busy);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class GameSurface;
  void BuildMenu();
  void SurfaceResized(int width, int height);
  // The height the game area below the menu bar will have once the window is shown.
  int ExpectedGameAreaHeight();
  // Lays the cabinet out for a game area game_area_height high: the layout width, the symbol
  // art and reel geometry for it, and a surface of the cabinet's size.
  void LayOutCabinet(int game_area_height);
  void WriteStatusText(const QString& text, QRgb colour, int anchor_x, bool right_aligned, int top);
  void SetStatusFont();
  void DrawWinningCells();
  void DrawBounce(int r, const QImage& picture, int shift);
  // Runs what had to wait for the game loops to leave the stack: a new layout, a close.
  void FinishDeferredSteps();

  GameState& gs_;
  GameIdentity identity_;
  ScreenLayout layout_;
  WinCycleState win_cycle_;
  Platform& platform_;
  GameSounds& sounds_;
  HelpViewer& help_;
  WebBrowser& web_;
  std::unique_ptr<HelpKey> help_key_;
  MainArt art_;
  Canvas canvas_;
  std::unique_ptr<MainScreen> screen_;
  GameSurface* surface_ = nullptr;
  QAction* new_game_ = nullptr;
  QAction* open_game_ = nullptr;
  QAction* save_game_ = nullptr;
  QAction* version_ = nullptr;
  std::unique_ptr<SavedGames> saves_;
  QAction* borrow_ = nullptr;
  QAction* stats_ = nullptr;
  QAction* payoffs_ = nullptr;
  QAction* sound_ = nullptr;
  QAction* music_ = nullptr;
  QAction* manual_ = nullptr;
  std::unique_ptr<Timer> start_up_timer_;
  std::unique_ptr<Timer> win_cycle_timer_;
  std::unique_ptr<Timer> bonus_delay_timer_;
  std::vector<std::string> art_problems_;

  // How many game loops (a spin request, a bonus payout) are running on the call stack; a close
  // that arrives meanwhile waits until they have put every credit in place.
  int running_loops_ = 0;
  // The spin just played triggered the bonus game (its prizes are already shuffled).
  bool bonus_follows_ = false;
  bool reels_turning_ = false;
  bool close_pending_ = false;
  // The game area's height changed the layout width while a game loop ran.
  bool relayout_pending_ = false;
  // The symbol sheet as the files beside the program left it, before a per-width sheet.
  QImage sheet_for_layout_;
  QSize surface_size_;
  bool closed_ = false;
};
