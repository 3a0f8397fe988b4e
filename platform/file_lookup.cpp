#include "platform/file_lookup.h"

#include <QDir>
#include <QString>
#include <QStringList>

std::string FindFileNoCase(const std::string& dir, const std::string& name) {
  // An asset prefix may name a subfolder ("Gold/Gold" gives "Gold/Gold152.jpg"): the file is
  // looked up in that folder.
  const size_t slash = name.rfind('/');
  if (slash != std::string::npos) {
    return FindFileNoCase(dir + name.substr(0, slash + 1), name.substr(slash + 1));
  }
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
