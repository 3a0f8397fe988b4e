// MainWindow: start-up, the window's life cycle, the menu and the routing of input.
#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>

#include "engine/reels.h"
#include "screen/layout_width.h"
#include "screen/scale.h"
#include "shell/help_topics.h"
#include "shell/saved_games_dialog.h"
#include "shell/settings.h"
#include "shell/web_page.h"

GameSurface::GameSurface(MainWindow& window) : QWidget(&window), window_(window) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
}

void GameSurface::paintEvent(QPaintEvent* event) {
  // The cabinet, with black margins beside it and below it.
  QPainter painter(this);
  const QImage& image = window_.canvas_.Image();
  const QRect area = event->rect();
  painter.fillRect(area, Qt::black);
  const QPoint offset(window_.cabinet_left_, 0);
  const QRect source = area.translated(-offset).intersected(image.rect());
  if (!source.isEmpty()) painter.drawImage(source.topLeft() + offset, image, source);
}

void GameSurface::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  window_.SurfaceResized(event->size().width(), event->size().height());
}

void GameSurface::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  window_.ClickAt(p.x(), p.y());
}

void GameSurface::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      window_.PressKey(GameKey::kEnter);
      break;
    case Qt::Key_Space:
      window_.PressKey(GameKey::kSpace);
      break;
    case Qt::Key_M:
      window_.PressKey(GameKey::kM);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

MainWindow::MainWindow(GameState& state, Platform& platform, GameSounds& sounds, HelpViewer& help,
                       WebBrowser& web, const StartOptions& options)
    : gs_(state), platform_(platform), sounds_(sounds), help_(help), web_(web) {
  SetUpGame(options);
}

MainWindow::~MainWindow() {
  // The music stops with the window.
  sounds_.CloseMusic();
  // Timers must not call back into a half-destroyed window.
  start_up_timer_.reset();
  win_cycle_timer_.reset();
  bonus_delay_timer_.reset();
  canvas_.on_changed = nullptr;
}

