#include "platform/sound_module.h"

#include <dlfcn.h>

#include <QMetaObject>
#include <QObject>
#include <filesystem>
#include <thread>
#include <utility>

namespace {

constexpr char kEntryPoint[] = "ZelmarSlotsCreateSoundPlayer";

class SoundModulePlayer : public SoundPlayer {
 public:
  explicit SoundModulePlayer(std::string module_path) : module_path_(std::move(module_path)) {}

  ~SoundModulePlayer() override {
    // A device still being opened is waited for; the player made meanwhile goes with this one.
    if (opener_.joinable()) opener_.join();
  }

  void Open(std::function<void()> opened) override {
    if (opener_.joinable() || real_ != nullptr) return;
    opened_ = std::move(opened);
    opener_ = std::thread([this] {
      // The module stays loaded for the life of the process: its code runs until the very end.
      // Only a file: the loader would wait forever on a pipe in its place, and the end of the
      // program on the loader.
      std::error_code ec;
      const bool plain = !std::filesystem::exists(module_path_, ec) ||
                         std::filesystem::is_regular_file(module_path_, ec);
      void* module = plain ? dlopen(module_path_.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
      if (module == nullptr) {
        const char* why = plain ? dlerror() : nullptr;
        loader_error_ = "the sound module can't be loaded: " +
                        (plain ? std::string(why ? why : "") : module_path_ + " is not a file");
      } else if (void* entry = dlsym(module, kEntryPoint); entry == nullptr) {
        loader_error_ = "the sound module " + module_path_ + " has no player";
      } else {
        const std::string folder = std::filesystem::path(module_path_).parent_path().string();
        made_.reset(reinterpret_cast<SoundPlayer* (*)(const char*)>(entry)(folder.c_str()));
      }
      QMetaObject::invokeMethod(
          &ui_thread_, [this] { Made(); }, Qt::QueuedConnection);
    });
  }

  bool HasDevice() const override { return real_ != nullptr && real_->HasDevice(); }
  std::string DeviceError() const override {
    return real_ != nullptr ? real_->DeviceError() : device_error_;
  }

  std::shared_ptr<const Effect> PrepareEffect(const std::vector<uint8_t>& bytes) override {
    return real_ != nullptr ? real_->PrepareEffect(bytes) : nullptr;
  }
  bool PlayEffect(const Effect& effect, std::function<void()> when_finished) override {
    return real_ != nullptr && real_->PlayEffect(effect, std::move(when_finished));
  }
  bool PlayEffectFile(const std::string& path, std::function<void()> when_finished) override {
    return real_ != nullptr && real_->PlayEffectFile(path, std::move(when_finished));
  }

  bool OpenMusic(const std::string& path, std::string* error) override {
    if (real_ != nullptr) return real_->OpenMusic(path, error);
    if (error != nullptr) *error = "no audio device (" + device_error_ + ")";
    return false;
  }
  void PlayMusic() override {
    if (real_ != nullptr) real_->PlayMusic();
  }
  void CloseMusic() override {
    if (real_ != nullptr) real_->CloseMusic();
  }
  void ReleaseMusic() override {
    if (real_ != nullptr) real_->ReleaseMusic();
  }
  void SetMusicEndHandler(std::function<void(MusicEnd)> handler) override {
    if (real_ != nullptr) {
      real_->SetMusicEndHandler(std::move(handler));
    } else {
      music_end_handler_ = std::move(handler);
    }
  }

 private:
  // On the user-interface thread, once the opener is done: the player it made takes over.
  void Made() {
    opener_.join();
    device_error_ = loader_error_;
    real_ = std::move(made_);
    if (real_ == nullptr) {
      if (opened_) std::exchange(opened_, nullptr)();
      return;
    }
    if (music_end_handler_) real_->SetMusicEndHandler(std::move(music_end_handler_));
    real_->Open(std::move(opened_));
  }

  const std::string module_path_;
  std::function<void()> opened_;
  std::function<void(MusicEnd)> music_end_handler_;
  std::string device_error_;
  std::unique_ptr<SoundPlayer> real_;

  // Written by the opener, read on the user-interface thread once it has ended.
  std::thread opener_;
  std::string loader_error_;
  std::unique_ptr<SoundPlayer> made_;

  // Lives on the user-interface thread; the opener's notice is posted to it. Destroyed first, so
  // a notice still queued is dropped with it.
  QObject ui_thread_;
};

}  // namespace

std::unique_ptr<SoundPlayer> CreateSoundModulePlayer(const std::string& module_path) {
  return std::make_unique<SoundModulePlayer>(module_path);
}
