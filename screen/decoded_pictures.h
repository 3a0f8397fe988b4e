// DecodedPictures: the carried pictures of a start-up, each decoded once. The layout made while
// the window is built and the one that follows when the window gets another size than expected
// read the same decoded masters, and the decoding can begin on a thread of its own while the
// toolkit and the window are still being set up.
#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <vector>

class DecodedPictures {
 public:
  DecodedPictures() = default;
  ~DecodedPictures();
  DecodedPictures(const DecodedPictures&) = delete;
  DecodedPictures& operator=(const DecodedPictures&) = delete;

  // Starts decoding the resources at paths, in their order, on a thread of its own; a path
  // already decoded or coming is left out. Only once the QApplication is made: Qt takes the
  // first thread that makes one of its objects (a file) for the main thread.
  void Prefetch(std::vector<QString> wanted);

  // The picture at path as decode makes it: decoded ahead (waited for if still coming), kept
  // from an earlier call, or decoded now and kept. Safe to call from several threads.
  QImage Get(const QString& path, const std::function<QImage()>& decode);

  // Lets go of every kept picture, once the window has its size, and keeps none from then on:
  // a later layout decodes what it needs and lets go of it. Waits for the prefetch.
  void Clear();

 private:
  std::mutex mutex_;
  std::map<QString, QImage> kept_;
  std::map<QString, std::shared_future<void>> coming_;  // decoded ahead, by that batch
  std::vector<std::shared_future<void>> batches_;
  bool keeping_ = true;
};

// Decodes the carried picture at the resource path: JPEG through our libjpeg decoder, PNG through
// Qt's reader. A null image when it can't, and why in *why (when given).
QImage DecodeCarriedPicture(const QString& path, QString* why = nullptr);
