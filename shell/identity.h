// Who the running game is and where it lives: the names that captions, message boxes and file
// lookups use. Set once at start-up by the game, read by every window it opens.
#pragma once

#include <string>

struct GameIdentity {
  // NOLINTBEGIN(readability-identifier-naming): the game's own vocabulary
  std::string AppDir;       // folder of the program file, with a trailing '/'
  std::string ExeBaseName;  // program file name without extension
  std::string GameTitle;
  std::string SoundRoot;  // prefix of the replacement symbol sheets and sound files
  std::string VersionText;
  // NOLINTEND(readability-identifier-naming)
};
