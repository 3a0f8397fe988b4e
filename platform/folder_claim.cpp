#include "platform/folder_claim.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/file_bytes.h"

namespace {

// The file whose lock is the claim. It holds nothing; only its lock counts.
constexpr char kClaimFile[] = "/zelmar-slots.running";
// What a later start sends, followed by the activation token and a line break, and what the
// running copy answers once its window is shown.
constexpr char kShowRequest[] = "show ";
constexpr char kShownAnswer[] = "shown\n";
// A request longer than this is no request of ours.
constexpr qsizetype kLongestRequest = 4096;
// How long the running copy waits for a connected start to say what it wants.
constexpr int kRequestWaitMs = 2000;
// How often a later start tries again to reach a copy that is still starting.
constexpr auto kConnectRetry = std::chrono::milliseconds(20);

std::string ErrorText(int error) {
  return std::strerror(error);
}

// An activation token is printable ASCII without blanks: anything else is dropped.
QString CleanToken(const QByteArray& bytes) {
  for (const char c : bytes) {
    if (c <= ' ' || c > '~') return {};
  }
  return QString::fromLatin1(bytes);
}

// Whether path is a folder that this user owns and nobody else may enter (mode 0700), as it
// stands, not through a link; why not in *why.
bool OnlyTheUsers(const std::string& path, std::string* why) {
  struct stat st {};
  std::string problem;
  if (::lstat(path.c_str(), &st) != 0) {
    problem = "cannot look at " + path + ": " + ErrorText(errno);
  } else if (!S_ISDIR(st.st_mode)) {
    problem = path + " is not a folder";
  } else if (st.st_uid != ::getuid()) {
    problem = path + " belongs to another user";
  } else if ((st.st_mode & 07777) != 0700) {
    problem = path + " is open to other users or closed to its owner";
  }
  if (why != nullptr) *why = problem;
  return problem.empty();
}

// Whether the process at the other end of the connected socket fd is this user's.
bool SameUser(int fd) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer &&
         peer.uid == ::getuid();
}

// The socket's address; false when the path does not fit in one.
bool SocketAddress(const std::string& path, sockaddr_un* address) {
  *address = sockaddr_un{};
  address->sun_family = AF_UNIX;
  if (path.size() >= sizeof address->sun_path) return false;
  std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
  return true;
}

// A later start that connected: its request is read as it comes, answered, and the connection
// closed. A caller that says nothing useful in time, or too much, is let go of.
class Caller : public QObject {
 public:
  Caller(int fd, const std::function<void(const QString&)>& show, QObject* parent)
      : QObject(parent), fd_(fd), show_(show), readable_(fd, QSocketNotifier::Read, this) {
    connect(&readable_, &QSocketNotifier::activated, this, [this] { Read(); });
    QTimer::singleShot(kRequestWaitMs, this, [this] { Done(); });
  }
  ~Caller() override {
    readable_.setEnabled(false);
    ::close(fd_);
  }
  Caller(const Caller&) = delete;
  Caller& operator=(const Caller&) = delete;

