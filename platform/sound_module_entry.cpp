// The sound module's one exported function (platform/sound_module.h).
#include "platform/sound_module.h"

SoundPlayer* ZelmarSlotsCreateSoundPlayer() {
  return CreateSdlSoundPlayer().release();
}
