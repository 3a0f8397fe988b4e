// The SDL2_mixer player. Effects play on one mixer channel, so a new effect always replaces the
// one still sounding. A track that has a recording in the recordings folder (one named after the
// track's content, RecordingName) is played from it by SDL_mixer's own music player: decoding
// costs a tenth of synthesizing, and neither synthesizer nor sound font is needed. Any other
// track is rendered by a FluidSynth synthesizer hooked into SDL_mixer's music stream: it is made,
// and its sound font loaded on a thread of its own, when a track is opened with none in place, and
// kept from track to track; ReleaseMusic lets go of both. The same thread loads the samples of each
// opened track's instruments, which the track starts once they are in: the audio thread never reads
// the font. The end of a track is seen at its last event rather than after the synthesizer's
// release tail. The end notice is posted from the audio thread to a QObject that lives on the
// user-interface thread.
#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/file_bytes.h"
#include "platform/music_synth.h"
#include "platform/read_ahead_file.h"
#include "platform/sound_player.h"

namespace {

constexpr int kEffectChannel = 0;
// An effect is a short sound: a larger file is not read at all.
constexpr std::uintmax_t kLargestEffectFile = 64u << 20;
constexpr int kLoaderNiceness = 10;
// How often the output is looked at: whether it went away, and once gone, whether it can be
// opened again.
constexpr int kDeviceWatchMs = 1000;
// An output that has asked for no sound over this many watches in a row has gone away, though
// SDL did not say so: its PipeWire output is not told when the server ends.
constexpr int kStalledWatches = 2;
// Calls of the synthesizer made at one wake while a track plays: 8 x 512 frames, 93 ms at
// 44.1 kHz.
constexpr int kRenderAhead = 8;

class SdlEffect : public SoundPlayer::Effect {
 public:
  explicit SdlEffect(Mix_Chunk* chunk) : chunk_(chunk) {}
  ~SdlEffect() override { Mix_FreeChunk(chunk_); }
  Mix_Chunk* Chunk() const { return chunk_; }

 private:
  Mix_Chunk* chunk_;
};

// What the loader makes ready for a track: the track, by its generation, and its instruments.
struct LoaderJob {
  int generation = 0;
  std::vector<MidiInstrument> instruments;
};

class SdlSoundPlayer : public SoundPlayer {
 public:
  explicit SdlSoundPlayer(std::string recordings_folder)
      : recordings_folder_(std::move(recordings_folder)) {
    // The notices go to the user-interface thread whichever thread makes the player.
    ui_thread_.moveToThread(QCoreApplication::instance()->thread());
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    PreferPipeWire();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      device_error_ = SDL_GetError();
      return;
    }
    sdl_audio_ = true;
    if (Mix_OpenAudioDevice(kAudioRate, AUDIO_S16SYS, 2, kAudioBufferFrames, nullptr,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE) != 0) {
      device_error_ = Mix_GetError();
      return;
    }
    int frequency = kAudioRate, channels = 2;
    Uint16 format = AUDIO_S16SYS;
    Mix_QuerySpec(&frequency, &format, &channels);
    bytes_per_ms_ = frequency * channels * (SDL_AUDIO_BITSIZE(format) / 8) / 1000;
    frequency_ = frequency;
    DeviceOpened();
  }

