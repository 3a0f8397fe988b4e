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

DecodedPictures::~DecodedPictures() {
  for (const std::shared_future<void>& batch : batches_) batch.wait();
}

void DecodedPictures::Prefetch(std::vector<QString> wanted) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!keeping_) return;
  std::vector<QString> paths;
  for (QString& path : wanted) {
    if (kept_.count(path) == 0 && coming_.count(path) == 0) paths.push_back(std::move(path));
  }
  if (paths.empty()) return;
  const auto decode_all = [this, paths] {
    for (const QString& path : paths) {
      QImage image = DecodeCarriedPicture(path);
      std::lock_guard<std::mutex> decoded(mutex_);
      kept_[path] = std::move(image);
    }
  };
  const std::shared_future<void> batch = std::async(std::launch::async, decode_all).share();
  batches_.push_back(batch);
  for (const QString& path : paths) coming_.emplace(path, batch);
}

QImage DecodedPictures::Get(const QString& path, const std::function<QImage()>& decode) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (const auto coming = coming_.find(path); coming != coming_.end()) {
    const std::shared_future<void> batch = coming->second;
    lock.unlock();
    batch.wait();
    lock.lock();
    coming_.erase(path);
  }
  const auto kept = kept_.find(path);
  // A picture the prefetch could not decode is decoded again by the caller, who says why.
  if (kept != kept_.end() && !kept->second.isNull()) return kept->second;
  lock.unlock();
  QImage image = decode();
  lock.lock();
  if (keeping_) kept_[path] = image;
  return image;
}

void DecodedPictures::Clear() {
  std::vector<std::shared_future<void>> batches;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    keeping_ = false;
    batches = batches_;
  }
  for (const std::shared_future<void>& batch : batches) batch.wait();
  std::lock_guard<std::mutex> lock(mutex_);
  kept_.clear();
  coming_.clear();
}
