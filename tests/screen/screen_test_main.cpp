// Test entry for the screen tests: a QGuiApplication on the offscreen platform (drawing needs
// fonts, not a display) and the game's font substitutes.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/canvas.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  InstallFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