void MainWindow::SetUpGame(const StartOptions& options) {
  // 1. The random sequence.
  if (options.seed) {
    gs_.Random.SetSeed(*options.seed);
  } else {
    gs_.Random.SeedFromClock();
  }

  // 2. Where the program lives: art, sounds and help are looked up beside the real file; the
  // saved games are kept in the player's data folder under the program's name.
  identity_ = BuiltInIdentity(options.program_file.empty()
                                  ? QCoreApplication::applicationFilePath().toStdString()
                                  : options.program_file);
  saves_ = std::make_unique<SavedGames>(gs_, SavedGamesFilePath(identity_.ExeBaseName));

  // 3. No input until start-up has finished.
  start_up_timer_ = platform_.CreateTimer(250, true, [this] { FinishStartUp(); });
  win_cycle_timer_ = platform_.CreateTimer(300, false, [this] { AdvanceWinCycle(); });
  bonus_delay_timer_ = platform_.CreateTimer(2000, false, [this] { StartBonusGame(); });
  BuildMenu();
  SetBusy(true);

  // 4. The game's identity: the built-in values came with step 2.
  // 5. The settings file beside the program may change the title and the asset prefix.
  if (QFileInfo::exists(QString::fromStdString(SettingsFilePath(identity_)))) {
    ReadSettings(identity_);
  }

  // 6. Caption, the manual's menu item and the help file.
  setWindowTitle(QString::fromStdString(identity_.GameTitle));
  manual_->setText(WithAccessKey(QString::fromStdString(identity_.GameTitle) + " Manual"));
  help_.SetHelpFile(QString::fromStdString(HelpFilePath(identity_)));
  SetHelpContext(this, kMainWindowHelp);
  help_key_ = std::make_unique<HelpKey>(help_);

  // 7. Screen size; drawing scales to the layout width, set below.
  SetLayoutWidthSource([this] { return layout_.LayoutWidth; });
  layout_.ScreenWidth = platform_.ScreenWidth();
  layout_.ScreenHeight = platform_.ScreenHeight();

  // 8. The art carried with the program, replaced by files beside it where present.
  QString error;
  if (!LoadBuiltInArt(art_, &error)) art_problems_.push_back(error.toStdString());
  ReplaceArtFromFiles(art_, identity_.AppDir, identity_.SoundRoot, &art_problems_);
  PrepareWorkingBitmaps(art_);

  // 9. Fresh results.
  gs_.LineWon.fill(false);

  // 10. The layout width for the game area the window will have, the symbol art for it and the
  // reel geometry.
  sheet_for_layout_ = art_.symbol_sheet_picture;
  LayOutCabinet(ExpectedGameAreaHeight());

  // 11. Reel strips and the start stops.
  BuildReelStrips(gs_);

  // 12. The reel-stop and count sounds, read into memory.
  sounds_.LoadSounds(identity_);

  // 13. Window size: the screen less 10 pixels each way.
  surface_ = new GameSurface(*this);
  setCentralWidget(surface_);
  // No style sheet here: it would reach every window this one opens and override their own fonts
  // and colours. The game area paints the black beside the cabinet itself.
  screen_ = std::make_unique<MainScreen>(gs_, layout_, art_, canvas_);
  canvas_.on_changed = [this](const QRect& r) {
    if (surface_) surface_->update(r.translated(cabinet_left_, 0));
  };
  resize(layout_.ScreenWidth - 10, layout_.ScreenHeight - 10);
  move(0, 0);

  // 14. Bet defaults and the starting credits.
  gs_.Bet = 0;
  gs_.LastBet = 0;
  gs_.LinesBet = 9;
  gs_.CreditsPerLine = 1;
  gs_.LinesButton = 5;
  gs_.CreditsButton = 6;

  // 15. The music tracks beside the program (Sound and Music are on at every start).
  sounds_.FindMusicTracks();

  // 16. The running game of the last run, or a new one (reading never fails).
  (void)saves_->SaveLoadGame(kRunningGameSlot, false);

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
}

void MainWindow::FinishStartUp() {
  start_up_timer_->SetEnabled(false);
  sounds_.QueueFirstTrack();
  sounds_.PlayStartSound();
  SetBusy(false);
}

void MainWindow::NewGame() {
  StartNewGame(gs_);
  SetBusy(false);
  PaintAll();
}

