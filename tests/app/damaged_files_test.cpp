// Every file the game reads beside the program or in the player's data folder, damaged in each way
// a disk or a player can damage it: the game still starts, plays a spin and closes, shows at most
// the message that belongs to that file, and never replaces the saved games with a new game.
//
// Runs as a program of its own: started as root it first becomes the unprivileged user "nobody",
// because root reads files whatever their permissions say and the unreadable case would prove
// nothing.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenuBar>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/help_window.h"
#include "platform/profile_file.h"
#include "platform/sound_player.h"
#include "shell/game_audio.h"
#include "tests/app/game_fixture.h"

namespace {

enum class Damage {
  kMissing,
  kEmpty,
  kTruncated,    // the first half of a good file
  kRandomBytes,  // as many random bytes as a good file holds
  kFolder,       // a folder of that name, with a file inside
  kUnreadable,   // a good file without read permission
  kPipe,         // a named pipe that nobody writes to: opening it to read could wait forever
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
    case Damage::kPipe:
      return "Pipe";
    case Damage::kTinyPicture:
      return "TinyPicture";
  }
  return "?";
}

enum class Kind {
  kPicture,     // replacement art: the carried picture stays, without a message
  kSettings,    // "Testing.ini": the built-in values stay, without a message
  kSavedGames,  // in the data folder: read as a new game; a file that can't be replaced is reported
  kHelpFile,    // read when help is asked for: the help window says what is wrong
  kMemorySound,  // read whole at start-up: a file that can't be read is reported, once
  kFileSound,    // played from its file: the default sound plays instead, without a message
  kTrack,        // music: a track that can't be played is reported when it is due
};

struct GameFile {
  const char* name;  // in the program folder (the saved games: in the data folder)
  Kind kind;
  int screen_width;  // a width at which the game reads it
  int screen_height;
  QString good;  // where a good copy comes from: a file, or "text:" and the content
};

// The player's saved games before this session; the running game comes last, so that the first
// half of the file holds a whole saved game and no running game.
constexpr char kOldSavedGames[] =
    "text:[GameNo1]\nGameName=Before the storm\nGameDate=12/01/2026\nCredits=4321\n"
    "Borrowed=2000\nSpins=77\nTotalBets=500\nBonus=40\n"
    "[CurrentGame]\nGameName=CurrentGame\nGameDate=12/06/2026\nCredits=5000\nBorrowed=3000\n"
    "Spins=120\nTotalBets=1800\nBonus=90\n";

const GameFile kFiles[] = {
    {"TESTER.jpg", Kind::kPicture, 800, 600, ":/art/main/background.jpg"},
    {"MOTIONX.jpg", Kind::kPicture, 800, 600, ":/art/main/spin_strip.jpg"},
    {"Bet5But.jpg", Kind::kPicture, 800, 600, ":/art/main/bet_max.jpg"},
    {"SpinBut.jpg", Kind::kPicture, 800, 600, ":/art/main/spin.jpg"},
    {"BET1B.jpg", Kind::kPicture, 800, 600, ":/art/main/coin_dimmed.jpg"},
    {"Zelmar.jpg", Kind::kPicture, 800, 600, ":/art/main/symbols.jpg"},
    {"Zelmar98.jpg", Kind::kPicture, 1024, 768, ZELMAR_SOURCE_DIR "/art/beside/Zelmar98.jpg"},
    {"Zelmar110.jpg", Kind::kPicture, 1152, 864, ZELMAR_SOURCE_DIR "/art/beside/Zelmar110.jpg"},
    {"Zelmar122.jpg", Kind::kPicture, 1280, 1024, ZELMAR_SOURCE_DIR "/art/beside/Zelmar122.jpg"},
    {"Zelmar152.jpg", Kind::kPicture, 1600, 1200, ZELMAR_SOURCE_DIR "/art/beside/Zelmar152.jpg"},
    {"Testing.ini", Kind::kSettings, 800, 600,
     "text:[Settings]\r\nSoundRoot=Zelmar\r\nAboutName=Zelmar Slots\r\n"},
    {"zelmar-slots.ini", Kind::kSavedGames, 800, 600, kOldSavedGames},
    {"zelmar-slots.hlp", Kind::kHelpFile, 800, 600, ZELMAR_HELP_FILE},
    {"Zelmar0.wav", Kind::kMemorySound, 800, 600, ZELMAR_SOURCE_DIR "/art/beside/Zelmar0.wav"},
    {"Zelmar3.wav", Kind::kMemorySound, 800, 600, ZELMAR_SOURCE_DIR "/art/beside/Zelmar3.wav"},
    {"ZelmarWin.wav", Kind::kFileSound, 800, 600, ZELMAR_SOURCE_DIR "/art/beside/ZelmarWin.wav"},
    {"ZelmarE.wav", Kind::kFileSound, 800, 600, ZELMAR_SOURCE_DIR "/art/beside/ZelmarE.wav"},
    {"Zelmar7.wav", Kind::kFileSound, 800, 600, ZELMAR_SOURCE_DIR "/art/beside/Zelmar7.wav"},
    {"Zelmar5.wav", Kind::kFileSound, 800, 600, ZELMAR_SOURCE_DIR "/art/beside/Zelmar5.wav"},
    {"Zelmar0.mid", Kind::kTrack, 800, 600, ZELMAR_SOURCE_DIR "/art/beside/Zelmar0.mid"},
};

