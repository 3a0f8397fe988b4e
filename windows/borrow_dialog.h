// The borrow dialog: the player borrows credits or pays them back in chips of $1,000, $100,
// $10 and $1, watching the borrowed total (green digits) and the credits (red digits) change.
// Every chip takes effect at once; closing the dialog in any way keeps what was done.
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QImage>
#include <array>

#include "platform/canvas.h"
#include "shell/help_topics.h"

struct GameIdentity;
struct GameState;
struct MainArt;
class Platform;
class QPushButton;
class QRadioButton;

// A button that is its picture: a chip lying on the dialog, pressed in when clicked.
class ChipButton : public QAbstractButton {
 public:
  ChipButton(const QImage& picture, QWidget* parent);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage picture_;
  QImage lit_;  // the picture a touch brighter, while the mouse is over it
  bool hovered_ = false;
};

class BorrowDialog : public QDialog {
 public:
  static constexpr int kClientWidth = 582;
  static constexpr int kClientHeight = 300;
  static constexpr int kHelpContext = kMainWindowHelp;
  static constexpr int kControlHelpContext = kBorrowButtonsHelp;

  // Reads and changes state.Credits and state.Borrowed; draws the meters with art's digit
  // strips; captions its messages with the game's title. All must outlive the dialog.
  BorrowDialog(GameState& state, const GameIdentity& identity, const MainArt& art,
               Platform& platform, QWidget* parent = nullptr);

  // Chip i, largest amount first (kChipAmounts).
  QAbstractButton* Chip(int i) { return chips_[i]; }
  QRadioButton* BorrowMode() { return borrow_mode_; }
  QRadioButton* PayBackMode() { return pay_back_mode_; }
  QPushButton* OkButton() { return ok_button_; }
  QPushButton* HelpButton() { return help_button_; }
  const Canvas& Surface() const { return surface_; }

  // Borrows or pays back the amount of chip i in the chosen mode; a refusal is explained in a
  // message box and changes nothing.
  void TakeChip(int i);
  // The help message.
  void ShowHelp();
  // Redraws the labels and both meters onto the dialog's surface.
  void PaintAll();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Message(const QString& text);

  GameState& state_;
  const GameIdentity& identity_;
  const MainArt& art_;
  Platform& platform_;
  Canvas surface_;
  std::array<QAbstractButton*, 4> chips_{};
  QRadioButton* borrow_mode_ = nullptr;
  QRadioButton* pay_back_mode_ = nullptr;
  QPushButton* ok_button_ = nullptr;
  QPushButton* help_button_ = nullptr;
};