void MainWindow::SetBusy(bool busy) {
  gs_.Busy = busy;
  // A new spin must never start inside a running one, and the money must not be reset under a
  // spin or a count-up that is still moving credits.
  // Nor may a saved game be swapped in under it, a half-played one saved, or credits borrowed.
  for (QAction* action : {new_game_, open_game_, save_game_, borrow_}) {
    if (action) action->setEnabled(!busy);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  gs_.Quitting = true;
  if (running_loops_ > 0) {
    // A spin, a count-up or a bonus payout is still on the stack. With Quitting set it finishes
    // at once and puts every credit won into Credits; the window closes right after.
    close_pending_ = true;
    event->ignore();
    return;
  }
  closed_ = true;
  // The running game is kept for the next start. A file that can't be written is reported, and
  // the program still ends: keeping the player in a game that can't be saved helps nobody.
  if (!saves_->SaveLoadGame(kRunningGameSlot, true, kRunningGameName)) {
    ShowSaveFailure(platform_, this, *saves_);
  }
  start_up_timer_->SetEnabled(false);
  win_cycle_timer_->SetEnabled(false);
  bonus_delay_timer_->SetEnabled(false);
  help_.Close();
  event->accept();
}

void MainWindow::FinishDeferredSteps() {
  if (running_loops_ > 0) return;
  if (relayout_pending_ && !closed_) {
    relayout_pending_ = false;
    LayOutCabinet(surface_size_.height());
    cabinet_left_ = CabinetLeft(surface_size_.width(), layout_.LayoutWidth);
    PaintAll();
  }
  if (close_pending_ && !closed_) {
    close_pending_ = false;
    close();
  }
}

int MainWindow::ExpectedGameAreaHeight() {
  const int menu_bar = menuBar()->sizeHint().height();
  if (platform_.LogicalDpi() < 100) {
    // Maximised: the screen's free area (without the desktop's panels) less the window's frame,
    // which the platform knows once the window exists (a window manager may tell it only later).
    create();
    const QScreen* on = screen();
    const int free_height = on != nullptr ? on->availableGeometry().height() : layout_.ScreenHeight;
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return free_height - frame.top() - frame.bottom() - menu_bar;
  }
  // The window's own size, the screen less 10, holds the menu bar and the game area.
  return layout_.ScreenHeight - 10 - menu_bar;
}

void MainWindow::LayOutCabinet(int game_area_height) {
  layout_.LayoutWidth = LayoutWidth(layout_.ScreenWidth, game_area_height);
  // A per-width sheet loaded for an earlier layout must not be taken for the carried one.
  art_.symbol_sheet_picture = sheet_for_layout_;
  LoadArtForResolution(art_, layout_, identity_.AppDir, identity_.SoundRoot);
  // Nothing is drawn outside the cabinet: the surface is the cabinet.
  canvas_.Resize(Scale(kDesignWidth), Scale(layout::kDesignHeight));
}

void MainWindow::SurfaceResized(int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (surface_size_ == QSize(width, height)) return;
  surface_size_ = QSize(width, height);
  // The real game area (after the window manager, its panels and the menu bar) may fit another
  // layout than the one expected; the art is prepared again only then, and never under a spin.
  if (LayoutWidth(layout_.ScreenWidth, height) != layout_.LayoutWidth) {
    if (running_loops_ > 0) {
      relayout_pending_ = true;
    } else {
      LayOutCabinet(height);
    }
  }
  cabinet_left_ = CabinetLeft(width, layout_.LayoutWidth);
  PaintAll();
}

void MainWindow::PaintAll() {
  if (canvas_.Width() == 0) return;
  // While the reels turn the spin's result is already known but not yet shown.
  screen_->PaintAll(!reels_turning_);
  if (surface_) surface_->update();
}

namespace {
// A mouse area's bounds are all inside it, at the current scale.
bool Inside(const layout::HitArea& area, int x, int y) {
  return x >= Scale(area.left) && x <= Scale(area.right) && y >= Scale(area.top) &&
         y <= Scale(area.bottom);
}
}  // namespace

void MainWindow::ClickAt(int x, int y) {
  if (gs_.Busy) return;
  x -= cabinet_left_;  // the mouse areas are laid out on the cabinet
  if (Inside(layout::kMaxBetHitArea, x, y)) {
    MaxBet();
    return;
  }
  if (Inside(layout::kSpinHitArea, x, y)) {
    RequestSpin();
    return;
  }
  for (int k = 1; k <= layout::kBetKeys; ++k) {
    if (Inside(layout::BetKeyHitArea(k), x, y)) {
      SelectBet(k);
      return;
    }
  }
  // The logo, at its own pixel size centred over the cabinet's first columns, is the door to the
  // maker's games page.
  const QRect logo((Scale(layout::kLogoAreaWidth) - art_.logo.width()) / 2, Scale(layout::kLogoTop),
                   art_.logo.width(), art_.logo.height());
  if (x >= logo.left() && x <= logo.left() + logo.width() && y >= logo.top() &&
      y <= logo.top() + logo.height()) {
    OpenGamesPage();
  }
}

void MainWindow::PressKey(GameKey key) {
  if (gs_.Busy) return;
  switch (key) {
    case GameKey::kEnter:
    case GameKey::kSpace:
      RequestSpin();
      break;
    case GameKey::kM:
      MaxBet();
      break;
  }
}
