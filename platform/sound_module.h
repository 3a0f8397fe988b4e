// The sound module: the desktop's player (SDL2_mixer and FluidSynth, with the many libraries they
// bring) built as a module of its own that is installed with the program. The program does not link
// it; it loads it once the sounds are wanted, on a thread of its own, so that starting the game
// costs neither the loading of those libraries nor the opening of the audio device.
#pragma once

#include <memory>
#include <string>

#include "platform/sound_player.h"

// The module's file, from the program's folder. It has a folder of its own: it is the program's
// private part, which the system's shared-library cache has no business with.
inline constexpr char kSoundModuleFile[] = "sound/zelmar-slots-sound.so";

// A player that Open makes ready off the user-interface thread: it loads the module at
// module_path and makes the desktop's player from it (CreateSdlSoundPlayer), which opens the
// device; from then on it plays through that player. Before that it is silent. A module that
// can't be loaded leaves it without a device, and DeviceError says why.
std::unique_ptr<SoundPlayer> CreateSoundModulePlayer(const std::string& module_path);

// The module's entry point, found by name: CreateSdlSoundPlayer as a plain C function, called on a
// thread that ends soon after (what SDL keeps for the calling thread is let go of). The recordings
// of the game's music lie in the module's own folder, which the caller names. The caller owns the
// player.
extern "C" __attribute__((visibility("default"))) SoundPlayer* ZelmarSlotsCreateSoundPlayer(
    const char* recordings_folder);
