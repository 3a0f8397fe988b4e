// GameAudio: the game's rules for sound effects and music, over the audio device.
//
// Effects. The reel-stop and count sounds are read into memory at start-up and played from
// there; the win, explosion, start-up and bonus sounds are played from their files each time.
// Every file is AppDir + SoundRoot + a fixed ending. Sound off silences every effect but the win
// sound. An effect that can't be played sounds the game's own default sound instead.
//
// Music. Up to ten tracks AppDir + SoundRoot + digit + ".mid", found at start-up, play one after
// another in ascending order and wrap around. A track that has played to its end makes the
// next one pending; the next tick of a 100 ms timer (or a spin request) starts it. The timer runs
// only while a track is pending: at rest, with the music playing, nothing wakes the game ten
// times a second. Music off stops the track; Music on starts the current track again from its
// beginning. A track that can't be played is skipped: the next one that can starts at once, and
// the player is told why each track failed, once for each reason (a track that fails the same
// way the next time round is skipped without a word). When none can be played the music stops;
// Music off and on tries again from the track after the one that failed.
//
// The device. LoadSounds opens it without waiting for it (SoundPlayer::Open); the effects are
// read once it is open. Until then every effect is silent, except the start-up sound, which plays
// once the device is open, and a track that should start waits for it.
//
// No audio device: everything is silent, and the player is told once, when the game's window is
// on the screen.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/sound_player.h"
#include "shell/sounds.h"

class GameAudio : public GameSounds {
 public:
  static constexpr int kTrackCount = 10;
  static constexpr int kPendingOffset = 10;  // track_index_ n + 10: track n starts at the next tick
  static constexpr int kMusicTickMs = 100;

  GameAudio(SoundPlayer& player, Platform& platform);
  ~GameAudio() override;

  void LoadSounds(const GameIdentity& identity) override;
  void FindMusicTracks() override;
  void QueueFirstTrack() override;

  void PlayReelStopSound() override;
  void PlayCountSound() override;
  void PlayWinSound(std::function<void()> when_finished) override;
  void PlayExplosionSound() override;
  void PlayStartSound() override;
  void PlayBonusSound() override;
  void StartPendingTrack() override;

  bool SoundOn() const override { return sound_on_; }
  void SwitchSound() override;
  bool MusicOn() const override { return music_on_; }
  void SwitchMusic() override;
  void CloseMusic() override;

  // The track in play (0..9), -1 before the first, n + 10 while track n waits to start.
  int TrackIndex() const { return track_index_; }

 private:
  void DeviceOpened();
  // Reads the reel-stop and count sounds into memory, and tells what went wrong once the
  // game's window is on the screen.
  void ReadMemorySounds();
  std::string FileName(const std::string& ending) const;
  void PlayMemory(const SoundPlayer::Effect* effect);
  void PlayFile(const std::string& ending, bool obey_sound_switch,
                std::function<void()> when_finished = {});
  bool PlayDefault(std::function<void()> when_finished = {});
  bool TrackExists(int n) const;
  void NextTrack();
  // Opens and plays track n, or the first after it that can be played; tells what failed on
  // the way.
  void OpenAndPlay(int n);
  void MusicEnded(MusicEnd end);
  void ShowError(const QString& text);

  SoundPlayer& player_;
  Platform& platform_;
  bool opened_ = false;  // the device is open, or known to be missing
  bool device_ = false;
  bool start_sound_waiting_ = false;
  std::string app_dir_;
  std::string sound_root_;
  QString caption_;

  bool sound_on_ = true;
  bool music_on_ = true;
  std::shared_ptr<const SoundPlayer::Effect> reel_stop_sound_;
  std::shared_ptr<const SoundPlayer::Effect> count_sound_;
  std::shared_ptr<const SoundPlayer::Effect> default_sound_;

  // Full path of each track found at start-up, empty where there was none.
  std::array<std::string, kTrackCount> music_tracks_;
  int track_index_ = -1;
  // No track could be played when the music last started: Music on starts from the next one.
  bool all_failed_ = false;
  // Why each track could not be played, as the player was told it; empty where it was not.
  std::array<std::string, kTrackCount> told_;
  std::unique_ptr<Timer> music_timer_;
  // What start-up found wrong, told once the first window has been drawn.
  std::unique_ptr<QObject> start_up_notices_;
};
