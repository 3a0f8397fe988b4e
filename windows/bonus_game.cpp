#include "windows/bonus_game.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QStringLiteral>
#include <algorithm>
#include <utility>
#include <vector>

#include "engine/slot_machine.h"
#include "platform/jpeg.h"
#include "platform/platform.h"
#include "screen/fonts.h"
#include "shell/identity.h"
#include "shell/sounds.h"

namespace {

// Which STOP sign is lit. Deliberately outside any one window: the blinking goes on from where
// the previous bonus game left it.
bool stop_blink_phase_value = false;

constexpr int kWalkInterval = 100;
constexpr int kCloseInterval = 3000;
constexpr int kCollectCloseInterval = 1500;
constexpr int kBombInterval = 250;
constexpr int kBombFastInterval = 200;
constexpr int kBlinkInterval = 250;
constexpr int kBombFastFrame = 4;
constexpr int kExplosionSoundFrame = 1;
constexpr int kLastExplodeFrame = 12;

// Sizes of the pictures as drawn; substitutes are made at these sizes.
constexpr int kFrame = 110;
constexpr int kStopWidth = 71;
constexpr int kStopLeftHeight = 54;
constexpr int kStopRightHeight = 53;
constexpr QPoint kStopLeftAt(17, 134);
constexpr QPoint kStopRightAt(554, 134);

// STOP hit areas, both bounds inclusive.
constexpr QRect kStopLeftArea(QPoint(17, 134), QPoint(86, 186));
constexpr QRect kStopRightArea(QPoint(554, 134), QPoint(622, 186));

const QString kPrizeFace = QString::fromLatin1(kUiFace);
constexpr int kPrizePoints = 24;

// The plain substitutes' lettering and shades, in one place; white, black, red and yellow are
// the cabinet's own (screen/fonts.h).
using colours::kBlack;
using colours::kRed;
using colours::kWhite;
using colours::kYellow;
constexpr const char* kPlainFace = kCoinFace;
constexpr QRgb kStopRim[2] = {qRgb(96, 0, 0), qRgb(230, 0, 0)};  // unlit, lit
constexpr QRgb kStopFace[2] = {qRgb(70, 0, 0), qRgb(200, 0, 0)};
constexpr QRgb kStopLetters[2] = {qRgb(150, 150, 150), kWhite};
constexpr QRgb kBallColours[8] = {qRgb(220, 40, 40),  qRgb(40, 120, 220), qRgb(40, 170, 60),
                                  qRgb(230, 150, 20), qRgb(150, 60, 190), qRgb(20, 170, 170),
                                  qRgb(200, 60, 140), qRgb(120, 120, 120)};
constexpr QRgb kSky = qRgb(10, 20, 70);
constexpr QRgb kPitch = qRgb(20, 110, 40);
// The fireball's outer and inner shades, darker as it fades.
constexpr QRgb FireOuter(int fade) {
  return qRgb(255 - fade, 140 - fade / 2, 0);
}
constexpr QRgb FireInner(int fade) {
  return qRgb(255 - fade, 230 - fade, 60);
}

void FillBlock(Canvas& c, int l, int t, int r, int b, QRgb colour) {
  c.SetPenColor(colour);
  c.SetBrushColor(colour);
  c.SetBrushClear(false);
  c.FillRect(l, t, r, b);
}

void CentredText(Canvas& c, int l, int t, int w, int h, const QString& text, const QString& face,
                 int points, QRgb colour) {
  c.SetFontFace(face);
  c.SetFontSize(points);
  c.SetFontBold(true);
  c.SetFontColor(colour);
  c.SetBrushClear(true);
  c.TextOut(l + (w - c.TextWidth(text)) / 2, t + (h - c.TextHeight(text)) / 2, text);
  c.SetBrushClear(false);
}

// Draws a picture at its natural size with its top-left corner at `at`.
void DrawPicture(Canvas& c, QPoint at, const QImage& picture) {
  c.SetRasterOp(RasterOp::Copy);
  c.CopyRect(at.x(), at.y(), at.x() + picture.width(), at.y() + picture.height(), picture, 0, 0,
             picture.width(), picture.height());
}

// The plain substitutes: recognisable, the right size, nothing more.

QImage PlainStop(int height, bool lit) {
  Canvas c(kStopWidth, height);
  FillBlock(c, 0, 0, kStopWidth, height, kStopRim[lit]);
  FillBlock(c, 3, 3, kStopWidth - 3, height - 3, kStopFace[lit]);
  CentredText(c, 0, 0, kStopWidth, height, QStringLiteral("STOP"), kPlainFace, 14,
              kStopLetters[lit]);
  return c.Image();
}

QImage PlainBallStrip(int ball) {
  static const int kBob[8] = {0, 3, 6, 3, 0, -3, -6, -3};
  Canvas c(kFrame, kFrame * BonusGameWindow::kWalkFrames);
  for (int f = 0; f < BonusGameWindow::kWalkFrames; ++f) {
    const int top = f * kFrame;
    FillBlock(c, 0, top, kFrame, top + kFrame, kWhite);
    FillBlock(c, 30, top + 30 + kBob[f], 80, top + 80 + kBob[f], kBallColours[ball % 8]);
  }
  return c.Image();
}

QImage PlainExplodeStrip() {
  Canvas c(kFrame, kFrame * BonusGameWindow::kExplodeFrames);
  for (int f = 0; f < BonusGameWindow::kExplodeFrames; ++f) {
    const int top = f * kFrame;
    if (f < 4) {
      FillBlock(c, 0, top, kFrame, top + kFrame, kWhite);
      FillBlock(c, 25, top + 30, 85, top + 90, kBlack);
      CentredText(c, 25, top + 30, 60, 60, QStringLiteral("BOMB"), kPlainFace, 10, kWhite);
    } else if (f < kLastExplodeFrame) {
      // A fireball that grows for four frames and then fades.
      const int k = f - 4;
      const int half = 12 + 10 * (k < 4 ? k : 3);
      const int fade = k < 4 ? 0 : (k - 3) * 45;
      FillBlock(c, 0, top, kFrame, top + kFrame, kBlack);
      FillBlock(c, 55 - half, top + 55 - half, 55 + half, top + 55 + half, FireOuter(fade));
      FillBlock(c, 55 - half / 2, top + 55 - half / 2, 55 + half / 2, top + 55 + half / 2,
                FireInner(fade));
    } else {
      FillBlock(c, 0, top, kFrame, top + kFrame, kBlack);
      CentredText(c, 0, top, kFrame, kFrame, QStringLiteral("YOU LOSE"), kPlainFace, 12, kRed);
    }
  }
  return c.Image();
}

QImage PlainBackground() {
  Canvas c(BonusGameWindow::kPictureWidth, BonusGameWindow::kPictureHeight);
  FillBlock(c, 0, 0, BonusGameWindow::kPictureWidth, 120, kSky);
  FillBlock(c, 0, 120, BonusGameWindow::kPictureWidth, BonusGameWindow::kPictureHeight, kPitch);
  CentredText(c, 0, 10, BonusGameWindow::kPictureWidth, 40,
              QStringLiteral("Pick as many boxes as you like,"), kPlainFace, 16, kYellow);
  CentredText(c, 0, 50, BonusGameWindow::kPictureWidth, 40,
              QStringLiteral("but either of the two bomb boxes loses everything!"), kPlainFace, 16,
              kYellow);
  for (int i = 0; i < BonusGameWindow::kBalls; ++i) {
    const int x = (kFrame + 40) * (i % 4) + 40;
    const int y = (kFrame + 30) * (i / 4) + 210;
    FillBlock(c, x, y, x + kFrame, y + kFrame, kWhite);
  }
  const QImage left = PlainStop(kStopLeftHeight, false);
  const QImage right = PlainStop(kStopRightHeight, false);
  DrawPicture(c, kStopLeftAt, left);
  DrawPicture(c, kStopRightAt, right);
  return c.Image();
}

bool UsableStrip(const QImage& strip, int frames) {
  return !strip.isNull() && strip.width() > 0 && strip.height() >= frames;
}

}  // namespace

