// The bonus game window, driven by a virtual clock: what the player sees in the boxes, when the
// window closes and what it leaves in BonusWin.
#include "windows/bonus_game.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QTest>
#include <memory>
#include <vector>

#include "engine/game_state.h"
#include "platform/platform.h"
#include "screen/fonts.h"
#include "shell/identity.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_sounds.h"
#include "windows/bonus_game_accessible.h"

namespace {

// Synthetic pictures: every walking frame and every bomb frame has its own solid colour, so a
// pixel tells which frame of which strip a box shows.
QRgb WalkColour(int ball, int frame) {
  return qRgb(16 + ball * 8, 100 + frame * 10, 200);
}
QRgb ExplodeColour(int frame) {
  return qRgb(250, frame * 15, 7);
}
const QRgb kBackground = qRgb(0, 80, 0);
const QRgb kStopLit = qRgb(255, 1, 1);
const QRgb kStopDim = qRgb(90, 1, 1);
const QRgb kStopALit = qRgb(255, 2, 2);
const QRgb kStopADim = qRgb(90, 2, 2);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kRed = qRgb(255, 0, 0);

QImage Solid(int w, int h, QRgb colour) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

BonusArt SyntheticArt() {
  BonusArt art;
  art.background = Solid(640, 480, kBackground);
  for (int i = 0; i < 8; ++i) {
    art.balls[i] = QImage(110, 880, QImage::Format_RGB32);
    for (int f = 0; f < 8; ++f) {
      for (int y = 0; y < 110; ++y) {
        for (int x = 0; x < 110; ++x) art.balls[i].setPixel(x, f * 110 + y, WalkColour(i, f));
      }
    }
  }
  art.explode = QImage(110, 1430, QImage::Format_RGB32);
  for (int f = 0; f < 13; ++f) {
    for (int y = 0; y < 110; ++y) {
      for (int x = 0; x < 110; ++x) art.explode.setPixel(x, f * 110 + y, ExplodeColour(f));
    }
  }
  art.left_stop_lit = Solid(71, 54, kStopLit);
  art.left_stop_dim = Solid(71, 54, kStopDim);
  art.right_stop_lit = Solid(71, 53, kStopALit);
  art.right_stop_dim = Solid(71, 53, kStopADim);
  return art;
}

// Where ball i stands: two rows of four boxes.
QPoint BallAt(int i) {
  return QPoint(40 + 150 * (i % 4), 210 + 140 * (i / 4));
}

class BonusGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    identity_.GameTitle = "Zelmar Slots";
    state_.CreditsPerLine = 1;
    state_.LinesBet = 9;
    state_.BallPrizes = {10, 5, 2, 2, 1, 1, 0, 0};
    state_.BonusWin = -1;  // not yet written by the window
  }

  // A bonus game just won: no picks recorded yet.
  BonusGameWindow& Open(BonusArt art = SyntheticArt()) {
    state_.BonusPicks = {};
    state_.BonusPickCount = 0;
    return OpenOwed(std::move(art));
  }
  // The bonus game owed as state_ records it, picks and all.
  BonusGameWindow& OpenOwed(BonusArt art = SyntheticArt()) {
    state_.BonusBet = state_.LinesBet * state_.CreditsPerLine;
    window_ = std::make_unique<BonusGameWindow>(state_, identity_, platform_, sounds_,
                                                QSize(800, 600), std::move(art));
    window_->show();
    start_ = platform_.Now();
    return *window_;
  }

  // Clicks the middle of ball i's box.
  void Pick(int i) { window_->PickAt(BallAt(i).x() + 55, BallAt(i).y() + 55); }
  void ClickStop() { window_->PickAt(30, 150); }

  // Moves the clock to `ms` after the window opened.
  void AdvanceTo(uint32_t ms) { platform_.Advance(start_ + ms - platform_.Now()); }

  QRgb BoxPixel(int i, int x = 55, int y = 55) const {
    return window_->Picture().Pixel(BallAt(i).x() + x, BallAt(i).y() + y);
  }

  bool Closed() const { return !window_->isVisible(); }

  GameState state_;
  GameIdentity identity_;
  FakePlatform platform_;
  RecordingSounds sounds_;
  std::unique_ptr<BonusGameWindow> window_;
  uint32_t start_ = 0;
};

