#include "tools/make_sounds/songs.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

constexpr int kBeat = MidiSong::kTicksPerBeat;
constexpr int kBar = 4 * kBeat;
constexpr int kEighth = kBeat / 2;
constexpr int kSixteenth = kBeat / 4;

constexpr int kLeadChannel = 0;
constexpr int kCompChannel = 1;
constexpr int kBassChannel = 2;
constexpr int kPadChannel = 3;
constexpr int kDrumChannel = 9;

// General MIDI drum keys.
enum Drum {
  kKick = 36,
  kSideStick = 37,
  kSnare = 38,
  kClap = 39,
  kClosedHat = 42,
  kPedalHat = 44,
  kLowTom = 45,
  kOpenHat = 46,
  kMidTom = 47,
  kCrash = 49,
  kHighTom = 50,
  kRide = 51,
  kTambourine = 54,
  kCowbell = 56,
  kMuteConga = 62,
  kOpenConga = 63,
  kLowConga = 64,
  kShaker = 70,
  kClaves = 75,
};

// General MIDI programs used by the songs.
enum Instrument {
  kElectricPiano = 4,
  kClavinet = 7,
  kVibraphone = 11,
  kMarimba = 12,
  kNylonGuitar = 24,
  kCleanGuitar = 27,
  kOverdriveGuitar = 29,
  kDistortionGuitar = 30,
  kAcousticBass = 32,
  kFingerBass = 33,
  kPickBass = 34,
  kFretlessBass = 35,
  kSlapBass = 36,
  kSynthBass = 38,
  kStrings = 48,
  kSynthStrings = 50,
  kTrumpet = 56,
  kBrassSection = 61,
  kAltoSax = 65,
  kSawLead = 81,
  kWarmPad = 89,
  kSteelDrums = 114,
};

enum class Groove { kSwing, kDisco, kLatin, kRock, kFunk, kOneDrop };

struct Style {
  const char* title;
  int tonic;  // MIDI key of the tonic in the melody's octave
  bool minor;
  double bpm;
  Groove groove;
  int lead, comp, bass, pad;                 // programs; pad -1 for none
  std::array<int, 4> verse, chorus, bridge;  // chords as scale degrees 0..6, one per bar
  uint32_t seed;
  std::array<int, 5> volume;  // lead, comp, bass, pad, drums: balances the instruments' loudness
};

constexpr std::array<int, 5> kEvenMix = {104, 78, 100, 64, 96};
// For the songs whose instruments sound softer in the General MIDI set.
constexpr std::array<int, 5> kLouderMix = {114, 86, 110, 70, 106};

// clang-format off
constexpr Style kStyles[kSongCount] = {
    // title, tonic, minor, bpm, groove, lead, comp, bass, pad,
    // verse, chorus and bridge chords, seed, mix
    {"Velvet Lounge", 70, false, 132, Groove::kSwing,
     kVibraphone, kElectricPiano, kAcousticBass, -1,
     {0, 5, 1, 4}, {3, 4, 2, 5}, {1, 4, 0, 5}, 101, kLouderMix},
    {"Neon Boulevard", 74, false, 124, Groove::kDisco,
     kSawLead, kCleanGuitar, kSynthBass, kSynthStrings,
     {0, 4, 5, 3}, {3, 0, 4, 5}, {5, 3, 0, 4}, 202, {44, 78, 84, 50, 96}},
    {"Lucky Cantina", 69, true, 108, Groove::kLatin,
     kTrumpet, kNylonGuitar, kFingerBass, -1,
     {0, 3, 4, 0}, {5, 3, 6, 4}, {3, 6, 2, 4}, 303, kLouderMix},
    {"High Roller", 64, true, 146, Groove::kRock,
     kOverdriveGuitar, kDistortionGuitar, kPickBass, kStrings,
     {0, 5, 6, 0}, {2, 6, 3, 4}, {5, 6, 0, 0}, 404, kEvenMix},
    {"Jackpot Strut", 67, false, 100, Groove::kFunk,
     kAltoSax, kClavinet, kSlapBass, kBrassSection,
     {0, 3, 0, 4}, {3, 4, 5, 4}, {5, 1, 3, 4}, 505, kEvenMix},
    {"Island Reels", 63, false, 92, Groove::kOneDrop,
     kSteelDrums, kMarimba, kFretlessBass, kWarmPad,
     {0, 3, 4, 3}, {5, 3, 0, 4}, {1, 4, 0, 3}, 606, kEvenMix},
};
// clang-format on

