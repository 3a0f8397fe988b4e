#include "shell/saved_games_dialog.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <utility>

#include "platform/accessible_part.h"
#include "platform/canvas.h"
#include "platform/help_viewer.h"
#include "platform/platform.h"
#include "platform/profile_file.h"
#include "screen/fonts.h"
#include "shell/help_topics.h"

namespace {

// The dialog's layout in pixels: client area, the frame around the panels, the panels in two
// columns of four, the parts of a panel (relative to it) and the two buttons below.
constexpr QSize kClientSize(616, 360);
constexpr QRect kBevel(0, 8, 617, 297);
constexpr QSize kPanelSize(289, 65);
constexpr int kPanelColumnX[] = {16, 312};
constexpr int kPanelRowY[] = {16, 88, 160, 232};
constexpr QRect kNameField(8, 8, 233, 20);
constexpr QRect kTitleLabel(8, 28, 129, 13);
constexpr QRect kDateLabel(168, 28, 57, 13);
constexpr QRect kCreditsLabel(8, 48, 105, 13);
constexpr QRect kBorrowedLabel(112, 48, 113, 13);
constexpr QRect kSlotButton(232, 16, 49, 37);
constexpr QRect kCancelButton(508, 316, 97, 37);
constexpr QRect kHelpButton(8, 316, 97, 37);
constexpr int kFontPoints = 8;

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

SavedGamesDialog::SavedGamesDialog(SavedGames& saves, Platform& platform,
                                   const GameIdentity& identity, SlotDialogMode mode,
                                   std::function<void(int context)> show_help, QWidget* parent)
    : QDialog(parent), saves_(saves), platform_(platform), identity_(identity), mode_(mode) {
  // A fixed dialog frame with only the close box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setWindowTitle(mode_ == SlotDialogMode::kSave
                     ? QStringLiteral("Save a Game -- Select Game Slot")
                     : QStringLiteral("Open a Game -- Select Game Slot"));
  setFont(DialogFont(PointsToPixels(kFontPoints), true));
  setFixedSize(kClientSize);
  // F1 anywhere in the dialog opens the same topic as its Help button.
  SetHelpContext(this, kSavedGamesHelp);

  auto* bevel = new QFrame(this);
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(kBevel);

  // Cancel comes first in the tab order and has the focus; Esc and the close box also cancel.
  cancel_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                            QStringLiteral("&Cancel"), this);
  cancel_->setGeometry(kCancelButton);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  BuildPanels();

  help_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton),
                          QStringLiteral("&Help"), this);
  help_->setGeometry(kHelpButton);
  help_->setAutoDefault(false);
  help_->setVisible(static_cast<bool>(show_help));
  // Help may open a window of its own: a press answers first.
  connect(
      help_, &QPushButton::clicked, this,
      AnsweringAtOnce(this, [show_help = std::move(show_help)] { show_help(kSavedGamesHelp); }));

  cancel_->setFocus();

  // Centred on the screen.
  move((platform_.ScreenWidth() - width()) / 2, (platform_.ScreenHeight() - height()) / 2);
}

void SavedGamesDialog::BuildPanels() {
  const QFont plain = DialogFont(PointsToPixels(kFontPoints));
  QPalette black_text = palette();
  black_text.setColor(QPalette::WindowText, Qt::black);
  black_text.setColor(QPalette::Text, Qt::black);
  // The name fields sit on the panel's colour, without a frame of their own.
  black_text.setColor(QPalette::Base, black_text.color(QPalette::Button));

  for (int i = 0; i < kSavedGameSlots; ++i) {
    const SavedGame game = saves_.ReadSlot(i);
    Panel& panel = panels_[i];

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setGeometry(QRect(QPoint(kPanelColumnX[i / 4], kPanelRowY[i % 4]), kPanelSize));

    auto make_label = [&](const QRect& place, const QString& text, Qt::Alignment align) {
      auto* label = new QLabel(text, frame);
      label->setGeometry(place);
      label->setFont(plain);
      label->setPalette(black_text);
      label->setAlignment(align | Qt::AlignVCenter);
      return label;
    };

    panel.name = new QLineEdit(ToQt(game.name), frame);
    panel.name->setGeometry(kNameField);
    panel.name->setFrame(false);
    panel.name->setFont(plain);
    panel.name->setPalette(black_text);
    panel.name->setCursorPosition(0);
    panel.title = make_label(kTitleLabel, ToQt(identity_.GameTitle), Qt::AlignLeft);
    panel.date = make_label(kDateLabel, ToQt(game.date), Qt::AlignRight);
    panel.credits =
        make_label(kCreditsLabel, QStringLiteral("%1 Credits").arg(game.credits), Qt::AlignLeft);
    panel.borrowed = make_label(kBorrowedLabel, QStringLiteral("%1 Borrowed").arg(game.borrowed),
                                Qt::AlignRight);

    panel.button = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                   QStringLiteral("OK"), frame);
    panel.button->setGeometry(kSlotButton);
    panel.button->setAutoDefault(false);
    const int slot = i + 1;
    // Read without the picture: each panel is named after its slot and what it holds, its
    // field and its key after the panel (saving asks for a name in a box of its own).
    frame->setAccessibleName(QStringLiteral("Game %1").arg(slot));
    frame->setAccessibleDescription(QStringList{panel.title->text(), panel.date->text(),
                                                panel.credits->text(), panel.borrowed->text()}
                                        .join(QStringLiteral(", ")));
    panel.name->setAccessibleName(QStringLiteral("Name of game %1").arg(slot));
    panel.button->setAccessibleName(QStringLiteral("OK, game %1").arg(slot));
    connect(panel.button, &QPushButton::clicked, this,
            AnsweringAtOnce(this, [this, slot] { OnSlotButton(slot); }));
  }
}

void SavedGamesDialog::OnSlotButton(int slot) {
  const int index = slot - 1;
  if (mode_ == SlotDialogMode::kSave) {
    const std::optional<QString> name =
        platform_.QueryText(this, QStringLiteral("Name for this saved game?"), QString(),
                            NameField(slot)->text(), kSaveNameMaxLength);
    if (name && !saves_.SaveLoadGame(index, true, name->toStdString())) ShowWriteFailure();
  } else {
    // The opened game becomes the running game, in memory and in the file.
    (void)saves_.SaveLoadGame(index, false);
    opened_ = true;
    if (!saves_.SaveLoadGame(kRunningGameSlot, true, kRunningGameName)) ShowWriteFailure();
  }
  accept();
}

void SavedGamesDialog::ShowWriteFailure() {
  ShowSaveFailure(platform_, this, saves_);
}

void ShowSaveFailure(Platform& platform, QWidget* parent, const SavedGames& saves) {
  platform.ShowError(parent, QStringLiteral("Unable to write to %1").arg(ToQt(saves.FilePath())));
}

bool RunSavedGamesDialog(SavedGames& saves, Platform& platform, const GameIdentity& identity,
                         SlotDialogMode mode, const std::function<bool()>& keep_running_game,
                         std::function<void(int context)> show_help, QWidget* parent) {
  // The running game is kept in the file before anything else happens.
  if (!keep_running_game()) {
    ShowSaveFailure(platform, parent, saves);
    return false;
  }
  SavedGamesDialog dialog(saves, platform, identity, mode, std::move(show_help), parent);
  platform.RunModal(&dialog);
  return dialog.Opened();
}
