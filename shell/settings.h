// The game's identity at start-up: the program's folder and name, and the title, asset prefix and
// version, of which the optional settings file "Testing.ini" beside the program may change the
// title and the prefix.
#pragma once

#include <string>

#include "shell/identity.h"

// The name the desktop shows for the application; the settings file never changes it.
inline constexpr char kApplicationName[] = "Zelmar Slots";
// A title longer than this is cut.
inline constexpr int kGameTitleMaxChars = 30;

// AppDir (the folder of the real program file, symlinks resolved, with a trailing '/', never
// cut), ExeBaseName (its file name without the extension) and the built-in title, asset prefix
// and version.
GameIdentity BuiltInIdentity(const std::string& program_file);

// The settings file beside the program: "Testing.ini" in AppDir, its name in any letter case like
// the art files beside it; empty when there is none.
std::string SettingsFilePath(const GameIdentity& identity);

// AppDir + ExeBaseName + ".hlp": the help file the help window shows topics from.
std::string HelpFilePath(const GameIdentity& identity);

// Reads "SoundRoot" and then "AboutName" of section "Settings" from the settings file into
// SoundRoot and GameTitle (cut to 30 characters). A missing file or key keeps the value; a key
// present with an empty value sets the empty text.
void ReadSettings(GameIdentity& identity);

// The text of the Version box: the title, an empty line, then "Version:  " and the version.
std::string VersionBoxText(const GameIdentity& identity);
