// Recorder of the game's music: renders a MIDI track with the player's synthesizer, settings and
// General MIDI sound font, in the player's calls, to the point where the player tells the track's
// end, and writes it as a 16-bit stereo FLAC file the player plays instead of synthesizing it.
// FLAC is lossless: a recording decodes to the very samples the synthesizer rendered.
//   ./zelmar-make-music TRACK.mid RECORDING.flac
// The build runs it for every track carried with the game (tools/make_music/CMakeLists.txt).
#include <FLAC/stream_encoder.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/music_synth.h"
#include "platform/sound_player.h"
#include "tools/usage.h"

namespace {

// The track as the player renders it from a fresh synthesizer: each track starts from a clean
// General MIDI state, and the player's end falls after the call in which the last event plays.
// Empty when the track or the font can't be read.
std::vector<int16_t> Render(const std::vector<uint8_t>& track, const std::string& font) {
  MusicSynth music(kAudioRate);
  fluid_synth_t* synth = music.Synth();
  if (synth == nullptr || fluid_synth_sfload(synth, font.c_str(), 1) == FLUID_FAILED) return {};
  fluid_player_t* player = new_fluid_player(synth);
  std::vector<int16_t> out;
  if (player == nullptr || fluid_player_add_mem(player, track.data(), track.size()) != FLUID_OK) {
    if (player != nullptr) delete_fluid_player(player);
    return {};
  }
  for (int channel = 0; channel < kTrackChannels; ++channel) {
    fluid_synth_cc(synth, channel, 121, 0);
    fluid_synth_program_change(synth, channel, 0);
  }
  fluid_player_play(player);
  int total_ticks = 0;
  for (bool ended = false; !ended;) {
    const size_t at = out.size();
    out.resize(at + 2 * kSynthFrames);
    fluid_synth_write_s16(synth, kSynthFrames, &out[at], 0, 2, &out[at], 1, 2);
    if (total_ticks <= 0) total_ticks = fluid_player_get_total_ticks(player);
    ended = fluid_player_get_status(player) != FLUID_PLAYER_PLAYING ||
            fluid_player_get_current_tick(player) >= total_ticks;
  }
  delete_fluid_player(player);
  return out;
}

// Writes the samples as FLAC at compression level 3, for the player's CPU: the game decodes its
// recording all the while the music plays, and at level 3 the six tracks take a third fewer
// instructions to decode than at the strongest level 8 (5.1 against 7.5 billion), for 4 MB more
// (76.5 against 72.5 MB); level 0 would save a sixth more for 3 MB more again. The encoder
// decodes what it writes as it goes and fails on any sample that differs.
bool WriteFlac(const std::string& path, const std::vector<int16_t>& samples) {
  constexpr unsigned kCompressionLevel = 3;
  FLAC__StreamEncoder* encoder = FLAC__stream_encoder_new();
  if (encoder == nullptr) return false;
  const uint32_t frames = static_cast<uint32_t>(samples.size() / 2);
  FLAC__stream_encoder_set_channels(encoder, 2);
  FLAC__stream_encoder_set_bits_per_sample(encoder, 16);
  FLAC__stream_encoder_set_sample_rate(encoder, kAudioRate);
  FLAC__stream_encoder_set_compression_level(encoder, kCompressionLevel);
  FLAC__stream_encoder_set_verify(encoder, true);
  FLAC__stream_encoder_set_total_samples_estimate(encoder, frames);
  bool ok = FLAC__stream_encoder_init_file(encoder, path.c_str(), nullptr, nullptr) ==
            FLAC__STREAM_ENCODER_INIT_STATUS_OK;
  const std::vector<FLAC__int32> wide(samples.begin(), samples.end());
  ok = ok && FLAC__stream_encoder_process_interleaved(encoder, wide.data(), frames);
  ok = FLAC__stream_encoder_finish(encoder) && ok;
  FLAC__stream_encoder_delete(encoder);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr char kUsage[] = "usage: zelmar-make-music TRACK.mid RECORDING.flac\n";
  if (argc > 1) {
    if (const int status = AnswerUnknownOption(argv[1], kUsage); status >= 0) return status;
  }
  if (argc != 3) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string track_path = argv[1];
  const std::string out = argv[2];
  std::ifstream file(track_path, std::ios::binary);
  const std::vector<uint8_t> track(std::istreambuf_iterator<char>(file), {});
  const std::string font = FindGeneralMidiSoundFont();
  if (font.empty()) {
    std::fprintf(stderr, "no General MIDI sound font is installed (fluid-soundfont-gm)\n");
    return 1;
  }
  const std::vector<int16_t> samples = Render(track, font);
  if (samples.empty()) {
    std::fprintf(stderr, "%s can't be rendered with %s\n", track_path.c_str(), font.c_str());
    return 1;
  }
  // Written whole under another name first: a build cut short leaves no half recording.
  const std::string part = out + ".part";
  if (!WriteFlac(part, samples)) {
    std::fprintf(stderr, "could not write %s\n", part.c_str());
    std::remove(part.c_str());
    return 1;
  }
  std::error_code ec;
  std::filesystem::rename(part, out, ec);
  if (ec) {
    std::fprintf(stderr, "could not write %s: %s\n", out.c_str(), ec.message().c_str());
    return 1;
  }
  std::printf("%s: %.1f s from %s\n", out.c_str(), samples.size() / 2.0 / kAudioRate,
              track_path.c_str());
  return 0;
}
