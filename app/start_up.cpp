#include "app/start_up.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenuBar>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <utility>

#include "app/main_window.h"
#include "platform/window_manager.h"
#include "shell/help_topics.h"
#include "shell/saved_games_dialog.h"
#include "shell/settings.h"
#include "shell/web_page.h"

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

// The main window's start-up, step by step.
void MainWindow::SetUpGame(const StartOptions& options) {
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
  keeper_->SetFailureHandler([this] { ShowSaveFailure(platform_, this, *saves_); });

  // 3. No input until start-up has finished; the sounds once the window is first drawn.
  start_up_ =
      std::make_unique<StartUpPhase>(platform_, sounds_, identity_, [this] { StartUpEnded(); });
  BuildMenu();
  EnableGameCommands(false);

  // 4. The game's identity: the built-in values came with step 2.
  // 5. The settings file beside the program may change the title and the asset prefix.
  if (QFileInfo::exists(QString::fromStdString(SettingsFilePath(identity_)))) {
    ReadSettings(identity_);
  }

  // 6. Caption, the manual's menu item and the help file.
  setWindowTitle(QString::fromStdString(identity_.GameTitle));
  menu_.manual->setText(WithAccessKey(QString::fromStdString(identity_.GameTitle) + " Manual"));
  help_.SetHelpFile(QString::fromStdString(HelpFilePath(identity_)));
  SetHelpContext(this, kMainWindowHelp);
  help_key_ = std::make_unique<HelpKey>(help_);

  // 7-10. The art carried with the program, replaced by files beside it where present, laid
  // out for the game area the window will have: the layout width, the symbol art for it and the
  // reel geometry.
  // On a screen of 150 % or 200 % the cabinet is drawn in device pixels, that many times as many
  // each way.
  const double ratio = std::max(1.0, devicePixelRatioF());
  view_ = new CabinetView(
      std::make_unique<Cabinet>(gs_, identity_.AppDir, identity_.SoundRoot, platform_.ScreenWidth(),
                                platform_.ScreenHeight(), ExpectedGameAreaHeight(), ratio,
                                KeptArt{options.kept_art_dir, program_file}, options.surface),
      static_cast<CabinetView::Host&>(*this), this);
  Cabinet& cabinet = view_->Settled();
  // The win cycle's timer comes before the play's: at a shared instant the presentation ticks
  // first, as it always has.
  win_cycle_ = std::make_unique<WinCycle>(gs_, cabinet.Screen(), cabinet.Status(), platform_);
  play_ = std::make_unique<PlaySequence>(machine_, cabinet.Layout(), cabinet.Screen(),
                                         cabinet.Status(), *win_cycle_, sounds_, platform_,
                                         static_cast<PlayHost&>(*this));

  // 11. The reel strips came with the machine (step 1).

  // 12. The sounds wait for the first picture (below).

  // 13. Window size: the screen less 10 pixels each way.
  setCentralWidget(view_);
  // No style sheet here: it would reach every window this one opens and override their own fonts
  // and colours. The game area paints the black beside the cabinet itself.
  resize(platform_.ScreenWidth() - 10, platform_.ScreenHeight() - 10);
  move(0, 0);

  // 14. The bet defaults came with the machine (step 1); the starting credits come with the
  // running game.

  // 15. The music tracks wait for the first picture (below).

  // 16. The running game of the last run, or a new one (reading never fails).
  (void)saves_->SaveLoadGame(kRunningGameSlot, false);
  // A close that changed nothing then writes nothing: another copy of the game may have played
  // on with the same file since.
  if (saves_->SlotIsSaved(kRunningGameSlot)) keeper_->ReadFromFile(gs_);

  // 17. Centre the window on the screen.
  const int screen_w = platform_.ScreenWidth();
  const int screen_h = platform_.ScreenHeight();
  move((screen_w - width()) / 2, (screen_h - height()) / 2);

  // 18. At a small-font resolution the window fills the screen; otherwise its size is fixed.
  if (platform_.LogicalDpi() < 100) {
    setWindowState(Qt::WindowMaximized);
  } else {
    setFixedSize(size());
  }
}

int MainWindow::ExpectedGameAreaHeight() {
  const int menu_bar = menuBar()->sizeHint().height();
  // Only a desktop with a window manager maximises the window (step 18); on a bare X server it
  // keeps its own size, and a layout for the maximised size would be made in vain.
  if (platform_.LogicalDpi() < 100 && WindowsGetMaximised()) {
    // Maximised: the screen's free area (without the desktop's panels) less the window's frame,
    // which the platform knows once the window exists (a window manager may tell it only later).
    create();
    const QScreen* on = screen();
    const int free_height =
        on != nullptr ? on->availableGeometry().height() : platform_.ScreenHeight();
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return free_height - frame.top() - frame.bottom() - menu_bar;
  }
  // The window's own size, the screen less 10, holds the menu bar and the game area.
  return platform_.ScreenHeight() - 10 - menu_bar;
}
