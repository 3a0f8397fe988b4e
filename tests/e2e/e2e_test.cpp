// End-to-end: the real program in a real X server (Xvfb), looked at through screenshots and
// clicked with xdotool, the way a player meets it.
//
// ZELMAR_PROGRAM in the environment names another program file to test (an installed copy);
// ZELMAR_E2E_HOME names the player's home folder to use instead of a fresh temporary one, so
// that a caller can look at what the game left there.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <utility>
#include <vector>

#include "engine/scale.h"
#include "engine/slot_machine.h"
#include "screen/layout_width.h"
#include "screen/main_art.h"

namespace {

// How long an orderly end may take: the game needs well under 2 s; the margin is for a machine
// that is busy with other tests, or runs the game under the sanitizers.
constexpr int kOrderlyEndMs = 10000;
// A spin has settled once the credits meter has held still for this many polls of 700 ms: longer
// than the reels turn (1.2 s) and the win sound plays (1.3 s) before the first credit is counted.
constexpr int kSettledPolls = 5;

struct Point {
  int x = 0;
  int y = 0;
};

class RealGame : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
      if (QStandardPaths::findExecutable(tool).isEmpty()) {
        GTEST_SKIP() << tool << " is not installed";
      }
    }
    ASSERT_TRUE(LoadBuiltInArt(art_, nullptr));
    // The upper rows alone must still tell every digit from every other.
    for (int a = 0; a < 10; ++a) {
      for (int b = a + 1; b < 10; ++b) {
        ASSERT_NE(art_.green_small.copy(16 * a, 0, 16, kRowsCompared),
                  art_.green_small.copy(16 * b, 0, 16, kRowsCompared));
      }
    }
  }

  void TearDown() override {
    for (QProcess* p : {&game_, &xvfb_}) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
      }
    }
  }

  // Starts an X server of the given size on a free display, unless one runs, and the game in it.
  void Launch(int width, int height) {
    if (xvfb_.state() == QProcess::NotRunning) StartXvfb(width, height);
    game_.start();
    ASSERT_TRUE(game_.waitForStarted(10000));
    const QString id =
        Run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "Zelmar Slots"});
    ASSERT_FALSE(id.isEmpty());
    window_ = id.split('\n').first().trimmed();
  }

  void StartXvfb(int width, int height) {
    xvfb_.setProgram("Xvfb");
    xvfb_.setArguments({"-displayfd", "1", "-screen", "0",
                        QStringLiteral("%1x%2x24").arg(width).arg(height), "-nolisten", "tcp"});
    xvfb_.start();
    ASSERT_TRUE(xvfb_.waitForStarted(10000));
    QByteArray number;
    for (int i = 0; i < 100 && !number.contains('\n'); ++i) {
      xvfb_.waitForReadyRead(100);
      number += xvfb_.readAllStandardOutput();
    }
    ASSERT_TRUE(number.contains('\n')) << "Xvfb gave no display number";
    display_ = ":" + QString::fromLatin1(number.trimmed());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.insert("QT_QPA_PLATFORM", "xcb");
    // No sound card needed: what the game plays goes to a file.
    env.insert("SDL_AUDIODRIVER", "disk");
    env.insert("SDL_DISKAUDIOFILE", home_.filePath("heard.raw"));
    const QString home = Home();
    env.insert("XDG_DATA_HOME", home + "/.local/share");
    env.insert("HOME", home);
    env_ = env;
    game_.setProcessEnvironment(env);
    // Started from a folder of its own: the game must find its files beside the program.
    game_.setWorkingDirectory(home);
    game_.setProgram(qEnvironmentVariable("ZELMAR_PROGRAM", QStringLiteral(ZELMAR_PROGRAM)));
  }

  QString Run(const QString& program, const QStringList& args, int timeout_ms = 20000) {
    QProcess p;
    p.setProcessEnvironment(env_);
    p.start(program, args);
    if (!p.waitForFinished(timeout_ms)) {
      p.kill();
      return {};
    }
    return QString::fromLocal8Bit(p.readAllStandardOutput());
  }

  // The loudest sample the game has played so far (16-bit, either channel).
  int LoudestHeard() {
    QFile file(home_.filePath("heard.raw"));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = file.readAll();
    const auto* samples = reinterpret_cast<const int16_t*>(bytes.constData());
    int loudest = 0;
    for (qsizetype i = 0; i < bytes.size() / 2; ++i) {
      loudest = std::max(loudest, std::abs(int(samples[i])));
    }
    return loudest;
  }

  QString Home() const { return qEnvironmentVariable("ZELMAR_E2E_HOME", home_.path()); }

  QImage Screenshot() {
    const QString file = home_.filePath("shot.png");
    QFile::remove(file);
    Run("import", {"-window", "root", file});
    return QImage(file).convertToFormat(QImage::Format_RGB32);
  }

  // The digit (0..9) whose green cell stands at (x, y) on the screen, or -1. Only the cell's
  // upper rows are compared: the status line is written over the lowest rows of the meters.
  static constexpr int kRowsCompared = 16;
  int DigitAt(const QImage& shot, int x, int y) {
    if (x < 0 || y < 0 || x + 16 > shot.width() || y + 21 > shot.height()) return -1;
    for (int d = 0; d < 10; ++d) {
      bool all = true;
      for (int yy = 0; yy < kRowsCompared && all; ++yy) {
        for (int xx = 0; xx < 16 && all; ++xx) {
          all = (shot.pixel(x + xx, y + yy) & 0xFFFFFF) ==
                (art_.green_small.pixel(16 * d + xx, yy) & 0xFFFFFF);
        }
      }
      if (all) return d;
    }
    return -1;
  }

  // The green number drawn right-aligned to `right` with its top at `top`, if one is there.
  std::optional<int> NumberAt(const QImage& shot, int right, int top) {
    QString digits;
    for (int x = right - 16; digits.size() < 10; x -= 16) {
      const int d = DigitAt(shot, x, top);
      if (d < 0) break;
      digits.prepend(QChar('0' + d));
    }
    if (digits.isEmpty()) return std::nullopt;
    return digits.toInt();
  }

  // Where the green digits of a number are on the screen, if anywhere.
  std::optional<Point> FindNumber(const QImage& shot, const QString& digits) {
    for (int y = 0; y + 21 <= shot.height(); ++y) {
      for (int x = 0; x + 16 * digits.size() <= shot.width(); ++x) {
        bool all = true;
        for (int i = 0; i < digits.size() && all; ++i) {
          all = DigitAt(shot, x + 16 * i, y) == digits[i].digitValue();
        }
        if (all) return Point{x, y};
      }
    }
    return std::nullopt;
  }

  // A number of the running game as the saved-games file holds it, or -1.
  int Kept(const char* key) const {
    QFile ini(Home() + "/.local/share/zelmar-slots/zelmar-slots.ini");
    if (!ini.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : ini.readAll().split('\n')) {
      if (line.startsWith(QByteArray(key) + '=')) return line.mid(int(qstrlen(key)) + 1).toInt();
    }
    return -1;
  }

  // The visible windows with the game's caption: the main window, and the bonus game's while it
  // is open.
  QStringList GameWindows() {
    return Run("xdotool", {"search", "--onlyvisible", "--name", "^Zelmar Slots$"})
        .split('\n', Qt::SkipEmptyParts);
  }

  // The place and size of a window on the screen, as xwininfo measures it: under a window
  // manager the window sits in a frame, and only the absolute place counts that frame once.
  QRect Geometry(const QString& id) {
    QMap<QString, int> info;
    for (const QString& line : Run("xwininfo", {"-id", id}).split('\n')) {
      const int colon = line.indexOf(':');
      if (colon > 0) info[line.left(colon).trimmed()] = line.mid(colon + 1).trimmed().toInt();
    }
    return {info["Absolute upper-left X"], info["Absolute upper-left Y"], info["Width"],
            info["Height"]};
  }

  // Ends an open bonus game with its left STOP sign, at (17, 134) of its 640 x 480 picture, which
  // is centred in its window (a window manager may make the window larger); the window is raised
  // first, so that the click lands on it whatever the window manager stacked. Any smaller window of
  // the game is a message, answered with Enter as a player would (and told in the log).
  void StopBonusGame() {
    for (const QString& id : GameWindows()) {
      if (id == window_) continue;
      const QRect place = Geometry(id);
      if (place.width() < 640 || place.height() < 480) {
        std::cerr << "answering a message window of " << place.width() << "x" << place.height()
                  << "\n";
        Run("xdotool", {"windowactivate", "--sync", id});
        Run("xdotool", {"key", "Return"});
        continue;
      }
      Run("xdotool", {"windowraise", id});
      Run("xdotool", {"mousemove", QString::number(place.x() + (place.width() - 640) / 2 + 50),
                      QString::number(place.y() + (place.height() - 480) / 2 + 160)});
      Run("xdotool", {"click", "1"});
    }
  }

  // What the screen shows, for a failure's message: the game's windows and where they are.
  std::string Scene() {
    std::string scene;
    for (const QString& id : GameWindows()) {
      const QRect place = Geometry(id);
      scene += QStringLiteral("%1%2 %3x%4+%5+%6; ")
                   .arg(id == window_ ? QStringLiteral("main ") : QStringLiteral("other "), id)
                   .arg(place.width())
                   .arg(place.height())
                   .arg(place.x())
                   .arg(place.y())
                   .toStdString();
    }
    return scene + "active " + Run("xdotool", {"getactivewindow"}).trimmed().toStdString();
  }

  // Waits until the credits meter, its right edge and top at (right, top) on the screen, holds
  // still, ending any bonus game on the way, and returns what it shows then.
  std::optional<int> SettledCredits(int right, int top) {
    std::optional<int> credits;
    int still = 0;
    for (int poll = 0; poll < 60 && still < kSettledPolls; ++poll) {
      QThread::msleep(700);
      const std::optional<int> now = NumberAt(Screenshot(), right, top);
      if (!now || GameWindows().size() > 1) {
        StopBonusGame();
        still = 0;
        continue;
      }
      still = (credits && *credits == *now) ? still + 1 : 0;
      credits = now;
    }
    if (!credits) std::cerr << "the credits meter never showed: " << Scene() << "\n";
    return credits;
  }

  // Spins with Enter and waits until the credits meter at (right, top) holds still.
  std::optional<int> SpinAndSettle(int right, int top) {
    Run("xdotool", {"windowfocus", window_});
    Run("xdotool", {"key", "Return"});
    return SettledCredits(right, top);
  }

  // Where the green 1000 of a new game's credits meter is once the window shows it.
  std::optional<Point> AwaitNewGame() {
    std::optional<Point> at;
    for (int poll = 0; poll < 40 && !at; ++poll) {
      QThread::msleep(250);
      at = FindNumber(Screenshot(), "1000");
    }
    return at;
  }

  // The widgets inside window `id` (its innermost windows) with their places on the screen, as
  // xwininfo lists them: "0x20005c (has no name): ()  98x25+93+35  +94+36".
  std::vector<QRect> Widgets(const QString& id) {
    static const QRegularExpression kLine(QStringLiteral(
        R"(^(\s*)0x[0-9a-f]+ .*\s(\d+)x(\d+)[+-]\d+[+-]\d+\s+\+(-?\d+)\+(-?\d+)\s*$)"));
    std::vector<std::pair<qsizetype, QRect>> windows;  // indentation, place
    for (const QString& line : Run("xwininfo", {"-tree", "-id", id}).split('\n')) {
      const QRegularExpressionMatch m = kLine.match(line);
      if (!m.hasMatch()) continue;
      windows.emplace_back(m.capturedLength(1),
                           QRect(m.captured(4).toInt(), m.captured(5).toInt(),
                                 m.captured(2).toInt(), m.captured(3).toInt()));
    }
    std::vector<QRect> widgets;
    for (size_t i = 0; i < windows.size(); ++i) {
      const bool has_children = i + 1 < windows.size() && windows[i + 1].first > windows[i].first;
      if (!has_children) widgets.push_back(windows[i].second);
    }
    return widgets;
  }

  static bool LowestRightmost(const QRect& a, const QRect& b) {
    return a.bottom() != b.bottom() ? a.bottom() < b.bottom() : a.left() < b.left();
  }

  static void WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
  }

  MainArt art_;
  QTemporaryDir home_;
  QProcess xvfb_;
  QProcess game_;
  QProcessEnvironment env_;
  QString display_;
  QString window_;
};

