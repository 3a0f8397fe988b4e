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

struct Cabinet {
  // Loads the art carried with the program and the replacements beside it (app_dir, named from
  // sound_root), and lays the cabinet out for a screen screen_width x screen_height whose game
  // area is game_area_height high, all in window units, drawn at pixel_ratio device pixels each
  // (1.5 on a desktop scaled to 150 %).
  // Art kept from an earlier start (kept) at this layout is read back instead, when it was made
  // from the same program and pictures. The surface is made in surface's memory where given and
  // large enough.
  Cabinet(const GameState& gs, const std::string& app_dir, const std::string& sound_root,
          int screen_width, int screen_height, int game_area_height, double pixel_ratio = 1,
          KeptArt kept = {}, std::shared_ptr<SurfaceAhead> surface = nullptr);
  // Waits for the art being kept.
  ~Cabinet();
  Cabinet(const Cabinet&) = delete;
  Cabinet& operator=(const Cabinet&) = delete;

  // Lays the cabinet out again for a game area game_area_height high: the layout width, the
  // symbol art and reel geometry for it, and a surface of the cabinet's size. Returns whether
  // the layout width changed.
  bool LayOut(int game_area_height);
  // The size of the cabinet's surface for the layout in force, in device pixels.
  QSize SurfaceSize() const;

  // Keeps the art as now laid out for the next start, on a thread of its own; not when it was
  // read from what was kept, nor when a picture beside the program could not be used.
  void KeepLaidOutArt();

  std::string app_dir;
  std::string sound_root;
  ScreenLayout layout;
  MainArt art;
  Canvas canvas;
  // The symbol sheet as the files beside the program left it, before a per-width sheet.
  QImage carried_sheet;
  // Why a replacement picture beside the program was not used, as found (a sheet for another
  // layout when a later layout tries it); whoever reports them clears them.
  std::vector<std::string> art_problems;
  MainScreen screen;
  StatusLine status;

 private:
  // Lays the art out for layout width `width` (read back from what was kept, when try_kept and
  // it matches) and sizes the surface.
  void LayOutArt(int width, bool try_kept);
  // Reads the art kept for layout width `width`, if any matches; true when it did.
  bool ReadKeptArt(int width);
  // A black surface of the cabinet's size for the layout in force.
  void ResizeSurface();

  KeptArt kept_;
  std::string kept_key_;            // what the current layout was made from
  bool layout_kept_ = false;        // the current layout was read back, or has been kept since
  bool replacements_clean_ = true;  // every picture beside the program could be used
  bool layout_clean_ = false;       // nor could any the current layout looked for
  std::future<void> keeping_;
  std::shared_ptr<SurfaceAhead> surface_ahead_;  // until the first surface is made
};
