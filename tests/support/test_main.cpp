// Entry point of the window tests: a QApplication on Qt's offscreen platform, with the game's
// font substitutes installed, around the whole GoogleTest run.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/canvas.h"

int main(int argc, char** argv) {
  // CTest sets the platform and its screen file; a test run by hand (or listed for discovery)
  // still needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
#ifdef ZELMAR_OFFSCREEN_CONFIG_PATH
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ZELMAR_OFFSCREEN_CONFIG_PATH);
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
  }
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  return RUN_ALL_TESTS();
}
