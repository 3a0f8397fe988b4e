// MainWindow: the window's life cycle and the routing of input (start-up: app/start_up.cpp).
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>

#include "platform/window_manager.h"
#include "shell/help_topics.h"
#include "shell/saved_games_dialog.h"
#include "shell/settings.h"
#include "shell/web_page.h"
#include "windows/bonus_game.h"

MainWindow::MainWindow(GameState& state, Platform& platform, GameSounds& sounds, HelpViewer& help,
                       WebBrowser& web, const StartOptions& options)
    : gs_(state), machine_(state), platform_(platform), sounds_(sounds), help_(help), web_(web) {
  SetUpGame(options);
}

MainWindow::~MainWindow() {
  view_->AwaitDrawnAhead();
  // The music stops with the window.
  sounds_.CloseMusic();
  // Nothing may call back into a half-destroyed window.
  start_up_.reset();
  play_.reset();
  win_cycle_.reset();
}

void MainWindow::StartUpEnded() {
  Cabinet& cabinet = view_->Settled();
  // The window has its size by now: the decoded pictures its layouts shared are let go of.
  cabinet.ReleaseDecodedPictures();
  // The art as laid out for the window's size is kept for the next start (on another thread).
  cabinet.KeepLaidOutArt();
  EnableGameCommands(true);
}

namespace {
// Input waits for the end of start-up and is ignored while play runs.
bool AcceptsInput(const StartUpPhase& start_up, const PlaySequence& play) {
  return start_up.Ended() && !play.Running();
}
}  // namespace

void MainWindow::NewGame() {
  if (play_->Running()) return;
  machine_.NewGame();
  keeper_->Keep(gs_);
  PaintAll();
}

void MainWindow::EnableGameCommands(bool enabled) {
  // A new spin must never start inside a running one, and the money must not be reset under a
  // spin or a count-up that is still moving credits. Nor may a saved game be swapped in under
  // it, a half-played one saved, or credits borrowed.
  for (QAction* action : {menu_.new_game, menu_.open_game, menu_.save_game, menu_.borrow}) {
    if (action) action->setEnabled(enabled);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  view_->AwaitDrawnAhead();
  closing_ = true;
  // Play still running moves to its end now, an open bonus game ending with what it has paid:
  // every credit won is put in place first.
  play_->Finish();
  // The running game is kept for the next start, after whatever is still being written. A file
  // that can't be written is reported, and the program still ends: keeping the player in a game
  // that can't be saved helps nobody.
  keeper_->SetFailureHandler(nullptr);
  if (!keeper_->KeepNow(gs_)) ShowSaveFailure(platform_, this, *saves_);
  start_up_->Abandon();
  win_cycle_->Stop();
  help_.Close();
  event->accept();
}

bool MainWindow::event(QEvent* event) {
  if (play_ != nullptr &&
      (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked)) {
    play_->Hold(event->type() == QEvent::WindowBlocked);
  }
  return QMainWindow::event(event);
}

void MainWindow::PlayRunningChanged(bool running) {
  EnableGameCommands(!running);
  if (running) return;
  // What had to wait for the reels: a game area that now fits another layout, a close.
  view_->FitToArea();
  if (closing_) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (isVisible() && !play_->Running()) close();
        },
        Qt::QueuedConnection);
  }
}

void MainWindow::KeepRunningGame(const GameState& as_it_will_stand) {
  keeper_->Keep(as_it_will_stand);
}

void MainWindow::ShowNotice(const std::string& text) {
  platform_.ShowMessage(this, QString::fromStdString(identity_.GameTitle),
                        QString::fromStdString(text));
}

void MainWindow::OpenBonusGame() {
  const ScreenLayout& layout = view_->Shown().Layout();
  bonus_ = std::make_unique<BonusGameWindow>(gs_, identity_, platform_, sounds_,
                                             QSize(layout.ScreenWidth, layout.ScreenHeight), this);
  connect(bonus_.get(), &QDialog::finished, this, [this] {
    // The window goes once its own signal has returned; play goes on now.
    bonus_.release()->deleteLater();
    play_->BonusGameClosed();
  });
  platform_.OpenModal(bonus_.get());
}

void MainWindow::CloseBonusGame() {
  if (bonus_ != nullptr) bonus_->CloseWithResult();
}

bool MainWindow::PlayRunning() const {
  return play_ != nullptr && play_->Running();
}

bool MainWindow::ReelsTurning() const {
  return play_ != nullptr && play_->ReelsTurning();
}

void MainWindow::ClickAt(int x, int y) {
  int bet_key = 0;
  const CabinetInput input = view_->InputAt(x, y, &bet_key);
  if (input != CabinetInput::kNone) CabinetPressed(input, bet_key);
}

void MainWindow::CabinetPressed(CabinetInput input, int bet_key) {
  if (!AcceptsInput(*start_up_, *play_)) return;
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
      OpenGamesPage();
      break;
    case CabinetInput::kNone:
      break;
  }
}
