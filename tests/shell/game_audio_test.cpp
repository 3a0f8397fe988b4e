// The game's sound and music rules, over a player_ that records what it is asked.
#include "shell/game_audio.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
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
    identity_.AppDir = QDir(dir_.path()).absolutePath().toStdString() + "/";
    identity_.SoundRoot = "Zelmar";
    identity_.GameTitle = "Zelmar Slots";
    player_.root = identity_.AppDir;
  }

  void Write(const std::string& name, const std::string& content) {
    std::ofstream(identity_.AppDir + name, std::ios::binary) << content;
  }
  void WriteTracks(std::initializer_list<int> tracks) {
    for (int n : tracks) Write(identity_.SoundRoot + std::to_string(n) + ".mid", "MThd");
  }
  // Start-up as the main window runs it, up to the end of start-up.
  void Start(bool with_effects = true) {
    if (with_effects) {
      Write(identity_.SoundRoot + "0.wav", "reel");
      Write(identity_.SoundRoot + "3.wav", "tick");
      for (const char* ending : {"Win.wav", "E.wav", "7.wav", "5.wav"}) {
        Write(identity_.SoundRoot + ending, "RIFF");
      }
    }
    audio_ = std::make_unique<GameAudio>(player_, platform_);
    audio_->LoadSounds(identity_);
    audio_->FindMusicTracks();
    // The game's window comes up; what start-up found wrong is told after it is drawn.
    window_.show();
    platform_.ProcessMessages();  // the window is exposed and drawn
    platform_.ProcessMessages();  // then comes what waited for it
    audio_->QueueFirstTrack();
    audio_->PlayStartSound();
  }
  // Each track heard while the music runs through `count` track ends.
  std::vector<int> PlayedTracks(int count) {
    std::vector<int> heard;
    auto note = [&] {
      for (const std::string& call : player_.Take()) {
        if (call.rfind("open ", 0) == 0) heard.push_back(call[call.size() - 5] - '0');
      }
    };
    platform_.Advance(GameAudio::kMusicTickMs);
    note();
    for (int i = 0; i < count; ++i) {
      player_.EndTrack();
      platform_.Advance(GameAudio::kMusicTickMs);
      note();
    }
    return heard;
  }

  QTemporaryDir dir_;
  GameIdentity identity_;
  QWidget window_;
  FakePlatform platform_;
  RecordingPlayer player_;
  std::unique_ptr<GameAudio> audio_;
};

TEST_F(Audio, TracksPlayInAscendingOrderSkippingGapsAndWrapAround) {
  const struct {
    std::initializer_list<int> present;
    std::vector<int> heard;
  } cases[] = {
      {{0, 3, 7}, {0, 3, 7, 0, 3}},
      {{9}, {9, 9, 9}},
      {{5}, {5, 5, 5}},
      {{2, 8, 9}, {2, 8, 9, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.heard));
    for (int n = 0; n < 10; ++n)
      std::remove((identity_.AppDir + "Zelmar" + std::to_string(n) + ".mid").c_str());
    WriteTracks(c.present);
    audio_.reset();
    player_.Take();
    Start();
    EXPECT_EQ(PlayedTracks(static_cast<int>(c.heard.size()) - 1), c.heard);
  }
}

TEST_F(Audio, ATrackThatEndedClosesAndTheNextStartsWithinOneTick) {
  WriteTracks({5});
  Start();
  platform_.Advance(GameAudio::kMusicTickMs);
  EXPECT_EQ(player_.Take(), (Calls{"file Zelmar7.wav", "open Zelmar5.mid", "play"}));
  // While a track plays, no timer wakes the game.
  EXPECT_EQ(platform_.ActiveTimerCount(), 0);
  player_.EndTrack(MusicEnd::kStopped);  // not an end of play: nothing changes
  platform_.Advance(GameAudio::kMusicTickMs);
  EXPECT_TRUE(player_.Take().empty());
  player_.EndTrack();
  EXPECT_EQ(player_.Take(), Calls{"close"});
  EXPECT_EQ(audio_->TrackIndex(), 15);
  platform_.Advance(GameAudio::kMusicTickMs - 1);
  platform_.Advance(1);
  EXPECT_EQ(player_.Take(), (Calls{"open Zelmar5.mid", "play"}));
  EXPECT_EQ(audio_->TrackIndex(), 5);
  EXPECT_EQ(platform_.ActiveTimerCount(), 0);
}

TEST_F(Audio, ASpinStartsAPendingTrackAtOnceAndTheTimerFindsNothingLeft) {
  WriteTracks({0});
  Start();
  player_.Take();
  audio_->StartPendingTrack();
  EXPECT_EQ(player_.Take(), (Calls{"open Zelmar0.mid", "play"}));
  platform_.Advance(GameAudio::kMusicTickMs);
  EXPECT_TRUE(player_.Take().empty());
}

