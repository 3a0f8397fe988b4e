#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include "platform/platform.h"

// Only orderings are checked here ("not before"), never how late anything is: a busy machine
// must not fail these tests.

namespace {
// Runs the event loop for about ms milliseconds.
void RunFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}
}  // namespace

TEST(QtPlatformClock, CountsForward) {
  auto platform = CreateQtPlatform();
  const uint32_t start = platform->TickCount();
  RunFor(30);
  EXPECT_GE(static_cast<int32_t>(platform->TickCount() - start), 29);
}

TEST(QtPlatformTimers, FireFromTheEventLoopAndStopWhenDisabled) {
  auto platform = CreateQtPlatform();
  int ticks = 0;
  auto timer = platform->CreateTimer(5, true, [&] { ++ticks; });
  EXPECT_TRUE(timer->Enabled());
  RunFor(60);
  EXPECT_GE(ticks, 1);
  timer->SetEnabled(false);
  const int stopped = ticks;
  RunFor(30);
  EXPECT_EQ(ticks, stopped);
  timer->SetInterval(7);
  EXPECT_EQ(timer->Interval(), 7);
  EXPECT_FALSE(timer->Enabled());
}

TEST(QtPlatformTimers, AHandlerMayDestroyItsOwnTimer) {
  auto platform = CreateQtPlatform();
  int ticks = 0;
  std::unique_ptr<Timer> timer;
  timer = platform->CreateTimer(1, true, [&] {
    ++ticks;
    timer.reset();
  });
  RunFor(30);
  EXPECT_EQ(ticks, 1);
}

TEST(QtPlatformScreen, ReadsTheOffscreenConfiguration) {
  auto platform = CreateQtPlatform();
  // tests/offscreen.json: one 800 x 600 screen at 96 dpi.
  EXPECT_EQ(platform->ScreenWidth(), 800);
  EXPECT_EQ(platform->ScreenHeight(), 600);
  EXPECT_EQ(platform->LogicalDpi(), 96);
}

TEST(QtPlatformDialogs, MessageBoxIsModalWithOneOkButton) {
  auto platform = CreateQtPlatform();
  QString caption;
  QString text;
  int buttons = 0;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    buttons = static_cast<int>(box->buttons().size());
    icon = box->icon();
    box->button(QMessageBox::Ok)->click();
  });
  platform->ShowMessage(nullptr, "Zelmar Slots", "You won!");
  EXPECT_EQ(caption, QStringLiteral("Zelmar Slots"));
  EXPECT_EQ(text, QStringLiteral("You won!"));
  EXPECT_EQ(buttons, 1);
  EXPECT_EQ(icon, QMessageBox::Information);
}

TEST(QtPlatformDialogs, RunModalReturnsWhenTheDialogCloses) {
  auto platform = CreateQtPlatform();
  QDialog dialog;
  bool was_modal = false;
  QTimer::singleShot(0, [&] {
    was_modal = dialog.isVisible() && dialog.isModal();
    dialog.accept();
  });
  platform->RunModal(&dialog);
  EXPECT_TRUE(was_modal);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(QtPlatformDialogs, QueryBoxTakesOneLineOfAtMostTheGivenLength) {
  auto platform = CreateQtPlatform();
  QString caption;
  QString selected;
  int typed_length = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    auto* line = box->findChild<QLineEdit*>();
    ASSERT_NE(line, nullptr);
    caption = box->windowTitle();
    selected = line->selectedText();
    for (int i = 0; i < 300; ++i) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
      QApplication::sendEvent(line, &key);
    }
    typed_length = static_cast<int>(line->text().size());
    line->clear();
    line->insert(QStringLiteral("one\ntwo\r\nthree"));
    box->accept();
  });
  const std::optional<QString> answer =
      platform->QueryText(nullptr, "Name for this saved game?", "", "Old name", 255);
  EXPECT_EQ(caption, QStringLiteral("Name for this saved game?"));
  EXPECT_EQ(selected, QStringLiteral("Old name"));
  EXPECT_EQ(typed_length, 255);
  EXPECT_EQ(answer, QStringLiteral("one two  three"));

  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  EXPECT_EQ(platform->QueryText(nullptr, "Name", "", "Old name", 255), std::nullopt);
}
