#include "platform/music_synth.h"

#include <filesystem>

namespace {

// Loudness of the music under the effects: about 8 dB below the sustained effects.
constexpr double kMusicGain = 0.4;

// Where Debian and Ubuntu install General MIDI sound fonts, best first: the system's chosen
// font (a link that every General MIDI sound font package keeps), then the one the game's
// package prefers.
constexpr const char* kSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",   "/usr/share/soundfonts/default.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf2",
};

}  // namespace

std::string FindGeneralMidiSoundFont() {
  for (const char* candidate : kSoundFonts) {
    std::error_code ec;
    if (std::filesystem::exists(candidate, ec)) return candidate;
  }
  return {};
}

MusicSynth::MusicSynth(int rate, bool all_samples) : settings_(new_fluid_settings()) {
  fluid_settings_setnum(settings_, "synth.sample-rate", rate);
  fluid_settings_setnum(settings_, "synth.gain", kMusicGain);
  // The MIDI player advances with the samples rendered, in the audio callback, not with a
  // timer thread of its own: the music stays in step with what is heard.
  fluid_settings_setstr(settings_, "player.timing-source", "sample");
  fluid_settings_setint(settings_, "synth.lock-memory", 0);
  fluid_settings_setint(settings_, "synth.dynamic-sample-loading", all_samples ? 0 : 1);
  synth_ = new_fluid_synth(settings_);
}

MusicSynth::~MusicSynth() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  delete_fluid_settings(settings_);
}
