// MainWindow: start-up, the window's life cycle and the routing of input.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>

#include "engine/reels.h"
#include "platform/window_manager.h"
#include "screen/layout_width.h"
#include "screen/scale.h"
#include "shell/help_topics.h"
#include "shell/saved_games_dialog.h"
#include "shell/settings.h"
#include "shell/web_page.h"
#include "windows/bonus_game.h"

GameSurface::GameSurface(MainWindow& window) : QWidget(&window), window_(window) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
}

void GameSurface::paintEvent(QPaintEvent* event) {
  // Only what changed is drawn: each rectangle of the region the canvas reported, copied 1:1
  // from the cabinet's surface (device pixels), and black only where a rectangle lies beside or
  // below the cabinet. (The region's bounding box would repaint everything between two turning
  // reels.)
  const bool first = !window_.first_paint_done_;
  if (first) {
    // This paint shows all of the cabinet.
    window_.first_paint_done_ = true;
    const QRegion rest = QRegion(rect()).subtracted(event->region());
    if (!rest.isEmpty()) update(rest);
  }
  QPainter painter(this);
  const double ratio = window_.cabinet_->layout.scale.ratio;
  const QPoint offset(window_.cabinet_->layout.scale.offset, 0);
  const QRect cabinet(offset, window_.cabinet_->SurfaceSize());
  // The device pixels an area of the widget covers; at a fractional ratio its edges may lie
  // between them, and the pixels partly covered count.
  const auto device = [ratio](const QRect& area) {
    return QRectF(QPointF(area.topLeft()) * ratio, QSizeF(area.size()) * ratio).toAlignedRect();
  };
  // Clipped to one rectangle at a time, a copy is a plain row-by-row blit; under the region's
  // many rectangles it would go through span blending handed out to a thread pool.
  for (const QRect& area : event->region()) {
    const QRect shown = device(area).intersected(cabinet);
    if (shown == device(area)) continue;
    painter.setClipRect(area);
    for (const QRect& margin : QRegion(device(area)).subtracted(QRegion(shown))) {
      painter.fillRect(QRectF(QPointF(margin.topLeft()) / ratio, QSizeF(margin.size()) / ratio),
                       Qt::black);
    }
  }
  // The first picture may still be being drawn ahead: the black above came meanwhile.
  if (first) window_.DrawFirstPicture();
  const Canvas& canvas = window_.cabinet_->canvas;
  for (const QRect& area : event->region()) {
    const QRect shown = device(area).intersected(cabinet);
    if (shown.isEmpty()) continue;
    painter.setClipRect(area);
    // A turning reel is painted from its strip, the rest from the surface.
    canvas.ForEachShownPart(
        shown.translated(-offset), [&](const QRect& part, const QImage& from, const QPoint& at) {
          const QRect source(at, part.size());
          if (ratio == 1) {
            painter.drawImage(part.topLeft() + offset, from, source);
          } else {
            painter.drawImage(
                QRectF(QPointF(part.topLeft() + offset) / ratio, QSizeF(part.size()) / ratio), from,
                QRectF(source));
          }
        });
  }
}

void GameSurface::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  window_.SurfaceResized(event->size().width(), event->size().height());
}

