// MainWindow: the menu bar and its commands. Every item the player can see lives here, in the
// order of the bar; a command that belongs to the game or to one of its windows only
// hands over.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/main_window.h"
#include "platform/accessible_part.h"
#include "shell/help_topics.h"
#include "shell/settings.h"
#include "shell/web_page.h"

void MainWindow::BuildMenu() {
  QMenuBar* bar = menuBar();
  // A command may open a modal window: it answers an assistive technology's press at once.
  auto command = [this](QMenu* menu, const QString& caption, auto run) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, AnsweringAtOnce(this, run));
    return action;
  };
  auto bar_command = [this, bar](const QString& caption, auto run) {
    QAction* action = bar->addAction(caption);
    connect(action, &QAction::triggered, this, AnsweringAtOnce(this, run));
    return action;
  };

  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  // The game's own commands, while a game is shown.
  menu_.new_game = command(file, QStringLiteral("&New Game"), [this] {
    if (game_ != nullptr) game_->NewGame();
  });
  file->addSeparator();
  menu_.open_game = command(file, QStringLiteral("&Open Game"), [this] {
    if (game_ != nullptr) game_->OpenGame();
  });
  menu_.save_game = command(file, QStringLiteral("&Save Game"), [this] {
    if (game_ != nullptr) game_->SaveGame();
  });
  file->addSeparator();
  command(file, QStringLiteral("E&xit"), [this] { close(); });

  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  menu_.sound = command(options, QStringLiteral("Sound"), [this] { SwitchSound(); });
  menu_.music = command(options, QStringLiteral("Music"), [this] { SwitchMusic(); });
  for (QAction* check : {menu_.sound, menu_.music}) {
    check->setCheckable(true);
    check->setChecked(true);
  }

  // Borrowing, then a repaint, so that the credits meter shows the new balance.
  menu_.borrow = bar_command(QStringLiteral("&Borrow"), [this] {
    if (game_ != nullptr) game_->Borrow();
  });
  bar_command(QStringLiteral("&Stats"), [this] { ShowStatistics(); });
  bar_command(QStringLiteral("&Payoffs"), [this] { ShowPayoffChart(); });

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  command(help, QStringLiteral("Version"), [this] {
    if (game_ == nullptr) return;
    services_.platform.ShowMessage(this, QStringLiteral("Information"),
                                   QString::fromStdString(VersionBoxText(game_->Identity())));
  });
  help->addSeparator();
  // Named after the game's title once the game is shown.
  menu_.manual =
      command(help, QStringLiteral("&Manual"), [this] { services_.help.ShowContents(); });
  help->addSeparator();
  command(help, GamesPageCaption(),
          [this] { OpenWebPage(services_.web, services_.platform, this); });
  help->addSeparator();
  command(help, QStringLiteral("&Company Information"),
          [this] { services_.help.ShowContext(kCompanyHelp); });
}

// Sound and music: the switches live with the sounds; the check marks show them.
void MainWindow::SwitchSound() {
  services_.sounds.SwitchSound();
  menu_.sound->setChecked(services_.sounds.SoundOn());
}

void MainWindow::SwitchMusic() {
  services_.sounds.SwitchMusic();
  menu_.music->setChecked(services_.sounds.MusicOn());
}
