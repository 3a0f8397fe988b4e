// RecordingSounds: a GameSounds that plays nothing and remembers what was asked, in order.
#pragma once

#include <string>
#include <vector>

#include "shell/sounds.h"

class RecordingSounds : public GameSounds {
 public:
  void LoadSounds(const GameIdentity&) override { calls.push_back("LoadSounds"); }
  void FindMusicTracks() override { calls.push_back("FindMusicTracks"); }
  void QueueFirstTrack() override { calls.push_back("QueueFirstTrack"); }
  void PlayReelStopSound() override { calls.push_back("ReelStop"); }
  void PlayCountSound() override { calls.push_back("Count"); }
  void PlayWinSound(bool wait) override { calls.push_back(wait ? "WinWait" : "Win"); }
  void PlayExplosionSound() override { calls.push_back("Explosion"); }
  void PlayStartSound() override { calls.push_back("Start"); }
  void PlayBonusSound() override { calls.push_back("Bonus"); }
  void StartPendingTrack() override { calls.push_back("StartPendingTrack"); }
  bool SoundOn() const override { return sound; }
  void SwitchSound() override { sound = !sound; }
  bool MusicOn() const override { return music; }
  void SwitchMusic() override { music = !music; }
  void CloseMusic() override { calls.push_back("CloseMusic"); }

  // How many times the named call was made.
  int Count(const std::string& name) const {
    int n = 0;
    for (const std::string& call : calls) n += call == name ? 1 : 0;
    return n;
  }

  std::vector<std::string> calls;
  bool sound = true;
  bool music = true;
};
