// RecordingSounds: a GameSounds that plays nothing and remembers what was asked, in order.
#pragma once

#include <string>
#include <vector>

#include "shell/sounds.h"

class RecordingSounds : public GameSounds {
 public:
  void PlayReelStopSound() override { calls.push_back("ReelStop"); }
  void PlayCountSound() override { calls.push_back("Count"); }
  void PlayWinSound(bool wait) override { calls.push_back(wait ? "WinWait" : "Win"); }
  void PlayExplosionSound() override { calls.push_back("Explosion"); }
  void PlayStartSound() override { calls.push_back("Start"); }
  void PlayBonusSound() override { calls.push_back("Bonus"); }
  void StartPendingTrack() override { calls.push_back("StartPendingTrack"); }

  // How many times the named call was made.
  int Count(const std::string& name) const {
    int n = 0;
    for (const std::string& call : calls) n += call == name ? 1 : 0;
    return n;
  }

  std::vector<std::string> calls;
};
