// Any byte string as a music track's file, opened and played the way the game plays its tracks:
// either the track opens and the synthesizer plays some of it, or opening it fails with a reason.
// Nothing may crash, hang or leak.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>

#include "tests/fuzz/sound_fuzz_player.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SoundPlayer& player = FuzzSoundPlayer();
  std::string error;
  if (player.OpenMusic(WriteFuzzFile("Zelmar0.mid", data, size), &error)) {
    player.PlayMusic();
    // The audio thread reads and plays the track from here; give it a few buffers of it.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    player.CloseMusic();
  } else if (error.empty()) {
    __builtin_trap();  // a refusal always says why
  }
  return 0;
}
