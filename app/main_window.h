// MainWindow: the game's main window, a shell around the game it shows. It carries the menu bar
// and hands its commands to the game and the side windows, takes the game's title for its
// caption, holds play while a window stands in front of it, and ends the game in order when it
// closes.
#pragma once

#include <QMainWindow>
#include <memory>

#include "app/game.h"

class QAction;

// The commands of the menu bar that change with the play or the switches.
struct GameMenu {
  QAction* new_game = nullptr;
  QAction* open_game = nullptr;
  QAction* save_game = nullptr;
  QAction* borrow = nullptr;
  QAction* sound = nullptr;
  QAction* music = nullptr;
  QAction* manual = nullptr;
};

class MainWindow : public QMainWindow, public Game::Window {
 public:
  // The window with its menu bar, the game's commands closed until a game is shown and has
  // started up.
  explicit MainWindow(const GameServices& services);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A modal window in front (one the player opened from the menu, a message) holds play until it
  // has gone.
  bool event(QEvent* event) override;

 private:
  // Game::Window.
  QWidget& Widget() override { return *this; }
  QSize ExpectedGameArea() override;
  void ShowGame(Game* game) override;
  void EnableGameCommands(bool enabled) override;

  // The menu bar, in the order of the bar; its commands (app/main_menu.cpp).
  void BuildMenu();
  void SwitchSound();
  void SwitchMusic();
  // The side windows the menu bar's own commands open, each modally (app/side_windows.cpp).
  void ShowStatistics();
  void ShowPayoffChart();

  GameServices services_;
  // The game shown; none before it is set up and after it has gone.
  Game* game_ = nullptr;
  std::unique_ptr<HelpKey> help_key_;
  GameMenu menu_;
};