BonusArt BonusArt::LoadBuiltIn(int* failures) {
  BonusArt art;
  int failed = 0;
  auto load = [&failed](const QString& name, QImage* out) {
    if (!LoadJpegFile(QStringLiteral(":/art/bonus/") + name, out)) ++failed;
  };
  load(QStringLiteral("stadium.jpg"), &art.background);
  for (int i = 0; i < BonusGameWindow::kBalls; ++i) {
    load(QStringLiteral("ball%1.jpg").arg(i + 1), &art.balls[i]);
  }
  load(QStringLiteral("explode.jpg"), &art.explode);
  load(QStringLiteral("stop_left_lit.jpg"), &art.left_stop_lit);
  load(QStringLiteral("stop_left_dim.jpg"), &art.left_stop_dim);
  load(QStringLiteral("stop_right_lit.jpg"), &art.right_stop_lit);
  load(QStringLiteral("stop_right_dim.jpg"), &art.right_stop_dim);
  if (failures) *failures = failed;
  return art;
}

void BonusArt::FillMissing() {
  if (background.isNull() || background.width() < 1 || background.height() < 1) {
    background = PlainBackground();
  }
  for (int i = 0; i < BonusGameWindow::kBalls; ++i) {
    if (!UsableStrip(balls[i], BonusGameWindow::kWalkFrames)) balls[i] = PlainBallStrip(i);
  }
  if (!UsableStrip(explode, BonusGameWindow::kExplodeFrames)) explode = PlainExplodeStrip();
  if (left_stop_lit.isNull()) left_stop_lit = PlainStop(kStopLeftHeight, true);
  if (left_stop_dim.isNull()) left_stop_dim = PlainStop(kStopLeftHeight, false);
  if (right_stop_lit.isNull()) right_stop_lit = PlainStop(kStopRightHeight, true);
  if (right_stop_dim.isNull()) right_stop_dim = PlainStop(kStopRightHeight, false);
}

