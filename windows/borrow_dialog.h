// The borrow dialog: the player borrows credits or pays them back in chips of $1,000, $100,
// $10 and $1, watching the borrowed total (green digits) and the credits (red digits) change.
// Every chip takes effect at once; closing the dialog in any way keeps what was done.
#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QImage>
#include <array>
#include <vector>

#include "engine/slot_machine.h"
#include "platform/canvas.h"
#include "shell/help_topics.h"

struct GameIdentity;
struct MainArt;
class Platform;
class QPushButton;
class QRadioButton;

// A button that is its picture: a chip lying on the dialog, pressed in when clicked. On a screen
// whose device pixel ratio is above 1 it shows the smallest of its masters at least as large as
// its screen pixels, reduced once to exactly that size, so the chip stays sharp.
class ChipButton : public QAbstractButton {
 public:
  // masters: the picture at its shown size first, then any larger masters of it, smallest first
  // (the 2x and 4x pictures; either may be missing).
  ChipButton(std::vector<QImage> masters, QWidget* parent);
  QSize sizeHint() const override;

  // The picture the button paints on a screen of the given device pixel ratio: at 1 (or below)
  // the picture at its shown size itself, above 1 that size times the ratio in pixels, with the
  // ratio as its devicePixelRatio.
  QImage PictureFor(double device_pixel_ratio) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  std::vector<QImage> masters_;
  double ratio_ = 0;  // the device pixel ratio picture_ and lit_ were made for
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
  // The game whose credits and loan the meters show.
  const GameState& State() const { return state_; }

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

  const GameState& state_;
  SlotMachine machine_;  // where a loan or a repayment is made
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
