#include "tests/support/fake_platform.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>
#include <string>
#include <vector>

#include "tests/support/recording_sounds.h"

namespace {

struct Log {
  std::vector<std::string> events;
  void Add(const std::string& name, uint32_t now) {
    events.push_back(name + "@" + std::to_string(now));
  }
};

using Events = std::vector<std::string>;

}  // namespace

TEST(FakePlatformTimers, FireAtEachMultipleOfTheirInterval) {
  FakePlatform platform;
  Log log;
  auto t = platform.CreateTimer(100, true, [&] { log.Add("t", platform.Now()); });
  EXPECT_EQ(platform.Now(), 1000u);
  platform.Advance(99);
  EXPECT_TRUE(log.events.empty());
  platform.Advance(251);
  EXPECT_EQ(log.events, (Events{"t@1100", "t@1200", "t@1300"}));
  EXPECT_EQ(platform.Now(), 1350u);
}

TEST(FakePlatformTimers, EarliestFirstAndTiesInCreationOrder) {
  FakePlatform platform;
  Log log;
  auto a = platform.CreateTimer(30, true, [&] { log.Add("a", platform.Now()); });
  auto b = platform.CreateTimer(20, true, [&] { log.Add("b", platform.Now()); });
  auto c = platform.CreateTimer(60, true, [&] { log.Add("c", platform.Now()); });
  platform.Advance(60);
  EXPECT_EQ(log.events, (Events{"b@1020", "a@1030", "b@1040", "a@1060", "b@1060", "c@1060"}));
}

TEST(FakePlatformTimers, DisabledTimersAndZeroIntervalsStaySilent) {
  FakePlatform platform;
  int ticks = 0;
  auto off = platform.CreateTimer(10, false, [&] { ++ticks; });
  auto zero = platform.CreateTimer(0, true, [&] { ++ticks; });
  platform.Advance(1000);
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(platform.ActiveTimerCount(), 0);
  off->SetEnabled(true);  // counts from the moment it is enabled
  platform.Advance(15);
  EXPECT_EQ(ticks, 1);
}

TEST(FakePlatformTimers, ChangingTheIntervalRestartsTheCount) {
  FakePlatform platform;
  Log log;
  auto t = platform.CreateTimer(100, true, [&] { log.Add("t", platform.Now()); });
  platform.Advance(70);
  t->SetInterval(50);  // from 1070: next tick at 1120
  platform.Advance(60);
  t->SetInterval(50);  // unchanged: the count goes on
  platform.Advance(40);
  EXPECT_EQ(log.events, (Events{"t@1120", "t@1170"}));
  EXPECT_EQ(t->Interval(), 50);
}

TEST(FakePlatformTimers, ChangesMadeByAHandlerTakeEffectAtOnce) {
  FakePlatform platform;
  Log log;
  std::unique_ptr<Timer> b;
  auto a = platform.CreateTimer(10, true, [&] {
    log.Add("a", platform.Now());
    b->SetEnabled(false);
  });
  b = platform.CreateTimer(10, true, [&] { log.Add("b", platform.Now()); });
  platform.Advance(30);
  EXPECT_EQ(log.events, (Events{"a@1010", "a@1020", "a@1030"}));
}

TEST(FakePlatformTimers, TimeRunInsideAHandlerRunsOtherTimersButNeverItsOwn) {
  FakePlatform platform;
  Log log;
  std::unique_ptr<Timer> slow;
  auto fast = platform.CreateTimer(10, true, [&] { log.Add("fast", platform.Now()); });
  slow = platform.CreateTimer(25, true, [&] {
    log.Add("slow", platform.Now());
    slow->SetEnabled(false);
    platform.Advance(30);  // a handler that runs a modal window
    log.Add("slow-done", platform.Now());
  });
  platform.Advance(60);
  EXPECT_EQ(log.events, (Events{"fast@1010", "fast@1020", "slow@1025", "fast@1030", "fast@1040",
                                "fast@1050", "slow-done@1055", "fast@1060"}));
  EXPECT_EQ(platform.Now(), 1060u);
}

