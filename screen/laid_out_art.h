// The cabinet's art as laid out for one layout width and pixel ratio, kept in a file between runs.
//
// Laying the art out for a large screen decodes the large masters and reduces them smoothly: tens
// of milliseconds before the first picture. The result depends only on the program's own art, the
// pictures beside it and the layout, so the next start at the same size reads it back instead, in
// a few milliseconds. The file is a cache: one that is missing, of another program build, of
// other pictures beside the program, of another layout, or damaged is simply not used, and the
// art is laid out as without it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "screen/layout.h"
#include "screen/main_art.h"

// What the laid-out art is made from, as text: the program file (size and time), the pictures
// beside it that may replace the carried ones (names, sizes and times), the asset prefix, and the
// layout width, the pixel ratio and the width in device pixels they make. A file kept under
// another key is not used.
std::string LaidOutArtKey(const std::string& program_file, const std::string& app_dir,
                          const std::string& sound_root, int layout_width, double ratio);

// The file that keeps the art laid out at layout_width and ratio, in the folder dir: named by the
// layout width and the device width, so that each ratio of a screen keeps a file of its own.
std::string LaidOutArtPath(const std::string& dir, int layout_width, double ratio);

// The checksum a kept file carries of its pictures' pixels: a file whose pixels changed anywhere
// after they were written (a bad block, a stray write) is not used. Fed the bytes in order, in
// parts of any size; about 10 GB a second on one core.
class LaidOutArtChecksum {
 public:
  void Add(const unsigned char* data, size_t size);
  uint64_t Value() const;

 private:
  static constexpr size_t kStripe = 32;
  void AddStripe(const unsigned char* stripe);
  std::array<uint64_t, 4> lanes_{0x60ea27eeadc0b5d6ULL, 0xc2b2ae3d27d4eb4fULL, 0,
                                 0x61c8864e7a143579ULL};
  std::array<unsigned char, kStripe> partial_{};
  size_t partial_size_ = 0;
  uint64_t length_ = 0;
};

// How many layouts are kept at most: a screen or two, and a window moved between them.
inline constexpr int kLaidOutArtKept = 3;

// Removes all but the `keep` most recently written laid-out art files in dir.
void ForgetOlderLaidOutArt(const std::string& dir, int keep = kLaidOutArtKept);

// Writes every picture of art (as carried, as replaced and as laid out), the carried sheet and the
// reel geometry of screen_layout to path under key: to a file beside it first, flushed to the
// disk, which then takes the place of path, so that path is always whole or absent. Makes the
// folder. False, and why in *error, when it can't.
bool SaveLaidOutArt(const std::string& path, const std::string& key, const MainArt& art,
                    const QImage& carried_sheet, const ScreenLayout& screen_layout,
                    std::string* error = nullptr);

// Reads what SaveLaidOutArt wrote into art, carried_sheet and the reel geometry of
// screen_layout, if path holds a whole file of this format under key, its head undamaged, and
// its reel geometry (and the sheet, strip and background it sizes) is what laying the art out for
// screen_layout.scale makes. False, with nothing changed, otherwise. The pictures are read into
// memory of their own: the file may change or go afterwards. art.decoded is left as it is.
bool LoadLaidOutArt(const std::string& path, const std::string& key, MainArt& art,
                    QImage& carried_sheet, ScreenLayout& screen_layout);
