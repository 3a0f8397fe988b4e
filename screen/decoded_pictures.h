// DecodedPictures: the carried pictures of a start-up, each decoded once. The layout made while
// the window is built and the one that follows when the window gets another size than expected
// read the same decoded masters.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <map>
#include <mutex>

class DecodedPictures {
 public:
  DecodedPictures() = default;
  DecodedPictures(const DecodedPictures&) = delete;
  DecodedPictures& operator=(const DecodedPictures&) = delete;

  // The picture at path as decode makes it: kept from an earlier call, or decoded now and kept.
  // Safe to call from several threads.
  QImage Get(const QString& path, const std::function<QImage()>& decode);

  // Lets go of every kept picture, once the window has its size, and keeps none from then on:
  // a later layout decodes what it needs and lets go of it.
  void Clear();

 private:
  std::mutex mutex_;
  std::map<QString, QImage> kept_;
  bool keeping_ = true;
};

// Decodes the carried picture at the resource path: JPEG through our libjpeg decoder, PNG through
// Qt's reader. A null image when it can't, and why in *why (when given).
QImage DecodeCarriedPicture(const QString& path, QString* why = nullptr);