TEST(FakePlatformTimers, ATimerIsNotReenteredWhileItsHandlerRunsTime) {
  FakePlatform platform;
  int depth = 0;
  int max_depth = 0;
  int ticks = 0;
  auto t = platform.CreateTimer(10, true, [&] {
    ++ticks;
    max_depth = std::max(max_depth, ++depth);
    platform.Advance(35);
    --depth;
  });
  platform.Advance(100);
  EXPECT_EQ(max_depth, 1);
  EXPECT_GE(ticks, 2);
  // The clock moved forward only: a nested wait past the target leaves it there.
  EXPECT_GE(platform.Now(), 1100u);
}

TEST(FakePlatformTimers, AHandlerMayDestroyItsOwnTimer) {
  FakePlatform platform;
  int ticks = 0;
  std::unique_ptr<Timer> t;
  t = platform.CreateTimer(10, true, [&] {
    ++ticks;
    t.reset();
  });
  platform.Advance(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(platform.ActiveTimerCount(), 0);
}

TEST(FakePlatformClock, WrapsLikeTheDesktopsTickCount) {
  FakePlatform platform;
  EXPECT_EQ(platform.Now(), 1000u);
  platform.Advance(0xFFFFFFFFu - 1000u - 5u);
  EXPECT_EQ(platform.Now(), 0xFFFFFFFAu);
  int ticks = 0;
  auto t = platform.CreateTimer(4, true, [&] { ++ticks; });
  platform.Advance(16);  // past the wrap
  EXPECT_EQ(platform.Now(), 10u);
  EXPECT_EQ(ticks, 4);  // 16 ms passed
  platform.ProcessMessages();
  EXPECT_EQ(platform.Now(), 10u);
}

TEST(FakePlatformMessages, RecordsAndCallsTheHook) {
  FakePlatform platform;
  std::string seen;
  platform.on_message = [&](const QString& caption, const QString& text) {
    seen = caption.toStdString() + ":" + text.toStdString();
  };
  platform.ShowMessage(nullptr, "Zelmar Slots", "Not enough credits");
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, QStringLiteral("Zelmar Slots"));
  EXPECT_EQ(platform.messages[0].text, QStringLiteral("Not enough credits"));
  EXPECT_EQ(seen, "Zelmar Slots:Not enough credits");
}

TEST(FakePlatformModal, RunsVirtualTimeUntilTheDialogCloses) {
  FakePlatform platform;
  QDialog dialog;
  auto closer = platform.CreateTimer(2000, true, [&] { dialog.accept(); });
  platform.RunModal(&dialog);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(platform.Now(), 3000u);
}

TEST(FakePlatformModal, HookAnswersTheDialog) {
  FakePlatform platform;
  QDialog dialog;
  bool was_visible = false;
  platform.on_modal = [&](QDialog* d) {
    was_visible = d->isVisible();
    d->reject();
  };
  platform.RunModal(&dialog);
  EXPECT_TRUE(was_visible);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(platform.Now(), 1000u);
}

TEST(FakePlatformScreen, MetricsAreSettable) {
  FakePlatform platform;
  EXPECT_EQ(platform.ScreenWidth(), 800);
  EXPECT_EQ(platform.ScreenHeight(), 600);
  EXPECT_EQ(platform.LogicalDpi(), 96);
  platform.width = 1920;
  platform.dpi = 120;
  EXPECT_EQ(platform.ScreenWidth(), 1920);
  EXPECT_EQ(platform.LogicalDpi(), 120);
}

TEST(RecordingSoundsTest, NamesEachCallInOrder) {
  RecordingSounds sounds;
  GameSounds& g = sounds;
  g.PlayReelStopSound();
  g.PlayCountSound();
  g.PlayWinSound(nullptr);
  int ended = 0;
  g.PlayWinSound([&] { ++ended; });
  sounds.hold_win_sound = true;
  g.PlayWinSound([&] { ++ended; });
  EXPECT_EQ(ended, 1) << "a held win sound has not ended yet";
  sounds.EndWinSound();
  EXPECT_EQ(ended, 2);
  g.PlayExplosionSound();
  g.PlayStartSound();
  g.PlayBonusSound();
  g.StartPendingTrack();
  EXPECT_EQ(sounds.calls,
            (std::vector<std::string>{"ReelStop", "Count", "Win", "WinWait", "WinWait", "Explosion",
                                      "Start", "Bonus", "StartPendingTrack"}));
  EXPECT_EQ(sounds.Count("Win"), 1);
}
