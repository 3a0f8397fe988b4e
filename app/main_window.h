// MainWindow: the game's main window, a shell around the play. It builds the game at start-up,
// hands the player's clicks, keys and menu commands to the play sequence and the side windows,
// shows the cabinet's surface, and keeps the running game when it closes.
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/play_sequence.h"
#include "app/win_cycle.h"
#include "engine/game_state.h"
#include "engine/slot_machine.h"
#include "platform/after_first_paint.h"
#include "platform/help_viewer.h"
#include "platform/platform.h"
#include "platform/web_browser.h"
#include "screen/cabinet.h"
#include "shell/identity.h"
#include "shell/running_game_writer.h"
#include "shell/saved_games.h"
#include "shell/sounds.h"

class BonusGameWindow;
class QAction;
class MainWindow;

// The client area: shows the cabinet's surface and hands mouse and key presses to MainWindow.
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
  // Where the art laid out at start-up is kept for the next start; empty keeps nothing.
  std::string kept_art_dir;
  // The memory of the cabinet's surface, being made since the program started; none: made as
  // needed.
  std::shared_ptr<SurfaceAhead> surface;
};

// The commands of the menu bar that change with the play or the switches.
struct GameMenu {
  QAction* new_game = nullptr;
  QAction* open_game = nullptr;
  QAction* save_game = nullptr;
  QAction* borrow = nullptr;
  QAction* stats = nullptr;
  QAction* payoffs = nullptr;
  QAction* sound = nullptr;
  QAction* music = nullptr;
  QAction* version = nullptr;
  QAction* manual = nullptr;
};

class MainWindow : public QMainWindow, private PlayHost {
 public:
  MainWindow(GameState& state, Platform& platform, GameSounds& sounds, HelpViewer& help,
             WebBrowser& web, const StartOptions& options = {});
  ~MainWindow() override;

  const GameIdentity& Identity() const { return identity_; }
  const ScreenLayout& Layout() const { return cabinet_->layout; }
  Canvas& Surface() {
    AwaitCabinetDrawnAhead();
    return cabinet_->canvas;
  }
  const MainArt& Art() const { return cabinet_->art; }
  MainScreen& Screen() {
    AwaitCabinetDrawnAhead();
    return cabinet_->screen;
  }
  GameSurface* SurfaceWidget() { return surface_; }
  PlaySequence& Play() { return *play_; }
  WinCycle& Cycle() { return *win_cycle_; }
  const WinCycleState& CycleState() const { return win_cycle_->State(); }
  RunningGameWriter& Keeper() { return *keeper_; }
  Timer& StartUpTimer() { return *start_up_timer_; }
  const GameMenu& Menu() const { return menu_; }

  // Draws the cabinet's first picture on another thread while the window is being shown, so that
  // the first paint only has to copy it; called once, before show(). Until that paint, or
  // anything else that needs the cabinet, the user-interface thread leaves the cabinet alone.
  void DrawCabinetAhead();
  // The full repaint of the cabinet.
  void PaintAll();
  // A mouse press at game-area point (x, y), any button.
  void ClickAt(int x, int y);
  void PressKey(GameKey key);
  // How far the cabinet stands from the game area's left edge (0 unless the layout is narrower
  // than the screen).
  int CabinetOffset() const { return cabinet_->layout.scale.offset; }

  // Menu commands, in the order of the menu bar (app/main_menu.cpp).
  void NewGame();
  void OpenGame();
  void SaveGame();
  void Exit();
  void SwitchSound();
  void SwitchMusic();
  // The side windows: borrowing (then a repaint, so the credits meter shows the new balance), the
  // statistics and the payoff chart, each shown modally (app/side_windows.cpp).
  void Borrow();
  void ShowStatistics();
  void ShowPayoffChart();
  void ShowVersion();
  void ShowManual();
  void OpenGamesPage();
  void ShowCompanyInformation();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A modal window in front (one the player opened from the menu, a message) holds play until it
  // has gone.
  bool event(QEvent* event) override;

 private:
  friend class GameSurface;
  void SetUpGame(const StartOptions& options);
  // Waits for the picture being drawn ahead, if any, and gives the surface its change notices
  // back.
  void AwaitCabinetDrawnAhead();
  // The same, and the first paint draws the cabinet anew (a layout or the game changed since).
  void DiscardCabinetDrawnAhead();
  // The cabinet as the first paint shows it: the picture drawn ahead, or drawn now.
  void DrawFirstPicture();
  // Readies the sounds and the music, once.
  void StartSounds();
  void FinishStartUp();
  void BuildMenu();
  // Keeps the running game in the file now; false when it could not be written (the caller
  // tells the player).
  std::function<bool()> KeepRunningGameNow();
  // The commands that change the game's money or swap it follow the play: not while it runs.
  void EnableGameCommands(bool enabled);
  void SurfaceResized(int width, int height);
  // Lays the cabinet out again when the game area now fits another layout width, and places it.
  void FitCabinet();
  // Names each replacement picture just found unusable on the error output.
  void ReportArtProblems();
  // The height the game area below the menu bar will have once the window is shown.
  int ExpectedGameAreaHeight();

  // PlayHost.
  void ShowNotice(const std::string& text) override;
  void OpenBonusGame() override;
  void CloseBonusGame() override;
  void PlayRunningChanged(bool running) override;
  void KeepRunningGame(const GameState& as_it_will_stand) override;

  GameState& gs_;
  // The only writer of the game's data.
  SlotMachine machine_;
  Platform& platform_;
  GameSounds& sounds_;
  HelpViewer& help_;
  WebBrowser& web_;
  GameIdentity identity_;
  std::unique_ptr<SavedGames> saves_;
  // Keeps the running game in the saved-games file at every step that changes it.
  std::unique_ptr<RunningGameWriter> keeper_;
  std::unique_ptr<Cabinet> cabinet_;
  std::unique_ptr<WinCycle> win_cycle_;
  std::unique_ptr<PlaySequence> play_;
  // The bonus game while it is open.
  std::unique_ptr<BonusGameWindow> bonus_;
  std::unique_ptr<Timer> start_up_timer_;
  // Readies the sounds and the music once the window is first drawn.
  std::unique_ptr<AfterFirstPaint> sounds_start_;
  bool sounds_started_ = false;
  bool first_paint_done_ = false;
  bool closing_ = false;  // the window has been asked to close: play finishes at once  // the
                          // cabinet is drawn at the window's first paint
  std::future<void> drawing_ahead_;
  std::function<void(const QRect&)> changes_held_;  // the surface's notices, while drawing ahead
  bool drawn_ahead_ = false;  // the canvas holds the first picture (and no layout came since)
  std::unique_ptr<HelpKey> help_key_;
  GameMenu menu_;
  GameSurface* surface_ = nullptr;
};
