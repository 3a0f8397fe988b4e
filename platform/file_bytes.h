// Opening the files the game reads and writes so that nothing standing in their place can hold
// the game up, and reading a whole file that sits beside the program (a sound, a track) into
// memory.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

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
  const int fd = OpenPlainFile(path, O_RDONLY, error);
  if (fd < 0) return false;
  uint8_t buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      bytes->insert(bytes->end(), buffer, buffer + n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      *error = std::strerror(errno);  // "Is a directory" for a folder
      ::close(fd);
      bytes->clear();
      return false;
    }
  }
  ::close(fd);
  return true;
}
