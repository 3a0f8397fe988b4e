#include "engine/random.h"

#include <chrono>

void RandomGenerator::SeedFromTimeOfDay(int hour, int minute, int second, int millisecond) {
  seed_ = static_cast<uint32_t>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond);
}

void RandomGenerator::SeedFromClock() {
  // Unix time counts no leap seconds, so the remainder of a day's milliseconds is exactly the
  // UTC time of day.
  using namespace std::chrono;
  const int64_t ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  constexpr int64_t kMsPerDay = 24LL * 60 * 60 * 1000;
  int64_t of_day = ms % kMsPerDay;
  if (of_day < 0) of_day += kMsPerDay;  // a clock set before 1970
  const int millisecond = static_cast<int>(of_day % 1000);
  const int second = static_cast<int>(of_day / 1000 % 60);
  const int minute = static_cast<int>(of_day / 60000 % 60);
  const int hour = static_cast<int>(of_day / 3600000);
  SeedFromTimeOfDay(hour, minute, second, millisecond);
}

int32_t RandomGenerator::RandomInt(int32_t n) {
  // The seed always advances, even for a degenerate n, so that one bad request cannot shift
  // every later draw of the game out of step.
  seed_ = seed_ * 134775813u + 1u;
  if (n < 1) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(seed_) * static_cast<uint64_t>(n)) >> 32);
}
