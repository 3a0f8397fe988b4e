#include "platform/read_ahead_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

constexpr Sint64 kBlockBytes = 64 * 1024;

struct ReadAheadFile {
  int fd = -1;
  Sint64 size = 0;
  // Where the reader is, and which part of the file the block holds.
  Sint64 position = 0;
  Sint64 block_start = 0;
  Sint64 block_bytes = 0;
  unsigned char block[kBlockBytes];
};

ReadAheadFile* Of(SDL_RWops* rw) {
  return static_cast<ReadAheadFile*>(rw->hidden.unknown.data1);
}

// pread until count bytes are in or the file ends; -1 on an error.
Sint64 ReadAt(int fd, Sint64 offset, unsigned char* into, Sint64 count) {
  Sint64 done = 0;
  while (done < count) {
    const ssize_t n = ::pread(fd, into + done, static_cast<size_t>(count - done), offset + done);
    if (n > 0) {
      done += n;
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      return -1;
    }
  }
  return done;
}

Sint64 Size(SDL_RWops* rw) {
  return Of(rw)->size;
}

Sint64 Seek(SDL_RWops* rw, Sint64 offset, int whence) {
  ReadAheadFile& file = *Of(rw);
  Sint64 from = 0;
  if (whence == RW_SEEK_CUR) {
    from = file.position;
  } else if (whence == RW_SEEK_END) {
    from = file.size;
  } else if (whence != RW_SEEK_SET) {
    return SDL_SetError("Unknown value for 'whence'");
  }
  if (offset < -from) return SDL_SetError("Seek before the start of the file");
  if (offset > INT64_MAX - from) return SDL_SetError("Seek past the largest offset");
  file.position = from + offset;
  return file.position;
}

size_t Read(SDL_RWops* rw, void* into, size_t size, size_t count) {
  ReadAheadFile& file = *Of(rw);
  if (size == 0 || count == 0) return 0;
  auto* out = static_cast<unsigned char*>(into);
  const auto wanted = static_cast<Sint64>(std::min<size_t>(count, INT64_MAX / size) * size);
  Sint64 done = 0;
  while (done < wanted) {
    const Sint64 in_block = file.position - file.block_start;
    if (in_block >= 0 && in_block < file.block_bytes) {
      const Sint64 n = std::min(wanted - done, file.block_bytes - in_block);
      std::memcpy(out + done, file.block + in_block, static_cast<size_t>(n));
      done += n;
      file.position += n;
      continue;
    }
    const Sint64 n = ReadAt(file.fd, file.position, file.block, kBlockBytes);
    if (n < 0) {
      SDL_SetError("%s", std::strerror(errno));
      break;
    }
    file.block_start = file.position;
    file.block_bytes = n;
    if (n == 0) break;
  }
  return static_cast<size_t>(done / static_cast<Sint64>(size));
}

size_t Write(SDL_RWops*, const void*, size_t, size_t) {
  SDL_SetError("The file is open for reading only");
  return 0;
}

int Close(SDL_RWops* rw) {
  if (rw == nullptr) return 0;
  ReadAheadFile* file = Of(rw);
  ::close(file->fd);
  delete file;
  SDL_FreeRW(rw);
  return 0;
}

}  // namespace

SDL_RWops* OpenReadAheadFile(const std::string& path) {
  // Without waiting: a pipe in the recording's place is refused below, not waited on.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    SDL_SetError("Couldn't open %s: %s", path.c_str(), std::strerror(errno));
    return nullptr;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    SDL_SetError("%s is not a file that can be read", path.c_str());
    ::close(fd);
    return nullptr;
  }
  auto* file = new (std::nothrow) ReadAheadFile;
  SDL_RWops* rw = file != nullptr ? SDL_AllocRW() : nullptr;
  if (rw == nullptr) {
    delete file;
    ::close(fd);
    return nullptr;
  }
  (void)::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file->fd = fd;
  file->size = status.st_size;
  rw->size = Size;
  rw->seek = Seek;
  rw->read = Read;
  rw->write = Write;
  rw->close = Close;
  rw->type = SDL_RWOPS_UNKNOWN;
  rw->hidden.unknown.data1 = file;
  return rw;
}