BonusGameWindow::BonusGameWindow(GameState& state, const GameIdentity& identity, Platform& platform,
                                 GameSounds& sounds, QSize screen_size, QWidget* parent)
    : BonusGameWindow(state, identity, platform, sounds, screen_size, BonusArt::LoadBuiltIn(),
                      parent) {}

BonusGameWindow::BonusGameWindow(GameState& state, const GameIdentity& identity, Platform& platform,
                                 GameSounds& sounds, QSize screen_size, BonusArt art,
                                 QWidget* parent)
    : QDialog(parent),
      machine_(state),
      identity_(identity),
      platform_(platform),
      sounds_(sounds),
      art_(std::move(art)),
      game_(state.BallPrizes, state.BonusBet, 1) {
  SetUpGame(screen_size);
  walk_timer_ = platform_.CreateTimer(kWalkInterval, true, [this] { StepWalk(); });
  close_timer_ = platform_.CreateTimer(kCloseInterval, false, [this] { CloseWithResult(); });
  explosion_timer_ = platform_.CreateTimer(kBombInterval, false, [this] { StepExplosion(); });
  blink_timer_ = platform_.CreateTimer(kBlinkInterval, false, [this] { BlinkStopSigns(); });
  ReplayPicks(state);
}

void BonusGameWindow::ReplayPicks(const GameState& state) {
  replaying_ = true;
  const int count =
      std::clamp<int32_t>(state.BonusPickCount, 0, static_cast<int32_t>(state.BonusPicks.size()));
  const std::vector<int32_t> picks(state.BonusPicks.begin(), state.BonusPicks.begin() + count);
  for (const int32_t pick : picks) {
    if (pick == kBonusCollect) {
      Collect();
    } else if (pick >= 0 && pick < kBalls) {
      // The ball's centre: as the player's press on it.
      const QRect box = BallBox(pick);
      PickAt(box.center().x(), box.center().y());
    }
  }
  replaying_ = false;
}

void BonusGameWindow::Recorded(int32_t pick) {
  if (replaying_) return;
  machine_.RecordBonusPick(pick);
  if (keep_) keep_();
}

BonusGameWindow::~BonusGameWindow() = default;

bool BonusGameWindow::StopBlinkPhase() {
  return stop_blink_phase_value;
}