  // Asks SDL to try its PipeWire output first, then its others in its own order. A desktop that
  // runs PipeWire serves the PulseAudio API too, through pipewire-pulse, and SDL would pick that
  // one; through it the game, the server and its PulseAudio front together cost four times what
  // they cost through PipeWire's own API (README "Sound and music"). Where no PipeWire server
  // answers, SDL goes on to the next output. A driver set in SDL_AUDIODRIVER wins over the hint;
  // SDL's disk and dummy outputs are only ever asked for by name.
  static void PreferPipeWire() {
    std::string order = "pipewire";
    bool has_pipewire = false;
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i) {
      const std::string name = SDL_GetAudioDriver(i);
      has_pipewire = has_pipewire || name == "pipewire";
      if (name != "pipewire" && name != "disk" && name != "dummy") order += "," + name;
    }
    if (has_pipewire) SDL_SetHint(SDL_HINT_AUDIODRIVER, order.c_str());
  }

  ~SdlSoundPlayer() override {
    if (device_open_) {
      CloseMusic();
      Mix_HookMusic(nullptr, nullptr);
      Mix_HookMusicFinished(nullptr);
      Mix_ChannelFinished(nullptr);
      effect_player = nullptr;
      Mix_HaltChannel(-1);
      file_effect_.reset();
      Mix_CloseAudio();
    }
    if (loader_.joinable()) loader_.join();
    synth_.reset();
    // The game is SDL's only user: shut all of it down, the D-Bus link its audio thread may
    // have opened included.
    if (sdl_audio_) SDL_Quit();
  }

  void Open(std::function<void()> opened) override {
    if (device_open_) {
      // On the user-interface thread, as the notices.
      auto* watch = new QTimer(&ui_thread_);
      QObject::connect(watch, &QTimer::timeout, watch, [this] { WatchDevice(); });
      watch->start(kDeviceWatchMs);
    }
    QMetaObject::invokeMethod(&ui_thread_, std::move(opened), Qt::QueuedConnection);
  }
  bool HasDevice() const override { return device_open_; }
  std::string DeviceError() const override { return device_error_; }

  std::shared_ptr<const Effect> PrepareEffect(const std::vector<uint8_t>& bytes) override {
    if (!device_open_) return nullptr;
    Mix_Chunk* chunk = LoadWave(bytes);
    if (chunk == nullptr) return nullptr;
    return std::make_shared<SdlEffect>(chunk);
  }

  bool PlayEffect(const Effect& effect, std::function<void()> when_finished) override {
    if (!device_open_) return false;
    return Play(static_cast<const SdlEffect&>(effect).Chunk(), std::move(when_finished));
  }

  bool PlayEffectFile(const std::string& path, std::function<void()> when_finished) override {
    if (!device_open_) return false;
    std::vector<uint8_t> bytes;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kLargestEffectFile) return false;
    std::string ignored;
    if (!ReadFileBytes(path, &bytes, &ignored)) return false;
    Mix_Chunk* chunk = LoadWave(bytes);
    if (chunk == nullptr) return false;
    // The chunk of the last file effect may still be sounding: stop it before it is freed.
    Mix_HaltChannel(kEffectChannel);
    file_effect_ = std::make_unique<SdlEffect>(chunk);
    return Play(chunk, std::move(when_finished));
  }

  bool OpenMusic(const std::string& path, std::string* error) override {
    CloseMusic();
    release_wanted_ = false;
    std::string reason;
    std::vector<uint8_t> bytes;
    std::string why;
    if (!device_open_) {
      reason = "no audio device (" + device_error_ + ")";
    } else if (!ReadFileBytes(path, &bytes, &why)) {
      reason = "cannot open " + path + ": " + why;
    } else if (bytes.size() < 14 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
      reason = path + " is not a MIDI file";
    } else if (OpenRecording(path, bytes)) {
      return true;
    } else if (!MakeSynth()) {
      reason = font_error_;
    } else {
      // The synthesizer feeds the music stream in place of SDL_mixer's own music player.
      Mix_HookMusic(&SdlSoundPlayer::RenderMusic, this);
      {
        // A player hooks itself into the synthesizer that the audio thread is rendering: it is
        // made and unmade only while the audio thread is out of the synthesizer.
        std::lock_guard<std::mutex> lock(music_mutex_);
        fluid_player_t* player = new_fluid_player(synth_->Synth());
        if (player == nullptr ||
            fluid_player_add_mem(player, bytes.data(), bytes.size()) != FLUID_OK) {
          if (player != nullptr) delete_fluid_player(player);
          reason = path + " can't be read as a MIDI file";
        } else {
          player_ = player;
          track_path_ = path;
          playing_ = false;
          started_ = false;
          total_ticks_ = 0;
          ++generation_;
        }
      }
      if (reason.empty()) {
        RunLoader(LoaderJob{generation_, InstrumentsOfTrack(bytes)});
      }
    }
    if (!reason.empty() && error != nullptr) *error = reason;
    return reason.empty();
  }

  void PlayMusic() override {
    if (recording_ != nullptr) {
      {
        std::lock_guard<std::mutex> lock(music_mutex_);
        if (std::exchange(playing_, true)) return;
      }
      if (Mix_PlayMusic(recording_, 0) != 0) {
        std::fprintf(stderr, "The recording of %s can't be played: %s\n", track_path_.c_str(),
                     Mix_GetError());
      }
      return;
    }
    std::lock_guard<std::mutex> lock(music_mutex_);
    if (player_ == nullptr || playing_) return;
    playing_ = true;
    // Until the sound font and the track's instruments are in, the track waits; the audio thread
    // starts it then.
    if (TrackReady()) StartPlayer();
  }

  void CloseMusic() override {
    // Closed while the output is gone: it does not start again when the output is back.
    resume_path_.clear();
    if (recording_ != nullptr) {
      // Freed as it plays, it tells no end; an end already on its way carries a generation that
      // is over (RecordingFinished).
      Mix_FreeMusic(std::exchange(recording_, nullptr));
      std::lock_guard<std::mutex> lock(music_mutex_);
      playing_ = false;
      ++generation_;
      return;
    }
    // Under the lock the audio thread renders with: the player is unhooked from the
    // synthesizer only while nothing renders it.
    std::lock_guard<std::mutex> lock(music_mutex_);
    if (player_ == nullptr) return;
    // A track cut off while it plays falls silent at once. One that has played to its end
    // keeps the release of its last notes, and a note its file never let go is let go now,
    // so that it does not sound on into the next track.
    if (started_ && !ended_) {
      fluid_synth_all_sounds_off(synth_->Synth(), -1);
      DropRenderedAhead();
    } else if (started_) {
      fluid_synth_all_notes_off(synth_->Synth(), -1);
    }
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
    playing_ = false;
    started_ = false;
    ended_ = false;
    end_at_ = 0;
    total_ticks_ = 0;
    ++generation_;
  }

  void ReleaseMusic() override {
    CloseMusic();
    release_wanted_ = true;
    // A sound font or instruments still loading are let go of once they are in (LoaderDone):
    // the user-interface thread never waits for them.
    if (!loader_busy_) ReleaseSynth();
  }

  void SetMusicEndHandler(std::function<void(MusicEnd)> handler) override {
    on_music_end_ = std::move(handler);
  }

 private:
  // The mixer's set-up on an open device: one effect channel, whose end is reported, and the
  // music stream.
  void DeviceOpened() {
    device_open_ = true;
    mixes_seen_ = mixes_;
    stalled_watches_ = 0;
    Mix_RegisterEffect(MIX_CHANNEL_POST, &SdlSoundPlayer::CountMix, nullptr, this);
    Mix_AllocateChannels(1);
    effect_player = this;
    Mix_ChannelFinished(&SdlSoundPlayer::EffectChannelFinished);
    Mix_HookMusicFinished(&SdlSoundPlayer::RecordingFinished);
    // A recording is heard at the level it was made at, the synthesizer's.
    Mix_VolumeMusic(MIX_MAX_VOLUME);
  }

  // Opens the recording of the track with these bytes, when the recordings folder has one that
  // SDL_mixer can play, and lets go of a synthesizer no longer needed. False otherwise: the
  // track is then synthesized.
  bool OpenRecording(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (recordings_folder_.empty()) return false;
    const std::string file = recordings_folder_ + "/" + RecordingName(bytes.data(), bytes.size());
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    Mix_Music* recording = nullptr;
    SDL_RWops* rw = OpenReadAheadFile(file);
    if (rw == nullptr) {
      std::fprintf(stderr, "The recording %s can't be opened (%s); the track is synthesized.\n",
                   file.c_str(), SDL_GetError());
      return false;
    }
    recording = Mix_LoadMUS_RW(rw, 1);
    if (recording == nullptr) {
      // What the decoders say of a file none of them knows (the last one tried names itself)
      // tells the player nothing: the file is damaged.
      std::fprintf(stderr, "The recording %s is damaged; the track is synthesized.\n",
                   file.c_str());
      return false;
    }
    // SDL_mixer's own music player takes the music stream back from the synthesizer.
    Mix_HookMusic(nullptr, nullptr);
    recording_ = recording;
    {
      std::lock_guard<std::mutex> lock(music_mutex_);
      track_path_ = path;
      playing_ = false;
      ++generation_;
    }
    // The synthesizer goes, now or once what it loads is in (LoaderDone).
    if (loader_busy_) {
      release_wanted_ = true;
    } else {
      ReleaseSynth();
    }
    return true;
  }

  // SDL_mixer's notice, on the audio thread, that a recording has been played to its end: posted
  // to the user-interface thread with the track's generation, so that an end that arrives after
  // its track was closed is dropped.
  static void RecordingFinished() {
    SdlSoundPlayer* self = effect_player;
    if (self == nullptr) return;
    const int generation = self->generation_;
    QMetaObject::invokeMethod(
        &self->ui_thread_, [self, generation] { self->DeliverMusicEnd(generation); },
        Qt::QueuedConnection);
  }

  // On the user-interface thread, every kDeviceWatchMs while the device was opened once. An
  // output that went away (the sound server ended or restarted, the card was taken out; SDL
  // says so, or the output stops asking for sound) is not heard from again, and the mixer would go
  // on rendering into nothing: the device is closed and the music let go of. Then the device is
  // opened again as soon as it can be, on the same terms, so that the effects made for it play as
  // they are, and the track that played starts again from its beginning.
  void WatchDevice() {
    if (device_open_) {
      bool lost = false;
      SDL_Event events[8];
      int count = 0;
      while ((count = SDL_PeepEvents(events, 8, SDL_GETEVENT, SDL_AUDIODEVICEADDED,
                                     SDL_AUDIODEVICEREMOVED)) > 0) {
        for (int i = 0; i < count; ++i) {
          // Only an opened device has a number: the game's one output.
          lost = lost || (events[i].type == SDL_AUDIODEVICEREMOVED &&
                          events[i].adevice.iscapture == 0 && events[i].adevice.which != 0);
        }
      }
      // The mixer runs once a buffer, whether anything plays or not.
      const unsigned mixes = mixes_;
      stalled_watches_ = mixes == mixes_seen_ ? stalled_watches_ + 1 : 0;
      mixes_seen_ = mixes;
      if (lost || stalled_watches_ >= kStalledWatches) LoseDevice();
      return;
    }
    if (Mix_OpenAudioDevice(frequency_, AUDIO_S16SYS, 2, kAudioBufferFrames, nullptr, 0) != 0) {
      return;
    }
    DeviceOpened();
    std::fprintf(stderr, "The sound output is back.\n");
    const std::string track = std::exchange(resume_path_, std::string());
    if (track.empty()) return;
    std::string error;
    if (!OpenMusic(track, &error)) {
      std::fprintf(stderr, "The music could not start again: %s\n", error.c_str());
    } else if (std::exchange(resume_playing_, false)) {
      PlayMusic();
    }
  }

  void LoseDevice() {
    std::fprintf(stderr,
                 "The sound output went away; the game plays on silent until it is back.\n");
    std::string track;
    bool playing = false;
    {
      std::lock_guard<std::mutex> lock(music_mutex_);
      if (player_ != nullptr || recording_ != nullptr) track = track_path_;
      playing = playing_;
    }
    ReleaseMusic();
    resume_path_ = std::move(track);
    resume_playing_ = playing;
    // The effect sounding ends for whoever waits for it.
    Mix_HaltChannel(-1);
    Mix_HookMusic(nullptr, nullptr);
    Mix_HookMusicFinished(nullptr);
    Mix_ChannelFinished(nullptr);
    effect_player = nullptr;
    Mix_CloseAudio();
    device_open_ = false;
    device_error_ = "the sound output went away";
  }

  // After each buffer the mixer makes, on the audio thread: the output is alive.
  static void CountMix(int, void*, int, void* self) {
    ++static_cast<SdlSoundPlayer*>(self)->mixes_;
  }

  // Decodes a whole WAVE file; nullptr for anything else.
  static Mix_Chunk* LoadWave(const std::vector<uint8_t>& bytes) {
    if (!IsWholeWaveFile(bytes.data(), bytes.size())) return nullptr;
    return Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  }

  // Makes the synthesizer, if there is none; the loader loads the sound font into it. False
  // when the font is known to be unusable (the reason is in font_error_).
  bool MakeSynth() {
    if (!font_ready_ && synth_ == nullptr) {
      std::string no_font;
      font_path_ = FindGeneralMidiSoundFont(&no_font);
      auto synth = std::make_unique<MusicSynth>(frequency_);
      if (synth->Synth() == nullptr) {
        font_error_ = "the MIDI synthesizer could not be started";
        font_ready_ = true;
      } else if (font_path_.empty()) {
        font_error_ = no_font;
        font_ready_ = true;
      } else {
        // The audio thread leaves the synthesizer alone until the font is in.
        std::lock_guard<std::mutex> lock(music_mutex_);
        synth_ = std::move(synth);
      }
    }
    return !font_ready_ || font_error_.empty();
  }

  // The instruments a track selects, and those every track's start selects.
  static std::vector<MidiInstrument> InstrumentsOfTrack(const std::vector<uint8_t>& bytes) {
    std::vector<MidiInstrument> instruments = {{0, 0}, {128, 0}};
    for (const MidiInstrument& instrument : InstrumentsSelected(bytes.data(), bytes.size())) {
      if (std::find(instruments.begin(), instruments.end(), instrument) == instruments.end()) {
        instruments.push_back(instrument);
      }
    }
    return instruments;
  }

  // Loads, on a thread of its own, what the open track needs before it can start: the sound
  // font, when it is not in yet (a large file), and the samples of the track's instruments, so
  // that the audio thread reads no file when the track selects them. The user-interface thread
  // never waits for either: a job asked for while the loader is busy waits its turn.
  void RunLoader(LoaderJob job) {
    if (loader_busy_) {
      waiting_job_ = std::move(job);
      return;
    }
    if (loader_.joinable()) loader_.join();  // it has ended: it was not busy
    MusicSynth* synth = synth_.get();
    if (synth == nullptr) return;
    const bool load_font = !font_ready_;
    loader_busy_ = true;
    loader_ = std::thread([this, synth, load_font, font = font_path_, job = std::move(job)] {
      // Below the user-interface thread: the game comes first.
      setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kLoaderNiceness);
      if (load_font && fluid_synth_sfload(synth->Synth(), font.c_str(), 1) == FLUID_FAILED) {
        font_error_ = "the sound font " + font + " can't be read (damaged, or not a sound font)";
      }
      if (font_error_.empty()) synth->HoldInstruments(job.instruments);
      // What the tracks before let go of (their instruments' samples, their events) glibc keeps
      // in the arenas it came from, one for each thread that allocated it, a loader among them:
      // handed back to the system once a track change, or a play of synthesized tracks holds
      // some 7 MB more after its first few tracks (bench/music_memory.sh).
      malloc_trim(0);
      prepared_generation_ = job.generation;
      // The audio thread renders nothing until the font is in, and starts the first track with
      // the first sound it renders, as a synthesizer that has just loaded its font would.
      if (load_font) font_ready_ = true;
      loader_busy_ = false;
      QMetaObject::invokeMethod(
          &ui_thread_, [this] { LoaderDone(); }, Qt::QueuedConnection);
    });
  }

  // On the user-interface thread, once a loader's job is done: music switched off meanwhile lets
  // go of the synthesizer now; a track opened meanwhile has its job run.
  void LoaderDone() {
    // A notice of an earlier job may come while a later one runs: that one tells its own end.
    if (loader_busy_) return;
    if (release_wanted_) {
      ReleaseSynth();
      return;
    }
    if (waiting_job_) {
      LoaderJob job = std::move(*waiting_job_);
      waiting_job_.reset();
      if (job.generation == generation_) RunLoader(std::move(job));
    }
  }

  // Whether the open track may start: its sound font and instruments are in.
  bool TrackReady() const { return font_ready_ && prepared_generation_ == generation_; }

  // Lets go of the synthesizer and its sound font, with no track open and the loader done, and
  // hands the memory back to the system; the next OpenMusic makes them again.
  void ReleaseSynth() {
    if (loader_.joinable()) loader_.join();  // it is not busy: it is ending
    waiting_job_.reset();
    std::unique_ptr<MusicSynth> released;
    {
      std::lock_guard<std::mutex> lock(music_mutex_);
      released = std::move(synth_);
      DropRenderedAhead();
      font_ready_ = false;
      font_error_.clear();
    }
    if (released == nullptr) return;
    released.reset();
    // The font's many small blocks would otherwise stay with the process.
    malloc_trim(0);
  }

  // Starts the open track; called with music_mutex_ held, once the track is ready.
  void StartPlayer() {
    // A track starts from a clean General MIDI state whatever the last one left behind; notes
    // of the last track still dying away are left to ring out.
    for (int channel = 0; channel < 16; ++channel) {
      fluid_synth_cc(synth_->Synth(), channel, 121, 0);  // reset all controllers
      fluid_synth_program_change(synth_->Synth(), channel, 0);
    }
    fluid_player_play(player_);
    started_ = true;
  }

  bool Play(Mix_Chunk* chunk, std::function<void()> when_finished) {
    if (Mix_PlayChannel(kEffectChannel, chunk, 0) < 0) return false;
    // The effect this one cut short has had its end reported (under the audio lock, inside
    // Mix_PlayChannel) with the old number: only the new effect's end carries this one.
    const int effect = ++effect_number_;
    if (effect_finished_) {
      // Whoever waited for the effect cut short hears of its end now.
      QMetaObject::invokeMethod(&ui_thread_, std::move(effect_finished_), Qt::QueuedConnection);
    }
    effect_finished_ = std::move(when_finished);
    if (effect_finished_) {
      // In case the output stalls, the notice comes at the latest a second after the sound's
      // length.
      const int limit_ms = static_cast<int>(chunk->alen / std::max(bytes_per_ms_, 1)) + 1000;
      QTimer::singleShot(limit_ms, &ui_thread_, [this, effect] { DeliverEffectEnd(effect); });
    }
    return true;
  }

  // The mixer's notice that the effect channel has stopped, on the audio thread (or inside a
  // mixer call of the user-interface thread): posted to the user-interface thread.
  static void EffectChannelFinished(int channel) {
    SdlSoundPlayer* self = effect_player;
    if (channel != kEffectChannel || self == nullptr) return;
    const int effect = self->effect_number_;
    QMetaObject::invokeMethod(
        &self->ui_thread_, [self, effect] { self->DeliverEffectEnd(effect); },
        Qt::QueuedConnection);
  }

  void DeliverEffectEnd(int effect) {
    if (effect != effect_number_ || !effect_finished_) return;
    std::function<void()> finished = std::move(effect_finished_);
    effect_finished_ = nullptr;
    finished();
  }

  // The mixer's music stream, on the audio thread: the synthesizer's output, and the end notice
  // once the track's last event has been heard.
  //
  // While a track plays, the synthesizer makes kRenderAhead calls at a time, one after the other,
  // and the following callbacks are served from them: waking the synthesizer once for several
  // calls costs about two thirds of waking it for each (its voices and tables are warm in the
  // cache). Every call renders kSynthFrames, whatever the callback's length, so what is heard is
  // sample for sample the same.
  static void RenderMusic(void* user, Uint8* stream, int len) {
    auto* self = static_cast<SdlSoundPlayer*>(user);
    std::lock_guard<std::mutex> lock(self->music_mutex_);
    // Until the font is in the mixer's silence stands.
    if (!self->font_ready_ || self->synth_ == nullptr) return;
    if (self->player_ != nullptr && self->playing_ && !self->started_) {
      if (!self->font_error_.empty()) return;
      // Until its instruments are in, the last track's notes ring on.
      if (self->TrackReady()) self->StartPlayer();
    }
    const size_t samples = static_cast<size_t>(len) / sizeof(int16_t);
    std::vector<int16_t>& ahead = self->rendered_;
    if (ahead.size() - self->rendered_read_ < samples) {
      ahead.erase(ahead.begin(), ahead.begin() + static_cast<std::ptrdiff_t>(self->rendered_read_));
      self->rendered_read_ = 0;
      const bool track_in_play = self->player_ != nullptr && self->started_ && !self->ended_;
      while (ahead.size() < samples) self->RenderCall();
      // Past the track's end only what this callback needs: the next track starts right after.
      for (int n = 0; track_in_play && !self->ended_ && n < kRenderAhead; ++n) self->RenderCall();
    }
    std::memcpy(stream, ahead.data() + self->rendered_read_, samples * sizeof(int16_t));
    self->rendered_read_ += samples;
    self->samples_heard_ += samples;
    if (self->end_at_ > 0 && self->samples_heard_ >= self->end_at_) {
      self->end_at_ = 0;
      const int generation = self->generation_;
      QMetaObject::invokeMethod(
          &self->ui_thread_, [self, generation] { self->DeliverMusicEnd(generation); },
          Qt::QueuedConnection);
    }
  }

  // Appends one call of the synthesizer's output to rendered_, and marks where the track's last
  // event falls in what is heard; with music_mutex_ held, on the audio thread.
  void RenderCall() {
    constexpr size_t kSamples = 2 * kSynthFrames;
    const size_t at = rendered_.size();
    rendered_.resize(at + kSamples);
    int16_t* out = rendered_.data() + at;
    fluid_synth_write_s16(synth_->Synth(), kSynthFrames, out, 0, 2, out, 1, 2);
    samples_rendered_ += kSamples;
    if (player_ == nullptr || !started_ || ended_) return;
    // The track's length walks every event, so it is read once the track is parsed, not at every
    // buffer.
    if (total_ticks_ <= 0) total_ticks_ = fluid_player_get_total_ticks(player_);
    if (fluid_player_get_status(player_) != FLUID_PLAYER_PLAYING ||
        fluid_player_get_current_tick(player_) >= total_ticks_) {
      ended_ = true;
      end_at_ = samples_rendered_;
    }
  }

  // Drops what was rendered ahead and not yet heard (a track cut off, the synthesizer let go
  // of); with music_mutex_ held.
  void DropRenderedAhead() {
    samples_rendered_ -= rendered_.size() - rendered_read_;
    rendered_.clear();
    rendered_read_ = 0;
    end_at_ = 0;
  }

  void DeliverMusicEnd(int generation) {
    if (generation != generation_ || !on_music_end_) return;
    on_music_end_(MusicEnd::kPlayedToEnd);
  }

  bool sdl_audio_ = false;
  bool device_open_ = false;
  // The track open when the output went away, and whether it was asked to play: it starts
  // again once the output is back.
  std::string resume_path_;
  bool resume_playing_ = false;
  int bytes_per_ms_ = 1;
  std::string device_error_;
  std::unique_ptr<SdlEffect> file_effect_;

  // The synthesizer and its font: made by OpenMusic, let go of by ReleaseMusic, on the
  // user-interface thread; the font and each track's instruments are loaded on loader_.
  int frequency_ = kAudioRate;
  std::string font_path_;
  std::thread loader_;
  std::atomic<bool> loader_busy_{false};
  std::optional<LoaderJob> waiting_job_;  // the open track's, while the loader was busy
  std::atomic<bool> font_ready_{false};
  std::string font_error_;       // written before font_ready_ is set, read after
  bool release_wanted_ = false;  // music was let go of while the loader was busy
  // The track whose instruments the loader has made ready, by its generation_.
  std::atomic<int> prepared_generation_{-1};

  // The recordings of tracks, by content, and the open track's recording when it plays from one.
  const std::string recordings_folder_;
  Mix_Music* recording_ = nullptr;

  std::mutex music_mutex_;  // guards the fields below against the audio thread
  std::unique_ptr<MusicSynth> synth_;
  fluid_player_t* player_ = nullptr;
  std::string track_path_;  // the open track's file
  bool playing_ = false;    // asked to play
  bool started_ = false;    // playing in the synthesizer
  bool ended_ = false;
  int total_ticks_ = 0;  // the playing track's length, once known
  // The synthesizer's output rendered ahead of the mixer, from rendered_read_ on; the samples
  // rendered and heard since the device opened, and the count heard at the playing track's
  // last event (0 when it is not yet rendered, or already told).
  std::vector<int16_t> rendered_;
  size_t rendered_read_ = 0;
  uint64_t samples_rendered_ = 0;
  uint64_t samples_heard_ = 0;
  uint64_t end_at_ = 0;
  std::atomic<int> generation_{0};

  std::function<void(MusicEnd)> on_music_end_;
  // The effect in play (counted from the first) and who waits for its end.
  std::atomic<int> effect_number_{0};
  // The mixer's buffers made since the device was first opened, and the count at the last watch
  // and for how many watches it has not moved.
  std::atomic<unsigned> mixes_{0};
  unsigned mixes_seen_ = 0;
  int stalled_watches_ = 0;
  std::function<void()> effect_finished_;
  // The mixer reports a channel's end to a plain function; the one open player hears it.
  static inline std::atomic<SdlSoundPlayer*> effect_player{nullptr};
  // Lives on the user-interface thread; the notices are posted to it. Destroyed first, so a
  // notice still queued is dropped with it.
  QObject ui_thread_;
};

uint32_t LittleEndian32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

bool IsWholeWaveFile(const uint8_t* data, size_t size) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return false;
  }
  bool format = false;
  bool samples = false;
  size_t at = 12;
  while (size - at >= 8) {
    const uint32_t length = LittleEndian32(data + at + 4);
    if (length > size - at - 8) return false;
    format = format || std::memcmp(data + at, "fmt ", 4) == 0;
    samples = samples || std::memcmp(data + at, "data", 4) == 0;
    at += 8 + length + (length & 1);  // chunks are padded to even lengths
    if (at > size) break;             // only the pad byte of the last chunk is missing
  }
  return format && samples;
}

std::unique_ptr<SoundPlayer> CreateSdlSoundPlayer(const std::string& recordings_folder) {
  return std::make_unique<SdlSoundPlayer>(recordings_folder);
}
