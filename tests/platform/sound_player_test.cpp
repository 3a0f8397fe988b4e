// The real audio player on SDL's dummy output (no sound card needed), from the sound module as the
// program loads it: effects play, a waiting effect holds its caller, music tracks play to their
// end and say so on the UI thread.
#include "platform/sound_player.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <random>

#include "platform/music_synth.h"
#include "platform/read_ahead_file.h"
#include "platform/sound_module.h"

// Failures name an instrument by its bank and program.
void PrintTo(const MidiInstrument& instrument, std::ostream* out) {
  *out << "bank " << instrument.bank << " program " << instrument.program;
}

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// A one-note MIDI file at 240 beats a minute: middle C on a piano for `beats` beats, the track
// ending with the note. A careless file instead: an organ without reverb whose note is never
// let go.
std::string WriteTinyMidi(const QTemporaryDir& dir, const std::string& name, int beats,
                          bool careless = false) {
  const int ticks = 96 * beats;
  const std::string delta = {char(0x80 | ((ticks >> 7) & 0x7f)), char(ticks & 0x7f)};
  // clang-format off
  std::string track = {0x00, char(0xff), 0x51, 0x03, 0x03, char(0xd0), char(0x90)};  // tempo
  if (careless) {
    track += {0x00, char(0xc0), 16, 0x00, char(0xb0), 91, 0, 0x00, char(0xb0), 93, 0};
    track += {0x00, char(0x90), 60, 100};
    track += delta + std::string{char(0xff), 0x2f, 0x00};
  } else {
    track += {0x00, char(0x90), 60, 100};
    track += delta + std::string{char(0x80), 60, 0, 0x00, char(0xff), 0x2f, 0x00};
  }
  // clang-format on
  std::string file = "MThd";
  file += std::string("\0\0\0\6\0\0\0\1\0\x60", 10);
  file += "MTrk";
  file += std::string{0, 0, 0, char(track.size())};
  file += track;
  const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
  std::ofstream(path, std::ios::binary) << file;
  return path;
}

// The loudest sample the mixer puts out in the next `ms` milliseconds.
int LoudestOutput(QEventLoop& loop, int ms) {
  static std::atomic<int> loudest;
  loudest = 0;
  Mix_SetPostMix(
      [](void*, Uint8* stream, int len) {
        const auto* samples = reinterpret_cast<const int16_t*>(stream);
        for (int i = 0; i < len / 2; ++i) loudest = std::max<int>(loudest, std::abs(samples[i]));
      },
      nullptr);
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  Mix_SetPostMix(nullptr, nullptr);
  return loudest;
}

// Whether the output falls silent (below `level`) within `ms` milliseconds, however slowly the
// machine runs the audio.
bool FallsQuiet(QEventLoop& loop, int ms, int level) {
  for (int waited = 0; waited < ms; waited += 100) {
    if (LoudestOutput(loop, 100) < level) return true;
  }
  return false;
}

// A WAVE file of the given chunks, each as id and content; `claimed` replaces the length written
// in the last chunk's header when not negative.
std::vector<uint8_t> Wave(const std::vector<std::pair<std::string, std::string>>& chunks,
                          int64_t claimed = -1) {
  std::string body = "WAVE";
  for (size_t i = 0; i < chunks.size(); ++i) {
    const auto& [id, content] = chunks[i];
    const uint32_t n = i + 1 == chunks.size() && claimed >= 0
                           ? static_cast<uint32_t>(claimed)
                           : static_cast<uint32_t>(content.size());
    body += id + std::string{char(n & 0xff), char(n >> 8 & 0xff), char(n >> 16 & 0xff),
                             char(n >> 24 & 0xff)};
    body += content;
    if (content.size() % 2 == 1 && i + 1 < chunks.size()) body += '\0';
  }
  const uint32_t n = static_cast<uint32_t>(body.size());
  const std::string file =
      "RIFF" +
      std::string{char(n & 0xff), char(n >> 8 & 0xff), char(n >> 16 & 0xff), char(n >> 24 & 0xff)} +
      body;
  return std::vector<uint8_t>(file.begin(), file.end());
}

TEST(WaveFile, OnlyAWholeWaveFileReachesTheDecoder) {
  const std::string fmt("\1\0\1\0\x11\x2b\0\0\x11\x2b\0\0\1\0\x08\0", 16);
  const std::vector<uint8_t> shipped = ReadFile(ZELMAR_BESIDE_DIR "/Zelmar3.wav");
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
    bool whole;
  } cases[] = {
      {"the game's own sound", shipped, true},
      {"fmt and data", Wave({{"fmt ", fmt}, {"data", "abcd"}}), true},
      {"a list chunk and an odd data chunk without its pad byte",
       Wave({{"LIST", "xyz"}, {"fmt ", fmt}, {"data", "abc"}}), true},
      {"a data chunk claiming 3.7 GB", Wave({{"fmt ", fmt}, {"data", "abcd"}}, 0xde2a3890), false},
      {"a data chunk one byte longer than the file", Wave({{"fmt ", fmt}, {"data", "ab"}}, 3),
       false},
      {"the first half of the game's sound",
       std::vector<uint8_t>(shipped.begin(), shipped.begin() + shipped.size() / 2), false},
      {"no data chunk", Wave({{"fmt ", fmt}}), false},
      {"no format chunk", Wave({{"data", "abcd"}}), false},
      {"not RIFF", {'O', 'g', 'g', 'S', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, false},
      {"nothing", {}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsWholeWaveFile(c.bytes.data(), c.bytes.size()), c.whole) << c.what;
  }
}

