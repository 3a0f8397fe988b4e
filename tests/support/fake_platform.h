// FakePlatform: the game's platform seams driven by a virtual clock, for tests.
//
// Time stands still until a test moves it (or a modal window shown meanwhile does). Timers
// fire at the virtual instants they are due, earliest first and, at equal instants, in the order
// they were created; each handler sees the clock set to its own due time. Qt's posted events
// (widget updates, deferred deletes) are processed at every step, so windows repaint as they
// would in the real program. Message boxes are recorded instead of shown, and modal dialogs are
// shown without blocking while virtual time runs until they close.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/platform.h"

class FakePlatform : public Platform {
 public:
  struct Message {
    QString caption;
    QString text;
    bool error = false;  // an error box rather than an information box
  };

  FakePlatform();
  ~FakePlatform() override;

  // The virtual clock, in ms; starts at 1000.
  uint32_t Now() const;
  // Moves the clock forward by ms, firing every timer that falls due on the way.
  void Advance(uint32_t ms);

  // Fires the timers in the order they fall due until done() holds after one of them, at most
  // limit_ms ahead; the clock stays at the instant of the timer that did it. Returns done().
  bool RunUntil(const std::function<bool()>& done, uint32_t limit_ms = 10 * 60 * 1000);

  uint32_t TickCount() override { return Now(); }
  // Fires the timers already due at Now() and processes Qt's pending events.
  void ProcessMessages();
  std::unique_ptr<Timer> CreateTimer(int interval_ms, bool enabled,
                                     std::function<void()> on_tick) override;
  // Records {caption, text} in messages, then calls on_message if set.
  void ShowMessage(QWidget* parent, const QString& caption, const QString& text) override;
  // Records the query in queries, then answers it with on_query (cancelled when on_query is not
  // set). Like the real box, the answer is cut to max_length characters.
  std::optional<QString> QueryText(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& text, int max_length) override;
  // Records {"Error", text, error} in messages, then calls on_message if set.
  void ShowError(QWidget* parent, const QString& text) override;
  // Shows the dialog modally without blocking and calls OnModal if set; then, while it is still
  // visible, advances the clock in steps of 10 ms (at most 10 virtual minutes, after which the
  // test fails and the dialog is closed).
  void RunModal(QDialog* dialog) override;
  // Shows the dialog modally and calls on_modal if set, then returns: the test's clock runs it.
  void OpenModal(QDialog* dialog) override;
  int ScreenWidth() override { return width; }
  int ScreenHeight() override { return height; }
  int LogicalDpi() override { return dpi; }

  // Number of timers that exist and are enabled with a positive interval.
  int ActiveTimerCount() const;

  int width = 800;
  int height = 600;
  int dpi = 96;
  std::vector<Message> messages;
  std::function<void(const QString& caption, const QString& text)> on_message;
  std::function<void(QDialog*)> on_modal;
  struct Query {
    QString caption;
    QString prompt;
    QString text;
    int max_length = 0;
  };
  std::vector<Query> queries;
  // Gets the query's text; returns the confirmed answer, or nothing to cancel.
  std::function<std::optional<QString>(const QString& text)> on_query;

  struct Core;  // shared with the timers it made, which may outlive the platform

 private:
  std::shared_ptr<Core> core_;
};
