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

#include "engine/reels.h"
#include "screen/scale.h"

GameSurface::GameSurface(MainWindow& window) : QWidget(&window), window_(window) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
}

void GameSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QImage& image = window_.canvas_.Image();
  const QRect area = event->rect();
  painter.fillRect(area, Qt::black);
  painter.drawImage(area.topLeft(), image, area);
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

MainWindow::MainWindow(GameState& state, Platform& platform, GameSounds& sounds,
                       const StartOptions& options)
    : gs_(state), platform_(platform), sounds_(sounds) {
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

void MainWindow::BuildMenu() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  new_game_ = file->addAction(QStringLiteral("&New Game"));
  connect(new_game_, &QAction::triggered, this, [this] { NewGame(); });
  file->addSeparator();
  exit_ = file->addAction(QStringLiteral("E&xit"));
  connect(exit_, &QAction::triggered, this, [this] {
    gs_.Quitting = true;
    close();
  });

  // Sound and Music are switched on at every start; the check marks follow the switches.
  QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
  sound_ = options->addAction(QStringLiteral("Sound"));
  music_ = options->addAction(QStringLiteral("Music"));
  for (QAction* item : {sound_, music_}) {
    item->setCheckable(true);
    item->setChecked(true);
  }
  connect(sound_, &QAction::triggered, this, [this] {
    sounds_.SwitchSound();
    sound_->setChecked(sounds_.SoundOn());
  });
  connect(music_, &QAction::triggered, this, [this] {
    sounds_.SwitchMusic();
    music_->setChecked(sounds_.MusicOn());
  });
}

void MainWindow::SetUpGame(const StartOptions& options) {
  // 1. The random sequence.
  if (options.seed) {
    gs_.Random.SetSeed(*options.seed);
  } else {
    gs_.Random.SeedFromClock();
  }

  // 2. Where the program lives: art, sounds and help are looked up beside the real file.
  QString program = options.program_file.empty() ? QCoreApplication::applicationFilePath()
                                                 : QString::fromStdString(options.program_file);
  QFileInfo info(program);
  const QString real =
      info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
  QFileInfo real_info(real);
  QString dir = real_info.absolutePath();
  if (!dir.endsWith('/')) dir += '/';
  identity_.AppDir = dir.toStdString();
  identity_.ExeBaseName = real_info.completeBaseName().toStdString();

  // 3. No input until start-up has finished.
  start_up_timer_ = platform_.CreateTimer(250, true, [this] { FinishStartUp(); });
  win_cycle_timer_ = platform_.CreateTimer(300, false, [this] { AdvanceWinCycle(); });
  bonus_delay_timer_ = platform_.CreateTimer(2000, false, [this] { StartBonusGame(); });
  BuildMenu();
  SetBusy(true);

  // 4. The game's identity.
  identity_.GameTitle = "Zelmar Slots";
  identity_.VersionText = "1.1";
  identity_.SoundRoot = "Zelmar";

  // 6. Caption.
  setWindowTitle(QString::fromStdString(identity_.GameTitle));

  // 7. Screen size; drawing scales to the screen's current width.
  SetScreenWidthSource([this] { return platform_.ScreenWidth(); });
  gs_.ScreenWidth = platform_.ScreenWidth();
  gs_.ScreenHeight = platform_.ScreenHeight();

  // 8. The art carried with the program, replaced by files beside it where present.
  QString error;
  if (!LoadBuiltInArt(art_, &error)) art_problems_.push_back(error.toStdString());
  ReplaceArtFromFiles(art_, identity_.AppDir, identity_.SoundRoot, &art_problems_);
  PrepareWorkingBitmaps(art_);

  // 9. Fresh results and the wild animation's start.
  gs_.LineWon.fill(false);
  gs_.WildFrame = 4;
  gs_.WildFrameStep = 1;
  gs_.ReelsLeft = 0;
  gs_.ReelsTop = 0;
  gs_.SpinCount = 0;

  // 10. Symbol art for this screen width and the reel geometry.
  LoadArtForResolution(art_, gs_, identity_.AppDir, identity_.SoundRoot);

  // 11. Reel strips and the start stops.
  BuildReelStrips(gs_);

  // 12. The reel-stop and count sounds, read into memory.
  sounds_.LoadSounds(identity_);

  // 13. Window size: the screen less 10 pixels each way.
  surface_ = new GameSurface(*this);
  setCentralWidget(surface_);
  setStyleSheet(QStringLiteral("QMainWindow { background: black; }"));
  screen_ = std::make_unique<MainScreen>(gs_, art_, canvas_);
  canvas_.on_changed = [this](const QRect& r) {
    if (surface_) surface_->update(r);
  };
  resize(gs_.ScreenWidth - 10, gs_.ScreenHeight - 10);
  move(0, 0);

  // 14. Bet defaults and the starting credits.
  gs_.Bet = 0;
  gs_.LastBet = 0;
  gs_.Credits = 1000;
  gs_.LinesBet = 9;
  gs_.CreditsPerLine = 1;
  gs_.LinesButton = 5;
  gs_.CreditsButton = 6;

  // 15. The music tracks beside the program (Sound and Music are on at every start).
  sounds_.FindMusicTracks();

  // 16. The money and statistics of a new game (the 1000 starting credits count as borrowed).
  gs_.Borrowed = 1000;
  gs_.TotalBet = 0;
  gs_.BonusPayoffs = 0;

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
  gs_.TotalBet = 0;
  gs_.Credits = 1000;
  gs_.Borrowed = 1000;
  gs_.SpinCount = 0;
  gs_.BonusPayoffs = 0;
  SetBusy(false);
  PaintAll();
}

