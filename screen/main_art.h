// The main window's art: the pictures carried with the program, their replacements from files
// beside it, and the working bitmaps that painting and the reel animation copy from.
//
// Everything here runs once at start-up. All decoding, converting and stretching happens in
// these functions, so that painting only copies rectangles out of ready RGB32 images.
#pragma once

#include <QImage>
#include <QString>
#include <string>
#include <vector>

struct GameState;

// The design sizes of the carried art.
inline constexpr int kDesignWidth = 800;
inline constexpr int kDesignHeight = 600;
inline constexpr int kArtCell = 76;     // symbol cell of the carried sheet and strip
inline constexpr int kDigitWidth = 16;  // one digit cell of the digit strips
inline constexpr int kDigitHeight = 21;
inline constexpr int kMarkerRowHeight = 25;  // one row of the payline marker art

struct MainArt {
  // The pictures, named as the window's components. A file beside the program may replace
  // the JPEG ones; the others are always the carried art. Every image is Format_RGB32, masks
  // included, so the raster operations never convert while drawing.
  QImage JPEGImage1;       // background, 800 x 600
  QImage JPEGImage2;       // spinning-reel strip, 76 x 912, top and bottom join seamlessly
  QImage JPEGImage3;       // symbol sheet, 4 x 6 cells of 76
  QImage JPEGBet5But;      // BET MAX key, unlit over lit, 57 x 68
  QImage JPEGSpinBut;      // SPIN key, unlit over lit, 58 x 70
  QImage JPEGBet1bDimmed;  // a dimmed coin key, 57 x 110
  QImage Logo;             // 125 x 70, black where the mask is white
  QImage LogoMask;         // black where the logo is opaque, white elsewhere
  QImage LineBubbles;      // payline markers lit, 9 rows of 25 pixels, 90 wide
  QImage LineBubblesDim;   // the same, dim
  QImage LineBubblesNeg;   // their mask: black on the markers, white elsewhere
  QImage DigitsSmall;      // red digits 0..9 in 16 x 21 cells, 188 x 21
  QImage GreenSmall;       // green digits, same layout

  // Working bitmaps, made by PrepareWorkingBitmaps and LoadArtForResolution.
  QImage BackgroundBitmap;
  QImage SpinStripSourceBitmap;
  QImage SpinStripBitmap;  // the strip stretched by Scale; its height is the wrap of a spin
  QImage SymbolSourceBitmap;
  QImage SymbolBitmap;  // cells of CellSize, cut at multiples of CellSize
  QImage MaxBetButtonBitmap;
  QImage SpinButtonBitmap;
  QImage DimmedCoinBitmap;
};

// Decodes the art carried with the program (Qt resources under :/art/main/). JPEG pictures go
// through our libjpeg decoder. Returns false and says which picture failed (missing, corrupt
// or of the wrong size) when the program's own art is unusable.
bool LoadBuiltInArt(MainArt& art, QString* error);

// Start-up step: replaces pictures by files in appDir, each only if a file of that name
// exists there, the name matched without regard to letter case:
//   "TESTER.jpg" -> JPEGImage1, "MOTIONX.jpg" -> JPEGImage2, "Bet5But.jpg" -> JPEGBet5But,
//   "SpinBut.jpg" -> JPEGSpinBut, "BET1B.jpg" -> JPEGBet1bDimmed, soundRoot + ".jpg" ->
//   JPEGImage3.
// A missing file is silent. A file that exists but cannot be decoded keeps the carried picture,
// and a line naming the file and the reason is added to problems (when given).
void ReplaceArtFromFiles(MainArt& art, const std::string& appDir, const std::string& soundRoot,
                         std::vector<std::string>* problems);

// Start-up step: converts the background, strip, BET MAX, SPIN and dimmed coin pictures into
// their working bitmaps at their own size, and empties the symbol bitmaps and the stretched
// strip until LoadArtForResolution fills them.
void PrepareWorkingBitmaps(MainArt& art);

// Start-up step: chooses the symbol art and the reel geometry by the current screen width.
// Stretches the strip by Scale; at widths 1600, 1280, 1152 and 1024 loads the sheet
// soundRoot + "152.jpg" / "122.jpg" / "110.jpg" / "98.jpg" from appDir (name matched without
// regard to case) into JPEGImage3 and uses it 1:1 with CellSize 152 / 122 / 110 / 98; at 800
// uses JPEGImage3 1:1 with CellSize 76; otherwise, or when the sheet file is missing or cannot
// be decoded, stretches JPEGImage3 by Scale and uses CellSize = Scale(76). Sets CellSize,
// ReelsLeft, ReelsTop, ReelPitch and BlurHeight in gs. Must follow PrepareWorkingBitmaps.
void LoadArtForResolution(MainArt& art, GameState& gs, const std::string& appDir,
                          const std::string& soundRoot);

// The entry of dir whose name equals name without regard to (ASCII) letter case, as a full
// path; an exact match wins over other spellings. Empty when there is none.
std::string FindFileNoCase(const std::string& dir, const std::string& name);
