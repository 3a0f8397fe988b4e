// The cabinet as the main window shows it: the layout for the game area it has, the art made
// ready for that layout, the surface it is drawn on and the painters that draw there.
#pragma once

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "screen/layout.h"
#include "screen/main_art.h"
#include "screen/main_screen.h"
#include "screen/status_line.h"

struct Cabinet {
  // Loads the art carried with the program and the replacements beside it (app_dir, named from
  // sound_root), and lays the cabinet out for a screen screen_width x screen_height whose game
  // area is game_area_height high, all in window units, drawn at pixel_ratio device pixels each.
  // The carried pictures come from pictures where given (decoding ahead since the program
  // started).
  Cabinet(const GameState& gs, const std::string& app_dir, const std::string& sound_root,
          int screen_width, int screen_height, int game_area_height, int pixel_ratio = 1,
          std::shared_ptr<DecodedPictures> pictures = nullptr);

  // Lays the cabinet out again for a game area game_area_height high: the layout width, the
  // symbol art and reel geometry for it, and a surface of the cabinet's size. Returns whether
  // the layout width changed.
  bool LayOut(int game_area_height);

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
};