void GameSurface::mousePressEvent(QMouseEvent* event) {
  const ScreenScale& scale = window_.cabinet_->layout.scale;
  window_.ClickAt(scale.ToDevice(event->position().x()), scale.ToDevice(event->position().y()));
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
    : gs_(state), machine_(state), platform_(platform), sounds_(sounds), help_(help), web_(web) {
  SetUpGame(options);
}

MainWindow::~MainWindow() {
  AwaitCabinetDrawnAhead();
  // The music stops with the window.
  sounds_.CloseMusic();
  // Nothing may call back into a half-destroyed window.
  start_up_timer_.reset();
  play_.reset();
  win_cycle_.reset();
  cabinet_->canvas.on_changed = nullptr;
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
  cabinet_ =
      std::make_unique<Cabinet>(gs_, identity_.AppDir, identity_.SoundRoot, platform_.ScreenWidth(),
                                platform_.ScreenHeight(), ExpectedGameAreaHeight(), ratio,
                                KeptArt{options.kept_art_dir, program_file}, options.surface);
  ReportArtProblems();
  cabinet_->canvas.on_changed = [this](const QRect& r) {
    if (surface_ == nullptr) return;
    const ScreenScale& scale = cabinet_->layout.scale;
    const QRect device = r.translated(scale.offset, 0);
    if (scale.ratio == 1) {
      surface_->update(device);
    } else {
      surface_->update(
          QRectF(QPointF(device.topLeft()) / scale.ratio, QSizeF(device.size()) / scale.ratio)
              .toAlignedRect());
    }
  };
  // The win cycle's timer comes before the play's: at a shared instant the presentation ticks
  // first, as it always has.
  win_cycle_ = std::make_unique<WinCycle>(gs_, cabinet_->screen, cabinet_->status, platform_);
  play_ = std::make_unique<PlaySequence>(machine_, cabinet_->layout, cabinet_->screen,
                                         cabinet_->status, *win_cycle_, sounds_, platform_,
                                         static_cast<PlayHost&>(*this));

  // 11. The reel strips came with the machine (step 1).

  // 12. The sounds wait for the first picture (below).

  // 13. Window size: the screen less 10 pixels each way.
  surface_ = new GameSurface(*this);
  setCentralWidget(surface_);
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
  AwaitCabinetDrawnAhead();
  start_up_timer_->SetEnabled(false);
  // The window has its size by now: the decoded pictures its layouts shared are let go of.
  cabinet_->art.decoded->Clear();
  // The art as laid out for the window's size is kept for the next start (on another thread).
  cabinet_->KeepLaidOutArt();
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
  AwaitCabinetDrawnAhead();
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
  FitCabinet();
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
  const ScreenLayout& layout = cabinet_->layout;
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

void MainWindow::SurfaceResized(int width, int height) {
  if (width <= 0 || height <= 0) return;
  // The real game area (after the window manager, its panels and the menu bar) may fit another
  // layout than the one expected; the art is prepared again only then, and never under a spin:
  // a running spin's cabinet is laid out anew once its reels have stopped.
  ScreenScale& scale = cabinet_->layout.scale;
  if (!play_->Running() &&
      LayoutWidth(cabinet_->layout.ScreenWidth, height) != scale.layout_width) {
    DiscardCabinetDrawnAhead();
    cabinet_->LayOut(height);
    ReportArtProblems();
  }
  scale.offset = CabinetLeft(scale.Px(width), scale.DeviceWidth());
  if (first_paint_done_) {
    PaintAll();
  } else if (surface_ != nullptr) {
    surface_->update();  // the first paint shows the whole cabinet
  }
}

void MainWindow::FitCabinet() {
  const QSize area = surface_ != nullptr ? surface_->size() : QSize();
  if (area.isEmpty()) return;
  ScreenScale& scale = cabinet_->layout.scale;
  if (LayoutWidth(cabinet_->layout.ScreenWidth, area.height()) == scale.layout_width) return;
  DiscardCabinetDrawnAhead();
  cabinet_->LayOut(area.height());
  ReportArtProblems();
  scale.offset = CabinetLeft(scale.Px(area.width()), scale.DeviceWidth());
  PaintAll();
}

void MainWindow::ReportArtProblems() {
  // A replacement picture that could not be used is skipped without a message box; the program's
  // error output (a terminal, the desktop's journal) says which one and why.
  for (const std::string& problem : cabinet_->art_problems) qWarning("%s", problem.c_str());
  cabinet_->art_problems.clear();
}

void MainWindow::DrawCabinetAhead() {
  if (first_paint_done_ || drawing_ahead_.valid() || cabinet_->SurfaceSize().isEmpty()) return;
  // The surface's change notices ask for repaints, which only this thread may do; the first
  // paint shows the whole cabinet in any case.
  changes_held_ = std::exchange(cabinet_->canvas.on_changed, nullptr);
  drawing_ahead_ = std::async(std::launch::async,
                              [&screen = cabinet_->screen, show_last_win = !play_->ReelsTurning()] {
                                screen.PaintAll(show_last_win);
                              });
  drawn_ahead_ = true;
}

void MainWindow::AwaitCabinetDrawnAhead() {
  if (!drawing_ahead_.valid()) return;
  drawing_ahead_.get();
  cabinet_->canvas.on_changed = std::move(changes_held_);
  changes_held_ = nullptr;
}

void MainWindow::DiscardCabinetDrawnAhead() {
  AwaitCabinetDrawnAhead();
  drawn_ahead_ = false;
}

void MainWindow::DrawFirstPicture() {
  AwaitCabinetDrawnAhead();
  if (std::exchange(drawn_ahead_, false) || cabinet_->canvas.Width() == 0) return;
  Canvas& surface = cabinet_->canvas;
  const std::function<void(const QRect&)> changed = std::exchange(surface.on_changed, nullptr);
  cabinet_->screen.PaintAll(!play_->ReelsTurning());
  surface.on_changed = changed;
}

void MainWindow::PaintAll() {
  if (!first_paint_done_) {
    // Until the window's first paint the cabinet is drawn there, once: the window is mapped
    // without waiting for it. A picture drawn ahead may no longer be the game's.
    DiscardCabinetDrawnAhead();
    if (surface_) surface_->update();
    return;
  }
  if (cabinet_->canvas.Width() == 0) return;
  // While the reels turn the spin's result is already known but not yet shown.
  cabinet_->screen.PaintAll(!play_->ReelsTurning());
  if (surface_) surface_->update();
}

void MainWindow::ClickAt(int x, int y) {
  if (!AcceptsInput(*start_up_timer_, *play_)) return;
  const ScreenScale& scale = cabinet_->layout.scale;
  x -= scale.offset;  // the mouse areas are laid out on the cabinet
  if (layout::Hits(scale, layout::kMaxBetHitArea, x, y)) {
    play_->MaxBet();
    return;
  }
  if (layout::Hits(scale, layout::kSpinHitArea, x, y)) {
    play_->RequestSpin();
    return;
  }
  for (int k = 1; k <= layout::kBetKeys; ++k) {
    if (layout::Hits(scale, layout::BetKeyHitArea(k), x, y)) {
      play_->SelectBet(NumberedButton(k));
      return;
    }
  }
  // The logo, at its own pixel size centred over the cabinet's first columns, is the door to the
  // maker's games page.
  const QRect logo = cabinet_->screen.LogoPlace();
  if (x >= logo.left() && x <= logo.left() + logo.width() && y >= logo.top() &&
      y <= logo.top() + logo.height()) {
    OpenGamesPage();
  }
}

void MainWindow::PressKey(GameKey key) {
  if (!AcceptsInput(*start_up_timer_, *play_)) return;
  switch (key) {
    case GameKey::kEnter:
    case GameKey::kSpace:
      play_->RequestSpin();
      break;
    case GameKey::kM:
      play_->MaxBet();
      break;
  }
}
