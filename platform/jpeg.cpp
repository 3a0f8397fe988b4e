#include "platform/jpeg.h"

#include <QFile>
#include <QFileInfo>
#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include "platform/file_bytes.h"

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace {

// Pictures larger than this are refused before any pixel memory is taken: a few corrupt header
// bytes must not make the game ask for gigabytes.
constexpr JDIMENSION kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 64ull * 1024 * 1024;

struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

// Errors return to the decoder's frame instead of ending the process.
[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings mean a truncated stream (libjpeg pads it with a fake end marker) or corrupt data:
// such a picture would show grey bands or garbage, so it is a failure like any error. An unknown
// JFIF revision is the one harmless warning.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace messages
  if (cinfo->err->msg_code == JWRN_JFIF_MAJOR) return;
  OnError(cinfo);
}

void SetError(QString* error, const QString& text) {
  if (error != nullptr) *error = text;
}

// Converts one decoded CMYK scanline to RGB32. Adobe writers store the inks inverted.
void CmykToRgb32(const JSAMPLE* in, uint32_t* out, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x) {
    int c = in[4 * x];
    int m = in[4 * x + 1];
    int y = in[4 * x + 2];
    int k = in[4 * x + 3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    // Inverted values: c is (1 - cyan) and so on; red = (1 - cyan) * (1 - black).
    const uint32_t r = static_cast<uint32_t>(c * k + 127) / 255;
    const uint32_t g = static_cast<uint32_t>(m * k + 127) / 255;
    const uint32_t b = static_cast<uint32_t>(y * k + 127) / 255;
    out[x] = 0xff000000u | (r << 16) | (g << 8) | b;
  }
}

// The part that runs under setjmp. Only the pointers handed in are used after a longjmp, and
// they are not changed after setjmp, so their values stay defined.
bool DecodeInto(const unsigned char* bytes, unsigned long size, int at_least_width, QImage* image,
                ErrorManager* err, jpeg_decompress_struct* cinfo, bool* too_large) {
  if (setjmp(err->jump) != 0) return false;

  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, bytes, size);
  jpeg_read_header(cinfo, TRUE);

  if (cinfo->image_width == 0 || cinfo->image_height == 0 || cinfo->image_width > kMaxSide ||
      cinfo->image_height > kMaxSide ||
      static_cast<uint64_t>(cinfo->image_width) * cinfo->image_height > kMaxPixels) {
    *too_large = true;
    return false;
  }

  // The decoder's own reduction, eighths of the width, as far as still leaves at_least_width.
  if (at_least_width > 0) {
    unsigned int eighths = 1;
    while (eighths < 8 && cinfo->image_width * eighths / 8 < static_cast<unsigned>(at_least_width))
      ++eighths;
    cinfo->scale_num = eighths;
    cinfo->scale_denom = 8;
  }

  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  if (cmyk) {
    cinfo->out_color_space = JCS_CMYK;
  } else {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    cinfo->out_color_space = JCS_EXT_BGRX;  // 0xXXRRGGBB words: RGB32's layout
#else
    cinfo->out_color_space = JCS_EXT_XRGB;
#endif
  }
  jpeg_start_decompress(cinfo);

  *image = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height),
                  QImage::Format_RGB32);
  if (image->isNull()) {
    *too_large = true;
    return false;
  }
  JSAMPARRAY row_buffer = nullptr;
  if (cmyk) {
    row_buffer = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                             cinfo->output_width * 4, 1);
  }
  while (cinfo->output_scanline < cinfo->output_height) {
    const int y = static_cast<int>(cinfo->output_scanline);
    auto* line = reinterpret_cast<uint32_t*>(image->scanLine(y));
    if (cmyk) {
      jpeg_read_scanlines(cinfo, row_buffer, 1);
      CmykToRgb32(row_buffer[0], line, cinfo->output_width, cinfo->saw_Adobe_marker);
    } else {
      JSAMPROW row = reinterpret_cast<JSAMPROW>(line);
      jpeg_read_scanlines(cinfo, &row, 1);
      for (JDIMENSION x = 0; x < cinfo->output_width; ++x) line[x] |= 0xff000000u;
    }
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

bool DecodeJpeg(const QByteArray& data, QImage* out, QString* error, int at_least_width) {
  if (data.isEmpty()) {
    SetError(error, QStringLiteral("The picture file is empty"));
    return false;
  }
  ErrorManager err{};
  jpeg_decompress_struct cinfo{};
  cinfo.err = jpeg_std_error(&err.pub);
  err.pub.error_exit = OnError;
  err.pub.emit_message = OnMessage;

  QImage image;
  bool too_large = false;
  const bool ok = DecodeInto(reinterpret_cast<const unsigned char*>(data.constData()),
                             static_cast<unsigned long>(data.size()), at_least_width, &image, &err,
                             &cinfo, &too_large);
  const JDIMENSION width = cinfo.image_width;
  const JDIMENSION height = cinfo.image_height;
  jpeg_destroy_decompress(&cinfo);
  if (!ok) {
    if (too_large) {
      SetError(error,
               QStringLiteral("The picture is too large (%1 x %2 pixels)").arg(width).arg(height));
    } else {
      SetError(
          error,
          QStringLiteral("Not a valid JPEG picture: %1").arg(QString::fromLocal8Bit(err.message)));
    }
    return false;
  }
  *out = std::move(image);
  return true;
}

bool LoadJpegFile(const QString& path, QImage* out, QString* error, int at_least_width) {
  // The pictures carried in the program are resources; a file on disk is opened without
  // waiting, so that a pipe or a device in a picture's place is no picture rather than a hang.
  QFile file(path);
  if (QString why; !OpenForReading(file, &why)) {
    SetError(error, QStringLiteral("Cannot open %1: %2").arg(path, why));
    return false;
  }
  const QByteArray data = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    SetError(error, QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    return false;
  }
  QString why;
  if (!DecodeJpeg(data, out, &why, at_least_width)) {
    SetError(error, QStringLiteral("%1: %2").arg(path, why));
    return false;
  }
  return true;
}
