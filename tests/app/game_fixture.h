// A main window on the offscreen platform with a virtual clock, recorded sounds and messages,
// and helpers to find seeds whose next spin lands the way a test needs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/main_window.h"
#include "engine/paytable.h"
#include "engine/reels.h"
#include "screen/scale.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_sounds.h"

// What the next spin from a seed shows, computed with the engine alone.
inline GameState PredictSpin(uint32_t seed, int linesBet, int perLine, int blurHeight = 912) {
  GameState g;
  g.Random.SetSeed(seed);
  BuildReelStrips(g);
  g.LinesBet = linesBet;
  g.CreditsPerLine = perLine;
  std::array<int, kReels> offsets{};
  DrawSpinStops(g, blurHeight, offsets);
  ScoreSpin(g);
  return g;
}

// The first seed from 1 on whose first spin satisfies the condition.
inline uint32_t FindSeed(int linesBet, int perLine,
                         const std::function<bool(const GameState&)>& want) {
  for (uint32_t seed = 1; seed < 2000000; ++seed) {
    if (want(PredictSpin(seed, linesBet, perLine))) return seed;
  }
  ADD_FAILURE() << "no seed found";
  return 0;
}

class GameFixture : public ::testing::Test {
 protected:
  // Creates the main window; `with` replaces the recorded sounds when a test needs its own.
  void Start(uint32_t seed = 1, int width = 800, int height = 600, int dpi = 120,
             GameSounds* with = nullptr) {
    platform.Width = width;
    platform.Height = height;
    platform.Dpi = dpi;
    StartOptions options;
    options.Seed = seed;
    options.ProgramFile = QDir(dir.path()).filePath("zelmar-slots").toStdString();
    form = std::make_unique<TForm1>(state, platform, with ? *with : sounds, options);
    form->show();
    platform.ProcessMessages();
  }

  // Ends start-up: the first tick of Timer1.
  void Ready() { platform.Advance(250); }

  // Window pixel of a design point, the way the game scales it.
  static int S(int v) { return Scale(v); }

  void ClickDesign(int x, int y, Qt::MouseButton button = Qt::LeftButton) {
    form->FormMouseDown(button, S(x), S(y));
  }
  void ClickSpin(Qt::MouseButton button = Qt::LeftButton) { ClickDesign(630, 500, button); }
  void ClickMaxBet() { ClickDesign(570, 500); }
  void ClickLines(int button) {
    static const int xs[] = {0, 190, 250, 310, 370, 430};
    ClickDesign(xs[button], 492);
  }
  void ClickCredits(int button) {
    static const int xs[] = {0, 0, 0, 0, 0, 0, 215, 275, 340, 400, 460};
    ClickDesign(xs[button], 508);
  }

  QTemporaryDir dir;
  FakePlatform platform;
  RecordingSounds sounds;
  GameState state;
  std::unique_ptr<TForm1> form;
};
