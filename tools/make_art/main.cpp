// zelmar-make-art: draws the main screen's pictures and writes them under an art folder.
//
//   zelmar-make-art [ART_DIR]                 writes ART_DIR/main/* and ART_DIR/beside/*
//   zelmar-make-art --preview OUT.png [WIDTH] [LINES] [ART_DIR]
//                                             paints a mock of the main screen from the art
//
// ART_DIR defaults to the repository's art folder. Run with QT_QPA_PLATFORM=offscreen.
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "cabinet.h"
#include "chips.h"
#include "preview.h"
#include "small_art.h"
#include "symbols.h"

namespace {

bool Save(const QImage& image, const QString& path, int quality = -1) {
  QImageWriter writer(path);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(image)) {
    std::fprintf(stderr, "zelmar-make-art: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
  }
  std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
  return true;
}

bool SaveJpeg(const QImage& image, const QString& path) {
  // Quality 92: the cabinet's gradients stay smooth and the files stay small.
  return Save(image.convertToFormat(QImage::Format_RGB32), path, 92);
}

bool WriteAll(const QString& art_dir) {
  const QString main = art_dir + "/main", beside = art_dir + "/beside";
  if (!QDir().mkpath(main) || !QDir().mkpath(beside)) {
    std::fprintf(stderr, "zelmar-make-art: cannot create folders under %s\n", qPrintable(art_dir));
    return false;
  }
  bool ok = true;
  ok &= SaveJpeg(art::MakeBackground(), main + "/background.jpg");
  ok &= SaveJpeg(art::MakeSpinStrip(), main + "/spin_strip.jpg");
  ok &= SaveJpeg(art::MakeSymbolSheet(76), main + "/symbols.jpg");
  for (int cell : {98, 110, 122, 152})
    ok &= SaveJpeg(art::MakeSymbolSheet(cell), QString("%1/Zelmar%2.jpg").arg(beside).arg(cell));
  ok &= SaveJpeg(art::MakeBetMaxKey(), main + "/bet_max.jpg");
  ok &= SaveJpeg(art::MakeSpinKey(), main + "/spin.jpg");
  ok &= SaveJpeg(art::MakeCoinKey(), main + "/coin_dimmed.jpg");
  const art::Masked logo = art::MakeLogo();
  ok &= Save(logo.picture.convertToFormat(QImage::Format_RGB888), main + "/logo.png");
  ok &= Save(logo.mask, main + "/logo_mask.png");
  const art::Markers markers = art::MakeLineMarkers();
  ok &= Save(markers.lit.convertToFormat(QImage::Format_RGB888), main + "/line_bubbles.png");
  ok &= Save(markers.dim.convertToFormat(QImage::Format_RGB888), main + "/line_bubbles_dim.png");
  ok &= Save(markers.mask, main + "/line_bubbles_mask.png");
  ok &= Save(art::MakeDigitStrip(QColor(255, 36, 24), QColor(64, 8, 6)), main + "/digits_red.png");
  ok &=
      Save(art::MakeDigitStrip(QColor(60, 255, 80), QColor(8, 58, 14)), main + "/digits_green.png");
  int chips = 0;
  const art::ChipStyle* styles = art::ChipStyles(&chips);
  for (int i = 0; i < chips; ++i) ok &= Save(art::MakeChip(styles[i]), main + "/" + styles[i].file);
  ok &= Save(art::MakeOkGlyph(), main + "/glyph_ok.png");
  ok &= Save(art::MakeHelpGlyph(), main + "/glyph_help.png");
  return ok;
}

// The pictures are drawn with these font families; without them Qt would silently substitute
// others and the symbols would come out blank or different.
bool FontsPresent() {
  const QStringList families = QFontDatabase::families();
  bool ok = true;
  for (const char* family : {"Noto Color Emoji", "DejaVu Sans", "DejaVu Serif"}) {
    if (!families.contains(QString::fromLatin1(family))) {
      std::fprintf(stderr,
                   "zelmar-make-art: font family \"%s\" is not installed "
                   "(Debian: fonts-noto-color-emoji, fonts-dejavu-core)\n",
                   family);
      ok = false;
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (!FontsPresent()) return 1;
  if (!args.isEmpty() && args[0] == "--preview") {
    if (args.size() < 2) {
      std::fprintf(stderr, "usage: zelmar-make-art --preview OUT.png [WIDTH] [LINES] [ART_DIR]\n");
      return 2;
    }
    const int width = args.size() > 2 ? args[2].toInt() : 800;
    const int lines = args.size() > 3 ? args[3].toInt() : 5;
    const QString dir = args.size() > 4 ? args[4] : QStringLiteral(ZELMAR_ART_DIR);
    if (width < 320 || width > 4096) {
      std::fprintf(stderr, "zelmar-make-art: width %d out of range 320..4096\n", width);
      return 2;
    }
    return Save(art::MakePreview(dir, width, lines), args[1]) ? 0 : 1;
  }
  const QString dir = args.isEmpty() ? QStringLiteral(ZELMAR_ART_DIR) : args[0];
  return WriteAll(dir) ? 0 : 1;
}
