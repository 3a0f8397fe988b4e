// AfterFirstPaint: holds a call until a window of the program is on the screen and drawn, for
// what should neither delay the first picture nor come up over a window not yet drawn.
#pragma once

#include <QObject>
#include <functional>

class AfterFirstPaint : public QObject {
 public:
  // The first exposure of a window queues the call, and the exposure's paint runs before
  // anything queued. Where a window is on the screen already, or there is no window system, the
  // call is only queued. Destroying the object first drops the call.
  explicit AfterFirstPaint(std::function<void()> call);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Queue();

  std::function<void()> call_;
};
