// The steps in which a win is counted into the credits.
#pragma once

// The next count-up step for the credits still to count: 100 from 1000 on, 50 from 500, 10 from
// 100, 5 from 25, 2 from 10, else 1. Never more than `remaining`; 0 when nothing is left.
constexpr int CountUpStep(int remaining) {
  if (remaining >= 1000) return 100;
  if (remaining >= 500) return 50;
  if (remaining >= 100) return 10;
  if (remaining >= 25) return 5;
  if (remaining >= 10) return 2;
  if (remaining >= 1) return 1;
  return 0;
}
