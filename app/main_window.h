// MainWindow: the game's main window, a shell around the play. It builds the game at start-up,
// hands the player's clicks, keys and menu commands to the play sequence and the side windows,
// shows the cabinet's surface, and keeps the running game when it closes.
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/cabinet_view.h"
#include "app/play_sequence.h"
#include "app/start_up.h"
#include "app/win_cycle.h"
#include "engine/game_state.h"
#include "engine/slot_machine.h"
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

class MainWindow : public QMainWindow, private PlayHost, private CabinetView::Host {
 public:
  MainWindow(GameState& state, Platform& platform, GameSounds& sounds, HelpViewer& help,
             WebBrowser& web, const StartOptions& options = {});
  ~MainWindow() override;

  const GameIdentity& Identity() const { return identity_; }
  const ScreenLayout& Layout() const { return view_->Shown().Layout(); }
  Canvas& Surface() { return view_->Settled().Surface(); }
  const MainArt& Art() const { return view_->Shown().Art(); }
  MainScreen& Screen() { return view_->Settled().Screen(); }
  CabinetView* SurfaceWidget() { return view_; }
  PlaySequence& Play() { return *play_; }
  WinCycle& Cycle() { return *win_cycle_; }
  const WinCycleState& CycleState() const { return win_cycle_->State(); }
  RunningGameWriter& Keeper() { return *keeper_; }
  Timer& StartUpTimer() { return start_up_->Clock(); }
  const GameMenu& Menu() const { return menu_; }

  // Draws the cabinet's first picture ahead (CabinetView::DrawAhead); called once, before show().
  void DrawCabinetAhead() { view_->DrawAhead(); }
  // The full repaint of the cabinet.
  void PaintAll() { view_->PaintAll(); }
  // A mouse press at game-area point (x, y), any button.
  void ClickAt(int x, int y);
  // How far the cabinet stands from the game area's left edge (0 unless the layout is narrower
  // than the screen).
  int CabinetOffset() const { return view_->Shown().Layout().scale.offset; }

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
  // The window's start-up, step by step (app/start_up.cpp).
  void SetUpGame(const StartOptions& options);
  // Start-up has ended: the cabinet keeps its art for the next start and the commands open.
  void StartUpEnded();
  void BuildMenu();
  // Keeps the running game in the file now; false when it could not be written (the caller
  // tells the player).
  std::function<bool()> KeepRunningGameNow();
  // The commands that change the game's money or swap it follow the play: not while it runs.
  void EnableGameCommands(bool enabled);
  // The height the game area below the menu bar will have once the window is shown.
  int ExpectedGameAreaHeight();

  // PlayHost.
  void ShowNotice(const std::string& text) override;
  void OpenBonusGame() override;
  void CloseBonusGame() override;
  void PlayRunningChanged(bool running) override;
  void KeepRunningGame(const GameState& as_it_will_stand) override;

  // CabinetView::Host.
  bool PlayRunning() const override;
  bool ReelsTurning() const override;
  void CabinetPressed(CabinetInput input, int bet_key) override;

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
  std::unique_ptr<WinCycle> win_cycle_;
  std::unique_ptr<PlaySequence> play_;
  // The bonus game while it is open.
  std::unique_ptr<BonusGameWindow> bonus_;
  std::unique_ptr<StartUpPhase> start_up_;
  // The window has been asked to close: play finishes at once, and the window closes when it
  // has come to rest.
  bool closing_ = false;
  std::unique_ptr<HelpKey> help_key_;
  GameMenu menu_;
  // The game area, which owns the cabinet; a child widget, so it outlives the play that draws
  // on the cabinet.
  CabinetView* view_ = nullptr;
};
