// The borrow dialog and the statistics window, as the player sees them, in an English and a
// German locale (whose separators are the other way round).
#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <limits>
#include <string>

#include "engine/game_state.h"
#include "engine/loans.h"
#include "platform/help_viewer.h"
#include "shell/identity.h"
#include "synthetic_art.h"
#include "tests/support/fake_platform.h"
#include "windows/borrow_dialog.h"
#include "windows/statistics_window.h"

namespace {

struct Notation {
  const char* locale;
  QChar group;    // thousands separator
  QChar decimal;  // decimal separator
};

class SideWindows : public testing::TestWithParam<Notation> {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale(QString::fromLatin1(GetParam().locale)));
    identity_.GameTitle = "Zelmar Slots";
    state_.Credits = 1000;
    state_.Borrowed = 1000;
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  // "1,000.5" written in the locale under test: ',' is the group and '.' the decimal mark.
  QString Local(const char* english) const {
    QString s = QString::fromLatin1(english);
    for (QChar& c : s) c = c == u',' ? GetParam().group : c == u'.' ? GetParam().decimal : c;
    return s;
  }

  // The digits a meter shows, read back from the synthetic digit colours; '?' for a cell that
  // holds no digit.
  static std::string Meter(const Canvas& surface, int left, int cells, bool green) {
    std::string digits;
    for (int i = 0; i < cells; ++i) {
      const QRgb seen = surface.Pixel(left + 16 * i + 3, 50) | 0xff000000u;
      char d = '?';
      for (int v = 0; v < 10; ++v) {
        const QRgb want = green ? synthetic::GreenDigit(v, 3) : synthetic::RedDigit(v, 3);
        if (seen == (want | 0xff000000u)) d = static_cast<char>('0' + v);
      }
      digits += d;
    }
    return digits;
  }

  QString Stat(StatisticsWindow& w, StatisticsWindow::Figure f) { return w.Value(f)->text(); }

  GameState state_;
  GameIdentity identity_;
  MainArt art_ = synthetic::MakeArt();
  FakePlatform platform_;
};

INSTANTIATE_TEST_SUITE_P(Locales, SideWindows,
                         testing::Values(Notation{"en_US", u',', u'.'},
                                         Notation{"de_DE", u'.', u','}),
                         [](const auto& row) { return std::string(row.param.locale); });

TEST_P(SideWindows, BorrowDialogOpensInBorrowModeWithItsControlsInPlace) {
  BorrowDialog dialog(state_, identity_, art_, platform_);
  EXPECT_EQ(dialog.size(), QSize(582, 300));
  EXPECT_EQ(dialog.windowTitle(), "Use this form to borrow or pay back credits");
  EXPECT_TRUE(dialog.BorrowMode()->isChecked());
  EXPECT_FALSE(dialog.PayBackMode()->isChecked());
  const int lefts[] = {89, 201, 313, 425};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(dialog.Chip(i)->geometry(), QRect(lefts[i], 104, 80, 57)) << i;
    EXPECT_EQ(HelpContextOf(dialog.Chip(i)), 41005);
  }
  // Each chip paints its carried picture on an ordinary screen. On a screen of device pixel
  // ratio 2 it paints the 2x master itself, at 1.5 that master reduced to 120 x 86 pixels, at 3
  // the 4x master reduced to 240 x 171: always sharp, never an enlarged picture.
  const char* files[] = {"chip_1000", "chip_100", "chip_10", "chip_1"};
  for (int i = 0; i < 4; ++i) {
    const auto* chip = dynamic_cast<const ChipButton*>(dialog.Chip(i));
    ASSERT_NE(chip, nullptr);
    const QString file = QStringLiteral(":/art/main/") + QLatin1String(files[i]);
    const QImage picture(file + ".png"), master(file + "_2x.png");
    ASSERT_EQ(picture.size(), QSize(80, 57)) << i;
    ASSERT_EQ(master.size(), QSize(160, 114)) << i;
    EXPECT_EQ(chip->PictureFor(1.0), picture) << i;
    QImage sharp = chip->PictureFor(2.0);
    EXPECT_EQ(sharp.devicePixelRatio(), 2.0) << i;
    sharp.setDevicePixelRatio(1.0);
    EXPECT_EQ(sharp, master) << i;
    EXPECT_EQ(chip->PictureFor(1.5).size(), QSize(120, 86)) << i;
    EXPECT_EQ(chip->PictureFor(1.5).devicePixelRatio(), 1.5) << i;
    EXPECT_EQ(chip->PictureFor(3.0).size(), QSize(240, 171)) << i;
  }
  EXPECT_EQ(dialog.BorrowMode()->geometry(), QRect(147, 192, 190, 33));
  EXPECT_EQ(dialog.PayBackMode()->geometry(), QRect(355, 192, 190, 33));
  EXPECT_EQ(dialog.OkButton()->geometry(), QRect(442, 246, 127, 46));
  EXPECT_EQ(dialog.HelpButton()->geometry(), QRect(10, 246, 127, 46));
  EXPECT_TRUE(dialog.OkButton()->isDefault());
  EXPECT_EQ(HelpContextOf(&dialog), 41003);
  EXPECT_EQ(HelpContextOf(dialog.PayBackMode()), 41005);

  dialog.HelpButton()->click();
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text,
            "Use this screen to borrow credits or pay back credits that you borrowed "
            "previously.  Click on the button representing the amount to borrow (or pay "
            "back).\n\nTo switch between \"borrow\" and \"pay back\" select the mode.");
}

