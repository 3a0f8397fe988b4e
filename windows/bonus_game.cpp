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
#include <utility>

#include "engine/game_state.h"
#include "platform/jpeg.h"
#include "platform/platform.h"
#include "shell/sounds.h"

namespace {

// Which STOP sign is lit. Deliberately outside any one window: the blinking goes on from where
// the previous bonus game left it.
bool StopBlinkPhaseValue = false;

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

const QString kPrizeFace = QStringLiteral("MS Sans Serif");
constexpr int kPrizePoints = 24;

QRgb Rgb(int r, int g, int b) {
  return qRgb(r, g, b);
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
  FillBlock(c, 0, 0, kStopWidth, height, lit ? Rgb(230, 0, 0) : Rgb(96, 0, 0));
  FillBlock(c, 3, 3, kStopWidth - 3, height - 3, lit ? Rgb(200, 0, 0) : Rgb(70, 0, 0));
  CentredText(c, 0, 0, kStopWidth, height, QStringLiteral("STOP"), QStringLiteral("Arial"), 14,
              lit ? Rgb(255, 255, 255) : Rgb(150, 150, 150));
  return c.Image();
}

QImage PlainBallStrip(int ball) {
  static const QRgb kColours[8] = {Rgb(220, 40, 40),  Rgb(40, 120, 220), Rgb(40, 170, 60),
                                   Rgb(230, 150, 20), Rgb(150, 60, 190), Rgb(20, 170, 170),
                                   Rgb(200, 60, 140), Rgb(120, 120, 120)};
  static const int kBob[8] = {0, 3, 6, 3, 0, -3, -6, -3};
  Canvas c(kFrame, kFrame * TTrickForm::kWalkFrames);
  for (int f = 0; f < TTrickForm::kWalkFrames; ++f) {
    const int top = f * kFrame;
    FillBlock(c, 0, top, kFrame, top + kFrame, Rgb(255, 255, 255));
    FillBlock(c, 30, top + 30 + kBob[f], 80, top + 80 + kBob[f], kColours[ball % 8]);
  }
  return c.Image();
}

QImage PlainExplodeStrip() {
  Canvas c(kFrame, kFrame * TTrickForm::kExplodeFrames);
  for (int f = 0; f < TTrickForm::kExplodeFrames; ++f) {
    const int top = f * kFrame;
    if (f < 4) {
      FillBlock(c, 0, top, kFrame, top + kFrame, Rgb(255, 255, 255));
      FillBlock(c, 25, top + 30, 85, top + 90, Rgb(0, 0, 0));
      CentredText(c, 25, top + 30, 60, 60, QStringLiteral("BOMB"), QStringLiteral("Arial"), 10,
                  Rgb(255, 255, 255));
    } else if (f < kLastExplodeFrame) {
      // A fireball that grows for four frames and then fades.
      const int k = f - 4;
      const int half = 12 + 10 * (k < 4 ? k : 3);
      const int fade = k < 4 ? 0 : (k - 3) * 45;
      FillBlock(c, 0, top, kFrame, top + kFrame, Rgb(0, 0, 0));
      FillBlock(c, 55 - half, top + 55 - half, 55 + half, top + 55 + half,
                Rgb(255 - fade, 140 - fade / 2, 0));
      FillBlock(c, 55 - half / 2, top + 55 - half / 2, 55 + half / 2, top + 55 + half / 2,
                Rgb(255 - fade, 230 - fade, 60));
    } else {
      FillBlock(c, 0, top, kFrame, top + kFrame, Rgb(0, 0, 0));
      CentredText(c, 0, top, kFrame, kFrame, QStringLiteral("YOU LOSE"), QStringLiteral("Arial"),
                  12, Rgb(255, 0, 0));
    }
  }
  return c.Image();
}

QImage PlainBackground() {
  Canvas c(TTrickForm::kPictureWidth, TTrickForm::kPictureHeight);
  FillBlock(c, 0, 0, TTrickForm::kPictureWidth, 120, Rgb(10, 20, 70));
  FillBlock(c, 0, 120, TTrickForm::kPictureWidth, TTrickForm::kPictureHeight, Rgb(20, 110, 40));
  CentredText(c, 0, 10, TTrickForm::kPictureWidth, 40,
              QStringLiteral("Pick as many boxes as you like,"), QStringLiteral("Arial"), 16,
              Rgb(255, 255, 0));
  CentredText(c, 0, 50, TTrickForm::kPictureWidth, 40,
              QStringLiteral("but either of the two bomb boxes loses everything!"),
              QStringLiteral("Arial"), 16, Rgb(255, 255, 0));
  for (int i = 0; i < TTrickForm::kBalls; ++i) {
    const int x = (kFrame + 40) * (i % 4) + 40;
    const int y = (kFrame + 30) * (i / 4) + 210;
    FillBlock(c, x, y, x + kFrame, y + kFrame, Rgb(255, 255, 255));
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
  load(QStringLiteral("stadium.jpg"), &art.Background);
  for (int i = 0; i < TTrickForm::kBalls; ++i) {
    load(QStringLiteral("ball%1.jpg").arg(i + 1), &art.Balls[i]);
  }
  load(QStringLiteral("explode.jpg"), &art.Explode);
  load(QStringLiteral("stop_left_lit.jpg"), &art.Stop);
  load(QStringLiteral("stop_left_dim.jpg"), &art.Stop2);
  load(QStringLiteral("stop_right_lit.jpg"), &art.StopA);
  load(QStringLiteral("stop_right_dim.jpg"), &art.Stop2A);
  if (failures) *failures = failed;
  return art;
}

void BonusArt::FillMissing() {
  if (Background.isNull() || Background.width() < 1 || Background.height() < 1) {
    Background = PlainBackground();
  }
  for (int i = 0; i < TTrickForm::kBalls; ++i) {
    if (!UsableStrip(Balls[i], TTrickForm::kWalkFrames)) Balls[i] = PlainBallStrip(i);
  }
  if (!UsableStrip(Explode, TTrickForm::kExplodeFrames)) Explode = PlainExplodeStrip();
  if (Stop.isNull()) Stop = PlainStop(kStopLeftHeight, true);
  if (Stop2.isNull()) Stop2 = PlainStop(kStopLeftHeight, false);
  if (StopA.isNull()) StopA = PlainStop(kStopRightHeight, true);
  if (Stop2A.isNull()) Stop2A = PlainStop(kStopRightHeight, false);
}

TTrickForm::TTrickForm(GameState& state, Platform& platform, GameSounds& sounds, QWidget* parent)
    : TTrickForm(state, platform, sounds, BonusArt::LoadBuiltIn(), parent) {}

TTrickForm::TTrickForm(GameState& state, Platform& platform, GameSounds& sounds, BonusArt art,
                       QWidget* parent)
    : QDialog(parent), State_(state), Platform_(platform), Sounds_(sounds), Art_(std::move(art)) {
  FormCreate();
  Timer1_ = Platform_.CreateTimer(kWalkInterval, true, [this] { Timer1Timer(); });
  Timer2_ = Platform_.CreateTimer(kCloseInterval, false, [this] { Timer2Timer(); });
  Timer3_ = Platform_.CreateTimer(kBombInterval, false, [this] { Timer3Timer(); });
  Timer4_ = Platform_.CreateTimer(kBlinkInterval, false, [this] { Timer4Timer(); });
}

TTrickForm::~TTrickForm() = default;

bool TTrickForm::StopBlinkPhase() {
  return StopBlinkPhaseValue;
}

void TTrickForm::FormCreate() {
  BonusTotal_ = 0;
  PickCount_ = 0;
  ExplodeFrame_ = -1;

  // A borderless black window over the whole screen.
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setWindowTitle(QString::fromStdString(State_.GameTitle));
  setModal(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  const int w = State_.ScreenWidth > 0 ? State_.ScreenWidth : Platform_.ScreenWidth();
  const int h = State_.ScreenHeight > 0 ? State_.ScreenHeight : Platform_.ScreenHeight();
  resize(w, h);
  QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    const QRect g = screen->geometry();
    move(g.left() + (g.width() - w) / 2, g.top() + (g.height() - h) / 2);
  }
  // On a low-resolution screen the window also takes the whole screen through the window
  // manager, so it covers panels and task bars whatever their size.
  if (Platform_.LogicalDpi() < 100) setWindowState(Qt::WindowFullScreen);

  // The off-screen bitmaps every frame is copied from, in the surface's own pixel format.
  Art_.FillMissing();
  auto toWorking = [](QImage& image) {
    if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  };
  toWorking(Art_.Background);
  for (QImage& strip : Art_.Balls) toWorking(strip);
  toWorking(Art_.Explode);
  toWorking(Art_.Stop);
  toWorking(Art_.Stop2);
  toWorking(Art_.StopA);
  toWorking(Art_.Stop2A);
  FrameWidth_ = Art_.Balls[0].width();
  FrameHeight_ = Art_.Balls[0].height() / kWalkFrames;
  for (int i = 0; i < kBalls; ++i) {
    Balls_[i].X = (FrameWidth_ + 40) * (i % 4) + 40;
    Balls_[i].Y = (FrameHeight_ + 30) * (i / 4) + 210;
    Balls_[i].Frame = i;  // out of step
    Balls_[i].Picked = false;
  }

  Image1_.Resize(kPictureWidth, kPictureHeight);
  Image1_.OnChanged = [this](const QRect& r) { update(r.translated(Image1Pos_)); };
  Image1_.SetRasterOp(RasterOp::Copy);
  Image1_.CopyRect(0, 0, kPictureWidth, kPictureHeight, Art_.Background, 0, 0,
                   Art_.Background.width(), Art_.Background.height());
  // Show every character in its starting pose at once rather than empty boxes until the first
  // walking step.
  for (int i = 0; i < kBalls; ++i) DrawWalkingFrame(i);
  PlaceImage1();
}

void TTrickForm::PlaceImage1() {
  Image1Pos_ = QPoint((width() - kPictureWidth) / 2, (height() - kPictureHeight) / 2);
  update();
}

QRect TTrickForm::BallBox(int i) const {
  const BonusBall& b = Balls_[i];
  return QRect(b.X, b.Y, FrameWidth_, FrameHeight_);
}

void TTrickForm::CopyToBox(int i, const QImage& strip, int frameTop, int frameHeight) {
  const BonusBall& b = Balls_[i];
  Image1_.SetRasterOp(RasterOp::Copy);
  Image1_.CopyRect(b.X, b.Y, b.X + FrameWidth_, b.Y + FrameHeight_, strip, 0, frameTop,
                   strip.width(), frameTop + frameHeight);
}

void TTrickForm::DrawWalkingFrame(int i) {
  const QImage& strip = Art_.Balls[i];
  const int fh = strip.height() / kWalkFrames;
  CopyToBox(i, strip, fh * Balls_[i].Frame, fh);
}

void TTrickForm::Timer1Timer() {
  for (int i = 0; i < kBalls; ++i) {
    BonusBall& b = Balls_[i];
    if (b.Picked) continue;  // keeps its prize on show
    b.Frame = (b.Frame + 1) % kWalkFrames;
    DrawWalkingFrame(i);
  }
}

void TTrickForm::Image1MouseDown(int px, int py) {
  if (Closing_) return;
  // The STOP signs collect in every state, before the first pick and during the explosion too.
  const QPoint p(px, py);
  if (kStopLeftArea.contains(p) || kStopRightArea.contains(p)) {
    Collect();
    return;
  }
  for (int i = 0; i < kBalls; ++i) {
    BonusBall& b = Balls_[i];
    // The hit area reaches one pixel past the box on the right and at the bottom.
    if (px < b.X || px > b.X + FrameWidth_ || py < b.Y || py > b.Y + FrameHeight_) continue;
    if (b.Picked || PickCount_ >= kBalls) return;
    ++PickCount_;
    b.Picked = true;
    const int32_t multiplier = State_.BallPrizes[i];
    if (multiplier <= 0) {
      Bomb();
      return;
    }
    if (!Timer4_->Enabled()) Timer4_->SetEnabled(true);  // the signs blink from the first win
    // A multiplier counts the whole bet of the spin that started the bonus game.
    const int32_t prize = multiplier * State_.CreditsPerLine * State_.LinesBet;
    BonusTotal_ += prize;
    PaintPrize(i, prize);
    Sounds_.PlayWinSound(false);
    if (PickCount_ >= 6) {
      Platform_.ShowMessage(this, QString::fromStdString(State_.GameTitle),
                            QStringLiteral("You picked all six winners!"));
      Collect();
    }
    return;
  }
}

void TTrickForm::FormMouseDown(int, int) {}

void TTrickForm::PaintPrize(int i, int32_t prize) {
  const BonusBall& b = Balls_[i];
  Image1_.SetRasterOp(RasterOp::Copy);
  FillBlock(Image1_, b.X + 5, b.Y + 5, b.X + FrameWidth_ - 5, b.Y + FrameHeight_ - 5,
            Rgb(255, 255, 255));
  const QString text = QString::number(prize);
  Image1_.SetFontFace(kPrizeFace);
  Image1_.SetFontSize(kPrizePoints);
  Image1_.SetFontBold(true);
  Image1_.SetFontColor(Rgb(255, 0, 0));
  Image1_.SetBrushClear(true);
  Image1_.TextOut(b.X + (FrameWidth_ - Image1_.TextWidth(text)) / 2,
                  b.Y + (FrameHeight_ - Image1_.TextHeight(text)) / 2, text);
  Image1_.SetBrushClear(false);
}

void TTrickForm::Timer4Timer() {
  StopBlinkPhaseValue = !StopBlinkPhaseValue;
  if (StopBlinkPhaseValue) {
    DrawPicture(Image1_, kStopLeftAt, Art_.Stop);
    DrawPicture(Image1_, kStopRightAt, Art_.Stop2A);
  } else {
    DrawPicture(Image1_, kStopLeftAt, Art_.Stop2);
    DrawPicture(Image1_, kStopRightAt, Art_.StopA);
  }
}

void TTrickForm::Collect() {
  // Only the first collect arms the close: a later one must not push the closing back.
  if (Collected_) return;
  Collected_ = true;
  PickCount_ = kBalls;
  Timer1_->SetEnabled(false);
  Timer4_->SetEnabled(false);
  Timer2_->SetInterval(kCollectCloseInterval);
  Timer2_->SetEnabled(true);
}

void TTrickForm::Bomb() {
  Timer4_->SetEnabled(false);
  BonusTotal_ = 0;
  ExplodeFrame_ = -1;
  PickCount_ = kBalls;
  Timer1_->SetEnabled(false);
  Timer3_->SetInterval(kBombInterval);
  Timer3_->SetEnabled(true);
}

void TTrickForm::Timer3Timer() {
  if (ExplodeFrame_ >= kLastExplodeFrame) {
    Timer3_->SetEnabled(false);
    return;
  }
  ++ExplodeFrame_;
  const QImage& strip = Art_.Explode;
  const int fh = strip.height() / kExplodeFrames;
  for (int i = 0; i < kBalls; ++i) CopyToBox(i, strip, fh * ExplodeFrame_, fh);
  if (ExplodeFrame_ == kExplosionSoundFrame) Sounds_.PlayExplosionSound();
  if (ExplodeFrame_ == kBombFastFrame) Timer3_->SetInterval(kBombFastInterval);
  if (ExplodeFrame_ == kLastExplodeFrame) {
    Timer3_->SetEnabled(false);
    // A STOP click during the explosion has already armed the close; starting the timer again
    // would push it back.
    if (!Timer2_->Enabled()) Timer2_->SetEnabled(true);
  }
}

void TTrickForm::Timer2Timer() {
  if (Closing_) return;
  Closing_ = true;
  Timer1_->SetEnabled(false);
  Timer2_->SetEnabled(false);
  Timer3_->SetEnabled(false);
  Timer4_->SetEnabled(false);
  // The one place the result leaves the window.
  State_.BonusWin = BonusTotal_;
  accept();
}

void TTrickForm::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  p.fillRect(event->rect(), Qt::black);
  p.drawImage(Image1Pos_, Image1_.Image());
}

void TTrickForm::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  PlaceImage1();
}

void TTrickForm::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const QRect picture(Image1Pos_, QSize(kPictureWidth, kPictureHeight));
  if (picture.contains(p)) {
    Image1MouseDown(p.x() - Image1Pos_.x(), p.y() - Image1Pos_.y());
  } else {
    FormMouseDown(p.x(), p.y());
  }
  event->accept();
}

void TTrickForm::keyPressEvent(QKeyEvent* event) {
  event->accept();
}

void TTrickForm::closeEvent(QCloseEvent* event) {
  if (Closing_) {
    event->accept();
  } else {
    event->ignore();
  }
}
