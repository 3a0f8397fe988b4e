#include "platform/accessible_part.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <QWindow>
#include <utility>

AccessiblePart::AccessiblePart(QAccessibleInterface* parent, QWidget* window, Look look)
    : parent_(parent), window_(window), look_(std::move(look)) {}

AccessiblePart::~AccessiblePart() {
  for (QAccessible::Id id : child_ids_) QAccessible::deleteAccessibleInterface(id);
}

void AccessiblePart::AddChild(AccessiblePart* child) {
  children_.push_back(child);
  child_ids_.push_back(QAccessible::registerAccessibleInterface(child));
}

bool AccessiblePart::isValid() const {
  return !window_.isNull();
}

QWindow* AccessiblePart::window() const {
  return window_ ? window_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* AccessiblePart::childAt(int x, int y) const {
  for (AccessiblePart* child : children_) {
    if (child->rect().contains(x, y)) return child;
  }
  return nullptr;
}

QAccessibleInterface* AccessiblePart::child(int index) const {
  return index >= 0 && index < childCount() ? children_[index] : nullptr;
}

int AccessiblePart::indexOfChild(const QAccessibleInterface* child) const {
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i] == child) return static_cast<int>(i);
  }
  return -1;
}

QString AccessiblePart::text(QAccessible::Text t) const {
  if (!window_) return {};
  switch (t) {
    case QAccessible::Name:
      return look_.name ? look_.name() : QString();
    case QAccessible::Value:
      return Text();
    default:
      return {};
  }
}

