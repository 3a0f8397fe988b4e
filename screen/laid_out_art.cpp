#include "screen/laid_out_art.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr char kMagic[8] = {'Z', 'S', 'C', 'A', 'B', 'A', 'R', 'T'};
// Raised whenever what is kept, or the order it is kept in, changes.
constexpr uint32_t kFormatVersion = 1;
constexpr uint32_t kMaxKeyBytes = 1 << 16;
constexpr int32_t kMaxSide = 1 << 14;
constexpr int32_t kSameAsEarlier = -1;  // a picture that shares the pixels of an earlier one

// Every picture of the art, in the order the file keeps them.
template <typename Art, typename Sheet, typename Visit>
void ForEachPicture(Art& art, Sheet& carried_sheet, Visit visit) {
  for (auto* image : {&art.background_picture,
                      &art.spin_strip_picture,
                      &art.symbol_sheet_picture,
                      &art.max_bet_key_picture,
                      &art.spin_key_picture,
                      &art.dimmed_coin_picture,
                      &art.logo,
                      &art.logo_mask,
                      &art.line_bubbles,
                      &art.line_bubbles_dim,
                      &art.line_bubbles_neg,
                      &art.digits_small,
                      &art.green_small,
                      &art.background_bitmap,
                      &art.spin_strip_bitmap,
                      &art.symbol_bitmap,
                      &art.max_bet_unlit,
                      &art.max_bet_lit,
                      &art.spin_unlit,
                      &art.spin_lit,
                      &art.left_markers.lit,
                      &art.left_markers.dim,
                      &art.left_markers.mask,
                      &art.right_markers.lit,
                      &art.right_markers.dim,
                      &art.right_markers.mask,
                      &art.logo_bitmap,
                      &art.logo_mask_bitmap,
                      &art.digits_bitmap,
                      &art.green_bitmap,
                      &carried_sheet}) {
    visit(*image);
  }
  for (auto& frame : art.left_frames) visit(frame);
  for (auto& frame : art.right_frames) visit(frame);
}

uint32_t CarriedBits(const CarriedPictures& c) {
  return (c.background ? 1U : 0U) | (c.spin_strip ? 2U : 0U) | (c.symbol_sheet ? 4U : 0U) |
         (c.max_bet_key ? 8U : 0U) | (c.spin_key ? 16U : 0U) | (c.markers ? 32U : 0U) |
         (c.logo ? 64U : 0U);
}

CarriedPictures CarriedFromBits(uint32_t bits) {
  CarriedPictures c;
  c.background = (bits & 1U) != 0;
  c.spin_strip = (bits & 2U) != 0;
  c.symbol_sheet = (bits & 4U) != 0;
  c.max_bet_key = (bits & 8U) != 0;
  c.spin_key = (bits & 16U) != 0;
  c.markers = (bits & 32U) != 0;
  c.logo = (bits & 64U) != 0;
  return c;
}

class File {
 public:
  explicit File(int fd) : fd_(fd) {}
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  int Get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const void* data, size_t size) {
  const auto* at = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd, at, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Collects the file's bytes up to the pictures' pixels, which are written straight from the
// pictures.
class Writer {
 public:
  void Int(int32_t v) { Bytes(&v, sizeof v); }
  void Unsigned(uint32_t v) { Bytes(&v, sizeof v); }
  void Bytes(const void* data, size_t size) {
    const auto* p = static_cast<const char*>(data);
    head_.insert(head_.end(), p, p + size);
  }
  const std::vector<char>& Head() const { return head_; }

 private:
  std::vector<char> head_;
};

// Reads the head of a mapped file, never past its end.
class Reader {
 public:
  Reader(const uchar* data, uint64_t size) : data_(data), size_(size) {}
  bool Int(int32_t* v) { return Bytes(v, sizeof *v); }
  bool Unsigned(uint32_t* v) { return Bytes(v, sizeof *v); }
  bool Bytes(void* out, uint64_t size) {
    if (size > size_ - at_) return false;
    std::memcpy(out, data_ + at_, size);
    at_ += size;
    return true;
  }
  uint64_t At() const { return at_; }

 private:
  const uchar* data_;
  uint64_t size_;
  uint64_t at_ = 0;
};

// A file mapped into memory, private to the process: the pictures read from it use its pages as
// their pixels, so the page cache's copy is used without being copied (reading into fresh memory
// would cost the first picture several times as long). Writing into a picture copies only the
// page written. Unmapped with the last picture.
class Mapping {
 public:
  Mapping(void* address, size_t size) : address_(address), size_(size) {}
  ~Mapping() { ::munmap(address_, size_); }
  Mapping(const Mapping&) = delete;
  Mapping& operator=(const Mapping&) = delete;
  uchar* Data() const { return static_cast<uchar*>(address_); }

 private:
  void* address_;
  size_t size_;
};

void ReleaseMapping(void* shared) {
  delete static_cast<std::shared_ptr<Mapping>*>(shared);
}

// The pixels start at a multiple of this in the file, so that every picture's rows are aligned.
constexpr uint64_t kPixelAlignment = 64;

uint64_t PixelsStart(uint64_t head_size) {
  return (head_size + kPixelAlignment - 1) / kPixelAlignment * kPixelAlignment;
}

size_t PixelBytes(const QImage& image) {
  return static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 4;
}

bool Fail(std::string* error, const std::string& why) {
  if (error != nullptr) *error = why;
  return false;
}

}  // namespace

