// Packs the manual's topics and pictures into the single help file the game reads.
//
//   zelmar-pack-help <out.hlp> <folder> [NAME=value ...]
//
// <folder>/topics.txt lists the topic files in reading order, the contents first. Each topic's
// "@NAME@" is replaced by the value given on the command line. Every .png and .jpg in the folder
// goes in as a picture. The output is written only when it changes, so builds stay quiet.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <cstdio>

namespace {

bool ReadFile(const QString& path, QByteArray* bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "zelmar-pack-help: cannot read %s\n", qPrintable(path));
    return false;
  }
  *bytes = file.readAll();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zelmar-pack-help <out.hlp> <folder> [NAME=value ...]\n");
    return 2;
  }
  const QString out_path = QString::fromLocal8Bit(argv[1]);
  const QDir folder(QString::fromLocal8Bit(argv[2]));
  QList<QPair<QByteArray, QByteArray>> values;
  for (int i = 3; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    const qsizetype eq = arg.indexOf('=');
    if (eq <= 0) {
      std::fprintf(stderr, "zelmar-pack-help: expected NAME=value, got %s\n", argv[i]);
      return 2;
    }
    values.append({'@' + arg.left(eq) + '@', arg.mid(eq + 1)});
  }

  QByteArray list;
  if (!ReadFile(folder.filePath(QStringLiteral("topics.txt")), &list)) return 1;
  QByteArray help = "ZELMAR-HELP 1\n";
  int topics = 0;
  for (const QByteArray& entry : list.split('\n')) {
    const QByteArray name = entry.trimmed();
    if (name.isEmpty() || name.startsWith('#')) continue;
    QByteArray html;
    if (!ReadFile(folder.filePath(QString::fromUtf8(name)), &html)) return 1;
    for (const auto& [key, value] : values) {
      html.replace(key, QString::fromUtf8(value).toHtmlEscaped().toUtf8());
    }
    help += "@topic " + name + '\n' + html;
    if (!html.endsWith('\n')) help += '\n';
    ++topics;
  }
  if (topics == 0) {
    std::fprintf(stderr, "zelmar-pack-help: topics.txt lists no topics\n");
    return 1;
  }
  const QStringList pictures =
      folder.entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
  for (const QString& name : pictures) {
    QByteArray bytes;
    if (!ReadFile(folder.filePath(name), &bytes)) return 1;
    help += "@picture " + name.toUtf8() + '\n';
    const QByteArray encoded = bytes.toBase64();
    for (qsizetype at = 0; at < encoded.size(); at += 76) help += encoded.mid(at, 76) + '\n';
  }

  QFile old(out_path);
  if (old.open(QIODevice::ReadOnly) && old.readAll() == help) return 0;
  old.close();
  QFile out(out_path);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(help) != help.size()) {
    std::fprintf(stderr, "zelmar-pack-help: cannot write %s\n", qPrintable(out_path));
    return 1;
  }
  return 0;
}