// The process's resident memory in megabytes.
double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  }
  return 0;
}

constexpr char kFirstTrack[] = ZELMAR_BESIDE_DIR "/Zelmar0.mid";

// A track as the player's synthesizer renders it, from start to end (the release of its last
// notes included) or for the first `seconds`; with to_last_event, to the call of kSynthFrames in
// which its last event plays, where the player tells the track's end.
std::vector<int16_t> RenderTrack(const std::string& font, bool all_samples, int seconds = 600,
                                 const std::string& track = kFirstTrack,
                                 bool to_last_event = false) {
  MusicSynth music(kAudioRate, all_samples);
  fluid_synth_t* synth = music.Synth();
  EXPECT_NE(fluid_synth_sfload(synth, font.c_str(), 1), FLUID_FAILED);
  fluid_player_t* player = new_fluid_player(synth);
  fluid_player_add(player, track.c_str());
  fluid_player_play(player);
  std::vector<int16_t> out;
  while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING &&
         out.size() < 2 * static_cast<size_t>(seconds) * kAudioRate) {
    const size_t at = out.size();
    out.resize(at + 2 * kSynthFrames);
    fluid_synth_write_s16(synth, kSynthFrames, &out[at], 0, 2, &out[at], 1, 2);
    if (to_last_event &&
        fluid_player_get_current_tick(player) >= fluid_player_get_total_ticks(player)) {
      break;
    }
  }
  delete_fluid_player(player);
  return out;
}

// A recording is read as it plays through a file of its own: whatever is asked, in whatever order,
// is what the file holds there, across its blocks and past its end.
TEST(ReadAheadFile, ReadsWhatTheFileHoldsWhereverItIsAsked) {
  const QTemporaryDir dir;
  const std::string path = dir.filePath("held").toStdString();
  std::vector<uint8_t> held(300000);
  for (size_t i = 0; i < held.size(); ++i) held[i] = static_cast<uint8_t>(i * 7 % 251);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(held.data()), static_cast<std::streamsize>(held.size()));
  SDL_RWops* file = OpenReadAheadFile(path);
  ASSERT_NE(file, nullptr) << SDL_GetError();
  const auto size = static_cast<Sint64>(held.size());
  EXPECT_EQ(SDL_RWsize(file), size);
  std::mt19937 random(38);
  Sint64 at = 0;
  for (int i = 0; i < 400; ++i) {
    SCOPED_TRACE(testing::Message() << "step " << i << " at " << at);
    if (random() % 3 == 0) {
      const Sint64 to = static_cast<Sint64>(random() % (held.size() + 10));
      const int whence = static_cast<int>(random() % 3);
      const Sint64 from = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? at : size;
      ASSERT_EQ(SDL_RWseek(file, to - from, whence), to);
      at = to;
    }
    // Mostly the small reads of a decoder, now and then one larger than a block.
    const size_t wanted = random() % 8 == 0 ? 70000 + random() % 70000 : 1 + random() % 5000;
    std::vector<uint8_t> got(wanted);
    const size_t expected = at >= size ? 0 : std::min<size_t>(wanted, size - at);
    ASSERT_EQ(SDL_RWread(file, got.data(), 1, wanted), expected);
    ASSERT_TRUE(std::equal(got.begin(), got.begin() + expected, held.begin() + at));
    at += static_cast<Sint64>(expected);
    ASSERT_EQ(SDL_RWtell(file), at);
  }
  // Whole objects only: 5 bytes before the end hold one object of 4.
  ASSERT_EQ(SDL_RWseek(file, -5, RW_SEEK_END), size - 5);
  uint8_t four[8];
  EXPECT_EQ(SDL_RWread(file, four, 4, 2), 1u);
  EXPECT_LT(SDL_RWseek(file, -size - 1, RW_SEEK_END), 0);
  EXPECT_LT(SDL_RWseek(file, INT64_MAX, RW_SEEK_END), 0);
  EXPECT_EQ(SDL_RWtell(file), size) << "a refused seek leaves the reader where it was";
  EXPECT_EQ(SDL_RWwrite(file, four, 1, 1), 0u);
  EXPECT_EQ(SDL_RWclose(file), 0);

  EXPECT_EQ(OpenReadAheadFile(dir.filePath("none").toStdString()), nullptr);
  EXPECT_NE(std::string(SDL_GetError()).find("none"), std::string::npos) << SDL_GetError();
  EXPECT_EQ(OpenReadAheadFile(dir.path().toStdString()), nullptr) << "a folder";
}

