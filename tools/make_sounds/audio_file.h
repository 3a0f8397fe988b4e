// Writers for the two file formats the game plays: 16-bit PCM WAV and Standard MIDI Files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int kSampleRate = 44100;

// Writes mono samples in -1..1 as a 16-bit PCM WAV file. Samples beyond the range are clipped,
// which the callers avoid by normalising first. Returns false when the file can't be written.
bool WriteWav(const std::string& path, const std::vector<float>& samples);

// One MIDI event at an absolute tick; the writer sorts them and turns ticks into deltas.
struct MidiEvent {
  int64_t tick = 0;
  int order = 0;  // at equal ticks: note-offs (0) before controls (1) before note-ons (2)
  std::vector<uint8_t> bytes;
};

// A single-track (format 0) MIDI file under construction.
class MidiSong {
 public:
  static constexpr int kTicksPerBeat = 480;

  void Tempo(int64_t tick, double bpm);
  void Program(int channel, int program);
  void Control(int64_t tick, int channel, int controller, int value);
  // A note of the given length in ticks; velocity 1..127.
  void Note(int64_t tick, int channel, int key, int velocity, int64_t length);
  // The tick of the last note's end.
  int64_t LastNoteEnd() const { return last_note_end_; }
  // Writes the file with its end-of-track marker at end_tick. Returns false on a write error.
  bool Write(const std::string& path, int64_t end_tick) const;

 private:
  std::vector<MidiEvent> events_;
  int64_t last_note_end_ = 0;
};
