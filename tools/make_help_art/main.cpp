// zelmar-make-help-art: makes the manual's generated pages and pictures in art/help.
//
//   zelmar-make-help-art [--pages-only] [folder]
//
// Writes the pay table page and the symbol and payline pictures from the game's own rules and
// art, then (unless --pages-only) plays the game in an offscreen window and takes its pictures.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

#include "engine/reels.h"
#include "platform/canvas.h"
#include "platform/jpeg.h"
#include "tools/make_help_art/pages.h"
#include "tools/make_help_art/shots.h"
#include "tools/usage.h"

namespace {

bool Write(const QDir& dir, const QString& name, const QByteArray& bytes) {
  QFile file(dir.filePath(name));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
    return false;
  }
  return true;
}

bool Save(const QDir& dir, const QString& name, const QImage& image) {
  if (image.isNull() || !image.save(dir.filePath(name), "PNG")) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name)));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // The pictures show the game on an 800 x 600 screen, whatever screen the tool runs on.
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZELMAR_SOURCE_DIR "/tests/offscreen.json");
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  bool pages_only = false;
  QString folder = QStringLiteral(ZELMAR_SOURCE_DIR "/art/help");
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg == QLatin1String("--pages-only")) {
      pages_only = true;
    } else if (const int status = AnswerUnknownOption(
                   argv[i], "usage: zelmar-make-help-art [--pages-only] [FOLDER]\n");
               status >= 0) {
      return status;
    } else {
      folder = arg;
    }
  }
  QDir dir(folder);
  if (!dir.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot make %s\n", qPrintable(folder));
    return 1;
  }

  bool ok = Write(dir, QStringLiteral("payoffs.html"), help_art::PayoffsPage());
  ok = Save(dir, QStringLiteral("paylines.png"), help_art::PaylinesDiagram()) && ok;
  QImage sheet;
  QString error;
  if (!LoadJpegFile(QStringLiteral(ZELMAR_SOURCE_DIR "/art/main/symbols.jpg"), &sheet, &error)) {
    std::fprintf(stderr, "cannot read the symbol sheet: %s\n", qPrintable(error));
    return 1;
  }
  constexpr int kSide = 48;
  ok =
      Save(dir, QStringLiteral("sym_wild.png"), help_art::SymbolPicture(sheet, kWild, kSide)) && ok;
  ok = Save(dir, QStringLiteral("sym_scatter.png"),
            help_art::SymbolPicture(sheet, kFirstScatter, kSide)) &&
       ok;
  for (int code = kSymbolA; code <= kSymbolL; ++code) {
    const QString name = QStringLiteral("sym_%1.png").arg(QChar('a' + (code - kSymbolA)));
    ok = Save(dir, name, help_art::SymbolPicture(sheet, code, kSide)) && ok;
  }
  if (!pages_only) ok = help_art::TakeScreenshots(dir) && ok;
  return ok ? 0 : 1;
}
