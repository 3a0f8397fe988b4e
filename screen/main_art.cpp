#include "screen/main_art.h"

#include <QPainter>
#include <array>
#include <cstdint>
#include <cstring>
#include <future>
#include <initializer_list>
#include <iterator>
#include <utility>

#include "platform/file_lookup.h"
#include "platform/jpeg.h"
#include "screen/scale.h"

namespace {

QString MasterPath(const char* stem, const char* extension, int factor) {
  return QStringLiteral(":/art/main/%1_%2x.%3")
      .arg(QLatin1String(stem))
      .arg(factor)
      .arg(QLatin1String(extension));
}

QImage ToRgb32(const QImage& image) {
  if (image.isNull() || image.format() == QImage::Format_RGB32) return image;
  return image.convertToFormat(QImage::Format_RGB32);
}

// Nearest-neighbour stretch of the whole picture: each target pixel takes the source pixel
// its top-left corner falls on, so every pixel of the result is one of the art's own colours.
QImage Stretch(const QImage& source, int width, int height) {
  if (source.isNull() || width < 1 || height < 1) return QImage();
  const QImage src = ToRgb32(source);
  if (src.width() == width && src.height() == height) return src;
  QImage out(width, height, QImage::Format_RGB32);
  const int64_t sw = src.width();
  const int64_t sh = src.height();
  for (int y = 0; y < height; ++y) {
    const auto* in =
        reinterpret_cast<const QRgb*>(src.constScanLine(static_cast<int>(y * sh / height)));
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < width; ++x) line[x] = in[x * sw / width];
  }
  return out;
}

// A smooth reduction of a master to the size it is drawn at (a copy when the sizes agree).
QImage Reduce(const QImage& master, int width, int height) {
  if (master.isNull() || width < 1 || height < 1) return QImage();
  if (master.width() == width && master.height() == height) return ToRgb32(master);
  if (2 * width < master.width() || 2 * height < master.height()) {
    // Reduced more than twice: every master pixel is averaged into the result.
    return ToRgb32(master.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  }
  // Reduced at most twice, as a master chosen for its size always is: bilinear filtering takes
  // every master pixel into account already, at a fraction of the averaging's time.
  QImage reduced(width, height, QImage::Format_RGB32);
  QPainter painter(&reduced);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QRect(0, 0, width, height), ToRgb32(master));
  return reduced;
}

// The carried master of a picture at factor times its design size, decoded now; the design-size
// picture itself at factor 1, or when the master can't be read (the program's own art is
// checked when it is built, so this is a guard, not a path).
QImage LoadMaster(DecodedPictures& decoded, const char* stem, const char* extension, int factor,
                  const QImage& one_x) {
  if (factor == 1) return one_x;
  const QString path = MasterPath(stem, extension, factor);
  const QImage master = decoded.Get(path, [&path] { return DecodeCarriedPicture(path); });
  if (master.isNull() || master.size() != one_x.size() * factor) return one_x;
  return ToRgb32(master);
}

// Where a master comes from: its factor and picture, for cutting design rectangles out of it.
struct Source {
  QImage picture;
  int factor = 1;       // master pixels per design pixel (1 for a replacement: its own pixels)
  bool smooth = false;  // reduced smoothly (a master) or stretched (a replacement)

  QImage Cut(int left, int top, int width, int height, int to_width, int to_height) const {
    const QRect rect(left * factor, top * factor, width * factor, height * factor);
    const QImage part = rect == picture.rect() ? picture : picture.copy(rect);
    return smooth ? Reduce(part, to_width, to_height) : Stretch(part, to_width, to_height);
  }
};

Source SourceFor(DecodedPictures& decoded, bool carried, const char* stem, const char* extension,
                 const QImage& picture, double shown_scale) {
  if (!carried) return {picture, 1, false};
  const int factor = MasterFactor(shown_scale);
  return {LoadMaster(decoded, stem, extension, factor, picture), factor, true};
}

// A reduced mask is made black and white again, and its picture black wherever the mask is
// white, so that the AND and OR of the markers over the cabinet stay exact.
void SharpenMask(QImage& mask, std::initializer_list<QImage*> pictures) {
  for (int y = 0; y < mask.height(); ++y) {
    auto* m = reinterpret_cast<QRgb*>(mask.scanLine(y));
    for (int x = 0; x < mask.width(); ++x) {
      const bool opaque = qGray(m[x]) < 128;
      m[x] = opaque ? 0xff000000u : 0xffffffffu;
      if (opaque) continue;
      for (QImage* picture : pictures)
        reinterpret_cast<QRgb*>(picture->scanLine(y))[x] = 0xff000000u;
    }
  }
}