// The box of a winning pick as it must look inside its 5-pixel rim: white, the prize centred in
// 24-point bold red in the default font.
QImage ExpectedPrizeBox(int32_t prize) {
  Canvas c(110, 110);
  c.SetPenColor(kWhite);
  c.SetBrushColor(kWhite);
  c.FillRect(0, 0, 110, 110);
  c.SetFontFace(QString::fromLatin1(kUiFace));
  c.SetFontSize(24);
  c.SetFontBold(true);
  c.SetFontColor(kRed);
  c.SetBrushClear(true);
  const QString text = QString::number(prize);
  c.TextOut((110 - c.TextWidth(text)) / 2, (110 - c.TextHeight(text)) / 2, text);
  return c.Image().copy(5, 5, 100, 100);
}

QImage BoxInterior(const BonusGameWindow& window, int i) {
  return window.Picture().Image().copy(BallAt(i).x() + 5, BallAt(i).y() + 5, 100, 100);
}

int RedPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xffffff) == 0xff0000;
  }
  return n;
}

// --- Winning picks and the six-winner end ---------------------------------------------------

TEST_F(BonusGameTest, AllSixWinnersShowTheirPrizesAndPayTheWholeBetTimesTwentyOne) {
  Open();
  const int32_t expected[6] = {90, 45, 18, 18, 9, 9};
  for (int i = 0; i < 6; ++i) {
    Pick(i);
    EXPECT_EQ(window_->Game().Total(), [&] {
      int32_t sum = 0;
      for (int k = 0; k <= i; ++k) sum += expected[k];
      return sum;
    }());
  }
  for (int i = 0; i < 6; ++i) {
    const QImage box = BoxInterior(*window_, i);
    EXPECT_GT(RedPixels(box), 20) << "ball " << i;
    EXPECT_EQ(box, ExpectedPrizeBox(expected[i])) << "ball " << i;
  }
  EXPECT_EQ(sounds_.Count("Win"), 6);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].caption, "Zelmar Slots");
  EXPECT_EQ(platform_.messages[0].text, "You picked all six winners!");

  // The sixth winner collects: the bombs can no longer be picked, and the close follows 1.5 s
  // later with the whole total.
  EXPECT_EQ(window_->Game().PickCount(), 8);
  EXPECT_FALSE(window_->WalkTimer().Enabled());
  EXPECT_FALSE(window_->BlinkTimer().Enabled());
  Pick(6);
  EXPECT_FALSE(window_->Game().Picked(6));
  EXPECT_FALSE(window_->ExplosionTimer().Enabled());
  platform_.Advance(1499);
  EXPECT_FALSE(Closed());
  EXPECT_EQ(state_.BonusWin, -1) << "the result leaves the window only when it closes";
  platform_.Advance(1);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 189);
  EXPECT_EQ(platform_.ActiveTimerCount(), 0);
}

TEST_F(BonusGameTest, PrizeCountsTheWholeBetOfTheSpin) {
  state_.CreditsPerLine = 10;
  state_.LinesBet = 7;
  Open();
  Pick(0);
  EXPECT_EQ(window_->Game().Total(), 700);
  EXPECT_EQ(BoxInterior(*window_, 0), ExpectedPrizeBox(700));
  ClickStop();
  platform_.Advance(1500);
  EXPECT_EQ(state_.BonusWin, 700);
}

// Every pick and the collect is recorded with the owed bonus game and kept as it is made; a
// window opened on recorded picks (a bonus game played on after the program ended) stands where
// they left it, silently, and plays on from there to the same total.
TEST_F(BonusGameTest, PicksAreKeptAsTheyAreMadeAndAGameOpenedOnThemPlaysOnFromThere) {
  int kept = 0;
  Open().KeepPicksWith([&] { ++kept; });
  Pick(0);
  Pick(0);  // picked before: nothing recorded
  Pick(4);
  EXPECT_EQ(kept, 2);
  ASSERT_EQ(state_.BonusPickCount, 2);
  EXPECT_EQ(state_.BonusPicks[0], 0);
  EXPECT_EQ(state_.BonusPicks[1], 4);
  const QImage four = BoxInterior(*window_, 4);

  sounds_.calls.clear();
  OpenOwed().KeepPicksWith([&] { ++kept; });
  EXPECT_TRUE(window_->Game().Picked(0) && window_->Game().Picked(4));
  EXPECT_EQ(window_->Game().Total(), 99);
  EXPECT_EQ(BoxInterior(*window_, 4), four);
  EXPECT_EQ(sounds_.Count("Win"), 0);
  EXPECT_EQ(state_.BonusPickCount, 2);
  Pick(1);
  ClickStop();
  EXPECT_EQ(kept, 4);
  ASSERT_EQ(state_.BonusPickCount, 4);
  EXPECT_EQ(state_.BonusPicks[3], kBonusCollect);
  platform_.Advance(1500);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 144);
  EXPECT_EQ(state_.BonusBet, 0) << "owed no more";

  // Recorded up to the collect, or to the bomb: the game is over as it was, and closes.
  for (const auto& [picks, total] : {std::pair{std::vector<int32_t>{2, kBonusCollect}, 18},
                                     std::pair{std::vector<int32_t>{2, 6}, 0}}) {
    state_.BonusWin = -1;
    state_.BonusPicks = {};
    std::copy(picks.begin(), picks.end(), state_.BonusPicks.begin());
    state_.BonusPickCount = static_cast<int32_t>(picks.size());
    OpenOwed();
    EXPECT_TRUE(window_->Game().Over());
    platform_.Advance(6000);
    EXPECT_TRUE(Closed());
    EXPECT_EQ(state_.BonusWin, total);
  }
}

