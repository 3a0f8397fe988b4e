// Opening the files the game reads and writes so that nothing standing in their place can hold
// the game up, reading a whole file that sits beside the program (a sound, a track) into memory,
// and replacing a file the game writes in one step.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QFile;
class QString;

// Opens `file` for reading: a resource carried in the program as Qt opens it, a file on disk
// without waiting and only when it is a plain file, so that a pipe or a device in its place is
// an unreadable file rather than a hang. On failure `why` (when given) says why.
bool OpenForReading(QFile& file, QString* why);

// A file descriptor closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now and reports whether the close succeeded (a write may fail only here).
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// Opens path with flags (and O_CLOEXEC) if what stands there is a plain file. A pipe, a device or
// a socket where a file is expected would hold the open, or the first read, until someone else
// acts, perhaps forever: it is opened without waiting, found to be no file and closed again,
// like a file that can't be read. -1 with the reason in *why ("File not found", "Not a file",
// the system's words) when it can't be opened.
inline int OpenPlainFile(const std::string& path, int flags, std::string* why, mode_t mode = 0644) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, mode);
  if (fd < 0) {
    *why = errno == ENOENT ? "File not found" : std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *why = S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "Not a file";
    ::close(fd);
    errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    return -1;
  }
  // Reads and writes of a plain file wait for the disk as they always do.
  (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

// Reads the whole file at path into *bytes. A missing file ("File not found"), a folder, a file
// without read permission, anything that is not a plain file or a failing read gives false and the
// reason in *error: never an exception, because a damaged file beside the program must not end the
// game.
inline bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes,
                          std::string* error) {
  bytes->clear();
  const FileDescriptor fd(OpenPlainFile(path, O_RDONLY, error));
  if (fd.Get() < 0) return false;
  uint8_t buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n > 0) {
      bytes->insert(bytes->end(), buffer, buffer + n);
    } else if (n == 0) {
      return true;
    } else if (errno != EINTR) {
      *error = std::strerror(errno);  // "Is a directory" for a folder
      bytes->clear();
      return false;
    }
  }
}

// Writes all size bytes at data to fd; false, with the reason in errno, when a write fails.
bool WriteAll(int fd, const void* data, size_t size);

// What the new file ReplaceFile writes beside path is called: path, this, and six characters of
// its own.
inline constexpr char kReplacementInfix[] = ".tmp-";

// Replaces the file at path in one step. What write puts into the descriptor it is handed goes
// to a new file beside path, which gets the permissions of the file it replaces (mode where there
// was none), is flushed to the disk and renamed over path; then the folder is flushed, so that
// the rename outlasts a crash. A crash or a kill at any moment leaves path as the old file or the
// new one, never anything between (a new file may be left beside it).
//
// False when a step is refused or write returns false, with the reason in *error when given
// ("cannot create a file beside PATH", "cannot write PATH" or "cannot flush folder FOLDER", then
// the system's words). The new file is then removed and path is as it was, except when only the
// folder's flush failed: the new file is in place, but may not outlast a crash. The folder must
// exist.
bool ReplaceFile(const std::string& path, mode_t mode, const std::function<bool(int fd)>& write,
                 std::string* error = nullptr);