struct BuiltIn {
  const char* resource;
  QImage MainArt::*member;
  int width;
  int height;
};

constexpr BuiltIn kBuiltIn[] = {
    {":/art/main/background.jpg", &MainArt::background_picture, kDesignWidth,
     layout::kDesignHeight},
    {":/art/main/spin_strip.jpg", &MainArt::spin_strip_picture, layout::kCell, 12 * layout::kCell},
    {":/art/main/symbols.jpg", &MainArt::symbol_sheet_picture, 4 * layout::kCell,
     6 * layout::kCell},
    {":/art/main/bet_max.jpg", &MainArt::max_bet_key_picture, 57, 68},
    {":/art/main/spin.jpg", &MainArt::spin_key_picture, 58, 70},
    {":/art/main/coin_dimmed.jpg", &MainArt::dimmed_coin_picture, 57, 110},
    {":/art/main/logo.png", &MainArt::logo, 125, 70},
    {":/art/main/logo_mask.png", &MainArt::logo_mask, 125, 70},
    {":/art/main/line_bubbles.png", &MainArt::line_bubbles, 90, 9 * layout::kMarkerRowHeight},
    {":/art/main/line_bubbles_dim.png", &MainArt::line_bubbles_dim, 90,
     9 * layout::kMarkerRowHeight},
    {":/art/main/line_bubbles_mask.png", &MainArt::line_bubbles_neg, 90,
     9 * layout::kMarkerRowHeight},
    {":/art/main/digits_red.png", &MainArt::digits_small, 188, kDigitHeight},
    {":/art/main/digits_green.png", &MainArt::green_small, 188, kDigitHeight},
};

struct Replacement {
  const char* name;  // empty: the symbol sheet named from the sound prefix
  QImage MainArt::*member;
  bool CarriedPictures::*carried;  // its masters, which a replacement sets aside
};

constexpr Replacement kReplacements[] = {
    {"TESTER.jpg", &MainArt::background_picture, &CarriedPictures::background},
    {"MOTIONX.jpg", &MainArt::spin_strip_picture, &CarriedPictures::spin_strip},
    {"Bet5But.jpg", &MainArt::max_bet_key_picture, &CarriedPictures::max_bet_key},
    {"SpinBut.jpg", &MainArt::spin_key_picture, &CarriedPictures::spin_key},
    {"BET1B.jpg", &MainArt::dimmed_coin_picture, nullptr},
    {"", &MainArt::symbol_sheet_picture, &CarriedPictures::symbol_sheet},
};

// Decodes path into *out when it holds a usable JPEG; otherwise leaves *out alone and notes why.
bool LoadReplacement(const std::string& path, QImage* out, std::vector<std::string>* problems) {
  QImage decoded;
  QString why;
  if (!LoadJpegFile(QString::fromStdString(path), &decoded, &why) || decoded.isNull()) {
    if (problems) {
      if (why.isEmpty()) why = QStringLiteral("not a readable JPEG picture");
      problems->push_back(path + ": " + why.toStdString() + " (the built-in picture is kept)");
    }
    return false;
  }
  *out = ToRgb32(decoded);
  return true;
}

}  // namespace

int MasterFactor(double shown_scale) {
  for (int factor : kMasterFactors) {
    if (factor >= shown_scale) return factor;
  }
  return kMasterFactors[std::size(kMasterFactors) - 1];
}

namespace {

// Decodes one carried picture and checks its size; says why not when it can't be used.
bool DecodeBuiltIn(DecodedPictures& decoded, const BuiltIn& item, QImage* image, QString* why) {
  const QString path = QString::fromLatin1(item.resource);
  *image = decoded.Get(path, [&path, why] { return DecodeCarriedPicture(path, why); });
  bool ok = !image->isNull();
  if (ok && (image->width() != item.width || image->height() != item.height)) {
    ok = false;
    *why = QStringLiteral("is %1 x %2 pixels instead of %3 x %4")
               .arg(image->width())
               .arg(image->height())
               .arg(item.width)
               .arg(item.height);
  }
  if (ok) *image = ToRgb32(*image);
  return ok;
}

}  // namespace