void BonusGameWindow::SetUpGame(QSize screen_size) {
  explode_frame_ = -1;

  // A borderless black window over the whole screen.
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setWindowTitle(QString::fromStdString(identity_.GameTitle));
  setModal(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  const int w = screen_size.width() > 0 ? screen_size.width() : platform_.ScreenWidth();
  const int h = screen_size.height() > 0 ? screen_size.height() : platform_.ScreenHeight();
  resize(w, h);
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect g = screen->geometry();
    move(g.left() + (g.width() - w) / 2, g.top() + (g.height() - h) / 2);
  }
  // On a low-resolution screen the window also takes the whole screen through the window
  // manager, so it covers panels and task bars whatever their size.
  if (platform_.LogicalDpi() < 100) setWindowState(Qt::WindowFullScreen);

  // The off-screen bitmaps every frame is copied from, in the surface's own pixel format.
  art_.FillMissing();
  auto to_working = [](QImage& image) {
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  };
  to_working(art_.background);
  for (QImage& strip : art_.balls) to_working(strip);
  to_working(art_.explode);
  to_working(art_.left_stop_lit);
  to_working(art_.left_stop_dim);
  to_working(art_.right_stop_lit);
  to_working(art_.right_stop_dim);
  frame_width_ = art_.balls[0].width();
  frame_height_ = art_.balls[0].height() / kWalkFrames;
  for (int i = 0; i < kBalls; ++i) {
    balls_[i].x = (frame_width_ + 40) * (i % 4) + 40;
    balls_[i].y = (frame_height_ + 30) * (i / 4) + 210;
    balls_[i].frame = i;  // out of step
  }

  picture_.Resize(kPictureWidth, kPictureHeight);
  picture_.on_changed = [this](const QRect& r) { update(r.translated(picture_pos_)); };
  picture_.SetRasterOp(RasterOp::Copy);
  picture_.CopyRect(0, 0, kPictureWidth, kPictureHeight, art_.background, 0, 0,
                    art_.background.width(), art_.background.height());
  // Show every character in its starting pose at once rather than empty boxes until the first
  // walking step.
  for (int i = 0; i < kBalls; ++i) DrawWalkingFrame(i);
  PlacePicture();
}

void BonusGameWindow::PlacePicture() {
  picture_pos_ = QPoint((width() - kPictureWidth) / 2, (height() - kPictureHeight) / 2);
  update();
}

QRect BonusGameWindow::BallBox(int i) const {
  const BonusBall& b = balls_[i];
  return QRect(b.x, b.y, frame_width_, frame_height_);
}

void BonusGameWindow::CopyToBox(int i, const QImage& strip, int frame_top, int frame_height) {
  const BonusBall& b = balls_[i];
  picture_.SetRasterOp(RasterOp::Copy);
  picture_.CopyRect(b.x, b.y, b.x + frame_width_, b.y + frame_height_, strip, 0, frame_top,
                    strip.width(), frame_top + frame_height);
}

void BonusGameWindow::DrawWalkingFrame(int i) {
  const QImage& strip = art_.balls[i];
  const int fh = strip.height() / kWalkFrames;
  CopyToBox(i, strip, fh * balls_[i].frame, fh);
}

void BonusGameWindow::StepWalk() {
  for (int i = 0; i < kBalls; ++i) {
    BonusBall& b = balls_[i];
    if (game_.Picked(i)) continue;  // keeps its prize on show
    b.frame = (b.frame + 1) % kWalkFrames;
    DrawWalkingFrame(i);
  }
}

void BonusGameWindow::PickAt(int px, int py) {
  if (closing_) return;
  // The STOP signs collect in every state, before the first pick and during the explosion too.
  const QPoint p(px, py);
  if (kStopLeftArea.contains(p) || kStopRightArea.contains(p)) {
    if (!game_.Over()) Recorded(kBonusCollect);
    Collect();
    return;
  }
  for (int i = 0; i < kBalls; ++i) {
    const BonusBall& b = balls_[i];
    // The hit area reaches one pixel past the box on the right and at the bottom.
    if (px < b.x || px > b.x + frame_width_ || py < b.y || py > b.y + frame_height_) continue;
    const BonusGame::PickResult result = game_.Pick(i);
    if (result.outcome != BonusGame::Outcome::kIgnored) Recorded(i);
    switch (result.outcome) {
      case BonusGame::Outcome::kIgnored:
        return;
      case BonusGame::Outcome::kBomb:
        Bomb();
        return;
      case BonusGame::Outcome::kWinner:
      case BonusGame::Outcome::kLastWinner:
        if (!blink_timer_->Enabled())
          blink_timer_->SetEnabled(true);  // blinking from the first win
        PaintPrize(i, result.prize);
        if (!replaying_) sounds_.PlayWinSound(nullptr);
        break;
    }
    if (result.outcome == BonusGame::Outcome::kLastWinner && replaying_) {
      Collect();
    } else if (result.outcome == BonusGame::Outcome::kLastWinner) {
      platform_.ShowMessage(this, QString::fromStdString(identity_.GameTitle),
                            QStringLiteral("You picked all six winners!"));
      Collect();
    }
    return;
  }
}