void MainWindow::SetBusy(bool busy) {
  gs_.Busy = busy;
  // A new spin must never start inside a running one, and the money must not be reset under a
  // spin or a count-up that is still moving credits.
  if (new_game_) new_game_->setEnabled(!busy);
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
  start_up_timer_->SetEnabled(false);
  win_cycle_timer_->SetEnabled(false);
  bonus_delay_timer_->SetEnabled(false);
  event->accept();
}

void MainWindow::FinishDeferredClose() {
  if (running_loops_ == 0 && close_pending_ && !closed_) {
    close_pending_ = false;
    close();
  }
}

void MainWindow::SurfaceResized(int width, int height) {
  if (width <= 0 || height <= 0) return;
  if (canvas_.Width() == width && canvas_.Height() == height) return;
  canvas_.Resize(width, height);
  PaintAll();
}

void MainWindow::PaintAll() {
  if (canvas_.Width() == 0) return;
  screen_->PaintAll();
  if (surface_) surface_->update();
}

// Mouse areas on the design grid, both bounds inclusive, tried in this order.
namespace {
struct MouseArea {
  int x0, x1, y0, y1;
  int action;  // 0 max bet, 1 spin, 2..11 bet buttons 1..10
};
constexpr MouseArea kMouseAreas[] = {
    {542, 600, 485, 528, 0}, {606, 666, 485, 528, 1},  {167, 218, 487, 497, 2},
    {227, 278, 487, 497, 3}, {287, 338, 487, 497, 4},  {347, 398, 487, 497, 5},
    {407, 458, 487, 497, 6}, {193, 244, 503, 513, 7},  {254, 305, 503, 513, 8},
    {315, 366, 503, 513, 9}, {376, 427, 503, 513, 10}, {437, 488, 503, 513, 11},
};
}  // namespace

void MainWindow::ClickAt(int x, int y) {
  if (gs_.Busy) return;
  for (const MouseArea& area : kMouseAreas) {
    if (x < Scale(area.x0) || x > Scale(area.x1) || y < Scale(area.y0) || y > Scale(area.y1)) {
      continue;
    }
    if (area.action == 0) {
      MaxBet();
    } else if (area.action == 1) {
      RequestSpin();
    } else {
      SelectBet(area.action - 1);
    }
    return;
  }
  // The logo is the door to the maker's games page; the web command is not part of this build,
  // so a click there does nothing.
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
