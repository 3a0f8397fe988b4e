// Bet selection, the spin request, the reel animation and the evaluation's drawing.
#include <QImage>

#include "app/loop_guard.h"
#include "app/main_window.h"
#include "engine/bet.h"
#include "engine/money.h"
#include "engine/paytable.h"
#include "engine/reels.h"
#include "engine/spin.h"
#include "screen/scale.h"

void MainWindow::SelectBet(int button) {
  if (!IsLinesButton(button) && !IsCreditsButton(button)) return;
  win_cycle_timer_->SetEnabled(false);
  ClearStatusText();

  int lines = gs_.LinesBet;
  int per_line = gs_.CreditsPerLine;
  if (IsLinesButton(button)) {
    lines = BetButtonValue(button);
  } else {
    per_line = BetButtonValue(button);
    if (!CreditsCover(gs_.Credits, lines, per_line)) {
      platform_.ShowMessage(
          this, QString::fromStdString(identity_.GameTitle),
          QString::fromStdString(CreditCheckMessage(gs_.Credits, lines * per_line)));
      return;
    }
  }

  const int first = IsLinesButton(button) ? 1 : 6;
  for (int k = first; k < first + 5; ++k) screen_->DrawBetButton(k, k == button);
  gs_.LastBet = 0;

  if (IsLinesButton(button)) {
    gs_.LinesButton = button;
    screen_->RestoreReelFrames();
    for (int r = 0; r < kReels; ++r) screen_->DrawReelAtRest(r);
    for (int n = 1; n <= lines; ++n) screen_->DrawPaylinePath(n);
  } else {
    gs_.CreditsButton = button;
  }

  gs_.LinesBet = lines;
  gs_.CreditsPerLine = per_line;

  gs_.Bet = lines * per_line;
  screen_->DrawBetMeter();
  gs_.Bet = 0;
  screen_->DrawAllLineMarkers();

  if (IsLinesButton(button)) return;

  // A credits button plays at once: the stake leaves the credits here and RequestSpin keeps it.
  gs_.Bet = lines * per_line;
  screen_->DrawBetMeter();
  gs_.Credits -= gs_.Bet;
  screen_->DrawCreditsMeter();
  RequestSpin();
}

void MainWindow::MaxBet() {
  win_cycle_timer_->SetEnabled(false);
  if (gs_.Credits < kMaxStake) return;
  screen_->DrawBetButton(5, true);
  for (int k = 1; k <= 4; ++k) screen_->DrawBetButton(k, false);
  gs_.LinesBet = 9;
  gs_.LinesButton = 5;
  SelectBet(10);
}

void MainWindow::RequestSpin() {
  LoopGuard guard(running_loops_);
  // A music change that fails must never stand between a stake and its spin (a credits button
  // has already taken the stake when it gets here): whatever goes wrong with the music, the
  // spin goes ahead.
  try {
    sounds_.StartPendingTrack();
  } catch (...) {
  }

  if (TakeStake(gs_)) {
    screen_->DrawCreditsMeter();
    screen_->DrawBetMeter();
  }
  if (gs_.Bet <= 0) {
    platform_.ShowMessage(this, QString::fromStdString(identity_.GameTitle),
                          QString::fromUtf8(kNoBetMessage));
    return;
  }

  win_cycle_timer_->SetEnabled(false);
  ClearStatusText();
  SetBusy(true);

  screen_->DrawAllLineMarkers();
  screen_->RestoreReelFrames();
  screen_->DrawPlayButton(PlayKey::kMaxBet, false);
  screen_->DrawPlayButton(PlayKey::kSpin, false);
  screen_->RestoreBackgroundPatch();
  screen_->RedrawMeters();

  SpinReels();
  EvaluateSpin();

  gs_.LastBet = gs_.Bet;
  gs_.Bet = 0;
  screen_->DrawPlayButton(PlayKey::kMaxBet, true);
  screen_->DrawPlayButton(PlayKey::kSpin, true);

  if (close_pending_ || relayout_pending_) {
    // Leave the stack first; the close or the new layout then happens from the event loop.
    QMetaObject::invokeMethod(
        this, [this] { FinishDeferredSteps(); }, Qt::QueuedConnection);
  }
}

