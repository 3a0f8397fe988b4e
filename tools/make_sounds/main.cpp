// Generator of the game's sound effects and music. Run it by hand after changing them:
//   ./zelmar-make-sounds [art folder]
// It writes the effects and tracks that ship beside the program into <art>/beside and the
// game's own default sound, carried inside the program, into <art>/sounds.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/make_sounds/audio_file.h"
#include "tools/make_sounds/effects.h"
#include "tools/make_sounds/songs.h"
#include "tools/usage.h"

namespace {

// After the last note the file ends a tenth of a second later: long enough for the final
// chord's release, short enough that the next track follows without a gap.
constexpr int kTailTicks = MidiSong::kTicksPerBeat / 5;

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    if (const int status = AnswerUnknownOption(argv[1], "usage: zelmar-make-sounds [ART_FOLDER]\n");
        status >= 0) {
      return status;
    }
  }
  const std::string art = argc > 1 ? argv[1] : ZELMAR_SOURCE_DIR "/art";
  const std::string beside = art + "/beside/";
  std::error_code ec;
  std::filesystem::create_directories(beside, ec);
  std::filesystem::create_directories(art + "/sounds", ec);
  const struct {
    const char* name;
    std::function<std::vector<float>()> make;
  } effects[] = {
      {"Zelmar0.wav", ReelStopThud},  {"Zelmar3.wav", CountTick},
      {"ZelmarWin.wav", WinFanfare},  {"ZelmarE.wav", Explosion},
      {"Zelmar7.wav", StartUpJingle}, {"Zelmar5.wav", BonusAnnouncement},
  };
  bool ok = true;
  for (const auto& e : effects) {
    const std::vector<float> samples = e.make();
    ok = WriteWav(beside + e.name, samples) && ok;
    std::printf("%-16s %6.3f s\n", e.name, double(samples.size()) / kSampleRate);
  }
  ok = WriteWav(art + "/sounds/default_sound.wav", DefaultSound()) && ok;

  for (int n = 0; n < kSongCount; ++n) {
    MidiSong song;
    const SongFacts facts = ComposeSong(n, song);
    const std::string name = "Zelmar" + std::to_string(n) + ".mid";
    ok = song.Write(beside + name, song.LastNoteEnd() + kTailTicks) && ok;
    std::printf("%-16s %-16s %3.0f bpm %3d bars %5.1f s\n", name.c_str(), facts.title.c_str(),
                facts.bpm, facts.bars, facts.bars * 4 * 60.0 / facts.bpm);
  }
  if (!ok) std::fprintf(stderr, "could not write every file under %s\n", art.c_str());
  return ok ? 0 : 1;
}