TEST_F(BonusGameTest, PickedBoxKeepsItsPrizeWhileTheOthersWalk) {
  Open();
  Pick(2);
  const QImage shown = BoxInterior(*window_, 2);
  platform_.Advance(1000);  // ten walking steps
  EXPECT_EQ(BoxInterior(*window_, 2), shown);
  EXPECT_EQ(window_->Balls()[2].frame, 2) << "a picked character stops walking";
}

// --- Clicks that must change nothing --------------------------------------------------------

TEST_F(BonusGameTest, ClicksThatChangeNothing) {
  Open();
  Pick(1);
  const int32_t total = window_->Game().Total();
  const QImage picture = window_->Picture().Image();

  Pick(1);                    // again on the picked ball
  window_->PickAt(170, 260);  // between boxes 0 and 1
  window_->PickAt(300, 50);   // the caption
  EXPECT_EQ(window_->Game().PickCount(), 1);
  EXPECT_EQ(window_->Game().Total(), total);
  EXPECT_EQ(sounds_.Count("Win"), 1);
  EXPECT_EQ(window_->Picture().Image(), picture);
  EXPECT_FALSE(window_->CloseTimer().Enabled());
}

TEST_F(BonusGameTest, HitAreaReachesOnePixelPastTheBox) {
  struct Case {
    int ball, dx, dy;
    bool picks;
  };
  const Case cases[] = {
      {0, 110, 55, true},  {0, 55, 110, true},   {0, 110, 110, true}, {0, 0, 0, true},
      {0, 111, 55, false}, {0, 55, 111, false},  {0, -1, 55, false},  {0, 55, -1, false},
      {7, 110, 110, true}, {7, 111, 110, false}, {5, 0, 110, true},
  };
  state_.BallPrizes = {1, 1, 1, 1, 1, 1, 1, 1};
  for (const Case& c : cases) {
    Open();
    window_->PickAt(BallAt(c.ball).x() + c.dx, BallAt(c.ball).y() + c.dy);
    EXPECT_EQ(window_->Game().Picked(c.ball), c.picks)
        << "ball " << c.ball << " at +" << c.dx << ", +" << c.dy;
    EXPECT_EQ(window_->Game().PickCount(), c.picks ? 1 : 0);
  }
}

TEST_F(BonusGameTest, ClicksOnBallsAfterACollectDoNothing) {
  Open();
  Pick(0);
  ClickStop();
  Pick(1);
  Pick(6);  // a bomb
  EXPECT_FALSE(window_->Game().Picked(1));
  EXPECT_FALSE(window_->Game().Picked(6));
  EXPECT_EQ(window_->Game().Total(), 90);
  EXPECT_FALSE(window_->ExplosionTimer().Enabled());
  EXPECT_EQ(sounds_.Count("Win"), 1);
}

// --- STOP signs -----------------------------------------------------------------------------

TEST_F(BonusGameTest, StopAreasIncludeTheirBoundsAndNothingMore) {
  struct Case {
    int x, y;
    bool collects;
  };
  const Case cases[] = {
      {17, 134, true},   {86, 186, true},   {17, 186, true},   {86, 134, true},  {554, 134, true},
      {622, 186, true},  {16, 150, false},  {87, 150, false},  {50, 133, false}, {50, 187, false},
      {553, 150, false}, {623, 150, false}, {600, 187, false},
  };
  for (const Case& c : cases) {
    Open();
    window_->PickAt(c.x, c.y);
    EXPECT_EQ(window_->CloseTimer().Enabled(), c.collects) << c.x << ", " << c.y;
    EXPECT_EQ(window_->Game().PickCount(), c.collects ? 8 : 0) << c.x << ", " << c.y;
  }
}

