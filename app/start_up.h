// StartUpPhase: the game's first quarter of a second. Input waits until it has ended; the sounds
// and the music are readied once the window is first drawn (none of it is needed for the first
// picture), and the end plays the start-up sound and queues the first track.
#pragma once

#include <functional>
#include <memory>

#include "platform/after_first_paint.h"
#include "platform/platform.h"
#include "shell/identity.h"
#include "shell/sounds.h"

class StartUpPhase {
 public:
  // ended runs at the end of start-up, before the sounds; identity is read when the sounds are
  // loaded, so a settings file read meanwhile counts.
  StartUpPhase(Platform& platform, GameSounds& sounds, const GameIdentity& identity,
               std::function<void()> ended);

  bool Ended() const { return !clock_->Enabled(); }
  // Ends start-up without its sounds (the window closes first).
  void Abandon() { clock_->SetEnabled(false); }
  // The timer whose tick ends start-up.
  Timer& Clock() { return *clock_; }

 private:
  void End();
  // Readies the sounds and the music, once.
  void ReadySounds();

  GameSounds& sounds_;
  const GameIdentity& identity_;
  std::function<void()> ended_;
  bool sounds_ready_ = false;
  std::unique_ptr<Timer> clock_;
  std::unique_ptr<AfterFirstPaint> sounds_after_first_paint_;
};
