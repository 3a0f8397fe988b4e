#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file_bytes.h"

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr char kLockSuffix[] = ".lock";

std::string_view TrimBlanks(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// What one line of the file is.
struct Line {
  enum class Kind { kOther, kSection, kKey };
  Kind kind = Kind::kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value as written, trimmed
};

Line Classify(std::string_view raw) {
  Line line;
  const std::string_view text = TrimBlanks(raw);
  if (text.empty() || text.front() == ';') return line;
  if (text.front() == '[') {
    const size_t close = text.find(']');
    line.kind = Line::Kind::kSection;
    line.name = TrimBlanks(text.substr(1, close == std::string_view::npos ? text.npos : close - 1));
    return line;
  }
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) return line;
  line.kind = Line::Kind::kKey;
  line.name = TrimBlanks(text.substr(0, equals));
  line.value = TrimBlanks(text.substr(equals + 1));
  return line;
}

std::string OneLine(std::string_view value) {
  std::string result(value);
  for (char& c : result) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return result;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Fail(std::string* error, const std::string& what) {
  if (error != nullptr) *error = what + ": " + std::strerror(errno);
  return false;
}

// Reads the whole file; a missing file is empty content. False for any other failure, because
// a rewrite must never be built on content it could not read.
bool ReadAll(const std::string& path, std::string* content) {
  content->clear();
  std::string why;
  FileDescriptor fd(OpenPlainFile(path, O_RDONLY, &why));
  if (fd.Get() < 0) return errno == ENOENT;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    content->append(buffer, static_cast<size_t>(got));
  }
}

// The new content is written to the file's name + ".tmp-" + six random characters. A writer holds
// the file's lock for as long as its file of that kind exists, so one found under the lock was
// left by a writer that died: it is removed, so that crashes leave no debris.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& file_name) {
  const std::string prefix = file_name + kReplacementInfix;
  constexpr size_t kRandomLength = 6;  // the characters mkstemp chose
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code ignored;
    if (name.size() == prefix.size() + kRandomLength && name.starts_with(prefix) &&
        it->is_regular_file(ignored)) {
      std::filesystem::remove(it->path(), ignored);
    }
  }
}

}  // namespace

std::string Utf8Prefix(std::string_view text, int max_chars) {
  size_t end = 0;
  for (int chars = 0; end < text.size() && chars < max_chars; ++chars) {
    ++end;
    // Continuation bytes (10xxxxxx) belong to the character just started.
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return std::string(text.substr(0, end));
}

std::optional<int32_t> ParseProfileInt(std::string_view text) {
  text.remove_prefix(std::min(text.size(), text.find_first_not_of(kBlanks)));
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == 'x' || text[0] == 'X' || text[0] == '$')) {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  // One past the largest magnitude: -2147483648 is the only value that needs it.
  constexpr int64_t kLimit = int64_t{1} << 31;
  int64_t magnitude = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

ProfileDocument ProfileDocument::Parse(std::string_view text) {
  ProfileDocument document;
  if (text.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    text.remove_prefix(kUtf8ByteOrderMark.size());
  }
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    // Every CR before the line break belongs to the break (an editor may double it), so a
    // value reads the same before and after the file is rewritten with plain line breaks.
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    document.lines_.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return document;
}

std::string ProfileDocument::Text() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += '\n';
  }
  return text;
}

int ProfileDocument::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Line line = Classify(lines_[i]);
    if (line.kind == Line::Kind::kSection && SameName(line.name, section)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::optional<std::string> ProfileDocument::Value(std::string_view section,
                                                  std::string_view key) const {
  const int header = FindSection(section);
  if (header < 0) return std::nullopt;
  for (size_t i = header + 1; i < lines_.size(); ++i) {
    const Line line = Classify(lines_[i]);
    if (line.kind == Line::Kind::kSection) break;
    if (line.kind != Line::Kind::kKey || !SameName(line.name, key)) continue;
    std::string_view value = line.value;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    return Utf8Prefix(value, kProfileValueMaxChars);
  }
  return std::nullopt;
}

void ProfileDocument::SetValue(std::string_view section, std::string_view key,
                               std::string_view value) {
  const std::string clean_value = OneLine(value);
  const int header = FindSection(section);
  if (header < 0) {
    lines_.push_back("[" + OneLine(section) + "]");
    lines_.push_back(OneLine(key) + "=" + clean_value);
    return;
  }
  size_t insert_at = header + 1;
  for (size_t i = header + 1; i < lines_.size(); ++i) {
    const Line line = Classify(lines_[i]);
    if (line.kind == Line::Kind::kSection) break;
    if (line.kind != Line::Kind::kKey) continue;
    if (SameName(line.name, key)) {
      lines_[i] = lines_[i].substr(0, lines_[i].find('=') + 1) + clean_value;
      return;
    }
    insert_at = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at),
                OneLine(key) + "=" + clean_value);
}

ProfileDocument ReadProfileFile(const std::string& path) {
  // Whatever can't be read, a pipe in the file's place among it, reads as an empty file.
  std::string content;
  if (!ReadAll(path, &content)) return {};
  return ProfileDocument::Parse(content);
}

bool WriteProfileSection(const std::string& path, std::string_view section,
                         const ProfileEntries& entries, std::string* error) {
  namespace fs = std::filesystem;
  const fs::path file_path(path);
  const fs::path folder = file_path.has_parent_path() ? file_path.parent_path() : fs::path(".");
  std::error_code ignored;
  fs::create_directories(folder, ignored);

  // A lock file beside the file serialises every read-modify-write of it. The lock cannot sit on
  // the file itself, because each write replaces the file by a new one. Where the file system
  // has no locks the write still goes ahead: it is still one step, only not guarded against a
  // second copy of the game writing at the same moment.
  const std::string lock_path = path + kLockSuffix;
  std::string why;
  FileDescriptor lock(OpenPlainFile(lock_path, O_RDWR | O_CREAT, &why));
  if (lock.Get() < 0) return Fail(error, "cannot open " + lock_path + ": " + why);
  while (::flock(lock.Get(), LOCK_EX) != 0 && errno == EINTR) {
  }

  RemoveStaleTemporaries(folder, file_path.filename().string());

  std::string content;
  if (!ReadAll(path, &content)) return Fail(error, "cannot read " + path);
  ProfileDocument document = ProfileDocument::Parse(content);
  for (const auto& [key, value] : entries) document.SetValue(section, key, value);
  const std::string text = document.Text();

  return ReplaceFile(
      path, 0644, [&text](int fd) { return WriteAll(fd, text.data(), text.size()); }, error);
}
