// JPEG decoding through libjpeg. The decoder never exits the process: any libjpeg error, a
// truncated stream or a corrupt one is reported as a failure and nothing is returned.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a whole JPEG stream into an RGB32 image. On failure returns false, leaves *out
// untouched and, when error is given, says why. With at_least_width the decoder reduces the
// picture by itself, in eighths, as far as leaves it at least that wide (much quicker than
// decoding it whole and reducing it after).
bool DecodeJpeg(const QByteArray& data, QImage* out, QString* error = nullptr,
                int at_least_width = 0);

// Reads a file (or a Qt resource path such as ":/art/main/background.jpg") and decodes it.
bool LoadJpegFile(const QString& path, QImage* out, QString* error = nullptr,
                  int at_least_width = 0);
