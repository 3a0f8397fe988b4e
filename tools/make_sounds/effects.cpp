#include "tools/make_sounds/effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/make_sounds/audio_file.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDt = 1.0 / kSampleRate;

int Samples(double seconds) {
  return static_cast<int>(seconds * kSampleRate);
}

// A fixed noise source, so the generated files are identical on every run.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  float Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
  }

 private:
  uint32_t state_;
};

double MidiFrequency(int key) {
  return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

// Adds a tone of decaying harmonics at `start` seconds: partial n has amplitude 1/n^tilt.
void AddTone(std::vector<float>& out, double start, double length, double freq, double gain,
             int partials, double tilt, double attack, double decay, double vibrato = 0.0) {
  const int first = Samples(start);
  const int count = Samples(length);
  if (static_cast<int>(out.size()) < first + count) out.resize(first + count, 0.0f);
  double phase = 0.0;
  for (int i = 0; i < count; ++i) {
    const double t = i * kDt;
    double env = t < attack ? t / attack : std::exp(-(t - attack) / decay);
    const double release = 0.02;
    if (length - t < release) env *= (length - t) / release;
    const double f = freq * (1.0 + vibrato * std::sin(2 * kPi * 5.5 * t) * std::min(t / 0.2, 1.0));
    phase += 2 * kPi * f * kDt;
    double v = 0.0;
    for (int n = 1; n <= partials; ++n) v += std::sin(phase * n) / std::pow(n, tilt);
    out[first + i] += static_cast<float>(gain * env * v);
  }
}

// A bell from two-operator FM: the modulator's depth decays faster than the tone.
void AddBell(std::vector<float>& out, double start, double freq, double gain, double decay) {
  const double length = decay * 5.0;
  const int first = Samples(start);
  const int count = Samples(length);
  if (static_cast<int>(out.size()) < first + count) out.resize(first + count, 0.0f);
  for (int i = 0; i < count; ++i) {
    const double t = i * kDt;
    const double env = std::min(t / 0.002, 1.0) * std::exp(-t / decay);
    const double index = 2.2 * std::exp(-t / (decay * 0.3));
    const double v = std::sin(2 * kPi * freq * t + index * std::sin(2 * kPi * freq * 3.5 * t));
    out[first + i] += static_cast<float>(gain * env * v);
  }
}

// Scales to the given peak and fades the last few milliseconds to silence.
std::vector<float> Finish(std::vector<float> s, float peak) {
  float max = 0.0f;
  for (float v : s) max = std::max(max, std::fabs(v));
  if (max > 0.0f) {
    for (float& v : s) v *= peak / max;
  }
  const int fade = std::min<int>(Samples(0.004), static_cast<int>(s.size()));
  for (int i = 0; i < fade; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / fade;
  return s;
}

}  // namespace

std::vector<float> ReelStopThud() {
  std::vector<float> s(Samples(0.11), 0.0f);
  Noise noise(7);
  double phase = 0.0;
  float low = 0.0f;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i * kDt;
    // The body: a drum-like sine that falls from 150 to 55 Hz as it dies away.
    const double f = 55.0 + 95.0 * std::exp(-t / 0.018);
    phase += 2 * kPi * f * kDt;
    const double body = std::sin(phase) * std::min(t / 0.001, 1.0) * std::exp(-t / 0.032);
    // The knock of the reel's stop against its latch.
    const double knock = std::sin(2 * kPi * 820.0 * t) * std::exp(-t / 0.006);
    low += 0.25f * (noise.Next() - low);
    const double click = low * std::exp(-t / 0.003);
    s[i] = static_cast<float>(body + 0.35 * knock + 0.6 * click);
  }
  return Finish(s, 0.55f);
}

std::vector<float> CountTick() {
  std::vector<float> s(Samples(0.045), 0.0f);
  Noise noise(11);
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i * kDt;
    const double ring = std::sin(2 * kPi * 2637.0 * t) + 0.6 * std::sin(2 * kPi * 3951.0 * t) +
                        0.3 * std::sin(2 * kPi * 5274.0 * t);
    const double env = std::min(t / 0.0008, 1.0) * std::exp(-t / 0.009);
    s[i] = static_cast<float>(ring * env + 0.4 * noise.Next() * std::exp(-t / 0.0015));
  }
  return Finish(s, 0.4f);
}

