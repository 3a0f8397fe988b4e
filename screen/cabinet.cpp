#include "screen/cabinet.h"

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

#include "screen/laid_out_art.h"
#include "screen/layout_width.h"
#include "screen/scale.h"

Cabinet::Cabinet(const GameState& gs, const std::string& app_dir_in,
                 const std::string& sound_root_in, int screen_width, int screen_height,
                 int game_area_width, int game_area_height, double pixel_ratio, KeptArt kept,
                 std::shared_ptr<SurfaceAhead> surface)
    : app_dir_(app_dir_in),
      sound_root_(sound_root_in),
      screen_(gs, layout_, art_, canvas_),
      status_(canvas_, layout_),
      kept_(std::move(kept)),
      surface_ahead_(std::move(surface)) {
  layout_.scale.ratio = pixel_ratio < 1 ? 1 : pixel_ratio;
  canvas_.SetPixelRatio(layout_.scale.ratio);
  layout_.ScreenWidth = screen_width;
  layout_.ScreenHeight = screen_height;
  // Art kept from the last start at this size holds every picture, as carried and as replaced:
  // nothing is decoded.
  const int width = LayoutWidth(screen_width, game_area_width, game_area_height);
  if (ReadKeptArt(width)) {
    layout_.scale.layout_width = width;
    ResizeSurface();
    return;
  }
  QString error;
  if (!LoadBuiltInArt(art_, &error)) art_problems_.push_back(error.toStdString());
  ReplaceArtFromFiles(art_, app_dir_, sound_root_, &art_problems_);
  replacements_clean_ = art_problems_.empty();
  PrepareWorkingBitmaps(art_);
  carried_sheet_ = art_.symbol_sheet_picture;
  LayOutArt(width, /*try_kept=*/false);
}

bool Cabinet::LayOut(int game_area_width, int game_area_height) {
  const int width = LayoutWidth(layout_.ScreenWidth, game_area_width, game_area_height);
  const bool changed = width != layout_.scale.layout_width;
  LayOutArt(width, /*try_kept=*/true);
  return changed;
}

void Cabinet::LayOutArt(int width, bool try_kept) {
  layout_.scale.layout_width = width;
  if (!try_kept || !ReadKeptArt(width)) {
    // A per-width sheet loaded for an earlier layout must not be taken for the carried one.
    art_.symbol_sheet_picture = carried_sheet_;
    const size_t problems_before = art_problems_.size();
    LoadArtForResolution(art_, layout_, app_dir_, sound_root_, &art_problems_);
    layout_clean_ = replacements_clean_ && art_problems_.size() == problems_before;
  }
  ResizeSurface();
}

void Cabinet::ResizeSurface() {
  // Nothing is drawn outside the cabinet: the surface is the cabinet.
  canvas_.Resize(SurfaceSize().width(), SurfaceSize().height(), surface_ahead_.get());
  surface_ahead_.reset();
}

Cabinet::~Cabinet() {
  if (keeping_.valid()) keeping_.wait();
}

bool Cabinet::FitsArea(int game_area_width, int game_area_height) const {
  return LayoutWidth(layout_.ScreenWidth, game_area_width, game_area_height) ==
         layout_.scale.layout_width;
}

void Cabinet::PlaceIn(int area_width) {
  layout_.scale.offset = CabinetLeft(layout_.scale.Px(area_width), layout_.scale.DeviceWidth());
}

std::vector<std::string> Cabinet::TakeArtProblems() {
  return std::exchange(art_problems_, {});
}

void Cabinet::ReleaseDecodedPictures() {
  if (art_.decoded != nullptr) art_.decoded->Clear();
}

QSize Cabinet::SurfaceSize() const {
  return {layout_.scale.Scale(kDesignWidth), layout_.scale.Scale(layout::kDesignHeight)};
}

bool Cabinet::ReadKeptArt(int width) {
  layout_kept_ = false;
  layout_clean_ = false;
  if (kept_.dir.empty()) return false;
  layout_.scale.layout_width = width;
  kept_key_ = LaidOutArtKey(kept_.program_file, app_dir_, sound_root_, width, layout_.scale.ratio);
  layout_kept_ = LoadLaidOutArt(LaidOutArtPath(kept_.dir, width, layout_.scale.ratio), kept_key_,
                                art_, carried_sheet_, layout_);
  return layout_kept_;
}

void Cabinet::KeepLaidOutArt() {
  if (kept_.dir.empty() || layout_kept_ || !layout_clean_ || keeping_.valid()) return;
  layout_kept_ = true;
  // Written on a thread of its own: the 14 MB of a 1920x1080 layout take some 126 ms to write,
  // five reel frames if the user-interface thread wrote them as play begins. The pictures are
  // shared with the thread, not copied: the cabinet never draws into them.
  MainArt pictures = art_;
  pictures.decoded = nullptr;
  const std::string path =
      LaidOutArtPath(kept_.dir, layout_.scale.layout_width, layout_.scale.ratio);
  keeping_ = std::async(std::launch::async, [pictures = std::move(pictures), sheet = carried_sheet_,
                                             geometry = layout_, path, key = kept_key_] {
    // Below the user-interface thread: the game comes first.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    if (SaveLaidOutArt(path, key, pictures, sheet, geometry)) {
      ForgetOlderLaidOutArt(std::filesystem::path(path).parent_path().string());
    }
  });
}