TEST_P(SideWindows, BorrowingTwiceFromANewGameShowsTheNewTotalsOnTheMeters) {
  BorrowDialog dialog(state_, identity_, art_, platform_);
  EXPECT_EQ(Meter(dialog.Surface(), 20, 4, true), "1000");
  dialog.Chip(0)->click();
  dialog.Chip(0)->click();
  EXPECT_EQ(state_.Borrowed, 3000);
  EXPECT_EQ(state_.Credits, 3000);
  EXPECT_EQ(Meter(dialog.Surface(), 20, 4, true), "3000");
  EXPECT_EQ(Meter(dialog.Surface(), 552 - 64, 4, false), "3000") << "credits end at 552";
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_P(SideWindows, PayingBackIsRefusedBeyondTheCreditsFirstThenBeyondTheLoan) {
  state_.Credits = 50;
  BorrowDialog dialog(state_, identity_, art_, platform_);
  dialog.PayBackMode()->click();
  dialog.Chip(1)->click();
  dialog.Chip(0)->click();
  ASSERT_EQ(platform_.messages.size(), 2u);
  EXPECT_EQ(platform_.messages[0].text, Local("You do not have  100.00 credits!"));
  EXPECT_EQ(platform_.messages[1].text, Local("You do not have 1000.00 credits!"))
      << "no grouping in the amount";
  EXPECT_EQ(platform_.messages[0].caption, "Zelmar Slots");
  EXPECT_EQ(state_.Credits, 50);
  EXPECT_EQ(state_.Borrowed, 1000);

  // Down to one credit fewer than a chip: that chip is refused, the $1 chip pays one back.
  for (int i = 0; i < 4; ++i) dialog.Chip(2)->click();
  dialog.Chip(3)->click();
  EXPECT_EQ(state_.Credits, 9);
  EXPECT_EQ(state_.Borrowed, 959);
  dialog.Chip(2)->click();
  ASSERT_EQ(platform_.messages.size(), 3u);
  EXPECT_EQ(platform_.messages[2].text, Local("You do not have   10.00 credits!"));
  for (int i = 0; i < 9; ++i) dialog.Chip(3)->click();
  EXPECT_EQ(state_.Credits, 0);
  EXPECT_EQ(state_.Borrowed, 950);
  EXPECT_EQ(Meter(dialog.Surface(), 20, 4, true), "950?") << "the shorter number leaves no digit";
  EXPECT_EQ(Meter(dialog.Surface(), 552 - 16, 1, false), "0");

  state_.Credits = 5000;
  state_.Borrowed = 1000;
  dialog.Chip(0)->click();
  EXPECT_EQ(state_.Borrowed, 0);
  EXPECT_EQ(Meter(dialog.Surface(), 20, 4, true), "0???");
  dialog.Chip(3)->click();
  EXPECT_EQ(platform_.messages.back().text,
            "You cannot pay back more credits than you have borrowed!");
  EXPECT_EQ(state_.Credits, 4000);
  EXPECT_EQ(state_.Borrowed, 0);
}

TEST_P(SideWindows, SwitchingTheModeChangesNothingUntilAChipIsPressed) {
  BorrowDialog dialog(state_, identity_, art_, platform_);
  const QImage before = dialog.Surface().Image().copy();
  // Credits changed behind the dialog's back: a repaint would show them on the meter.
  state_.Credits = 777;
  dialog.PayBackMode()->click();
  dialog.BorrowMode()->click();
  EXPECT_EQ(dialog.Surface().Image(), before);
  EXPECT_EQ(state_.Credits, 777);
  EXPECT_EQ(state_.Borrowed, 1000);
}

TEST_P(SideWindows, ALoanPastTheLargestCountableAmountIsRefusedWithAClearMessage) {
  state_.Credits = std::numeric_limits<int32_t>::max() - 500;
  BorrowDialog dialog(state_, identity_, art_, platform_);
  dialog.Chip(0)->click();
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_TRUE(platform_.messages[0].text.contains(Local("2,147,483,647")))
      << platform_.messages[0].text.toStdString();
  EXPECT_EQ(state_.Credits, std::numeric_limits<int32_t>::max() - 500);
  EXPECT_EQ(state_.Borrowed, 1000);
  dialog.Chip(1)->click();
  EXPECT_EQ(state_.Borrowed, 1100);
}

TEST_P(SideWindows, StatisticsOfANewGame) {
  StatisticsWindow window(state_);
  using F = StatisticsWindow::Figure;
  EXPECT_EQ(window.size(), QSize(632, 207));
  EXPECT_EQ(window.windowTitle(), "Your Game Statistics");
  EXPECT_EQ(Stat(window, F::kSpins), "         0");
  EXPECT_EQ(Stat(window, F::kCredits), Local("     1,000"));
  EXPECT_EQ(Stat(window, F::kBorrowed), Local("     1,000"));
  EXPECT_EQ(Stat(window, F::kTotalBets), "         0");
  EXPECT_EQ(Stat(window, F::kPayoffs), "         0");
  EXPECT_EQ(Stat(window, F::kNormalPayoffs), "         0");
  EXPECT_EQ(Stat(window, F::kBonusPayoffs), "0");
  EXPECT_EQ(Stat(window, F::kPercentage), Local("0.00%"));
  const struct {
    F figure;
    int right, top;
  } places[] = {{F::kSpins, 281, 14},        {F::kCredits, 281, 70},
                {F::kBorrowed, 281, 126},    {F::kTotalBets, 609, 14},
                {F::kPayoffs, 609, 46},      {F::kNormalPayoffs, 585, 70},
                {F::kBonusPayoffs, 585, 94}, {F::kPercentage, 617, 126}};
  for (const auto& p : places) {
    const QRect g = window.Value(p.figure)->geometry();
    EXPECT_EQ(g.x() + g.width(), p.right) << static_cast<int>(p.figure);
    EXPECT_EQ(g.y(), p.top);
  }
  EXPECT_EQ(window.OkButton()->geometry(), QRect(536, 168, 89, 33));
}

TEST_P(SideWindows, StatisticsSplitPayoffsAndKeepThePercentageThroughLoans) {
  using F = StatisticsWindow::Figure;
  state_.SpinCount = 1234;
  state_.TotalBet = 90;
  state_.Credits = 955;  // 90 staked, 45 returned
  {
    StatisticsWindow window(state_);
    EXPECT_EQ(Stat(window, F::kSpins), Local("     1,234"));
    EXPECT_EQ(Stat(window, F::kPayoffs), "        45");
    EXPECT_EQ(Stat(window, F::kPercentage), Local("50.00%"));
  }
  ASSERT_EQ(ApplyLoan(state_, LoanMode::kBorrow, 1000), LoanOutcome::kDone);
  ASSERT_EQ(ApplyLoan(state_, LoanMode::kPayBack, 10), LoanOutcome::kDone);
  {
    StatisticsWindow window(state_);
    EXPECT_EQ(Stat(window, F::kPayoffs), "        45");
    EXPECT_EQ(Stat(window, F::kPercentage), Local("50.00%"));
  }
  state_.Credits += 189;
  state_.BonusPayoffs = 189;
  {
    StatisticsWindow window(state_);
    EXPECT_EQ(Stat(window, F::kBonusPayoffs), "189");
    EXPECT_EQ(Stat(window, F::kPayoffs), "       234");
    EXPECT_EQ(Stat(window, F::kNormalPayoffs), "        45");
  }
}

TEST_P(SideWindows, StatisticsShowEveryDigitOfLargeFigures) {
  using F = StatisticsWindow::Figure;
  state_.TotalBet = 1000;
  state_.Credits = 1234;  // payoffs 1234 on 1000 staked
  {
    StatisticsWindow window(state_);
    EXPECT_EQ(Stat(window, F::kPercentage), Local("123.40%"));
  }
  // A saved game whose sums pass the 32-bit range: shown whole, not wrapped.
  state_.Credits = std::numeric_limits<int32_t>::max();
  state_.Borrowed = 0;
  state_.TotalBet = std::numeric_limits<int32_t>::max();
  state_.BonusPayoffs = 1234567;
  StatisticsWindow window(state_);
  EXPECT_EQ(Stat(window, F::kPayoffs), Local("4,294,967,294"));
  EXPECT_EQ(Stat(window, F::kNormalPayoffs), Local("4,293,732,727"));
  EXPECT_EQ(Stat(window, F::kBonusPayoffs), "1234567");
  EXPECT_EQ(Stat(window, F::kPercentage), Local("200.00%"));
}

}  // namespace