// The player's synthesizer holds only the samples of the instruments in play; what is heard is
// what a synthesizer holding the whole font plays, to within one step of the 16-bit output.
TEST(MusicSynth, HoldingOnlyTheSamplesInPlaySoundsTheSame) {
  const std::string font = FindGeneralMidiSoundFont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI sound font is installed";
  const std::vector<int16_t> heard = RenderTrack(font, false);
  const std::vector<int16_t> whole = RenderTrack(font, true);
  ASSERT_EQ(heard.size(), whole.size());
  int loudest = 0;
  size_t differs = heard.size();
  for (size_t i = 0; i < heard.size(); ++i) {
    loudest = std::max(loudest, std::abs(int{heard[i]}));
    if (std::abs(heard[i] - whole[i]) > 1 && differs == heard.size()) differs = i;
  }
  EXPECT_GT(loudest, 1000) << "the track was heard";
  EXPECT_EQ(differs, heard.size()) << "first differs at frame " << differs / 2;
}

// The interleaved samples of a stereo Ogg Vorbis file at the output's rate; empty when it is
// anything else or can't be decoded whole.
std::vector<int16_t> DecodeVorbis(const std::string& path) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) return {};
  std::vector<int16_t> samples;
  const vorbis_info* info = ov_info(&file, -1);
  bool ok = info != nullptr && info->channels == 2 && info->rate == kAudioRate;
  char buffer[8192];
  int section = 0;
  for (long got = 1; ok && got > 0;) {
    got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &section);
    ok = got >= 0 && section == 0;
    const auto* read = reinterpret_cast<const int16_t*>(buffer);
    if (ok) samples.insert(samples.end(), read, read + got / 2);
  }
  ov_clear(&file);
  return ok ? samples : std::vector<int16_t>();
}

// How near a recording comes to what the synthesizer renders, in windows of kWindowFrames of the
// middle signal (left plus right) below kLowPassHz. A lossy recording differs from the render in
// every sample, by noise the encoder shapes to lie under what is heard, most of it in the highest
// octaves, where it may stand in for the cymbals' noise with noise of its own; it does not move
// what is played or when. So below 4 kHz, where every instrument's notes are, its difference from
// the render stays well below the render in every window with music in it, where a recording of
// another track, at another tempo, without one of its instruments, or at a level that is clipped
// (or louder or softer at all) has a difference as loud as the part that is wrong.
struct Likeness {
  // The least, over the windows louder than kQuietestWindowDb, of the render's energy over the
  // difference's, in dB; and the frame where that window starts.
  double worst_db = 1e9;
  size_t worst_at = 0;
  size_t windows = 0;  // windows compared
};
constexpr size_t kWindowFrames = kAudioRate / 10;
constexpr double kQuietestWindowDb = -50;  // below full scale
constexpr double kLowPassHz = 4000;

Likeness CompareWithRender(const std::vector<int16_t>& recorded,
                           const std::vector<int16_t>& rendered) {
  Likeness likeness;
  const size_t frames = std::min(recorded.size(), rendered.size()) / 2;
  // Both signals pass the same low-pass filter, two one-pole sections at kLowPassHz.
  const double pole = std::exp(-2 * M_PI * kLowPassHz / kAudioRate);
  double mid_lows[2] = {0, 0}, heard_lows[2] = {0, 0};
  const auto low_pass = [pole](double* state, double in) {
    state[0] = in + pole * (state[0] - in);
    state[1] = state[0] + pole * (state[1] - state[0]);
    return state[1];
  };
  for (size_t at = 0; at + kWindowFrames <= frames; at += kWindowFrames) {
    double signal = 0, difference = 0;
    for (size_t i = at; i < at + kWindowFrames; ++i) {
      const double mid =
          low_pass(mid_lows, static_cast<double>(rendered[2 * i]) + rendered[2 * i + 1]);
      const double heard =
          low_pass(heard_lows, static_cast<double>(recorded[2 * i]) + recorded[2 * i + 1]);
      signal += mid * mid;
      difference += (heard - mid) * (heard - mid);
    }
    const double full_scale = 4.0 * 32768 * 32768 * kWindowFrames;
    if (10 * std::log10(signal / full_scale) < kQuietestWindowDb) continue;
    ++likeness.windows;
    const double db = 10 * std::log10(signal / std::max(difference, 1.0));
    if (db < likeness.worst_db) {
      likeness.worst_db = db;
      likeness.worst_at = at;
    }
  }
  return likeness;
}

// Each track carried with the game has a recording beside the sound module, named after the
// track's content, that plays what a fresh synthesizer renders of the track: as long to the frame
// (up to the call of kSynthFrames in which its last event plays, where the player tells the
// track's end), and in every tenth of a second with music in it, its difference from the render
// at least kLeastLikenessDb below the render (CompareWithRender). The encoder's noise stays 11.9
// dB or more below in the worst window of the six tracks; recordings of the first track 2 % fast,
// without its vibraphone, without its bass, at twice its level (clipped), or of another track came
// to 1.7 dB or less. No sample of it is at full scale: nothing in it was clipped.
TEST(MusicRecording, EachTrackIsRecordedAsTheSynthesizerRendersIt) {
  constexpr double kLeastLikenessDb = 8;
  const std::string font = FindGeneralMidiSoundFont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI sound font is installed";
  int tracks = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ZELMAR_BESIDE_DIR)) {
    if (entry.path().extension() != ".mid") continue;
    ++tracks;
    const std::string track = entry.path().string();
    SCOPED_TRACE(track);
    const std::vector<uint8_t> bytes = ReadFile(track);
    const std::vector<int16_t> recorded =
        DecodeVorbis(ZELMAR_RECORDINGS_DIR "/" + RecordingName(bytes.data(), bytes.size()));
    const std::vector<int16_t> rendered = RenderTrack(font, false, 600, track, true);
    ASSERT_GT(recorded.size(), 2u * kAudioRate) << "no recording of a second or more";
    EXPECT_EQ(recorded.size(), rendered.size()) << "it ends where the track's last event plays";
    const Likeness likeness = CompareWithRender(recorded, rendered);
    EXPECT_GT(likeness.windows, recorded.size() / 2 / kWindowFrames / 2) << "mostly music";
    EXPECT_GE(likeness.worst_db, kLeastLikenessDb)
        << "the window " << likeness.worst_at / static_cast<double>(kAudioRate)
        << " s into the track";
    const auto full_scale = std::count_if(recorded.begin(), recorded.end(), [](int16_t sample) {
      return sample == INT16_MAX || sample == INT16_MIN;
    });
    EXPECT_EQ(full_scale, 0) << "samples at full scale";
  }
  EXPECT_GE(tracks, 6);
}