TEST_F(Audio, MusicOffAndOnRestartsTheTrackThenTheOrderGoesOn) {
  WriteTracks({0, 3, 7});
  Start();
  PlayedTracks(1);  // track 3 is playing
  audio_->SwitchMusic();
  EXPECT_FALSE(audio_->MusicOn());
  EXPECT_EQ(player_.Take(), (Calls{"close", "release"}));
  audio_->SwitchMusic();
  EXPECT_EQ(player_.Take(), (Calls{"open Zelmar3.mid", "play"}));
  EXPECT_EQ(PlayedTracks(1), (std::vector<int>{7}));
}

TEST_F(Audio, MusicSwitchedWhileATrackIsPending) {
  WriteTracks({0, 3});
  Start();
  PlayedTracks(0);
  player_.EndTrack();  // track 3 pending
  player_.Take();
  // Off: the pending start waits, whatever the timer does meanwhile.
  audio_->SwitchMusic();
  platform_.Advance(5 * GameAudio::kMusicTickMs);
  audio_->StartPendingTrack();
  EXPECT_EQ(player_.Take(), Calls{"release"});
  // On: the switch itself starts the track that was waiting.
  audio_->SwitchMusic();
  EXPECT_EQ(player_.Take(), (Calls{"open Zelmar3.mid", "play"}));
  EXPECT_EQ(audio_->TrackIndex(), 3);
  platform_.Advance(GameAudio::kMusicTickMs);
  EXPECT_TRUE(player_.Take().empty());
}

TEST_F(Audio, MusicSwitchedBeforeStartUpEnds) {
  WriteTracks({4});
  audio_ = std::make_unique<GameAudio>(player_, platform_);
  audio_->LoadSounds(identity_);
  audio_->FindMusicTracks();
  audio_->SwitchMusic();  // off before the first track was chosen
  audio_->QueueFirstTrack();
  platform_.Advance(GameAudio::kMusicTickMs);
  EXPECT_EQ(audio_->TrackIndex(), -1);
  player_.Take();
  audio_->SwitchMusic();
  EXPECT_EQ(player_.Take(), (Calls{"open Zelmar4.mid", "play"}));
}

TEST_F(Audio, TheStartUpSoundAndTheFirstTrackWaitForADeviceStillOpening) {
  WriteTracks({2});
  player_.hold_open = true;
  Start();
  platform_.Advance(5 * GameAudio::kMusicTickMs);
  audio_->PlayReelStopSound();  // silent until the device is open
  EXPECT_TRUE(player_.Take().empty());
  player_.FinishOpen();
  EXPECT_EQ(player_.Take(), (Calls{"file Zelmar7.wav", "open Zelmar2.mid", "play"}));
  EXPECT_EQ(audio_->TrackIndex(), 2);
  audio_->PlayReelStopSound();
  EXPECT_EQ(player_.Take(), Calls{"memory reel"});
  platform_.Advance(GameAudio::kMusicTickMs);
  EXPECT_TRUE(player_.Take().empty());
}

TEST_F(Audio, SoundOffSilencesEveryEffectButTheWinSound) {
  Start();
  player_.Take();
  audio_->SwitchSound();
  EXPECT_FALSE(audio_->SoundOn());
  audio_->PlayReelStopSound();
  audio_->PlayCountSound();
  audio_->PlayExplosionSound();
  audio_->PlayStartSound();
  audio_->PlayBonusSound();
  audio_->PlayWinSound([] {});
  audio_->PlayWinSound(nullptr);
  EXPECT_EQ(player_.Take(), (Calls{"file ZelmarWin.wav wait", "file ZelmarWin.wav"}));
  audio_->SwitchSound();
  audio_->PlayReelStopSound();
  audio_->PlayCountSound();
  audio_->PlayExplosionSound();
  audio_->PlayBonusSound();
  EXPECT_EQ(player_.Take(),
            (Calls{"memory reel", "memory tick", "file ZelmarE.wav", "file Zelmar5.wav"}));
}

