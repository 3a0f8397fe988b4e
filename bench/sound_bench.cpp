// Benchmarks of the sound on SDL's dummy output, which consumes audio in real time like a sound
// card:
//   EffectLatency: from the play call (a reel landing) to the first mixed buffer that carries
//     the effect, i.e. the moment the sound leaves the mixer for the device.
//   SilenceBetweenTracks: from the end of the last note of one track to the start of the next,
//     through the whole chain: end notice, pending start, the 100 ms music timer, open, play;
//     and how long after the last note the end notice arrives.
//   StartupToFirstPaint: the main window's start-up to its first paint, silent and with the
//     game's sounds as the program has them: the sound module's player, which loads the module
//     and opens the device off the user-interface thread once the window is drawn, then reads
//     the memory sounds and finds the music files.
//   MusicMemory: the resident memory of the process (VmRSS) with the player open and silent,
//     with one of the game's tracks playing, and after the music is switched off. Run it alone for
//     figures that are its own:
//     --benchmark_filter=MusicMemory.
#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "app/main_window.h"
#include "platform/canvas.h"
#include "platform/music_synth.h"
#include "platform/sound_module.h"
#include "platform/sound_player.h"
#include "shell/game_audio.h"
#include "shell/identity.h"

namespace {

using Clock = std::chrono::steady_clock;

// The desktop platform on an 800 x 600 screen; messages are counted, not shown.
class QuietPlatform : public Platform {
 public:
  QuietPlatform() : real_(CreateQtPlatform()) {}
  uint32_t TickCount() override { return real_->TickCount(); }
  std::unique_ptr<Timer> CreateTimer(int ms, bool on, std::function<void()> f) override {
    return real_->CreateTimer(ms, on, std::move(f));
  }
  void ShowMessage(QWidget*, const QString&, const QString&) override { ++messages; }
  void ShowError(QWidget*, const QString&) override { ++messages; }
  std::optional<QString> QueryText(QWidget*, const QString&, const QString&, const QString&,
                                   int) override {
    return std::nullopt;
  }
  void RunModal(QDialog* d) override { real_->RunModal(d); }
  void OpenModal(QDialog* d) override { real_->OpenModal(d); }
  int ScreenWidth() override { return 800; }
  int ScreenHeight() override { return 600; }
  int LogicalDpi() override { return 120; }
  int messages = 0;

 private:
  std::unique_ptr<Platform> real_;
};

// What leaves the mixer: the loudest sample of every buffer, with its time.
struct OutputWatch {
  struct Buffer {
    Clock::time_point at;
    int peak;
  };
  std::mutex mutex;
  std::vector<Buffer> buffers;