constexpr int kMajor[7] = {0, 2, 4, 5, 7, 9, 11};
constexpr int kMinor[7] = {0, 2, 3, 5, 7, 8, 10};

// A fixed sequence per song, so the files come out the same on every run.
class Dice {
 public:
  explicit Dice(uint32_t seed) : state_(seed * 2654435761u + 1) {}
  int Below(int n) {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ >> 16) % static_cast<uint32_t>(n));
  }
  int Around(int value, int spread) { return value - spread + Below(2 * spread + 1); }

 private:
  uint32_t state_;
};

class Composer {
 public:
  Composer(const Style& style, MidiSong& song) : s_(style), song_(song), dice_(style.seed) {}

  // Key of scale degree d (any integer; 7 is the tonic an octave up) above `tonic`.
  int Key(int d, int tonic) const {
    const int* scale = s_.minor ? kMinor : kMajor;
    const int octave = (d >= 0 ? d / 7 : (d - 6) / 7);
    const int step = d - octave * 7;
    return tonic + 12 * octave + scale[step];
  }
  // In minor the fifth-degree chord borrows the leading tone, as minor-key songs do.
  int ChordKey(int chord, int tone_index, int tonic) const {
    const int d = chord + 2 * tone_index;
    int key = Key(d, tonic);
    if (s_.minor && chord == 4 && tone_index == 1) key += 1;
    return key;
  }
  bool IsChordTone(int d, int chord) const {
    const int rel = ((d - chord) % 7 + 7) % 7;
    return rel == 0 || rel == 2 || rel == 4;
  }

  // Ticks of an eighth-note position in a bar, with the swung off-beats of a swing groove.
  int64_t EighthTick(int64_t bar_start, int eighth) const {
    int64_t t = bar_start + eighth * kEighth;
    if (s_.groove == Groove::kSwing && eighth % 2 == 1) t += kEighth / 3;
    return t;
  }

  SongFacts Compose() {
    song_.Tempo(0, s_.bpm);
    song_.Program(kLeadChannel, s_.lead);
    song_.Program(kCompChannel, s_.comp);
    song_.Program(kBassChannel, s_.bass);
    if (s_.pad >= 0) song_.Program(kPadChannel, s_.pad);
    // Mix: volume, pan and a little room.
    const int mix[][4] = {{kLeadChannel, s_.volume[0], 64, 40},
                          {kCompChannel, s_.volume[1], 40, 40},
                          {kBassChannel, s_.volume[2], 64, 20},
                          {kPadChannel, s_.volume[3], 88, 50},
                          {kDrumChannel, s_.volume[4], 64, 30}};
    for (const auto& m : mix) {
      song_.Control(0, m[0], 7, m[1]);
      song_.Control(0, m[0], 10, m[2]);
      song_.Control(0, m[0], 91, m[3]);
    }

    // The melodies: a verse and a chorus phrase pair, made once and repeated, as songs do.
    const std::vector<Note> verse = MakeMelody(s_.verse, 0, false);
    const std::vector<Note> chorus = MakeMelody(s_.chorus, 2, true);
    const std::vector<Note> bridge = MakeMelody(s_.bridge, 1, false, true);

    int bar = 0;
    // Intro: the band without the melody, the last bar with a fill.
    Section(bar, s_.verse, 4, nullptr);
    bar += 4;
    for (int round = 0; round < 2; ++round) {
      Section(bar, s_.verse, 8, &verse);
      bar += 8;
      Section(bar, s_.chorus, 8, &chorus);
      bar += 8;
    }
    Section(bar, s_.bridge, 8, &bridge);
    bar += 8;
    Section(bar, s_.chorus, 8, &chorus);
    bar += 8;
    Section(bar, s_.chorus, 8, &chorus, /*lift=*/true);
    bar += 8;
    Ending(bar);
    bar += 2;
    return {s_.title, s_.bpm, bar};
  }