TEST_F(Audio, EveryFileFollowsTheSoundRoot) {
  QDir(dir_.path()).mkpath("Gold");
  identity_.SoundRoot = "Gold/Alt";
  WriteTracks({1});
  Start();
  audio_->PlayWinSound([] {});
  audio_->PlayReelStopSound();
  audio_->PlayCountSound();
  platform_.Advance(GameAudio::kMusicTickMs);
  EXPECT_EQ(player_.Take(), (Calls{"file Gold/Alt7.wav", "file Gold/AltWin.wav wait", "memory reel",
                                   "memory tick", "open Gold/Alt1.mid", "play"}));
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(Audio, MissingMemorySoundsAreReportedOnceAndFallBackToTheDefaultSound) {
  Write("Zelmar3.wav", "bad bytes");  // present but not a sound
  Write("ZelmarWin.wav", "bad bytes");
  Start(/*with_effects=*/false);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_TRUE(platform_.messages[0].error);
  EXPECT_EQ(platform_.messages[0].text.toStdString(),
            "File not found: " + identity_.AppDir + "Zelmar0.wav");
  player_.Take();
  audio_->PlayReelStopSound();
  audio_->PlayCountSound();
  bool ended = false;
  audio_->PlayWinSound([&] { ended = true; });  // unplayable: the default sound, waited for
  EXPECT_TRUE(ended);
  EXPECT_EQ(player_.Take(), (Calls{"memory <long>", "memory <long>", "file ZelmarWin.wav wait",
                                   "memory <long> wait"}));
}

TEST_F(Audio, WithoutADeviceEverythingIsSilentAndSaidOnce) {
  player_.device = false;
  WriteTracks({0, 1});
  Start();
  int waits_ended = 0;
  for (int spin = 0; spin < 3; ++spin) {
    audio_->StartPendingTrack();
    for (int r = 0; r < 5; ++r) audio_->PlayReelStopSound();
    audio_->PlayWinSound([&] { ++waits_ended; });  // nothing sounds: the wait ends at once
    player_.EndTrack();
    platform_.Advance(GameAudio::kMusicTickMs);
  }
  audio_->SwitchMusic();
  audio_->SwitchMusic();
  EXPECT_TRUE(player_.Take().empty());
  EXPECT_EQ(waits_ended, 3);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_TRUE(platform_.messages[0].text.contains("No sound device"));
  EXPECT_EQ(platform_.messages[0].caption, "Zelmar Slots");
}

// A track that can't be played is told once and skipped: the music goes on with the next one
// at once, and the next time round the bad track is passed over without a word.
TEST_F(Audio, ATrackThatCannotBePlayedIsToldOnceAndTheMusicGoesOnWithTheNext) {
  WriteTracks({1, 2, 5});
  Write("Zelmar0.mid", "bad track");
  Start();
  EXPECT_EQ(PlayedTracks(4), (std::vector<int>{0, 1, 2, 5, 0, 1, 2}));
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_EQ(platform_.messages[0].text.toStdString(),
            "The music can't be played: " + identity_.AppDir + "Zelmar0.mid is not a MIDI file");
  EXPECT_TRUE(platform_.messages[0].error);
  EXPECT_EQ(audio_->TrackIndex(), 2);
}

// When no track can be played, each is told (with its file where the reason does not name it)
// and the music stops; Music off and on tries again from the track after the one that failed,
// without telling the same reasons again.
TEST_F(Audio, WhenNoTrackPlaysMusicOffAndOnTriesAgainFromTheNextTrack) {
  WriteTracks({0, 3});
  player_.fail_open = true;
  Start();
  platform_.Advance(10 * GameAudio::kMusicTickMs);
  ASSERT_EQ(platform_.messages.size(), 1u);
  const QString busy =
      QStringLiteral("The music can't be played: the device is busy (%1Zelmar%2.mid)")
          .arg(QString::fromStdString(identity_.AppDir));
  EXPECT_EQ(platform_.messages[0].text, busy.arg(0) + "\n" + busy.arg(3));
  EXPECT_EQ(audio_->TrackIndex(), 0);
  Calls calls = player_.Take();
  EXPECT_EQ(Calls(calls.end() - 4, calls.end()),
            (Calls{"open Zelmar0.mid", "release", "open Zelmar3.mid", "release"}));
  audio_->SwitchMusic();
  audio_->SwitchMusic();
  calls = player_.Take();
  EXPECT_EQ(Calls(calls.end() - 4, calls.end()),
            (Calls{"open Zelmar3.mid", "release", "open Zelmar0.mid", "release"}));
  EXPECT_EQ(platform_.messages.size(), 1u) << "the same reasons are not told again";
  player_.fail_open = false;
  audio_->SwitchMusic();
  audio_->SwitchMusic();
  calls = player_.Take();
  EXPECT_EQ(Calls(calls.end() - 2, calls.end()), (Calls{"open Zelmar0.mid", "play"}));
  EXPECT_EQ(audio_->TrackIndex(), 0);
}

TEST_F(Audio, NoTrackAtAllIsShownAtStartAndOnEachMusicOn) {
  Start();
  platform_.Advance(GameAudio::kMusicTickMs);
  ASSERT_EQ(platform_.messages.size(), 1u);
  EXPECT_TRUE(platform_.messages[0].text.endsWith("Zelmar9.mid"));
  audio_->SwitchMusic();
  audio_->SwitchMusic();
  EXPECT_EQ(platform_.messages.size(), 2u);
}

TEST_F(Audio, ARemovedTrackIsSkippedAndTheMusicClosesWhenTheGameEnds) {
  WriteTracks({0, 3, 7});
  Start();
  PlayedTracks(0);
  std::remove((identity_.AppDir + "Zelmar3.mid").c_str());
  EXPECT_EQ(PlayedTracks(1), (std::vector<int>{7}));
  audio_.reset();
  EXPECT_EQ(player_.Take(), Calls{"close"});
}

}  // namespace