TEST_F(BonusGameTest, StopBeforeAnyPickPaysNothingAfterOneAndAHalfSecondsWithoutBlinking) {
  const bool phase = BonusGameWindow::StopBlinkPhase();
  Open();
  const QImage picture = window_->Picture().Image();
  AdvanceTo(300);
  ClickStop();
  EXPECT_FALSE(window_->WalkTimer().Enabled()) << "the characters freeze";
  AdvanceTo(300 + 1499);
  EXPECT_FALSE(Closed());
  AdvanceTo(300 + 1500);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 0);
  EXPECT_EQ(BonusGameWindow::StopBlinkPhase(), phase) << "the signs never blinked";
  EXPECT_EQ(window_->Picture().Pixel(40, 150), kBackground);
  EXPECT_EQ(window_->Picture().Pixel(580, 150), kBackground);
}

TEST_F(BonusGameTest, ASecondCollectDoesNotPutTheCloseBack) {
  Open();
  Pick(4);
  ClickStop();
  platform_.Advance(1000);
  ClickStop();
  window_->PickAt(600, 160);  // the right sign
  platform_.Advance(500);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 9);
}

TEST_F(BonusGameTest, SignsBlinkAlternatelyFromTheFirstWin) {
  Open();
  platform_.Advance(1000);
  EXPECT_FALSE(window_->BlinkTimer().Enabled());
  Pick(0);
  ASSERT_TRUE(window_->BlinkTimer().Enabled());
  for (int tick = 0; tick < 3; ++tick) {
    platform_.Advance(250);
    const bool left_lit = BonusGameWindow::StopBlinkPhase();
    EXPECT_EQ(window_->Picture().Pixel(17, 134), left_lit ? kStopLit : kStopDim);
    EXPECT_EQ(window_->Picture().Pixel(87, 187), left_lit ? kStopLit : kStopDim);  // 71 x 54
    EXPECT_EQ(window_->Picture().Pixel(554, 134), left_lit ? kStopADim : kStopALit);
    EXPECT_EQ(window_->Picture().Pixel(624, 186), left_lit ? kStopADim : kStopALit);  // 71 x 53
    EXPECT_EQ(window_->Picture().Pixel(624, 187), kBackground);
  }
  // A second win must not restart the blink count.
  platform_.Advance(100);
  const bool before = BonusGameWindow::StopBlinkPhase();
  Pick(1);
  platform_.Advance(150);
  EXPECT_NE(BonusGameWindow::StopBlinkPhase(), before);
}

TEST_F(BonusGameTest, BlinkPhaseCarriesOverToTheNextBonusGame) {
  Open();
  Pick(0);
  platform_.Advance(250 * 3);
  const bool phase = BonusGameWindow::StopBlinkPhase();
  ClickStop();
  platform_.Advance(1500);
  ASSERT_TRUE(Closed());

  Open();
  EXPECT_EQ(BonusGameWindow::StopBlinkPhase(), phase);
  Pick(0);
  platform_.Advance(250);
  EXPECT_EQ(BonusGameWindow::StopBlinkPhase(), !phase);
}

// --- The bomb -------------------------------------------------------------------------------