  // The tick at which the song's last sound has ended.
  int64_t End() const { return song_.LastNoteEnd(); }

 private:
  struct Note {
    int64_t at;  // ticks from the start of the 8-bar phrase
    int degree;
    int64_t length;
    int velocity;
  };

  // Eight bars of melody over a four-chord progression played twice. The first four bars end
  // open (on a chord tone other than the tonic), the second four repeat the first three bars'
  // motif and close on the tonic.
  std::vector<Note> MakeMelody(const std::array<int, 4>& chords, int lift, bool busy,
                               bool slow = false) {
    static const std::vector<std::vector<int>> kCalm = {
        {0, 2, 3, 4, 6}, {0, 3, 4, 6}, {0, 2, 4}, {0, 1, 2, 4, 6}, {0, 4, 5, 6}};
    static const std::vector<std::vector<int>> kBusy = {
        {0, 1, 2, 3, 4, 6}, {0, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 4, 5, 6}, {0, 3, 4, 5, 6}};
    static const std::vector<std::vector<int>> kSlow = {{0, 4}, {0, 3, 4}, {0, 2, 4, 6}};
    const auto& cells = slow ? kSlow : busy ? kBusy : kCalm;
    const std::vector<int> motif_a = cells[dice_.Below(static_cast<int>(cells.size()))];
    const std::vector<int> motif_b = cells[dice_.Below(static_cast<int>(cells.size()))];
    const std::vector<int> cadence = {0, 2, 4};  // a half note to end the phrase

    const int low = 4 + lift, high = 12 + lift;
    std::vector<Note> first;
    int d = 7 + lift + (dice_.Below(3) - 1) * 2;
    for (int b = 0; b < 4; ++b) {
      const int chord = chords[b];
      const std::vector<int>& rhythm =
          b == 3 ? cadence : (b == 2 ? motif_a : (b % 2 ? motif_b : motif_a));
      for (size_t i = 0; i < rhythm.size(); ++i) {
        const int pos = rhythm[i];
        const int next = i + 1 < rhythm.size() ? rhythm[i + 1] : 8;
        static const int kSteps[] = {-2, -1, -1, -1, 1, 1, 1, 2, 0, 3, -3};
        d += kSteps[dice_.Below(11)];
        if (pos % 4 == 0) d = NearestChordTone(d, chord);
        if (d < low) d += 2;
        if (d > high) d -= 3;
        if (b == 3 && i == rhythm.size() - 1) {
          d = NearestChordTone(d, chord);
          if (((d % 7) + 7) % 7 == 0) d = NearestChordTone(d + 2, chord);  // keep it open
        }
        const int64_t length = (next - pos) * kEighth * (b == 3 && next == 8 ? 1 : 9) / 10;
        const int velocity = (pos == 0 ? 100 : pos == 4 ? 92 : 82) + dice_.Around(0, 5);
        first.push_back({int64_t(b) * kBar + pos * kEighth, d, length, velocity});
      }
    }
    // The answer: the same three bars (the progression repeats), a new close on the tonic.
    std::vector<Note> phrase = first;
    for (const Note& n : first) {
      if (n.at >= 3 * kBar) break;
      phrase.push_back({n.at + 4 * kBar, n.degree, n.length, n.velocity});
    }
    int last = phrase.back().degree;
    const int tonic = NearestTonic(last);
    phrase.push_back({7 * kBar, tonic + (last > tonic + 3 ? 2 : 0), kBeat * 2 - 40, 96});
    phrase.push_back({7 * kBar + 2 * kBeat, tonic, kBeat * 2 - 40, 90});
    return phrase;
  }

  int NearestChordTone(int d, int chord) const {
    for (int delta : {0, -1, 1, -2, 2, -3, 3}) {
      if (IsChordTone(d + delta, chord)) return d + delta;
    }
    return d;
  }
  static int NearestTonic(int d) {
    const int below = d - ((d % 7) + 7) % 7;
    return d - below <= 3 ? below : below + 7;
  }

