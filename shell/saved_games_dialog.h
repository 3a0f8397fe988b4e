// The slot dialog of the Save Game and Open Game commands: eight panels, one per saved game,
// each with its name, date, credits, borrowed credits, the game's title and a button that saves
// the running game into that slot or opens the game saved there.
//
// The listing reads the slots into the panels only; the running game's variables change only
// when a slot is opened, so a cancelled or failed dialog leaves them exactly as they were.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "shell/identity.h"
#include "shell/saved_games.h"

class Platform;
class QLabel;
class QLineEdit;
class QPushButton;

enum class SlotDialogMode { kOpen, kSave };

// The name query takes at most this many characters.
inline constexpr int kSaveNameMaxLength = 255;

class SavedGamesDialog : public QDialog {
 public:
  // Fills the eight panels from the file. The caller has written the running game first (see
  // RunSavedGamesDialog). show_help opens a help topic; without it the Help button is hidden.
  SavedGamesDialog(SavedGames& saves, Platform& platform, const GameIdentity& identity,
                   SlotDialogMode mode, std::function<void(int context)> show_help = {},
                   QWidget* parent = nullptr);

  // A slot button (slot 1..8): in save mode asks for the name and saves the running game into
  // the slot; in open mode makes the slot's game the running game. The dialog closes either way.
  void OnSlotButton(int slot);

  // True once a slot has been opened.
  bool Opened() const { return opened_; }

  // The parts of slot 1..8's panel, for the player's eyes and for tests.
  QLineEdit* NameField(int slot) const { return panels_[slot - 1].name; }
  QLabel* TitleLabel(int slot) const { return panels_[slot - 1].title; }
  QLabel* DateLabel(int slot) const { return panels_[slot - 1].date; }
  QLabel* CreditsLabel(int slot) const { return panels_[slot - 1].credits; }
  QLabel* BorrowedLabel(int slot) const { return panels_[slot - 1].borrowed; }
  QPushButton* SlotButton(int slot) const { return panels_[slot - 1].button; }
  QPushButton* CancelButton() const { return cancel_; }
  QPushButton* HelpButton() const { return help_; }

 private:
  struct Panel {
    QLineEdit* name = nullptr;
    QLabel* title = nullptr;
    QLabel* date = nullptr;
    QLabel* credits = nullptr;
    QLabel* borrowed = nullptr;
    QPushButton* button = nullptr;
  };

  void BuildPanels();
  void ShowWriteFailure();

  SavedGames& saves_;
  Platform& platform_;
  const GameIdentity& identity_;
  SlotDialogMode mode_;
  std::array<Panel, kSavedGameSlots> panels_{};
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
  bool opened_ = false;
};

// The Save Game or Open Game command: keeps the running game in the file (keep_running_game,
// false when it could not be written), then shows the slot dialog modally. When the running
// game cannot be written, shows "Unable to write to" the file and opens no dialog. Returns true
// when a saved game was opened (the screen must show it).
bool RunSavedGamesDialog(SavedGames& saves, Platform& platform, const GameIdentity& identity,
                         SlotDialogMode mode, const std::function<bool()>& keep_running_game,
                         std::function<void(int context)> show_help = {},
                         QWidget* parent = nullptr);

// Shows "Unable to write to" and the saved-games file's name in an error box.
void ShowSaveFailure(Platform& platform, QWidget* parent, const SavedGames& saves);
