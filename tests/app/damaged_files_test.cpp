// Every file the game reads beside the program, damaged in each way a disk or a player can damage
// it: the game still starts, plays a spin and closes, and shows at most the message that belongs
// to that file.
//
// Runs as a program of its own: started as root it first becomes the unprivileged user "nobody",
// because root reads files whatever their permissions say and the unreadable case would prove
// nothing.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <random>
#include <string>

#include "tests/app/game_fixture.h"

namespace {

enum class Damage {
  kMissing,
  kEmpty,
  kTruncated,    // the first half of a good file
  kRandomBytes,  // as many random bytes as a good file holds
  kFolder,       // a folder of that name, with a file inside
  kUnreadable,   // a good file without read permission
  kTinyPicture,  // a good JPEG of 3 x 2 pixels where a larger picture belongs
};

const char* NameOf(Damage d) {
  switch (d) {
    case Damage::kMissing:
      return "Missing";
    case Damage::kEmpty:
      return "Empty";
    case Damage::kTruncated:
      return "Truncated";
    case Damage::kRandomBytes:
      return "RandomBytes";
    case Damage::kFolder:
      return "Folder";
    case Damage::kUnreadable:
      return "Unreadable";
    case Damage::kTinyPicture:
      return "TinyPicture";
  }
  return "?";
}

struct GameFile {
  const char* name;  // in the program folder
  int screen_width;  // a width at which the game reads it
  int screen_height;
  QString good;  // a good copy
};

const GameFile kFiles[] = {
    {"TESTER.jpg", 800, 600, ":/art/main/background.jpg"},
    {"MOTIONX.jpg", 800, 600, ":/art/main/spin_strip.jpg"},
    {"Bet5But.jpg", 800, 600, ":/art/main/bet_max.jpg"},
    {"SpinBut.jpg", 800, 600, ":/art/main/spin.jpg"},
    {"BET1B.jpg", 800, 600, ":/art/main/coin_dimmed.jpg"},
    {"Zelmar.jpg", 800, 600, ":/art/main/symbols.jpg"},
    {"Zelmar98.jpg", 1024, 768, ZELMAR_SOURCE_DIR "/art/beside/Zelmar98.jpg"},
    {"Zelmar110.jpg", 1152, 864, ZELMAR_SOURCE_DIR "/art/beside/Zelmar110.jpg"},
    {"Zelmar122.jpg", 1280, 1024, ZELMAR_SOURCE_DIR "/art/beside/Zelmar122.jpg"},
    {"Zelmar152.jpg", 1600, 1200, ZELMAR_SOURCE_DIR "/art/beside/Zelmar152.jpg"},
};

void PrintTo(const GameFile& file, std::ostream* os) {
  *os << file.name;
}
void PrintTo(Damage damage, std::ostream* os) {
  *os << NameOf(damage);
}

constexpr Damage kDamages[] = {Damage::kMissing,     Damage::kEmpty,  Damage::kTruncated,
                               Damage::kRandomBytes, Damage::kFolder, Damage::kUnreadable,
                               Damage::kTinyPicture};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class DamagedFile : public GameFixture,
                    public ::testing::WithParamInterface<std::tuple<GameFile, Damage>> {
 protected:
  // Puts the damaged file into the program folder.
  void PutDamaged(const GameFile& file, Damage damage) {
    const QString path = QDir(dir_.path()).filePath(file.name);
    const QByteArray good = ReadAll(file.good);
    ASSERT_FALSE(good.isEmpty()) << file.good.toStdString();
    switch (damage) {
      case Damage::kMissing:
        break;
      case Damage::kEmpty:
        ASSERT_TRUE(WriteAll(path, {}));
        break;
      case Damage::kTruncated:
        ASSERT_TRUE(WriteAll(path, good.left(good.size() / 2)));
        break;
      case Damage::kRandomBytes: {
        std::mt19937 bytes(static_cast<uint32_t>(qHash(QString::fromLatin1(file.name))));
        QByteArray noise(good.size(), '\0');
        for (char& c : noise) c = static_cast<char>(bytes());
        ASSERT_TRUE(WriteAll(path, noise));
        break;
      }
      case Damage::kFolder:
        ASSERT_TRUE(QDir(dir_.path()).mkpath(file.name));
        ASSERT_TRUE(WriteAll(QDir(path).filePath("inside"), good));
        break;
      case Damage::kUnreadable:
        ASSERT_TRUE(WriteAll(path, good));
        ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0), 0);
        ASSERT_FALSE(QFile(path).open(QIODevice::ReadOnly)) << "the file can still be read";
        break;
      case Damage::kTinyPicture: {
        QImage tiny(3, 2, QImage::Format_RGB32);
        tiny.fill(Qt::magenta);
        ASSERT_TRUE(tiny.save(path, "JPG"));
        break;
      }
    }
  }
};

TEST_P(DamagedFile, GameStartsPlaysASpinAndClosesWithoutAMessage) {
  const auto& [file, damage] = GetParam();
  const uint32_t seed = FindSeed(9, 1, [](const GameState& g) {
    return g.GamePaid > 0 && g.ScatterCount < 3;  // a win to count up, no bonus game
  });
  const GameState expected = PredictSpin(seed, 9, 1);
  // The cabinet as it looks with the art carried in the program.
  Start(seed, file.screen_width, file.screen_height);
  Ready();
  const QImage carried = window_->Surface().Image().copy();
  window_.reset();
  state_ = GameState();

  PutDamaged(file, damage);
  if (HasFatalFailure()) return;
  Start(seed, file.screen_width, file.screen_height);
  Ready();
  // A file that is not a whole, readable picture leaves the carried art in place.
  if (damage != Damage::kTinyPicture) {
    EXPECT_TRUE(window_->Surface().Image() == carried);
  }
  ClickSpin();
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.ReelStop, expected.ReelStop);
  EXPECT_EQ(state_.Credits, 1000 - 9 + expected.GamePaid);
  EXPECT_FALSE(state_.Busy);
  platform_.Advance(2000);  // the win cycle runs over the damaged art

  window_->close();
  platform_.ProcessMessages();
  EXPECT_FALSE(window_->isVisible());
  for (const FakePlatform::Message& m : platform_.messages) {
    ADD_FAILURE() << "message shown: " << m.text.toStdString();
  }
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<GameFile, Damage>>& info) {
  std::string name = std::get<0>(info.param).name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name + "_" + NameOf(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(ArtBesideTheProgram, DamagedFile,
                         ::testing::Combine(::testing::ValuesIn(kFiles),
                                            ::testing::ValuesIn(kDamages)),
                         CaseName);

// Root reads every file whatever its permissions: become "nobody" for the unreadable cases.
void DropRootPrivileges() {
  if (geteuid() != 0) return;
  const passwd* nobody = getpwnam("nobody");
  if (nobody == nullptr || setgroups(0, nullptr) != 0 || setgid(nobody->pw_gid) != 0 ||
      setuid(nobody->pw_uid) != 0) {
    std::fprintf(stderr, "could not leave root; unreadable files will be readable\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  DropRootPrivileges();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  return RUN_ALL_TESTS();
}
