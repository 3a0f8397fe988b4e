#include "app/play_sequence.h"

#include <algorithm>

#include "app/win_cycle.h"
#include "engine/bet.h"
#include "engine/paytable.h"
#include "engine/reels.h"
#include "engine/slot_machine.h"
#include "screen/layout.h"
#include "screen/main_screen.h"
#include "screen/status_line.h"
#include "shell/sounds.h"

PlaySequence::PlaySequence(SlotMachine& machine, const ScreenLayout& layout, MainScreen& screen,
                           StatusLine& status, WinCycle& cycle, GameSounds& sounds,
                           Platform& platform, PlayHost& host)
    : machine_(machine),
      gs_(machine.State()),
      layout_(layout),
      screen_(screen),
      status_(status),
      cycle_(cycle),
      sounds_(sounds),
      host_(host),
      platform_(platform),
      clock_(platform.CreateTimer(kFrameMs, false, [this] { Tick(); })) {}

PlaySequence::~PlaySequence() = default;

void PlaySequence::SelectBet(BetButton button) {
  if (Running()) return;
  cycle_.Stop();
  status_.Clear();
  const std::string refusal = machine_.Select(button);
  if (!refusal.empty()) {
    host_.ShowNotice(refusal);
    return;
  }

  const bool lines_button = IsLinesButton(button);
  const int first = lines_button ? 1 : 6;
  for (int k = first; k < first + 5; ++k) screen_.DrawBetButton(k, k == ButtonNumber(button));
  if (lines_button) {
    screen_.RestoreReelFrames();
    for (int r = 0; r < kReels; ++r) screen_.DrawReelAtRest(r);
    for (int n = 1; n <= gs_.LinesBet; ++n) screen_.DrawPaylinePath(n);
  }
  // The bet meter shows the selection until a spin stakes it.
  screen_.DrawBetMeter(machine_.Selection());
  screen_.DrawAllLineMarkers();
  // A credits button plays at once.
  if (!lines_button) RequestSpin();
}

void PlaySequence::MaxBet() {
  if (Running()) return;
  cycle_.Stop();
  if (!CanBetMax(gs_.Credits)) return;
  screen_.DrawBetButton(ButtonNumber(BetButton::kLines9), true);
  for (int k = 1; k <= 4; ++k) screen_.DrawBetButton(k, false);
  // Nine lines are never refused, and the credits cover ten on each.
  (void)machine_.Select(BetButton::kLines9);
  SelectBet(BetButton::kPerLine10);
}

void PlaySequence::RequestSpin() {
  if (Running()) return;
  // A music change that fails must never stand between the player and his spin.
  try {
    sounds_.StartPendingTrack();
  } catch (...) {
  }

  if (!machine_.TakeStake()) {
    host_.ShowNotice(kNoBetMessage);
    return;
  }
  screen_.DrawCreditsMeter();
  screen_.DrawBetMeter(gs_.Bet);

  cycle_.Stop();
  status_.Clear();
  SetStage(Stage::kSpinning);
  screen_.DrawAllLineMarkers();
  screen_.RestoreReelFrames();
  screen_.DrawPlayButton(PlayKey::kMaxBet, false);
  screen_.DrawPlayButton(PlayKey::kSpin, false);
  screen_.RestoreBackgroundPatch();
  screen_.RedrawMeters();

  // The whole result is known now; the frames only show it.
  strip_offset_ = {};
  bonus_follows_ = machine_.Spin(layout_.BlurHeight, strip_offset_);
  KeepAsItWillStand();
  frame_ = 0;
  WaitFor(kFrameMs);
}

void PlaySequence::CountUpWin(int start) {
  if (Running()) return;
  paid_ = start;
  after_ = After::kNothing;
  BeginCount();
}

void PlaySequence::Finish() {
  finishing_ = Running();
  step_held_ = false;
  switch (stage_) {
    case Stage::kIdle:
      return;
    case Stage::kBonusGame:
      host_.CloseBonusGame();  // owed, with its picks
      SetStage(Stage::kIdle);
      return;
    case Stage::kSpinning:
      clock_->SetEnabled(false);
      EndSpin();
      return;
    case Stage::kWinSound:
      ++win_sound_;  // its end no longer counts
      BeginCount();
      return;
    case Stage::kCountingUp:
      CountAllNow();
      return;
    case Stage::kBonusPending:
      // Owed since the press that won it.
      clock_->SetEnabled(false);
      SetStage(Stage::kIdle);
      return;
  }
}

