#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <algorithm>

namespace {

struct TimerState {
  int interval = 0;
  bool enabled = false;
  int64_t due = 0;       // virtual time of the next tick while enabled
  uint64_t order = 0;    // creation order, breaks ties between timers due together
  bool running = false;  // its handler is on the stack: it does not fire again until it returns
  std::function<void()> on_tick;
};

void PumpQtEvents() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

}  // namespace

// The clock runs on 64 bits inside so that ordering never wraps; TickCount() wraps like the
// desktop's.
struct FakePlatform::Core {
  int64_t now = 1000;
  uint64_t next_order = 0;
  std::vector<std::shared_ptr<TimerState>> timers;

  std::shared_ptr<TimerState> NextDue(int64_t limit) const {
    std::shared_ptr<TimerState> best;
    for (const auto& t : timers) {
      if (!t->enabled || t->interval <= 0 || t->running || t->due > limit) continue;
      if (!best || t->due < best->due || (t->due == best->due && t->order < best->order)) {
        best = t;
      }
    }
    return best;
  }

  // Runs virtual time up to target. Handlers may wait themselves (nested calls move the clock
  // further); the state is consistent before each handler is called, and the clock never goes
  // back.
  void AdvanceTo(int64_t target, const std::function<bool()>& done = nullptr) {
    if (done && done()) return;
    while (std::shared_ptr<TimerState> timer = NextDue(target)) {
      now = std::max(now, timer->due);
      // Keep the timer's phase; ticks missed while it was busy are dropped, not replayed.
      timer->due += timer->interval;
      if (timer->due <= now) timer->due = now + timer->interval;
      PumpQtEvents();
      const std::function<void()> tick = timer->on_tick;  // the handler may destroy the timer
      timer->running = true;
      if (tick) tick();
      timer->running = false;
      if (done && done()) {
        PumpQtEvents();
        return;
      }
    }
    now = std::max(now, target);
    PumpQtEvents();
  }
};

namespace {

class FakeTimer : public Timer {
 public:
  FakeTimer(std::shared_ptr<FakePlatform::Core> core, std::shared_ptr<TimerState> state)
      : core_(std::move(core)), state_(std::move(state)) {}

  ~FakeTimer() override {
    state_->enabled = false;
    auto& timers = core_->timers;
    timers.erase(std::remove(timers.begin(), timers.end(), state_), timers.end());
  }

  // Like the desktop's timers: a changed interval restarts the count, the same one changes
  // nothing.
  void SetInterval(int ms) override {
    if (ms == state_->interval) return;
    state_->interval = ms;
    state_->due = core_->now + ms;
  }
  int Interval() const override { return state_->interval; }

  void SetEnabled(bool enabled) override {
    if (enabled == state_->enabled) return;
    state_->enabled = enabled;
    state_->due = core_->now + state_->interval;
  }
  bool Enabled() const override { return state_->enabled; }

 private:
  std::shared_ptr<FakePlatform::Core> core_;
  std::shared_ptr<TimerState> state_;
};

}  // namespace

FakePlatform::FakePlatform() : core_(std::make_shared<Core>()) {}
FakePlatform::~FakePlatform() = default;

uint32_t FakePlatform::Now() const {
  return static_cast<uint32_t>(core_->now);
}

void FakePlatform::Advance(uint32_t ms) {
  core_->AdvanceTo(core_->now + ms);
}

bool FakePlatform::RunUntil(const std::function<bool()>& done, uint32_t limit_ms) {
  core_->AdvanceTo(core_->now + limit_ms, done);
  return done();
}

void FakePlatform::ProcessMessages() {
  core_->AdvanceTo(core_->now);
}

std::unique_ptr<Timer> FakePlatform::CreateTimer(int interval_ms, bool enabled,
                                                 std::function<void()> on_tick) {
  auto state = std::make_shared<TimerState>();
  state->interval = interval_ms;
  state->enabled = enabled;
  state->due = core_->now + interval_ms;
  state->order = core_->next_order++;
  state->on_tick = std::move(on_tick);
  core_->timers.push_back(state);
  return std::make_unique<FakeTimer>(core_, state);
}

void FakePlatform::ShowMessage(QWidget*, const QString& caption, const QString& text) {
  messages.push_back({caption, text});
  if (on_message) on_message(caption, text);
}

std::optional<QString> FakePlatform::QueryText(QWidget*, const QString& caption,
                                               const QString& prompt, const QString& text,
                                               int max_length) {
  queries.push_back({caption, prompt, text, max_length});
  if (!on_query) return std::nullopt;
  std::optional<QString> answer = on_query(text);
  if (answer) *answer = answer->left(max_length);
  return answer;
}

void FakePlatform::ShowError(QWidget*, const QString& text) {
  messages.push_back({QStringLiteral("Error"), text, true});
  if (on_message) on_message(QStringLiteral("Error"), text);
}

void FakePlatform::RunModal(QDialog* dialog) {
  if (dialog == nullptr) return;
  OpenModal(dialog);
  constexpr uint32_t kStep = 10;
  constexpr uint32_t kCap = 10 * 60 * 1000;
  uint32_t waited = 0;
  while (dialog->isVisible() && waited < kCap) {
    Advance(kStep);
    waited += kStep;
  }
  if (dialog->isVisible()) {
    ADD_FAILURE() << "Modal dialog \"" << dialog->windowTitle().toStdString()
                  << "\" still open after 10 minutes of virtual time; closing it";
    dialog->reject();
  }
}

void FakePlatform::OpenModal(QDialog* dialog) {
  if (dialog == nullptr) return;
  // Modal as the desktop shows it: the windows behind it are blocked until it closes.
  dialog->setAttribute(Qt::WA_ShowModal, true);
  dialog->show();
  PumpQtEvents();
  if (on_modal) on_modal(dialog);
}

int FakePlatform::ActiveTimerCount() const {
  return static_cast<int>(
      std::count_if(core_->timers.begin(), core_->timers.end(),
                    [](const auto& t) { return t->enabled && t->interval > 0; }));
}
