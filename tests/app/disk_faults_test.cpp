// The saved-games file on a disk that refuses writes: a full file system and a read-only one. The
// player is told "Unable to write to" the file, the file keeps the games it held, and the game
// plays on.
//
// Runs as a program of its own in a private mount namespace, so that it can mount small file
// systems of its own (as root directly, otherwise inside a user namespace) and every mount goes
// away with the process.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <string>

#include "tests/app/game_fixture.h"

namespace {

bool g_can_mount = false;
std::string g_mount_problem;

bool WriteFileText(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  return ::close(fd) == 0 && ok;
}

std::string ReadFileText(const std::string& path) {
  QFile file(QString::fromStdString(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<gone>");
}

// The saved games the player had before this session.
const std::string kOldFile =
    "[GameNo1]\nGameName=Before the storm\nGameDate=12/01/2026\nCredits=4321\nBorrowed=2000\n"
    "Spins=77\nTotalBets=500\nBonus=40\n"
    "[CurrentGame]\nGameName=CurrentGame\nGameDate=12/06/2026\nCredits=5000\nBorrowed=3000\n"
    "Spins=120\nTotalBets=1800\nBonus=90\n";

enum class Refusal { kFullDisk, kReadOnlyFolder };

void PrintTo(Refusal refusal, std::ostream* os) {
  *os << (refusal == Refusal::kFullDisk ? "a full disk" : "a read-only folder");
}

class DiskFault : public GameFixture, public ::testing::WithParamInterface<Refusal> {
 protected:
  void SetUp() override {
    if (!g_can_mount) GTEST_SKIP() << "cannot mount a file system here: " << g_mount_problem;
    folder_ = QDir(dir_.path()).filePath("zelmar-slots").toStdString();
    file_ = folder_ + "/zelmar-slots.ini";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder_)));
    ASSERT_EQ(::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k"), 0) << strerror(errno);
    mounted_ = true;
    ASSERT_TRUE(WriteFileText(file_, kOldFile));
    if (GetParam() == Refusal::kFullDisk) {
      // Fill every block that is left.
      const int fd = ::open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
      ASSERT_GE(fd, 0);
      const std::string block(4096, 'x');
      while (::write(fd, block.data(), block.size()) > 0) {
      }
      ASSERT_EQ(errno, ENOSPC);
      ::close(fd);
    } else {
      ASSERT_EQ(::mount(nullptr, folder_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
          << strerror(errno);
    }
  }

  void TearDown() override {
    EndGame();
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }

  // Every save refused so far has said so, with the file's name, and nothing else was shown.
  void ExpectRefusalsShown(size_t count) {
    ASSERT_EQ(platform_.messages.size(), count);
    for (const FakePlatform::Message& m : platform_.messages) {
      EXPECT_TRUE(m.error);
      EXPECT_EQ(m.text.toStdString(), "Unable to write to " + file_);
    }
  }

  std::string folder_;
  std::string file_;
  bool mounted_ = false;
};

TEST_P(DiskFault, RefusedSavesAreReportedTheOldFileStaysAndTheGamePlaysOn) {
  Start(1);
  Ready();
  EXPECT_EQ(state_.Credits, 5000);  // the running game of the last session

  ClickSpin();  // the spin is kept at once: refused, and said
  PlayOut();
  game_->Keeper().Flush();
  platform_.ProcessMessages();
  ExpectRefusalsShown(1);
  EXPECT_EQ(state_.SpinCount, 121);
  Item("&File/&Save Game")->trigger();  // keeps the running game first, before any dialog
  platform_.ProcessMessages();
  ExpectRefusalsShown(2);
  EXPECT_EQ(ReadFileText(file_), kOldFile);

  ClickSpin();  // the game goes on after the refusal, which is not told again
  PlayOut();
  game_->Keeper().Flush();
  platform_.ProcessMessages();
  ExpectRefusalsShown(2);
  EXPECT_EQ(state_.SpinCount, 122);
  EXPECT_FALSE(game_->Play().Running());

  // The close can't keep the game either: the player was told once this run, and that is all.
  window_->close();
  platform_.ProcessMessages();
  ExpectRefusalsShown(2);
  EXPECT_FALSE(game_->RunningGameKept());
  EXPECT_EQ(ReadFileText(file_), kOldFile);

  // An end nobody is there to answer (a signal, the session's end) asks nothing, even when the
  // player has not been told yet (New Game's refusal still on its way); it tells the caller, who
  // ends with a failure.
  Start(1);
  Ready();
  Item("&File/&New Game")->trigger();
  game_->Keeper().Flush();
  game_->EndUnattended();
  window_->close();
  platform_.ProcessMessages();
  ExpectRefusalsShown(2);
  EXPECT_FALSE(game_->RunningGameKept());
  EXPECT_EQ(ReadFileText(file_), kOldFile);
  QStringList left = QDir(QString::fromStdString(folder_)).entryList(QDir::Files | QDir::Hidden);
  left.removeAll(QStringLiteral("filler"));
  QStringList expected{"zelmar-slots.ini"};
  if (GetParam() == Refusal::kFullDisk) expected << "zelmar-slots.ini.lock";  // takes no blocks
  EXPECT_EQ(left, expected) << "a refused write left a file behind";
}

INSTANTIATE_TEST_SUITE_P(SavedGamesFile, DiskFault,
                         ::testing::Values(Refusal::kFullDisk, Refusal::kReadOnlyFolder),
                         [](const ::testing::TestParamInfo<Refusal>& row) {
                           return row.param == Refusal::kFullDisk ? "FullDisk" : "ReadOnlyFolder";
                         });

// A private mount namespace: mounts made by the tests are seen by nobody else and vanish with the
// process. Must run while the process has a single thread.
void EnterPrivateMounts() {
  const uid_t uid = geteuid();
  const gid_t gid = getegid();
  if (uid != 0) {
    if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
      g_mount_problem = std::string("no user namespace: ") + strerror(errno);
      return;
    }
    // Stay the same user inside: root there, with the right to mount.
    WriteFileText("/proc/self/setgroups", "deny");
    WriteFileText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1");
    WriteFileText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1");
  } else if (unshare(CLONE_NEWNS) != 0) {
    g_mount_problem = std::string("no mount namespace: ") + strerror(errno);
    return;
  }
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    g_mount_problem = std::string("mounts cannot be made private: ") + strerror(errno);
    return;
  }
  g_can_mount = true;
}

}  // namespace

int main(int argc, char** argv) {
  EnterPrivateMounts();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  return RUN_ALL_TESTS();
}
