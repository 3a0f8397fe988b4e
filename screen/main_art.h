// The main window's art: the pictures carried with the program, their replacements from files
// beside it, and the working bitmaps that painting and the reel animation copy from.
//
// Everything here runs once at start-up. All decoding, converting and stretching happens in
// these functions, so that painting only copies rectangles out of ready RGB32 images.
#pragma once

#include <QImage>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "screen/decoded_pictures.h"
#include "screen/layout.h"

struct ScreenLayout;

// One digit cell of the digit strips.
inline constexpr int kDigitWidth = 16;
inline constexpr int kDigitHeight = 21;

// The carried pictures of the cabinet are also painted at 2 and 4 times their design size. A
// picture shown at `shown_scale` times its design size (in device pixels) is made from the
// smallest of those masters that is at least as large, or from the largest when none is: it is
// then only ever reduced, never enlarged, up to 4 times the design size.
inline constexpr int kMasterFactors[] = {1, 2, 4};
int MasterFactor(double shown_scale);

// Which pictures are still the carried ones, whose masters may stand in for them; a picture
// replaced by a file beside the program is used at every size, stretched where it must be.
struct CarriedPictures {
  bool background = false;
  bool spin_strip = false;
  bool symbol_sheet = false;
  bool max_bet_key = false;
  bool spin_key = false;
  bool markers = false;
  bool logo = false;
};

// One payline marker column laid out: the pictures lit and dim and their mask, nine rows of the
// laid-out row height, as wide as the column is drawn.
struct MarkerColumnArt {
  QImage lit;
  QImage dim;
  QImage mask;
};

struct MainArt {
  // The pictures, named as the window's components. A file beside the program may replace
  // the JPEG ones; the others are always the carried art. Every image is Format_RGB32, masks
  // included, so the raster operations never convert while drawing. Every picture here is also
  // kept between runs (laid_out_art.cpp): a picture added here is added there, with its format
  // version raised.
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
  CarriedPictures carried;      // set by LoadBuiltInArt, cleared picture by picture on replacing
  // The carried pictures as decoded, shared by the layouts of a start-up.
  std::shared_ptr<DecodedPictures> decoded = std::make_shared<DecodedPictures>();

  // Working bitmaps at the size they are drawn, made by LoadArtForResolution: painting copies
  // them pixel for pixel and never scales.
  QImage background_bitmap;  // the whole cabinet as laid out
  QRgb key_colour = 0;       // the unlit bet keys' colour, taken from the background picture
  QImage spin_strip_bitmap;  // CellSize wide and BlurHeight high: the wrap of a spin
  QImage symbol_bitmap;      // cells of CellSize, cut at multiples of CellSize
  QImage max_bet_unlit, max_bet_lit;  // the BET MAX key's halves as laid out
  QImage spin_unlit, spin_lit;        // the SPIN key's halves as laid out
  MarkerColumnArt left_markers, right_markers;
  // The frame strips beside each reel window, as laid out beside the window where it is drawn
  // (a pixel off the scaled background at some widths), to be put back over the payline paths.
  std::array<QImage, kReels> left_frames, right_frames;
  // The pictures drawn at their own pixel size, times the layout's pixel ratio.
  QImage logo_bitmap, logo_mask_bitmap;
  QImage digits_bitmap, green_bitmap;
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

// Start-up step: makes every picture Format_RGB32 and empties the working bitmaps until
// LoadArtForResolution fills them.
void PrepareWorkingBitmaps(MainArt& art);

// Start-up step: lays the art out for the layout width and pixel ratio of screen_layout.scale.
// At widths 1600, 1280, 1152 and 1024 loads the sheet soundRoot + "152.jpg" / "122.jpg" /
// "110.jpg" / "98.jpg" from appDir (name matched without regard to case) into
// symbol_sheet_picture and uses it with CellSize 152 / 122 / 110 / 98 (times the pixel ratio,
// stretched where it is above 1); at 800 and ratio 1 uses symbol_sheet_picture 1:1 with
// CellSize 76; otherwise, or when the sheet file is missing or
// cannot be decoded, CellSize = scale.Scale(76) and the cells come from the carried sheet's
// master (reduced smoothly) or from a replacement sheet (stretched). The background, keys, strip
// and markers are made at their laid-out size the same way: from their masters while carried,
// stretched when replaced; so are the logo and the digits at their own size times the ratio.
// Sets CellSize, ReelsLeft, ReelsTop, ReelPitch and BlurHeight in
// screen_layout. Must follow PrepareWorkingBitmaps. A sheet beside the program that can't be
// used is noted in problems, when given.
void LoadArtForResolution(MainArt& art, ScreenLayout& screen_layout, const std::string& app_dir,
                          const std::string& sound_root,
                          std::vector<std::string>* problems = nullptr);

// The cell of the symbol sheet drawn for layout width `width` (152, 122, 110, 98, or 76 for the
// design width itself), 0 for a width without one.
int SheetCellForWidth(int width);

// The reel geometry LoadArtForResolution sets for symbols drawn in cells of cell_size and a
// spinning strip picture strip_height high: ReelsLeft, ReelsTop, ReelPitch and BlurHeight from
// screen_layout.scale, and CellSize.
void SetReelGeometry(ScreenLayout& screen_layout, int cell_size, int strip_height);