  static void Watch(void* user, Uint8* stream, int len) {
    auto* self = static_cast<OutputWatch*>(user);
    const auto* samples = reinterpret_cast<const int16_t*>(stream);
    int peak = 0;
    for (int i = 0; i < len / 2; ++i) peak = std::max(peak, std::abs(int(samples[i])));
    std::lock_guard<std::mutex> lock(self->mutex);
    self->buffers.push_back({Clock::now(), peak});
  }
  void Start() {
    std::lock_guard<std::mutex> lock(mutex);
    buffers.clear();
    Mix_SetPostMix(&OutputWatch::Watch, this);
  }
  void Stop() { Mix_SetPostMix(nullptr, nullptr); }
  std::vector<Buffer> Take() {
    std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(buffers, {});
  }
};

void RunEvents(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void EffectLatency(benchmark::State& bench) {
  auto player = CreateSdlSoundPlayer();
  const auto reel = player->PrepareEffect(ReadFile(ZELMAR_BESIDE_DIR "/Zelmar0.wav"));
  OutputWatch watch;
  watch.Start();
  for (auto _ : bench) {
    RunEvents(200);  // the last play has died away
    watch.Take();
    const Clock::time_point landed = Clock::now();
    player->PlayEffect(*reel);
    std::optional<Clock::time_point> heard;
    while (!heard) {
      SDL_Delay(1);
      for (const auto& b : watch.Take()) {
        if (b.peak > 0 && !heard) heard = b.at;
      }
    }
    bench.SetIterationTime(std::chrono::duration<double>(*heard - landed).count());
  }
  watch.Stop();
  bench.counters["buffer_ms"] = 1000.0 * kAudioBufferFrames / kAudioRate;
}
BENCHMARK(EffectLatency)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

// A track of one organ note without reverb or chorus, `seconds` long (at 960 ticks a second):
// its sound ends with the note, sharply.
void WriteOrganNote(const std::string& path, double seconds) {
  const int ticks = static_cast<int>(seconds * 960);
  const std::string track = {0x00,
                             char(0xc0),
                             16,  // drawbar organ
                             0x00,
                             char(0xb0),
                             91,
                             0,  // no reverb
                             0x00,
                             char(0xb0),
                             93,
                             0,  // no chorus
                             0x00,
                             char(0x90),
                             60,
                             110,  // C4
                             char(0x80 | (ticks >> 7)),
                             char(ticks & 0x7f),
                             char(0x80),
                             60,
                             0,  // its end
                             0x00,
                             char(0xff),
                             0x2f,
                             0x00};
  std::string file = "MThd";
  file += std::string("\0\0\0\6\0\0\0\1\x01\xe0", 10);
  file += "MTrk";
  file += std::string{0, 0, 0, char(track.size())};
  file += track;
  std::ofstream(path, std::ios::binary) << file;
}

// The real player, with the moments of each track's start and end notice noted.
class TimedPlayer : public SoundPlayer {
 public:
  explicit TimedPlayer(SoundPlayer& real) : real_(real) {}
  void Open(std::function<void()> when_open) override { real_.Open(std::move(when_open)); }
  bool HasDevice() const override { return real_.HasDevice(); }
  std::string DeviceError() const override { return real_.DeviceError(); }
  std::shared_ptr<const Effect> PrepareEffect(const std::vector<uint8_t>& bytes) override {
    return real_.PrepareEffect(bytes);
  }
  bool PlayEffect(const Effect& effect, std::function<void()> when_finished) override {
    return real_.PlayEffect(effect, std::move(when_finished));
  }
  bool PlayEffectFile(const std::string& path, std::function<void()> when_finished) override {
    return real_.PlayEffectFile(path, std::move(when_finished));
  }
  bool OpenMusic(const std::string& path, std::string* error) override {
    opened.push_back(path);
    return real_.OpenMusic(path, error);
  }
  void PlayMusic() override {
    real_.PlayMusic();
    plays.push_back(Clock::now());
  }
  void CloseMusic() override { real_.CloseMusic(); }
  void ReleaseMusic() override { real_.ReleaseMusic(); }
  void SetMusicEndHandler(std::function<void(MusicEnd)> handler) override {
    real_.SetMusicEndHandler([this, handler](MusicEnd end) {
      if (end == MusicEnd::kPlayedToEnd) ends.push_back(Clock::now());
      handler(end);
    });
  }
  std::vector<Clock::time_point> plays, ends;
  std::vector<std::string> opened;

 private:
  SoundPlayer& real_;
};

// With the argument 1 every track plays from a recording made by zelmar-make-music, as the
// game's own tracks do; with 0 they are synthesized.
void SilenceBetweenTracks(benchmark::State& bench) {
  const bool recorded = bench.range(0) == 1;
  QTemporaryDir dir;
  GameIdentity identity;
  identity.AppDir = dir.path().toStdString() + "/";
  identity.SoundRoot = "Zelmar";
  // Ten tracks of lengths a little apart.
  std::map<std::string, double> length;
  for (int n = 0; n < 10; ++n) {
    const std::string path = identity.AppDir + "Zelmar" + std::to_string(n) + ".mid";
    length[path] = 0.5 + 0.0107 * n;
    WriteOrganNote(path, length[path]);
    if (recorded) {
      std::ifstream file(path, std::ios::binary);
      const std::vector<uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
      const std::string command = ZELMAR_MAKE_MUSIC " " + path + " " + identity.AppDir +
                                  RecordingName(bytes.data(), bytes.size()) + " >/dev/null";
      if (std::system(command.c_str()) != 0) {
        bench.SkipWithError("the tracks could not be recorded");
        return;
      }
    }
  }
  auto real = CreateSdlSoundPlayer(recorded ? identity.AppDir : std::string());
  TimedPlayer player(*real);
  QuietPlatform platform;
  GameAudio audio(player, platform);
  audio.LoadSounds(identity);
  audio.FindMusicTracks();
  audio.QueueFirstTrack();
  // Each round: a track plays, its end is noticed, the next track's play starts. The note ends
  // its length after its play started; the silence runs from there to the next play (whose
  // first sound follows within one output buffer).
  // The first track waits for the sound font to load; the rounds after it are measured.
  double notice_delay = 0, longest = 0;
  size_t round = 1;
  for (auto _ : bench) {
    while (player.plays.size() < round + 2) RunEvents(10);
    const auto note_end =
        player.plays[round] + std::chrono::duration_cast<Clock::duration>(
                                  std::chrono::duration<double>(length[player.opened[round]]));
    notice_delay += std::chrono::duration<double>(player.ends[round] - note_end).count();
    const double gap = std::chrono::duration<double>(player.plays[round + 1] - note_end).count();
    longest = std::max(longest, gap);
    bench.SetIterationTime(gap);
    ++round;
  }
  bench.counters["notice_after_last_note_ms"] = 1000 * notice_delay / (round - 1);
  bench.counters["longest_ms"] = 1000 * longest;
  bench.counters["buffer_ms"] = 1000.0 * kAudioBufferFrames / kAudioRate;
}
BENCHMARK(SilenceBetweenTracks)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

void StartupToFirstPaint(benchmark::State& bench) {
  const bool with_sound = bench.range(0) != 0;
  for (auto _ : bench) {
    QuietPlatform platform;
    GameState state;
    std::unique_ptr<HelpViewer> help = CreateHelpWindowViewer();
    std::unique_ptr<WebBrowser> web = CreateDesktopWebBrowser();
    StartOptions options;
    options.seed = 1;
    // Beside the committed sounds, as the program sits beside them in its build folder.
    options.program_file = ZELMAR_BESIDE_DIR "/zelmar-slots";
    const Clock::time_point start = Clock::now();
    std::unique_ptr<SoundPlayer> player;
    std::unique_ptr<GameSounds> sounds;
    if (with_sound) {
      player = CreateSoundModulePlayer(QCoreApplication::applicationDirPath().toStdString() + "/" +
                                       kSoundModuleFile);
      sounds = std::make_unique<GameAudio>(*player, platform);
    } else {
      sounds = std::make_unique<SilentSounds>();
    }
    const GameServices services{platform, *sounds, *help, *web};
    auto window = std::make_unique<MainWindow>(services);
    auto game = std::make_unique<Game>(state, services, *window, options);
    window->show();
    QCoreApplication::processEvents();
    game->View().PaintAll();
    bench.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    // The device opening after the first paint is done before the next start-up is timed.
    for (int i = 0; player && !player->HasDevice() && i < 300; ++i) RunEvents(10);
    game.reset();
    window.reset();
  }
}
BENCHMARK(StartupToFirstPaint)
    ->ArgName("sound")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

// The process's resident memory in megabytes, from /proc/self/status.
double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024;
  }
  return 0;
}

void MusicMemory(benchmark::State& bench) {
  auto player = CreateSdlSoundPlayer();
  const double silent = ResidentMegabytes();
  double playing = 0, music_off = 0;
  for (auto _ : bench) {
    std::string error;
    if (!player->OpenMusic(ZELMAR_BESIDE_DIR "/Zelmar0.mid", &error)) {
      bench.SkipWithError(error.c_str());
      return;
    }
    player->PlayMusic();
    RunEvents(3000);  // the sound font is in and the track's instruments have sounded
    playing = ResidentMegabytes();
    player->ReleaseMusic();
    music_off = ResidentMegabytes();
  }
  bench.counters["rss_mb_silent"] = silent;
  bench.counters["rss_mb_playing"] = playing;
  bench.counters["rss_mb_music_off"] = music_off;
  std::printf(
      "resident memory: %.0f MB silent, %.0f MB with the music playing, %.0f MB after the music is "
      "switched off\n",
      silent, playing, music_off);
}
BENCHMARK(MusicMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
