// The game's sound and music rules, over a player that records what it is asked.
#include "shell/game_audio.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>
#include <initializer_list>

#include "shell/identity.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_player.h"

namespace {

using Calls = std::vector<std::string>;

class Audio : public ::testing::Test {
 protected:
  void SetUp() override {
    identity.AppDir = QDir(dir.path()).absolutePath().toStdString() + "/";
    identity.SoundRoot = "Zelmar";
    identity.GameTitle = "Zelmar Slots";
    player.Root = identity.AppDir;
  }

  void Write(const std::string& name, const std::string& content) {
    std::ofstream(identity.AppDir + name, std::ios::binary) << content;
  }
  void WriteTracks(std::initializer_list<int> tracks) {
    for (int n : tracks) Write(identity.SoundRoot + std::to_string(n) + ".mid", "MThd");
  }
  // Start-up as the main window runs it, up to the end of start-up.
  void Start(bool with_effects = true) {
    if (with_effects) {
      Write(identity.SoundRoot + "0.wav", "reel");
      Write(identity.SoundRoot + "3.wav", "tick");
      for (const char* ending : {"Win.wav", "E.wav", "7.wav", "5.wav"}) {
        Write(identity.SoundRoot + ending, "RIFF");
      }
    }
    audio = std::make_unique<GameAudio>(player, platform);
    audio->LoadSounds(identity);
    audio->FindMusicTracks();
    audio->QueueFirstTrack();
    audio->PlayStartSound();
  }
  // Each track heard while the music runs through `count` track ends.
  std::vector<int> PlayedTracks(int count) {
    std::vector<int> heard;
    auto note = [&] {
      for (const std::string& call : player.Take()) {
        if (call.rfind("open ", 0) == 0) heard.push_back(call[call.size() - 5] - '0');
      }
    };
    platform.Advance(GameAudio::kMusicTickMs);
    note();
    for (int i = 0; i < count; ++i) {
      player.EndTrack();
      platform.Advance(GameAudio::kMusicTickMs);
      note();
    }
    return heard;
  }

  QTemporaryDir dir;
  GameIdentity identity;
  FakePlatform platform;
  RecordingPlayer player;
  std::unique_ptr<GameAudio> audio;
};

TEST_F(Audio, TracksPlayInAscendingOrderSkippingGapsAndWrapAround) {
  const struct {
    std::initializer_list<int> present;
    std::vector<int> heard;
  } cases[] = {
      {{0, 3, 7}, {0, 3, 7, 0, 3}},
      {{9}, {9, 9, 9}},
      {{5}, {5, 5, 5}},
      {{2, 4}, {2, 4, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.heard));
    for (int n = 0; n < 10; ++n)
      std::remove((identity.AppDir + "Zelmar" + std::to_string(n) + ".mid").c_str());
    WriteTracks(c.present);
    audio.reset();
    player.Take();
    Start();
    EXPECT_EQ(PlayedTracks(static_cast<int>(c.heard.size()) - 1), c.heard);
  }
}

TEST_F(Audio, ATrackThatEndedClosesAndTheNextStartsWithinOneTick) {
  WriteTracks({5});
  Start();
  platform.Advance(GameAudio::kMusicTickMs);
  EXPECT_EQ(player.Take(), (Calls{"file Zelmar7.wav", "open Zelmar5.mid", "play"}));
  player.EndTrack(MusicEnd::kStopped);  // not an end of play: nothing changes
  platform.Advance(GameAudio::kMusicTickMs);
  EXPECT_TRUE(player.Take().empty());
  player.EndTrack();
  EXPECT_EQ(player.Take(), Calls{"close"});
  EXPECT_EQ(audio->TrackIndex(), 15);
  platform.Advance(GameAudio::kMusicTickMs - 1);
  platform.Advance(1);
  EXPECT_EQ(player.Take(), (Calls{"open Zelmar5.mid", "play"}));
  EXPECT_EQ(audio->TrackIndex(), 5);
}

TEST_F(Audio, ASpinStartsAPendingTrackAtOnceAndTheTimerFindsNothingLeft) {
  WriteTracks({0});
  Start();
  player.Take();
  audio->StartPendingTrack();
  EXPECT_EQ(player.Take(), (Calls{"open Zelmar0.mid", "play"}));
  platform.Advance(GameAudio::kMusicTickMs);
  EXPECT_TRUE(player.Take().empty());
}

TEST_F(Audio, MusicOffAndOnRestartsTheTrackThenTheOrderGoesOn) {
  WriteTracks({0, 3, 7});
  Start();
  PlayedTracks(1);  // track 3 is playing
  audio->SwitchMusic();
  EXPECT_FALSE(audio->MusicOn());
  EXPECT_EQ(player.Take(), Calls{"close"});
  audio->SwitchMusic();
  EXPECT_EQ(player.Take(), (Calls{"open Zelmar3.mid", "play"}));
  EXPECT_EQ(PlayedTracks(1), (std::vector<int>{7}));
}

TEST_F(Audio, MusicSwitchedWhileATrackIsPending) {
  WriteTracks({0, 3});
  Start();
  PlayedTracks(0);
  player.EndTrack();  // track 3 pending
  player.Take();
  // Off: the pending start waits, whatever the timer does meanwhile.
  audio->SwitchMusic();
  platform.Advance(5 * GameAudio::kMusicTickMs);
  audio->StartPendingTrack();
  EXPECT_TRUE(player.Take().empty());
  // On: the switch itself starts the track that was waiting.
  audio->SwitchMusic();
  EXPECT_EQ(player.Take(), (Calls{"open Zelmar3.mid", "play"}));
  EXPECT_EQ(audio->TrackIndex(), 3);
  platform.Advance(GameAudio::kMusicTickMs);
  EXPECT_TRUE(player.Take().empty());
}

TEST_F(Audio, MusicSwitchedBeforeStartUpEnds) {
  WriteTracks({4});
  audio = std::make_unique<GameAudio>(player, platform);
  audio->LoadSounds(identity);
  audio->FindMusicTracks();
  audio->SwitchMusic();  // off before the first track was chosen
  audio->QueueFirstTrack();
  platform.Advance(GameAudio::kMusicTickMs);
  EXPECT_EQ(audio->TrackIndex(), -1);
  player.Take();
  audio->SwitchMusic();
  EXPECT_EQ(player.Take(), (Calls{"open Zelmar4.mid", "play"}));
}

TEST_F(Audio, SoundOffSilencesEveryEffectButTheWinSound) {
  Start();
  player.Take();
  audio->SwitchSound();
  EXPECT_FALSE(audio->SoundOn());
  audio->PlayReelStopSound();
  audio->PlayCountSound();
  audio->PlayExplosionSound();
  audio->PlayStartSound();
  audio->PlayBonusSound();
  audio->PlayWinSound(true);
  audio->PlayWinSound(false);
  EXPECT_EQ(player.Take(), (Calls{"file ZelmarWin.wav wait", "file ZelmarWin.wav"}));
  audio->SwitchSound();
  audio->PlayReelStopSound();
  audio->PlayCountSound();
  audio->PlayExplosionSound();
  audio->PlayBonusSound();
  EXPECT_EQ(player.Take(),
            (Calls{"memory reel", "memory tick", "file ZelmarE.wav", "file Zelmar5.wav"}));
}

TEST_F(Audio, EveryFileFollowsTheSoundRoot) {
  QDir(dir.path()).mkpath("Gold");
  identity.SoundRoot = "Gold/Alt";
  WriteTracks({1});
  Start();
  audio->PlayWinSound(true);
  audio->PlayReelStopSound();
  audio->PlayCountSound();
  platform.Advance(GameAudio::kMusicTickMs);
  EXPECT_EQ(player.Take(), (Calls{"file Gold/Alt7.wav", "file Gold/AltWin.wav wait", "memory reel",
                                  "memory tick", "open Gold/Alt1.mid", "play"}));
  EXPECT_TRUE(platform.Messages.empty());
}

TEST_F(Audio, MissingMemorySoundsAreReportedOnceAndFallBackToTheDefaultSound) {
  Write("Zelmar3.wav", "bad bytes");  // present but not a sound
  Write("ZelmarWin.wav", "bad bytes");
  Start(/*with_effects=*/false);
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].caption, "Zelmar Slots");
  EXPECT_EQ(platform.Messages[0].text.toStdString(),
            "File not found: " + identity.AppDir + "Zelmar0.wav");
  player.Take();
  audio->PlayReelStopSound();
  audio->PlayCountSound();
  audio->PlayWinSound(true);  // unplayable: the default sound, waited for all the same
  EXPECT_EQ(player.Take(), (Calls{"memory <long>", "memory <long>", "file ZelmarWin.wav wait",
                                  "memory <long> wait"}));
}

