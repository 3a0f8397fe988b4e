// The bonus game: a borderless, screen-covering black window with a fixed 640 x 480 picture in
// its centre, where the player picks walking characters to reveal prizes or a bomb, or clicks a
// STOP sign to collect. It is opened modally by the main window, which reads GameState::BonusWin
// once the window has closed.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstdint>
#include <memory>

#include "platform/canvas.h"

struct GameState;
class Platform;
class GameSounds;
class Timer;

// The pictures of the bonus game. Any picture may be missing (null) or misshapen: the window then
// draws plain substitutes of the right size instead, so a broken resource never stops a bonus
// game from being played and paid.
struct BonusArt {
  QImage Background;            // 640 x 480 stadium with caption, STOP signs and eight boxes
  std::array<QImage, 8> Balls;  // walking strips, 8 frames of 110 x 110 stacked top to bottom
  QImage Explode;               // bomb strip, 13 frames of 110 x 110 stacked top to bottom
  QImage Stop, Stop2;           // left STOP sign lit / dim (71 x 54)
  QImage StopA, Stop2A;         // right STOP sign lit / dim (71 x 53)

  // Decodes the pictures carried with the program (:/art/bonus/...). Pictures that cannot be
  // decoded stay null; the number of such failures is returned through failures if given.
  static BonusArt LoadBuiltIn(int* failures = nullptr);

  // Replaces every null or unusable picture by a plain drawn substitute of the expected size.
  void FillMissing();
};

// One character of the bonus game, in picture coordinates.
struct BonusBall {
  int32_t X = 0;      // left edge of its box
  int32_t Y = 0;      // top edge of its box
  int32_t Frame = 0;  // current walking frame 0..7
  bool Picked = false;
};

class TTrickForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPictureWidth = 640;
  static constexpr int kPictureHeight = 480;
  static constexpr int kBalls = 8;
  static constexpr int kWalkFrames = 8;
  static constexpr int kExplodeFrames = 13;

  // Sets up one bonus game from state.BallPrizes, CreditsPerLine and LinesBet with the built-in
  // art. The characters start walking at once.
  TTrickForm(GameState& state, Platform& platform, GameSounds& sounds, QWidget* parent = nullptr);
  // Same with the given pictures (missing ones are drawn plainly).
  TTrickForm(GameState& state, Platform& platform, GameSounds& sounds, BonusArt art,
             QWidget* parent = nullptr);
  ~TTrickForm() override;

  // A press on the picture at picture point (px, py), any button: a STOP sign collects, a
  // character not yet picked is picked while the game is still open.
  void Image1MouseDown(int px, int py);
  // A press on the black margin around the picture: does nothing.
  void FormMouseDown(int x, int y);

  // Timer handlers: walking, closing, bomb animation, STOP-sign blinking.
  void Timer1Timer();
  void Timer2Timer();
  void Timer3Timer();
  void Timer4Timer();

  // State of the running bonus game.
  int32_t BonusTotal() const { return BonusTotal_; }
  int32_t PickCount() const { return PickCount_; }
  int32_t ExplodeFrame() const { return ExplodeFrame_; }
  const std::array<BonusBall, kBalls>& Balls() const { return Balls_; }
  // Which STOP sign is lit: true the left one. Kept from one bonus game to the next.
  static bool StopBlinkPhase();

  // The visible picture and where it sits in the window.
  const Canvas& Image1() const { return Image1_; }
  QPoint Image1Pos() const { return Image1Pos_; }
  // Box of ball i (frame size), right column and bottom row outside.
  QRect BallBox(int i) const;
  // Size of one walking frame, taken from the first strip.
  int FrameWidth() const { return FrameWidth_; }
  int FrameHeight() const { return FrameHeight_; }

  Timer& Timer1() { return *Timer1_; }
  Timer& Timer2() { return *Timer2_; }
  Timer& Timer3() { return *Timer3_; }
  Timer& Timer4() { return *Timer4_; }

  // The bonus game must end with a result: Escape and other keys do nothing, and a close
  // request from the window manager is ignored until the game closes itself.
  void reject() override {}

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void PlaceImage1();
  void Collect();
  void Bomb();
  void DrawWalkingFrame(int i);
  // Copies rows frameTop..frameTop + frameHeight - 1 of a strip onto the box of ball i.
  void CopyToBox(int i, const QImage& strip, int frameTop, int frameHeight);
  void PaintPrize(int i, int32_t prize);

  GameState& State_;
  Platform& Platform_;
  GameSounds& Sounds_;
  BonusArt Art_;

  int32_t BonusTotal_ = 0;
  int32_t PickCount_ = 0;
  int32_t ExplodeFrame_ = -1;
  std::array<BonusBall, kBalls> Balls_{};
  bool Collected_ = false;  // a collect has armed the 1.5 s close
  bool Closing_ = false;    // the game has written its result and is closing

  int FrameWidth_ = 110;
  int FrameHeight_ = 110;
  Canvas Image1_;
  QPoint Image1Pos_;

  // Declared last so they are destroyed first: no tick can reach a half-destroyed window.
  std::unique_ptr<Timer> Timer1_;
  std::unique_ptr<Timer> Timer2_;
  std::unique_ptr<Timer> Timer3_;
  std::unique_ptr<Timer> Timer4_;
};
