// zelmar-make-icon: draws the game's icon and writes it under an art folder.
//
//   zelmar-make-icon [ART_DIR]   writes ART_DIR/icon/zelmar-slots.svg and
//                                ART_DIR/icon/zelmar-slots-<size>.png for 48, 64, 128 and 256
//
// ART_DIR defaults to the repository's art folder. Run with QT_QPA_PLATFORM=offscreen.
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "emblem.h"
#include "tools/usage.h"

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc > 1) {
    if (const int status = AnswerUnknownOption(argv[1], "usage: zelmar-make-icon [ART_DIR]\n");
        status >= 0) {
      return status;
    }
  }
  const QString art_dir =
      argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(ZELMAR_ART_DIR);
  const QString dir = art_dir + "/icon";
  if (!QDir().mkpath(dir)) {
    std::fprintf(stderr, "zelmar-make-icon: cannot create %s\n", qPrintable(dir));
    return 1;
  }
  bool ok = true;
  for (int size : {48, 64, 128, 256}) {
    const QString path = QStringLiteral("%1/zelmar-slots-%2.png").arg(dir).arg(size);
    QImageWriter writer(path);
    if (!writer.write(icon::EmblemPicture(size))) {
      std::fprintf(stderr, "zelmar-make-icon: cannot write %s: %s\n", qPrintable(path),
                   qPrintable(writer.errorString()));
      ok = false;
    }
  }
  const QString svg = dir + "/zelmar-slots.svg";
  if (!icon::WriteEmblemSvg(svg)) {
    std::fprintf(stderr, "zelmar-make-icon: cannot write %s\n", qPrintable(svg));
    ok = false;
  }
  if (ok) std::printf("wrote the icon under %s\n", qPrintable(dir));
  return ok ? 0 : 1;
}
