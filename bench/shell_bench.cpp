// Keeping the running game at every spin, on the real disk of a temporary folder (run from the
// build folder: ./shell_benchmarks):
//   KeepPerSpin: what handing the game to the writer costs the user-interface thread; it must
//     stay far below a frame (the goal is 0.2 ms), whatever the disk is doing meanwhile.
//   KeepAtASpinsPace/ms: 1000 spins pressed ms apart. Counters: the games handed over (queued),
//     the writes that reached the file (written: each one a rename into the folder, seen by
//     inotify), the most spins the file lagged behind the game just before a press
//     (most_behind), and the longest Keep. A real spin takes over a second; at 20 ms, still
//     longer than a write on a disk that is not busy, every game is written and the file is not
//     behind at a press. At 0 the games come faster than any disk takes them and collapse into
//     few writes, the file one write behind the game.
#include <benchmark/benchmark.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include "platform/profile_file.h"
#include "shell/running_game_writer.h"
#include "shell/saved_games.h"

namespace {

GameState AfterSpin(int32_t k) {
  GameState state;
  state.Credits = 1000 + k;
  state.Borrowed = 2000 + k;
  state.SpinCount = k;
  state.TotalBet = 5 * k;
  state.BonusPayoffs = 7 * k;
  return state;
}

int32_t SpinInFile(const std::string& path) {
  const ProfileDocument file = ReadProfileFile(path);
  return ParseProfileInt(file.Value(kRunningGameName, "Spins").value_or("0")).value_or(-1);
}

// Counts the new versions of one file renamed into its folder.
class RenameCounter {
 public:
  RenameCounter(const std::string& folder, std::string file_name)
      : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), file_name_(std::move(file_name)) {
    // Two identical events in a row are merged into one: the renames away from the temporary
    // names come between them and keep every rename onto the file apart.
    inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_MOVED_FROM);
  }
  ~RenameCounter() { close(fd_); }
  RenameCounter(const RenameCounter&) = delete;
  RenameCounter& operator=(const RenameCounter&) = delete;

  // The renames seen since the last call.
  int Take() {
    int count = 0;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
      const ssize_t got = read(fd_, buffer, sizeof buffer);
      if (got <= 0) return count;
      for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        if ((event->mask & IN_MOVED_TO) != 0 && event->len > 0 && file_name_ == event->name) {
          ++count;
        }
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

 private:
  int fd_;
  std::string file_name_;
};

void KeepPerSpin(benchmark::State& bench) {
  QTemporaryDir dir;
  RunningGameWriter writer(dir.filePath("slots.ini").toStdString());
  GameState state = AfterSpin(0);
  for (auto _ : bench) {
    ++state.SpinCount;  // a new game each time, as after a spin
    writer.Keep(state);
  }
  writer.Flush();
}
BENCHMARK(KeepPerSpin)->Unit(benchmark::kMicrosecond);

void KeepAtASpinsPace(benchmark::State& bench) {
  constexpr int32_t kSpins = 1000;
  const auto pace = std::chrono::milliseconds(bench.range(0));
  for (auto _ : bench) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("slots.ini").toStdString();
    RenameCounter renames(dir.path().toStdString(), "slots.ini");
    RunningGameWriter writer(path);
    int32_t most_behind = 0;
    double longest_keep_us = 0;
    for (int32_t k = 1; k <= kSpins; ++k) {
      most_behind = std::max(most_behind, (k - 1) - SpinInFile(path));
      const GameState state = AfterSpin(k);
      const auto start = std::chrono::steady_clock::now();
      writer.Keep(state);
      const std::chrono::duration<double, std::micro> took =
          std::chrono::steady_clock::now() - start;
      longest_keep_us = std::max(longest_keep_us, took.count());
      std::this_thread::sleep_for(pace);
    }
    writer.Flush();
    bench.counters["queued"] = kSpins;
    bench.counters["written"] = renames.Take();
    bench.counters["most_behind"] = most_behind;
    bench.counters["longest_keep_us"] = longest_keep_us;
  }
}
BENCHMARK(KeepAtASpinsPace)
    ->Arg(0)
    ->Arg(20)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
