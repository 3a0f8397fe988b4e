// The sounds the game asks for at its moments. The player behind this interface owns the
// audio device; callers only say what happened.
#pragma once

class GameSounds {
 public:
  virtual ~GameSounds() = default;
  virtual void PlayReelStopSound() = 0;      // a reel lands
  virtual void PlayCountSound() = 0;         // one count-up step
  virtual void PlayWinSound(bool wait) = 0;  // a win; wait: return only when it has finished
  virtual void PlayExplosionSound() = 0;     // the bonus bomb goes off
  virtual void PlayStartSound() = 0;         // start-up has finished
  virtual void PlayBonusSound() = 0;         // the bonus game is coming
  virtual void StartPendingTrack() = 0;      // start a music track change that is waiting
};

// Plays nothing: used where no audio device is wanted (tests, the math tool).
class SilentSounds : public GameSounds {
 public:
  void PlayReelStopSound() override {}
  void PlayCountSound() override {}
  void PlayWinSound(bool) override {}
  void PlayExplosionSound() override {}
  void PlayStartSound() override {}
  void PlayBonusSound() override {}
  void StartPendingTrack() override {}
};