bool LoadBuiltInArt(MainArt& art, QString* error) {
  // Decoded one after another: decoding the background on a second core saved no measurable
  // time before the first picture (and only a first start decodes; later ones read the art kept).
  constexpr size_t kCount = std::size(kBuiltIn);
  std::array<QImage, kCount> images;
  std::array<QString, kCount> why;
  std::array<bool, kCount> ok{};
  for (size_t i = 0; i < kCount; ++i) {
    ok[i] = DecodeBuiltIn(*art.decoded, kBuiltIn[i], &images[i], &why[i]);
  }
  for (size_t i = 0; i < kCount; ++i) {
    if (!ok[i]) {
      if (error) {
        *error = QStringLiteral("The game's picture %1 is unusable: %2")
                     .arg(QString::fromLatin1(kBuiltIn[i].resource), why[i]);
      }
      return false;
    }
    art.*kBuiltIn[i].member = images[i];
  }
  art.carried = {true, true, true, true, true, true, true};
  return true;
}

void ReplaceArtFromFiles(MainArt& art, const std::string& app_dir, const std::string& sound_root,
                         std::vector<std::string>* problems) {
  for (const Replacement& item : kReplacements) {
    const std::string name = *item.name ? std::string(item.name) : sound_root + ".jpg";
    const std::string path = FindFileNoCase(app_dir, name);
    if (path.empty() || !LoadReplacement(path, &(art.*item.member), problems)) continue;
    if (item.carried != nullptr) art.carried.*item.carried = false;
  }
}

void PrepareWorkingBitmaps(MainArt& art) {
  for (QImage* picture :
       {&art.background_picture, &art.spin_strip_picture, &art.symbol_sheet_picture,
        &art.max_bet_key_picture, &art.spin_key_picture, &art.dimmed_coin_picture, &art.logo,
        &art.logo_mask, &art.line_bubbles, &art.line_bubbles_dim, &art.line_bubbles_neg,
        &art.digits_small, &art.green_small}) {
    *picture = ToRgb32(*picture);
  }
  art.background_bitmap = QImage();
  art.spin_strip_bitmap = QImage();
  art.symbol_bitmap = QImage();
  art.max_bet_unlit = art.max_bet_lit = art.spin_unlit = art.spin_lit = QImage();
  art.left_markers = art.right_markers = {};
  art.left_frames = art.right_frames = {};
  art.logo_bitmap = art.logo_mask_bitmap = art.digits_bitmap = art.green_bitmap = QImage();
}

namespace {

// The carried sheet's cells reduced one by one from the largest sheet that is at least as large,
// so that no cell takes colour from its neighbour.
QImage SheetFromMaster(DecodedPictures& pictures, const QImage& one_x, int cell) {
  QImage master = one_x;
  if (cell > layout::kCell) {
    // Decoded straight to the eighth of its size nearest above the cells wanted.
    const QString path = QStringLiteral(":/art/main/symbols_304.jpg");
    const QImage decoded =
        pictures.Get(QStringLiteral("%1@%2").arg(path).arg(4 * cell), [&path, cell] {
          QImage image;
          return LoadJpegFile(path, &image, nullptr, 4 * cell) ? image : QImage();
        });
    if (!decoded.isNull() && decoded.width() >= 4 * cell && decoded.width() % 4 == 0 &&
        decoded.height() * 4 == decoded.width() * 6) {
      master = ToRgb32(decoded);
    }
  }
  const int from = master.width() / 4;
  if (from == cell) return master;
  QImage sheet(4 * cell, 6 * cell, QImage::Format_RGB32);
  for (int code = 0; code < 24; ++code) {
    const QImage one =
        Reduce(master.copy((code % 4) * from, (code / 4) * from, from, from), cell, cell);
    for (int y = 0; y < cell; ++y) {
      std::memcpy(sheet.scanLine((code / 4) * cell + y) + (code % 4) * cell * 4,
                  one.constScanLine(y), static_cast<size_t>(cell) * 4);
    }
  }
  return sheet;
}

// A key's two halves, unlit above lit, each at the size it is drawn at x, y of the design grid;
// a replacement key is drawn at its own size on the grid, as the carried one is.
void LayOutKey(DecodedPictures& decoded, const ScreenScale& scale, double shown_scale, bool carried,
               const char* stem, const QImage& picture, int x, int y, QImage* unlit, QImage* lit) {
  const Source source = SourceFor(decoded, carried, stem, "jpg", picture, shown_scale);
  const int w = picture.width();
  const int h = picture.height();
  const int half = h / 2;
  const int to_width = scale.Scale(x + w) - scale.Scale(x);
  const int to_height = scale.Scale(y + half) - scale.Scale(y);
  *unlit = source.Cut(0, 0, w, half, to_width, to_height);
  *lit = source.Cut(0, half, w, h - half, to_width, to_height);
}

// A digit strip with every cell stretched on its own to the digit's size in device pixels, side by
// side: at a fractional ratio a cell of the whole strip stretched at once would start between
// pixels.
QImage DigitCells(const QImage& strip, const ScreenScale& scale) {
  const int cells = strip.width() / kDigitWidth;
  const int w = scale.Px(kDigitWidth);
  const int h = scale.Px(kDigitHeight);
  if (strip.isNull() || cells < 1) return QImage();
  QImage out(cells * w, h, QImage::Format_RGB32);
  for (int c = 0; c < cells; ++c) {
    const QImage cell = Stretch(strip.copy(c * kDigitWidth, 0, kDigitWidth, kDigitHeight), w, h);
    for (int y = 0; y < h; ++y) {
      std::memcpy(reinterpret_cast<QRgb*>(out.scanLine(y)) + c * w, cell.constScanLine(y),
                  static_cast<size_t>(w) * 4);
    }
  }
  return out;
}

MarkerColumnArt LayOutMarkers(const ScreenScale& scale, const Source& lit, const Source& dim,
                              const Source& mask, const layout::MarkerColumn& column) {
  const int width = scale.Scale(column.width);
  const int row_height = scale.Scale(layout::kMarkerRowHeight);
  MarkerColumnArt out;
  for (QImage* image : {&out.lit, &out.dim, &out.mask}) {
    *image = QImage(width, 9 * row_height, QImage::Format_RGB32);
  }
  if (width < 1 || row_height < 1) return {};
  const int art_width = column.art_right - column.art_left;
  for (int r = 0; r < 9; ++r) {
    const int top = layout::kMarkerRowHeight * r;
    const std::pair<const Source*, QImage*> parts[] = {
        {&lit, &out.lit}, {&dim, &out.dim}, {&mask, &out.mask}};
    for (const auto& [from, to] : parts) {
      const QImage row =
          from->Cut(column.art_left, top, art_width, layout::kMarkerRowHeight, width, row_height);
      for (int y = 0; y < row_height; ++y) {
        std::memcpy(to->scanLine(r * row_height + y), row.constScanLine(y),
                    static_cast<size_t>(width) * 4);
      }
    }
  }
  if (mask.smooth) SharpenMask(out.mask, {&out.lit, &out.dim});
  return out;
}

}  // namespace

