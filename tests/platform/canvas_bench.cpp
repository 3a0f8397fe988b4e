// Drawing speed of the canvas paths that run inside the reel animation's 25 ms frame and the
// count-up: a 1:1 copy of a reel column and a full-screen background stretch.
#include <benchmark/benchmark.h>

#include "platform/canvas.h"

namespace {

QImage Noise(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      row[x] = 0xff000000u | (seed >> 8);
    }
  }
  return image;
}

// One reel column at 1920 width: 152 x 456.
void BM_CopyRect_OneToOne_152x456(benchmark::State& state) {
  Canvas canvas(1920, 1440);
  const QImage column = Noise(152, 912);
  int offset = 0;
  for (auto _ : state) {
    canvas.CopyRect(400, 300, 552, 756, column, 0, offset, 152, offset + 456);
    offset = (offset + 7) % 456;
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 152 * 456);
}
BENCHMARK(BM_CopyRect_OneToOne_152x456);

void BM_CopyRect_MaskAndOr_152x456(benchmark::State& state) {
  Canvas canvas(1920, 1440);
  const QImage mask = Noise(152, 456);
  const QImage picture = Noise(152, 456);
  for (auto _ : state) {
    canvas.SetRasterOp(RasterOp::And);
    canvas.CopyRect(400, 300, 552, 756, mask, 0, 0, 152, 456);
    canvas.SetRasterOp(RasterOp::Or);
    canvas.CopyRect(400, 300, 552, 756, picture, 0, 0, 152, 456);
    canvas.SetRasterOp(RasterOp::Copy);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 2 * 152 * 456);
}
BENCHMARK(BM_CopyRect_MaskAndOr_152x456);

// The 800 x 600 cabinet stretched over a 1920 x 1440 window.
void BM_CopyRect_Stretch_800x600_to_1920x1440(benchmark::State& state) {
  Canvas canvas(1920, 1440);
  const QImage background = Noise(800, 600);
  for (auto _ : state) {
    canvas.CopyRect(0, 0, 1920, 1440, background, 0, 0, 800, 600);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * 1920 * 1440);
}
BENCHMARK(BM_CopyRect_Stretch_800x600_to_1920x1440)->Unit(benchmark::kMillisecond);

// A 1-bit mask converted on the fly (the slow, correct fallback).
void BM_CopyRect_MonoSource_152x456(benchmark::State& state) {
  Canvas canvas(1920, 1440);
  const QImage mask = Noise(152, 456).convertToFormat(QImage::Format_Mono);
  canvas.SetRasterOp(RasterOp::And);
  for (auto _ : state) {
    canvas.CopyRect(400, 300, 552, 756, mask, 0, 0, 152, 456);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CopyRect_MonoSource_152x456);

void BM_FillRect_StatusLine(benchmark::State& state) {
  Canvas canvas(1920, 1440);
  canvas.SetPenColor(qRgb(0, 0, 0));
  canvas.SetBrushColor(qRgb(0, 0, 0));
  for (auto _ : state) {
    canvas.FillRect(412, 120, 1497, 146);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FillRect_StatusLine);

}  // namespace

BENCHMARK_MAIN();
