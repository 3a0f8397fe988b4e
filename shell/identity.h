// The values that name the game and find its files.
#pragma once

#include <string>

struct GameIdentity {
  std::string AppDir, ExeBaseName, GameTitle, SoundRoot, VersionText;
};
