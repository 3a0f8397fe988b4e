// Game: the game's life after start-up, and the routing of the player's presses on the cabinet
// (start-up: app/start_up.cpp).
#include "app/game.h"

#include <QDialog>
#include <cstdio>
#include <utility>

#include "platform/accessible_part.h"
#include "shell/saved_games_dialog.h"
#include "shell/web_page.h"
#include "windows/bonus_game.h"
#include "windows/borrow_dialog.h"

Game::~Game() {
  view_->AwaitDrawnAhead();
  // The music stops with the game.
  services_.sounds.CloseMusic();
  // Nothing may call back into a half-destroyed game.
  start_up_.reset();
  play_.reset();
  win_cycle_.reset();
  window_.ShowGame(nullptr);
}

void Game::StartUpEnded() {
  Cabinet& cabinet = view_->Settled();
  // The window has its size by now: the decoded pictures its layouts shared are let go of.
  cabinet.ReleaseDecodedPictures();
  // The art as laid out for the window's size is kept for the next start (on another thread).
  cabinet.KeepLaidOutArt();
  window_.EnableGameCommands(true);
  // A bonus game the last run won and did not end comes before anything else.
  play_->PlayOwedBonusGame();
}

void Game::NewGame() {
  if (play_->Running()) return;
  machine_.NewGame();
  keeper_->Keep(gs_);
  view_->PaintAll();
}

std::function<bool()> Game::KeepRunningGameNow() {
  // Through the writer, after whatever it still has to write; a game this copy has not changed
  // since it last read or wrote it is not written over another copy's.
  return [this] { return keeper_->KeepNow(gs_); };
}

// Saved games: the slot dialog, not while credits are moving. An opened game is on the meters
// at once.
void Game::OpenGame() {
  if (play_->Running()) return;
  if (RunSavedGamesDialog(
          *saves_, services_.platform, identity_, SlotDialogMode::kOpen, KeepRunningGameNow(),
          [this](int context) { services_.help.ShowContext(context); }, &window_.Widget())) {
    keeper_->Keep(gs_);  // the opened game is the running game from now on
  }
  view_->PaintAll();
}

void Game::SaveGame() {
  if (play_->Running()) return;
  RunSavedGamesDialog(
      *saves_, services_.platform, identity_, SlotDialogMode::kSave, KeepRunningGameNow(),
      [this](int context) { services_.help.ShowContext(context); }, &window_.Widget());
}

void Game::Borrow() {
  // Like New Game: credits that a spin, a count-up or a bonus game is still moving must not
  // change under it.
  if (play_->Running()) return;
  {
    BorrowDialog dialog(gs_, identity_, view_->Shown().Art(), services_.platform,
                        &window_.Widget());
    // Its meters are read through an interface of its own.
    ForgetInterfaceMadeWhileBuilt(&dialog);
    services_.platform.RunModal(&dialog);
  }
  keeper_->Keep(gs_);  // what was borrowed or paid back
  view_->PaintAll();   // the credits meter shows the new balance
}

void Game::End() {
  view_->AwaitDrawnAhead();
  // Play still running moves to its end now: every credit won is put in place first, and a
  // bonus game won stays owed with its picks, to be played at the next start. A close is a
  // close: nobody may be there to play it now (a signal, the session's end), and the player who
  // closes during the hand-over gets it at once the next time.
  play_->Finish();
  // The running game is kept for the next start, after whatever is still being written. A file
  // that can't be written is reported, and the program still ends: keeping the player in a game
  // that can't be saved helps nobody. The player is told once a run; an end nobody is there to
  // answer (a signal, the session's end) says it on the error output and asks nothing.
  keeper_->SetFailureHandler(nullptr);
  running_game_kept_ = keeper_->KeepNow(gs_);
  if (!running_game_kept_) {
    if (unattended_) {
      std::fprintf(stderr, "zelmar-slots: Unable to write to %s\n", saves_->FilePath().c_str());
    } else if (!std::exchange(save_failure_told_, true)) {
      ShowSaveFailure(services_.platform, &window_.Widget(), *saves_);
    }
  }
  start_up_->Abandon();
  win_cycle_->Stop();
}

void Game::PlayRunningChanged(bool running) {
  window_.EnableGameCommands(!running);
  if (running) return;
  // What had to wait for the reels: a game area that now fits another layout.
  view_->FitToArea();
}

void Game::KeepRunningGame(const GameState& as_it_will_stand) {
  keeper_->Keep(as_it_will_stand);
}

void Game::ShowNotice(const std::string& text) {
  services_.platform.ShowMessage(&window_.Widget(), QString::fromStdString(identity_.GameTitle),
                                 QString::fromStdString(text));
}

void Game::OpenBonusGame() {
  const ScreenLayout& layout = view_->Shown().Layout();
  bonus_ = std::make_unique<BonusGameWindow>(gs_, identity_, services_.platform, services_.sounds,
                                             QSize(layout.ScreenWidth, layout.ScreenHeight),
                                             &window_.Widget());
  QObject::connect(bonus_.get(), &QDialog::finished, bonus_.get(), [this] {
    // The window goes once its own signal has returned; play goes on now.
    bonus_.release()->deleteLater();
    play_->BonusGameClosed();
  });
  // Each pick is kept the moment it is made, like a spin.
  bonus_->KeepPicksWith([this] { keeper_->Keep(gs_); });
  services_.platform.OpenModal(bonus_.get());
}

void Game::CloseBonusGame() {
  if (bonus_ == nullptr) return;
  // No result leaves the window: the game stays owed as kept.
  QObject::disconnect(bonus_.get(), &QDialog::finished, nullptr, nullptr);
  bonus_->hide();
  bonus_.release()->deleteLater();
}

bool Game::PlayRunning() const {
  return play_ != nullptr && play_->Running();
}

bool Game::ReelsTurning() const {
  return play_ != nullptr && play_->ReelsTurning();
}

bool Game::TakesInput() const {
  return start_up_ != nullptr && start_up_->Ended() && !PlayRunning();
}

void Game::CabinetPressed(CabinetInput input, int bet_key) {
  // Input waits for the end of start-up and is ignored while play runs.
  if (!start_up_->Ended() || play_->Running()) return;
  switch (input) {
    case CabinetInput::kMaxBet:
      play_->MaxBet();
      break;
    case CabinetInput::kSpin:
      play_->RequestSpin();
      break;
    case CabinetInput::kBetKey:
      play_->SelectBet(NumberedButton(bet_key));
      break;
    case CabinetInput::kGamesPage:
      OpenWebPage(services_.web, services_.platform, &window_.Widget());
      break;
    case CabinetInput::kNone:
      break;
  }
}
