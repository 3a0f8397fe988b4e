// The win presentation between spins: every 300 ms the wilds on the reels take their next
// animation frame, and the wins of the last spin are shown one after another, each for eleven
// ticks, its payline marker and its cells blinking and the status line alternating between the
// win's own text and the game's total.
#pragma once

#include <memory>
#include <vector>

#include "engine/game_state.h"
#include "platform/platform.h"

class MainScreen;
class StatusLine;

// Where the presentation stands: the win on show and its blink, and the wilds' animation.
struct WinCycleState {
  int shown_win = -1;   // 1..9 a payline, kScatterWin the scatters, -1 nothing to show
  int flash_ticks = 0;  // ticks spent on the shown win
  bool flash_on = false;
  int wild_frame = 4;  // 0..4, stepping by wild_frame_step and turning at the ends
  int wild_frame_step = 1;
};

class WinCycle {
 public:
  static constexpr int kTickMs = 300;

  // Reads the last spin's result from gs and draws through screen and status; all must outlive
  // the cycle. Its timer comes from platform and starts stopped.
  WinCycle(const GameState& gs, MainScreen& screen, StatusLine& status, Platform& platform);

  // Starts presenting the last result at its first win (the wilds animate with or without one).
  void Begin();
  // Stops the presentation where it stands, or lets it go on from there.
  void Stop() { timer_->SetEnabled(false); }
  void Resume() { timer_->SetEnabled(true); }
  bool Running() const { return timer_->Enabled(); }

  // One tick of the presentation.
  void Advance();

  const WinCycleState& State() const { return state_; }
  Timer& Clock() { return *timer_; }

 private:
  struct Cell {
    int reel;
    int row;
  };
  // The cells of the win on show.
  std::vector<Cell> WinningCells() const;
  // Puts back at rest the reels that hold one of cells, or all five: what a redraw of each whole
  // reel at rest shows.
  void RestReels(const std::vector<Cell>& cells, bool all_reels);

  const GameState& gs_;
  MainScreen& screen_;
  StatusLine& status_;
  WinCycleState state_;
  std::unique_ptr<Timer> timer_;
};
