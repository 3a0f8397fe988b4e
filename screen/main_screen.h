// Painting of the main window: the cabinet, the payline markers and paths, the reels, the
// meters, the keys, the coin value and the logo. Each routine draws straight onto the window's
// canvas at the moment the game asks for it; positions are design-grid values turned into
// window pixels by the scale of the layout the screen was given, read anew on every call (the
// window lays the cabinet out again when its game area changes).
//
// Every routine leaves the canvas's raster operation at plain copy. Painting only copies from
// the working bitmaps prepared at start-up; it never decodes or stretches art.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>

#include "engine/game_state.h"

class Canvas;
struct MainArt;
struct ScreenLayout;

// The marker row (0 at the top .. 8 at the bottom) of payline n (1..9); -1 for any other n.
// From top to bottom the markers read 4, 2, 6, 8, 1, 9, 7, 3, 5.
int MarkerRow(int n);

// Draws value as seven-segment digit pictures (16 x 21 pixels each, never scaled) taken from
// art's green or red digit strip, onto any canvas. When rightAligned, x is the right edge of
// the number, otherwise its left edge; y is its top. One extra black cell is blanked on the
// left (right-aligned) or on the right (left-aligned) so that a number one digit shorter than
// the last one drawn there leaves no stale digit. The strips have no minus sign, so a negative
// value is drawn as 0. Leaves the canvas's pen and brush black. At another pixel ratio than 1 the
// digits are that many times larger (rounded as ScreenScale::Px), from the art's laid-out strips.
void DrawNumber(Canvas& target, const MainArt& art, int value, int x, int y, bool green,
                bool right_aligned, double ratio = 1);

// The two picture keys right of the bet keys.
enum class PlayKey { kMaxBet, kSpin };

class MainScreen {
 public:
  // Corners for CutFrameCorner.
  enum class Corner { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

  // The screen reads gs (bet, reels, wins) and the layout (its scale and reel geometry); the art
  // must have its working bitmaps prepared. All four must outlive the screen.
  MainScreen(const GameState& gs, const ScreenLayout& layout, const MainArt& art, Canvas& canvas);

  // The full repaint: background, markers, paths, reel frames, the winning markers after a
  // paying spin, the reels at rest, meter frame and meters, bet keys, BET MAX and SPIN, coin
  // value, logo.
  // show_last_win false (while the reels of a new spin turn) paints every marker as the bet has
  // it instead of lighting the last spin's winners.
  void PaintAll(bool show_last_win = true);

  // Bet key k (1..5 paylines, 6..10 credits): white when lit, else the key colour of the
  // background art; caption black when lit, grey when not. Other k are ignored.
  void DrawBetButton(int k, bool lit);
  // The BET MAX or the SPIN key; lit shows the lower half of its art.
  void DrawPlayButton(PlayKey which, bool lit);
  // The black meter frame with rounded corners and its labels; blanks the winnings meter and
  // sets MeterTop. Also labels the coin slot "Insert" / "Coins".
  void DrawMeterFrame();
  // Rounds one corner of the frame by copying the colour beside it (one window pixel each way,
  // device pixels given).
  void CutFrameCorner(Corner corner, int x, int y);
  // The meter frame, then the credits and bet meters.
  void RedrawMeters();
  // Puts back the background art's patch (560, 99)-(644, 184).
  void RestoreBackgroundPatch();
  // The logo through its mask, top left of the cabinet, at its own pixel size.
  void DrawLogo();
  // Where the logo stands on the cabinet (the door to the maker's games page).
  QRect LogoPlace() const;
  // The coin value "5¢" in the white box of the coin panel.
  void DrawCoinValue();

  void DrawCreditsMeter();
  // The bet meter, showing amount: the stake in play, or the selection just made.
  void DrawBetMeter(int amount);
  // The winnings meter, showing amount (the win counted so far).
  void DrawWinMeter(int amount);
  // Top of the meter digits in window pixels, as the last DrawMeterFrame set it.
  int MeterTop() const { return meter_top_; }

  // What the meters and keys show as last drawn, for those who read the cabinet rather than see
  // it: each meter's number (-1 while blank) and which keys are lit (bet keys 1..10; BET MAX,
  // SPIN).
  struct Showing {
    int coins = -1;
    int winnings = -1;
    int credits = -1;
    std::array<bool, 11> bet_key_lit{};
    std::array<bool, 2> play_key_lit{};
  };
  const Showing& Shown() const { return shown_; }
  const GameState& State() const { return gs_; }

  // Both markers of payline n (1..9): lit with the number in white, or dim without a number.
  void DrawLineMarkers(int n, bool lit);
  // Markers of the paylines bet lit, the others dim.
  void DrawAllLineMarkers();
  // The coloured path of payline n across the reel area, in the colour its left marker shows
  // right now, which LineColour(n) reports from then on.
  void DrawPaylinePath(int n);
  // Colour (0xRRGGBB) of payline n's path as last drawn (black before its first path); the
  // scatter win kScatterWin is white once any path has been drawn.
  uint32_t LineColour(int n) const { return n >= 0 && n <= kScatterWin ? line_colour_[n] : 0; }
  // Puts the frame strips beside each reel window back over the paths.
  void RestoreReelFrames();

  // The three symbols of reel r (0..4) at its stop.
  void DrawReelAtRest(int r);
  // The one symbol of reel r (0..4), row (0..2) at its stop.
  void DrawCellAtRest(int r, int row);
  // The spinning picture of reel r: three cells' height of the stretched strip from row
  // offset, joining the strip's end to its start when the window passes the end.
  void DrawSpinSlice(int r, int offset);
  // Reel r's landed picture as the window shows it now, taken once for its bounce, into *picture:
  // into its own pixels when it has the size already (a spin's landing makes no new picture).
  void TakeLandingPicture(int r, QImage* picture) const;
  // A landing picture drawn shift pixels down (up when negative) inside reel r's window: rows
  // pushed outside the window are not drawn, so the frame art above and below stays clean.
  void DrawBounce(int r, const QImage& picture, int shift);
  // The symbol cell of code frame (a wild animation frame 0..4) at reel, row.
  void DrawWildFrame(int reel, int row, int frame);
  // The cell at reel, row filled white (a winning cell's blink).
  void FillCellWhite(int reel, int row);

 private:
  // Puts the laid-out background back over (left, top)-(right, bottom) of the window.
  void PutBackBackground(int left, int top, int right, int bottom);
  // Copies sheet cell code to the window cell of reel, row; a code outside the sheet is black.
  void DrawCell(int reel, int row, int code);

  const GameState& gs_;
  const ScreenLayout& layout_;
  const MainArt& art_;
  Canvas& canvas_;
  int meter_top_;
  std::array<uint32_t, kScatterWin + 1> line_colour_{};
  Showing shown_;
};
