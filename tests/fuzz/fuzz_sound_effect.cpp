// Any byte string as a sound effect's file, loaded both ways the game loads effects: read into
// memory at start-up (the reel-stop and count sounds) and played from the file each time (the
// other effects). Either plays or is refused; neither may crash, hang or leak.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/sound_fuzz_player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SoundPlayer& player = FuzzSoundPlayer();
  const std::vector<uint8_t> bytes(data, data + size);
  if (const auto effect = player.PrepareEffect(bytes)) player.PlayEffect(*effect);
  player.PlayEffectFile(WriteFuzzFile("Zelmar7.wav", data, size));
  return 0;
}
