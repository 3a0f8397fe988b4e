// RecordingPlayer: a SoundPlayer that plays nothing and records what it was asked, in order.
// Files are looked at for real: a missing file, or one whose content starts with "bad", can't
// be played (a track then "is not a MIDI file"; with fail_open none opens: "the device is busy").
// Paths are recorded relative to root.
#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sound_player.h"

class RecordingPlayer : public SoundPlayer {
 public:
  struct Image : Effect {
    std::string bytes;
  };

  // The device opens at the next turn of the event loop, or, with hold_open, when the test calls
  // FinishOpen.
  void Open(std::function<void()> opened) override {
    opened_ = std::move(opened);
    if (!hold_open)
      QMetaObject::invokeMethod(
          qApp, [this] { FinishOpen(); }, Qt::QueuedConnection);
  }
  void FinishOpen() {
    if (opened_) std::exchange(opened_, nullptr)();
  }
  bool HasDevice() const override { return device; }
  std::string DeviceError() const override { return "no output here"; }

  std::shared_ptr<const Effect> PrepareEffect(const std::vector<uint8_t>& bytes) override {
    auto image = std::make_shared<Image>();
    image->bytes.assign(bytes.begin(), bytes.end());
    if (image->bytes.rfind("bad", 0) == 0) return nullptr;
    return image;
  }
  // A played effect with a waiter ends at once.
  bool PlayEffect(const Effect& effect, std::function<void()> when_finished) override {
    const std::string& bytes = static_cast<const Image&>(effect).bytes;
    calls.push_back("memory " + (bytes.size() > 16 ? std::string("<long>") : bytes) +
                    (when_finished ? " wait" : ""));
    if (when_finished) when_finished();
    return true;
  }
  bool PlayEffectFile(const std::string& path, std::function<void()> when_finished) override {
    calls.push_back("file " + Relative(path) + (when_finished ? " wait" : ""));
    const bool playable = Playable(path);
    if (playable && when_finished) when_finished();
    return playable;
  }
  bool OpenMusic(const std::string& path, std::string* error) override {
    calls.push_back("open " + Relative(path));
    open_ = !fail_open && Playable(path);
    if (!open_) *error = fail_open ? "the device is busy" : path + " is not a MIDI file";
    return open_;
  }
  void PlayMusic() override { calls.push_back("play"); }
  void CloseMusic() override {
    if (open_) calls.push_back("close");
    open_ = false;
  }
  void ReleaseMusic() override {
    CloseMusic();
    calls.push_back("release");
  }
  void SetMusicEndHandler(std::function<void(MusicEnd)> handler) override {
    handler_ = std::move(handler);
  }

  // The end-of-play notice of the open track.
  void EndTrack(MusicEnd end = MusicEnd::kPlayedToEnd) {
    if (handler_) handler_(end);
  }
  // The calls recorded since the last Take(), then forgets them.
  std::vector<std::string> Take() { return std::exchange(calls, {}); }

  std::vector<std::string> calls;
  std::string root;
  bool device = true;
  bool hold_open = false;
  bool fail_open = false;

 private:
  std::string Relative(const std::string& path) const {
    return path.rfind(root, 0) == 0 ? path.substr(root.size()) : path;
  }
  static bool Playable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    char head[3] = {};
    file.read(head, 3);
    return std::string(head, static_cast<size_t>(file.gcount())) != "bad";
  }

  bool open_ = false;
  std::function<void()> opened_;
  std::function<void(MusicEnd)> handler_;
};