void LoadArtForResolution(MainArt& art, ScreenLayout& screen_layout, const std::string& app_dir,
                          const std::string& sound_root, std::vector<std::string>* problems) {
  const ScreenScale& scale = screen_layout.scale;
  const int width = scale.Width();
  // How many times its design size each cabinet picture is shown, in device pixels.
  const double shown_scale = scale.DeviceWidth() / static_cast<double>(kDesignWidth);
  DecodedPictures& decoded = *art.decoded;
  // The cabinet, the largest picture to decode and reduce, is laid out on a second core while
  // this one lays out the symbols (whose large sheet takes as long). A background of another
  // size than the design is stretched over the whole grid.
  struct LaidOutBackground {
    Source source;
    QImage bitmap;
  };
  std::future<LaidOutBackground> background_layout =
      std::async(std::launch::async, [&art, scale, shown_scale] {
        const QImage& bg = art.background_picture;
        LaidOutBackground out{
            SourceFor(*art.decoded, art.carried.background, "background", "jpg", bg, shown_scale),
            QImage()};
        out.bitmap = out.source.Cut(0, 0, bg.width(), bg.height(), scale.Scale(kDesignWidth),
                                    scale.Scale(layout::kDesignHeight));
        return out;
      });

  // Sheets drawn natively for the common widths; only an exact width selects one.
  const int sheet_cell = SheetCellForWidth(width);
  const double ratio = scale.ratio;
  bool native = width == kDesignWidth && ratio == 1;
  if (sheet_cell > 0 && width != kDesignWidth) {
    const std::string path =
        FindFileNoCase(app_dir, sound_root + std::to_string(sheet_cell) + ".jpg");
    // An unreadable sheet is treated like a missing one: the carried sheet is laid out.
    if (!path.empty()) native = LoadReplacement(path, &art.symbol_sheet_picture, problems);
  }

  const QImage& sheet = art.symbol_sheet_picture;
  const QImage& strip = art.spin_strip_picture;
  SetReelGeometry(screen_layout, native ? scale.Px(sheet_cell) : scale.Scale(layout::kCell),
                  strip.height());
  if (native) {
    // Whole cells of the laid-out size, so that the cells are cut where they begin.
    const int cell = screen_layout.CellSize;
    art.symbol_bitmap =
        Stretch(sheet, sheet.width() / sheet_cell * cell, sheet.height() / sheet_cell * cell);
  } else if (art.carried.symbol_sheet) {
    art.symbol_bitmap = SheetFromMaster(*art.decoded, sheet, screen_layout.CellSize);
  } else {
    art.symbol_bitmap = Stretch(sheet, scale.Scale(sheet.width()), scale.Scale(sheet.height()));
  }

  // The strip, as wide as a cell is drawn and as high as it scales: the wrap of a spin.
  art.spin_strip_bitmap =
      SourceFor(decoded, art.carried.spin_strip, "spin_strip", "jpg", strip, shown_scale)
          .Cut(0, 0, strip.width(), strip.height(), screen_layout.CellSize,
               screen_layout.BlurHeight);

  const QImage& bg = art.background_picture;
  const LaidOutBackground laid_out = background_layout.get();
  const Source& background = laid_out.source;
  art.background_bitmap = laid_out.bitmap;
  using layout::kCell, layout::kReelPitch, layout::kReelsTop;
  const int strip_height = 3 * screen_layout.CellSize;
  for (int i = 0; i < kReels; ++i) {
    art.left_frames[i] = background.Cut(layout::kLeftFrameStripLeft + kReelPitch * i, kReelsTop,
                                        layout::kLeftFrameStrip, kRows * kCell,
                                        scale.Scale(layout::kLeftFrameStrip), strip_height);
    art.right_frames[i] = background.Cut(layout::kReelsLeft + kCell + kReelPitch * i, kReelsTop,
                                         layout::kRightFrameStrip, kRows * kCell,
                                         scale.Scale(layout::kRightFrameStrip), strip_height);
  }
  art.key_colour = bg.valid(layout::kKeyColourX, layout::kKeyColourY)
                       ? bg.pixel(layout::kKeyColourX, layout::kKeyColourY)
                       : qRgb(0, 0, 0);

  LayOutKey(decoded, scale, shown_scale, art.carried.max_bet_key, "bet_max",
            art.max_bet_key_picture, layout::kMaxBetKeyLeft, layout::kPlayKeysTop,
            &art.max_bet_unlit, &art.max_bet_lit);
  LayOutKey(decoded, scale, shown_scale, art.carried.spin_key, "spin", art.spin_key_picture,
            layout::kSpinKeyLeft, layout::kPlayKeysTop, &art.spin_unlit, &art.spin_lit);

  const bool markers = art.carried.markers;
  const Source lit =
      SourceFor(decoded, markers, "line_bubbles", "png", art.line_bubbles, shown_scale);
  const Source dim =
      SourceFor(decoded, markers, "line_bubbles_dim", "png", art.line_bubbles_dim, shown_scale);
  const Source mask =
      SourceFor(decoded, markers, "line_bubbles_mask", "png", art.line_bubbles_neg, shown_scale);
  art.left_markers = LayOutMarkers(scale, lit, dim, mask, layout::kLeftMarkers);
  art.right_markers = LayOutMarkers(scale, lit, dim, mask, layout::kRightMarkers);

  // The logo and the digits keep their own pixel size, in window units.
  const QImage& logo = art.logo;
  const Source logo_source = SourceFor(decoded, art.carried.logo, "logo", "png", logo, ratio);
  const Source logo_mask =
      SourceFor(decoded, art.carried.logo, "logo_mask", "png", art.logo_mask, ratio);
  art.logo_bitmap = logo_source.Cut(0, 0, logo.width(), logo.height(), scale.Px(logo.width()),
                                    scale.Px(logo.height()));
  art.logo_mask_bitmap = logo_mask.Cut(0, 0, logo.width(), logo.height(), scale.Px(logo.width()),
                                       scale.Px(logo.height()));
  if (logo_mask.smooth) SharpenMask(art.logo_mask_bitmap, {&art.logo_bitmap});
  art.digits_bitmap = DigitCells(art.digits_small, scale);
  art.green_bitmap = DigitCells(art.green_small, scale);
}

int SheetCellForWidth(int width) {
  switch (width) {
    case 1600:
      return 152;
    case 1280:
      return 122;
    case 1152:
      return 110;
    case 1024:
      return 98;
    case kDesignWidth:
      return layout::kCell;
    default:
      return 0;
  }
}

void SetReelGeometry(ScreenLayout& screen_layout, int cell_size, int strip_height) {
  const ScreenScale& scale = screen_layout.scale;
  screen_layout.CellSize = cell_size;
  screen_layout.ReelsLeft = scale.Scale(layout::kReelsLeft);
  screen_layout.ReelsTop = scale.Scale(layout::kReelsTop);
  screen_layout.ReelPitch = scale.Scale(layout::kReelPitch);
  screen_layout.BlurHeight = scale.Scale(strip_height);
}