TEST_F(RealGame, ShowsThousandCreditsInGreenDigitsAndCaptionsEachWindowWithItsOwnName) {
  Launch(800, 600);
  QThread::msleep(1500);
  const QImage shot = Screenshot();
  ASSERT_FALSE(shot.isNull());
  const std::optional<Point> at = FindNumber(shot, "1000");
  ASSERT_TRUE(at.has_value()) << "no green 1000 on the screen";
  // The meter is right-aligned at x 620 of the drawing area, its top 30 below the area's top;
  // the window sits a few pixels from the screen's edge, under its menu bar.
  EXPECT_GE(at->x + 64, 620);
  EXPECT_LE(at->x + 64, 620 + 20);
  EXPECT_GE(at->y, 30);
  EXPECT_LE(at->y, 30 + 60);
  // Start-up has ended with its sound.
  EXPECT_GT(LoudestHeard(), 3000);

  // What the window system shows: each caption exactly as the game sets it, with nothing
  // appended, and the program's name as the windows' class, by which the desktop knows them.
  EXPECT_EQ(Run("xdotool", {"getwindowname", window_}).trimmed().toStdString(), "Zelmar Slots");
  EXPECT_EQ(Run("xdotool", {"search", "--onlyvisible", "--class", "^Zelmar Slots$"}).trimmed(),
            window_);
  // Stats (Alt+S on the menu bar, the game's window having the keyboard: there is no window
  // manager to give it) opens a window of its own, tried again on a busy machine.
  QString stats;
  for (int attempt = 0; attempt < 5 && stats.isEmpty(); ++attempt) {
    Run("xdotool", {"windowfocus", window_});
    Run("xdotool", {"key", "alt+s"});
    QThread::msleep(300 * (attempt + 1));
    stats = Run("xdotool", {"search", "--onlyvisible", "--name", "Statistics"}).trimmed();
  }
  ASSERT_FALSE(stats.isEmpty()) << "the statistics window did not open";
  EXPECT_EQ(Run("xdotool", {"getwindowname", stats}).trimmed().toStdString(),
            "Your Game Statistics");

  // The session ends (SIGTERM) with the statistics still open: the game keeps the running game
  // and ends by itself with status 0.
  ::kill(static_cast<pid_t>(game_.processId()), SIGTERM);
  ASSERT_TRUE(game_.waitForFinished(kOrderlyEndMs)) << "SIGTERM did not end the game";
  EXPECT_EQ(game_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(game_.exitCode(), 0);
  EXPECT_TRUE(QFile::exists(Home() + "/.local/share/zelmar-slots/zelmar-slots.ini"));
}

// The display server most desktops now run: weston's headless backend as a real Wayland
// compositor. The cabinet is drawn, a second start with a launcher's token hands over to it, and
// SIGINT (Ctrl+C in the terminal it was started from) ends the game in order, the game kept.
TEST_F(RealGame, OnWaylandDrawsTheCabinetAndEndsInOrderOnSigint) {
  for (const char* tool : {"weston", "weston-screenshooter"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
  }
  QTemporaryDir runtime;  // the compositor's socket and its screenshots
  ASSERT_TRUE(QFile::setPermissions(runtime.path(),
                                    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", runtime.path());
  env.insert("WAYLAND_DISPLAY", "wl-zelmar");
  QProcess weston;
  weston.setProcessEnvironment(env);
  weston.setWorkingDirectory(runtime.path());
  weston.start("weston", {"--debug", "--backend=headless-backend.so", "--use-pixman",
                          "--width=1920", "--height=1080", "--socket=wl-zelmar", "--idle-time=0"});
  ASSERT_TRUE(weston.waitForStarted(10000));
  for (int poll = 0; poll < 100 && !QFile::exists(runtime.filePath("wl-zelmar")); ++poll) {
    QThread::msleep(100);
  }
  ASSERT_TRUE(QFile::exists(runtime.filePath("wl-zelmar"))) << "weston did not start";

  const QString home = Home();
  env.insert("QT_QPA_PLATFORM", "wayland");
  env.insert("SDL_AUDIODRIVER", "dummy");
#if defined(__SANITIZE_ADDRESS__)
  // What the system's Wayland client libraries keep at exit is theirs, not the game's.
  env.insert("ASAN_OPTIONS", "detect_leaks=0");
#endif
  env.insert("XDG_DATA_HOME", home + "/.local/share");
  env.insert("HOME", home);
  game_.setProcessEnvironment(env);
  game_.setWorkingDirectory(home);
  game_.setProgram(qEnvironmentVariable("ZELMAR_PROGRAM", QStringLiteral(ZELMAR_PROGRAM)));
  game_.start();
  ASSERT_TRUE(game_.waitForStarted(10000));

  // The compositor's screenshot shows the cabinet, its credits meter at 1000.
  std::optional<Point> credits;
  for (int poll = 0; poll < 40 && !credits; ++poll) {
    QThread::msleep(500);
    QProcess shooter;
    shooter.setProcessEnvironment(env);
    shooter.setWorkingDirectory(runtime.path());
    shooter.start("weston-screenshooter", QStringList());
    shooter.waitForFinished(10000);
    const QStringList shots = QDir(runtime.path()).entryList({"wayland-screenshot-*.png"});
    for (const QString& name : shots) {
      const QImage shot = QImage(runtime.filePath(name)).convertToFormat(QImage::Format_RGB32);
      QFile::remove(runtime.filePath(name));
      if (!credits && !shot.isNull()) credits = FindNumber(shot, "1000");
    }
  }
  EXPECT_TRUE(credits.has_value()) << "no cabinet with 1000 credits on the Wayland screen";

  // A second start, with a launcher's activation token, hands over to the running game and ends.
  QProcess second;
  QProcessEnvironment second_env = env;
  second_env.insert("XDG_ACTIVATION_TOKEN", "launcher-token");
  second.setProcessEnvironment(second_env);
  second.start(game_.program(), QStringList());
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  EXPECT_EQ(game_.state(), QProcess::Running);

  ::kill(static_cast<pid_t>(game_.processId()), SIGINT);
  ASSERT_TRUE(game_.waitForFinished(kOrderlyEndMs)) << "SIGINT did not end the game";
  EXPECT_EQ(game_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(game_.exitCode(), 0);
  EXPECT_TRUE(QFile::exists(home + "/.local/share/zelmar-slots/zelmar-slots.ini"));
  weston.terminate();
  weston.waitForFinished(5000);
}

// Nothing played is lost when the game is killed: three spins, a kill while the fourth one's
// reels turn, and the next start opens and shows the credits the fourth spin left. Then a spin and
// SIGHUP (the terminal it was started from closing): the game ends by itself, and the next start
// shows that spin's credits.
TEST_F(RealGame, AKillDuringTheReelsKeepsTheSpinAndSighupEndsInOrder) {
  Launch(800, 600);
  QThread::msleep(1500);
  const std::optional<Point> meter = FindNumber(Screenshot(), "1000");
  ASSERT_TRUE(meter.has_value());
  const int right = meter->x + 64;  // the credits meter's right edge; the cabinet is 1:1 here
  for (int spin = 1; spin <= 3; ++spin)
    ASSERT_TRUE(SpinAndSettle(right, meter->y).has_value()) << spin;
  ASSERT_EQ(Kept("Spins"), 3);

  // The fourth spin is kept the moment it is pressed; the kill comes while its reels turn.
  Run("xdotool", {"windowfocus", window_});
  Run("xdotool", {"key", "Return"});
  for (int poll = 0; poll < 500 && Kept("Spins") != 4; ++poll) QThread::msleep(2);
  ::kill(static_cast<pid_t>(game_.processId()), SIGKILL);
  ASSERT_TRUE(game_.waitForFinished(5000));
  ASSERT_EQ(Kept("Spins"), 4);
  const int after_fourth = Kept("Credits");
  // The killed game's hold on the saved games went with it: the next start is a game of its own.
  // A bonus game the fourth spin won is owed and opens first; stopped at once, it pays nothing.
  Launch(800, 600);
  std::optional<int> restarted = SettledCredits(right, meter->y);
  EXPECT_EQ(restarted, after_fourth) << "the credits the fourth spin left";

  const std::optional<int> fifth = SpinAndSettle(right, meter->y);
  ASSERT_TRUE(fifth.has_value());
  ::kill(static_cast<pid_t>(game_.processId()), SIGHUP);
  ASSERT_TRUE(game_.waitForFinished(kOrderlyEndMs)) << "SIGHUP did not end the game";
  EXPECT_EQ(game_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(game_.exitCode(), 0);
  Launch(800, 600);
  restarted.reset();
  for (int poll = 0; poll < 40 && !restarted; ++poll) {
    QThread::msleep(250);
    restarted = NumberAt(Screenshot(), right, meter->y);
  }
  EXPECT_EQ(restarted, fifth);
  EXPECT_EQ(Kept("Spins"), 5);
}

// A bonus game owed by a game that ended during it: here one killed after two picks (balls 0 and
// 4, 90 and 9 credits at a bet of 9). The next start plays it on at once, with those picks in
// place; a pick (ball 1, 45 credits) is kept as it is made, and SIGINT during the bonus game keeps
// it owed with all three. The start after that plays it on again; a collect pays 144, no more.
TEST_F(RealGame, AnOwedBonusGameIsPlayedOnAtTheNextStartThroughAnyEndAndPaysWhatItWould) {
  const QString folder = Home() + "/.local/share/zelmar-slots";
  ASSERT_TRUE(QDir().mkpath(folder));
  WriteFile(folder + "/zelmar-slots.ini",
            "[CurrentGame]\nGameName=CurrentGame\nGameDate=12/09/26\nCredits=991\n"
            "Borrowed=1000\nSpins=1\nTotalBets=9\nBonus=0\nBonusBet=9\n"
            "BonusPrizes=10,5,2,2,1,1,0,0\nBonusPicks=0,4\n");
  const auto picks = [&] {
    QFile ini(folder + "/zelmar-slots.ini");
    if (!ini.open(QIODevice::ReadOnly)) return QByteArray("<none>");
    for (const QByteArray& line : ini.readAll().split('\n')) {
      if (line.startsWith("BonusPicks=")) return line.mid(11);
    }
    return QByteArray("<none>");
  };
  const auto await_bonus = [&] {
    for (int poll = 0; poll < 40 && GameWindows().size() < 2; ++poll) QThread::msleep(250);
    return GameWindows().size() == 2;
  };
  Launch(800, 600);
  ASSERT_TRUE(await_bonus()) << "the owed bonus game did not open: " << Scene();
  // Ball 1 of the picture, centred in the bonus game's window.
  for (const QString& id : GameWindows()) {
    if (id == window_) continue;
    const QRect place = Geometry(id);
    Run("xdotool", {"windowraise", id});
    Run("xdotool", {"mousemove", QString::number(place.x() + (place.width() - 640) / 2 + 245),
                    QString::number(place.y() + (place.height() - 480) / 2 + 265)});
    Run("xdotool", {"click", "1"});
  }
  for (int poll = 0; poll < 500 && picks() != "0,4,1"; ++poll) QThread::msleep(2);
  ASSERT_EQ(picks(), "0,4,1");
  ::kill(static_cast<pid_t>(game_.processId()), SIGINT);
  ASSERT_TRUE(game_.waitForFinished(kOrderlyEndMs)) << "SIGINT did not end the game";
  EXPECT_EQ(game_.exitCode(), 0);
  EXPECT_EQ(picks(), "0,4,1");
  EXPECT_EQ(Kept("BonusBet"), 9);
  EXPECT_EQ(Kept("Credits"), 991);

  Launch(800, 600);
  ASSERT_TRUE(await_bonus()) << "the owed bonus game did not open again: " << Scene();
  StopBonusGame();
  for (int poll = 0; poll < 100 && Kept("BonusBet") != 0; ++poll) QThread::msleep(100);
  EXPECT_EQ(Kept("BonusBet"), 0);
  EXPECT_EQ(Kept("Credits"), 991 + 144);
  EXPECT_EQ(Kept("Bonus"), 144);
  std::optional<Point> shown;
  for (int poll = 0; poll < 40 && !shown; ++poll) {
    QThread::msleep(250);
    shown = FindNumber(Screenshot(), "1135");
  }
  EXPECT_TRUE(shown.has_value()) << "the credits meter never showed 1135: " << Scene();
}

// A bonus game won in a real window, with the clock frozen so that the game's random sequence is
// the model's: the first whole second of the day whose first spin at 9 lines of 1 wins the bonus
// game. SIGINT during the hand-over keeps it owed; the next start plays it first: two winners
// picked, then a kill; the start after that plays it on with those two in place, and a collect
// pays what the model says for them, with the spin's own win kept since its press.
// A bonus game won with the clock frozen, ended during the hand-over by SIGINT (then a kill after
// two picks) or by the player's close through the window manager: each end keeps it owed, and
// the next start plays it first and pays what the model says.
class BonusHandOver : public RealGame, public ::testing::WithParamInterface<bool> {};

TEST_P(BonusHandOver, KeepsTheBonusGameOwedAndTheNextStartPaysWhatTheModelSays) {
  const bool closed_by_player = GetParam();
  if (closed_by_player && QStandardPaths::findExecutable("openbox").isEmpty()) {
    GTEST_SKIP() << "openbox is missing";
  }
  const QString faketime = QStringLiteral("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
  if (!QFile::exists(faketime)) GTEST_SKIP() << "needs the faketime package";
  int second = 0;
  GameState model;
  for (; second < 24 * 3600; ++second) {
    model = GameState();
    SlotMachine machine(model);
    machine.SwitchOn(static_cast<uint32_t>(second) * 1000);
    machine.Restore(GameMoney{});
    std::array<int, kReels> offsets{};
    if (machine.TakeStake() && machine.Spin(912, offsets)) break;
  }
  ASSERT_LT(second, 24 * 3600);
  std::vector<int> winners;
  for (int ball = 0; ball < 8 && winners.size() < 2; ++ball) {
    if (model.BallPrizes[static_cast<size_t>(ball)] > 0) winners.push_back(ball);
  }
  const int32_t prize = 9 * (model.BallPrizes[static_cast<size_t>(winners[0])] +
                             model.BallPrizes[static_cast<size_t>(winners[1])]);

  StartXvfb(800, 600);
  QProcess window_manager;
  if (closed_by_player) {
    window_manager.setProcessEnvironment(env_);
    window_manager.start("openbox", QStringList());
    ASSERT_TRUE(window_manager.waitForStarted(10000));
    QThread::msleep(500);
  }
  QProcessEnvironment frozen = env_;
  frozen.insert("LD_PRELOAD", faketime);
  frozen.insert("TZ", "UTC");
  frozen.insert("FAKETIME", QStringLiteral("2026-12-09 %1:%2:%3")
                                .arg(second / 3600, 2, 10, QChar('0'))
                                .arg(second / 60 % 60, 2, 10, QChar('0'))
                                .arg(second % 60, 2, 10, QChar('0')));
  frozen.insert("FAKETIME_DONT_FAKE_MONOTONIC", "1");
  // A game built with the address sanitizer refuses to start when another library is loaded
  // ahead of its runtime; the clock library only wraps time calls, so the order does not matter.
  frozen.insert("ASAN_OPTIONS", frozen.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
  game_.setProcessEnvironment(frozen);
  Launch(800, 600);
  game_.setProcessEnvironment(env_);
  std::optional<Point> meter;
  for (int poll = 0; poll < 40 && !meter; ++poll) {
    QThread::msleep(250);
    meter = FindNumber(Screenshot(), "1000");
  }
  ASSERT_TRUE(meter.has_value());
  QThread::msleep(500);  // start-up ends
  Run("xdotool", {"windowfocus", window_});
  Run("xdotool", {"key", "Return"});
  for (int poll = 0; poll < 500 && Kept("Spins") != 1; ++poll) QThread::msleep(10);
  EXPECT_EQ(Kept("BonusBet"), 9) << "owed from the press that won it";
  // The spin's win counted in, the game hands over to the bonus game for two seconds: SIGINT
  // then ends it at once, and the bonus game stays owed.
  const int counted = 1000 - 9 + model.GamePaid;
  for (int poll = 0; poll < 100 && NumberAt(Screenshot(), meter->x + 64, meter->y) != counted;
       ++poll) {
  }
  ASSERT_EQ(NumberAt(Screenshot(), meter->x + 64, meter->y), counted);
  ASSERT_EQ(GameWindows().size(), 1) << "the bonus game opened before the hand-over ended";
  if (closed_by_player) {
    Run("xdotool", {"windowactivate", "--sync", window_});
    Run("xdotool", {"key", "alt+F4"});
  } else {
    ::kill(static_cast<pid_t>(game_.processId()), SIGINT);
  }
  ASSERT_TRUE(game_.waitForFinished(kOrderlyEndMs)) << "the game did not end: " << Scene();
  EXPECT_EQ(game_.exitCode(), 0);
  EXPECT_EQ(Kept("BonusBet"), 9);
  EXPECT_EQ(Kept("Credits"), counted);

  // The next start plays it first: two winners (then, after SIGINT, a kill).
  Launch(800, 600);
  for (int poll = 0; poll < 40 && GameWindows().size() < 2; ++poll) QThread::msleep(250);
  ASSERT_EQ(GameWindows().size(), 2) << "the owed bonus game did not open: " << Scene();
  for (const QString& id : GameWindows()) {
    if (id == window_) continue;
    const QRect place = Geometry(id);
    Run("xdotool", {"windowraise", id});
    for (const int ball : winners) {
      Run("xdotool",
          {"mousemove",
           QString::number(place.x() + (place.width() - 640) / 2 + 150 * (ball % 4) + 95),
           QString::number(place.y() + (place.height() - 480) / 2 + 140 * (ball / 4) + 265)});
      Run("xdotool", {"click", "1"});
    }
  }
  const QByteArray two = QByteArray::number(winners[0]) + "," + QByteArray::number(winners[1]);
  QByteArray picks;
  for (int poll = 0; poll < 500 && picks != two; ++poll) {
    QThread::msleep(10);
    QFile ini(Home() + "/.local/share/zelmar-slots/zelmar-slots.ini");
    if (!ini.open(QIODevice::ReadOnly)) continue;
    for (const QByteArray& line : ini.readAll().split('\n')) {
      if (line.startsWith("BonusPicks=")) picks = line.mid(11);
    }
  }
  ASSERT_EQ(picks, two);
  if (!closed_by_player) {
    ::kill(static_cast<pid_t>(game_.processId()), SIGKILL);
    ASSERT_TRUE(game_.waitForFinished(5000));
    EXPECT_EQ(Kept("Credits"), counted);
    Launch(800, 600);
    for (int poll = 0; poll < 40 && GameWindows().size() < 2; ++poll) QThread::msleep(250);
    ASSERT_EQ(GameWindows().size(), 2) << "the owed bonus game did not open: " << Scene();
  }
  StopBonusGame();
  for (int poll = 0; poll < 100 && Kept("BonusBet") != 0; ++poll) QThread::msleep(100);
  EXPECT_EQ(Kept("BonusBet"), 0);
  EXPECT_EQ(Kept("Credits"), 1000 - 9 + model.GamePaid + prize);
  EXPECT_EQ(Kept("Bonus"), prize);
  EXPECT_EQ(Kept("Spins"), 1);
}

INSTANTIATE_TEST_SUITE_P(EndedBy, BonusHandOver, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& end) {
                           return std::string(end.param ? "TheWindowsClose" : "SigintThenAKill");
                         });

// An end nobody can answer does not ask: with the saved-games folder's name taken by a file, the
// running game can't be kept, and SIGTERM ends the game within seconds with status 1 and the
// reason on the error output, the file in the folder's place as it was.
TEST_F(RealGame, SigtermWithAnUnwritableRunningGameSaysSoAndEndsWithAFailure) {
  const QString taken = Home() + "/.local/share/zelmar-slots";
  ASSERT_TRUE(QDir().mkpath(Home() + "/.local/share"));
  WriteFile(taken, "not a folder");
  Launch(800, 600);
  QThread::msleep(1000);  // start-up ends
  ::kill(static_cast<pid_t>(game_.processId()), SIGTERM);
  ASSERT_TRUE(game_.waitForFinished(kOrderlyEndMs)) << "SIGTERM waited: " << Scene();
  EXPECT_EQ(game_.exitStatus(), QProcess::NormalExit);
  EXPECT_NE(game_.exitCode(), 0);
  EXPECT_NE(game_.readAllStandardError().indexOf("Unable to write to " + taken.toUtf8() +
                                                 "/zelmar-slots.ini"),
            -1);
  QFile file(taken);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "not a folder");
}

// One game per home. With a window manager (activation needs one): a second start while the game
// starts opens nothing; three spins, the game hidden in the task bar, and a second start with the
// same home ends within a second with status 0 and brings the first game back, active; that game
// plays on and keeps every spin. A start with
// another home is a game of its own beside it.
TEST_F(RealGame, ASecondStartShowsTheRunningGameAndAnotherHomePlaysItsOwn) {
  if (QStandardPaths::findExecutable("openbox").isEmpty()) GTEST_SKIP() << "openbox is missing";
  StartXvfb(800, 600);
  QProcess window_manager;
  window_manager.setProcessEnvironment(env_);
  window_manager.start("openbox", QStringList());
  ASSERT_TRUE(window_manager.waitForStarted(10000));
  QThread::msleep(500);
  Launch(800, 600);
  // A second click on the launcher while the first start is still under way opens nothing.
  QProcess second;
  second.setProcessEnvironment(env_);
  second.setWorkingDirectory(Home());
  second.start(game_.program(), QStringList());
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  const std::optional<Point> meter = AwaitNewGame();
  ASSERT_TRUE(meter.has_value());
  EXPECT_EQ(GameWindows(), QStringList{window_});
  for (int spin = 1; spin <= 3; ++spin) {
    ASSERT_TRUE(SpinAndSettle(meter->x + 64, meter->y).has_value()) << spin;
  }
  ASSERT_EQ(Kept("Spins"), 3);

  const auto active = [this] { return Run("xdotool", {"getactivewindow"}).trimmed(); };
  Run("xdotool", {"windowminimize", window_});
  for (int poll = 0; poll < 50 && active() == window_; ++poll) QThread::msleep(100);
  ASSERT_NE(active(), window_);
  QElapsedTimer clock;
  clock.start();
  second.start(game_.program(), QStringList());
  ASSERT_TRUE(second.waitForFinished(10000));
  const qint64 took = clock.elapsed();
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
  EXPECT_LT(took, 1000) << "ms before the second start ended";
  for (int poll = 0; poll < 50 && active() != window_; ++poll) QThread::msleep(100);
  EXPECT_EQ(active(), window_) << "the running game is not the active window";
  EXPECT_EQ(GameWindows(), QStringList{window_});

  // An option that prints and ends still answers while the game runs.
  second.start(game_.program(), {"--version"});
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(second.readAllStandardOutput().startsWith("Zelmar Slots"));

  // The game plays on: the next spin is kept the moment it is pressed.
  Run("xdotool", {"windowfocus", window_});
  Run("xdotool", {"key", "Return"});
  for (int poll = 0; poll < 100 && Kept("Spins") != 4; ++poll) QThread::msleep(50);
  EXPECT_EQ(Kept("Spins"), 4);

  // Another home: a second game runs beside the first.
  QTemporaryDir other_home;
  QProcessEnvironment other_env = env_;
  other_env.insert("HOME", other_home.path());
  other_env.insert("XDG_DATA_HOME", other_home.path() + "/.local/share");
  QProcess other;
  other.setProcessEnvironment(other_env);
  other.setWorkingDirectory(other_home.path());
  other.start(game_.program(), QStringList());
  ASSERT_TRUE(other.waitForStarted(10000));
  for (int poll = 0; poll < 100 && GameWindows().size() < 2; ++poll) QThread::msleep(100);
  EXPECT_EQ(GameWindows().size(), 2) << "no second game with another home";
  EXPECT_EQ(other.state(), QProcess::Running);
  other.kill();
  other.waitForFinished(5000);

  ::kill(static_cast<pid_t>(game_.processId()), SIGTERM);
  ASSERT_TRUE(game_.waitForFinished(kOrderlyEndMs)) << "SIGTERM did not end the game";
  EXPECT_EQ(game_.exitCode(), 0);
  EXPECT_EQ(Kept("Spins"), 4);
  window_manager.kill();
  window_manager.waitForFinished(5000);
}

// The logout of an X11 desktop: a real session manager (xsm) starts the game, a spin is played,
// and the session is shut down with a checkpoint, as a logout does. The game keeps its game and
// ends by itself with status 0.
TEST_F(RealGame, LoggingOutOfTheSessionKeepsTheGameAndEndsIt) {
  for (const char* tool : {"xsm", "iceauth", "xwininfo"}) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is missing";
  }
  StartXvfb(800, 600);
  // xsm starts what the home's .xsmstartup lists, with the session's address in
  // SESSION_MANAGER; this script notes how the game ended.
  const QString script = Home() + "/run-game";
  WriteFile(script, "#!/bin/sh\n'" + game_.program() +
                        "' >/dev/null 2>&1\necho $? > \"$HOME/exit-status\"\n");
  QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  WriteFile(Home() + "/.xsmstartup", script + "\n");
  QProcess session;
  session.setProcessEnvironment(env_);
  session.setWorkingDirectory(Home());
  session.start("xsm", QStringList());
  ASSERT_TRUE(session.waitForStarted(10000));
  const QString id =
      Run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "Zelmar Slots"});
  ASSERT_FALSE(id.isEmpty());
  window_ = id.split('\n').first().trimmed();
  const std::optional<Point> meter = AwaitNewGame();
  ASSERT_TRUE(meter.has_value());
  ASSERT_TRUE(SpinAndSettle(meter->x + 64, meter->y).has_value());
  ASSERT_EQ(Kept("Spins"), 1);
  const int credits = Kept("Credits");

  // xsm's window: Shutdown is the lowest, rightmost of its four buttons, a menu whose first entry,
  // "With Checkpoint", sits just below it. Its dialog wants a session name, and its own Shutdown
  // button is the lowest, leftmost one.
  const QString manager =
      Run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^xsm"}).trimmed();
  ASSERT_FALSE(manager.isEmpty());
  Run("xdotool", {"windowraise", manager});
  const std::vector<QRect> buttons = Widgets(manager);
  ASSERT_EQ(buttons.size(), 4u);
  const QRect shutdown = *std::max_element(buttons.begin(), buttons.end(), LowestRightmost);
  Run("xdotool", {"mousemove", QString::number(shutdown.center().x()),
                  QString::number(shutdown.center().y())});
  Run("xdotool", {"mousedown", "1"});
  QThread::msleep(300);
  Run("xdotool", {"mousemove", QString::number(shutdown.center().x()),
                  QString::number(shutdown.bottom() + 12)});
  QThread::msleep(200);
  Run("xdotool", {"mouseup", "1"});
  const QString dialog =
      Run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^Shutdown$"}).trimmed();
  ASSERT_FALSE(dialog.isEmpty());
  const std::vector<QRect> parts = Widgets(dialog);
  ASSERT_FALSE(parts.empty());
  const auto top_right = [](const QRect& a, const QRect& b) {
    return a.top() != b.top() ? a.top() > b.top() : a.left() < b.left();
  };
  const QRect name = *std::max_element(parts.begin(), parts.end(), top_right);
  Run("xdotool",
      {"mousemove", QString::number(name.center().x()), QString::number(name.center().y())});
  Run("xdotool", {"click", "1"});
  // The game had the keyboard; the dialog takes it now.
  Run("xdotool", {"windowfocus", dialog});
  Run("xdotool", {"type", "logout"});
  const auto lowest_leftmost = [](const QRect& a, const QRect& b) {
    return a.bottom() != b.bottom() ? a.bottom() < b.bottom() : a.left() > b.left();
  };
  const QRect confirm = *std::max_element(parts.begin(), parts.end(), lowest_leftmost);
  Run("xdotool",
      {"mousemove", QString::number(confirm.center().x()), QString::number(confirm.center().y())});
  Run("xdotool", {"click", "1"});

  const QString status_file = Home() + "/exit-status";
  for (int poll = 0; poll < kOrderlyEndMs / 100 && !QFile::exists(status_file); ++poll) {
    QThread::msleep(100);
  }
  QFile status(status_file);
  ASSERT_TRUE(status.open(QIODevice::ReadOnly)) << "the session's end did not end the game";
  EXPECT_EQ(status.readAll().trimmed(), "0");
  EXPECT_EQ(Kept("Spins"), 1);
  EXPECT_EQ(Kept("Credits"), credits);
  EXPECT_TRUE(session.waitForFinished(kOrderlyEndMs)) << "the session did not end";
}

// A 4:3 screen, and a wide one whose cabinet is laid out narrower than the screen and centred.
class RealGameOn : public RealGame, public testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RealGameOn, ClickingSpinTakesTheStakeFromTheCreditsAndARestartKeepsThem) {
  const auto [screen_width, screen_height] = GetParam();
  Launch(screen_width, screen_height);
  QThread::msleep(1500);
  const std::optional<Point> before = FindNumber(Screenshot(), "1000");
  ASSERT_TRUE(before.has_value());
  // The window's place and size (no window manager: no frame) and the credits meter (right edge
  // s(620), top s(27) + 3 of the cabinet) tell the layout width: the one whose centred cabinet
  // puts the meter there and whose keys fit the game area below the menu bar.
  const QRect window = Geometry(window_);
  int width = 0, origin_x = 0, origin_y = 0;
  for (int w = 1; w <= screen_width && width == 0; ++w) {
    origin_x = window.x() + CabinetLeft(window.width(), w);
    origin_y = before->y - ScaleAt(w, 27) - 3;
    if (origin_x + ScaleAt(w, 620) == before->x + 64 &&
        LayoutWidth(screen_width, window.width(), window.y() + window.height() - origin_y) == w) {
      width = w;
    }
  }
  ASSERT_NE(width, 0) << "no layout width puts the credits meter where it is";
  if (screen_width * 3 == screen_height * 4) {
    EXPECT_EQ(width, screen_width);
  }
  const auto s = [width](int v) { return ScaleAt(width, v); };
  Run("xdotool",
      {"mousemove", QString::number(origin_x + s(630)), QString::number(origin_y + s(505))});
  Run("xdotool", {"click", "1"});

  // The spin lands and any win is counted in; a bonus game, if the reels start one, is ended
  // with its STOP sign. Wait until the credits meter holds still.
  const std::optional<int> credits = SettledCredits(origin_x + s(620), origin_y + s(27) + 3);
  const std::optional<int> stake = NumberAt(Screenshot(), origin_x + s(250), origin_y + s(27) + 3);
  ASSERT_TRUE(credits.has_value());
  // The coins meter keeps showing the stake of the spin; the nine credits left the credits,
  // and whatever the spin won came back in.
  EXPECT_EQ(stake, 9);
  EXPECT_GE(*credits, 991);

  // Exit from the File menu (its title sits at the window's top left, above the drawing area;
  // E&xit is its mnemonic) ends the program normally. A busy machine may open the menu late, so
  // a try whose key press found no menu is made again, waiting longer each time.
  bool finished = false;
  for (int attempt = 0; attempt < 6 && !finished; ++attempt) {
    if (attempt > 0) Run("xdotool", {"key", "Escape"});
    Run("xdotool", {"mousemove", QString::number(window.x() + 15), QString::number(origin_y - 10)});
    Run("xdotool", {"click", "1"});
    QThread::msleep(500 * (attempt + 1));
    Run("xdotool", {"key", "x"});
    finished = game_.waitForFinished(5000);
  }
  ASSERT_TRUE(finished) << "the game did not close";
  EXPECT_EQ(game_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(game_.exitCode(), 0);

  // The next start goes on with the game the close kept.
  Launch(screen_width, screen_height);
  std::optional<int> restarted;
  for (int poll = 0; poll < 40 && !restarted; ++poll) {
    QThread::msleep(250);
    restarted = NumberAt(Screenshot(), origin_x + s(620), origin_y + s(27) + 3);
  }
  EXPECT_EQ(restarted, credits);
}

INSTANTIATE_TEST_SUITE_P(Screens, RealGameOn,
                         testing::Values(std::pair(800, 600), std::pair(1920, 1080)));

}  // namespace
