// SoundPlayer: the audio device. Plays short effects (one at a time, each play stopping the one
// still sounding) and one music track at a time with a notice when its play ends. It knows
// nothing of the game; the game's rules for what plays when live in shell/game_audio.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// How the play of a music track ended.
enum class MusicEnd {
  kPlayedToEnd,  // the track played to its last note
  kStopped,      // the track was closed while it played
};

class SoundPlayer {
 public:
  // An effect held in memory, made ready once so that each play starts at once.
  class Effect {
   public:
    virtual ~Effect() = default;
  };

  virtual ~SoundPlayer() = default;

  // Makes the player ready: opens the audio device where that is still to be done, on a thread
  // of its own when it takes time, so the caller never waits for it. opened runs later on the
  // user-interface thread (never from inside the call), once HasDevice and DeviceError tell how
  // it went. Until then the player is silent, as without a device. Called once.
  virtual void Open(std::function<void()> opened) = 0;
  // False when no audio device could be opened, or before it is open; every play is then silent
  // and returns false.
  virtual bool HasDevice() const = 0;
  // Why the device could not be opened (empty when it was, or before Open has told).
  virtual std::string DeviceError() const = 0;

  // Makes an effect from the bytes of a whole WAV file; nullptr when they are not a sound the
  // player can play.
  virtual std::shared_ptr<const Effect> PrepareEffect(const std::vector<uint8_t>& bytes) = 0;
  // Play an effect from memory or from a WAV file, first stopping the effect still playing, and
  // return at once. when_finished, if given, runs later on the user-interface thread once the
  // effect has ended or been cut short by the next one (never from inside the call). False
  // when nothing could be played (no device, a missing or unplayable file); when_finished is
  // then dropped.
  virtual bool PlayEffect(const Effect& effect, std::function<void()> when_finished = {}) = 0;
  virtual bool PlayEffectFile(const std::string& path,
                              std::function<void()> when_finished = {}) = 0;

  // Opens a music track, closing any open one first. On failure returns false with the reason
  // in *error.
  virtual bool OpenMusic(const std::string& path, std::string* error) = 0;
  // Plays the open track from its beginning, once; its end is reported to the music-end handler.
  virtual void PlayMusic() = 0;
  // Closes the open track; a playing track stops at once. Nothing happens when none is open.
  virtual void CloseMusic() = 0;
  // Closes the open track as CloseMusic does and lets go of what the music holds in memory (the
  // synthesizer and its sound font, some tens of megabytes) until the next OpenMusic, which
  // loads them again in the background. For when no music will play for a while.
  virtual void ReleaseMusic() = 0;
  // Receives the end of each play, always on the user-interface thread, for the track still
  // open (a notice that arrives after its track was closed or replaced is dropped).
  virtual void SetMusicEndHandler(std::function<void(MusicEnd)> handler) = 0;
};

// Whether bytes are a whole RIFF WAVE file: the "RIFF" and "WAVE" marks, and "fmt " and "data"
// chunks among chunks that each lie within the bytes. Only such a file is handed to the decoder,
// which would otherwise set aside as much memory as a damaged chunk header claims.
bool IsWholeWaveFile(const uint8_t* data, size_t size);

// The desktop's player: SDL2_mixer on the default audio output. A MIDI track is played from its
// recording in recordings_folder when that holds one made from a file with the same content
// (RecordingName in platform/music_synth.h), otherwise through FluidSynth with the installed
// General MIDI sound font. Opens the device as it is made (Open only tells), so it may
// be made on any thread, after the QApplication; it is used and destroyed on the user-interface
// thread. A machine without audio output gets a player without a device.
std::unique_ptr<SoundPlayer> CreateSdlSoundPlayer(const std::string& recordings_folder = {});

// Sample rate and buffer size of the real player's output: the buffer is the longest an effect
// waits to be mixed (43 ms; 30 ms on average in sound_benchmarks, where 1024 frames gave 8 ms;
// the output's own buffering comes on top). The audio thread wakes once a buffer, and each wake
// costs far more than the mixing it does: a silent output of 1024 frames cost 0.18 to 0.31 % of
// a core in wakes alone (the more, the idler the machine), this one half as much. The game's
// music at rest would not stay within 0.3 % of a core with the smaller buffer. Through PipeWire
// the buffer is the server's cycle for as long as the game plays alone, the same as a plain
// player's (pw-play), and no wake is spent in between. The rate is the one a PipeWire server
// runs at, 48 kHz: the game's stream reaches it without being resampled in the game's process
// (where PipeWire's resampler runs for a stream of another rate), and the recordings are made at
// this rate, so they play without resampling too.
constexpr int kAudioRate = 48000;
constexpr int kAudioBufferFrames = 2048;
