// MusicSynth: the FluidSynth synthesizer the game's music is rendered with, and where the General
// MIDI sound font it plays is found. The player renders through it; the tests render through it
// too, to hear what the player hears.
#pragma once

#include <fluidsynth.h>

#include <string>

// The synthesizer renders the music in calls of this many frames, whatever the size of the
// output's buffer: where a call ends decides when the notes of the next one start, so the music
// sounds the same only if its calls always fall alike.
constexpr int kSynthFrames = 512;

// The installed General MIDI sound font, best first; empty when none is installed.
std::string FindGeneralMidiSoundFont();

// A synthesizer with the game's music settings at `rate` frames a second, and no sound font yet.
// By default a loaded sound font brings only the samples of the instruments in play into memory
// (a General MIDI font is some 150 MB, a track uses a handful of instruments); with
// all_samples every sample is read in as the font loads.
class MusicSynth {
 public:
  explicit MusicSynth(int rate, bool all_samples = false);
  ~MusicSynth();
  MusicSynth(const MusicSynth&) = delete;
  MusicSynth& operator=(const MusicSynth&) = delete;

  // nullptr when FluidSynth could not make the synthesizer.
  fluid_synth_t* Synth() const { return synth_; }

 private:
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
};