  void Section(int first_bar, const std::array<int, 4>& chords, int bars,
               const std::vector<Note>* melody, bool lift = false) {
    for (int b = 0; b < bars; ++b) {
      const int64_t start = int64_t(first_bar + b) * kBar;
      const int chord = chords[b % 4];
      const int next_chord = chords[(b + 1) % 4];
      Comp(start, chord);
      if (s_.pad >= 0 && melody) Pad(start, chord);
      Bass(start, chord, next_chord);
      const bool fill = b == bars - 1;
      Drums(start, b == 0, fill, b);
    }
    if (melody) {
      const int64_t origin = int64_t(first_bar) * kBar;
      for (const Note& n : *melody) {
        const int octave = lift ? 12 : 0;
        song_.Note(origin + n.at, kLeadChannel, Key(n.degree, s_.tonic - 12) + octave, n.velocity,
                   n.length);
      }
    }
  }

  void Ending(int bar) {
    const int64_t start = int64_t(bar) * kBar;
    for (int i = 0; i < 3; ++i) song_.Note(start, kCompChannel, Voice(0, i), 96, kBar + kBeat);
    if (s_.pad >= 0) {
      for (int i = 0; i < 3; ++i)
        song_.Note(start, kPadChannel, Voice(0, i) + 12, 80, kBar + kBeat);
    }
    song_.Note(start, kLeadChannel, Key(7, s_.tonic - 12), 100, kBar + kBeat);
    song_.Note(start, kBassChannel, BassKey(0), 110, kBar + kBeat);
    song_.Note(start, kDrumChannel, kCrash, 110, kBar);
    song_.Note(start, kDrumChannel, kKick, 110, kBeat);
  }

  // Close-position chord tone i (0 root, 1 third, 2 fifth, 3 seventh) between G3 and F#5.
  int Voice(int chord, int i) const {
    int key = ChordKey(chord, i, s_.tonic - 12);
    while (key < 55) key += 12;
    while (key > 66 + 6) key -= 12;
    return key;
  }
  int BassKey(int chord, int tone = 0) const {
    int key = ChordKey(chord, tone, s_.tonic - 24);
    while (key < 33) key += 12;
    while (key > 52) key -= 12;
    return key;
  }

  void Chord(int64_t at, int chord, int tones, int velocity, int64_t length, int channel) {
    for (int i = 0; i < tones; ++i) {
      song_.Note(at, channel, Voice(chord, i), velocity + dice_.Around(0, 4), length);
    }
  }

  void Comp(int64_t bar, int chord) {
    switch (s_.groove) {
      case Groove::kSwing:  // four-note voicings on the "and" of 2 and on 4
        Chord(EighthTick(bar, 0), chord, 4, 62, kBeat, kCompChannel);
        Chord(EighthTick(bar, 3), chord, 4, 70, kEighth, kCompChannel);
        Chord(EighthTick(bar, 6), chord, 4, 58, kBeat, kCompChannel);
        break;
      case Groove::kDisco:  // muted guitar on every off-beat sixteenth pair
        for (int e = 0; e < 8; ++e)
          Chord(bar + e * kEighth + kSixteenth, chord, 3, 58, 90, kCompChannel);
        break;
      case Groove::kLatin:  // the guitar plays the off-beats with an accent on 4
        for (int e : {1, 3, 5, 6})
          Chord(bar + e * kEighth, chord, 3, e == 6 ? 78 : 64, kEighth - 30, kCompChannel);
        break;
      case Groove::kRock:  // palm-muted power chords
        for (int e = 0; e < 8; ++e) {
          for (int i : {0, 2}) {
            song_.Note(bar + e * kEighth, kCompChannel, BassKey(chord, i) + 12,
                       e % 4 == 0 ? 92 : 74, kEighth - 40);
          }
        }
        break;
      case Groove::kFunk:  // clavinet chanks on the sixteenths that push the groove
        for (int x : {2, 6, 7, 10, 14}) Chord(bar + x * kSixteenth, chord, 3, 72, 70, kCompChannel);
        break;
      case Groove::kOneDrop:  // the skank on 2 and 4
        for (int e : {2, 6}) Chord(bar + e * kEighth, chord, 3, 74, kEighth, kCompChannel);
        break;
    }
  }