std::vector<float> WinFanfare() {
  std::vector<float> s;
  // C major arpeggio in brass, then the full chord held with a bell on top.
  const int keys[] = {72, 76, 79};
  for (int i = 0; i < 3; ++i)
    AddTone(s, i * 0.11, 0.16, MidiFrequency(keys[i]), 0.3, 8, 1.1, 0.012, 0.4);
  for (int key : {60, 67, 72, 76, 79, 84}) {
    AddTone(s, 0.33, 0.95, MidiFrequency(key), 0.18, 8, 1.1, 0.015, 0.45, 0.004);
  }
  AddBell(s, 0.33, MidiFrequency(96), 0.25, 0.18);
  s.resize(Samples(1.3), 0.0f);
  return Finish(s, 0.55f);
}

std::vector<float> Explosion() {
  std::vector<float> s(Samples(1.8), 0.0f);
  Noise noise(23);
  Noise crackle(29);
  float lp1 = 0.0f, lp2 = 0.0f, rumble = 0.0f;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = i * kDt;
    // The blast: noise through a low-pass whose corner falls from 4 kHz to 150 Hz.
    const double corner = 150.0 + 3850.0 * std::exp(-t / 0.15);
    const float a = static_cast<float>(1.0 - std::exp(-2 * kPi * corner * kDt));
    lp1 += a * (noise.Next() - lp1);
    lp2 += a * (lp1 - lp2);
    const double blast = lp2 * 2.5 * std::min(t / 0.003, 1.0) * std::exp(-t / 0.45);
    // The rumble underneath, a heavily smoothed noise.
    rumble += 0.004f * (noise.Next() - rumble);
    const double low = rumble * 18.0 * std::exp(-t / 0.7);
    // Debris: sparse sharp clicks during the first half second.
    double debris = 0.0;
    if (t > 0.05 && t < 0.7 && crackle.Next() > 0.9985f) debris = 0.8 * crackle.Next();
    s[i] = static_cast<float>(blast + low + debris);
  }
  return Finish(s, 0.55f);
}

std::vector<float> StartUpJingle() {
  std::vector<float> s;
  // G major, rising: G4 B4 D5 G5 B5, then a chord under a high D.
  const int keys[] = {67, 71, 74, 79, 83};
  for (int i = 0; i < 5; ++i) AddBell(s, i * 0.12, MidiFrequency(keys[i]), 0.3, 0.35);
  for (int key : {55, 62, 67, 71}) {
    AddTone(s, 0.6, 0.95, MidiFrequency(key), 0.12, 6, 1.6, 0.05, 0.5);
  }
  AddBell(s, 0.6, MidiFrequency(86), 0.28, 0.5);
  s.resize(Samples(1.6), 0.0f);
  return Finish(s, 0.55f);
}

std::vector<float> BonusAnnouncement() {
  std::vector<float> s;
  // A bell trill between E6 and C6 that climbs a step, then a brass hit on F major.
  for (int i = 0; i < 12; ++i) {
    const int key = (i % 2 == 0 ? 88 : 84) + (i >= 6 ? 2 : 0);
    AddBell(s, i * 0.075, MidiFrequency(key), 0.3, 0.12);
  }
  for (int key : {53, 65, 69, 72, 77}) {
    AddTone(s, 0.95, 0.9, MidiFrequency(key), 0.18, 8, 1.0, 0.01, 0.35, 0.005);
  }
  AddBell(s, 0.95, MidiFrequency(89), 0.3, 0.3);
  s.resize(Samples(1.9), 0.0f);
  return Finish(s, 0.55f);
}

std::vector<float> DefaultSound() {
  std::vector<float> s;
  AddTone(s, 0.0, 0.12, MidiFrequency(76), 0.5, 4, 2.0, 0.005, 0.08);
  AddTone(s, 0.11, 0.16, MidiFrequency(69), 0.5, 4, 2.0, 0.005, 0.08);
  return Finish(s, 0.25f);
}
