#include "shell/game_audio.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/after_first_paint.h"
#include "platform/file_bytes.h"
#include "shell/identity.h"

namespace {

// The game's own default sound, carried inside the program.
constexpr char kDefaultSoundResource[] = ":/art/sounds/default_sound.wav";

}  // namespace

GameAudio::GameAudio(SoundPlayer& player, Platform& platform)
    : player_(player), platform_(platform) {
  player_.SetMusicEndHandler([this](MusicEnd end) { MusicEnded(end); });
  music_timer_ = platform_.CreateTimer(kMusicTickMs, false, [this] { StartPendingTrack(); });
}

GameAudio::~GameAudio() {
  music_timer_.reset();
  player_.SetMusicEndHandler(nullptr);
  CloseMusic();
}

std::string GameAudio::FileName(const std::string& ending) const {
  return app_dir_ + sound_root_ + ending;
}

void GameAudio::ShowError(const QString& text) {
  platform_.ShowError(nullptr, text);
}

void GameAudio::LoadSounds(const GameIdentity& identity) {
  app_dir_ = identity.AppDir;
  sound_root_ = identity.SoundRoot;
  caption_ = QString::fromStdString(identity.GameTitle);
  player_.Open([this] { DeviceOpened(); });
}

void GameAudio::DeviceOpened() {
  opened_ = true;
  device_ = player_.HasDevice();
  QFile file(QString::fromLatin1(kDefaultSoundResource));
  if (device_ && file.open(QIODevice::ReadOnly)) {
    const QByteArray data = file.readAll();
    default_sound_ = player_.PrepareEffect(std::vector<uint8_t>(data.begin(), data.end()));
  }
  ReadMemorySounds();
  // What start-up asked for while the device was being opened plays now: the start-up sound,
  // then the first track.
  if (std::exchange(start_sound_waiting_, false)) PlayStartSound();
  StartPendingTrack();
}

void GameAudio::ReadMemorySounds() {
  QString no_device;
  if (!device_) {
    no_device =
        QStringLiteral("No sound device could be opened (%1).\nThe game plays without sound.")
            .arg(QString::fromStdString(player_.DeviceError()));
  }
  // Both files are read whatever happens to the first, and a missing one is reported without
  // stopping the game: its sound falls back to the default sound.
  QStringList problems;
  const struct {
    const char* ending;
    std::shared_ptr<const SoundPlayer::Effect>* sound;
  } images[] = {{"0.wav", &reel_stop_sound_}, {"3.wav", &count_sound_}};
  for (const auto& image : images) {
    const std::string path = FileName(image.ending);
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(path, &bytes, &error)) {
      problems << QStringLiteral("%1: %2").arg(QString::fromStdString(error),
                                               QString::fromStdString(path));
      continue;
    }
    if (device_) *image.sound = player_.PrepareEffect(bytes);
  }
  // The player is told once the game is on the screen: a box over a window not yet drawn would
  // leave it black until the box is answered.
  if (no_device.isEmpty() && problems.isEmpty()) return;
  start_up_notices_ =
      std::make_unique<AfterFirstPaint>([this, no_device, errors = problems.join('\n')] {
        if (!no_device.isEmpty()) platform_.ShowMessage(nullptr, caption_, no_device);
        if (!errors.isEmpty()) ShowError(errors);
      });
}

void GameAudio::FindMusicTracks() {
  for (int n = 0; n < kTrackCount; ++n) {
    const std::string path = FileName(std::to_string(n) + ".mid");
    std::error_code ec;
    music_tracks_[n] = std::filesystem::exists(path, ec) ? path : std::string();
  }
}

void GameAudio::QueueFirstTrack() {
  if (!music_on_) return;
  track_index_ = -1;
  NextTrack();
  track_index_ += kPendingOffset;
  music_timer_->SetEnabled(true);
}

bool GameAudio::PlayDefault(std::function<void()> when_finished) {
  return default_sound_ && player_.PlayEffect(*default_sound_, std::move(when_finished));
}

void GameAudio::PlayMemory(const SoundPlayer::Effect* effect) {
  if (!device_ || !sound_on_) return;
  if (effect != nullptr) {
    player_.PlayEffect(*effect);
  } else {
    PlayDefault();
  }
}

void GameAudio::PlayFile(const std::string& ending, bool obey_sound_switch,
                         std::function<void()> when_finished) {
  const bool played =
      device_ && (!obey_sound_switch || sound_on_) &&
      (player_.PlayEffectFile(FileName(ending), when_finished) || PlayDefault(when_finished));
  // Nothing sounds: nothing to wait for.
  if (!played && when_finished) when_finished();
}