  void Pad(int64_t bar, int chord) {
    for (int i = 0; i < 3; ++i) song_.Note(bar, kPadChannel, Voice(chord, i) + 12, 58, kBar - 20);
  }

  void Bass(int64_t bar, int chord, int next_chord) {
    const int root = BassKey(chord);
    const int fifth = BassKey(chord, 2) < root ? BassKey(chord, 2) + 12 : BassKey(chord, 2);
    const int third = BassKey(chord, 1) < root ? BassKey(chord, 1) + 12 : BassKey(chord, 1);
    auto n = [&](int64_t at, int key, int velocity, int64_t length) {
      song_.Note(at, kBassChannel, key, velocity + dice_.Around(0, 4), length);
    };
    switch (s_.groove) {
      case Groove::kSwing: {  // walking quarters that lead into the next chord by a half step
        const int target = BassKey(next_chord);
        const int approach = target + (dice_.Below(2) ? 1 : -1);
        const int line[4] = {root, dice_.Below(2) ? third : fifth, fifth, approach};
        for (int q = 0; q < 4; ++q) n(bar + q * kBeat, line[q], q == 0 ? 96 : 86, kBeat - 30);
        break;
      }
      case Groove::kDisco:  // octave eighths
        for (int e = 0; e < 8; ++e)
          n(bar + e * kEighth, e % 2 ? root + 12 : root, e % 2 ? 84 : 100, kEighth - 50);
        break;
      case Groove::kLatin:  // the tumbao: the "and" of 2 and beat 4
        n(bar, root, 90, kEighth);
        n(bar + 3 * kEighth, fifth, 96, 3 * kEighth - 20);
        n(bar + 6 * kEighth, root + 12 > 52 ? root : root + 12, 92, 2 * kEighth - 20);
        break;
      case Groove::kRock:  // driving eighths on the root, a pickup at the end
        for (int e = 0; e < 8; ++e)
          n(bar + e * kEighth, e == 7 ? fifth : root, e % 4 == 0 ? 104 : 88, kEighth - 40);
        break;
      case Groove::kFunk: {  // syncopated sixteenths with an octave pop and a flat seventh
        const int pattern[][2] = {{0, 0}, {3, 12}, {6, 0}, {8, 0}, {10, 7}, {11, 10}, {14, 12}};
        for (const auto& p : pattern) {
          n(bar + p[0] * kSixteenth, root + p[1], p[1] == 12 ? 104 : 92, kSixteenth + 20);
        }
        break;
      }
      case Groove::kOneDrop:  // long root, then a walk up the chord
        n(bar, root, 96, 3 * kEighth - 20);
        n(bar + 3 * kEighth, third, 84, kEighth - 20);
        n(bar + 4 * kEighth, fifth, 88, 2 * kEighth - 20);
        n(bar + 6 * kEighth, root + 12 > 52 ? fifth : root + 12, 86, 2 * kEighth - 20);
        break;
    }
  }

  void Hit(int64_t at, int key, int velocity) {
    song_.Note(at, kDrumChannel, key, std::clamp(velocity + dice_.Around(0, 6), 1, 127),
               kSixteenth);
  }

  void Fill(int64_t bar) {
    const int toms[] = {kHighTom, kHighTom, kMidTom, kMidTom, kLowTom, kLowTom, kSnare, kSnare};
    for (int x = 0; x < 8; ++x) Hit(bar + 2 * kBeat + x * kSixteenth, toms[x], 84 + x * 3);
  }

