// The sounds and music the game asks for at its moments. The implementation behind this
// interface owns the audio device and the rules of what plays when; callers only say what
// happened.
#pragma once

#include <functional>

struct GameIdentity;

class GameSounds {
 public:
  virtual ~GameSounds() = default;

  // Start-up, once the window is drawn: opens the audio device without waiting for it, and
  // reads the reel-stop and count sounds into memory from the files named by the identity once it
  // is open. A file that can't be read is reported once the first window has been drawn, and its
  // sound falls back to the game's default sound; the game goes on.
  virtual void LoadSounds(const GameIdentity& identity) = 0;
  // Start-up, once the window is drawn: notes which of the ten music tracks lie beside the
  // program.
  virtual void FindMusicTracks() = 0;
  // End of start-up: makes the first track pending when Music is on.
  virtual void QueueFirstTrack() = 0;

  virtual void PlayReelStopSound() = 0;  // a reel lands
  virtual void PlayCountSound() = 0;     // one count-up step
  // A win. when_finished, if given, runs once the sound has ended: later, from the event loop,
  // or at once when nothing could be played. The game holds its play until then.
  virtual void PlayWinSound(std::function<void()> when_finished) = 0;
  virtual void PlayExplosionSound() = 0;  // the bonus bomb goes off
  virtual void PlayStartSound() = 0;      // start-up has finished; waits for a device opening
  virtual void PlayBonusSound() = 0;      // the bonus game is coming
  virtual void StartPendingTrack() = 0;   // start a music track change that is waiting

  // The Options menu's switches; both are on at every start.
  virtual bool SoundOn() const = 0;
  virtual void SwitchSound() = 0;
  virtual bool MusicOn() const = 0;
  virtual void SwitchMusic() = 0;

  // The game is going: the music stops and its track is closed.
  virtual void CloseMusic() = 0;
};

// Plays nothing: used where no audio device is wanted (tests, the math tool).
class SilentSounds : public GameSounds {
 public:
  void LoadSounds(const GameIdentity&) override {}
  void FindMusicTracks() override {}
  void QueueFirstTrack() override {}
  void PlayReelStopSound() override {}
  void PlayCountSound() override {}
  void PlayWinSound(std::function<void()> when_finished) override {
    if (when_finished) when_finished();
  }
  void PlayExplosionSound() override {}
  void PlayStartSound() override {}
  void PlayBonusSound() override {}
  void StartPendingTrack() override {}
  bool SoundOn() const override { return sound_on_; }
  void SwitchSound() override { sound_on_ = !sound_on_; }
  bool MusicOn() const override { return music_on_; }
  void SwitchMusic() override { music_on_ = !music_on_; }
  void CloseMusic() override {}

 private:
  bool sound_on_ = true;
  bool music_on_ = true;
};
