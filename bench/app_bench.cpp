// Benchmarks of the main window on Qt's offscreen platform: start-up to the first full paint at
// two screen widths, and a whole spin against its ideal 47 frames of 25 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include "app/main_window.h"
#include "platform/canvas.h"

namespace {

// The desktop platform with a chosen screen size: timers and waits are real.
class SizedPlatform : public Platform {
 public:
  SizedPlatform(int width, int height) : real_(CreateQtPlatform()), w_(width), h_(height) {}
  uint32_t TickCount() override { return real_->TickCount(); }
  std::unique_ptr<Timer> CreateTimer(int ms, bool on, std::function<void()> f) override {
    return real_->CreateTimer(ms, on, std::move(f));
  }
  void ShowMessage(QWidget* p, const QString& c, const QString& t) override {
    real_->ShowMessage(p, c, t);
  }
  void ShowError(QWidget* p, const QString& t) override { real_->ShowError(p, t); }
  std::optional<QString> QueryText(QWidget* p, const QString& c, const QString& prompt,
                                   const QString& t, int max) override {
    return real_->QueryText(p, c, prompt, t, max);
  }
  void RunModal(QDialog* d) override { real_->RunModal(d); }
  void OpenModal(QDialog* d) override { real_->OpenModal(d); }
  int ScreenWidth() override { return w_; }
  int ScreenHeight() override { return h_; }
  int LogicalDpi() override { return 120; }

 private:
  std::unique_ptr<Platform> real_;
  int w_, h_;
};

// One game at a given screen width, its window shown and painted.
struct ShownGame {
  ShownGame(int width, uint32_t seed) : platform(width, width * 3 / 4) {
    StartOptions options;
    options.seed = seed;
    options.program_file = (dir.path() + "/zelmar-slots").toStdString();
    window = std::make_unique<MainWindow>(services);
    game = std::make_unique<Game>(state, services, *window, options);
    window->show();
    QCoreApplication::processEvents();
  }
  QTemporaryDir dir;
  SizedPlatform platform;
  SilentSounds sounds;
  std::unique_ptr<HelpViewer> help = CreateHelpWindowViewer();
  std::unique_ptr<WebBrowser> web = CreateDesktopWebBrowser();
  const GameServices services{platform, sounds, *help, *web};
  GameState state;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Game> game;  // goes before its window
};

void StartupToFirstPaint(benchmark::State& bench) {
  for (auto _ : bench) {
    ShownGame shown(static_cast<int>(bench.range(0)), 1);
    shown.game->View().PaintAll();
    benchmark::DoNotOptimize(shown.game->View().Settled().Surface().Image().constBits());
  }
}
BENCHMARK(StartupToFirstPaint)->Arg(800)->Arg(1920)->Unit(benchmark::kMillisecond);

// The spin from the press to the last reel's landing, driven by the event loop as in the game;
// the win that follows is paid at once between the measured spins.
void WholeSpinWallTime(benchmark::State& bench) {
  ShownGame shown(static_cast<int>(bench.range(0)), 7);
  QEventLoop start_up;  // the start-up timer ends the input guard
  QTimer::singleShot(300, &start_up, &QEventLoop::quit);
  start_up.exec();
  PlaySequence& play = shown.game->Play();
  for (auto _ : bench) {
    shown.state.Credits = 1000000;
    play.RequestSpin();
    while (play.ReelsTurning()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    bench.PauseTiming();
    play.Finish();  // no waits, and no bonus game to answer
    bench.ResumeTiming();
  }
  bench.counters["ideal_ms"] = PlaySequence::kFrames * PlaySequence::kFrameMs;
}
BENCHMARK(WholeSpinWallTime)
    ->Arg(800)
    ->Arg(1920)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Every start reads the running game: from a folder of this run, never the player's own.
  QTemporaryDir data_home;
  qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
