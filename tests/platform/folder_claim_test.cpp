#include "platform/folder_claim.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <future>
#include <memory>
#include <string>

namespace {

class FolderClaimTest : public ::testing::Test {
 protected:
  FolderClaimTest() { qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8()); }
  ~FolderClaimTest() override { qunsetenv("XDG_RUNTIME_DIR"); }

  // Asks the holder of folder_ to show itself from another thread while this one runs the
  // event loop, as a second start in another process would.
  bool AskFromAnotherStart(const FolderClaim& later, const std::string& token) {
    std::future<bool> answer =
        std::async(std::launch::async, [&] { return later.AskHolderToShow(token, 5000); });
    while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
      QCoreApplication::processEvents();
    }
    return answer.get();
  }

  QTemporaryDir runtime_;
  QTemporaryDir data_;
  std::string folder_ = data_.filePath("zelmar-slots").toStdString();
};

}  // namespace

TEST_F(FolderClaimTest, OneHolderAnswersLaterStartsWithTheirTokenAndLetsGoWhenItEnds) {
  auto holder = std::make_unique<FolderClaim>(folder_);
  ASSERT_EQ(holder->GetState(), FolderClaim::State::kHeld);
  EXPECT_TRUE(QFileInfo(QString::fromStdString(folder_)).isDir());
  // A socket file a killed holder left behind is no obstacle.
  const QString socket = QString::fromStdString(FolderClaim::SocketPath(folder_));
  QFile left(socket);
  ASSERT_TRUE(left.open(QIODevice::WriteOnly));
  left.close();
  std::vector<QString> shown;
  holder->Listen([&](const QString& token) { shown.push_back(token); });
  // Only the user may call at the socket.
  EXPECT_EQ(QFileInfo(socket).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser);

  const FolderClaim later(folder_);
  ASSERT_EQ(later.GetState(), FolderClaim::State::kHeldElsewhere);
  EXPECT_TRUE(AskFromAnotherStart(later, "launcher-token_42"));
  // Only a token of printable characters without blanks is passed on.
  EXPECT_TRUE(AskFromAnotherStart(later, "two words\nshow evil"));
  EXPECT_TRUE(AskFromAnotherStart(later, "two words"));
  EXPECT_TRUE(AskFromAnotherStart(later, ""));
  EXPECT_EQ(shown, (std::vector<QString>{"launcher-token_42", "", "", ""}));

  // Another folder is another game's.
  const FolderClaim elsewhere(data_.filePath("other").toStdString());
  EXPECT_EQ(elsewhere.GetState(), FolderClaim::State::kHeld);

  // Once the holder has gone, the next start holds the folder, and nobody answers in its place.
  holder.reset();
  EXPECT_FALSE(later.AskHolderToShow("", 50));
  const FolderClaim next(folder_);
  EXPECT_EQ(next.GetState(), FolderClaim::State::kHeld);
  EXPECT_FALSE(QFileInfo::exists(socket));
}

// Without a runtime folder of the user's alone, the socket lives in a folder of his own in the
// temporary folder; one that others could reach is not used, and then nobody is asked or
// answered.
TEST_F(FolderClaimTest, WithoutAPrivateRuntimeFolderTheSocketLivesInAFolderOfTheUsersAlone) {
  QTemporaryDir temporary;
  const QByteArray tmpdir = qgetenv("TMPDIR");
  qputenv("TMPDIR", temporary.path().toUtf8());
  const QString own = temporary.filePath("zelmar-slots-" + QString::number(::getuid()));
  QTemporaryDir open_runtime;
  ASSERT_TRUE(QFile::setPermissions(open_runtime.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                             QFile::ExeOwner | QFile::ReadOther |
                                                             QFile::WriteOther | QFile::ExeOther));
  QTemporaryDir closed_runtime;
  ASSERT_TRUE(QFile::setPermissions(closed_runtime.path(), QFile::ReadOwner | QFile::ExeOwner));
  const QByteArray too_long = "/" + QByteArray(120, 'r');
  for (const QByteArray& runtime :
       {QByteArray(), QByteArray("relative"), too_long, open_runtime.path().toUtf8(),
        closed_runtime.path().toUtf8(), runtime_.filePath("missing").toUtf8()}) {
    SCOPED_TRACE(runtime.toStdString());
    if (runtime.isNull()) {
      qunsetenv("XDG_RUNTIME_DIR");
    } else {
      qputenv("XDG_RUNTIME_DIR", runtime);
    }
    const QString socket = QString::fromStdString(FolderClaim::SocketPath(folder_));
    EXPECT_EQ(QFileInfo(socket).path(), own);
    EXPECT_EQ(QFileInfo(own).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ExeOwner | QFile::ReadUser |
                                                         QFile::WriteUser | QFile::ExeUser);
    auto holder = std::make_unique<FolderClaim>(folder_);
    std::vector<QString> shown;
    holder->Listen([&](const QString& token) { shown.push_back(token); });
    const FolderClaim later(folder_);
    EXPECT_TRUE(AskFromAnotherStart(later, "t"));
    EXPECT_EQ(shown, std::vector<QString>{"t"});
  }
  // Someone else's folder in its place, or one others may enter: refused, never asked.
  qunsetenv("XDG_RUNTIME_DIR");
  ASSERT_TRUE(QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ExeOther | QFile::WriteOther));
  std::string problem;
  EXPECT_EQ(FolderClaim::SocketPath(folder_, &problem), "");
  EXPECT_NE(problem.find(own.toStdString()), std::string::npos) << problem;
  auto holder = std::make_unique<FolderClaim>(folder_);
  holder->Listen([](const QString&) { ADD_FAILURE() << "listened in an open folder"; });
  const FolderClaim later(folder_);
  EXPECT_FALSE(later.AskHolderToShow("", 50));
  ASSERT_TRUE(QDir().rmdir(own));
  ASSERT_TRUE(QFile::link(temporary.path(), own));
  EXPECT_EQ(FolderClaim::SocketPath(folder_), "");
  qputenv("TMPDIR", tmpdir);
}

TEST_F(FolderClaimTest, AFolderThatCannotBeLockedLetsTheGameRunUnguardedAndSaysWhy) {
  const FolderClaim claim("/dev/null/zelmar-slots");
  EXPECT_EQ(claim.GetState(), FolderClaim::State::kUnguarded);
  EXPECT_NE(claim.Problem().find("/dev/null/zelmar-slots"), std::string::npos) << claim.Problem();
  EXPECT_FALSE(claim.AskHolderToShow("", 10));
  // A pipe in the place of the claim's file is not waited on.
  ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder_)));
  ASSERT_EQ(::mkfifo((folder_ + "/zelmar-slots.running").c_str(), 0600), 0);
  const FolderClaim piped(folder_);
  EXPECT_EQ(piped.GetState(), FolderClaim::State::kUnguarded);
  EXPECT_NE(piped.Problem().find("Not a file"), std::string::npos) << piped.Problem();
}
