// TForm1: the main window. It owns the game state and the timers and routes window events to
// the game's steps: start-up, bet selection, the spin, the evaluation and the win presentation.
// All drawing goes through MainScreen onto the window's persistent surface.
#pragma once

#include <QMainWindow>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "platform/canvas.h"
#include "platform/platform.h"
#include "screen/main_art.h"
#include "screen/main_screen.h"
#include "shell/sounds.h"

class QAction;
class TForm1;

// The client area: shows the window's surface and hands mouse and key presses to TForm1.
class GameSurface : public QWidget {
 public:
  explicit GameSurface(TForm1& form);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TForm1& form_;
};

struct StartOptions {
  // Seed of the random sequence; empty seeds from the time of day.
  std::optional<uint32_t> Seed;
  // Program file used for AppDir and ExeBaseName; empty means the running program.
  std::string ProgramFile;
};

class TForm1 : public QMainWindow {
 public:
  TForm1(GameState& state, Platform& platform, GameSounds& sounds,
         const StartOptions& options = {});
  ~TForm1() override;

  GameState& State() { return gs_; }
  Canvas& Surface() { return canvas_; }
  MainScreen& Screen() { return *screen_; }
  const MainArt& Art() const { return art_; }
  GameSurface* SurfaceWidget() { return surface_; }
  // Problems met while loading replacement art (shown to nobody; kept for tests and logs).
  const std::vector<std::string>& ArtProblems() const { return artProblems_; }

  // Start-up and life cycle.
  void FormCreate(const StartOptions& options);
  void Timer1Timer();
  void NewGame();
  void FormClose();
  void FormPaint();

  // Input.
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormKeyDown(int key);

  // Bet selection and spin control.
  void SelectBet(int button);
  void MaxBet();
  void RequestSpin();

  // The spin.
  void SpinReels();
  void WaitSeconds(double seconds);

  // Evaluation and win presentation.
  void EvaluateSpin();
  void CountUpWin(int start);
  void Timer3Timer();
  void ClearStatusText();
  void PrepareBonusGame();
  void Timer6Timer();

  // Timers, exposed for tests.
  Timer& Timer1() { return *timer1_; }
  Timer& Timer3() { return *timer3_; }
  Timer& Timer6() { return *timer6_; }
  QAction* NewGameAction() { return newGame_; }
  QAction* SoundAction() { return sound_; }
  QAction* MusicAction() { return music_; }

  // Sets or clears the input guard; the commands that change the game follow it.
  void SetBusy(bool busy);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class GameSurface;
  void BuildMenu();
  void SurfaceResized(int width, int height);
  void WriteStatusText(const QString& text, QRgb colour, int anchorX, bool rightAligned, int top);
  int StatusTextHeight(const QString& text);
  void SetStatusFont();
  void DrawWinningCells();
  void DrawBounce(int r, const QImage& picture, int shift);
  void FinishDeferredClose();

  GameState& gs_;
  Platform& platform_;
  GameSounds& sounds_;
  MainArt art_;
  Canvas canvas_;
  std::unique_ptr<MainScreen> screen_;
  GameSurface* surface_ = nullptr;
  QAction* newGame_ = nullptr;
  QAction* exit_ = nullptr;
  QAction* sound_ = nullptr;
  QAction* music_ = nullptr;
  std::unique_ptr<Timer> timer1_;
  std::unique_ptr<Timer> timer3_;
  std::unique_ptr<Timer> timer6_;
  std::vector<std::string> artProblems_;

  // How many game loops (a spin request, a bonus payout) are running on the call stack; a close
  // that arrives meanwhile waits until they have put every credit in place.
  int runningLoops_ = 0;
  bool closePending_ = false;
  bool closed_ = false;
};
