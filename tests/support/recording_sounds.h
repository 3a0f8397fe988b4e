// RecordingSounds: a GameSounds that plays nothing and remembers what was asked, in order.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "shell/sounds.h"

class RecordingSounds : public GameSounds {
 public:
  void LoadSounds(const GameIdentity&) override { calls.push_back("LoadSounds"); }
  void FindMusicTracks() override { calls.push_back("FindMusicTracks"); }
  void QueueFirstTrack() override { calls.push_back("QueueFirstTrack"); }
  void PlayReelStopSound() override { calls.push_back("ReelStop"); }
  void PlayCountSound() override { calls.push_back("Count"); }
  // A waited-for win sound ends at once, unless hold_win_sound keeps it playing until the
  // test calls EndWinSound().
  void PlayWinSound(std::function<void()> when_finished) override {
    calls.push_back(when_finished ? "WinWait" : "Win");
    if (!when_finished) return;
    win_sound_end = std::move(when_finished);
    if (!hold_win_sound) EndWinSound();
  }
  void EndWinSound() {
    if (win_sound_end) std::exchange(win_sound_end, nullptr)();
  }
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
  bool hold_win_sound = false;
  std::function<void()> win_sound_end;
};
