// RecordingSounds: a GameSounds that plays nothing and remembers what was asked, in order.
#pragma once

#include <string>
#include <vector>

#include "shell/sounds.h"

class RecordingSounds : public GameSounds {
 public:
  void LoadSounds(const GameIdentity&) override { Calls.push_back("LoadSounds"); }
  void FindMusicTracks() override { Calls.push_back("FindMusicTracks"); }
  void QueueFirstTrack() override { Calls.push_back("QueueFirstTrack"); }
  void PlayReelStopSound() override { Calls.push_back("ReelStop"); }
  void PlayCountSound() override { Calls.push_back("Count"); }
  void PlayWinSound(bool wait) override { Calls.push_back(wait ? "WinWait" : "Win"); }
  void PlayExplosionSound() override { Calls.push_back("Explosion"); }
  void PlayStartSound() override { Calls.push_back("Start"); }
  void PlayBonusSound() override { Calls.push_back("Bonus"); }
  void StartPendingTrack() override { Calls.push_back("StartPendingTrack"); }
  bool SoundOn() const override { return Sound; }
  void SwitchSound() override { Sound = !Sound; }
  bool MusicOn() const override { return Music; }
  void SwitchMusic() override { Music = !Music; }
  void CloseMusic() override { Calls.push_back("CloseMusic"); }

  // How many times the named call was made.
  int Count(const std::string& name) const {
    int n = 0;
    for (const std::string& call : Calls) n += call == name ? 1 : 0;
    return n;
  }

  std::vector<std::string> Calls;
  bool Sound = true;
  bool Music = true;
};