std::string LaidOutArtKey(const std::string& program_file, const std::string& app_dir,
                          const std::string& sound_root, int layout_width, int ratio) {
  namespace fs = std::filesystem;
  auto stamp = [](const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::string("-");
    return std::to_string(st.st_size) + "@" + std::to_string(st.st_mtim.tv_sec) + "." +
           std::to_string(st.st_mtim.tv_nsec);
  };
  std::string key = "program " + program_file + " " + stamp(program_file) + "\n";
  // Every JPEG beside the program may stand in for a carried picture or be a sheet for a layout
  // width, whatever its letter case: all of them are part of the key.
  std::vector<std::string> beside;
  std::error_code ec;
  for (fs::directory_iterator it(app_dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".jpg") == 0) {
      beside.push_back(name + " " + stamp(it->path()));
    }
  }
  std::sort(beside.begin(), beside.end());
  for (const std::string& line : beside) key += "beside " + line + "\n";
  key += "root " + sound_root + "\nlayout " + std::to_string(layout_width) + "x" +
         std::to_string(ratio) + "\n";
  return key;
}

void ForgetOlderLaidOutArt(const std::string& dir, int keep) {
  namespace fs = std::filesystem;
  std::vector<std::pair<fs::file_time_type, fs::path>> kept;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind("cabinet-", 0) != 0 || it->path().extension() != ".art") continue;
    std::error_code time_error;
    const fs::file_time_type written = fs::last_write_time(it->path(), time_error);
    if (!time_error) kept.emplace_back(written, it->path());
  }
  if (static_cast<int>(kept.size()) <= keep) return;
  std::sort(kept.begin(), kept.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  for (size_t i = static_cast<size_t>(std::max(keep, 0)); i < kept.size(); ++i) {
    fs::remove(kept[i].second, ec);
  }
}

std::string LaidOutArtPath(const std::string& dir, int layout_width, int ratio) {
  return dir + "/cabinet-" + std::to_string(layout_width) + "x" + std::to_string(ratio) + ".art";
}

bool SaveLaidOutArt(const std::string& path, const std::string& key, const MainArt& art,
                    const QImage& carried_sheet, const ScreenLayout& screen_layout,
                    std::string* error) {
  namespace fs = std::filesystem;
  if (key.size() > kMaxKeyBytes) return Fail(error, "the key is too long");
  Writer head;
  head.Bytes(kMagic, sizeof kMagic);
  head.Unsigned(kFormatVersion);
  head.Unsigned(static_cast<uint32_t>(key.size()));
  head.Bytes(key.data(), key.size());
  for (int32_t v : {screen_layout.CellSize, screen_layout.ReelPitch, screen_layout.ReelsLeft,
                    screen_layout.ReelsTop, screen_layout.BlurHeight}) {
    head.Int(v);
  }
  head.Unsigned(art.key_colour);
  head.Unsigned(CarriedBits(art.carried));

  // Each picture's header in the head; pixels follow the head in the same order.
  std::vector<const QImage*> pixels;
  std::vector<const QImage*> seen;
  bool fits = true;
  ForEachPicture(art, carried_sheet, [&](const QImage& image) {
    if (image.isNull()) {
      head.Int(0);
      head.Int(0);
      return;
    }
    const auto earlier = std::find_if(seen.begin(), seen.end(), [&](const QImage* other) {
      return other->constBits() == image.constBits() && other->size() == image.size();
    });
    if (earlier != seen.end()) {
      head.Int(kSameAsEarlier);
      head.Int(static_cast<int32_t>(earlier - seen.begin()));
      return;
    }
    if (image.format() != QImage::Format_RGB32 || image.width() > kMaxSide ||
        image.height() > kMaxSide) {
      fits = false;
      return;
    }
    seen.push_back(&image);
    head.Int(image.width());
    head.Int(image.height());
    pixels.push_back(&image);
  });
  if (!fits) return Fail(error, "a picture is not a plain 32-bit picture");

  const fs::path file_path(path);
  std::error_code ignored;
  fs::create_directories(file_path.parent_path(), ignored);
  std::string temporary = path + ".new-XXXXXX";
  File out(::mkostemp(temporary.data(), O_CLOEXEC));
  if (out.Get() < 0) return Fail(error, "cannot create a file beside " + path);
  std::vector<char> padded = head.Head();
  padded.resize(PixelsStart(padded.size()), '\0');
  bool written = WriteAll(out.Get(), padded.data(), padded.size());
  // A plain 32-bit picture's rows follow one another without a gap: one write each.
  for (const QImage* image : pixels) {
    written = written && WriteAll(out.Get(), image->constBits(), PixelBytes(*image));
  }
  written = written && ::fdatasync(out.Get()) == 0 && out.Close();
  if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return Fail(error, "cannot write " + path);
  }
  return true;
}

