#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "platform/platform.h"

namespace {

// A window timer over QTimer. Like the desktop's window timers, an interval of 0 or less keeps
// the timer silent (it would otherwise fire whenever the event loop is idle), and setting the
// interval it already has changes nothing.
class QtTimer : public Timer {
 public:
  QtTimer(int interval_ms, bool enabled, std::function<void()> on_tick)
      : timer_(new QTimer),
        interval_(interval_ms),
        enabled_(enabled),
        on_tick_(std::move(on_tick)) {
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this, firing = firing_] {
      // The handler may destroy this timer (a window closing from its own tick): run a copy
      // of it and touch nothing of this object afterwards.
      std::function<void()> tick = on_tick_;
      *firing = true;
      if (tick) tick();
      *firing = false;
    });
    Update();
  }

  ~QtTimer() override {
    if (*firing_) {
      // Destroyed from inside its own tick: the QTimer is still delivering, let Qt drop it.
      timer_->stop();
      timer_->disconnect();
      timer_->deleteLater();
    } else {
      delete timer_;
    }
  }

  void SetInterval(int ms) override {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
  }
  int Interval() const override { return interval_; }

  void SetEnabled(bool enabled) override {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Update();
  }
  bool Enabled() const override { return enabled_; }

 private:
  // Starting a running QTimer restarts its count, which is what a changed interval asks for.
  void Update() {
    if (enabled_ && interval_ > 0) {
      timer_->start(interval_);
    } else {
      timer_->stop();
    }
  }

  QTimer* timer_;
  std::shared_ptr<bool> firing_ = std::make_shared<bool>(false);
  int interval_;
  bool enabled_;
  std::function<void()> on_tick_;
};

// Wide enough for a long name even when the prompt is empty.
constexpr int kQueryBoxMinWidth = 360;

class QtPlatform : public Platform {
 public:
  QtPlatform() { clock_.start(); }

  uint32_t TickCount() override {
    // Offset so the count starts well away from 0, then wraps modulo 2^32 like the desktop's.
    return static_cast<uint32_t>(static_cast<uint64_t>(clock_.elapsed()) + kStart);
  }

  std::unique_ptr<Timer> CreateTimer(int interval_ms, bool enabled,
                                     std::function<void()> on_tick) override {
    return std::make_unique<QtTimer>(interval_ms, enabled, std::move(on_tick));
  }

  void ShowMessage(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.exec();
  }

  std::optional<QString> QueryText(QWidget* parent, const QString& caption, const QString& prompt,
                                   const QString& text, int max_length) override {
    QInputDialog box(parent);
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(text);
    box.setMinimumWidth(kQueryBoxMinWidth);
    if (auto* line = box.findChild<QLineEdit*>()) {
      line->setMaxLength(max_length);
      line->selectAll();
    }
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    QString answer = box.textValue().left(max_length);
    answer.replace('\r', ' ').replace('\n', ' ');
    return answer;
  }

  void ShowError(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    box.exec();
  }

  void RunModal(QDialog* dialog) override {
    if (dialog != nullptr) dialog->exec();
  }

  void OpenModal(QDialog* dialog) override {
    if (dialog != nullptr) dialog->open();
  }

  int ScreenWidth() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 800;
  }
  int ScreenHeight() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().height() : 600;
  }
  int LogicalDpi() override {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? static_cast<int>(std::lround(screen->logicalDotsPerInch())) : 96;
  }

 private:
  static constexpr uint64_t kStart = 1000;
  QElapsedTimer clock_;
};

}  // namespace

std::unique_ptr<Platform> CreateQtPlatform() {
  return std::make_unique<QtPlatform>();
}
