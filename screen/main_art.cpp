#include "screen/main_art.h"

#include <QDir>
#include <QFileInfo>
#include <cstdint>

#include "engine/game_state.h"
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
    {":/art/main/background.jpg", &MainArt::JPEGImage1, kDesignWidth, kDesignHeight, true},
    {":/art/main/spin_strip.jpg", &MainArt::JPEGImage2, kArtCell, 12 * kArtCell, true},
    {":/art/main/symbols.jpg", &MainArt::JPEGImage3, 4 * kArtCell, 6 * kArtCell, true},
    {":/art/main/bet_max.jpg", &MainArt::JPEGBet5But, 57, 68, true},
    {":/art/main/spin.jpg", &MainArt::JPEGSpinBut, 58, 70, true},
    {":/art/main/coin_dimmed.jpg", &MainArt::JPEGBet1bDimmed, 57, 110, true},
    {":/art/main/logo.png", &MainArt::Logo, 125, 70, false},
    {":/art/main/logo_mask.png", &MainArt::LogoMask, 125, 70, false},
    {":/art/main/line_bubbles.png", &MainArt::LineBubbles, 90, 9 * kMarkerRowHeight, false},
    {":/art/main/line_bubbles_dim.png", &MainArt::LineBubblesDim, 90, 9 * kMarkerRowHeight, false},
    {":/art/main/line_bubbles_mask.png", &MainArt::LineBubblesNeg, 90, 9 * kMarkerRowHeight, false},
    {":/art/main/digits_red.png", &MainArt::DigitsSmall, 188, kDigitHeight, false},
    {":/art/main/digits_green.png", &MainArt::GreenSmall, 188, kDigitHeight, false},
};

struct Replacement {
  const char* name;  // empty: the symbol sheet named from the sound prefix
  QImage MainArt::*member;
};

constexpr Replacement kReplacements[] = {
    {"TESTER.jpg", &MainArt::JPEGImage1},     {"MOTIONX.jpg", &MainArt::JPEGImage2},
    {"Bet5But.jpg", &MainArt::JPEGBet5But},   {"SpinBut.jpg", &MainArt::JPEGSpinBut},
    {"BET1B.jpg", &MainArt::JPEGBet1bDimmed}, {"", &MainArt::JPEGImage3},
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

std::string FindFileNoCase(const std::string& dir, const std::string& name) {
  const QDir folder(QString::fromStdString(dir));
  const QString wanted = QString::fromStdString(name);
  if (name.empty() || !folder.exists()) return {};
  const QStringList entries =
      folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  QString found;
  for (const QString& entry : entries) {
    if (entry == wanted) {
      found = entry;
      break;
    }
    if (found.isEmpty() && entry.compare(wanted, Qt::CaseInsensitive) == 0) found = entry;
  }
  if (found.isEmpty()) return {};
  return folder.filePath(found).toStdString();
}

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

void ReplaceArtFromFiles(MainArt& art, const std::string& appDir, const std::string& soundRoot,
                         std::vector<std::string>* problems) {
  for (const Replacement& item : kReplacements) {
    const std::string name = *item.name ? std::string(item.name) : soundRoot + ".jpg";
    const std::string path = FindFileNoCase(appDir, name);
    if (!path.empty()) LoadReplacement(path, &(art.*item.member), problems);
  }
}

void PrepareWorkingBitmaps(MainArt& art) {
  art.BackgroundBitmap = ToRgb32(art.JPEGImage1);
  art.SpinStripSourceBitmap = ToRgb32(art.JPEGImage2);
  art.MaxBetButtonBitmap = ToRgb32(art.JPEGBet5But);
  art.SpinButtonBitmap = ToRgb32(art.JPEGSpinBut);
  art.DimmedCoinBitmap = ToRgb32(art.JPEGBet1bDimmed);
  art.SymbolSourceBitmap = QImage();
  art.SymbolBitmap = QImage();
  art.SpinStripBitmap = QImage();
}

void LoadArtForResolution(MainArt& art, GameState& gs, const std::string& appDir,
                          const std::string& soundRoot) {
  const QImage& strip = art.SpinStripSourceBitmap;
  art.SpinStripBitmap = Stretch(strip, Scale(strip.width()), Scale(strip.height()));

  // Sheets drawn natively for the common widths; only an exact width selects one.
  const char* ending = nullptr;
  int sheetCell = 0;
  const int width = CurrentScreenWidth();
  switch (width) {
    case 1600:
      ending = "152.jpg", sheetCell = 152;
      break;
    case 1280:
      ending = "122.jpg", sheetCell = 122;
      break;
    case 1152:
      ending = "110.jpg", sheetCell = 110;
      break;
    case 1024:
      ending = "98.jpg", sheetCell = 98;
      break;
    case kDesignWidth:
      sheetCell = kArtCell;
      break;
    default:
      break;
  }
  bool native = width == kDesignWidth;
  if (ending) {
    const std::string path = FindFileNoCase(appDir, soundRoot + ending);
    // An unreadable sheet is treated like a missing one: the carried sheet is stretched.
    if (!path.empty()) native = LoadReplacement(path, &art.JPEGImage3, nullptr);
  }

  art.SymbolSourceBitmap = ToRgb32(art.JPEGImage3);
  if (native) {
    art.SymbolBitmap = art.SymbolSourceBitmap;
    gs.CellSize = sheetCell;
  } else {
    const QImage& sheet = art.SymbolSourceBitmap;
    art.SymbolBitmap = Stretch(sheet, Scale(sheet.width()), Scale(sheet.height()));
    gs.CellSize = Scale(kArtCell);
  }

  gs.ReelsLeft = Scale(207);
  gs.ReelsTop = Scale(210);
  gs.ReelPitch = Scale(92);
  gs.BlurHeight = Scale(strip.height());
}
