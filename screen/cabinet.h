// The cabinet as the main window shows it: the layout for the game area it has, the art made
// ready for that layout, the surface it is drawn on and the painters that draw there.
#pragma once

#include <QImage>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "screen/layout.h"
#include "screen/main_art.h"
#include "screen/main_screen.h"
#include "screen/status_line.h"

// Where the art laid out at start-up is kept for the next start (laid_out_art.h): the folder,
// and the program file whose art it is. No folder: nothing is kept.
struct KeptArt {
  std::string dir;
  std::string program_file;
};

class Cabinet {
 public:
  // Loads the art carried with the program and the replacements beside it (app_dir, named from
  // sound_root), and lays the cabinet out for a screen screen_width x screen_height whose game
  // area is game_area_width x game_area_height, all in window units, drawn at pixel_ratio device
  // pixels each (1.5 on a desktop scaled to 150 %). Art kept from an earlier start (kept) at this
  // layout is read back instead, when it was made from the same program and pictures. The surface
  // is made in surface's memory where given and large enough.
  Cabinet(const GameState& gs, const std::string& app_dir, const std::string& sound_root,
          int screen_width, int screen_height, int game_area_width, int game_area_height,
          double pixel_ratio = 1, KeptArt kept = {},
          std::shared_ptr<SurfaceAhead> surface = nullptr);
  // Waits for the art being kept.
  ~Cabinet();
  Cabinet(const Cabinet&) = delete;
  Cabinet& operator=(const Cabinet&) = delete;

  // Whether a game area of this size takes the layout width in force.
  bool FitsArea(int game_area_width, int game_area_height) const;
  // Lays the cabinet out again for a game area of this size: the layout width, the
  // symbol art and reel geometry for it, and a surface of the cabinet's size. Returns whether
  // the layout width changed.
  bool LayOut(int game_area_width, int game_area_height);
  // Centres the cabinet in a game area area_width wide (window units).
  void PlaceIn(int area_width);
  // The size of the cabinet's surface for the layout in force, in device pixels.
  QSize SurfaceSize() const;

  // Keeps the art as now laid out for the next start, on a thread of its own; not when it was
  // read from what was kept, nor when a picture beside the program could not be used.
  void KeepLaidOutArt();

  // Why each replacement picture beside the program found unusable since the last call was not
  // used (a sheet for another layout shows up when a later layout tries it).
  std::vector<std::string> TakeArtProblems();
  // Lets go of the decoded pictures the layouts so far shared: once the window has its size.
  void ReleaseDecodedPictures();

  const ScreenLayout& Layout() const { return layout_; }
  const MainArt& Art() const { return art_; }
  // The symbol sheet as the files beside the program left it, before a per-width sheet.
  const QImage& CarriedSheet() const { return carried_sheet_; }
  // The surface the cabinet is drawn on, the painters that draw it and the win cycle's status
  // line on it.
  Canvas& Surface() { return canvas_; }
  const Canvas& Surface() const { return canvas_; }
  MainScreen& Screen() { return screen_; }
  const MainScreen& Screen() const { return screen_; }
  StatusLine& Status() { return status_; }
  const StatusLine& Status() const { return status_; }

 private:
  // Lays the art out for layout width `width` (read back from what was kept, when try_kept and
  // it matches) and sizes the surface.
  void LayOutArt(int width, bool try_kept);
  // Reads the art kept for layout width `width`, if any matches; true when it did.
  bool ReadKeptArt(int width);
  // A black surface of the cabinet's size for the layout in force.
  void ResizeSurface();

  std::string app_dir_;
  std::string sound_root_;
  ScreenLayout layout_;
  MainArt art_;
  Canvas canvas_;
  QImage carried_sheet_;
  std::vector<std::string> art_problems_;
  MainScreen screen_;
  StatusLine status_;
  KeptArt kept_;
  std::string kept_key_;            // what the current layout was made from
  bool layout_kept_ = false;        // the current layout was read back, or has been kept since
  bool replacements_clean_ = true;  // every picture beside the program could be used
  bool layout_clean_ = false;       // nor could any the current layout looked for
  std::future<void> keeping_;
  std::shared_ptr<SurfaceAhead> surface_ahead_;  // until the first surface is made
};
