#include "screen/main_art.h"

#include <cstdint>

#include "platform/file_lookup.h"
#include "platform/jpeg.h"
#include "screen/scale.h"

namespace {

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

struct BuiltIn {
  const char* resource;
  QImage MainArt::*member;
  int width;
  int height;
  bool jpeg;
};

constexpr BuiltIn kBuiltIn[] = {
    {":/art/main/background.jpg", &MainArt::background_picture, kDesignWidth, layout::kDesignHeight,
     true},
    {":/art/main/spin_strip.jpg", &MainArt::spin_strip_picture, layout::kCell, 12 * layout::kCell,
     true},
    {":/art/main/symbols.jpg", &MainArt::symbol_sheet_picture, 4 * layout::kCell, 6 * layout::kCell,
     true},
    {":/art/main/bet_max.jpg", &MainArt::max_bet_key_picture, 57, 68, true},
    {":/art/main/spin.jpg", &MainArt::spin_key_picture, 58, 70, true},
    {":/art/main/coin_dimmed.jpg", &MainArt::dimmed_coin_picture, 57, 110, true},
    {":/art/main/logo.png", &MainArt::logo, 125, 70, false},
    {":/art/main/logo_mask.png", &MainArt::logo_mask, 125, 70, false},
    {":/art/main/line_bubbles.png", &MainArt::line_bubbles, 90, 9 * layout::kMarkerRowHeight,
     false},
    {":/art/main/line_bubbles_dim.png", &MainArt::line_bubbles_dim, 90,
     9 * layout::kMarkerRowHeight, false},
    {":/art/main/line_bubbles_mask.png", &MainArt::line_bubbles_neg, 90,
     9 * layout::kMarkerRowHeight, false},
    {":/art/main/digits_red.png", &MainArt::digits_small, 188, kDigitHeight, false},
    {":/art/main/digits_green.png", &MainArt::green_small, 188, kDigitHeight, false},
};

struct Replacement {
  const char* name;  // empty: the symbol sheet named from the sound prefix
  QImage MainArt::*member;
};

constexpr Replacement kReplacements[] = {
    {"TESTER.jpg", &MainArt::background_picture},   {"MOTIONX.jpg", &MainArt::spin_strip_picture},
    {"Bet5But.jpg", &MainArt::max_bet_key_picture}, {"SpinBut.jpg", &MainArt::spin_key_picture},
    {"BET1B.jpg", &MainArt::dimmed_coin_picture},   {"", &MainArt::symbol_sheet_picture},
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

bool LoadBuiltInArt(MainArt& art, QString* error) {
  for (const BuiltIn& item : kBuiltIn) {
    const QString path = QString::fromLatin1(item.resource);
    QImage image;
    QString why;
    bool ok;
    if (item.jpeg) {
      ok = LoadJpegFile(path, &image, &why);
    } else {
      ok = image.load(path, "PNG");
      if (!ok) why = QStringLiteral("missing or not a PNG picture");
    }
    if (ok && (image.width() != item.width || image.height() != item.height)) {
      ok = false;
      why = QStringLiteral("is %1 x %2 pixels instead of %3 x %4")
                .arg(image.width())
                .arg(image.height())
                .arg(item.width)
                .arg(item.height);
    }
    if (!ok) {
      if (error) *error = QStringLiteral("The game's picture %1 is unusable: %2").arg(path, why);
      return false;
    }
    art.*item.member = ToRgb32(image);
  }
  return true;
}

void ReplaceArtFromFiles(MainArt& art, const std::string& app_dir, const std::string& sound_root,
                         std::vector<std::string>* problems) {
  for (const Replacement& item : kReplacements) {
    const std::string name = *item.name ? std::string(item.name) : sound_root + ".jpg";
    const std::string path = FindFileNoCase(app_dir, name);
    if (!path.empty()) LoadReplacement(path, &(art.*item.member), problems);
  }
}

void PrepareWorkingBitmaps(MainArt& art) {
  art.background_bitmap = ToRgb32(art.background_picture);
  art.spin_strip_source_bitmap = ToRgb32(art.spin_strip_picture);
  art.max_bet_button_bitmap = ToRgb32(art.max_bet_key_picture);
  art.spin_button_bitmap = ToRgb32(art.spin_key_picture);
  art.dimmed_coin_bitmap = ToRgb32(art.dimmed_coin_picture);
  art.symbol_source_bitmap = QImage();
  art.symbol_bitmap = QImage();
  art.spin_strip_bitmap = QImage();
}

void LoadArtForResolution(MainArt& art, ScreenLayout& screen_layout, const std::string& app_dir,
                          const std::string& sound_root, std::vector<std::string>* problems) {
  const ScreenScale& scale = screen_layout.scale;
  const QImage& strip = art.spin_strip_source_bitmap;
  art.spin_strip_bitmap = Stretch(strip, scale.Scale(strip.width()), scale.Scale(strip.height()));

  // Sheets drawn natively for the common widths; only an exact width selects one.
  const char* ending = nullptr;
  int sheet_cell = 0;
  const int width = scale.Width();
  switch (width) {
    case 1600:
      ending = "152.jpg", sheet_cell = 152;
      break;
    case 1280:
      ending = "122.jpg", sheet_cell = 122;
      break;
    case 1152:
      ending = "110.jpg", sheet_cell = 110;
      break;
    case 1024:
      ending = "98.jpg", sheet_cell = 98;
      break;
    case kDesignWidth:
      sheet_cell = layout::kCell;
      break;
    default:
      break;
  }
  bool native = width == kDesignWidth;
  if (ending) {
    const std::string path = FindFileNoCase(app_dir, sound_root + ending);
    // An unreadable sheet is treated like a missing one: the carried sheet is stretched.
    if (!path.empty()) native = LoadReplacement(path, &art.symbol_sheet_picture, problems);
  }

  art.symbol_source_bitmap = ToRgb32(art.symbol_sheet_picture);
  if (native) {
    art.symbol_bitmap = art.symbol_source_bitmap;
    screen_layout.CellSize = sheet_cell;
  } else {
    const QImage& sheet = art.symbol_source_bitmap;
    art.symbol_bitmap = Stretch(sheet, scale.Scale(sheet.width()), scale.Scale(sheet.height()));
    screen_layout.CellSize = scale.Scale(layout::kCell);
  }

  screen_layout.ReelsLeft = scale.Scale(layout::kReelsLeft);
  screen_layout.ReelsTop = scale.Scale(layout::kReelsTop);
  screen_layout.ReelPitch = scale.Scale(layout::kReelPitch);
  screen_layout.BlurHeight = scale.Scale(strip.height());
}
