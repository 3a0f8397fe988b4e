#include "shell/settings.h"

#include <QFileInfo>

#include "platform/file_lookup.h"
#include "platform/profile_file.h"

GameIdentity BuiltInIdentity(const std::string& program_file) {
  const QFileInfo given(QString::fromStdString(program_file));
  const QString canonical = given.canonicalFilePath();
  const QFileInfo real(canonical.isEmpty() ? given.absoluteFilePath() : canonical);
  QString folder = real.absolutePath();
  if (!folder.endsWith('/')) folder += '/';

  GameIdentity identity;
  identity.AppDir = folder.toStdString();
  identity.ExeBaseName = real.completeBaseName().toStdString();
  identity.GameTitle = kApplicationName;
  identity.SoundRoot = "Zelmar";
  identity.VersionText = ZELMAR_VERSION;
  return identity;
}

std::string SettingsFilePath(const GameIdentity& identity) {
  return FindFileNoCase(identity.AppDir, "Testing.ini");
}

std::string HelpFilePath(const GameIdentity& identity) {
  return identity.AppDir + identity.ExeBaseName + ".hlp";
}

void ReadSettings(GameIdentity& identity) {
  const ProfileDocument settings = ReadProfileFile(SettingsFilePath(identity));
  if (auto root = settings.Value("Settings", "SoundRoot")) identity.SoundRoot = *root;
  if (auto title = settings.Value("Settings", "AboutName")) {
    identity.GameTitle = Utf8Prefix(*title, kGameTitleMaxChars);
  }
}

std::string VersionBoxText(const GameIdentity& identity) {
  return identity.GameTitle + "\n\nVersion:  " + identity.VersionText;
}