TEST_F(BonusGameTest, BombAfterWinnersLosesEverythingAndShowsInAllEightBoxes) {
  Open();
  Pick(0);
  Pick(1);
  AdvanceTo(1000);
  ASSERT_TRUE(window_->BlinkTimer().Enabled());
  Pick(6);
  EXPECT_EQ(window_->Game().Total(), 0);
  EXPECT_EQ(window_->Game().PickCount(), 8);
  EXPECT_EQ(window_->ExplodeFrame(), -1);
  EXPECT_FALSE(window_->WalkTimer().Enabled());
  EXPECT_FALSE(window_->BlinkTimer().Enabled());
  EXPECT_TRUE(window_->ExplosionTimer().Enabled());
  EXPECT_EQ(window_->ExplosionTimer().Interval(), 250);
  EXPECT_EQ(sounds_.Count("Win"), 2) << "a bomb plays no win sound";

  Pick(2);  // too late: the game is over
  EXPECT_FALSE(window_->Game().Picked(2));

  // Frames 0..4 every 250 ms, then every 200 ms up to frame 12 at 2850 ms.
  const uint32_t bomb = 1000;
  const uint32_t due[13] = {250,  500,  750,  1000, 1250, 1450, 1650,
                            1850, 2050, 2250, 2450, 2650, 2850};
  for (int f = 0; f < 13; ++f) {
    AdvanceTo(bomb + due[f] - 1);
    EXPECT_EQ(window_->ExplodeFrame(), f - 1) << "frame " << f << " early";
    AdvanceTo(bomb + due[f]);
    ASSERT_EQ(window_->ExplodeFrame(), f) << "frame " << f << " late";
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(BoxPixel(i), ExplodeColour(f)) << "ball " << i << ", frame " << f;
      EXPECT_EQ(BoxPixel(i, 0, 0), ExplodeColour(f));
      EXPECT_EQ(BoxPixel(i, 109, 109), ExplodeColour(f));
    }
    EXPECT_EQ(sounds_.Count("Explosion"), f >= 1 ? 1 : 0) << "frame " << f;
  }
  EXPECT_FALSE(window_->ExplosionTimer().Enabled());
  EXPECT_EQ(RedPixels(BoxInterior(*window_, 0)), 0) << "the prize is overdrawn";

  // The window closes 3 s after YOU LOSE, paying nothing.
  AdvanceTo(bomb + 2850 + 2999);
  EXPECT_FALSE(Closed());
  AdvanceTo(bomb + 2850 + 3000);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 0);
  EXPECT_EQ(sounds_.Count("Explosion"), 1);
  EXPECT_EQ(platform_.ActiveTimerCount(), 0);
}

TEST_F(BonusGameTest, StopEarlyInTheExplosionClosesOneAndAHalfSecondsAfterTheClick) {
  Open();
  Pick(3);
  Pick(7);  // bomb at 0
  AdvanceTo(600);
  // A reader's press on a STOP sign does what a click does, and it is shown available while
  // it does something: after the bomb too, not after the collect.
  QAccessibleInterface* dialog = MakeBonusGameAccessible(window_.get());
  const QAccessible::Id dialog_id = QAccessible::registerAccessibleInterface(dialog);
  QAccessibleInterface* stop = nullptr;
  for (int i = 0; i < dialog->childCount() && stop == nullptr; ++i) {
    if (dialog->child(i)->text(QAccessible::Name) == QLatin1String("STOP")) stop = dialog->child(i);
  }
  ASSERT_NE(stop, nullptr);
  EXPECT_FALSE(stop->state().disabled);
  stop->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  EXPECT_TRUE(window_->Collected());
  EXPECT_TRUE(stop->state().disabled);
  QAccessible::deleteAccessibleInterface(dialog_id);
  AdvanceTo(2099);
  EXPECT_FALSE(Closed());
  AdvanceTo(2100);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 0);
  EXPECT_EQ(platform_.ActiveTimerCount(), 0) << "the bomb animation stops with the window";
}

TEST_F(BonusGameTest, StopLateInTheExplosionIsNotPutBackByTheLastFrame) {
  Open();
  Pick(6);  // bomb at 0; frame 12 at 2850
  AdvanceTo(2000);
  ClickStop();
  AdvanceTo(2850);
  EXPECT_EQ(window_->ExplodeFrame(), 12);
  AdvanceTo(3499);
  EXPECT_FALSE(Closed());
  AdvanceTo(3500);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 0);
}

TEST_F(BonusGameTest, StopAfterYouLoseClosesOneAndAHalfSecondsAfterTheClick) {
  Open();
  Pick(6);
  AdvanceTo(4000);  // waiting after frame 12
  ClickStop();
  AdvanceTo(5499);
  EXPECT_FALSE(Closed());
  AdvanceTo(5500);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 0);
}

// --- Walking --------------------------------------------------------------------------------

TEST_F(BonusGameTest, CharactersWalkOutOfStep) {
  Open();
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(window_->Balls()[i].frame, i);
    EXPECT_EQ(window_->Balls()[i].x, BallAt(i).x());
    EXPECT_EQ(window_->Balls()[i].y, BallAt(i).y());
  }
  for (int step = 1; step <= 9; ++step) {
    AdvanceTo(100 * step);
    for (int i = 0; i < 8; ++i) {
      const int frame = (i + step) % 8;
      EXPECT_EQ(window_->Balls()[i].frame, frame);
      EXPECT_EQ(BoxPixel(i), WalkColour(i, frame)) << "ball " << i << ", step " << step;
      EXPECT_EQ(BoxPixel(i, 109, 109), WalkColour(i, frame));
      EXPECT_EQ(window_->Picture().Pixel(BallAt(i).x() + 110, BallAt(i).y() + 55), kBackground);
    }
  }
}

