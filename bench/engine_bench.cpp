// Speed of the engine's hot paths: scoring a spin, and the exact math of zelmar-sim par.
#include <benchmark/benchmark.h>

#include <array>

#include "engine/game_state.h"
#include "engine/par.h"
#include "engine/paytable.h"
#include "engine/reels.h"

namespace {

// One spin's scoring: the window, scatters, nine paylines and totals, as EvaluateSpin uses it.
void BM_ScoreSpin(benchmark::State& bench) {
  GameState state;
  BuildReelStrips(state);
  state.LinesBet = 9;
  state.CreditsPerLine = 1;
  state.Random.SetSeed(12345);
  // Stops prepared beforehand so that only the scoring is measured.
  std::array<std::array<int32_t, kReels>, 1024> stops{};
  std::array<int, kReels> offsets{};
  for (auto& s : stops) {
    DrawSpinStops(state, 912, offsets);
    s = state.ReelStop;
  }
  size_t i = 0;
  for (auto _ : bench) {
    state.ReelStop = stops[i++ & 1023];
    ScoreSpin(state);
    benchmark::DoNotOptimize(state.GamePaid);
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ScoreSpin);

// Draws and scores one spin, as the math tool's replay does.
void BM_DrawAndScoreSpin(benchmark::State& bench) {
  GameState state;
  BuildReelStrips(state);
  state.LinesBet = 9;
  state.CreditsPerLine = 1;
  state.Random.SetSeed(12345);
  std::array<int, kReels> offsets{};
  for (auto _ : bench) {
    DrawSpinStops(state, 912, offsets);
    ScoreSpin(state);
    benchmark::DoNotOptimize(state.GamePaid);
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_DrawAndScoreSpin);

// Every figure of zelmar-sim par, including the full enumeration of 30^5 stop combinations.
void BM_ComputePar(benchmark::State& bench) {
  const int lines = static_cast<int>(bench.range(0));
  for (auto _ : bench) {
    ParFigures par = ComputePar(lines, 1);
    benchmark::DoNotOptimize(par);
  }
}
BENCHMARK(BM_ComputePar)->Arg(1)->Arg(9)->Unit(benchmark::kMillisecond)->UseRealTime();

// The full enumeration alone, on one thread and on two.
void BM_EnumerateAllStops(benchmark::State& bench) {
  const int threads = static_cast<int>(bench.range(0));
  for (auto _ : bench) {
    StopEnumeration all = EnumerateAllStops(9, threads);
    benchmark::DoNotOptimize(all);
  }
  bench.SetItemsProcessed(bench.iterations() * 24300000LL);
}
BENCHMARK(BM_EnumerateAllStops)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
