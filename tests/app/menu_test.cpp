// The menu bar: its items, the help and web commands, and every way of ending the game.
#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "shell/help_topics.h"
#include "shell/saved_games_dialog.h"
#include "shell/web_page.h"
#include "tests/app/game_fixture.h"

namespace {

using Menu = GameFixture;

TEST_F(Menu, ShowsEveryCommandInOrderWithItsAccessKeyAndCheckMarks) {
  Start();
  const struct {
    const char* caption;
    std::vector<QString> items;  // "-" is a separator; empty for a command on the bar itself
  } expected[] = {
      {"&File", {"&New Game", "-", "&Open Game", "&Save Game", "-", "E&xit"}},
      {"&Options", {"Sound", "Music"}},
      {"&Borrow", {}},
      {"&Stats", {}},
      {"&Payoffs", {}},
      {"&Help",
       {"Version", "-", "&Zelmar Slots Manual", "-", GamesPageCaption(), "-",
        "&Company Information"}},
  };
  const QList<QAction*> bar = window_->menuBar()->actions();
  ASSERT_EQ(bar.size(), std::size(expected));
  for (size_t m = 0; m < std::size(expected); ++m) {
    EXPECT_EQ(bar[m]->text(), expected[m].caption);
    if (expected[m].items.empty()) {
      EXPECT_EQ(bar[m]->menu(), nullptr) << expected[m].caption;
      continue;
    }
    ASSERT_NE(bar[m]->menu(), nullptr) << expected[m].caption;
    std::vector<QString> items;
    for (QAction* item : bar[m]->menu()->actions()) {
      items.push_back(item->isSeparator() ? QStringLiteral("-") : item->text());
      EXPECT_TRUE(item->isVisible());
    }
    EXPECT_EQ(items, expected[m].items) << expected[m].caption;
  }
  for (const char* path : {"&Options/Sound", "&Options/Music"}) {
    EXPECT_TRUE(Item(path)->isCheckable() && Item(path)->isChecked()) << path;
    Item(path)->trigger();
    EXPECT_FALSE(Item(path)->isChecked()) << path;
  }
  // The check marks show the switches of the sounds.
  EXPECT_FALSE(sounds_.sound);
  EXPECT_FALSE(sounds_.music);
  Item("&Options/Music")->trigger();
  EXPECT_TRUE(sounds_.music);
  EXPECT_TRUE(Item("&Options/Music")->isChecked());
}

TEST_F(Menu, HelpOpensTheTopicOfEachWindowTheContentsAndTheCompanyPage) {
  Start();
  Ready();
  EXPECT_EQ(help_.help_file, QDir(dir_.path()).filePath("zelmar-slots.hlp"));
  game_->View().setFocus();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(&game_->View(), &f1);
  Item("&Help/&Zelmar Slots Manual")->trigger();
  Item("&Help/&Company Information")->trigger();
  EXPECT_EQ(help_.shown,
            (std::vector<int>{kMainWindowHelp, FakeHelpViewer::kContents, kCompanyHelp}));
  // F1 in each window the menu bar opens: the topic of the part that has the keyboard, or of
  // the window; the statistics have none of their own.
  help_.shown.clear();
  platform_.on_modal = [&](QDialog* dialog) {
    QWidget* focus = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
    QCoreApplication::sendEvent(focus, &f1);
    dialog->reject();
  };
  for (const char* path :
       {"&Borrow", "&Stats", "&Payoffs", "&File/&Open Game", "&File/&Save Game"}) {
    Item(path)->trigger();
  }
  EXPECT_EQ(help_.shown, (std::vector<int>{kBorrowButtonsHelp, FakeHelpViewer::kContents,
                                           kPayoffChartHelp, kSavedGamesHelp, kSavedGamesHelp}));
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Menu, GamesPageAndLogoOpenTheSiteOrExplainWhyNot) {
  Start();
  Ready();
  Item("&Help/" + GamesPageCaption())->trigger();
  // The logo: 125 x 70 at its own size, centred over the first 140 design columns.
  const int logo_left = (S(140) - game_->View().Shown().Art().logo.width()) / 2;
  ClickAt(logo_left + game_->View().Shown().Art().logo.width(), S(10));
  ClickAt(logo_left + game_->View().Shown().Art().logo.width() + 1, S(10));  // just beside it
  EXPECT_EQ(web_.opened, (std::vector<QString>{GamesPageAddress(), GamesPageAddress()}));
  EXPECT_TRUE(platform_.messages.empty());

  web_.succeeds = false;
  ClickAt(logo_left, S(10) + game_->View().Shown().Art().logo.height());
  ASSERT_EQ(platform_.messages.size(), 2u);
  EXPECT_TRUE(platform_.messages[0].error);
  EXPECT_EQ(platform_.messages[0].text, "Could not find a web browser on your system!");
  EXPECT_EQ(platform_.messages[1].caption, "Information");
  EXPECT_TRUE(platform_.messages[1].text.contains(GamesPageAddress()));
  EXPECT_EQ(state_.Credits, 1000);
}

TEST_F(Menu, OpenAndSaveGameShowTheSlotDialogAndVersionItsBox) {
  Start();
  Ready();
  std::vector<QString> shown;
  platform_.on_modal = [&](QDialog* dialog) {
    shown.push_back(dialog->windowTitle());
    // Opened from the game, the dialog looks as it does on its own: bold captions, and name
    // fields on the panels' button-face colour.
    auto* slot_dialog = static_cast<SavedGamesDialog*>(dialog);
    for (QPushButton* button :
         {slot_dialog->CancelButton(), slot_dialog->HelpButton(), slot_dialog->SlotButton(1)}) {
      EXPECT_TRUE(button->font().bold()) << button->text().toStdString();
    }
    const QImage field = slot_dialog->NameField(1)->grab().toImage();
    EXPECT_EQ(field.pixel(field.width() - 2, field.height() / 2),
              dialog->palette().color(QPalette::Button).rgb());
    dialog->reject();
  };
  for (const char* path : {"&File/&Open Game", "&File/&Save Game", "&Help/Version"}) {
    Item(path)->trigger();
  }
  EXPECT_EQ(shown, (std::vector<QString>{"Open a Game -- Select Game Slot",
                                         "Save a Game -- Select Game Slot"}));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text, QStringLiteral("Zelmar Slots\n\nVersion:  1.1"));
  EXPECT_EQ(state_.Credits, 1000);
  EXPECT_FALSE(game_->Play().Running());
}

TEST_F(Menu, ExitAndTheCloseBoxBothEndTheGameAndTakeTheHelpWindowAlong) {
  for (const bool by_exit : {true, false}) {
    Start();
    Ready();
    if (by_exit) {
      Item("&File/E&xit")->trigger();
    } else {
      window_->close();  // the close box and the window manager's Close
    }
    EXPECT_FALSE(window_->isVisible()) << by_exit;
    EXPECT_EQ(help_.closes, 1) << by_exit;
    EndGame();
    EXPECT_EQ(sounds_.calls.back(), "CloseMusic") << by_exit;  // the music ends with the game
    state_ = GameState();
    help_.closes = 0;
  }
}

}  // namespace