// --- The window -----------------------------------------------------------------------------

TEST_F(BonusGameTest, PictureIsCentredAndTakesClicksInItsOwnCoordinates) {
  Open();
  window_->resize(800, 600);
  EXPECT_EQ(window_->PicturePos(), QPoint(80, 60));
  window_->resize(1920, 1080);
  EXPECT_EQ(window_->PicturePos(), QPoint(640, 300));
  window_->resize(1023, 767);
  EXPECT_EQ(window_->PicturePos(), QPoint(191, 143));

  // On the margin: nothing; on the picture: a pick, with any button.
  QTest::mouseClick(window_.get(), Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(window_->Game().PickCount(), 0);
  QTest::mouseClick(window_.get(), Qt::RightButton, {},
                    QPoint(191, 143) + BallAt(5) + QPoint(3, 3));
  EXPECT_TRUE(window_->Game().Picked(5));
  QTest::mouseClick(window_.get(), Qt::MiddleButton, {}, QPoint(191 + 20, 143 + 140));
  EXPECT_TRUE(window_->CloseTimer().Enabled());
}

TEST_F(BonusGameTest, CannotBeClosedBeforeItsResultIsFixed) {
  Open();
  QTest::keyClick(window_.get(), Qt::Key_Escape);
  QTest::keyClick(window_.get(), Qt::Key_Return);
  EXPECT_FALSE(window_->close());
  window_->reject();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_EQ(state_.BonusWin, -1);

  ClickStop();
  platform_.Advance(1500);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(window_->result(), QDialog::Accepted);
  EXPECT_EQ(state_.BonusWin, 0);
}

TEST_F(BonusGameTest, RunsWithPlainPicturesWhenTheArtIsMissing) {
  BonusArt broken;
  broken.balls[3] = QImage(110, 5, QImage::Format_RGB32);  // too short for eight frames
  broken.explode = QImage(110, 1430, QImage::Format_Indexed8);
  broken.explode.setColorCount(1);
  broken.explode.setColor(0, qRgb(1, 2, 3));
  broken.explode.fill(0);
  Open(std::move(broken));
  EXPECT_EQ(window_->FrameWidth(), 110);
  EXPECT_EQ(window_->FrameHeight(), 110);
  platform_.Advance(300);
  Pick(0);
  EXPECT_EQ(BoxInterior(*window_, 0), ExpectedPrizeBox(90));
  Pick(6);
  platform_.Advance(250);
  EXPECT_EQ(BoxPixel(3), qRgb(1, 2, 3)) << "a usable strip of another format is used as it is";
  platform_.Advance(6000);
  EXPECT_TRUE(Closed());
  EXPECT_EQ(state_.BonusWin, 0);
}

TEST_F(BonusGameTest, ScreenDpiDecidesWhetherTheWindowIsAlsoMaximised) {
  platform_.dpi = 96;
  Open();
  EXPECT_TRUE(window_->windowState() & Qt::WindowFullScreen);
  EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
  platform_.dpi = 120;
  window_ = std::make_unique<BonusGameWindow>(state_, identity_, platform_, sounds_,
                                              QSize(800, 600), SyntheticArt());
  EXPECT_FALSE(window_->windowState() & Qt::WindowFullScreen);
  EXPECT_EQ(window_->size(), QSize(800, 600));
}

// The pictures carried with the program decode through our own JPEG reader at the sizes the
// layout is built on.
TEST(BonusArtTest, BuiltInPicturesHaveTheSizesTheLayoutNeeds) {
  ASSERT_TRUE(QDir(QStringLiteral(":/art/bonus")).exists()) << "no bonus art in this build";
  int failures = -1;
  const BonusArt art = BonusArt::LoadBuiltIn(&failures);
  EXPECT_EQ(failures, 0);
  EXPECT_EQ(art.background.size(), QSize(640, 480));
  for (const QImage& strip : art.balls) EXPECT_EQ(strip.size(), QSize(110, 880));
  EXPECT_EQ(art.explode.size(), QSize(110, 1430));
  EXPECT_EQ(art.left_stop_lit.size(), QSize(71, 54));
  EXPECT_EQ(art.left_stop_dim.size(), QSize(71, 54));
  EXPECT_EQ(art.right_stop_lit.size(), QSize(71, 53));
  EXPECT_EQ(art.right_stop_dim.size(), QSize(71, 53));
}

}  // namespace
