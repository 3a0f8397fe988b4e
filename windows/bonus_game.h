// The bonus game: a borderless, screen-covering black window with a fixed 640 x 480 picture in
// its centre, where the player picks walking characters to reveal prizes or a bomb, or clicks a
// STOP sign to collect. It is opened modally over the main window; its total leaves it through the
// machine (SlotMachine::EndBonusGame) as it closes.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/bonus.h"
#include "engine/slot_machine.h"
#include "platform/canvas.h"

struct GameIdentity;
class Platform;
class GameSounds;
class Timer;

// The pictures of the bonus game. Any picture may be missing (null) or misshapen: the window then
// draws plain substitutes of the right size instead, so a broken resource never stops a bonus
// game from being played and paid.
struct BonusArt {
  QImage background;            // 640 x 480 stadium with caption, STOP signs and eight boxes
  std::array<QImage, 8> balls;  // walking strips, 8 frames of 110 x 110 stacked top to bottom
  QImage explode;               // bomb strip, 13 frames of 110 x 110 stacked top to bottom
  QImage left_stop_lit, left_stop_dim;    // left STOP sign lit / dim (71 x 54)
  QImage right_stop_lit, right_stop_dim;  // right STOP sign lit / dim (71 x 53)

  // Decodes the pictures carried with the program (:/art/bonus/...). Pictures that cannot be
  // decoded stay null; the number of such failures is returned through failures if given.
  static BonusArt LoadBuiltIn(int* failures = nullptr);

  // Replaces every null or unusable picture by a plain drawn substitute of the expected size.
  void FillMissing();
};

// One character of the bonus game, in picture coordinates.
struct BonusBall {
  int32_t x = 0;      // left edge of its box
  int32_t y = 0;      // top edge of its box
  int32_t frame = 0;  // current walking frame 0..7
};

class BonusGameWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPictureWidth = 640;
  static constexpr int kPictureHeight = 480;
  static constexpr int kBalls = kBonusBalls;
  static constexpr int kWalkFrames = 8;
  static constexpr int kExplodeFrames = 13;

  // Sets up the owed bonus game from state.BallPrizes and state.BonusBet with the built-in art,
  // in a window of screen_size (a side of 0 takes the platform's screen size), as the picks in
  // state.BonusPicks left it (a bonus game played on after the program ended). The characters
  // start walking at once.
  BonusGameWindow(GameState& state, const GameIdentity& identity, Platform& platform,
                  GameSounds& sounds, QSize screen_size, QWidget* parent = nullptr);
  // Same with the given pictures (missing ones are drawn plainly).
  BonusGameWindow(GameState& state, const GameIdentity& identity, Platform& platform,
                  GameSounds& sounds, QSize screen_size, BonusArt art, QWidget* parent = nullptr);
  ~BonusGameWindow() override;

  // A press on the picture at picture point (px, py), any button: a STOP sign collects, a
  // character not yet picked is picked while the game is still open. Each pick and the collect
  // is recorded with the owed bonus game in the state, and keep() (see KeepPicksWith) runs.
  void PickAt(int px, int py);
  // What keeps the running game once a pick or a collect is recorded.
  void KeepPicksWith(std::function<void()> keep) { keep_ = std::move(keep); }

  // Timer handlers: walking, closing, bomb animation, STOP-sign blinking.
  void StepWalk();
  void CloseWithResult();
  void StepExplosion();
  void BlinkStopSigns();

  // State of the running bonus game.
  const BonusGame& Game() const { return game_; }
  int32_t ExplodeFrame() const { return explode_frame_; }
  // Whether a STOP press (or the sixth winner) has collected: a further STOP changes nothing.
  bool Collected() const { return collected_; }
  const std::array<BonusBall, kBalls>& Balls() const { return balls_; }
  // Which STOP sign is lit: true the left one. Kept from one bonus game to the next.
  static bool StopBlinkPhase();

  // The visible picture and where it sits in the window.
  const Canvas& Picture() const { return picture_; }
  QPoint PicturePos() const { return picture_pos_; }
  // Box of ball i in picture coordinates (one walking frame's size).
  QRect BallBox(int i) const;
  // Size of one walking frame, taken from the first strip.
  int FrameWidth() const { return frame_width_; }
  int FrameHeight() const { return frame_height_; }

  Timer& WalkTimer() { return *walk_timer_; }
  Timer& CloseTimer() { return *close_timer_; }
  Timer& ExplosionTimer() { return *explosion_timer_; }
  Timer& BlinkTimer() { return *blink_timer_; }

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
  void SetUpGame(QSize screen_size);
  void PlacePicture();
  void Collect();
  void Bomb();
  void DrawWalkingFrame(int i);
  // Copies rows frameTop..frameTop + frameHeight - 1 of a strip onto the box of ball i.
  void CopyToBox(int i, const QImage& strip, int frame_top, int frame_height);
  void PaintPrize(int i, int32_t prize);
  // Plays the picks the owed bonus game recorded before this window, without sounds.
  void ReplayPicks(const GameState& state);
  void Recorded(int32_t pick);

  SlotMachine machine_;  // what the window leaves in the game as it closes
  const GameIdentity& identity_;
  Platform& platform_;
  GameSounds& sounds_;
  BonusArt art_;

  BonusGame game_;
  int32_t explode_frame_ = -1;
  std::array<BonusBall, kBalls> balls_{};
  bool collected_ = false;  // a collect has armed the 1.5 s close
  bool closing_ = false;    // the game has written its result and is closing
  bool replaying_ = false;  // the recorded picks are being played again
  std::function<void()> keep_;

  int frame_width_ = 110;
  int frame_height_ = 110;
  Canvas picture_;
  QPoint picture_pos_;

  // Declared last so they are destroyed first: no tick can reach a half-destroyed window.
  std::unique_ptr<Timer> walk_timer_;
  std::unique_ptr<Timer> close_timer_;
  std::unique_ptr<Timer> explosion_timer_;
  std::unique_ptr<Timer> blink_timer_;
};
