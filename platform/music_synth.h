// MusicSynth: the FluidSynth synthesizer the game's music is rendered with, and where the General
// MIDI sound font it plays is found. The player renders through it; the tests render through it
// too, to hear what the player hears.
#pragma once

#include <fluidsynth.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The synthesizer renders the music in calls of this many frames, whatever the size of the
// output's buffer: where a call ends decides when the notes of the next one start, so the music
// sounds the same only if its calls always fall alike.
constexpr int kSynthFrames = 512;

// The MIDI channels a track plays on; the synthesizer has as many more, which no file reaches,
// to hold instruments in memory with.
constexpr int kTrackChannels = 16;

// An instrument of the sound font: its bank (128 is the percussion bank) and program.
struct MidiInstrument {
  int bank = 0;
  int program = 0;
  bool operator==(const MidiInstrument&) const = default;
};

// The instruments a Standard MIDI File selects with its program changes, each once, in the order
// first met: the bank is the one last chosen on the channel (controller 0), and the percussion
// bank on channel 10. Reads nothing beyond size; from a damaged file, what was found before the
// damage.
std::vector<MidiInstrument> InstrumentsSelected(const uint8_t* data, size_t size);

// The installed General MIDI sound font, best first; empty when none is installed. The
// environment's ZELMAR_SOUND_FONT, when set, names the one font to use instead (a missing file
// is then no font at all). When there is none and why_none is given, it says why: the variable
// that names a missing file, or that no font is installed.
std::string FindGeneralMidiSoundFont(std::string* why_none = nullptr);

// The file name of the recording of a track whose file holds these bytes: the track's content,
// not its name, chooses the recording, so that a track replaced by another file is never played
// from the recording of the one it replaced.
std::string RecordingName(const uint8_t* data, size_t size);

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

  // Keeps the samples of these instruments of the loaded font in memory, on channels no track
  // plays on, and lets go of those held before (an instrument still selected by a track's
  // channel stays until the channel selects another). A track whose instruments are held selects
  // them without reading the font: where that happens, in the audio thread, no file is read.
  // An instrument the font lacks is held as the synthesizer would substitute it (the same
  // program in bank 0); beyond the spare channels, instruments are not held. Callable while
  // another thread renders, from one thread at a time.
  void HoldInstruments(const std::vector<MidiInstrument>& instruments);

 private:
  fluid_settings_t* settings_;
  fluid_synth_t* synth_;
  // What each spare channel holds.
  std::array<std::optional<MidiInstrument>, kTrackChannels> held_;
};