 private:
  void Read() {
    char bytes[512];
    const ssize_t got = ::recv(fd_, bytes, sizeof bytes, MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (got <= 0) return Done();
    request_.append(bytes, got);
    const qsizetype end = request_.indexOf('\n');
    if (end < 0) {
      if (request_.size() > kLongestRequest) Done();
      return;
    }
    const QByteArray line = request_.left(end);
    if (line.startsWith(kShowRequest)) {
      show_(CleanToken(line.mid(qsizetype(std::strlen(kShowRequest)))));
      // A few bytes on a fresh connection: they fit in its buffer at once.
      (void)::send(fd_, kShownAnswer, std::strlen(kShownAnswer), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    Done();
  }
  void Done() {
    readable_.setEnabled(false);
    deleteLater();
  }

  const int fd_;
  const std::function<void(const QString&)> show_;
  QSocketNotifier readable_;
  QByteArray request_;
};

}  // namespace

FolderClaim::FolderClaim(const std::string& folder) {
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  const std::string path = folder + kClaimFile;
  std::string why;
  lock_fd_ = OpenPlainFile(path, O_RDWR | O_CREAT, &why);
  if (lock_fd_ < 0) {
    problem_ = "cannot open " + path + ": " + why;
    return;
  }
  int result = 0;
  while ((result = ::flock(lock_fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (result == 0) {
    state_ = State::kHeld;
  } else if (errno == EWOULDBLOCK) {
    state_ = State::kHeldElsewhere;
  } else {
    problem_ = "the file system of " + folder + " does not lock files (" + ErrorText(errno) + ")";
  }
  if (state_ != State::kHeld) {
    ::close(lock_fd_);
    lock_fd_ = -1;
  }
  if (state_ != State::kUnguarded) socket_path_ = SocketPath(folder, &socket_problem_);
}

FolderClaim::~FolderClaim() {
  // The socket goes first, so that no later start finds it with the claim already let go of.
  if (calls_ != nullptr) {
    const int fd = static_cast<int>(calls_->socket());
    delete calls_;
    ::unlink(socket_path_.c_str());
    ::close(fd);
  }
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

std::string FolderClaim::SocketPath(const std::string& folder, std::string* problem) {
  std::error_code failed;
  std::filesystem::path real = std::filesystem::canonical(folder, failed);
  if (failed) real = folder;
  const std::string name =
      "zelmar-slots-" +
      QCryptographicHash::hash(QByteArray::fromStdString(real.string()), QCryptographicHash::Sha256)
          .toHex()
          .left(16)
          .toStdString();
  const auto fits = [](const std::string& path) {
    return path.size() < sizeof(sockaddr_un{}.sun_path);
  };
  // The runtime folder, when it is what the desktop promises: the user's own, and only his.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && runtime[0] == '/' && OnlyTheUsers(runtime, nullptr)) {
    const std::string path = std::string(runtime) + "/" + name;
    if (fits(path)) return path;
  }
  // Otherwise a folder of the user's own in the temporary folder, which everybody shares: made
  // for the user alone, and used only if it is his alone, so that nobody else can stand in for
  // the running game or keep it from listening.
  const std::string own =
      QDir::tempPath().toStdString() + "/zelmar-slots-" + std::to_string(::getuid());
  std::string why;
  if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
    why = "cannot make " + own + ": " + ErrorText(errno);
  } else if (OnlyTheUsers(own, &why)) {
    const std::string path = own + "/" + name;
    if (fits(path)) return path;
    why = own + " is too long a path for a socket";
  }
  if (problem != nullptr) *problem = why;
  return {};
}

bool FolderClaim::AskHolderToShow(const std::string& activation_token, int timeout_ms) const {
  sockaddr_un address;
  if (state_ != State::kHeldElsewhere || socket_path_.empty() ||
      !SocketAddress(socket_path_, &address)) {
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  const auto ms_left = [&] {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                deadline - std::chrono::steady_clock::now())
                                .count());
  };

  // The running copy may still be starting and not yet listening: tried again until the time
  // is up.
  int fd = -1;
  for (;;) {
    fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      // Only a game of this user's is asked; anyone else listening there is no game of ours.
      if (SameUser(fd)) break;
      ::close(fd);
      return false;
    }
    ::close(fd);
    fd = -1;
    if (ms_left() <= 0) return false;
    std::this_thread::sleep_for(kConnectRetry);
  }
  const std::string request =
      kShowRequest + (CleanToken(QByteArray::fromStdString(activation_token)).toStdString()) + "\n";
  bool shown = ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(request.size());
  std::string answer;
  while (shown && answer.find('\n') == std::string::npos) {
    pollfd wait{fd, POLLIN, 0};
    const int left = ms_left();
    if (left <= 0 || ::poll(&wait, 1, left) <= 0) {
      shown = false;
      break;
    }
    char bytes[64];
    const ssize_t got = ::read(fd, bytes, sizeof bytes);
    if (got <= 0) {
      shown = false;
      break;
    }
    answer.append(bytes, static_cast<size_t>(got));
  }
  ::close(fd);
  return shown && answer == kShownAnswer;
}

void FolderClaim::Listen(std::function<void(const QString& activation_token)> show) {
  if (state_ != State::kHeld || calls_ != nullptr) return;
  // A plain socket of the system's, not one of Qt's network module: that module would bring a
  // dozen libraries (Kerberos among them) into every start of the game for this one socket.
  if (socket_path_.empty()) {
    std::fprintf(stderr, "zelmar-slots: %s: a second start will not show this game\n",
                 socket_problem_.c_str());
    return;
  }
  sockaddr_un address;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  // Only the user may connect: Linux gives the socket's file the mode of the socket itself.
  const bool listening =
      fd >= 0 && SocketAddress(socket_path_, &address) && ::fchmod(fd, 0600) == 0 &&
      // This copy holds the claim, so a socket left where it listens is one a killed copy left.
      (::unlink(socket_path_.c_str()) == 0 || errno == ENOENT) &&
      ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
      ::listen(fd, SOMAXCONN) == 0;
  if (!listening) {
    std::fprintf(stderr,
                 "zelmar-slots: cannot listen at %s (%s): a second start will not show "
                 "this game\n",
                 socket_path_.c_str(), ErrorText(errno).c_str());
    if (fd >= 0) ::close(fd);
    return;
  }
  calls_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(calls_, &QSocketNotifier::activated, this, [this, fd, show = std::move(show)] {
    int caller = -1;
    while ((caller = ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
      if (SameUser(caller)) {
        new Caller(caller, show, this);
      } else {
        ::close(caller);
      }
    }
  });
}
