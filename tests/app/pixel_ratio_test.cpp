// The game on a desktop scaled to 150 %, as a player starts it: the cabinet is laid out for the
// screen's own pixels and drawn in them, and so is the payoff chart the menu opens; nothing is
// laid out in window units and enlarged on the way to the screen.
//
// Runs as a program of its own: Qt takes the desktop's scale once, as the application starts.
#include "platform/pixel_ratio.h"

#include <QApplication>
#include <QImage>
#include <QLabel>

#include "screen/layout_width.h"
#include "tests/app/game_fixture.h"
#include "windows/payoff_chart.h"

namespace {

constexpr double kRatio = 1.5;

using AtRatio150 = GameFixture;

TEST_F(AtRatio150, TheStartLaysTheCabinetOutForTheScreensPixelsAndShowsThemOneForOne) {
  Start(1, 1280, 720, 120);
  Ready();
  ASSERT_EQ(window_->devicePixelRatioF(), kRatio);
  const ScreenScale& scale = Layout().scale;
  const QSize area = game_->View().size();
  EXPECT_EQ(scale.ratio, kRatio);
  EXPECT_EQ(scale.layout_width, LayoutWidth(1280, area.width(), area.height()));
  // The surface holds the cabinet at its width in device pixels, its cells as large.
  EXPECT_EQ(Surface().Width(), ScaleAt(DevicePixels(scale.layout_width, kRatio), 800));
  EXPECT_EQ(Layout().CellSize, ScaleAt(DevicePixels(scale.layout_width, kRatio), 76));
  // What the game area shows is the surface, pixel for pixel.
  const QImage shown = game_->View().grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage cabinet = Surface().Image().convertToFormat(QImage::Format_RGB32);
  ASSERT_GE(shown.width(), scale.offset + cabinet.width());
  const QRect rows(0, 0, cabinet.width(), std::min(cabinet.height(), shown.height()));
  EXPECT_EQ(shown.copy(rows.translated(scale.offset, 0)), cabinet.copy(rows));
}

TEST_F(AtRatio150, ThePayoffChartFromItsMenuIsDrawnInTheScreensPixelsAndFitsItsWindow) {
  Start(1, 1280, 720, 120);
  Ready();
  const ScreenScale cabinet = Layout().scale;
  bool opened = false;
  platform_.on_modal = [&](QDialog* dialog) {
    auto* chart = dynamic_cast<PayoffChartWindow*>(dialog);
    ASSERT_NE(chart, nullptr);
    opened = true;
    const ScreenScale& glass = chart->GlassScale();
    EXPECT_EQ(glass.ratio, kRatio);
    EXPECT_LE(glass.layout_width, cabinet.layout_width);
    EXPECT_EQ(chart->Surface().Width(), glass.DeviceWidth());
    EXPECT_EQ(chart->Surface().Height(), DevicePixels(chart->height(), kRatio));
    // Every character and text of the glass is in the window.
    for (int i = 0; i < PayoffChartWindow::kCharacters; ++i) {
      if (chart->Character(i)->isHidden()) continue;
      EXPECT_LE(chart->Character(i)->geometry().bottom(), chart->height()) << i;
    }
    for (size_t i = 0; i < chart->Texts().size(); ++i) {
      const PayoffChartWindow::DrawnText& text = chart->Texts()[i];
      EXPECT_LT(text.y, chart->Surface().Height()) << text.text.toStdString();
      // A reader is told each text stands where it is drawn, in window units.
      const QRect place = chart->TextPlace(i);
      EXPECT_NEAR((place.center().x() - chart->GlassLeft()) * kRatio, text.x + text.width / 2.0,
                  2 * kRatio)
          << text.text.toStdString();
      EXPECT_NEAR(place.center().y() * kRatio, text.y + text.height / 2.0, 2 * kRatio)
          << text.text.toStdString();
    }
    dialog->accept();
  };
  Item("&Payoffs")->trigger();
  EXPECT_TRUE(opened);
}

}  // namespace

int main(int argc, char** argv) {
  // The desktop's scale; the screen is 1920 x 1080 device pixels.
  qputenv("QT_SCALE_FACTOR", "1.5");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZELMAR_OFFSCREEN_1080_CONFIG);
  }
  QTemporaryDir data_home;
  qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  return RUN_ALL_TESTS();
}