// A Standard MIDI File of the given chunks ("MTrk" or another id, and the chunk's bytes).
std::vector<uint8_t> MidiFile(const std::vector<std::pair<std::string, std::string>>& chunks) {
  const auto length = [](size_t n) {
    return std::string{char(n >> 24 & 0xff), char(n >> 16 & 0xff), char(n >> 8 & 0xff),
                       char(n & 0xff)};
  };
  std::string file = "MThd" + length(6) + std::string("\0\1\0\2\0\x60", 6);
  for (const auto& [id, bytes] : chunks) file += id + length(bytes.size()) + bytes;
  return std::vector<uint8_t>(file.begin(), file.end());
}

TEST(MusicSynth, FindsTheInstrumentsAFileSelects) {
  using I = MidiInstrument;
  // clang-format off
  const char kMelody[] =
      "\0\xff\x51\3\x07\xa1\x20"        // tempo, a meta event
      "\0\xb0\0\x08"                    // bank 8 on channel 1 ...
      "\0\xc0\x05"                      // ... then its program 5
      "\0\x90\x3c\x40" "\x10\x3e\x40"   // notes, the second in running status
      "\0\xc1\x05"                      // program 5 on channel 2, still bank 0
      "\0\xf0\3\x7e\x7f\xf7"            // a system exclusive message
      "\0\xc0\x05"                      // channel 1's instrument again: found once
      "\0\xc9\x10"                      // channel 10 plays the percussion bank
      "\x81\x00\xc2\x30" "\0\x31"       // a long delta; a program in running status
      "\0\xff\x2f\0";
  const std::string melody(kMelody, sizeof kMelody - 1);
  // clang-format on
  const std::vector<I> melody_found = {{8, 5}, {0, 5}, {128, 16}, {0, 48}, {0, 49}};
  const std::string cut_short("\0\xc3\x07\0\xc4", 5);  // the second event lacks its byte
  const struct {
    const char* what;
    std::vector<uint8_t> file;
    std::vector<I> found;
  } cases[] = {
      {"a track with meta, system and running-status events", MidiFile({{"MTrk", melody}}),
       melody_found},
      {"an unknown chunk skipped, each track with banks of its own",
       MidiFile({{"XYZW", std::string("\0\xc0\x09", 3)},
                 {"MTrk", std::string("\0\xb0\0\x08", 4)},
                 {"MTrk", std::string("\0\xc0\x02", 3)}}),
       {{0, 2}}},
      {"an event cut short", MidiFile({{"MTrk", cut_short}}), {{0, 7}}},
      {"a chunk longer than the file",
       [&] {
         std::vector<uint8_t> file = MidiFile({{"MTrk", melody}});
         file.resize(file.size() - 20);
         return file;
       }(),
       {{8, 5}, {0, 5}}},
      {"a data byte with no status before it",
       MidiFile({{"MTrk", std::string("\0\x05\0\xc0\x01", 5)}}),
       {}},
      {"not a MIDI file", {'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 0}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InstrumentsSelected(c.file.data(), c.file.size()), c.found) << c.what;
  }
}

// What the synthesizer selects as it plays each of the game's tracks is among the instruments
// found in the file (or those it starts with): the player holds them before the track starts.
TEST(MusicSynth, TheInstrumentsOfTheGamesTracksAreFoundInTheirFiles) {
  const std::string font = FindGeneralMidiSoundFont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI sound font is installed";
  MusicSynth music(kAudioRate);
  fluid_synth_t* synth = music.Synth();
  const int font_id = fluid_synth_sfload(synth, font.c_str(), 1);
  ASSERT_NE(font_id, FLUID_FAILED);
  for (int n = 0; n <= 5; ++n) {
    const std::string path = ZELMAR_BESIDE_DIR "/Zelmar" + std::to_string(n) + ".mid";
    const std::vector<uint8_t> bytes = ReadFile(path);
    std::vector<MidiInstrument> found = InstrumentsSelected(bytes.data(), bytes.size());
    EXPECT_GE(found.size(), 3u) << path;
    found.push_back({0, 0});
    found.push_back({128, 0});
    fluid_synth_system_reset(synth);
    fluid_player_t* player = new_fluid_player(synth);
    fluid_player_add_mem(player, bytes.data(), bytes.size());
    fluid_player_play(player);
    std::vector<int16_t> out(2 * kSynthFrames);
    std::vector<MidiInstrument> selected;
    for (int call = 0; call < 20 * kAudioRate / kSynthFrames; ++call) {
      fluid_synth_write_s16(synth, kSynthFrames, out.data(), 0, 2, out.data(), 1, 2);
      for (int channel = 0; channel < kTrackChannels; ++channel) {
        int sfont = 0, bank = 0, program = 0;
        fluid_synth_get_program(synth, channel, &sfont, &bank, &program);
        const MidiInstrument instrument{channel == 9 ? 128 : bank, program};
        if (std::find(selected.begin(), selected.end(), instrument) == selected.end()) {
          selected.push_back(instrument);
        }
      }
    }
    delete_fluid_player(player);
    for (const MidiInstrument& instrument : selected) {
      EXPECT_NE(std::find(found.begin(), found.end(), instrument), found.end())
          << path << " selects " << testing::PrintToString(instrument);
    }
  }
}

// Opens a player and runs the UI thread's events until it tells it is open (at most 10 s); false
// if it never told, or told from inside the call or from another thread.
bool OpenAndWait(SoundPlayer& player) {
  bool opened = false, on_ui_thread = false;
  player.Open([&] {
    opened = true;
    on_ui_thread = QThread::currentThread() == QCoreApplication::instance()->thread();
  });
  if (opened) return false;
  QElapsedTimer clock;
  clock.start();
  while (!opened && clock.elapsed() < 10000) {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return opened && on_ui_thread;
}

TEST(SoundModule, AModuleThatCannotBeLoadedLeavesThePlayerSilentAndSaysWhy) {
  const std::unique_ptr<SoundPlayer> player = CreateSoundModulePlayer("/nowhere/sound.so");
  ASSERT_TRUE(OpenAndWait(*player));
  EXPECT_FALSE(player->HasDevice());
  EXPECT_NE(player->DeviceError().find("the sound module can't be loaded: /nowhere/sound.so"),
            std::string::npos)
      << player->DeviceError();
  EXPECT_FALSE(player->PlayEffectFile(ZELMAR_BESIDE_DIR "/Zelmar0.wav"));
  EXPECT_EQ(player->PrepareEffect(ReadFile(ZELMAR_BESIDE_DIR "/Zelmar0.wav")), nullptr);
  std::string error;
  EXPECT_FALSE(player->OpenMusic(ZELMAR_BESIDE_DIR "/Zelmar0.mid", &error));
  EXPECT_EQ(error.rfind("no audio device (the sound module can't be loaded", 0), 0u) << error;
}

// The player as the program has it: the sound module's, loaded and opened off the UI thread.
class RealPlayer : public ::testing::Test {
 public:
  static void SetUpTestSuite() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  void SetUp() override {
    Use([] { return CreateSoundModulePlayer(ZELMAR_SOUND_MODULE); });
  }
  // Opens the player `make` makes in place of the one in use, which goes first: there is one
  // mixer.
  void Use(const std::function<std::unique_ptr<SoundPlayer>()>& make) {
    player.reset();
    player = make();
    ASSERT_TRUE(OpenAndWait(*player));
    ASSERT_TRUE(player->HasDevice()) << player->DeviceError();
    player->SetMusicEndHandler([this](MusicEnd end) {
      ends.push_back(end);
      if (loop.isRunning()) loop.quit();
    });
  }
  // Runs the UI thread's events until a music end arrives or `ms` pass.
  void RunEvents(int ms) {
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }

  QTemporaryDir dir;
  std::unique_ptr<SoundPlayer> player;
  std::vector<MusicEnd> ends;
  QEventLoop loop;
};

TEST_F(RealPlayer, PlaysEffectsFromMemoryAndFiles) {
  const std::string reel = ZELMAR_BESIDE_DIR "/Zelmar0.wav";
  const auto effect = player->PrepareEffect(ReadFile(reel));
  ASSERT_NE(effect, nullptr);
  EXPECT_TRUE(player->PlayEffect(*effect));
  EXPECT_EQ(player->PrepareEffect({'R', 'I', 'F', 'F', 0, 1}), nullptr);
  std::vector<uint8_t> half = ReadFile(reel);
  half.resize(half.size() / 2);
  EXPECT_EQ(player->PrepareEffect(half), nullptr);
  EXPECT_FALSE(player->PlayEffectFile(dir.filePath("missing.wav").toStdString()));
  const std::string junk = dir.filePath("junk.wav").toStdString();
  std::ofstream(junk) << "not a sound at all";
  EXPECT_FALSE(player->PlayEffectFile(junk));

  // Each play stops the effect still sounding: the thud cuts the fanfare short.
  const std::string fanfare = ZELMAR_BESIDE_DIR "/ZelmarWin.wav";
  EXPECT_TRUE(player->PlayEffectFile(fanfare));
  RunEvents(100);
  EXPECT_TRUE(player->PlayEffect(*effect));
  EXPECT_TRUE(FallsQuiet(loop, 600, 1));  // the fanfare had more than a second to go

  // A play with a waiter returns at once and tells it once the 110 ms thud has been played out.
  QElapsedTimer clock;
  clock.start();
  qint64 ended_after = -1;
  EXPECT_TRUE(player->PlayEffectFile(reel, [&] { ended_after = clock.elapsed(); }));
  EXPECT_EQ(ended_after, -1) << "never told from inside the call";
  while (ended_after < 0 && clock.elapsed() < 3000) RunEvents(5);
  EXPECT_GE(ended_after, 90);
  // A waited-for effect cut short by the next one ends for its waiter too.
  bool cut_short = false;
  EXPECT_TRUE(player->PlayEffectFile(fanfare, [&] { cut_short = true; }));
  EXPECT_TRUE(player->PlayEffect(*effect));
  RunEvents(50);
  EXPECT_TRUE(cut_short);
}

// What the player puts out of a track is what the synthesizer renders in its calls of
// kSynthFrames, sample for sample (within the one step of dither), whatever the output's
// buffer: with calls of the buffer's size the notes would fall elsewhere after a second or two.
// The game's own track plays from its recording, as it decodes; the same track with another
// tempo, put in its place, has none (it is known by its content, not its name) and is
// synthesized.
TEST_F(RealPlayer, PlaysTheTrackAsTheSynthesizerRendersIt) {
  const std::string font = FindGeneralMidiSoundFont();
  if (font.empty()) GTEST_SKIP() << "no General MIDI sound font is installed";
  const std::vector<uint8_t> first = ReadFile(kFirstTrack);
  std::vector<uint8_t> slower = first;
  const uint8_t tempo[] = {0xff, 0x51, 0x03};
  const auto at = std::search(slower.begin(), slower.end(), std::begin(tempo), std::end(tempo));
  ASSERT_NE(at, slower.end());
  at[3] += 1;  // 65536 microseconds more a beat
  const std::string replaced = dir.filePath("Zelmar0.mid").toStdString();
  std::ofstream(replaced, std::ios::binary)
      .write(reinterpret_cast<const char*>(slower.data()),
             static_cast<std::streamsize>(slower.size()));

  // What the mixer puts out, taken on the audio thread.
  static std::mutex taking;
  static std::vector<int16_t> heard;
  Mix_SetPostMix(
      [](void*, Uint8* stream, int len) {
        const auto* samples = reinterpret_cast<const int16_t*>(stream);
        const std::lock_guard<std::mutex> lock(taking);
        heard.insert(heard.end(), samples, samples + len / 2);
      },
      nullptr);
  // A track from its first sound on.
  const auto from_first_sound = [](const std::vector<int16_t>& samples) {
    const auto it = std::find_if(samples.begin(), samples.end(), [](int16_t v) { return v != 0; });
    return std::vector<int16_t>(it, samples.end());
  };
  constexpr size_t kCompared = 2 * 3 * kAudioRate;
  for (const std::string& path : {std::string(kFirstTrack), replaced}) {
    SCOPED_TRACE(path);
    {
      const std::lock_guard<std::mutex> lock(taking);
      heard.clear();
    }
    std::string error;
    ASSERT_TRUE(player->OpenMusic(path, &error)) << error;
    player->PlayMusic();
    // Three seconds of it.
    QElapsedTimer clock;
    clock.start();
    std::vector<int16_t> track;
    while (track.size() <= kCompared && clock.elapsed() < 15000) {
      RunEvents(100);
      const std::lock_guard<std::mutex> lock(taking);
      track = from_first_sound(heard);
    }
    // The next starts from a fresh synthesizer, with no reverberation of this one.
    player->ReleaseMusic();
    // The game's own track is heard as its recording decodes, sample for sample: no level,
    // rate or format changes on its way (the recording itself is set against the synthesizer in
    // MusicRecording.EachTrackIsRecordedAsTheSynthesizerRendersIt).
    const std::vector<int16_t> rendered = from_first_sound(
        path == kFirstTrack
            ? DecodeVorbis(ZELMAR_RECORDINGS_DIR "/" + RecordingName(first.data(), first.size()))
            : RenderTrack(font, false, 5, path));
    ASSERT_GT(track.size(), kCompared) << "the track was not heard for three seconds";
    ASSERT_GT(rendered.size(), kCompared);
    size_t differs = kCompared;
    for (size_t i = 0; i < kCompared && differs == kCompared; ++i) {
      if (std::abs(track[i] - rendered[i]) > 1) differs = i;
    }
    EXPECT_EQ(differs, kCompared) << "first differs " << differs / 2 << " frames into the track";
  }
  Mix_SetPostMix(nullptr, nullptr);
}

// A track with a recording plays from it, and no sound font is opened, neither as the output
// opens nor for the track: it is heard, tells its end once it has been heard to the end, and tells
// nothing when closed as it plays. A track without one needs the font ZELMAR_SOUND_FONT names, and
// one that is no sound font, or missing, is said to be so; so is a recording that is damaged.
TEST_F(RealPlayer, ATrackWithARecordingPlaysWithoutOpeningASoundFont) {
  if (FindGeneralMidiSoundFont().empty()) GTEST_SKIP() << "the recording is made with the font";
  const std::string track = WriteTinyMidi(dir, "a.mid", 2);
  const std::vector<uint8_t> bytes = ReadFile(track);
  const QTemporaryDir recordings;
  const auto recording_of = [&recordings](const std::string& path) {
    const std::vector<uint8_t> content = ReadFile(path);
    return recordings
        .filePath(QString::fromStdString(RecordingName(content.data(), content.size())))
        .toStdString();
  };
  const std::string recording = recording_of(track);
  ASSERT_EQ(std::system((ZELMAR_MAKE_MUSIC " " + track + " " + recording + " >/dev/null").c_str()),
            0);
  // The font named is no sound font, and every open of it is seen.
  const std::string font = dir.filePath("font.sf2").toStdString();
  std::ofstream(font) << "not a sound font";
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, font.c_str(), IN_OPEN), 0);
  const auto font_opened = [watch] {
    char events[4096];
    return read(watch, events, sizeof events) > 0;
  };
  struct ChosenFont {
    explicit ChosenFont(const std::string& path) { setenv("ZELMAR_SOUND_FONT", path.c_str(), 1); }
    ~ChosenFont() { unsetenv("ZELMAR_SOUND_FONT"); }
  } chosen(font);
  Use([&recordings] { return CreateSdlSoundPlayer(recordings.path().toStdString()); });
  std::string error;
  ASSERT_TRUE(player->OpenMusic(track, &error)) << error;
  QElapsedTimer clock;
  clock.start();
  player->PlayMusic();
  EXPECT_GT(LoudestOutput(loop, 300), 1000) << "the piano is heard";
  RunEvents(10000);
  ASSERT_EQ(ends, std::vector<MusicEnd>{MusicEnd::kPlayedToEnd});
  EXPECT_GE(clock.elapsed(), 450);  // two beats of 250 ms, less one output buffer

  ASSERT_TRUE(player->OpenMusic(track, &error)) << error;
  player->PlayMusic();
  RunEvents(100);
  player->CloseMusic();
  RunEvents(1000);
  EXPECT_EQ(ends.size(), 1u);
  EXPECT_FALSE(font_opened()) << "a sound font was opened for music played from its recordings";

  // A track without a recording opens the font; the track after it hears that it is none.
  const std::string other = WriteTinyMidi(dir, "b.mid", 3);
  for (int poll = 0; poll < 100 && player->OpenMusic(other, &error); ++poll) RunEvents(50);
  EXPECT_TRUE(font_opened());
  EXPECT_EQ(error, "the sound font " + font + " can't be read (damaged, or not a sound font)");
  close(watch);

  // A font named that does not exist is told as such, not as no font installed.
  player->ReleaseMusic();
  setenv("ZELMAR_SOUND_FONT", "/nowhere/font.sf2", 1);
  EXPECT_FALSE(player->OpenMusic(other, &error));
  EXPECT_EQ(error,
            "the sound font /nowhere/font.sf2 that ZELMAR_SOUND_FONT names does not exist or is "
            "not a file");

  // A recording whose header is damaged is named as damaged, and the track is synthesized.
  std::vector<uint8_t> damaged = ReadFile(recording);
  std::fill(damaged.begin(), damaged.begin() + 64, uint8_t{0x5a});
  std::ofstream(recording_of(other), std::ios::binary)
      .write(reinterpret_cast<const char*>(damaged.data()),
             static_cast<std::streamsize>(damaged.size()));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(player->OpenMusic(other, &error));
  const std::string told = testing::internal::GetCapturedStderr();
  EXPECT_EQ(told,
            "The recording " + recording_of(other) + " is damaged; the track is synthesized.\n");
}

TEST_F(RealPlayer, ATrackPlaysToItsEndAndTheNextFollows) {
  const std::string first = WriteTinyMidi(dir, "a.mid", 1);
  const std::string second = WriteTinyMidi(dir, "b.mid", 2);
  std::string error;
  ASSERT_TRUE(player->OpenMusic(first, &error)) << error;
  QElapsedTimer clock;
  clock.start();
  player->PlayMusic();
  RunEvents(10000);
  ASSERT_EQ(ends, std::vector<MusicEnd>{MusicEnd::kPlayedToEnd});
  EXPECT_GE(clock.elapsed(), 200);  // one beat of 250 ms, less one output buffer

  player->CloseMusic();
  ASSERT_TRUE(player->OpenMusic(second, &error)) << error;
  player->PlayMusic();
  RunEvents(10000);
  EXPECT_EQ(ends.size(), 2u);
}

TEST_F(RealPlayer, NoNoteOfAFinishedTrackSoundsOnIntoTheNext) {
  for (int round = 0; round < 3; ++round) {
    std::string error;
    ASSERT_TRUE(player->OpenMusic(WriteTinyMidi(dir, "organ.mid", 1, /*careless=*/true), &error))
        << error;
    player->PlayMusic();
    RunEvents(10000);
    player->CloseMusic();
    EXPECT_TRUE(FallsQuiet(loop, 3000, 327));  // -40 dB: the organ's release is over
  }
}

TEST_F(RealPlayer, AClosedTrackSendsNoEndAndBadFilesDoNotOpen) {
  std::string error;
  ASSERT_TRUE(player->OpenMusic(WriteTinyMidi(dir, "long.mid", 4), &error)) << error;
  player->PlayMusic();
  RunEvents(100);
  player->CloseMusic();
  RunEvents(1300);
  EXPECT_TRUE(ends.empty());

  EXPECT_FALSE(player->OpenMusic(dir.filePath("none.mid").toStdString(), &error));
  EXPECT_NE(error.find("none.mid"), std::string::npos);
  const std::string text = dir.filePath("text.mid").toStdString();
  std::ofstream(text) << "not music";
  EXPECT_FALSE(player->OpenMusic(text, &error));
  EXPECT_NE(error.find("not a MIDI file"), std::string::npos);
  // A folder where a track belongs is a track that can't be opened, not an exception.
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mid"));
  EXPECT_FALSE(player->OpenMusic(dir.filePath("folder.mid").toStdString(), &error));

  // Tracks opened and closed while the audio thread renders them, the synthesizer let go of now
  // and then: the player is never unhooked from the synthesizer, nor the synthesizer deleted,
  // in the middle of a render or a load (under the sanitizers a race shows here).
  const std::string track = WriteTinyMidi(dir, "short.mid", 1);
  for (int i = 0; i < 200; ++i) {
    ASSERT_TRUE(player->OpenMusic(track, &error)) << error;
    player->PlayMusic();
    if (i % 20 == 0) RunEvents(15);
    if (i % 50 == 49) player->ReleaseMusic();
  }
  player->CloseMusic();
}

TEST_F(RealPlayer, ReleasedMusicGivesBackItsMemoryAndTheNextTrackLoadsItAgain) {
  if (FindGeneralMidiSoundFont().empty()) GTEST_SKIP() << "no General MIDI sound font is installed";
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer holds freed memory back: what is given back can't be seen";
#endif
  const std::string track = WriteTinyMidi(dir, "a.mid", 1);
  std::string error;
  const double silent = ResidentMegabytes();
  // Let go of while the font is still loading: it goes once it is in.
  ASSERT_TRUE(player->OpenMusic(track, &error)) << error;
  player->PlayMusic();
  player->ReleaseMusic();
  // However long the load takes on a busy machine: looked at until the memory has gone, or for
  // half a minute.
  double released_while_loading = ResidentMegabytes();
  for (int waited = 0; released_while_loading - silent >= 5 && waited < 30000; waited += 250) {
    RunEvents(250);
    released_while_loading = ResidentMegabytes();
  }
  // The next track loads it again and plays to its end.
  ASSERT_TRUE(player->OpenMusic(track, &error)) << error;
  player->PlayMusic();
  RunEvents(10000);
  EXPECT_EQ(ends, std::vector<MusicEnd>{MusicEnd::kPlayedToEnd});
  const double held = ResidentMegabytes() - silent;
  player->ReleaseMusic();
  const double released = ResidentMegabytes();
  EXPECT_GT(held, 10) << "the sound font's part in memory, in MB";
  // Only the samples of the instruments in play are read in, far less than the whole font.
  const double font = std::filesystem::file_size(FindGeneralMidiSoundFont()) / 1048576.0;
  EXPECT_LT(held, font / 2) << "of a font of " << font << " MB";
  EXPECT_LT(released - silent, held / 4);
  EXPECT_LT(released_while_loading - silent, held / 4);
}

// The output goes away (the sound server restarts): the player falls silent and lets go of it,
// opens it again as soon as it can, and plays the track it was playing from its start.
TEST_F(RealPlayer, AnOutputThatWentAwayIsOpenedAgainAndItsTrackStartsOver) {
  const std::string track = WriteTinyMidi(dir, "a.mid", 12);  // 3 s: it outlasts the loss
  const auto effect = player->PrepareEffect(ReadFile(ZELMAR_BESIDE_DIR "/Zelmar0.wav"));
  ASSERT_NE(effect, nullptr);
  std::string error;
  ASSERT_TRUE(player->OpenMusic(track, &error)) << error;
  player->PlayMusic();
  RunEvents(300);
  // The notice SDL posts when an opened output is gone, for the game's one open device.
  SDL_AudioDeviceID device = 0;
  for (SDL_AudioDeviceID id = 2; id < 64 && device == 0; ++id) {
    if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) device = id;
  }
  ASSERT_NE(device, 0u);
  SDL_Event removed{};
  removed.adevice.type = SDL_AUDIODEVICEREMOVED;
  removed.adevice.which = device;
  ASSERT_EQ(SDL_PushEvent(&removed), 1);
  const auto run_until = [this](const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000) RunEvents(20);
    return done();
  };
  ASSERT_TRUE(run_until([&] { return !player->HasDevice(); }));
  EXPECT_FALSE(player->PlayEffect(*effect));
  ASSERT_TRUE(run_until([&] { return player->HasDevice(); }));
  EXPECT_TRUE(player->PlayEffect(*effect)) << "an effect made before plays on the new output";
  EXPECT_TRUE(ends.empty());
  EXPECT_TRUE(run_until([&] { return !ends.empty(); })) << "the track plays again";
  EXPECT_EQ(ends, std::vector<MusicEnd>{MusicEnd::kPlayedToEnd});

  // A track closed while the output is gone (the music switched off) stays closed.
  ASSERT_TRUE(player->OpenMusic(track, &error)) << error;
  player->PlayMusic();
  ASSERT_EQ(SDL_PushEvent(&removed), 1);
  ASSERT_TRUE(run_until([&] { return !player->HasDevice(); }));
  player->CloseMusic();
  ASSERT_TRUE(run_until([&] { return player->HasDevice(); }));
  EXPECT_EQ(LoudestOutput(loop, 1500), 0);
}
}  // namespace