void PlaySequence::PlayOwedBonusGame() {
  if (Running() || gs_.BonusBet <= 0) return;
  cycle_.Stop();
  OpenBonusGame();
}

void PlaySequence::Hold(bool held) {
  if (held == held_) return;
  held_ = held;
  if (held) {
    if (clock_->Enabled()) {
      clock_->SetEnabled(false);
      step_held_ = true;
    }
    return;
  }
  if (!std::exchange(step_held_, false)) return;
  // The step that fell due while the window was in front comes at the clock's next tick (not
  // inside the window's closing), a later one when it is due; the steps after it keep their
  // spacing from there.
  const auto wait = static_cast<int32_t>(due_ - platform_.TickCount());
  WaitFor(std::max(wait, 1));
}

void PlaySequence::Tick() {
  if (stage_ == Stage::kSpinning) {
    // The frame clock keeps its 25 ms beat while the reels turn: a frame drawn a little late
    // does not push the rest back, one later than a whole frame does, and none is skipped. After
    // a hold the beat starts again from the frame that ends it.
    if (clock_->Interval() != kFrameMs) clock_->SetInterval(kFrameMs);
    due_ = platform_.TickCount() + kFrameMs;
    frame_ += 1;
    if (frame_ == kFrames) clock_->SetEnabled(false);
    DrawFrame();
    if (frame_ == kFrames) EndSpin();
    return;
  }
  clock_->SetEnabled(false);
  switch (stage_) {
    case Stage::kCountingUp:
      CountStep();
      return;
    case Stage::kBonusPending:
      OpenBonusGame();
      return;
    case Stage::kWinSound:  // it ended while play was held
      CountAfterWinSound();
      return;
    case Stage::kIdle:
    case Stage::kSpinning:
    case Stage::kBonusGame:
      return;
  }
}

void PlaySequence::WaitFor(int ms) {
  // A fresh count from now, whatever the timer was doing.
  clock_->SetEnabled(false);
  clock_->SetInterval(ms);
  due_ = platform_.TickCount() + static_cast<uint32_t>(ms);
  if (held_) {
    step_held_ = true;
    return;
  }
  clock_->SetEnabled(true);
}

void PlaySequence::SetStage(Stage stage) {
  const bool was_running = Running();
  stage_ = stage;
  if (!Running()) finishing_ = false;
  if (Running() != was_running) host_.PlayRunningChanged(Running());
}

void PlaySequence::DrawFrame() {
  // Reel r spins until frame 20 + 6r, lands at 21 + 6r with its stop sound, then its landed
  // picture bounces 1, 2, 1, 0, -1, -2, -1 pixels (down is positive) and settles at 29 + 6r.
  static constexpr int kBounce[] = {2, 1, 0, -1, -2, -1};  // d = 23..28
  const int step = layout_.scale.Scale(61);
  for (int r = 0; r < kReels; ++r) {
    const int d = frame_ - 6 * r;
    if (d <= 20) {
      screen_.DrawSpinSlice(r, strip_offset_[r]);
      strip_offset_[r] -= step;
      if (strip_offset_[r] < 0) strip_offset_[r] += layout_.BlurHeight;
    } else if (d == 21) {
      sounds_.PlayReelStopSound();
      screen_.DrawReelAtRest(r);
    } else if (d == 22) {
      screen_.TakeLandingPicture(r, &landing_[r]);
      screen_.DrawBounce(r, landing_[r], layout_.scale.Px(1));
    } else if (d >= 23 && d <= 28) {
      screen_.DrawBounce(r, landing_[r], layout_.scale.Px(kBounce[d - 23]));
    } else if (d == 29) {
      screen_.DrawBounce(r, landing_[r], 0);
      screen_.DrawReelAtRest(r);
    }
  }
}

