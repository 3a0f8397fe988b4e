// Facts the game relies on in the committed sounds and music: effect lengths that fit their
// moments, headroom against clipping when effects sound over the music, and tracks that are
// songs (a few minutes, a tempo of their own, drums, bass and melody, distinct instruments).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> Read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

struct Wav {
  double seconds = 0;
  double peak = 0;  // of full scale
  bool ok = false;
};

// Reads a 16-bit PCM mono WAV file as the generator writes it.
Wav ReadWav(const std::string& path) {
  const std::vector<uint8_t> b = Read(path);
  Wav w;
  if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF") return w;
  const int rate = b[24] | b[25] << 8 | b[26] << 16 | b[27] << 24;
  const int samples = static_cast<int>((b.size() - 44) / 2);
  for (int i = 0; i < samples; ++i) {
    const int16_t v = static_cast<int16_t>(b[44 + 2 * i] | b[45 + 2 * i] << 8);
    w.peak = std::max(w.peak, std::abs(v) / 32768.0);
  }
  w.seconds = double(samples) / rate;
  w.ok = b[22] == 1 && b[34] == 16;
  return w;
}

struct Song {
  double seconds = 0;
  double bpm = 0;
  std::set<int> programs;
  int drum_notes = 0, low_notes = 0, high_notes = 0;  // below G3 and above C4, drums apart
};

// Reads a format-0 Standard MIDI File: its length at its tempo, its programs and its notes.
Song ReadMidi(const std::string& path) {
  const std::vector<uint8_t> b = Read(path);
  Song song;
  if (b.size() < 22 || std::string(b.begin(), b.begin() + 4) != "MThd") return song;
  const int division = b[12] << 8 | b[13];
  size_t at = 22;
  double us_per_beat = 500000;
  int status = 0;
  auto var = [&] {
    uint32_t v = 0;
    while (at < b.size()) {
      const uint8_t c = b[at++];
      v = v << 7 | (c & 0x7f);
      if (!(c & 0x80)) break;
    }
    return v;
  };
  while (at < b.size()) {
    song.seconds += var() * us_per_beat / division / 1e6;
    if (at >= b.size()) break;
    if (b[at] & 0x80) status = b[at++];
    if (status == 0xff) {
      const int type = b[at++];
      const uint32_t length = var();
      if (type == 0x51) {
        us_per_beat = b[at] << 16 | b[at + 1] << 8 | b[at + 2];
        if (song.bpm == 0) song.bpm = 60e6 / us_per_beat;
      }
      at += length;
      if (type == 0x2f) break;
      continue;
    }
    const int kind = status & 0xf0, channel = status & 0x0f;
    if (kind == 0xc0 || kind == 0xd0) {
      if (kind == 0xc0) song.programs.insert(b[at]);
      at += 1;
      continue;
    }
    const int key = b[at], velocity = b[at + 1];
    at += 2;
    if (kind == 0x90 && velocity > 0) {
      if (channel == 9) {
        ++song.drum_notes;
      } else {
        song.low_notes += key < 55;
        song.high_notes += key > 60;
      }
    }
  }
  return song;
}

TEST(SoundFiles, EffectsFitTheirMomentsAndLeaveHeadroomForTheMusic) {
  const struct {
    const char* name;
    double shortest, longest;
  } effects[] = {
      {"Zelmar0.wav", 0.03, 0.15},  // done before the next reel lands 150 ms later
      {"Zelmar3.wav", 0.01, 0.075}, {"ZelmarWin.wav", 1.0, 1.5}, {"ZelmarE.wav", 0.5, 2.5},
      {"Zelmar7.wav", 0.5, 2.5},    {"Zelmar5.wav", 0.5, 2.5},
  };
  for (const auto& e : effects) {
    SCOPED_TRACE(e.name);
    const Wav w = ReadWav(std::string(ZELMAR_ART_DIR "/beside/") + e.name);
    ASSERT_TRUE(w.ok);
    EXPECT_GE(w.seconds, e.shortest);
    EXPECT_LE(w.seconds, e.longest);
    EXPECT_GT(w.peak, 0.3);
    EXPECT_LE(w.peak, 0.56);  // with the music peaking near -7 dBFS, never a clipped sum
  }
  const Wav fallback = ReadWav(ZELMAR_ART_DIR "/sounds/default_sound.wav");
  EXPECT_TRUE(fallback.ok);
  EXPECT_LE(fallback.seconds, 0.5);
}

TEST(SoundFiles, TracksAreSongsOfTheirOwn) {
  std::set<double> tempos;
  std::set<std::set<int>> bands;
  for (int n = 0; n < 6; ++n) {
    SCOPED_TRACE(n);
    const Song s = ReadMidi(ZELMAR_ART_DIR "/beside/Zelmar" + std::to_string(n) + ".mid");
    EXPECT_GE(s.seconds, 60);
    EXPECT_LE(s.seconds, 180);
    EXPECT_GE(s.programs.size(), 3u);
    EXPECT_GT(s.drum_notes, 200);
    EXPECT_GT(s.low_notes, 100);
    EXPECT_GT(s.high_notes, 100);
    tempos.insert(s.bpm);
    bands.insert(s.programs);
  }
  EXPECT_EQ(tempos.size(), 6u);
  EXPECT_EQ(bands.size(), 6u);
}

}  // namespace
