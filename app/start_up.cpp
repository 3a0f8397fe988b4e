#include "app/start_up.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "app/game.h"
#include "shell/saved_games_dialog.h"
#include "shell/settings.h"
#include "windows/bonus_game.h"

namespace {
constexpr int kStartUpMs = 250;
}  // namespace

StartUpPhase::StartUpPhase(Platform& platform, GameSounds& sounds, const GameIdentity& identity,
                           std::function<void()> ended)
    : sounds_(sounds),
      identity_(identity),
      ended_(std::move(ended)),
      clock_(platform.CreateTimer(kStartUpMs, true, [this] { End(); })),
      sounds_after_first_paint_(std::make_unique<AfterFirstPaint>([this] { ReadySounds(); })) {}

void StartUpPhase::ReadySounds() {
  if (std::exchange(sounds_ready_, true)) return;
  // The audio device is opened (off this thread) and the reel-stop and count sounds read into
  // memory, and the music tracks beside the program are found (Sound and Music are on at every
  // start). The start-up timer's tick, which plays the start-up sound and queues the first track,
  // comes well after; a sound not ready by then waits for the device, never the window.
  sounds_.LoadSounds(identity_);
  sounds_.FindMusicTracks();
}

void StartUpPhase::End() {
  clock_->SetEnabled(false);
  ended_();
  // A window not yet on the screen (started on another desktop) has its sounds all the same.
  ReadySounds();
  sounds_.QueueFirstTrack();
  sounds_.PlayStartSound();
}

// The game's start-up, step by step.
Game::Game(GameState& state, const GameServices& services, Window& window,
           const StartOptions& options)
    : gs_(state), machine_(state), services_(services), window_(window) {
  Platform& platform = services_.platform;
  // 1. The machine: the random sequence, the reel strips at their start stops and the bet
  // defaults.
  machine_.SwitchOn(options.seed);

  // 2. Where the program lives: art, sounds and help are looked up beside the real file; the
  // saved games are kept in the player's data folder under the program's name.
  const std::string program_file = options.program_file.empty()
                                       ? QCoreApplication::applicationFilePath().toStdString()
                                       : options.program_file;
  identity_ = BuiltInIdentity(program_file);
  saves_ = std::make_unique<SavedGames>(gs_, SavedGamesFilePath(identity_.ExeBaseName));
  keeper_ = std::make_unique<RunningGameWriter>(saves_->FilePath());
  // A refused write is told once, as the close tells it; play goes on, and the next good write
  // catches up.
  keeper_->SetFailureHandler([this] {
    save_failure_told_ = true;
    ShowSaveFailure(services_.platform, &window_.Widget(), *saves_);
  });

  // 3. No input until start-up has finished; the sounds once the window is first drawn. The
  // window came with its menu bar, the game's commands closed.
  start_up_ = std::make_unique<StartUpPhase>(platform, services_.sounds, identity_,
                                             [this] { StartUpEnded(); });

  // 4. The game's identity: the built-in values came with step 2.
  // 5. The settings file beside the program may change the title and the asset prefix.
  if (QFileInfo::exists(QString::fromStdString(SettingsFilePath(identity_)))) {
    ReadSettings(identity_);
  }

  // 6. The help file; the window takes the game's title for its caption and the manual's menu
  // item once it shows the game (below).
  services_.help.SetHelpFile(QString::fromStdString(HelpFilePath(identity_)));

  // 7-10. The art carried with the program, replaced by files beside it where present, laid
  // out for the game area the window will have: the layout width, the symbol art for it and the
  // reel geometry.
  // On a screen of 150 % or 200 % the cabinet is drawn in device pixels, that many times as many
  // each way.
  QWidget& frame = window_.Widget();
  const double ratio = std::max(1.0, frame.devicePixelRatioF());
  const QSize area = window_.ExpectedGameArea();
  view_ = std::make_unique<CabinetView>(
      std::make_unique<Cabinet>(gs_, identity_.AppDir, identity_.SoundRoot, platform.ScreenWidth(),
                                platform.ScreenHeight(), area.width(), area.height(), ratio,
                                KeptArt{options.kept_art_dir, program_file}, options.surface),
      static_cast<CabinetView::Host&>(*this), &frame);
  Cabinet& cabinet = view_->Settled();
  // The win cycle's timer comes before the play's: at a shared instant the presentation ticks
  // first, as it always has.
  win_cycle_ = std::make_unique<WinCycle>(gs_, cabinet.Screen(), cabinet.Status(), platform);
  play_ = std::make_unique<PlaySequence>(machine_, cabinet.Layout(), cabinet.Screen(),
                                         cabinet.Status(), *win_cycle_, services_.sounds, platform,
                                         static_cast<PlayHost&>(*this));

  // 11. The reel strips came with the machine (step 1).
  // 12. The sounds wait for the first picture (step 3).
  // 14. The bet defaults came with the machine (step 1); the starting credits come with the
  // running game.
  // 15. The music tracks wait for the first picture (step 3).

  // 16. The running game of the last run, or a new one (reading never fails).
  (void)saves_->SaveLoadGame(kRunningGameSlot, false);
  // A close that changed nothing then writes nothing: another copy of the game may have played
  // on with the same file since.
  if (saves_->SlotIsSaved(kRunningGameSlot)) keeper_->ReadFromFile(gs_);
  // The game is as it will first be seen: its picture is drawn on another core from here, while
  // the window sizes itself and is shown.
  view_->DrawAhead();

  // 13, 17, 18. The window shows the game: its size, its place and whether it fills the screen.
  window_.ShowGame(this);
}