// The sounds and tracks that sit beside the program.
constexpr const char* kSoundFiles[] = {"Zelmar0.wav", "Zelmar3.wav", "ZelmarWin.wav",
                                       "ZelmarE.wav", "Zelmar7.wav", "Zelmar5.wav",
                                       "Zelmar0.mid", "Zelmar1.mid"};

bool IsSound(Kind kind) {
  return kind == Kind::kMemorySound || kind == Kind::kFileSound || kind == Kind::kTrack;
}

void PrintTo(const GameFile& file, std::ostream* os) {
  *os << file.name;
}
void PrintTo(Damage damage, std::ostream* os) {
  *os << NameOf(damage);
}

// Every file in every damage; a picture of the wrong size only where a picture belongs.
std::vector<std::tuple<GameFile, Damage>> AllCases() {
  constexpr Damage kDamages[] = {Damage::kMissing,     Damage::kEmpty,      Damage::kTruncated,
                                 Damage::kRandomBytes, Damage::kFolder,     Damage::kUnreadable,
                                 Damage::kPipe,        Damage::kTinyPicture};
  std::vector<std::tuple<GameFile, Damage>> cases;
  for (const GameFile& file : kFiles) {
    for (Damage damage : kDamages) {
      if (damage == Damage::kTinyPicture && file.kind != Kind::kPicture) continue;
      cases.emplace_back(file, damage);
    }
  }
  return cases;
}

QByteArray ReadAll(const QString& path) {
  if (path.startsWith(QStringLiteral("text:"))) return path.mid(5).toUtf8();
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
  // Starts the game as the program does, with the real help window.
  void StartGame(uint32_t seed, const GameFile& file) {
    GameSounds* sounds = &sounds_;
    if (IsSound(file.kind)) {  // the real player, on SDL's silent output
      // Set before the player's audio thread starts, which reads the environment as it begins:
      // a variable added while it reads could move the environment under it.
      qputenv("XDG_DATA_HOME", dir_.path().toUtf8());
      audio_.reset();
      player_ = CreateSdlSoundPlayer();
      audio_ = std::make_unique<GameAudio>(*player_, platform_);
      sounds = audio_.get();
    }
    Start(seed, file.screen_width, file.screen_height, platform_.dpi, sounds, help_window_.get());
    Ready();
  }

  QString PathOf(const GameFile& file) const {
    const QDir dir(dir_.path());
    return file.kind == Kind::kSavedGames
               ? dir.filePath(QStringLiteral("zelmar-slots/") + file.name)
               : dir.filePath(file.name);
  }

  // Puts the damaged file in its place and keeps what was written in damaged_.
  void PutDamaged(const GameFile& file, Damage damage) {
    const QString path = PathOf(file);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    const QByteArray good = ReadAll(file.good);
    ASSERT_FALSE(good.isEmpty()) << file.good.toStdString();
    QByteArray& written = damaged_;
    switch (damage) {
      case Damage::kMissing:
        break;
      case Damage::kEmpty:
        ASSERT_TRUE(WriteAll(path, {}));
        break;
      case Damage::kTruncated:
        ASSERT_TRUE(WriteAll(path, written = good.left(good.size() / 2)));
        break;
      case Damage::kRandomBytes: {
        std::mt19937 bytes(static_cast<uint32_t>(qHash(QString::fromLatin1(file.name))));
        QByteArray noise(good.size(), '\0');
        for (char& c : noise) c = static_cast<char>(bytes());
        written = noise;
        ASSERT_TRUE(WriteAll(path, noise));
        break;
      }
      case Damage::kFolder:
        ASSERT_TRUE(QDir().mkpath(path));
        ASSERT_TRUE(WriteAll(QDir(path).filePath("inside"), good));
        break;
      case Damage::kUnreadable:
        ASSERT_TRUE(WriteAll(path, written = good));
        ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0), 0);
        ASSERT_FALSE(QFile(path).open(QIODevice::ReadOnly)) << "the file can still be read";
        break;
      case Damage::kPipe:
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
      case Damage::kTinyPicture: {
        QImage tiny(3, 2, QImage::Format_RGB32);
        tiny.fill(Qt::magenta);
        ASSERT_TRUE(tiny.save(path, "JPG"));
        break;
      }
    }
  }

  // The help window the game opened, or nullptr.
  static HelpWindow* OpenHelpWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* help = dynamic_cast<HelpWindow*>(w); help && help->isVisible()) return help;
    }
    return nullptr;
  }

  // The game and its window go before the sounds and the help window they use.
  void TearDown() override { EndGame(); }

  std::unique_ptr<HelpViewer> help_window_ = CreateHelpWindowViewer();
  std::unique_ptr<SoundPlayer> player_;
  std::unique_ptr<GameAudio> audio_;
  QByteArray damaged_;
};

