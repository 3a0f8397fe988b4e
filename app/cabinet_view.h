// CabinetView: the main window's game area. It owns the cabinet and shows its surface, lays the
// cabinet out again when the area comes to fit another layout width, draws the first picture
// ahead while the window is being shown, and tells its host what the player pressed on it.
#pragma once

#include <QWidget>
#include <functional>
#include <future>
#include <memory>

#include "screen/cabinet.h"

// What a press on the cabinet or a key in the game area asks for.
enum class CabinetInput {
  kNone,
  kMaxBet,     // the max-bet key, or M
  kSpin,       // the spin key, Enter or Space
  kBetKey,     // one of the ten bet keys (the number comes with it)
  kGamesPage,  // the logo
};

class CabinetView : public QWidget {
 public:
  class Host {
   public:
    virtual ~Host() = default;
    // Play is under way: a new layout waits for its end (FitToArea).
    virtual bool PlayRunning() const = 0;
    // The reels turn: the spin's result is known but not yet shown.
    virtual bool ReelsTurning() const = 0;
    // The player pressed input (bet_key 1..10 with kBetKey).
    virtual void CabinetPressed(CabinetInput input, int bet_key) = 0;
    // A press on the keys is taken now: play is at rest (and the game has started).
    virtual bool TakesInput() const { return !PlayRunning(); }
  };

  CabinetView(std::unique_ptr<Cabinet> cabinet, Host& host, QWidget* parent);
  ~CabinetView() override;

  // The cabinet, once any picture being drawn ahead is finished (so that it may be drawn on).
  Cabinet& Settled() {
    AwaitDrawnAhead();
    return *cabinet_;
  }
  const Cabinet& Shown() const { return *cabinet_; }

  // Draws the cabinet's first picture on another thread while the window is being set up and
  // shown, so that the first paint only has to copy it; called once, as soon as the game is as it
  // will first be seen. Until that paint, or anything else that needs the cabinet, this thread
  // leaves the cabinet alone.
  void DrawAhead();
  // Waits for the picture being drawn ahead, if any, and gives the surface its change notices
  // back.
  void AwaitDrawnAhead();
  // The full repaint of the cabinet (until the first paint: that paint draws it).
  void PaintAll();
  // Lays the cabinet out again when the area now fits another layout width, and places it: what
  // waited for the reels.
  void FitToArea();
  // What a press at game-area point (x, y), in device pixels, asks for; bet_key set with kBetKey.
  CabinetInput InputAt(int x, int y, int* bet_key) const;

  // For those who press the cabinet's parts without a mouse (the accessibility tree): a press
  // that does what a click on the part does, and what the keys' look follows.
  void Press(CabinetInput input, int bet_key) { host_.CabinetPressed(input, bet_key); }
  bool TakesInput() const { return host_.TakesInput(); }
  bool PlayRunning() const { return host_.PlayRunning(); }
  bool ReelsTurning() const { return host_.ReelsTurning(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The same as AwaitDrawnAhead, and the first paint draws the cabinet anew (a layout or the
  // game changed since).
  void DiscardDrawnAhead();
  // The cabinet as the first paint shows it: the picture drawn ahead, or drawn now.
  void DrawFirstPicture();
  // Lays the cabinet out for an area height high, names the pictures found unusable, and places
  // the cabinet in an area width wide.
  void LayOut(int width, int height);
  // Names each replacement picture just found unusable on the error output.
  void ReportArtProblems();
  // Asks for a repaint of surface rectangle r (device pixels, on the cabinet).
  void SurfaceChanged(const QRect& r);

  std::unique_ptr<Cabinet> cabinet_;
  Host& host_;
  bool first_paint_done_ = false;  // the cabinet is drawn at the window's first paint
  std::future<void> drawing_ahead_;
  std::function<void(const QRect&)> changes_held_;  // the surface's notices, while drawing ahead
  bool drawn_ahead_ = false;  // the canvas holds the first picture (and no layout came since)
};
