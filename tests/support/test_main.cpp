// Entry point of the window tests: a QApplication on Qt's offscreen platform, with the game's
// font substitutes installed, around the whole GoogleTest run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

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
  // Saved games go to a folder of this run, never to the player's own.
  QTemporaryDir data_home;
  qputenv("XDG_DATA_HOME", data_home.path().toUtf8());
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  return RUN_ALL_TESTS();
}
