#include "platform/music_synth.h"

#include <QCryptographicHash>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// Loudness of the music under the effects: about 8 dB below the sustained effects.
constexpr double kMusicGain = 0.4;

// Channels of the synthesizer: those of the tracks, and as many spare ones to hold instruments.
constexpr int kSynthChannels = 2 * kTrackChannels;
constexpr int kPercussionChannel = 9;
constexpr int kPercussionBank = 128;

uint32_t BigEndian32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// A variable-length quantity from `at`, which it moves past it; false when it runs past `end`
// or over four bytes.
bool ReadQuantity(const uint8_t* data, size_t end, size_t& at, uint32_t& value) {
  value = 0;
  for (int n = 0; n < 4 && at < end; ++n) {
    const uint8_t byte = data[at++];
    value = (value << 7) | (byte & 0x7f);
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

// The program changes of one track chunk, data[at, end).
template <typename Found>
void ScanTrackChunk(const uint8_t* data, size_t at, size_t end, Found found) {
  int bank[kTrackChannels] = {};
  uint8_t running = 0;  // the status a data byte continues, 0 when none may
  while (at < end) {
    uint32_t delta = 0;
    if (!ReadQuantity(data, end, at, delta) || at >= end) return;
    uint8_t status = data[at];
    if ((status & 0x80) != 0) {
      ++at;
    } else if (running != 0) {
      status = running;
    } else {
      return;
    }
    if (status == 0xff || status == 0xf0 || status == 0xf7) {
      // A meta event (its type byte first) or a system exclusive message: skipped.
      if (status == 0xff && at++ >= end) return;
      uint32_t length = 0;
      if (!ReadQuantity(data, end, at, length) || length > end - at) return;
      at += length;
      running = 0;
      continue;
    }
    if (status >= 0xf0) return;  // no other system message belongs in a file
    running = status;
    const int kind = status & 0xf0;
    const int channel = status & 0x0f;
    const size_t bytes = (kind == 0xc0 || kind == 0xd0) ? 1 : 2;
    if (end - at < bytes) return;
    if (kind == 0xc0) {
      found(MidiInstrument{channel == kPercussionChannel ? kPercussionBank : bank[channel],
                           data[at] & 0x7f});
    } else if (kind == 0xb0 && data[at] == 0) {
      bank[channel] = data[at + 1] & 0x7f;
    }
    at += bytes;
  }
}

// Where Debian and Ubuntu install General MIDI sound fonts, best first: the system's chosen
// font (a link that every General MIDI sound font package keeps), then the one the game's
// package prefers.
constexpr const char* kSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",   "/usr/share/soundfonts/default.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf2",
};

}  // namespace

std::vector<MidiInstrument> InstrumentsSelected(const uint8_t* data, size_t size) {
  // More than a synthesizer's spare channels could hold is of no use.
  constexpr size_t kMostInstruments = 128;
  std::vector<MidiInstrument> instruments;
  const auto found = [&instruments](const MidiInstrument& instrument) {
    if (instruments.size() < kMostInstruments &&
        std::find(instruments.begin(), instruments.end(), instrument) == instruments.end()) {
      instruments.push_back(instrument);
    }
  };
  if (size < 14 || std::memcmp(data, "MThd", 4) != 0) return instruments;
  size_t at = 0;
  while (size - at >= 8) {
    const uint32_t length = BigEndian32(data + at + 4);
    const size_t begin = at + 8;
    const size_t available = size - begin;
    if (std::memcmp(data + at, "MTrk", 4) == 0) {
      ScanTrackChunk(data, begin, begin + std::min<size_t>(length, available), found);
    }
    if (length >= available) break;
    at = begin + length;
  }
  return instruments;
}

std::string FindGeneralMidiSoundFont(std::string* why_none) {
  std::error_code ec;
  if (const char* chosen = std::getenv("ZELMAR_SOUND_FONT"); chosen != nullptr) {
    if (std::filesystem::is_regular_file(chosen, ec)) return chosen;
    if (why_none != nullptr) {
      *why_none = std::string("the sound font ") + chosen +
                  " that ZELMAR_SOUND_FONT names does not exist or is not a file";
    }
    return {};
  }
  // Only a file: the synthesizer would wait forever on a pipe in its place.
  for (const char* candidate : kSoundFonts) {
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  if (why_none != nullptr) {
    *why_none = "no General MIDI sound font is installed (fluid-soundfont-gm or another)";
  }
  return {};
}

std::string RecordingName(const uint8_t* data, size_t size) {
  const QByteArray hash = QCryptographicHash::hash(
      QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)),
      QCryptographicHash::Sha256);
  return "music-" + hash.toHex().toStdString() + ".ogg";
}

MusicSynth::MusicSynth(int rate, bool all_samples) : settings_(new_fluid_settings()) {
  fluid_settings_setnum(settings_, "synth.sample-rate", rate);
  fluid_settings_setnum(settings_, "synth.gain", kMusicGain);
  // The MIDI player advances with the samples rendered, in the audio callback, not with a
  // timer thread of its own: the music stays in step with what is heard.
  fluid_settings_setstr(settings_, "player.timing-source", "sample");
  fluid_settings_setint(settings_, "synth.lock-memory", 0);
  fluid_settings_setint(settings_, "synth.dynamic-sample-loading", all_samples ? 0 : 1);
  fluid_settings_setint(settings_, "synth.midi-channels", kSynthChannels);
  synth_ = new_fluid_synth(settings_);
}

void MusicSynth::HoldInstruments(const std::vector<MidiInstrument>& instruments) {
  if (synth_ == nullptr) return;
  fluid_sfont_t* font = fluid_synth_get_sfont(synth_, 0);
  if (font == nullptr) return;
  const int font_id = fluid_sfont_get_id(font);
  const auto wanted = [&instruments](const MidiInstrument& instrument) {
    return std::find(instruments.begin(), instruments.end(), instrument) != instruments.end();
  };
  // Those no longer wanted go first, to make room. An instrument of the track that played last
  // is still selected on its own channel, and stays in memory until the next track's start
  // selects others.
  for (int spare = 0; spare < kTrackChannels; ++spare) {
    if (held_[spare] && !wanted(*held_[spare])) {
      fluid_synth_unset_program(synth_, kTrackChannels + spare);
      held_[spare].reset();
    }
  }
  for (const MidiInstrument& instrument : instruments) {
    if (std::find(held_.begin(), held_.end(), instrument) != held_.end()) continue;
    const auto free = std::find(held_.begin(), held_.end(), std::nullopt);
    if (free == held_.end()) return;
    const int channel = kTrackChannels + static_cast<int>(free - held_.begin());
    if (fluid_synth_program_select(synth_, channel, font_id, instrument.bank, instrument.program) ==
            FLUID_OK ||
        (instrument.bank != kPercussionBank &&
         fluid_synth_program_select(synth_, channel, font_id, 0, instrument.program) == FLUID_OK)) {
      *free = instrument;
    }
  }
}

MusicSynth::~MusicSynth() {
  if (synth_ != nullptr) delete_fluid_synth(synth_);
  delete_fluid_settings(settings_);
}
