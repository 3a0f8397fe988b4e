// zelmar-make-art: draws the main screen's pictures and writes them under an art folder.
//
//   zelmar-make-art [ART_DIR]                 writes ART_DIR/main/* and ART_DIR/beside/*
//
// The cabinet's pictures are written at their design size and again, painted by the same code
// with a scaled painter, at twice and four times it (<stem>_2x.<ext>, <stem>_4x.<ext>): the
// masters the game reduces from on large screens. symbols_304.jpg is the symbol sheet painted
// natively with 304-pixel cells.
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
#include "tools/usage.h"

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

// JPEG quality 92 at the design size and for the symbol sheets: the cabinet's gradients stay
// smooth and the files stay small. 95 for the 2x and 4x masters: the flat bet key faces, which
// the game fills with one sampled colour, stay within the checker's tolerance next to their
// rims (at 92 the 2x background's 8 x 8 blocks that hold a rim and a face ring by up to 14).
int JpegQuality(int scale) {
  return scale == 1 ? 92 : 95;
}

bool SaveJpeg(const QImage& image, const QString& path, int quality = JpegQuality(1)) {
  return Save(image.convertToFormat(QImage::Format_RGB32), path, quality);
}

// <stem><suffix>.<ext>: no suffix at scale 1, _2x and _4x for the masters.
QString MasterPath(const QString& folder, const QString& stem, int scale, const QString& ext) {
  const QString suffix = scale == 1 ? QString() : QString("_%1x").arg(scale);
  return QString("%1/%2%3.%4").arg(folder, stem, suffix, ext);
}

// The cabinet pictures the game shows scaled with the screen, at one scale.
bool WriteCabinet(const QString& main, int scale) {
  const int q = JpegQuality(scale);
  bool ok = true;
  ok &= SaveJpeg(art::MakeBackground(scale), MasterPath(main, "background", scale, "jpg"), q);
  ok &= SaveJpeg(art::MakeSpinStrip(scale), MasterPath(main, "spin_strip", scale, "jpg"), q);
  ok &= SaveJpeg(art::MakeBetMaxKey(scale), MasterPath(main, "bet_max", scale, "jpg"), q);
  ok &= SaveJpeg(art::MakeSpinKey(scale), MasterPath(main, "spin", scale, "jpg"), q);
  ok &= SaveJpeg(art::MakeCoinKey(scale), MasterPath(main, "coin_dimmed", scale, "jpg"), q);
  const art::Masked logo = art::MakeLogo(scale);
  ok &= Save(logo.picture.convertToFormat(QImage::Format_RGB888),
             MasterPath(main, "logo", scale, "png"));
  ok &= Save(logo.mask, MasterPath(main, "logo_mask", scale, "png"));
  const art::Markers markers = art::MakeLineMarkers(scale);
  ok &= Save(markers.lit.convertToFormat(QImage::Format_RGB888),
             MasterPath(main, "line_bubbles", scale, "png"));
  ok &= Save(markers.dim.convertToFormat(QImage::Format_RGB888),
             MasterPath(main, "line_bubbles_dim", scale, "png"));
  ok &= Save(markers.mask, MasterPath(main, "line_bubbles_mask", scale, "png"));
  int chips = 0;
  const art::ChipStyle* styles = art::ChipStyles(&chips);
  for (int i = 0; i < chips; ++i) {
    const QString stem = styles[i].file.chopped(4);  // "chip_1000.png" -> "chip_1000"
    ok &= Save(art::MakeChip(styles[i], scale), MasterPath(main, stem, scale, "png"));
  }
  return ok;
}

bool WriteAll(const QString& art_dir) {
  const QString main = art_dir + "/main", beside = art_dir + "/beside";
  if (!QDir().mkpath(main) || !QDir().mkpath(beside)) {
    std::fprintf(stderr, "zelmar-make-art: cannot create folders under %s\n", qPrintable(art_dir));
    return false;
  }
  bool ok = true;
  for (int scale : {1, 2, 4}) ok &= WriteCabinet(main, scale);
  ok &= SaveJpeg(art::MakeSymbolSheet(76), main + "/symbols.jpg");
  // The sheet for the largest screens, carried inside the program: 304 = 4 x 76.
  ok &= SaveJpeg(art::MakeSymbolSheet(304), main + "/symbols_304.jpg");
  for (int cell : {98, 110, 122, 152})
    ok &= SaveJpeg(art::MakeSymbolSheet(cell), QString("%1/Zelmar%2.jpg").arg(beside).arg(cell));
  ok &= Save(art::MakeDigitStrip(QColor(255, 36, 24), QColor(64, 8, 6)), main + "/digits_red.png");
  ok &=
      Save(art::MakeDigitStrip(QColor(60, 255, 80), QColor(8, 58, 14)), main + "/digits_green.png");
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

constexpr char kUsage[] =
    "usage: zelmar-make-art [ART_DIR]\n"
    "       zelmar-make-art --preview OUT.png [WIDTH] [LINES] [ART_DIR]\n";

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (!FontsPresent()) return 1;
  if (!args.isEmpty() && args[0] == "--preview") {
    if (args.size() < 2) {
      std::fputs(kUsage, stderr);
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
  if (argc > 1) {
    if (const int status = AnswerUnknownOption(argv[1], kUsage); status >= 0) return status;
  }
  const QString dir = args.isEmpty() ? QStringLiteral(ZELMAR_ART_DIR) : args[0];
  return WriteAll(dir) ? 0 : 1;
}
