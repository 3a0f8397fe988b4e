// One running game per data folder. The first copy of the game to start on a folder claims it by
// holding a lock on a file there for as long as it runs; the kernel lets go of the lock when the
// process ends however it ends (a crash, a kill), so a claim is never left behind. A later start
// on the same folder finds the lock held, asks the running copy over a local socket to show its
// window, and ends. Copies on different folders (another HOME or XDG_DATA_HOME) never meet.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QSocketNotifier;

class FolderClaim : public QObject {
 public:
  enum class State {
    kHeld,           // this copy holds the folder: it is the running game
    kHeldElsewhere,  // another running copy holds it
    kUnguarded,      // the folder cannot be locked (see Problem()); the game runs unguarded
  };

  // Claims `folder` (made if missing) for this process. Needs no application object.
  explicit FolderClaim(const std::string& folder);
  ~FolderClaim() override;
  FolderClaim(const FolderClaim&) = delete;
  FolderClaim& operator=(const FolderClaim&) = delete;

  State GetState() const { return state_; }
  // Why the folder could not be locked, for the error output; empty unless kUnguarded.
  const std::string& Problem() const { return problem_; }

  // kHeldElsewhere: asks the copy that holds the folder to show its window, handing it the
  // launcher's activation token (may be empty), and waits at most timeout_ms for its answer.
  // True when it answered that its window is shown.
  bool AskHolderToShow(const std::string& activation_token, int timeout_ms) const;

  // kHeld: answers later starts from now on; show(token) runs on this thread for each of them.
  // Needs the application object. Does nothing in the other states.
  void Listen(std::function<void(const QString& activation_token)> show);

  // Where the running copy of `folder` listens, named after the folder's real path: in the
  // user's runtime folder ($XDG_RUNTIME_DIR) when it is a folder of the user's alone (mode 0700)
  // and the path fits a socket's address; else in the folder "zelmar-slots-" + the user's
  // number in the temporary folder, made 0700 if missing and used only if it is a folder (not a
  // link) of the user's alone. Empty, and why in *problem, when there is no such place: the game
  // then neither listens nor asks. Either end of a connection talks only to this user's
  // processes.
  static std::string SocketPath(const std::string& folder, std::string* problem = nullptr);

 private:
  State state_ = State::kUnguarded;
  std::string problem_;
  std::string socket_path_;
  std::string socket_problem_;  // why there is no socket path
  int lock_fd_ = -1;
  // Tells of later starts calling at the socket, once this copy listens.
  QSocketNotifier* calls_ = nullptr;
};
