// Counts a game loop (a spin request, a bonus payout) on the call stack while it runs, so a
// close that arrives meanwhile can wait until every credit is in place.
#pragma once

class LoopGuard {
 public:
  explicit LoopGuard(int& depth) : depth_(depth) { ++depth_; }
  ~LoopGuard() { --depth_; }
  LoopGuard(const LoopGuard&) = delete;
  LoopGuard& operator=(const LoopGuard&) = delete;

 private:
  int& depth_;
};
