// The game's one random sequence.
//
// Every random draw of the game goes through one generator, in a fixed order: per reel a strip
// offset then a stop, and the bonus game's prize shuffle. A seed therefore names a whole game.
// Never change the formula or the order of draws: recorded seeds, the math tool's replays and the
// pinned test sequences would all stop matching.
#pragma once

#include <cstdint>

class RandomGenerator {
 public:
  // Seeds from a UTC time of day: ((hour * 60 + minute) * 60 + second) * 1000 + millisecond.
  void SeedFromTimeOfDay(int hour, int minute, int second, int millisecond);
  // Seeds from the current UTC time of day of the system clock.
  void SeedFromClock();

  void SetSeed(uint32_t seed) { seed_ = seed; }
  uint32_t Seed() const { return seed_; }

  // Advances the seed (seed * 134775813 + 1 mod 2^32) and returns (seed * n) div 2^32,
  // a value in 0..n-1. n must be at least 1.
  int32_t RandomInt(int32_t n);

 private:
  uint32_t seed_ = 0;
};
