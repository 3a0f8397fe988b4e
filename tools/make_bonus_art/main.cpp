// Rebuilds the pictures of the bonus game: the stadium, the eight walking characters, the bomb
// strip, the four STOP signs and the single character frames used by the payoff chart.
//
//   zelmar-make-bonus-art [ART_FOLDER] [--preview FOLDER]
//
// The pictures go to ART_FOLDER/bonus/ (ART_FOLDER defaults to the source tree's art/).
// --preview also writes pictures for judging the art by eye: the stadium with every character
// standing in its box, and contact sheets of the walk cycles and the bomb strip.
// The output is the same on every run: all randomness uses fixed seeds.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QStringList>
#include <cstdio>

#include "characters.h"
#include "drawing_kit.h"
#include "scenery.h"
#include "tools/usage.h"

namespace {

using namespace bonusart;

constexpr int kJpegQuality = 92;
constexpr int kSignQuality = 100;

struct Writer {
  QDir dir;
  bool ok = true;
  int quality = kJpegQuality;

  void Jpeg(const QImage& img, const QString& name) {
    QString error;
    if (!WriteJpeg(img, dir.filePath(name), quality, &error))
      Fail(error);
    else
      Report(name, img);
  }
  void Png(const QImage& img, const QString& name) {
    if (!img.save(dir.filePath(name), "PNG"))
      Fail(QStringLiteral("cannot write ") + dir.filePath(name));
    else
      Report(name, img);
  }
  void Fail(const QString& error) {
    std::fprintf(stderr, "zelmar-make-bonus-art: %s\n", qPrintable(error));
    ok = false;
  }
  void Report(const QString& name, const QImage& img) {
    std::printf("%-24s %4d x %d\n", qPrintable(name), img.width(), img.height());
  }
};

void WritePreviews(Writer& out, const QImage& stadium, const std::vector<QImage>& strips,
                   const QImage& bombs) {
  // The scene as the player first sees it: frame i of character i (they start out of step).
  QImage scene = stadium.copy();
  {
    QPainter p(&scene);
    const auto corners = BoxCorners();
    for (int i = 0; i < kCharacterCount; ++i)
      p.drawImage(corners[i], strips[i].copy(0, kFrameSide * i, kFrameSide, kFrameSide));
  }
  out.Png(scene, QStringLiteral("preview_scene.png"));
  out.Png(scene.scaled(1280, 960, Qt::KeepAspectRatio, Qt::SmoothTransformation),
          QStringLiteral("preview_scene_2x.png"));

  // Every walk cycle, one character per row, doubled in size.
  QImage sheet(kFrameSide * kWalkFrames, kFrameSide * kCharacterCount, QImage::Format_RGB32);
  sheet.fill(QColor(180, 180, 180));
  {
    QPainter p(&sheet);
    for (int i = 0; i < kCharacterCount; ++i)
      for (int f = 0; f < kWalkFrames; ++f)
        p.drawImage(f * kFrameSide, i * kFrameSide,
                    strips[i].copy(0, f * kFrameSide, kFrameSide, kFrameSide));
  }
  out.Png(sheet, QStringLiteral("preview_walks.png"));
  for (int half = 0; half < 2; ++half)
    out.Png(sheet.copy(0, half * 4 * kFrameSide, sheet.width(), 4 * kFrameSide)
                .scaled(sheet.width() * 2, 8 * kFrameSide, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation),
            QStringLiteral("preview_walks_%1_2x.png").arg(half + 1));

  QImage bomb_sheet(kFrameSide * 7, kFrameSide * 2, QImage::Format_RGB32);
  bomb_sheet.fill(QColor(180, 180, 180));
  {
    QPainter p(&bomb_sheet);
    for (int f = 0; f < kBombFrames; ++f)
      p.drawImage((f % 7) * kFrameSide, (f / 7) * kFrameSide,
                  bombs.copy(0, f * kFrameSide, kFrameSide, kFrameSide));
  }
  out.Png(bomb_sheet, QStringLiteral("preview_bomb.png"));
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QString art_dir = QStringLiteral(ZELMAR_SOURCE_DIR "/art");
  QString preview_dir;
  const QStringList args = app.arguments().mid(1);
  for (int i = 0; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--preview") && i + 1 < args.size()) {
      preview_dir = args[++i];
    } else if (const int status = AnswerUnknownOption(
                   args[i].toLocal8Bit().constData(),
                   "usage: zelmar-make-bonus-art [ART_FOLDER] [--preview FOLDER]\n");
               status >= 0) {
      return status;
    } else {
      art_dir = args[i];
    }
  }
  const QString out_dir = QDir(art_dir).filePath(QStringLiteral("bonus"));
  if (!QDir().mkpath(out_dir)) {
    std::fprintf(stderr, "zelmar-make-bonus-art: cannot create %s\n", qPrintable(out_dir));
    return 1;
  }
  Writer out{QDir(out_dir)};

  std::vector<QImage> strips;
  for (int i = 0; i < kCharacterCount; ++i) {
    strips.push_back(RenderWalkStrip(i));
    out.Jpeg(strips.back(), QStringLiteral("ball%1.jpg").arg(i + 1));
    out.Png(strips.back().copy(0, 0, kFrameSide, kFrameSide),
            QStringLiteral("character%1.png").arg(i + 1));
  }
  const QImage bombs = RenderBombStrip();
  out.Jpeg(bombs, QStringLiteral("explode.jpg"));

  const QImage stadium = RenderStadium(RenderStadiumBackdrop());
  out.Jpeg(stadium, QStringLiteral("stadium.jpg"));
  // The sign pictures replace their part of the stadium while the signs blink. They are cut
  // from the stadium as the game decodes it, so that the crowd around a sign does not shift
  // when the first blink swaps a picture in: the dim ones are those very pixels, the lit
  // ones the same pixels under a lit sign. Top quality keeps them that close; they are small.
  const QImage decoded(out.dir.filePath(QStringLiteral("stadium.jpg")));
  if (decoded.isNull()) {
    out.Fail(QStringLiteral("cannot read back ") + out.dir.filePath(QStringLiteral("stadium.jpg")));
    return 1;
  }
  out.quality = kSignQuality;
  out.Jpeg(RenderStopSign(decoded, kLeftStop, true), QStringLiteral("stop_left_lit.jpg"));
  out.Jpeg(decoded.copy(kLeftStop), QStringLiteral("stop_left_dim.jpg"));
  out.Jpeg(RenderStopSign(decoded, kRightStop, true), QStringLiteral("stop_right_lit.jpg"));
  out.Jpeg(decoded.copy(kRightStop), QStringLiteral("stop_right_dim.jpg"));

  if (!preview_dir.isEmpty()) {
    if (!QDir().mkpath(preview_dir)) {
      std::fprintf(stderr, "zelmar-make-bonus-art: cannot create %s\n", qPrintable(preview_dir));
      return 1;
    }
    Writer preview{QDir(preview_dir)};
    WritePreviews(preview, stadium, strips, bombs);
    out.ok = out.ok && preview.ok;
  }
  return out.ok ? 0 : 1;
}
