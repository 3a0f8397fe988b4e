// Cost of the main screen's drawing: a full paint, one step of the count-up's meters and one
// frame of the spin animation (all five reels), at the design width and at 1920; and of reading
// the kept laid-out art back, whole and its checksum alone.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <memory>

#include "engine/game_state.h"
#include "platform/canvas.h"
#include "screen/cabinet.h"
#include "screen/laid_out_art.h"
#include "screen/main_art.h"
#include "screen/main_screen.h"
#include "synthetic_art.h"

namespace {

struct Scene {
  explicit Scene(int width) {
    layout.scale.layout_width = width;
    QString error;
    if (!LoadBuiltInArt(art, &error)) art = synthetic::MakeArt();
    PrepareWorkingBitmaps(art);
    QTemporaryDir empty;
    LoadArtForResolution(art, layout, empty.path().toStdString() + "/", "Zelmar");
    canvas.Resize(layout.scale.Scale(800), layout.scale.Scale(600));
    gs.Credits = 1000;
    gs.LinesBet = 9;
    gs.LinesButton = 5;
    gs.CreditsButton = 6;
    for (int r = 0; r < kReels; ++r)
      for (int p = 1; p <= kStripLength; ++p) gs.ReelStrip[r][p] = (p + r) % 22;
    gs.ReelStop = {3, 30, 7, 2, 7};
    screen = std::make_unique<MainScreen>(gs, layout, art, canvas);
    screen->PaintAll();
  }
  MainArt art;
  GameState gs;
  ScreenLayout layout;
  Canvas canvas;
  std::unique_ptr<MainScreen> screen;
};

void BM_PaintAll(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  for (auto _ : state) scene.screen->PaintAll();
}
BENCHMARK(BM_PaintAll)->Arg(800)->Arg(1920)->Unit(benchmark::kMicrosecond);

// One count-up step: the credits meter and the winnings meter.
void BM_MeterUpdate(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  int paid = 0;
  for (auto _ : state) {
    ++scene.gs.Credits;
    scene.screen->DrawCreditsMeter();
    scene.screen->DrawWinMeter(++paid);
  }
}
BENCHMARK(BM_MeterUpdate)->Arg(800)->Arg(1920)->Unit(benchmark::kMicrosecond);

// One 25 ms animation frame: every reel's slice, the offsets moving as in a spin.
void BM_SpinFrame(benchmark::State& state) {
  Scene scene(static_cast<int>(state.range(0)));
  int offset[kReels] = {0, 200, 400, 600, 800};
  const int step = scene.layout.scale.Scale(61);
  for (auto _ : state) {
    for (int r = 0; r < kReels; ++r) {
      scene.screen->DrawSpinSlice(r, offset[r]);
      offset[r] -= step;
      if (offset[r] < 0) offset[r] += scene.layout.BlurHeight;
    }
  }
}
BENCHMARK(BM_SpinFrame)->Arg(800)->Arg(1920)->Unit(benchmark::kMicrosecond);

// The kept art of a layout, read back as a start does (the pixels read and checked), and the
// checksum over as many bytes, already in memory.
struct KeptFile {
  explicit KeptFile(int width) {
    GameState gs;
    const std::string dir = folder.path().toStdString();
    const Cabinet laid_out(gs, dir, "Zelmar", width, width * 9 / 16, width, width * 9 / 16);
    scale = laid_out.Layout().scale;
    path = LaidOutArtPath(dir, width, 1);
    SaveLaidOutArt(path, "bench", laid_out.Art(), laid_out.CarriedSheet(), laid_out.Layout());
  }
  QTemporaryDir folder;
  ScreenScale scale;
  std::string path;
};

void BM_LoadLaidOutArt(benchmark::State& state) {
  const KeptFile kept(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    MainArt art;
    QImage sheet;
    ScreenLayout layout;
    layout.scale = kept.scale;
    if (!LoadLaidOutArt(kept.path, "bench", art, sheet, layout)) state.SkipWithError("not read");
  }
}
BENCHMARK(BM_LoadLaidOutArt)->Arg(800)->Arg(1920)->Unit(benchmark::kMillisecond);

void BM_LaidOutArtChecksum(benchmark::State& state) {
  const KeptFile kept(static_cast<int>(state.range(0)));
  QFile file(QString::fromStdString(kept.path));
  file.open(QIODevice::ReadOnly);
  const QByteArray bytes = file.readAll();
  for (auto _ : state) {
    LaidOutArtChecksum sum;
    sum.Add(reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<size_t>(bytes.size()));
    benchmark::DoNotOptimize(sum.Value());
  }
  state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_LaidOutArtChecksum)->Arg(800)->Arg(1920)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  InstallFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
