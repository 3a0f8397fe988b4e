// Recorder of the game's music: renders a MIDI track with the player's synthesizer, settings and
// General MIDI sound font, in the player's calls, to the point where the player tells the track's
// end, and writes it as a stereo Ogg Vorbis file the player plays instead of synthesizing it.
//   ./zelmar-make-music TRACK.mid RECORDING.ogg [QUALITY]
// QUALITY, vorbisenc's -0.1 to 1.0, is for measuring the choice of kVorbisQuality.
// The build runs it for every track carried with the game (tools/make_music/CMakeLists.txt).
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// Writes the samples as Ogg Vorbis, variable bit rate at quality kVorbisQuality. Vorbis rather than
// Opus: both play through SDL_mixer's system decoders, and Vorbis decodes in 0.15 to 0.19 % of a
// core where Opus took 0.22 % at 64 kbit/s and 0.24 % at 96 (the first track at 48 kHz). The
// quality, by the figures of the first track against its render (the band's share of the whole):
//   quality      size (six tracks)  14-16 kHz  16-18 kHz  18-20 kHz  decoding
//   render                           -32.5 dB   -33.6 dB   -35.7 dB
//   -0.1  41 kbit/s    4.0 MB        -35.9      -43.4      -43.8      0.14 %
//    0.1  76 kbit/s    7.4 MB        -32.8      -40.9      -44.2      0.17 %
//    0.2  88 kbit/s    8.5 MB        -32.5      -38.0      -42.9      0.17 %
//    0.3 105 kbit/s   10.3 MB        -33.0      -35.4      -44.0      0.15 %
//    0.5 144 kbit/s   14.2 MB        -33.8      -35.1      -37.1      0.21 %
// At 0.2 all up to 16 kHz keeps its level and the band from there to 18 kHz, which only young
// ears reach, is softened by 4 dB, where 0.1 takes 7 dB from it and -0.1 takes 3 dB from the
// band below too (the cymbals' shimmer). At 0.3 the package installs in 22.5 MB by its
// Installed-Size, over the 22 MB it must keep within; at 0.2, 20.8 MB. Decoding costs about the
// same at every quality.
constexpr float kVorbisQuality = 0.2f;  // vorbisenc's scale: -0.1 to 1.0

bool WriteVorbis(const std::string& path, const std::vector<int16_t>& samples, float quality) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  vorbis_info info;
  vorbis_info_init(&info);
  bool ok = vorbis_encode_init_vbr(&info, 2, kAudioRate, quality) == 0;
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  ok = ok && vorbis_analysis_init(&dsp, &info) == 0;
  if (ok) vorbis_block_init(&dsp, &block);
  // A fixed serial number: the same track makes the same file.
  ogg_stream_init(&stream, 0x5a454c4d);
  ogg_page page;
  ogg_packet packet;
  const auto write_page = [&] {
    ok = ok &&
         std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len);
    ok = ok && std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
  };
  if (ok) {
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    while (ogg_stream_flush(&stream, &page) != 0) write_page();
  }
  const size_t frames = samples.size() / 2;
  constexpr size_t kChunk = 4096;
  for (size_t at = 0; ok; at += kChunk) {
    // The last round, with nothing left, tells the encoder the stream has ended: it then writes
    // the last block, and the stream's end to the frame.
    const size_t count = std::min(kChunk, frames - std::min(at, frames));
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (size_t i = 0; i < count; ++i) {
        buffer[0][i] = samples[2 * (at + i)] / 32768.0f;
        buffer[1][i] = samples[2 * (at + i) + 1] / 32768.0f;
      }
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
        ogg_stream_packetin(&stream, &packet);
        while (ogg_stream_pageout(&stream, &page) != 0) write_page();
      }
    }
    if (count == 0) break;
  }
  while (ok && ogg_stream_flush(&stream, &page) != 0) write_page();
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr char kUsage[] = "usage: zelmar-make-music TRACK.mid RECORDING.ogg [QUALITY]\n";
  if (argc > 1) {
    if (const int status = AnswerUnknownOption(argv[1], kUsage); status >= 0) return status;
  }
  if (argc != 3 && argc != 4) {
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
  float quality = kVorbisQuality;
  if (argc == 4) {
    char* end = nullptr;
    quality = std::strtof(argv[3], &end);
    if (end == argv[3] || *end != '\0' || !(quality >= -0.1f && quality <= 1.0f)) {
      std::fprintf(stderr, "the quality is a number from -0.1 to 1.0, not %s\n", argv[3]);
      return 2;
    }
  }
  if (!WriteVorbis(part, samples, quality)) {
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
