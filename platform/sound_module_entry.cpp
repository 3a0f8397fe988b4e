// The sound module's one exported function (platform/sound_module.h).
#include <SDL.h>

#include "platform/sound_module.h"

SoundPlayer* ZelmarSlotsCreateSoundPlayer(const char* recordings_folder) {
  SoundPlayer* player = CreateSdlSoundPlayer(recordings_folder).release();
  // The program calls this on a thread of its own that ends right after. SDL lets go of what it
  // keeps for a thread (its error text) only for threads it started itself.
  SDL_TLSCleanup();
  return player;
}
