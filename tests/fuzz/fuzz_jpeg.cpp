// Any byte string handed to the JPEG loader, as a replacement picture beside the program would
// be: the loader must either decode it or report a failure, never crash, hang or exit.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "platform/jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QImage image;
  QString error;
  if (DecodeJpeg(bytes, &image, &error)) {
    // A decoded picture is whole: its pixels can all be read.
    volatile QRgb sink = 0;
    for (int y = 0; y < image.height(); y += 7) sink = sink ^ image.pixel(image.width() - 1, y);
  } else if (error.isEmpty()) {
    __builtin_trap();  // a failure must always say why
  }
  return 0;
}
