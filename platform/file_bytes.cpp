#include "platform/file_bytes.h"

#include <sys/stat.h>

#include <QFile>
#include <filesystem>

namespace {

bool Fail(std::string* error, const std::string& what) {
  if (error != nullptr) *error = what + ": " + std::strerror(errno);
  return false;
}

}  // namespace

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = EIO;  // a file that takes nothing more is a failed write
      return false;
    }
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReplaceFile(const std::string& path, mode_t mode, const std::function<bool(int fd)>& write,
                 std::string* error) {
  namespace fs = std::filesystem;
  const fs::path file_path(path);
  const fs::path folder = file_path.has_parent_path() ? file_path.parent_path() : fs::path(".");
  std::string temporary = path + kReplacementInfix + "XXXXXX";
  FileDescriptor out(::mkostemp(temporary.data(), O_CLOEXEC));
  if (out.Get() < 0) return Fail(error, "cannot create a file beside " + path);
  struct stat old_file {};
  if (::stat(path.c_str(), &old_file) == 0) mode = old_file.st_mode & 07777;
  const bool written =
      ::fchmod(out.Get(), mode) == 0 && write(out.Get()) && ::fsync(out.Get()) == 0 && out.Close();
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    const int cause = errno;
    ::unlink(temporary.c_str());
    errno = cause;
    return Fail(error, "cannot write " + path);
  }
  // The rename itself reaches the disk only with the folder.
  const FileDescriptor folder_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder_fd.Get() < 0 || ::fsync(folder_fd.Get()) != 0) {
    return Fail(error, "cannot flush folder " + folder.string());
  }
  return true;
}

bool OpenForReading(QFile& file, QString* why) {
  const QString path = file.fileName();
  if (path.startsWith(u':')) {
    if (file.open(QIODevice::ReadOnly)) return true;
    if (why != nullptr) *why = file.errorString();
    return false;
  }
  std::string open_failure;
  const int fd = OpenPlainFile(QFile::encodeName(path).toStdString(), O_RDONLY, &open_failure);
  if (fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return true;
  if (fd >= 0) ::close(fd);
  if (why != nullptr) *why = fd < 0 ? QString::fromStdString(open_failure) : file.errorString();
  return false;
}
