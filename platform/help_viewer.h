// The help viewer seam: the game asks for a help topic by context number, or for the contents of
// its help file, and never waits for the player to finish reading. Widgets carry their help
// context as a property, and the F1 key opens the topic of the nearest widget that has one.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QWidget;

class HelpViewer {
 public:
  virtual ~HelpViewer() = default;

  // The help file every later request reads; set once the program knows where it lives.
  virtual void SetHelpFile(const QString& path) = 0;
  // Shows the topic with this context number (the contents when the file has no such topic).
  virtual void ShowContext(int context) = 0;
  // Shows the help file's contents page.
  virtual void ShowContents() = 0;
  // Closes the help window if it is open (the game is ending).
  virtual void Close() = 0;
};

// The desktop viewer: one help window at a time, created on first use and reused after that.
std::unique_ptr<HelpViewer> CreateHelpWindowViewer();

// Gives a widget its help context (0 takes it away).
void SetHelpContext(QWidget* widget, int context);

// The help context of the widget or of its nearest parent within the same window that has a
// nonzero one; 0 when none of them has one.
int HelpContextOf(const QWidget* widget);

// While it lives, F1 in any window of the program opens the help topic of the focused widget
// (HelpContextOf), or the contents where no widget up to its window has a topic of its own.
class HelpKey : public QObject {
 public:
  explicit HelpKey(HelpViewer& viewer);
  ~HelpKey() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  HelpViewer& viewer_;
};
