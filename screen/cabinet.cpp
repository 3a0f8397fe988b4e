#include "screen/cabinet.h"

#include <utility>

#include "screen/layout_width.h"
#include "screen/scale.h"

Cabinet::Cabinet(const GameState& gs, const std::string& app_dir_in,
                 const std::string& sound_root_in, int screen_width, int screen_height,
                 int game_area_height, int pixel_ratio, std::shared_ptr<DecodedPictures> pictures)
    : app_dir(app_dir_in),
      sound_root(sound_root_in),
      screen(gs, layout, art, canvas),
      status(canvas, layout) {
  if (pictures != nullptr) art.decoded = std::move(pictures);
  layout.scale.ratio = pixel_ratio < 1 ? 1 : pixel_ratio;
  canvas.SetPixelRatio(layout.scale.ratio);
  layout.ScreenWidth = screen_width;
  layout.ScreenHeight = screen_height;
  QString error;
  if (!LoadBuiltInArt(art, &error)) art_problems.push_back(error.toStdString());
  ReplaceArtFromFiles(art, app_dir, sound_root, &art_problems);
  PrepareWorkingBitmaps(art);
  carried_sheet = art.symbol_sheet_picture;
  LayOut(game_area_height);
}

bool Cabinet::LayOut(int game_area_height) {
  const int width = LayoutWidth(layout.ScreenWidth, game_area_height);
  const bool changed = width != layout.scale.layout_width;
  layout.scale.layout_width = width;
  // A per-width sheet loaded for an earlier layout must not be taken for the carried one.
  art.symbol_sheet_picture = carried_sheet;
  LoadArtForResolution(art, layout, app_dir, sound_root, &art_problems);
  // Nothing is drawn outside the cabinet: the surface is the cabinet.
  canvas.Resize(layout.scale.Scale(kDesignWidth), layout.scale.Scale(layout::kDesignHeight));
  return changed;
}
