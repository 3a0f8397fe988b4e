#include "platform/help_viewer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include "platform/help_window.h"

namespace {

constexpr char kHelpContextProperty[] = "zelmarHelpContext";

class HelpWindowViewer : public HelpViewer {
 public:
  ~HelpWindowViewer() override { delete window_; }

  void SetHelpFile(const QString& path) override {
    path_ = path;
    if (window_) window_->Open(path_);
  }

  void ShowContext(int context) override { Present()->ShowContext(context); }
  void ShowContents() override { Present()->ShowContents(); }

  void Close() override {
    if (window_) window_->close();
  }

 private:
  // A modal window (a dialog the player is answering) blocks every window that is not its own,
  // so while one is open the help window belongs to it; otherwise it stands on its own and never
  // blocks the game.
  HelpWindow* Present() {
    QWidget* owner = QApplication::activeModalWidget();
    if (!window_) {
      window_ = new HelpWindow(owner);
    } else if (window_->parentWidget() != owner) {
      const QRect geometry = window_->geometry();
      const bool was_visible = window_->isVisible();
      window_->setParent(owner, Qt::Window);
      if (was_visible) window_->setGeometry(geometry);
    }
    window_->Open(path_);
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_;
  }

  QString path_;
  // The window may go with a dialog that owned it; QPointer notices and a new one is made.
  QPointer<HelpWindow> window_;
};

}  // namespace

std::unique_ptr<HelpViewer> CreateHelpWindowViewer() {
  return std::make_unique<HelpWindowViewer>();
}

void SetHelpContext(QWidget* widget, int context) {
  if (widget) widget->setProperty(kHelpContextProperty, context);
}

int HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    const int context = w->property(kHelpContextProperty).toInt();
    if (context != 0) return context;
    if (w->isWindow()) break;
  }
  return 0;
}

HelpKey::HelpKey(HelpViewer& viewer) : viewer_(viewer) {
  qApp->installEventFilter(this);
}

HelpKey::~HelpKey() {
  if (qApp) qApp->removeEventFilter(this);
}

bool HelpKey::eventFilter(QObject* watched, QEvent* event) {
  // Key presses reach the platform window first and the focused widget after; only the widget
  // knows its topic.
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  if (key->isAutoRepeat()) return true;
  const int context = HelpContextOf(static_cast<QWidget*>(watched));
  if (context != 0) {
    viewer_.ShowContext(context);
  } else {
    viewer_.ShowContents();
  }
  return true;
}