QRect AccessiblePart::rect() const {
  if (!window_ || !look_.place) return {};
  const QRect local = look_.place();
  return QRect(window_->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State AccessiblePart::state() const {
  QAccessible::State s;
  if (!window_) {
    s.invalid = true;
    return s;
  }
  s.invisible = !window_->isVisible();
  if (look_.press) {
    s.disabled = look_.enabled && !look_.enabled();
    s.focusable = false;
  }
  if (look_.checked) {
    s.checkable = true;
    s.checked = look_.checked();
  }
  s.readOnly = look_.text != nullptr;
  return s;
}

void* AccessiblePart::interface_cast(QAccessible::InterfaceType type) {
  switch (type) {
    case QAccessible::ActionInterface:
      return look_.press ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    case QAccessible::TextInterface:
      return look_.text ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
    case QAccessible::TableCellInterface:
      return column_ >= 0 ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    default:
      return nullptr;
  }
}

QStringList AccessiblePart::actionNames() const {
  if (!look_.press) return {};
  return {pressAction()};
}

void AccessiblePart::doAction(const QString& action_name) {
  // What a click does, under the same rules: a part shown unavailable ignores it as a click would.
  if (!window_ || !look_.press || !actionNames().contains(action_name)) return;
  if (look_.enabled && !look_.enabled()) return;
  RunSoon(window_, look_.press);
}

QString AccessiblePart::text(int start, int end) const {
  const QString all = Text();
  if (end < 0 || end > all.size()) end = static_cast<int>(all.size());
  start = std::max(0, start);
  return start < end ? all.mid(start, end - start) : QString();
}

int AccessiblePart::characterCount() const {
  return static_cast<int>(Text().size());
}

QString AccessiblePart::attributes(int offset, int* start, int* end) const {
  *start = offset;
  *end = offset;
  return {};
}

void* AccessibleTable::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
  return AccessiblePart::interface_cast(type);
}

QAccessibleInterface* AccessibleTable::cellAt(int row, int column) const {
  if (row < 0 || row >= rows_ || column < 0 || column >= columns_) return nullptr;
  return child(row * columns_ + column);
}

QString AccessibleTable::columnDescription(int column) const {
  return QStringLiteral("Reel %1").arg(column + 1);
}

QString AccessibleTable::rowDescription(int row) const {
  return QStringLiteral("Row %1").arg(row + 1);
}

DrawnWindowAccessible::DrawnWindowAccessible(QWidget* window, QAccessible::Role role,
                                             const QString& name)
    : QAccessibleWidget(window, role, name) {}

DrawnWindowAccessible::~DrawnWindowAccessible() {
  for (QAccessible::Id id : part_ids_) QAccessible::deleteAccessibleInterface(id);
}

AccessiblePart* DrawnWindowAccessible::Add(AccessiblePart::Look look) {
  auto* part = new AccessiblePart(this, widget(), std::move(look));
  parts_.push_back(part);
  part_ids_.push_back(QAccessible::registerAccessibleInterface(part));
  return part;
}

AccessibleTable* DrawnWindowAccessible::AddTable(AccessiblePart::Look look, int columns, int rows) {
  auto* table = new AccessibleTable(this, widget(), std::move(look), columns, rows);
  parts_.push_back(table);
  part_ids_.push_back(QAccessible::registerAccessibleInterface(table));
  return table;
}

int DrawnWindowAccessible::childCount() const {
  return QAccessibleWidget::childCount() + static_cast<int>(parts_.size());
}

QAccessibleInterface* DrawnWindowAccessible::child(int index) const {
  const int widgets = QAccessibleWidget::childCount();
  if (index < widgets) return QAccessibleWidget::child(index);
  index -= widgets;
  return index < static_cast<int>(parts_.size()) ? parts_[index] : nullptr;
}

int DrawnWindowAccessible::indexOfChild(const QAccessibleInterface* child) const {
  for (size_t i = 0; i < parts_.size(); ++i) {
    if (parts_[i] == child) return QAccessibleWidget::childCount() + static_cast<int>(i);
  }
  return QAccessibleWidget::indexOfChild(child);
}

QAccessibleInterface* DrawnWindowAccessible::childAt(int x, int y) const {
  if (QAccessibleInterface* widget = QAccessibleWidget::childAt(x, y)) return widget;
  for (AccessiblePart* part : parts_) {
    if (part->rect().contains(x, y)) return part;
  }
  return nullptr;
}

PaintedChangeTeller::PaintedChangeTeller(QWidget* window, int quiet_ms, std::function<void()> tell)
    : QObject(window), tell_(std::move(tell)) {
  timer_.setSingleShot(true);
  timer_.setInterval(quiet_ms);
  connect(&timer_, &QTimer::timeout, this, [this] { tell_(); });
  window->installEventFilter(this);
}

bool PaintedChangeTeller::eventFilter(QObject* watched, QEvent* event) {
  // At most one telling per quiet_ms while the window paints; none while it paints nothing.
  if (event->type() == QEvent::Paint && !timer_.isActive()) timer_.start();
  return QObject::eventFilter(watched, event);
}

void ForgetInterfaceMadeWhileBuilt(QObject* window) {
  if (!QAccessible::isActive()) return;
  if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(window)) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
  }
}

void TellNameChanged(AccessiblePart* part) {
  QAccessibleEvent name(part, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  if (part->Looks().text) {
    QAccessibleTextUpdateEvent text(part, 0, QString(), part->text(0, -1));
    QAccessible::updateAccessibility(&text);
  }
}

void TellCheckedChanged(AccessiblePart* part) {
  QAccessible::State changed;
  changed.checked = true;
  QAccessibleStateChangeEvent event(part, changed);
  QAccessible::updateAccessibility(&event);
}

void TellEnabledChanged(AccessiblePart* part) {
  QAccessible::State changed;
  changed.disabled = true;
  QAccessibleStateChangeEvent event(part, changed);
  QAccessible::updateAccessibility(&event);
}

void RunSoon(QObject* receiver, std::function<void()> f) {
  QMetaObject::invokeMethod(receiver, std::move(f), Qt::QueuedConnection);
}

std::function<void()> AnsweringAtOnce(QObject* receiver, std::function<void()> f) {
  return [receiver, f = std::move(f)] {
    if (QAccessible::isActive()) {
      RunSoon(receiver, f);
    } else {
      f();
    }
  };
}
