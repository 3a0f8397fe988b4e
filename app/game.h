// Game: one game of the machine as the player sees it in the main window, apart from the
// window's shell: the machine, the game's identity, its saved games and the running game kept
// among them, the game area with the cabinet, the win presentation, the play, the start-up and
// the bonus game while it is open. It routes the player's presses on the cabinet to the play and
// carries out the commands that change the game's money or swap it.
#pragma once

#include <QSize>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/cabinet_view.h"
#include "app/play_sequence.h"
#include "app/start_up.h"
#include "app/win_cycle.h"
#include "engine/game_state.h"
#include "engine/slot_machine.h"
#include "platform/help_viewer.h"
#include "platform/platform.h"
#include "platform/web_browser.h"
#include "shell/identity.h"
#include "shell/running_game_writer.h"
#include "shell/saved_games.h"
#include "shell/sounds.h"

class BonusGameWindow;

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

// What the game and its window use of the desktop; each outlives both.
struct GameServices {
  Platform& platform;
  GameSounds& sounds;
  HelpViewer& help;
  WebBrowser& web;
};

class Game : private PlayHost, private CabinetView::Host {
 public:
  // What the game needs from the window that shows it.
  class Window {
   public:
    // The window: the game area's parent, and the parent of the game's messages and windows.
    virtual QWidget& Widget() = 0;
    // The size the game area below the menu bar will have once the window is shown.
    virtual QSize ExpectedGameArea() = 0;
    // Shows the game, ready to play, its game area in the window; nullptr as the game goes.
    virtual void ShowGame(Game* game) = 0;
    // The commands that change the game's money or swap it follow the play: not while it runs.
    virtual void EnableGameCommands(bool enabled) = 0;

   protected:
    ~Window() = default;
  };

  // Sets the game up, step by step, in window, which must outlive it (app/start_up.cpp).
  Game(GameState& state, const GameServices& services, Window& window,
       const StartOptions& options = {});
  ~Game() override;
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  const GameIdentity& Identity() const { return identity_; }
  const GameState& State() const { return gs_; }
  // The game area, which owns the cabinet.
  CabinetView& View() { return *view_; }
  PlaySequence& Play() { return *play_; }
  WinCycle& Cycle() { return *win_cycle_; }
  RunningGameWriter& Keeper() { return *keeper_; }
  const StartUpPhase& StartUp() const { return *start_up_; }

  // The commands that change the game's money or swap it; each is ignored while play runs, and
  // what it changed is kept and shown at once.
  void NewGame();
  // The saved games' slot dialog.
  void OpenGame();
  void SaveGame();
  // The borrow dialog.
  void Borrow();

  // The window is closing: play still running moves to its end now, and the running game is
  // kept. The close goes ahead at once: nothing of play is left running after this.
  void End();
  // The end that follows is one nobody is there to answer (a signal, the session's end): it
  // opens no message box.
  void EndUnattended() { unattended_ = true; }
  // Whether the last end kept the running game in the file.
  bool RunningGameKept() const { return running_game_kept_; }

 private:
  // Start-up has ended: the cabinet keeps its art for the next start and the commands open.
  void StartUpEnded();
  // Keeps the running game in the file now; false when it could not be written (the caller
  // tells the player).
  std::function<bool()> KeepRunningGameNow();

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
  bool TakesInput() const override;

  GameState& gs_;
  // The only writer of the game's data.
  SlotMachine machine_;
  GameServices services_;
  Window& window_;
  GameIdentity identity_;
  std::unique_ptr<SavedGames> saves_;
  // Keeps the running game in the saved-games file at every step that changes it.
  std::unique_ptr<RunningGameWriter> keeper_;
  std::unique_ptr<StartUpPhase> start_up_;
  // The game area, a child widget of the window; it outlives the play that draws on its
  // cabinet.
  std::unique_ptr<CabinetView> view_;
  std::unique_ptr<WinCycle> win_cycle_;
  std::unique_ptr<PlaySequence> play_;
  // The bonus game while it is open.
  std::unique_ptr<BonusGameWindow> bonus_;
  bool unattended_ = false;
  bool running_game_kept_ = true;
  // The player has been told in this run that the running game could not be written.
  bool save_failure_told_ = false;
};