bool LoadLaidOutArt(const std::string& path, const std::string& key, MainArt& art,
                    QImage& carried_sheet, ScreenLayout& screen_layout) {
  std::shared_ptr<Mapping> mapping;
  uint64_t size = 0;
  {
    const File in(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (in.Get() < 0 || ::fstat(in.Get(), &st) != 0 || st.st_size <= 0) return false;
    size = static_cast<uint64_t>(st.st_size);
    void* address = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, in.Get(), 0);
    if (address == MAP_FAILED) return false;
    mapping = std::make_shared<Mapping>(address, size);
  }
  Reader read(mapping->Data(), size);

  char magic[sizeof kMagic];
  uint32_t version = 0;
  uint32_t key_size = 0;
  if (!read.Bytes(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0 ||
      !read.Unsigned(&version) || version != kFormatVersion || !read.Unsigned(&key_size) ||
      key_size != key.size()) {
    return false;
  }
  std::string kept_key(key_size, '\0');
  if (!read.Bytes(kept_key.data(), key_size) || kept_key != key) return false;
  int32_t geometry[5] = {};
  for (int32_t& v : geometry) {
    if (!read.Int(&v)) return false;
  }
  uint32_t key_colour = 0;
  uint32_t carried = 0;
  if (!read.Unsigned(&key_colour) || !read.Unsigned(&carried)) return false;

  // The pictures' headers first, all checked before any picture is made.
  struct Entry {
    int32_t a = 0, b = 0;
  };
  std::vector<Entry> entries;
  MainArt probe_art;
  QImage probe_sheet;
  bool headers = true;
  int fresh = 0;
  uint64_t pixel_bytes = 0;
  ForEachPicture(probe_art, probe_sheet, [&](QImage&) {
    Entry e;
    if (!headers || !read.Int(&e.a) || !read.Int(&e.b)) {
      headers = false;
      return;
    }
    if (e.a == kSameAsEarlier) {
      headers = e.b >= 0 && e.b < fresh;
    } else if (e.a < 0 || e.b < 0 || e.a > kMaxSide || e.b > kMaxSide || (e.a == 0) != (e.b == 0)) {
      headers = false;
    } else if (e.a > 0) {
      ++fresh;
      pixel_bytes += static_cast<uint64_t>(e.a) * static_cast<uint64_t>(e.b) * 4;
    }
    entries.push_back(e);
  });
  // The pixels must fill the rest of the file exactly: a file cut short or run on is not used.
  const uint64_t pixels_at = PixelsStart(read.At());
  if (!headers || pixels_at > size || pixel_bytes != size - pixels_at) return false;

  std::vector<QImage> pictures;
  std::vector<QImage> fresh_pictures;
  pictures.reserve(entries.size());
  uint64_t at = pixels_at;
  for (const Entry& e : entries) {
    if (e.a == kSameAsEarlier) {
      pictures.push_back(fresh_pictures[static_cast<size_t>(e.b)]);
    } else if (e.a == 0) {
      pictures.emplace_back();
    } else {
      QImage image(mapping->Data() + at, e.a, e.b, e.a * 4, QImage::Format_RGB32, ReleaseMapping,
                   new std::shared_ptr<Mapping>(mapping));
      at += static_cast<uint64_t>(e.a) * static_cast<uint64_t>(e.b) * 4;
      fresh_pictures.push_back(image);
      pictures.push_back(image);
    }
  }

  size_t next = 0;
  ForEachPicture(art, carried_sheet, [&](QImage& image) { image = pictures[next++]; });
  screen_layout.CellSize = geometry[0];
  screen_layout.ReelPitch = geometry[1];
  screen_layout.ReelsLeft = geometry[2];
  screen_layout.ReelsTop = geometry[3];
  screen_layout.BlurHeight = geometry[4];
  art.key_colour = key_colour;
  art.carried = CarriedFromBits(carried);
  return true;
}
