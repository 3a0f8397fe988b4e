// MainWindow: start-up, the window's life cycle and the routing of input.
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
  start_up_timer_.reset();
  play_.reset();
  win_cycle_.reset();
}

void MainWindow::SetUpGame(const StartOptions& options) {
  // 1. The machine: the random sequence, the reel strips at their start stops and the bet
  // defaults.
  machine_.SwitchOn(options.seed);

  // 2. Where the program lives: art, sounds and help are looked up beside the real file; the
  // saved games are kept in the player's data folder under the program's name.
  const std::string program_file = options.program_file.empty()
                                       ? QCoreApplication::applicationFilePath().toStdString()
                                       : options.program_file;
  identity_ = BuiltInIdentity(program_file);
  saves_ = std::make_unique<SavedGames>(gs_, SavedGamesFilePath(identity_.ExeBaseName));
  keeper_ = std::make_unique<RunningGameWriter>(saves_->FilePath());
  // A refused write is told once, as the close tells it; play goes on, and the next good write
  // catches up.
  keeper_->SetFailureHandler([this] { ShowSaveFailure(platform_, this, *saves_); });

  // 3. No input until start-up has finished.
  start_up_timer_ = platform_.CreateTimer(250, true, [this] { FinishStartUp(); });
  BuildMenu();
  EnableGameCommands(false);

  // 4. The game's identity: the built-in values came with step 2.
  // 5. The settings file beside the program may change the title and the asset prefix.
  if (QFileInfo::exists(QString::fromStdString(SettingsFilePath(identity_)))) {
    ReadSettings(identity_);
  }

  // 6. Caption, the manual's menu item and the help file.
  setWindowTitle(QString::fromStdString(identity_.GameTitle));
  menu_.manual->setText(WithAccessKey(QString::fromStdString(identity_.GameTitle) + " Manual"));
  help_.SetHelpFile(QString::fromStdString(HelpFilePath(identity_)));
  SetHelpContext(this, kMainWindowHelp);
  help_key_ = std::make_unique<HelpKey>(help_);

  // 7-10. The art carried with the program, replaced by files beside it where present, laid
  // out for the game area the window will have: the layout width, the symbol art for it and the
  // reel geometry.
  // On a screen of 150 % or 200 % the cabinet is drawn in device pixels, that many times as many
  // each way.
  const double ratio = std::max(1.0, devicePixelRatioF());
  view_ = new CabinetView(
      std::make_unique<Cabinet>(gs_, identity_.AppDir, identity_.SoundRoot, platform_.ScreenWidth(),
                                platform_.ScreenHeight(), ExpectedGameAreaHeight(), ratio,
                                KeptArt{options.kept_art_dir, program_file}, options.surface),
      static_cast<CabinetView::Host&>(*this), this);
  Cabinet& cabinet = view_->Settled();
  // The win cycle's timer comes before the play's: at a shared instant the presentation ticks
  // first, as it always has.
  win_cycle_ = std::make_unique<WinCycle>(gs_, cabinet.Screen(), cabinet.Status(), platform_);
  play_ = std::make_unique<PlaySequence>(machine_, cabinet.Layout(), cabinet.Screen(),
                                         cabinet.Status(), *win_cycle_, sounds_, platform_,
                                         static_cast<PlayHost&>(*this));

  // 11. The reel strips came with the machine (step 1).

  // 12. The sounds wait for the first picture (below).

  // 13. Window size: the screen less 10 pixels each way.
  setCentralWidget(view_);
  // No style sheet here: it would reach every window this one opens and override their own fonts
  // and colours. The game area paints the black beside the cabinet itself.
  resize(platform_.ScreenWidth() - 10, platform_.ScreenHeight() - 10);
  move(0, 0);

  // 14. The bet defaults came with the machine (step 1); the starting credits come with the
  // running game.

  // 15. The music tracks wait for the first picture (below).

  // 16. The running game of the last run, or a new one (reading never fails).
  (void)saves_->SaveLoadGame(kRunningGameSlot, false);
  // A close that changed nothing then writes nothing: another copy of the game may have played
  // on with the same file since.
  if (saves_->SlotIsSaved(kRunningGameSlot)) keeper_->ReadFromFile(gs_);

  // 17. Centre the window on the screen.
  const int screen_w = platform_.ScreenWidth();
  const int screen_h = platform_.ScreenHeight();
  move((screen_w - width()) / 2, (screen_h - height()) / 2);

  // 18. At a small-font resolution the window fills the screen; otherwise its size is fixed.
  if (platform_.LogicalDpi() < 100) {
    setWindowState(Qt::WindowMaximized);
  } else {
    setFixedSize(size());
  }

  // 19. The sounds and the music, once the window is on the screen with the game of the last
  // run: none of it is needed for the first picture.
  sounds_start_ = std::make_unique<AfterFirstPaint>([this] { StartSounds(); });
}

void MainWindow::StartSounds() {
  if (sounds_started_) return;
  sounds_started_ = true;
  // The audio device is opened (off this thread) and the reel-stop and count sounds read into
  // memory, and the music tracks beside the program are found (Sound and Music are on at every
  // start). The start-up timer's tick, which plays the start-up sound and queues the first track,
  // comes well after; a sound not ready by then waits for the device, never the window.
  sounds_.LoadSounds(identity_);
  sounds_.FindMusicTracks();
}

void MainWindow::FinishStartUp() {
  Cabinet& cabinet = view_->Settled();
  start_up_timer_->SetEnabled(false);
  // The window has its size by now: the decoded pictures its layouts shared are let go of.
  cabinet.ReleaseDecodedPictures();
  // The art as laid out for the window's size is kept for the next start (on another thread).
  cabinet.KeepLaidOutArt();
  // A window not yet on the screen (started on another desktop) has its sounds all the same.
  StartSounds();
  sounds_.QueueFirstTrack();
  sounds_.PlayStartSound();
  EnableGameCommands(true);
}

namespace {
// Input waits for the end of start-up (the start-up timer) and is ignored while play runs.
bool AcceptsInput(const Timer& start_up, const PlaySequence& play) {
  return !start_up.Enabled() && !play.Running();
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
  start_up_timer_->SetEnabled(false);
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

int MainWindow::ExpectedGameAreaHeight() {
  const int menu_bar = menuBar()->sizeHint().height();
  // Only a desktop with a window manager maximises the window (step 18); on a bare X server it
  // keeps its own size, and a layout for the maximised size would be made in vain.
  if (platform_.LogicalDpi() < 100 && WindowsGetMaximised()) {
    // Maximised: the screen's free area (without the desktop's panels) less the window's frame,
    // which the platform knows once the window exists (a window manager may tell it only later).
    create();
    const QScreen* on = screen();
    const int free_height =
        on != nullptr ? on->availableGeometry().height() : platform_.ScreenHeight();
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return free_height - frame.top() - frame.bottom() - menu_bar;
  }
  // The window's own size, the screen less 10, holds the menu bar and the game area.
  return platform_.ScreenHeight() - 10 - menu_bar;
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
  if (!AcceptsInput(*start_up_timer_, *play_)) return;
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
