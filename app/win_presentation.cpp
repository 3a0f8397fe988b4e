// The win presentation: the count-up into the credits, the win cycle with its status line, the
// wild animation, and the hand-over to the bonus game and its payment.
#include "app/loop_guard.h"
#include "app/main_window.h"
#include "engine/money.h"
#include "engine/paytable.h"
#include "screen/fonts.h"
#include "screen/layout.h"
#include "screen/scale.h"
#include "windows/bonus_game.h"

namespace {
using colours::kBlack, colours::kWhite, colours::kYellow;

QRgb FromLineColour(uint32_t rgb) {
  return qRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
}  // namespace

void MainWindow::CountUpWin(int start) {
  SetBusy(true);
  int paid = start;
  while (gs_.WinToCount > 0) {
    paid += PayCountUpStep(gs_);
    if (gs_.Quitting) continue;  // closing: every credit still moves, without the show
    sounds_.PlayCountSound();
    screen_->DrawCreditsMeter();
    screen_->DrawWinMeter(paid);
    WaitSeconds(0.075);
  }
  if (gs_.Quitting) {
    screen_->DrawCreditsMeter();
    screen_->DrawWinMeter(paid);
  }
  SetBusy(false);
}

void MainWindow::ClearStatusText() {
  canvas_.SetPenColor(kBlack);
  canvas_.SetBrushColor(kBlack);
  canvas_.SetBrushClear(false);
  const layout::Rect& line = layout::kStatusLine;
  canvas_.FillRect(layout_.scale.Scale(line.left), layout_.scale.Scale(line.top),
                   layout_.scale.Scale(line.right), layout_.scale.Scale(line.bottom));
}

void MainWindow::SetStatusFont() {
  const FontBand font = StatusLineFont(layout_.scale.Width());
  canvas_.SetFontFace(QString::fromLatin1(font.face));
  canvas_.SetFontBold(font.bold);
  canvas_.SetFontSize(font.size);
}

void MainWindow::WriteStatusText(const QString& text, QRgb colour, int anchor_x, bool right_aligned,
                                 int top) {
  canvas_.SetFontColor(colour);
  canvas_.SetBrushClear(true);
  const int x = right_aligned ? anchor_x - canvas_.TextWidth(text) : anchor_x;
  canvas_.TextOut(x, top, text);
  canvas_.SetBrushClear(false);
}

void MainWindow::BeginWinCycle() {
  win_cycle_.shown_win = FirstWinToShow(gs_);
  win_cycle_.flash_ticks = 0;
  win_cycle_timer_->SetEnabled(true);
}

void MainWindow::AdvanceWinCycle() {
  // 1. The wilds animate on every tick, with or without a win.
  win_cycle_.wild_frame += win_cycle_.wild_frame_step;
  if (win_cycle_.wild_frame > 4) {
    win_cycle_.wild_frame_step = -win_cycle_.wild_frame_step;
    win_cycle_.wild_frame = 3;
  }
  if (win_cycle_.wild_frame < 0) {
    win_cycle_.wild_frame_step = -win_cycle_.wild_frame_step;
    win_cycle_.wild_frame = 1;
  }
  for (int r = 0; r < kReels; ++r) {
    for (int row = 0; row < kRows; ++row) {
      if (gs_.ReelWindow[r][row] == 0) screen_->DrawWildFrame(r, row, win_cycle_.wild_frame);
    }
  }

  // 2. No win: nothing more to show.
  if (win_cycle_.shown_win < 0) return;

  // 3. Blink phase and time on the current win.
  win_cycle_.flash_on = !win_cycle_.flash_on;
  win_cycle_.flash_ticks += 1;

  // 4. After 11 ticks, the next win in the order 1..9, then the scatter win.
  if (win_cycle_.flash_ticks > 10) {
    if (win_cycle_.shown_win <= 9) screen_->DrawLineMarkers(win_cycle_.shown_win, true);
    for (int r = 0; r < kReels; ++r) screen_->DrawReelAtRest(r);
    ClearStatusText();
    // The evaluation sets a win to show only when one exists, so this always finds one; the
    // bound guards the loop against a state restored from elsewhere that has none.
    for (int tries = 0; tries < kScatterWin; ++tries) {
      win_cycle_.shown_win = win_cycle_.shown_win >= kScatterWin ? 1 : win_cycle_.shown_win + 1;
      if (win_cycle_.shown_win <= 9 && gs_.LineWon[win_cycle_.shown_win]) break;
      if (win_cycle_.shown_win == kScatterWin && gs_.ScatterWin >= 1) break;
    }
    win_cycle_.flash_ticks = 0;
  }

  // 5. The shown payline's marker blinks.
  if (win_cycle_.shown_win <= 9)
    screen_->DrawLineMarkers(win_cycle_.shown_win, win_cycle_.flash_on);

  // 6. The status line.
  ClearStatusText();
  SetStatusFont();
  QString first;
  QRgb first_colour;
  int first_x;
  bool first_right;
  if (win_cycle_.flash_on) {
    if (win_cycle_.shown_win == kScatterWin) {
      first = QStringLiteral("Scatter paid %1").arg(gs_.ScatterWin);
    } else {
      first = QStringLiteral("Line paid %1").arg(gs_.LineWin[win_cycle_.shown_win]);
    }
    first_colour = FromLineColour(screen_->LineColour(win_cycle_.shown_win));
    first_x = layout_.scale.Scale(layout::kStatusLeftAnchor);
    first_right = false;
  } else {
    first = QStringLiteral("Game paid %1").arg(gs_.GamePaid);
    first_colour = kWhite;
    first_x = layout_.scale.Scale(layout::kStatusRightAnchor);
    first_right = true;
  }
  const int top = layout_.scale.Scale(layout::kStatusLine.bottom) - canvas_.TextHeight(first);
  WriteStatusText(first, first_colour, first_x, first_right, top);
  if (gs_.ScatterCount >= 3) {
    const QString bonus = gs_.BonusWin < 1 ? QStringLiteral("Play the Bonus Game")
                                           : QStringLiteral("Bonus Game Paid %1").arg(gs_.BonusWin);
    WriteStatusText(bonus, kYellow, layout_.scale.Scale(layout::kStatusBonusRightAnchor), true,
                    top);
  }

  // 7. The winning cells alternate between white squares and their symbols.
  DrawWinningCells();
}

void MainWindow::DrawWinningCells() {
  if (win_cycle_.shown_win == kScatterWin) {
    for (int i = 1; i <= gs_.ScatterCount; ++i) {
      const ScatterCell& cell = gs_.ScatterPos[i];
      if (win_cycle_.flash_on) {
        screen_->DrawReelAtRest(cell.reel);
      } else {
        screen_->FillCellWhite(cell.reel, cell.row);
      }
    }
    return;
  }
  const int n = win_cycle_.shown_win;
  for (int r = 0; r < gs_.LineMatch[n] && r < kReels; ++r) {
    if (win_cycle_.flash_on) {
      screen_->DrawReelAtRest(r);
    } else {
      screen_->FillCellWhite(r, PaylineRow(n, r));
    }
  }
}

void MainWindow::StartBonusGame() {
  bonus_delay_timer_->SetEnabled(false);
  if (closed_ || gs_.Quitting) {
    // The window is going away: no bonus game is started, and nothing was won in it.
    SetBusy(false);
    return;
  }
  LoopGuard guard(running_loops_);
  {
    BonusGameWindow bonus(gs_, identity_, platform_, sounds_,
                          QSize(layout_.ScreenWidth, layout_.ScreenHeight), this);
    platform_.RunModal(&bonus);
  }
  win_cycle_timer_->SetEnabled(true);
  const int before = gs_.GamePaid;
  AddBonusWin(gs_);
  if (gs_.BonusWin > 0) {
    if (!gs_.Quitting) sounds_.PlayWinSound(true);
    CountUpWin(before);
  }
  SetBusy(false);
  if (close_pending_ || relayout_pending_) {
    QMetaObject::invokeMethod(
        this, [this] { FinishDeferredSteps(); }, Qt::QueuedConnection);
  }
}