TEST_P(DamagedFile, GameStartsPlaysASpinAndClosesKeepingTheSavedGames) {
  const auto& [file, damage] = GetParam();
  const uint32_t seed = FindSeed(9, 1, [](const GameState& g) {
    return g.GamePaid > 0 && g.ScatterCount < 3;  // a win to count up, no bonus game
  });
  const GameState expected = PredictSpin(seed, 9, 1);
  // The cabinet as it looks with the art carried in the program.
  StartGame(seed, file);
  const QImage carried = Surface().Image().copy();
  EndGame();
  state_ = GameState();
  platform_.messages.clear();

  PutDamaged(file, damage);
  if (HasFatalFailure()) return;
  if (IsSound(file.kind)) {  // the other sounds and tracks beside the program, whole
    for (const char* name : kSoundFiles) {
      if (QString::fromLatin1(name) == QLatin1String(file.name)) continue;
      ASSERT_TRUE(QFile::link(QStringLiteral(ZELMAR_SOURCE_DIR "/art/beside/") + name,
                              QDir(dir_.path()).filePath(name)));
    }
  }
  if (file.kind != Kind::kHelpFile) {  // the manual beside the program, whole
    ASSERT_TRUE(QFile::link(QStringLiteral(ZELMAR_HELP_FILE),
                            QDir(dir_.path()).filePath(QStringLiteral("zelmar-slots.hlp"))));
  }
  const QString path = PathOf(file);
  static QStringList warnings;  // a message handler is a plain function
  warnings.clear();
  const QtMessageHandler earlier_handler =
      qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg) warnings << text;
      });
  StartGame(seed, file);
  qInstallMessageHandler(earlier_handler);
  // A file that is not a whole, readable picture leaves the carried art in place, and no damage
  // brings back a saved game that is not there.
  if (damage != Damage::kTinyPicture) {
    EXPECT_TRUE(Surface().Image() == carried);
  }
  // A skipped replacement picture is named, with why, on the program's error output, where a
  // player who put it there looks.
  if (file.kind == Kind::kPicture && damage != Damage::kMissing && damage != Damage::kFolder &&
      damage != Damage::kTinyPicture) {
    EXPECT_EQ(warnings.filter(path).size(), 1) << warnings.join('\n').toStdString();
  }
  EXPECT_EQ(state_.Credits, 1000);
  ClickSpin();
  PlayOut();
  EXPECT_EQ(state_.SpinCount, 1);
  EXPECT_EQ(state_.ReelStop, expected.ReelStop);
  EXPECT_EQ(state_.Credits, 1000 - 9 + expected.GamePaid);
  EXPECT_FALSE(game_->Play().Running());
  game_->Keeper().Flush();  // what keeping the spin had to say, said before the close
  platform_.Advance(2000);  // the win cycle runs over the damaged art

  Item(QStringLiteral("&Help/&Zelmar Slots Manual"))->trigger();
  platform_.ProcessMessages();
  HelpWindow* help = OpenHelpWindow();
  ASSERT_NE(help, nullptr);
  if (file.kind == Kind::kHelpFile && help->Book().Empty()) {
    EXPECT_TRUE(help->Page()->toPlainText().contains(QStringLiteral("could not be opened")));
  } else if (file.kind == Kind::kHelpFile) {
    EXPECT_FALSE(help->CurrentTopic().isEmpty());  // what is left of the manual
  } else {
    EXPECT_EQ(help->CurrentTopic(), QStringLiteral("contents.html"));
  }

  window_->close();
  platform_.ProcessMessages();
  EXPECT_FALSE(window_->isVisible());
  EXPECT_EQ(OpenHelpWindow(), nullptr);

  // Only a saved-games file that can't be replaced is worth a message: the game could not be kept.
  const bool unwritable =
      file.kind == Kind::kSavedGames &&
      (damage == Damage::kUnreadable || damage == Damage::kFolder || damage == Damage::kPipe);
  const bool unreadable = damage == Damage::kMissing || damage == Damage::kUnreadable ||
                          damage == Damage::kFolder || damage == Damage::kPipe;
  if (unwritable) {
    // Once when the spin could not be kept; the close that could not keep the game either does
    // not say it again.
    ASSERT_EQ(platform_.messages.size(), 1u);
    for (const FakePlatform::Message& m : platform_.messages) {
      EXPECT_EQ(m.text, QStringLiteral("Unable to write to ") + path);
    }
  } else if (file.kind == Kind::kMemorySound && unreadable) {
    ASSERT_EQ(platform_.messages.size(), 1u);
    EXPECT_TRUE(platform_.messages[0].error);
    EXPECT_TRUE(platform_.messages[0].text.contains(path));
  } else if (file.kind == Kind::kTrack && damage != Damage::kMissing) {
    ASSERT_LE(platform_.messages.size(), 1u);  // once, not at every tick of the music timer
    for (const FakePlatform::Message& m : platform_.messages) {
      EXPECT_TRUE(m.text.startsWith(QStringLiteral("The music can't be played")));
    }
  } else {
    for (const FakePlatform::Message& m : platform_.messages) {
      ADD_FAILURE() << "message shown: " << m.text.toStdString();
    }
  }
  if (file.kind != Kind::kSavedGames) return;

  // The saved-games file: whatever it held is still there; only the running game is new.
  if (damage == Damage::kFolder) {
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(ReadAll(QDir(path).filePath("inside")), ReadAll(file.good));
    return;
  }
  if (damage == Damage::kUnreadable) {
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_EQ(ReadAll(path), damaged_);
    return;
  }
  if (damage == Damage::kPipe) {
    struct stat st {};
    EXPECT_TRUE(stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    return;
  }
  const ProfileDocument before = ProfileDocument::Parse(damaged_.toStdString());
  const ProfileDocument after = ProfileDocument::Parse(ReadAll(path).toStdString());
  EXPECT_EQ(after.Value("CurrentGame", "Credits"), std::to_string(state_.Credits));
  EXPECT_EQ(after.Value("CurrentGame", "Spins"), "1");
  for (const char* key :
       {"GameName", "GameDate", "Credits", "Borrowed", "Spins", "TotalBets", "Bonus"}) {
    EXPECT_EQ(after.Value("GameNo1", key), before.Value("GameNo1", key)) << key;
  }
  if (!before.Value("CurrentGame", "GameName")) {
    EXPECT_TRUE(ReadAll(path).startsWith(QByteArray::fromStdString(before.Text())));
  }
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<GameFile, Damage>>& info) {
  std::string name = std::get<0>(info.param).name;
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name + "_" + NameOf(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(FilesTheGameReads, DamagedFile, ::testing::ValuesIn(AllCases()), CaseName);

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
  qputenv("SDL_AUDIODRIVER", "dummy");  // the real sound player, never a sound card
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  InstallFontSubstitutes();
  return RUN_ALL_TESTS();
}