  void Drums(int64_t bar, bool section_start, bool fill, int bar_in_section) {
    if (section_start) Hit(bar, kCrash, 100);
    switch (s_.groove) {
      case Groove::kSwing:
        for (int q = 0; q < 4; ++q) {
          Hit(EighthTick(bar, 2 * q), kRide, q % 2 ? 84 : 72);
          Hit(EighthTick(bar, 2 * q), kKick, 38);
        }
        Hit(EighthTick(bar, 3), kRide, 66);
        Hit(EighthTick(bar, 7), kRide, 66);
        Hit(EighthTick(bar, 2), kPedalHat, 70);
        Hit(EighthTick(bar, 6), kPedalHat, 70);
        if (fill) {
          Hit(EighthTick(bar, 5), kSnare, 80);
          Hit(EighthTick(bar, 7), kSnare, 96);
        } else if (bar_in_section % 2) {
          Hit(EighthTick(bar, 5), kSideStick, 56);
        }
        return;
      case Groove::kDisco:
        for (int q = 0; q < 4; ++q) Hit(bar + q * kBeat, kKick, 104);
        for (int q : {1, 3}) {
          Hit(bar + q * kBeat, kSnare, 96);
          Hit(bar + q * kBeat, kClap, 80);
        }
        for (int x = 0; x < 16; ++x) {
          if (x % 4 == 2) {
            Hit(bar + x * kSixteenth, kOpenHat, 78);
          } else {
            Hit(bar + x * kSixteenth, kClosedHat, x % 2 ? 46 : 62);
          }
        }
        break;
      case Groove::kLatin: {
        // Son clave, three side then two side.
        const bool three_side = bar_in_section % 2 == 0;
        const std::vector<int> clave =
            three_side ? std::vector<int>{0, 6, 12} : std::vector<int>{4, 8};
        for (int x : clave) Hit(bar + x * kSixteenth, kClaves, 90);
        const int conga[][2] = {{0, kMuteConga},  {4, kMuteConga}, {6, kOpenConga},
                                {7, kOpenConga},  {8, kMuteConga}, {12, kLowConga},
                                {14, kOpenConga}, {15, kOpenConga}};
        for (const auto& c : conga) Hit(bar + c[0] * kSixteenth, c[1], 80);
        for (int x = 0; x < 16; ++x) Hit(bar + x * kSixteenth, kShaker, x % 2 ? 40 : 56);
        Hit(bar, kKick, 92);
        Hit(bar + 10 * kSixteenth, kKick, 80);
        Hit(bar + 3 * kBeat, kCowbell, 60);
        break;
      }
      case Groove::kRock:
        Hit(bar, kKick, 110);
        Hit(bar + 5 * kEighth, kKick, 96);
        Hit(bar + 4 * kEighth, kKick, 104);
        for (int q : {1, 3}) Hit(bar + q * kBeat, kSnare, 110);
        for (int e = 0; e < 8; ++e) Hit(bar + e * kEighth, kClosedHat, e % 2 ? 60 : 82);
        break;
      case Groove::kFunk:
        for (int x : {0, 3, 10}) Hit(bar + x * kSixteenth, kKick, 104);
        for (int x : {4, 12}) Hit(bar + x * kSixteenth, kSnare, 108);
        for (int x : {7, 9, 15}) Hit(bar + x * kSixteenth, kSnare, 36);
        for (int x = 0; x < 16; ++x) {
          if (x == 14) {
            Hit(bar + x * kSixteenth, kOpenHat, 76);
          } else if (x != 15) {
            Hit(bar + x * kSixteenth, kClosedHat, x % 2 ? 44 : 72);
          }
        }
        Hit(bar + kBeat, kTambourine, 54);
        Hit(bar + 3 * kBeat, kTambourine, 54);
        break;
      case Groove::kOneDrop:
        Hit(bar + 2 * kBeat, kKick, 100);
        Hit(bar + 2 * kBeat, kSideStick, 90);
        for (int e = 0; e < 8; ++e) {
          Hit(bar + e * kEighth + (e % 2 ? kSixteenth / 2 : 0), kClosedHat, e % 2 ? 48 : 66);
        }
        break;
    }
    if (fill) Fill(bar);
  }

  const Style& s_;
  MidiSong& song_;
  Dice dice_;
};

}  // namespace

SongFacts ComposeSong(int n, MidiSong& song) {
  Composer composer(kStyles[n], song);
  return composer.Compose();
}
