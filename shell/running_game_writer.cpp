#include "shell/running_game_writer.h"

#include <QMetaObject>
#include <QObject>
#include <utility>

#include "platform/profile_file.h"

RunningGameWriter::RunningGameWriter(std::string file_path)
    : file_path_(std::move(file_path)),
      notices_(std::make_unique<QObject>()),
      thread_([this] { Run(); }) {}

RunningGameWriter::~RunningGameWriter() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
  // notices_ goes after this body, once the thread can post nothing more to it, and takes the
  // notices still waiting with it.
}

void RunningGameWriter::Keep(const GameState& state) {
  Queue(state, false);
}

void RunningGameWriter::Queue(const GameState& state, bool caller_reports) {
  SavedGame game = SavedGameOf(state, kRunningGameName);
  {
    const std::lock_guard lock(mutex_);
    waiting_ = std::move(game);
    ++queued_;
    if (caller_reports) reported_by_caller_ = queued_;
  }
  wake_.notify_one();
}

void RunningGameWriter::ReadFromFile(const GameState& state) {
  const std::lock_guard lock(mutex_);
  in_file_ = SavedGameOf(state, kRunningGameName);
}

namespace {
// The same game: the same numbers under the same name. The date only says when it was written.
bool SameGame(const SavedGame& a, const SavedGame& b) {
  return a.name == b.name && a.credits == b.credits && a.borrowed == b.borrowed &&
         a.spin_count == b.spin_count && a.total_bet == b.total_bet &&
         a.bonus_payoffs == b.bonus_payoffs && a.bonus_bet == b.bonus_bet &&
         a.bonus_prizes == b.bonus_prizes && a.bonus_picks == b.bonus_picks;
}
}  // namespace

bool RunningGameWriter::Flush() {
  std::unique_lock lock(mutex_);
  const uint64_t newest = queued_;
  finished_.wait(lock, [&] { return handled_ >= newest; });
  return last_written_;
}

bool RunningGameWriter::KeepNow(const GameState& state) {
  Queue(state, true);
  return Flush();
}

void RunningGameWriter::SetFailureHandler(std::function<void()> on_failure) {
  on_failure_ = std::move(on_failure);
}

void RunningGameWriter::Run() {
  const std::string section = SlotSectionName(kRunningGameSlot);
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return waiting_.has_value() || stopping_; });
    // A game still waiting is written even when the writer is stopping.
    if (!waiting_) return;
    const SavedGame game = std::move(*waiting_);
    waiting_.reset();
    const uint64_t number = queued_;
    const bool unchanged = in_file_ && SameGame(*in_file_, game);
    const bool caller_reports = number <= reported_by_caller_;
    lock.unlock();

    const bool written =
        unchanged || WriteProfileSection(file_path_, section, RunningGameEntries(game));
    // Posted before the write counts as ended, so a Flush that returns false finds the notice
    // already on its way.
    if (!written && !refusing_ && !caller_reports) {
      QMetaObject::invokeMethod(
          notices_.get(),
          [this] {
            if (on_failure_) on_failure_();
          },
          Qt::QueuedConnection);
    }
    refusing_ = !written;

    lock.lock();
    if (written) {
      in_file_ = game;
    } else {
      in_file_.reset();
    }
    handled_ = number;
    last_written_ = written;
    finished_.notify_all();
  }
}