void GameAudio::PlayReelStopSound() {
  PlayMemory(reel_stop_sound_.get());
}
void GameAudio::PlayCountSound() {
  PlayMemory(count_sound_.get());
}
// The win sound plays whatever the Sound switch says: a waiting win sound is also the game's
// pause before the count-up.
void GameAudio::PlayWinSound(std::function<void()> when_finished) {
  PlayFile("Win.wav", false, std::move(when_finished));
}
void GameAudio::PlayExplosionSound() {
  PlayFile("E.wav", true);
}
void GameAudio::PlayStartSound() {
  // A device still being opened plays it once it is open.
  if (!opened_) {
    start_sound_waiting_ = true;
    return;
  }
  PlayFile("7.wav", true);
}
void GameAudio::PlayBonusSound() {
  PlayFile("5.wav", true);
}

bool GameAudio::TrackExists(int n) const {
  std::error_code ec;
  return !music_tracks_[n].empty() && std::filesystem::exists(music_tracks_[n], ec);
}

void GameAudio::NextTrack() {
  // Files are looked at again: a track removed while the game runs is skipped.
  int present = 0;
  for (int n = 0; n < kTrackCount; ++n) present += TrackExists(n) ? 1 : 0;
  if (present == 0) {
    track_index_ = kTrackCount - 1;
    return;
  }
  int i = track_index_ + 1;
  if (i >= kTrackCount) i = 0;
  while (!TrackExists(i)) {
    if (++i >= kTrackCount) i = 0;
  }
  track_index_ = i;
}

void GameAudio::StartPendingTrack() {
  // The timer ticks only while a track waits for it. While Music is off a pending start waits;
  // switching Music on starts it.
  music_timer_->SetEnabled(false);
  if (track_index_ < kPendingOffset || !music_on_) return;
  while (track_index_ >= kPendingOffset) track_index_ -= kPendingOffset;
  OpenAndPlay(track_index_);
}

void GameAudio::OpenAndPlay(int n) {
  if (!opened_) {
    track_index_ = n + kPendingOffset;  // it starts once the device is open
    return;
  }
  if (!device_) return;
  track_index_ = n;
  if (music_tracks_[n].empty()) {
    // Not a single track was found: there is nothing to skip to.
    all_failed_ = true;
    ShowError(QStringLiteral("The music can't be played: no music file %1")
                  .arg(QString::fromStdString(FileName(std::to_string(n) + ".mid"))));
    return;
  }
  QStringList problems;
  // Each track is tried at most once: when none plays, the music stops at the first tried.
  for (int tried = 0; tried < kTrackCount; ++tried) {
    const std::string& path = music_tracks_[track_index_];
    std::string error;
    if (player_.OpenMusic(path, &error)) {
      player_.PlayMusic();
      all_failed_ = false;
      told_[track_index_].clear();  // should it fail again, the player hears of it again
      if (!problems.isEmpty()) ShowError(problems.join('\n'));
      return;
    }
    // The synthesizer is not kept for a track that did not open.
    player_.ReleaseMusic();
    if (std::exchange(told_[track_index_], error) != error) {
      // A reason that does not name the track's file (a sound font that is missing) is told
      // with it.
      const QString reason = QString::fromStdString(error);
      problems << QStringLiteral("The music can't be played: %1")
                      .arg(error.find(path) != std::string::npos
                               ? reason
                               : QStringLiteral("%1 (%2)").arg(reason,
                                                               QString::fromStdString(path)));
    }
    NextTrack();
    if (track_index_ == n || !TrackExists(track_index_)) break;
  }
  track_index_ = n;
  all_failed_ = true;
  if (!problems.isEmpty()) ShowError(problems.join('\n'));
}

void GameAudio::MusicEnded(MusicEnd end) {
  if (end != MusicEnd::kPlayedToEnd) return;
  NextTrack();
  track_index_ += kPendingOffset;
  music_timer_->SetEnabled(true);
  player_.CloseMusic();
}

void GameAudio::SwitchSound() {
  sound_on_ = !sound_on_;
}

void GameAudio::SwitchMusic() {
  music_on_ = !music_on_;
  if (!music_on_) {
    // No music until it is switched on again: the synthesizer's memory goes back too.
    if (device_) player_.ReleaseMusic();
    return;
  }
  // The track in play (or the one waiting to start) starts from its beginning at once; before
  // the first track was ever chosen, the first track; after no track could be played, the one
  // after the track that failed first.
  while (track_index_ >= kPendingOffset) track_index_ -= kPendingOffset;
  if (track_index_ < 0 || std::exchange(all_failed_, false)) NextTrack();
  OpenAndPlay(track_index_);
}

void GameAudio::CloseMusic() {
  player_.CloseMusic();
}
