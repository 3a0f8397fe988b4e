#include "app/win_cycle.h"

#include <array>

#include "engine/paytable.h"
#include "screen/fonts.h"
#include "screen/layout.h"
#include "screen/main_screen.h"
#include "screen/status_line.h"

namespace {
QRgb FromLineColour(uint32_t rgb) {
  return qRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
}  // namespace

WinCycle::WinCycle(const GameState& gs, MainScreen& screen, StatusLine& status, Platform& platform)
    : gs_(gs),
      screen_(screen),
      status_(status),
      timer_(platform.CreateTimer(kTickMs, false, [this] { Advance(); })) {}

void WinCycle::Begin() {
  state_.shown_win = FirstWinToShow(gs_);
  state_.flash_ticks = 0;
  timer_->SetEnabled(true);
}

void WinCycle::Advance() {
  // 1. The wilds animate on every tick, with or without a win.
  state_.wild_frame += state_.wild_frame_step;
  if (state_.wild_frame > 4) {
    state_.wild_frame_step = -state_.wild_frame_step;
    state_.wild_frame = 3;
  }
  if (state_.wild_frame < 0) {
    state_.wild_frame_step = -state_.wild_frame_step;
    state_.wild_frame = 1;
  }
  for (int r = 0; r < kReels; ++r) {
    for (int row = 0; row < kRows; ++row) {
      if (gs_.ReelWindow[r][row] == 0) screen_.DrawWildFrame(r, row, state_.wild_frame);
    }
  }

  // 2. No win: nothing more to show.
  if (state_.shown_win < 0) return;

  // 3. Blink phase and time on the current win.
  state_.flash_on = !state_.flash_on;
  state_.flash_ticks += 1;

  // 4. After 11 ticks, the next win in the order 1..9, then the scatter win.
  if (state_.flash_ticks > 10) {
    if (state_.shown_win <= 9) screen_.DrawLineMarkers(state_.shown_win, true);
    // The five reels at rest: the win that was shown leaves no white cell behind, and every wild
    // shows its resting picture for this tick.
    RestReels(WinningCells(), /*all_reels=*/true);
    status_.Clear();
    // The evaluation sets a win to show only when one exists, so this always finds one; the
    // bound guards the loop against a state restored from elsewhere that has none.
    for (int tries = 0; tries < kScatterWin; ++tries) {
      state_.shown_win = state_.shown_win >= kScatterWin ? 1 : state_.shown_win + 1;
      if (state_.shown_win <= 9 && gs_.LineWon[state_.shown_win]) break;
      if (state_.shown_win == kScatterWin && gs_.ScatterWin >= 1) break;
    }
    state_.flash_ticks = 0;
  }

  // 5. The shown payline's marker blinks.
  if (state_.shown_win <= 9) screen_.DrawLineMarkers(state_.shown_win, state_.flash_on);

  // 6. The status line: the win's own text and the game's total in turn, the bonus text beside.
  StatusLine::Text first;
  if (state_.flash_on) {
    first.text = state_.shown_win == kScatterWin
                     ? QStringLiteral("Scatter paid %1").arg(gs_.ScatterWin)
                     : QStringLiteral("Line paid %1").arg(gs_.LineWin[state_.shown_win]);
    first.colour = FromLineColour(screen_.LineColour(state_.shown_win));
    first.anchor = layout::kStatusLeftAnchor;
  } else {
    first = {QStringLiteral("Game paid %1").arg(gs_.GamePaid), colours::kWhite,
             layout::kStatusRightAnchor, true};
  }
  std::optional<StatusLine::Text> bonus;
  if (gs_.ScatterCount >= 3) {
    bonus =
        StatusLine::Text{gs_.BonusWin < 1 ? QStringLiteral("Play the Bonus Game")
                                          : QStringLiteral("Bonus Game Paid %1").arg(gs_.BonusWin),
                         colours::kYellow, layout::kStatusBonusRightAnchor, true};
  }
  status_.Show(first, bonus);

  // 7. The winning cells alternate between white squares and their symbols; a reel that holds
  // one is drawn at rest whole, its wilds included.
  const std::vector<Cell> cells = WinningCells();
  if (state_.flash_on) {
    RestReels(cells, /*all_reels=*/false);
  } else {
    for (const Cell& cell : cells) screen_.FillCellWhite(cell.reel, cell.row);
  }
}

std::vector<WinCycle::Cell> WinCycle::WinningCells() const {
  std::vector<Cell> cells;
  if (state_.shown_win == kScatterWin) {
    for (int i = 1; i <= gs_.ScatterCount && i < static_cast<int>(gs_.ScatterPos.size()); ++i) {
      cells.push_back({gs_.ScatterPos[i].reel, gs_.ScatterPos[i].row});
    }
    return cells;
  }
  const int n = state_.shown_win;
  if (n < 1 || n > kPaylines) return cells;
  for (int r = 0; r < gs_.LineMatch[n] && r < kReels; ++r) cells.push_back({r, PaylineRow(n, r)});
  return cells;
}

void WinCycle::RestReels(const std::vector<Cell>& cells, bool all_reels) {
  // While the presentation runs, nothing but it draws on the reels, and it changes only the
  // shown win's cells (white) and the wilds (their frames). Drawing those of a reel at rest shows
  // what drawing the whole reel at rest shows, at the cost of the cells that can differ.
  std::array<std::array<bool, kRows>, kReels> redraw{};
  std::array<bool, kReels> reel{};
  reel.fill(all_reels);
  for (const Cell& cell : cells) {
    if (cell.reel < 0 || cell.reel >= kReels || cell.row < 0 || cell.row >= kRows) continue;
    redraw[cell.reel][cell.row] = true;
    reel[cell.reel] = true;
  }
  for (int r = 0; r < kReels; ++r) {
    for (int row = 0; row < kRows; ++row) {
      if (redraw[r][row] || (reel[r] && gs_.ReelWindow[r][row] == 0)) {
        screen_.DrawCellAtRest(r, row);
      }
    }
  }
}