void BonusGameWindow::PaintPrize(int i, int32_t prize) {
  const BonusBall& b = balls_[i];
  picture_.SetRasterOp(RasterOp::Copy);
  FillBlock(picture_, b.x + 5, b.y + 5, b.x + frame_width_ - 5, b.y + frame_height_ - 5, kWhite);
  const QString text = QString::number(prize);
  picture_.SetFontFace(kPrizeFace);
  picture_.SetFontSize(kPrizePoints);
  picture_.SetFontBold(true);
  picture_.SetFontColor(kRed);
  picture_.SetBrushClear(true);
  picture_.TextOut(b.x + (frame_width_ - picture_.TextWidth(text)) / 2,
                   b.y + (frame_height_ - picture_.TextHeight(text)) / 2, text);
  picture_.SetBrushClear(false);
}

void BonusGameWindow::BlinkStopSigns() {
  stop_blink_phase_value = !stop_blink_phase_value;
  if (stop_blink_phase_value) {
    DrawPicture(picture_, kStopLeftAt, art_.left_stop_lit);
    DrawPicture(picture_, kStopRightAt, art_.right_stop_dim);
  } else {
    DrawPicture(picture_, kStopLeftAt, art_.left_stop_dim);
    DrawPicture(picture_, kStopRightAt, art_.right_stop_lit);
  }
}

void BonusGameWindow::Collect() {
  // Only the first collect arms the close: a later one must not push the closing back.
  if (collected_) return;
  collected_ = true;
  game_.Collect();
  walk_timer_->SetEnabled(false);
  blink_timer_->SetEnabled(false);
  close_timer_->SetInterval(kCollectCloseInterval);
  close_timer_->SetEnabled(true);
}

void BonusGameWindow::Bomb() {
  blink_timer_->SetEnabled(false);
  explode_frame_ = -1;
  walk_timer_->SetEnabled(false);
  explosion_timer_->SetInterval(kBombInterval);
  explosion_timer_->SetEnabled(true);
}

void BonusGameWindow::StepExplosion() {
  if (explode_frame_ >= kLastExplodeFrame) {
    explosion_timer_->SetEnabled(false);
    return;
  }
  ++explode_frame_;
  const QImage& strip = art_.explode;
  const int fh = strip.height() / kExplodeFrames;
  for (int i = 0; i < kBalls; ++i) CopyToBox(i, strip, fh * explode_frame_, fh);
  if (explode_frame_ == kExplosionSoundFrame) sounds_.PlayExplosionSound();
  if (explode_frame_ == kBombFastFrame) explosion_timer_->SetInterval(kBombFastInterval);
  if (explode_frame_ == kLastExplodeFrame) {
    explosion_timer_->SetEnabled(false);
    // A STOP click during the explosion has already armed the close; starting the timer again
    // would push it back.
    if (!close_timer_->Enabled()) close_timer_->SetEnabled(true);
  }
}

void BonusGameWindow::CloseWithResult() {
  if (closing_) return;
  closing_ = true;
  walk_timer_->SetEnabled(false);
  close_timer_->SetEnabled(false);
  explosion_timer_->SetEnabled(false);
  blink_timer_->SetEnabled(false);
  // The one place the result leaves the window.
  machine_.EndBonusGame(game_.Total());
  accept();
}

void BonusGameWindow::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), Qt::black);
  p.drawImage(picture_pos_, picture_.Image());
}

void BonusGameWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PlacePicture();
}

void BonusGameWindow::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const QRect picture(picture_pos_, QSize(kPictureWidth, kPictureHeight));
  // A press on the black margin around the picture does nothing.
  if (picture.contains(p)) PickAt(p.x() - picture_pos_.x(), p.y() - picture_pos_.y());
  event->accept();
}

void BonusGameWindow::keyPressEvent(QKeyEvent* event) {
  event->accept();
}

void BonusGameWindow::closeEvent(QCloseEvent* event) {
  if (closing_) {
    event->accept();
  } else {
    event->ignore();
  }
}
