// Platform: the seams between the game and the desktop. Time, timers, message boxes,
// modal windows and the screen's metrics all go through one object handed to the windows at
// construction, so tests can drive a whole game with a fake clock and answered message boxes.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QWidget;
class QDialog;

// A window timer: ticks every Interval() ms while enabled, delivered on the UI thread.
// Changing the interval of a running timer restarts its count.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(int ms) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Milliseconds since an arbitrary start (wraps after 49 days like the desktop's tick count).
  virtual uint32_t TickCount() = 0;

  // A timer owned by the caller; onTick runs on the UI thread.
  virtual std::unique_ptr<Timer> CreateTimer(int interval_ms, bool enabled,
                                             std::function<void()> on_tick) = 0;

  // Modal information box with one OK button; returns when the player has dismissed it.
  virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text) = 0;

  // Modal error box (caption "Error") with one OK button; returns when dismissed.
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
  // Modal text query box with OK and Cancel: the caption, the prompt above one line of text that
  // holds `text`, all of it selected, and takes at most max_length characters. Returns the
  // confirmed line (line breaks pasted into it become blanks), or nothing when cancelled.
  virtual std::optional<QString> QueryText(QWidget* parent, const QString& caption,
                                           const QString& prompt, const QString& text,
                                           int max_length) = 0;

  // Shows a dialog modally and returns when it has closed.
  virtual void RunModal(QDialog* dialog) = 0;
  // Shows a dialog modal to its parent window and returns at once; its finished signal tells
  // when it has closed.
  virtual void OpenModal(QDialog* dialog) = 0;

  // The screen's current size in pixels and its logical resolution in pixels per inch.
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int LogicalDpi() = 0;
};

// The desktop implementation over Qt (QElapsedTimer, QTimer, QMessageBox, QScreen).
std::unique_ptr<Platform> CreateQtPlatform();