void MainWindow::SpinReels() {
  SetBusy(true);
  CountSpin(gs_);

  std::array<int, kReels> offset{};
  bonus_follows_ = PlaySpin(gs_, layout_.BlurHeight, offset);
  reels_turning_ = true;
  const int c = layout_.CellSize;
  // Each reel's picture of its landing, taken at the first bounce step and drawn shifted.
  std::array<QImage, kReels> work;

  gs_.Quitting = false;

  // 47 frames of 25 ms: reel r lands at frame 21 + 6r, then bounces over the next 8 frames.
  // Frames follow the tick count; a late frame delays the rest and none is skipped.
  constexpr int kFrames = 47;
  constexpr int kFrameMs = 25;
  static constexpr int kBounce[] = {2, 1, 0, -1, -2, -1};  // d = 23..28, positive is down
  const int step = layout_.scale.Scale(61);
  int frame = 0;
  uint32_t t0 = platform_.TickCount();
  while (frame < kFrames) {
    platform_.WaitUntil(t0 + kFrameMs);
    if (gs_.Quitting) break;
    t0 = platform_.TickCount();
    frame += 1;
    for (int r = 0; r < kReels && !gs_.Quitting; ++r) {
      const int d = frame - 6 * r;
      const int x = layout_.ReelsLeft + r * layout_.ReelPitch;
      if (d <= 20) {
        screen_->DrawSpinSlice(r, offset[r]);
        offset[r] -= step;
        if (offset[r] < 0) offset[r] += layout_.BlurHeight;
      } else if (d == 21) {
        sounds_.PlayReelStopSound();
        screen_->DrawReelAtRest(r);
      } else if (d == 22) {
        work[r] = canvas_.Image().copy(x, layout_.ReelsTop, c, 3 * c - 8);
        DrawBounce(r, work[r], 1);
      } else if (d >= 23 && d <= 28) {
        DrawBounce(r, work[r], kBounce[d - 23]);
      } else if (d == 29) {
        DrawBounce(r, work[r], 0);
        screen_->DrawReelAtRest(r);
      }
    }
  }
  for (int r = 0; r < kReels; ++r) screen_->DrawReelAtRest(r);
  reels_turning_ = false;
}

void MainWindow::DrawBounce(int r, const QImage& picture, int shift) {
  // The landing picture bounces inside its reel window: rows pushed outside it are not drawn,
  // so the frame art above and below the window is never smeared.
  const int x = layout_.ReelsLeft + r * layout_.ReelPitch;
  const int window_top = layout_.ReelsTop;
  const int window_bottom = layout_.ReelsTop + 3 * layout_.CellSize;
  int top = window_top + shift;
  int src_top = 0;
  if (top < window_top) {
    src_top = window_top - top;
    top = window_top;
  }
  int bottom = window_top + shift + picture.height();
  if (bottom > window_bottom) bottom = window_bottom;
  const int rows = bottom - top;
  if (rows <= 0) return;
  canvas_.CopyRect(x, top, x + picture.width(), bottom, picture, 0, src_top, picture.width(),
                   src_top + rows);
}

void MainWindow::WaitSeconds(double seconds) {
  const uint32_t t0 = platform_.TickCount();
  platform_.WaitUntil(t0 + static_cast<uint32_t>(seconds * 1000.0 + 0.5));
}

void MainWindow::EvaluateSpin() {
  // The spin was scored when its stops were drawn; here the result is shown and paid.
  for (int n = 1; n <= kPaylines; ++n) screen_->DrawLineMarkers(n, gs_.LineWon[n]);

  BeginWinCycle();
  if (gs_.WinToCount > 0) {
    if (!gs_.Quitting) sounds_.PlayWinSound(true);
    CountUpWin(0);
    if (bonus_follows_) {
      SetBusy(true);
      if (!gs_.Quitting) sounds_.PlayBonusSound();
      win_cycle_timer_->SetEnabled(false);
      bonus_delay_timer_->SetEnabled(true);
      return;
    }
  }
  SetBusy(false);
}
