// The game's real sound player on SDL's silent "dummy" output, made once per fuzzing process,
// and a file in a private folder that a target writes its input into, as the game finds its
// sounds on disk.
#pragma once

#include <QCoreApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/sound_player.h"

inline SoundPlayer& FuzzSoundPlayer() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  static std::unique_ptr<SoundPlayer> player = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return CreateSdlSoundPlayer();
  }();
  if (!player->HasDevice()) __builtin_trap();  // the dummy output always opens
  return *player;
}

// Writes the bytes to the file `name` in a folder of this process; returns its path.
inline std::string WriteFuzzFile(const char* name, const uint8_t* data, size_t size) {
  static const std::string folder = [] {
    std::string pattern =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/zelmar-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) __builtin_trap();
    return pattern;
  }();
  const std::string path = folder + "/" + name;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) __builtin_trap();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) __builtin_trap();
  std::fclose(file);
  return path;
}