TEST_F(Audio, WithoutADeviceEverythingIsSilentAndSaidOnce) {
  player.Device = false;
  WriteTracks({0, 1});
  Start();
  for (int spin = 0; spin < 3; ++spin) {
    audio->StartPendingTrack();
    for (int r = 0; r < 5; ++r) audio->PlayReelStopSound();
    audio->PlayWinSound(true);
    player.EndTrack();
    platform.Advance(GameAudio::kMusicTickMs);
  }
  audio->SwitchMusic();
  audio->SwitchMusic();
  EXPECT_TRUE(player.Take().empty());
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_TRUE(platform.Messages[0].text.contains("No sound device"));
}

TEST_F(Audio, AFailedOpenIsShownAndNoTrackFollowsUntilMusicIsSwitchedAgain) {
  WriteTracks({0, 3});
  player.FailOpen = true;
  Start();
  platform.Advance(10 * GameAudio::kMusicTickMs);
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].text, "The music can't be played: the device is busy");
  EXPECT_EQ(audio->TrackIndex(), 0);
  player.FailOpen = false;
  audio->SwitchMusic();
  audio->SwitchMusic();
  EXPECT_EQ(player.Take().back(), "play");
}

TEST_F(Audio, NoTrackAtAllIsShownAtStartAndOnEachMusicOn) {
  Start();
  platform.Advance(GameAudio::kMusicTickMs);
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_TRUE(platform.Messages[0].text.endsWith("Zelmar9.mid"));
  audio->SwitchMusic();
  audio->SwitchMusic();
  EXPECT_EQ(platform.Messages.size(), 2u);
}

TEST_F(Audio, ARemovedTrackIsSkippedAndTheMusicClosesWhenTheGameEnds) {
  WriteTracks({0, 3, 7});
  Start();
  PlayedTracks(0);
  std::remove((identity.AppDir + "Zelmar3.mid").c_str());
  EXPECT_EQ(PlayedTracks(1), (std::vector<int>{7}));
  audio.reset();
  EXPECT_EQ(player.Take(), Calls{"close"});
}

}  // namespace
