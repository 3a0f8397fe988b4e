// MainWindow: the menu bar and its commands. Every item the player can see lives here, in the
// order of the bar; a command whose window belongs to another part of the game only hands over.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "shell/help_topics.h"
#include "shell/saved_games_dialog.h"
#include "shell/settings.h"
#include "shell/web_page.h"

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  auto command = [this](QMenu* menu, const QString& caption, void (MainWindow::*run)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
    return action;
  };
  auto bar_command = [this, bar](const QString& caption, void (MainWindow::*run)()) {
    QAction* action = bar->addAction(caption);
    connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
    return action;
  };

  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  menu_.new_game = command(file, QStringLiteral("&New Game"), &MainWindow::NewGame);
  file->addSeparator();
  menu_.open_game = command(file, QStringLiteral("&Open Game"), &MainWindow::OpenGame);
  menu_.save_game = command(file, QStringLiteral("&Save Game"), &MainWindow::SaveGame);
  file->addSeparator();
  command(file, QStringLiteral("E&xit"), &MainWindow::Exit);

  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  menu_.sound = command(options, QStringLiteral("Sound"), &MainWindow::SwitchSound);
  menu_.music = command(options, QStringLiteral("Music"), &MainWindow::SwitchMusic);
  for (QAction* check : {menu_.sound, menu_.music}) {
    check->setCheckable(true);
    check->setChecked(true);
  }

  menu_.borrow = bar_command(QStringLiteral("&Borrow"), &MainWindow::Borrow);
  menu_.stats = bar_command(QStringLiteral("&Stats"), &MainWindow::ShowStatistics);
  menu_.payoffs = bar_command(QStringLiteral("&Payoffs"), &MainWindow::ShowPayoffChart);

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  menu_.version = command(help, QStringLiteral("Version"), &MainWindow::ShowVersion);
  help->addSeparator();
  // Named after the game's title once the identity is known.
  menu_.manual = command(help, QStringLiteral("&Manual"), &MainWindow::ShowManual);
  help->addSeparator();
  command(help, GamesPageCaption(), &MainWindow::OpenGamesPage);
  help->addSeparator();
  command(help, QStringLiteral("&Company Information"), &MainWindow::ShowCompanyInformation);
}

std::function<bool()> MainWindow::KeepRunningGameNow() {
  // Through the writer, after whatever it still has to write; a game this copy has not changed
  // since it last read or wrote it is not written over another copy's.
  return [this] { return keeper_->KeepNow(gs_); };
}

// Saved games: the slot dialog, not while credits are moving. An opened game is on the meters
// at once.
void MainWindow::OpenGame() {
  if (play_->Running()) return;
  if (RunSavedGamesDialog(
          *saves_, platform_, identity_, SlotDialogMode::kOpen, KeepRunningGameNow(),
          [this](int context) { help_.ShowContext(context); }, this)) {
    keeper_->Keep(gs_);  // the opened game is the running game from now on
  }
  PaintAll();
}

void MainWindow::SaveGame() {
  if (play_->Running()) return;
  RunSavedGamesDialog(
      *saves_, platform_, identity_, SlotDialogMode::kSave, KeepRunningGameNow(),
      [this](int context) { help_.ShowContext(context); }, this);
}

void MainWindow::Exit() {
  close();
}

// Sound and music: the switches live with the sounds; the check marks show them.
void MainWindow::SwitchSound() {
  sounds_.SwitchSound();
  menu_.sound->setChecked(sounds_.SoundOn());
}

void MainWindow::SwitchMusic() {
  sounds_.SwitchMusic();
  menu_.music->setChecked(sounds_.MusicOn());
}

void MainWindow::ShowVersion() {
  platform_.ShowMessage(this, QStringLiteral("Information"),
                        QString::fromStdString(VersionBoxText(identity_)));
}

void MainWindow::ShowManual() {
  help_.ShowContents();
}

void MainWindow::OpenGamesPage() {
  OpenWebPage(web_, platform_, this);
}

void MainWindow::ShowCompanyInformation() {
  help_.ShowContext(kCompanyHelp);
}
