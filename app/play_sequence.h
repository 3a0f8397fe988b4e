// PlaySequence: one play of the machine, from the player's bet to the last credit paid, as a
// sequence of stages that the ordinary event loop advances through one timer. Nothing in it
// waits or pumps events, so a close, a resize or a menu command always arrives between two
// steps, and the stage alone says what they may do.
//
//   idle -> spinning (47 frames of 25 ms; reel r lands at frame 21 + 6r, then bounces)
//        -> win sound (until the player reports its end) -> counting up (a step every 75 ms)
//        -> bonus pending (2 s) -> bonus game (modal) -> win sound -> counting up -> idle
//
// A spin without a win goes from spinning straight to idle; one without a bonus game, from
// counting up. Frames follow the clock's 25 ms beat: a frame a little late leaves the beat where
// it was, one late by a whole frame or more delays the rest, and none is ever skipped, so a spin
// takes 47 x 25 ms on a machine that keeps up and never shows fewer frames on one that doesn't.
//
// While the win sound plays nothing on the cabinet moves: the win presentation and the count-up
// start together at its end. A window that the player opens in front of the game holds play where
// it stands; once it has closed, the step that fell due meanwhile comes at once and the rest
// follow at their spacing.
#pragma once

#include <QImage>
#include <array>
#include <memory>
#include <string>

#include "engine/bet.h"
#include "engine/game_state.h"
#include "platform/platform.h"

class GameSounds;
class MainScreen;
class SlotMachine;
class StatusLine;
class WinCycle;
struct ScreenLayout;

// What the sequence needs from the game it plays in.
class PlayHost {
 public:
  virtual ~PlayHost() = default;
  // An information box with the game's title and one OK button.
  virtual void ShowNotice(const std::string& text) = 0;
  // Opens the bonus game and returns at once; once it has closed, its result in BonusWin, the
  // host calls PlaySequence::BonusGameClosed.
  virtual void OpenBonusGame() = 0;
  // Closes the open bonus game now without a result: it stays owed as the running game keeps it
  // (its prizes, its bet and every pick made), to be played on at the next start.
  virtual void CloseBonusGame() = 0;
  // Play has started (true) or come to rest (false).
  virtual void PlayRunningChanged(bool running) = 0;
  // The running game as it will stand once the credits now won are counted in: to be kept at
  // once, so that nothing a spin or a bonus game has paid is lost if the program ends early.
  virtual void KeepRunningGame(const GameState& as_it_will_stand) = 0;
};

class PlaySequence {
 public:
  enum class Stage { kIdle, kSpinning, kWinSound, kCountingUp, kBonusPending, kBonusGame };

  static constexpr int kFrames = 47;
  static constexpr int kFrameMs = 25;
  static constexpr int kCountStepMs = 75;
  static constexpr int kBonusDelayMs = 2000;

  // Everything handed in must outlive the sequence.
  PlaySequence(SlotMachine& machine, const ScreenLayout& layout, MainScreen& screen,
               StatusLine& status, WinCycle& cycle, GameSounds& sounds, Platform& platform,
               PlayHost& host);
  ~PlaySequence();
  PlaySequence(const PlaySequence&) = delete;
  PlaySequence& operator=(const PlaySequence&) = delete;

  // The player's bets; each is ignored while play runs. A lines button selects, a credits button
  // selects and spins, max bet stakes 90 and spins.
  void SelectBet(BetButton button);
  void MaxBet();
  // Takes the stake and starts the spin, or says "No bet was placed!" when there is none.
  void RequestSpin();
  // Counts WinToCount into the credits, the win meter counting on from start, then rests.
  // Ignored while play runs.
  void CountUpWin(int start);

  // The window is closing: the play in hand runs to its end at once, every credit won put in
  // place, without sounds or waits, and no bonus game opens. A bonus game won, still to open or
  // open, stays owed with the picks made in it: the next start plays it on from there.
  void Finish();

  // At rest with a bonus game owed (a start after the program ended before the bonus game did):
  // opens it, to be played on from where it stood.
  void PlayOwedBonusGame();

  // The bonus game the host opened has closed, its result in BonusWin: its prize is announced
  // and counted in, or play comes to rest.
  void BonusGameClosed();

  // A window in front of the game holds play (true) until it has gone (false). A close still
  // finishes play at once.
  void Hold(bool held);

  Stage CurrentStage() const { return stage_; }
  bool Running() const { return stage_ != Stage::kIdle; }
  // The reels turn: the spin's result is known but not shown yet.
  bool ReelsTurning() const { return stage_ == Stage::kSpinning; }
  // The last frame of the spin drawn, 0 before the first.
  int Frame() const { return frame_; }
  Timer& Clock() { return *clock_; }

 private:
  enum class After { kNothing, kSpin, kBonus };

  void Tick();
  void WaitFor(int ms);
  void WinSoundEnded();
  void SetStage(Stage stage);
  void DrawFrame();
  void EndSpin();
  void Evaluate();
  void AnnounceWin(int start, After after);
  void BeginCount();
  void CountAfterWinSound();
  void CountStep();
  void CountAllNow();
  void AfterCount();
  void EndSpinRequest();
  void OpenBonusGame();
  void KeepAsItWillStand();

  SlotMachine& machine_;
  const GameState& gs_;
  const ScreenLayout& layout_;
  MainScreen& screen_;
  StatusLine& status_;
  WinCycle& cycle_;
  GameSounds& sounds_;
  PlayHost& host_;
  Platform& platform_;
  std::unique_ptr<Timer> clock_;

  Stage stage_ = Stage::kIdle;
  // Finish() was called: the play in hand runs to its end at once.
  bool finishing_ = false;
  // When the clock's next step is due, and whether a step was held back by a window in front.
  uint32_t due_ = 0;
  bool held_ = false;
  bool step_held_ = false;
  // The spin: frames drawn, each reel's place on the spinning strip, the landed pictures that
  // bounce, and whether the bonus game follows.
  int frame_ = 0;
  std::array<int, kReels> strip_offset_{};
  // Each reel's landed picture for its bounce; kept from spin to spin, taken into anew.
  std::array<QImage, kReels> landing_;
  bool bonus_follows_ = false;
  // The count-up: what the win meter shows and what comes after it.
  int paid_ = 0;
  After after_ = After::kNothing;
  // Tells a win sound's end from an earlier one's, and from one that outlives the sequence.
  int win_sound_ = 0;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};
