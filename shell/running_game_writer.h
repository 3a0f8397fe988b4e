// Keeps the running game on disk at every step that changes it, without making the player wait
// for the disk: the user-interface thread hands the game over and goes on at once, and a thread
// of the writer's own writes it.
//
// Only the newest game matters. While one write is under way the games handed over meanwhile
// collapse into the last of them, so the file is never more than one write behind the game,
// however slow the disk.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "engine/game_state.h"
#include "shell/saved_games.h"

class QObject;

class RunningGameWriter {
 public:
  // Keeps the running game in the "CurrentGame" section of the saved-games file at file_path.
  explicit RunningGameWriter(std::string file_path);
  ~RunningGameWriter();  // writes the state still waiting, then stops its thread

  RunningGameWriter(const RunningGameWriter&) = delete;
  RunningGameWriter& operator=(const RunningGameWriter&) = delete;

  // Queues the running game as `state` holds it now and returns at once: a copy of the five
  // numbers is taken; a state still waiting to be written is replaced (only the newest matters).
  void Keep(const GameState& state);
  // Tells the writer the running game the file holds as this copy has just read it. A game
  // handed over later that still equals the last one this copy read or wrote is not written: the
  // file already holds it, unless another process has changed it since, and then that process's
  // game must not be overwritten by one this copy never changed. Call before the first Keep.
  void ReadFromFile(const GameState& state);
  // Waits until every state queued so far has been written or refused. True when the newest
  // one is in the file.
  bool Flush();
  // Keep and Flush in one, for a caller that tells the player itself when the game could not be
  // kept: a refusal of this write is not also reported to the failure handler.
  bool KeepNow(const GameState& state);
  // Called on the user-interface thread (posted there; never from inside Keep) when a write of
  // the file at file_path is refused after the last one succeeded (or after start): so a run of
  // failures is reported once; the next good write ends the run.
  void SetFailureHandler(std::function<void()> on_failure);

 private:
  void Queue(const GameState& state, bool caller_reports);
  void Run();

  const std::string file_path_;
  // Lives on the thread that made the writer; failure notices are posted to it, so they run on
  // that thread, and any still waiting when the writer goes are dropped with it.
  std::unique_ptr<QObject> notices_;
  std::function<void()> on_failure_;  // read and set on the user-interface thread only

  std::mutex mutex_;
  std::condition_variable wake_;      // a game is waiting, or the writer is stopping
  std::condition_variable finished_;  // a write has ended
  std::optional<SavedGame> waiting_;
  uint64_t queued_ = 0;              // games handed over so far
  uint64_t handled_ = 0;             // the number of the newest game written or refused
  uint64_t reported_by_caller_ = 0;  // games up to this number are KeepNow's to report
  bool last_written_ = true;
  bool stopping_ = false;

  // The running game as this copy last read it from the file or wrote it there; none while the
  // file may hold something this copy has not seen (nothing read, or a write refused).
  std::optional<SavedGame> in_file_;
  bool refusing_ = false;  // the writer thread's own: the last write was refused
  std::thread thread_;     // last, so that it starts with everything above in place
};
