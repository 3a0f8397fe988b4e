// Accessible parts: what a window draws itself (keys, meters, cells) as objects of the desktop's
// accessibility tree, so that a screen reader, a magnifier or a switch finds, reads and presses
// them like widgets. Each part asks its window what it is now (its name, text, place, state), so
// it never holds a stale copy; a part's press is queued on the window's event loop, so that the
// caller's answer goes back at once even when the press opens a modal window.
//
// Nothing here exists until an assistive technology asks for the window's interface (Qt creates
// interfaces on demand through the factory that the window installs); without one, the game pays
// nothing for it.
#pragma once

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

// One drawn part: a button, a text, a link, a cell. Its look is read through the functions given.
class AccessiblePart : public QAccessibleInterface,
                       public QAccessibleActionInterface,
                       public QAccessibleTextInterface,
                       public QAccessibleTableCellInterface {
 public:
  struct Look {
    Look(QAccessible::Role part_role, std::function<QString()> part_name,
         std::function<QString()> part_text, std::function<QRect()> part_place,
         std::function<bool()> part_enabled = nullptr, std::function<bool()> part_checked = nullptr,
         std::function<void()> part_press = nullptr)
        : role(part_role),
          name(std::move(part_name)),
          text(std::move(part_text)),
          place(std::move(part_place)),
          enabled(std::move(part_enabled)),
          checked(std::move(part_checked)),
          press(std::move(part_press)) {}

    QAccessible::Role role;
    std::function<QString()> name;
    // The text a reader reads from the part (a meter's value); none: the part has no text.
    std::function<QString()> text;
    // Where the part is drawn, in the window's own coordinates.
    std::function<QRect()> place;
    // Whether the part can be pressed now, and whether it is shown lit (checked).
    std::function<bool()> enabled;
    std::function<bool()> checked;
    // What a press does; none: the part cannot be pressed.
    std::function<void()> press;
  };

  // A part of parent, shown on window; the parent owns it.
  AccessiblePart(QAccessibleInterface* parent, QWidget* window, Look look);

  // A cell of a table: its column and row.
  void SetCell(int column, int row) {
    column_ = column;
    row_ = row;
  }
  // The parts inside this one (a table's cells), owned by it.
  void AddChild(AccessiblePart* child);
  const std::vector<AccessiblePart*>& Children() const { return children_; }
  const Look& Looks() const { return look_; }

  // QAccessibleInterface.
  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* childAt(int x, int y) const override;
  QAccessibleInterface* parent() const override { return parent_; }
  QAccessibleInterface* child(int index) const override;
  int childCount() const override { return static_cast<int>(children_.size()); }
  int indexOfChild(const QAccessibleInterface* child) const override;
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return look_.role; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;

  // QAccessibleActionInterface.
  QStringList actionNames() const override;
  void doAction(const QString& action_name) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  // QAccessibleTextInterface: the part's text, read only.
  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override;
  int characterCount() const override;
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override;

  // QAccessibleTableCellInterface.
  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent_; }

 protected:
  ~AccessiblePart() override;

 private:
  QString Text() const { return look_.text ? look_.text() : QString(); }

  QAccessibleInterface* parent_;
  QPointer<QWidget> window_;
  Look look_;
  std::vector<AccessiblePart*> children_;
  // Their ids in the desktop's cache, which owns them: at the program's end the cache may have
  // deleted them first.
  std::vector<QAccessible::Id> child_ids_;
  int column_ = -1;
  int row_ = -1;
};

// A table of parts (cells) read row by row: columns x rows children, made by the owner.
class AccessibleTable : public AccessiblePart, public QAccessibleTableInterface {
 public:
  AccessibleTable(QAccessibleInterface* parent, QWidget* window, Look look, int columns, int rows)
      : AccessiblePart(parent, window, std::move(look)), columns_(columns), rows_(rows) {}

  void* interface_cast(QAccessible::InterfaceType type) override;

  // QAccessibleTableInterface.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  int columnCount() const override { return columns_; }
  int rowCount() const override { return rows_; }
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface*> selectedCells() const override { return {}; }
  QAccessibleInterface* cellAt(int row, int column) const override;
  QString columnDescription(int column) const override;
  QString rowDescription(int row) const override;
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  int columns_;
  int rows_;
};

// The interface of a window that draws its parts itself: the window with its own widgets and then
// the parts as its children, in the order given. The parts belong to it and go with it.
class DrawnWindowAccessible : public QAccessibleWidget {
 public:
  DrawnWindowAccessible(QWidget* window, QAccessible::Role role, const QString& name = {});
  ~DrawnWindowAccessible() override;

  AccessiblePart* Add(AccessiblePart::Look look);
  AccessibleTable* AddTable(AccessiblePart::Look look, int columns, int rows);

  QAccessibleInterface* child(int index) const override;
  int childCount() const override;
  int indexOfChild(const QAccessibleInterface* child) const override;
  QAccessibleInterface* childAt(int x, int y) const override;

 private:
  std::vector<AccessiblePart*> parts_;
  std::vector<QAccessible::Id> part_ids_;  // as the children's of a part
};

// Tells the desktop what changed on a window that draws itself, at a pace a reader can speak:
// quiet_ms after a paint of the window (once for all the paints meanwhile), `tell` runs and
// reports what differs from what it told before; the teller decides what is worth telling (a
// meter once it has stopped counting, the reels once they have come to rest). A window that
// paints nothing costs nothing. It lives as a child of the window.
class PaintedChangeTeller : public QObject {
 public:
  PaintedChangeTeller(QWidget* window, int quiet_ms, std::function<void()> tell);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QTimer timer_;
  std::function<void()> tell_;
};

// Drops the interface Qt may have made for window while it was being built (its child widgets
// announce themselves as they are made, and the window is then only a plain base class to Qt's
// type system): the next question finds the window's own interface. Nothing when no assistive
// technology listens.
void ForgetInterfaceMadeWhileBuilt(QObject* window);

// Reports that part's name (and its text, when it has one) changed.
void TellNameChanged(AccessiblePart* part);
// Reports that part's lit (checked) or available state changed.
void TellCheckedChanged(AccessiblePart* part);
void TellEnabledChanged(AccessiblePart* part);
// Queues f on receiver's event loop: an action answers before what it starts (a modal window)
// has run.
void RunSoon(QObject* receiver, std::function<void()> f);
// f as a command of receiver's that may open a modal window: an assistive technology presses a
// button or a menu item through a call that waits for its answer, and a modal window would hold
// that answer until it closes (a screen reader takes that for a hung program). While one
// listens, f runs from the event loop just after the press has answered; otherwise at once, as
// it always has (the player sees no difference either way).
std::function<void()> AnsweringAtOnce(QObject* receiver, std::function<void()> f);
