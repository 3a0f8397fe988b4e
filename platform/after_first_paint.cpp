#include "platform/after_first_paint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QWindow>
#include <utility>

AfterFirstPaint::AfterFirstPaint(std::function<void()> call) : call_(std::move(call)) {
  bool drawn = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr;
  if (!drawn) {
    for (const QWindow* window : QGuiApplication::topLevelWindows()) {
      drawn = drawn || window->isExposed();
    }
  }
  if (drawn) {
    Queue();
  } else {
    QCoreApplication::instance()->installEventFilter(this);
  }
}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Expose && watched->isWindowType() &&
      static_cast<QWindow*>(watched)->isExposed()) {
    QCoreApplication::instance()->removeEventFilter(this);
    Queue();
  }
  return false;
}

void AfterFirstPaint::Queue() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (const std::function<void()> call = std::exchange(call_, nullptr)) call();
      },
      Qt::QueuedConnection);
}
