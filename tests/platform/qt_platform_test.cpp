#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include "platform/platform.h"

// Only orderings are checked here ("not before"), never how late anything is: a busy machine
// must not fail these tests.

TEST(QtPlatformClock, WaitUntilReturnsNoEarlierThanTheTick) {
  auto platform = CreateQtPlatform();
  const uint32_t start = platform->TickCount();
  platform->WaitUntil(start + 30);
  EXPECT_GE(static_cast<int32_t>(platform->TickCount() - start), 30);
  const uint32_t now = platform->TickCount();
  platform->WaitUntil(now - 1000);  // passed long ago: returns at once
  EXPECT_GE(static_cast<int32_t>(platform->TickCount() - now), 0);
}

TEST(QtPlatformClock, WaitUntilKeepsTheEventLoopRunning) {
  auto platform = CreateQtPlatform();
  bool posted = false;
  QTimer::singleShot(0, [&] { posted = true; });
  platform->WaitUntil(platform->TickCount() + 20);
  EXPECT_TRUE(posted);
}

TEST(QtPlatformTimers, FireWhileWaitingAndStopWhenDisabled) {
  auto platform = CreateQtPlatform();
  int ticks = 0;
  auto timer = platform->CreateTimer(5, true, [&] { ++ticks; });
  EXPECT_TRUE(timer->Enabled());
  platform->WaitUntil(platform->TickCount() + 60);
  EXPECT_GE(ticks, 1);
  timer->SetEnabled(false);
  const int stopped = ticks;
  platform->WaitUntil(platform->TickCount() + 30);
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
  platform->WaitUntil(platform->TickCount() + 30);
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
