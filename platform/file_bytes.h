// Reading a whole file that sits beside the program (a sound, a track) into memory.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Reads the whole file at path into *bytes. A missing file ("File not found"), a folder, a file
// without read permission or a failing read gives false and the reason in *error: never an
// exception, because a damaged file beside the program must not end the game.
inline bool ReadFileBytes(const std::string& path, std::vector<uint8_t>* bytes,
                          std::string* error) {
  bytes->clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = errno == ENOENT ? "File not found" : std::strerror(errno);
    return false;
  }
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
