#include "screen/decoded_pictures.h"

#include "platform/jpeg.h"

QImage DecodeCarriedPicture(const QString& path, QString* why) {
  QImage image;
  if (path.endsWith(QLatin1String(".jpg"))) {
    if (!LoadJpegFile(path, &image, why)) return QImage();
  } else if (!image.load(path, "PNG")) {
    if (why != nullptr) *why = QStringLiteral("missing or not a PNG picture");
    return QImage();
  }
  return image;
}

QImage DecodedPictures::Get(const QString& path, const std::function<QImage()>& decode) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto kept = kept_.find(path);
  if (kept != kept_.end() && !kept->second.isNull()) return kept->second;
  lock.unlock();
  QImage image = decode();
  lock.lock();
  if (keeping_) kept_[path] = image;
  return image;
}

void DecodedPictures::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  keeping_ = false;
  kept_.clear();
}
