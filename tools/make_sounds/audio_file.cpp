#include "tools/make_sounds/audio_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>

namespace {

void Put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xff));
  out.push_back(static_cast<char>((v >> 8) & 0xff));
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}
void Put32Big(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((v >> shift) & 0xff));
}
void PutVarLen(std::string& out, uint32_t v) {
  uint8_t bytes[5];
  int n = 0;
  bytes[n++] = v & 0x7f;
  while ((v >>= 7) != 0) bytes[n++] = 0x80 | (v & 0x7f);
  while (n > 0) out.push_back(static_cast<char>(bytes[--n]));
}

bool WriteFile(const std::string& path, const std::string& data) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(data.data(), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(file);
}

}  // namespace

bool WriteWav(const std::string& path, const std::vector<float>& samples) {
  const uint32_t data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::string out = "RIFF";
  Put32(out, 36 + data_bytes);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kSampleRate);
  Put32(out, kSampleRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  out += "data";
  Put32(out, data_bytes);
  for (float s : samples) {
    const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    Put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
  return WriteFile(path, out);
}

void MidiSong::Tempo(int64_t tick, double bpm) {
  const uint32_t us = static_cast<uint32_t>(std::lround(60000000.0 / bpm));
  events_.push_back(
      {tick, 1, {0xff, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)}});
}

void MidiSong::Program(int channel, int program) {
  events_.push_back({0, 1, {uint8_t(0xc0 | channel), uint8_t(program)}});
}

void MidiSong::Control(int64_t tick, int channel, int controller, int value) {
  events_.push_back({tick, 1, {uint8_t(0xb0 | channel), uint8_t(controller), uint8_t(value)}});
}

void MidiSong::Note(int64_t tick, int channel, int key, int velocity, int64_t length) {
  if (key < 0 || key > 127 || length <= 0) return;
  velocity = std::clamp(velocity, 1, 127);
  events_.push_back({tick, 2, {uint8_t(0x90 | channel), uint8_t(key), uint8_t(velocity)}});
  events_.push_back({tick + length, 0, {uint8_t(0x80 | channel), uint8_t(key), 0}});
  last_note_end_ = std::max(last_note_end_, tick + length);
}

bool MidiSong::Write(const std::string& path, int64_t end_tick) const {
  std::vector<MidiEvent> sorted = events_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const MidiEvent& a, const MidiEvent& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::string track;
  int64_t at = 0;
  for (const MidiEvent& e : sorted) {
    PutVarLen(track, static_cast<uint32_t>(e.tick - at));
    at = e.tick;
    track.append(e.bytes.begin(), e.bytes.end());
  }
  PutVarLen(track, static_cast<uint32_t>(std::max<int64_t>(end_tick - at, 0)));
  track += std::string("\xff\x2f\x00", 3);

  std::string out = "MThd";
  Put32Big(out, 6);
  out += std::string("\x00\x00\x00\x01", 4);  // format 0, one track
  out.push_back(static_cast<char>(kTicksPerBeat >> 8));
  out.push_back(static_cast<char>(kTicksPerBeat & 0xff));
  out += "MTrk";
  Put32Big(out, static_cast<uint32_t>(track.size()));
  out += track;
  return WriteFile(path, out);
}
