// Any byte string read as the laid-out art kept in the cache folder: the loader either refuses it
// and changes nothing, or gives pictures whose every pixel can be read, a reel geometry that is
// the layout's own, and art that is written back byte for byte. Each input is read as it is and
// again with its head's and its pixels' checksums made right, so that what lies behind the
// checksums is tried too.
#include <unistd.h>

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "screen/laid_out_art.h"

namespace {

// The layout the seed corpus was kept for: 16 pixels wide, so that its pictures are tiny.
constexpr int kWidth = 16;
constexpr char kKey[] = "fuzz";
// Where the magic, the version, the head's size, its checksum and the pixels' stand.
constexpr size_t kHeadSizeAt = 12;
constexpr size_t kChecksumAt = 16;
constexpr size_t kPixelsChecksumAt = 24;
constexpr size_t kHeadAt = 32;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

std::string Folder() {
  static const std::string folder = [] {
    std::string name = "/tmp/fuzz-laid-out-art-XXXXXX";
    Check(::mkdtemp(name.data()) != nullptr);
    return name;
  }();
  return folder;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// As the writer seals the file: FNV-1a over the head, the pixels' checksum over what follows it
// from the next multiple of 64 bytes.
void Seal(std::string& bytes) {
  if (bytes.size() < kHeadAt) return;
  uint32_t head_size = 0;
  std::memcpy(&head_size, bytes.data() + kHeadSizeAt, sizeof head_size);
  const size_t end = kHeadAt + std::min<size_t>(head_size, bytes.size() - kHeadAt);
  uint64_t hash = 14695981039346656037ULL;
  for (size_t i = kHeadAt; i < end; ++i) {
    hash = (hash ^ static_cast<unsigned char>(bytes[i])) * 1099511628211ULL;
  }
  std::memcpy(bytes.data() + kChecksumAt, &hash, sizeof hash);
  const size_t pixels_at = (end + 63) / 64 * 64;
  if (pixels_at > bytes.size()) return;
  LaidOutArtChecksum pixels;
  pixels.Add(reinterpret_cast<const unsigned char*>(bytes.data()) + pixels_at,
             bytes.size() - pixels_at);
  const uint64_t sum = pixels.Value();
  std::memcpy(bytes.data() + kPixelsChecksumAt, &sum, sizeof sum);
}

void TryLoading(const std::string& bytes) {
  const std::string path = Folder() + "/cabinet.art";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  MainArt art;
  QImage sheet;
  ScreenLayout layout;
  layout.scale.layout_width = kWidth;
  if (!LoadLaidOutArt(path, kKey, art, sheet, layout)) {
    Check(art.background_bitmap.isNull() && sheet.isNull() && layout.CellSize == 0);
    return;
  }
  Check(layout.CellSize == layout.scale.Scale(76));
  Check(art.symbol_bitmap.width() == 4 * layout.CellSize);
  uint32_t sum = 0;
  const auto touch = [&sum](const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) sum += image.pixel(x, y);
    }
  };
  for (const QImage* image : {&art.background_bitmap, &art.symbol_bitmap, &art.spin_strip_bitmap,
                              &art.left_markers.mask, &art.logo_bitmap, &sheet}) {
    touch(*image);
  }
  for (const QImage& frame : art.left_frames) touch(frame);
  // Written back, it is the same file, but for the zeros that pad the head.
  const std::string again = path + ".again";
  Check(SaveLaidOutArt(again, kKey, art, sheet, layout));
  std::string padded = bytes;
  uint32_t head_size = 0;
  std::memcpy(&head_size, bytes.data() + kHeadSizeAt, sizeof head_size);
  for (size_t i = kHeadAt + head_size; i % 64 != 0; ++i) padded[i] = '\0';
  Check(ReadAll(again) == padded);
  static volatile uint32_t seen = 0;
  seen = seen + sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  TryLoading(bytes);
  Seal(bytes);
  TryLoading(bytes);
  return 0;
}