void PlaySequence::EndSpin() {
  for (int r = 0; r < kReels; ++r) screen_.DrawReelAtRest(r);
  Evaluate();
}

void PlaySequence::Evaluate() {
  // The spin was scored when its stops were drawn; here the result is shown and paid.
  for (int n = 1; n <= kPaylines; ++n) screen_.DrawLineMarkers(n, gs_.LineWon[n]);
  cycle_.Begin();
  if (gs_.WinToCount > 0) {
    AnnounceWin(0, After::kSpin);
  } else {
    EndSpinRequest();
    SetStage(Stage::kIdle);
  }
}

void PlaySequence::AnnounceWin(int start, After after) {
  paid_ = start;
  after_ = after;
  if (finishing_) {
    BeginCount();
    return;
  }
  // The win sound plays out before anything moves: the presentation waits with the count-up.
  cycle_.Stop();
  SetStage(Stage::kWinSound);
  const int sound = ++win_sound_;
  std::weak_ptr<int> alive = alive_;
  sounds_.PlayWinSound([this, alive, sound] {
    if (alive.expired() || sound != win_sound_ || stage_ != Stage::kWinSound) return;
    WinSoundEnded();
  });
}

void PlaySequence::WinSoundEnded() {
  if (held_) {
    // Counted in once the window in front has gone.
    due_ = platform_.TickCount();
    step_held_ = true;
    return;
  }
  CountAfterWinSound();
}

void PlaySequence::BeginCount() {
  SetStage(Stage::kCountingUp);
  if (finishing_) {
    CountAllNow();
  } else {
    CountStep();
  }
}

void PlaySequence::CountAfterWinSound() {
  BeginCount();
  // The presentation's first tick comes with the first credit, the next ones at its own pace.
  if (stage_ != Stage::kCountingUp) return;
  cycle_.Resume();
  cycle_.Advance();
}

void PlaySequence::CountStep() {
  if (gs_.WinToCount <= 0) {
    AfterCount();
    return;
  }
  paid_ += machine_.PayCountUpStep();
  sounds_.PlayCountSound();
  screen_.DrawCreditsMeter();
  screen_.DrawWinMeter(paid_);
  // Every step, the last one too, is followed by its 75 ms.
  WaitFor(kCountStepMs);
}

void PlaySequence::CountAllNow() {
  // Closing: every credit still moves, without the show.
  clock_->SetEnabled(false);
  while (gs_.WinToCount > 0) paid_ += machine_.PayCountUpStep();
  screen_.DrawCreditsMeter();
  screen_.DrawWinMeter(paid_);
  AfterCount();
}

void PlaySequence::AfterCount() {
  const After after = std::exchange(after_, After::kNothing);
  if (after == After::kSpin) {
    EndSpinRequest();
    if (bonus_follows_ && !finishing_) {
      // The display holds the spin's result, unanimated, until the bonus game opens.
      sounds_.PlayBonusSound();
      cycle_.Stop();
      SetStage(Stage::kBonusPending);
      WaitFor(kBonusDelayMs);
      return;
    }
  }
  SetStage(Stage::kIdle);
}

void PlaySequence::EndSpinRequest() {
  machine_.EndSpin();
  screen_.DrawPlayButton(PlayKey::kMaxBet, true);
  screen_.DrawPlayButton(PlayKey::kSpin, true);
}

void PlaySequence::KeepAsItWillStand() {
  host_.KeepRunningGame(machine_.AsCounted());
}

void PlaySequence::OpenBonusGame() {
  // A window the player opened from the menu holds play, so the bonus game opens once that
  // window has gone.
  SetStage(Stage::kBonusGame);
  host_.OpenBonusGame();
}

void PlaySequence::BonusGameClosed() {
  if (stage_ != Stage::kBonusGame) return;
  const int before = gs_.GamePaid;
  machine_.PayBonusWin();
  // Owed no more, whatever it paid.
  KeepAsItWillStand();
  if (gs_.BonusWin > 0) {
    AnnounceWin(before, After::kBonus);
  } else {
    cycle_.Resume();
    SetStage(Stage::kIdle);
  }
}
