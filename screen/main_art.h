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

#include "screen/layout.h"

struct ScreenLayout;

// One digit cell of the digit strips.
inline constexpr int kDigitWidth = 16;
inline constexpr int kDigitHeight = 21;

struct MainArt {
  // The pictures, named as the window's components. A file beside the program may replace
  // the JPEG ones; the others are always the carried art. Every image is Format_RGB32, masks
  // included, so the raster operations never convert while drawing.
  QImage background_picture;    // background, 800 x 600
  QImage spin_strip_picture;    // spinning-reel strip, 76 x 912, top and bottom join seamlessly
  QImage symbol_sheet_picture;  // symbol sheet, 4 x 6 cells of 76
  QImage max_bet_key_picture;   // BET MAX key, unlit over lit, 57 x 68
  QImage spin_key_picture;      // SPIN key, unlit over lit, 58 x 70
  QImage dimmed_coin_picture;   // a dimmed coin key, 57 x 110
  QImage logo;                  // 125 x 70, black where the mask is white
  QImage logo_mask;             // black where the logo is opaque, white elsewhere
  QImage line_bubbles;          // payline markers lit, 9 rows of 25 pixels, 90 wide
  QImage line_bubbles_dim;      // the same, dim
  QImage line_bubbles_neg;      // their mask: black on the markers, white elsewhere
  QImage digits_small;          // red digits 0..9 in 16 x 21 cells, 188 x 21
  QImage green_small;           // green digits, same layout

  // Working bitmaps, made by PrepareWorkingBitmaps and LoadArtForResolution.
  QImage background_bitmap;
  QImage spin_strip_source_bitmap;
  QImage spin_strip_bitmap;  // the strip stretched by Scale; its height is the wrap of a spin
  QImage symbol_source_bitmap;
  QImage symbol_bitmap;  // cells of CellSize, cut at multiples of CellSize
  QImage max_bet_button_bitmap;
  QImage spin_button_bitmap;
  QImage dimmed_coin_bitmap;
};

// Decodes the art carried with the program (Qt resources under :/art/main/). JPEG pictures go
// through our libjpeg decoder. Returns false and says which picture failed (missing, corrupt
// or of the wrong size) when the program's own art is unusable.
bool LoadBuiltInArt(MainArt& art, QString* error);

// Start-up step: replaces pictures by files in appDir, each only if a file of that name
// exists there, the name matched without regard to letter case:
//   "TESTER.jpg" -> background_picture, "MOTIONX.jpg" -> spin_strip_picture, "Bet5But.jpg" ->
//   max_bet_key_picture, "SpinBut.jpg" -> spin_key_picture, "BET1B.jpg" -> dimmed_coin_picture,
//   soundRoot + ".jpg" -> symbol_sheet_picture.
// A missing file is silent. A file that exists but cannot be decoded keeps the carried picture,
// and a line naming the file and the reason is added to problems (when given).
void ReplaceArtFromFiles(MainArt& art, const std::string& app_dir, const std::string& sound_root,
                         std::vector<std::string>* problems);

// Start-up step: converts the background, strip, BET MAX, SPIN and dimmed coin pictures into
// their working bitmaps at their own size, and empties the symbol bitmaps and the stretched
// strip until LoadArtForResolution fills them.
void PrepareWorkingBitmaps(MainArt& art);

// Start-up step: chooses the symbol art and the reel geometry by the layout width of
// screen_layout.scale. Stretches the strip by that scale; at widths 1600, 1280, 1152 and 1024 loads
// the sheet soundRoot + "152.jpg" / "122.jpg" / "110.jpg" / "98.jpg" from appDir (name matched
// without regard to case) into symbol_sheet_picture and uses it 1:1 with CellSize 152 / 122 / 110 /
// 98; at 800 uses symbol_sheet_picture 1:1 with CellSize 76; otherwise, or when the sheet file is
// missing or cannot be decoded, stretches symbol_sheet_picture by the scale and uses CellSize =
// scale.Scale(76). Sets CellSize, ReelsLeft, ReelsTop, ReelPitch and BlurHeight in screen_layout.
// Must follow PrepareWorkingBitmaps. A sheet beside the program that can't be used is noted in
// problems, when given.
void LoadArtForResolution(MainArt& art, ScreenLayout& screen_layout, const std::string& app_dir,
                          const std::string& sound_root,
                          std::vector<std::string>* problems = nullptr);
