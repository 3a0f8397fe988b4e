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

#include "platform/file_bytes.h"
#include "screen/scale.h"

namespace {

// The file: the magic, the format version, the size of the head that follows, its checksum and
// the checksum of the pixels; the head (the key, the reel geometry, the key colour, which
// pictures are carried, and each picture's size); then, from the next multiple of 64 bytes,
// every picture's pixels in order.
constexpr char kMagic[8] = {'Z', 'S', 'C', 'A', 'B', 'A', 'R', 'T'};
// Raised whenever what is kept, or the order it is kept in, changes.
constexpr uint32_t kFormatVersion = 3;
constexpr uint64_t kPreambleBytes = sizeof kMagic + 4 + 4 + 8 + 8;
constexpr uint32_t kMaxKeyBytes = 1 << 16;
constexpr uint32_t kMaxHeadBytes = 1 << 20;
constexpr int32_t kMaxSide = 1 << 14;
constexpr int32_t kSameAsEarlier = -1;  // a picture that shares the pixels of an earlier one
// The pixels start at a multiple of this in the file, so that every picture's rows are aligned.
constexpr uint64_t kPixelAlignment = 64;

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

// Reads size bytes at offset; false when the file ends before them.
bool ReadAt(int fd, void* data, size_t size, uint64_t offset) {
  auto* at = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::pread(fd, at, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    at += n;
    size -= static_cast<size_t>(n);
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

// FNV-1a over the head: a head damaged anywhere is not read on.
uint64_t HeadChecksum(const char* data, size_t size) {
  uint64_t hash = 14695981039346656037ULL;
  for (size_t i = 0; i < size; ++i) {
    hash = (hash ^ static_cast<unsigned char>(data[i])) * 1099511628211ULL;
  }
  return hash;
}

// The pixels are read and checked in parts of this size, each summed while it is still in the
// processor's cache.
constexpr size_t kChecksumPart = size_t{1} << 20;

// Whether the reel geometry and the pictures it sizes are what laying the art out for this
// layout makes: the cell of a sheet for the width, or the design cell scaled.
bool GeometryAsLaidOut(const ScreenLayout& kept, const MainArt& art) {
  const ScreenScale& scale = kept.scale;
  const int sheet_cell = SheetCellForWidth(scale.Width());
  const int native = sheet_cell > 0 ? scale.Px(sheet_cell) : 0;
  if (kept.CellSize != scale.Scale(layout::kCell) && (native == 0 || kept.CellSize != native)) {
    return false;
  }
  ScreenLayout expected = kept;
  SetReelGeometry(expected, kept.CellSize, art.spin_strip_picture.height());
  const int c = kept.CellSize;
  return kept.ReelsLeft == expected.ReelsLeft && kept.ReelsTop == expected.ReelsTop &&
         kept.ReelPitch == expected.ReelPitch && kept.BlurHeight == expected.BlurHeight &&
         art.symbol_bitmap.size() == QSize(4 * c, 6 * c) &&
         art.spin_strip_bitmap.size() == QSize(c, kept.BlurHeight) &&
         art.background_bitmap.size() ==
             QSize(scale.Scale(kDesignWidth), scale.Scale(layout::kDesignHeight));
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

// Reads the head, never past its end.
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

// The pixels of the pictures read back, in memory of their own: read from the file, not mapped,
// so that a file changed or cut short under a running game can't take its pictures away (a
// mapped page past a cut ends the program with SIGBUS). Freed with the last picture.
//
// A large layout's pictures fill megabytes, read in as the program starts: the block lies on the
// kernel's huge pages where it fills them, so that it comes into memory in a few page faults
// instead of thousands (14 MB at 1920x1080: read in 4.4 ms instead of 11). The last, partly
// filled huge page is left to ordinary pages, so no memory is taken that the pixels don't use.
class PixelBlock {
 public:
  explicit PixelBlock(size_t size) {
    const size_t alignment = size >= kHugePage ? kHugePage : kPixelAlignment;
    data_ = static_cast<uchar*>(std::aligned_alloc(alignment, Rounded(size, alignment)));
    if (data_ != nullptr && size >= kHugePage) {
      // Only advice: without huge pages the block is read in all the same.
      (void)::madvise(data_, size / kHugePage * kHugePage, MADV_HUGEPAGE);
    }
  }
  ~PixelBlock() { std::free(data_); }
  PixelBlock(const PixelBlock&) = delete;
  PixelBlock& operator=(const PixelBlock&) = delete;
  uchar* Data() const { return data_; }

 private:
  static constexpr size_t kHugePage = size_t{2} << 20;
  static size_t Rounded(size_t size, size_t alignment) {
    return std::max<size_t>(alignment, (size + alignment - 1) / alignment * alignment);
  }
  uchar* data_ = nullptr;
};

void ReleasePixels(void* shared) {
  delete static_cast<std::shared_ptr<PixelBlock>*>(shared);
}

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

namespace {
constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ULL;

uint64_t RotateLeft(uint64_t v, int bits) {
  return (v << bits) | (v >> (64 - bits));
}

uint64_t Mix(uint64_t lane, uint64_t v) {
  return RotateLeft(lane + v * kPrime2, 31) * kPrime1;
}
}  // namespace

// Four independent lanes of multiply-rotate rounds over 8-byte words: every bit of the input
// reaches the value, and the lanes keep the processor's multipliers busy.
void LaidOutArtChecksum::AddStripe(const unsigned char* stripe) {
  for (size_t lane = 0; lane < lanes_.size(); ++lane) {
    uint64_t v = 0;
    std::memcpy(&v, stripe + 8 * lane, sizeof v);
    lanes_[lane] = Mix(lanes_[lane], v);
  }
}

void LaidOutArtChecksum::Add(const unsigned char* data, size_t size) {
  length_ += size;
  if (partial_size_ > 0) {
    const size_t taken = std::min(size, kStripe - partial_size_);
    std::memcpy(partial_.data() + partial_size_, data, taken);
    partial_size_ += taken;
    data += taken;
    size -= taken;
    if (partial_size_ < kStripe) return;
    AddStripe(partial_.data());
    partial_size_ = 0;
  }
  for (; size >= kStripe; data += kStripe, size -= kStripe) AddStripe(data);
  std::memcpy(partial_.data(), data, size);
  partial_size_ = size;
}

uint64_t LaidOutArtChecksum::Value() const {
  std::array<uint64_t, 4> lanes = lanes_;
  // The bytes of a last, partial stripe, padded with zeros; the length tells them from zeros.
  if (partial_size_ > 0) {
    std::array<unsigned char, kStripe> last{};
    std::memcpy(last.data(), partial_.data(), partial_size_);
    for (size_t lane = 0; lane < lanes.size(); ++lane) {
      uint64_t v = 0;
      std::memcpy(&v, last.data() + 8 * lane, sizeof v);
      lanes[lane] = Mix(lanes[lane], v);
    }
  }
  uint64_t h = RotateLeft(lanes[0], 1) + RotateLeft(lanes[1], 7) + RotateLeft(lanes[2], 12) +
               RotateLeft(lanes[3], 18);
  h = Mix(h, length_);
  h ^= h >> 33;
  h *= kPrime2;
  h ^= h >> 29;
  h *= kPrime3;
  h ^= h >> 32;
  return h;
}

std::string LaidOutArtKey(const std::string& program_file, const std::string& app_dir,
                          const std::string& sound_root, int layout_width, double ratio) {
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
  key += "root " + sound_root + "\nlayout " + std::to_string(layout_width) + " at ratio " +
         std::to_string(ratio) + ", " + std::to_string(DevicePixels(layout_width, ratio)) +
         " device pixels\n";
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

std::string LaidOutArtPath(const std::string& dir, int layout_width, double ratio) {
  return dir + "/cabinet-" + std::to_string(layout_width) + "-" +
         std::to_string(DevicePixels(layout_width, ratio)) + ".art";
}

bool SaveLaidOutArt(const std::string& path, const std::string& key, const MainArt& art,
                    const QImage& carried_sheet, const ScreenLayout& screen_layout,
                    std::string* error) {
  namespace fs = std::filesystem;
  if (key.size() > kMaxKeyBytes) return Fail(error, "the key is too long");
  Writer head;
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
  if (head.Head().size() > kMaxHeadBytes) return Fail(error, "the head is too long");
  Writer preamble;
  preamble.Bytes(kMagic, sizeof kMagic);
  preamble.Unsigned(kFormatVersion);
  preamble.Unsigned(static_cast<uint32_t>(head.Head().size()));
  const uint64_t checksum = HeadChecksum(head.Head().data(), head.Head().size());
  preamble.Bytes(&checksum, sizeof checksum);
  LaidOutArtChecksum pixel_checksum;
  for (const QImage* image : pixels) pixel_checksum.Add(image->constBits(), PixelBytes(*image));
  const uint64_t pixels_sum = pixel_checksum.Value();
  preamble.Bytes(&pixels_sum, sizeof pixels_sum);

  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  std::vector<char> padded = preamble.Head();
  padded.insert(padded.end(), head.Head().begin(), head.Head().end());
  padded.resize(PixelsStart(padded.size()), '\0');
  // Kept art is read by this user's runs alone.
  return ReplaceFile(
      path, 0600,
      [&](int fd) {
        bool written = WriteAll(fd, padded.data(), padded.size());
        // A plain 32-bit picture's rows follow one another without a gap: one write each.
        for (const QImage* image : pixels) {
          written = written && WriteAll(fd, image->constBits(), PixelBytes(*image));
        }
        return written;
      },
      error);
}

bool LoadLaidOutArt(const std::string& path, const std::string& key, MainArt& art,
                    QImage& carried_sheet, ScreenLayout& screen_layout) {
  // Never waits on what stands at the path: a pipe or a device there is not a kept file.
  std::string why;
  const FileDescriptor in(OpenPlainFile(path, O_RDONLY, &why));
  struct stat st {};
  if (in.Get() < 0 || ::fstat(in.Get(), &st) != 0 || st.st_size <= 0) return false;
  const auto size = static_cast<uint64_t>(st.st_size);

  char preamble[kPreambleBytes];
  if (size < kPreambleBytes || !ReadAt(in.Get(), preamble, sizeof preamble, 0)) return false;
  Reader read_preamble(reinterpret_cast<const uchar*>(preamble), sizeof preamble);
  char magic[sizeof kMagic];
  uint32_t version = 0;
  uint32_t head_size = 0;
  uint64_t checksum = 0;
  uint64_t pixels_sum = 0;
  if (!read_preamble.Bytes(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0 ||
      !read_preamble.Unsigned(&version) || version != kFormatVersion ||
      !read_preamble.Unsigned(&head_size) || head_size > kMaxHeadBytes ||
      head_size > size - kPreambleBytes || !read_preamble.Bytes(&checksum, sizeof checksum) ||
      !read_preamble.Bytes(&pixels_sum, sizeof pixels_sum)) {
    return false;
  }
  std::vector<char> head_bytes(head_size);
  if (!ReadAt(in.Get(), head_bytes.data(), head_size, kPreambleBytes) ||
      HeadChecksum(head_bytes.data(), head_size) != checksum) {
    return false;
  }
  Reader read(reinterpret_cast<const uchar*>(head_bytes.data()), head_size);

  uint32_t key_size = 0;
  if (!read.Unsigned(&key_size) || key_size != key.size()) return false;
  std::string kept_key(key_size, '\0');
  if (!read.Bytes(kept_key.data(), key_size) || kept_key != key) return false;
  ScreenLayout geometry;
  geometry.scale = screen_layout.scale;
  for (int32_t* v : {&geometry.CellSize, &geometry.ReelPitch, &geometry.ReelsLeft,
                     &geometry.ReelsTop, &geometry.BlurHeight}) {
    if (!read.Int(v)) return false;
  }
  uint32_t key_colour = 0;
  uint32_t carried = 0;
  if (!read.Unsigned(&key_colour) || !read.Unsigned(&carried) ||
      carried != CarriedBits(CarriedFromBits(carried))) {
    return false;
  }

  // The pictures' headers first, all checked before any pixel is read.
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
  // The head is read to its end, and the pixels fill the rest of the file exactly: a file cut
  // short or run on is not used.
  const uint64_t pixels_at = PixelsStart(kPreambleBytes + head_size);
  if (!headers || read.At() != head_size || pixels_at > size || pixel_bytes != size - pixels_at) {
    return false;
  }

  const auto block = std::make_shared<PixelBlock>(static_cast<size_t>(pixel_bytes));
  if (block->Data() == nullptr) return false;
  // Only pixels that are what was written are used: noise inside them would be drawn at every
  // start.
  LaidOutArtChecksum pixel_checksum;
  for (uint64_t done = 0; done < pixel_bytes;) {
    const uint64_t part = std::min<uint64_t>(kChecksumPart, pixel_bytes - done);
    if (!ReadAt(in.Get(), block->Data() + done, part, pixels_at + done)) return false;
    pixel_checksum.Add(block->Data() + done, part);
    done += part;
  }
  if (pixel_checksum.Value() != pixels_sum) return false;
  std::vector<QImage> pictures;
  std::vector<QImage> fresh_pictures;
  pictures.reserve(entries.size());
  uint64_t at = 0;
  for (const Entry& e : entries) {
    if (e.a == kSameAsEarlier) {
      pictures.push_back(fresh_pictures[static_cast<size_t>(e.b)]);
    } else if (e.a == 0) {
      pictures.emplace_back();
    } else {
      QImage image(block->Data() + at, e.a, e.b, e.a * 4, QImage::Format_RGB32, ReleasePixels,
                   new std::shared_ptr<PixelBlock>(block));
      at += static_cast<uint64_t>(e.a) * static_cast<uint64_t>(e.b) * 4;
      fresh_pictures.push_back(image);
      pictures.push_back(image);
    }
  }
  size_t next = 0;
  ForEachPicture(probe_art, probe_sheet, [&](QImage& image) { image = pictures[next++]; });
  // A file this build would not have made (the geometry of another layout, or pictures not of
  // its size) is set aside like one of another build.
  if (!GeometryAsLaidOut(geometry, probe_art)) return false;

  next = 0;
  ForEachPicture(art, carried_sheet, [&](QImage& image) { image = pictures[next++]; });
  screen_layout.CellSize = geometry.CellSize;
  screen_layout.ReelPitch = geometry.ReelPitch;
  screen_layout.ReelsLeft = geometry.ReelsLeft;
  screen_layout.ReelsTop = geometry.ReelsTop;
  screen_layout.BlurHeight = geometry.BlurHeight;
  art.key_colour = key_colour;
  art.carried = CarriedFromBits(carried);
  return true;
}
