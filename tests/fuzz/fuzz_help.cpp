// Any byte string read as the help file: reading either fails with a reason and leaves an empty
// book, or gives a book in which every context number leads to a topic that names it, every
// topic is found by its own name, and the contents page is the first topic.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "platform/help_window.h"
#include "shell/help_topics.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  HelpBook book;
  QString error;
  if (!book.Parse(bytes, &error)) {
    if (error.isEmpty() || !book.Empty()) __builtin_trap();
    return 0;
  }
  if (book.Empty() || &book.Contents() != &book.Topics().front()) __builtin_trap();
  for (const HelpBook::Topic& topic : book.Topics()) {
    if (book.Find(topic.name) != &topic || topic.title.isEmpty()) __builtin_trap();
  }
  for (int context : book.Contexts()) {
    const HelpBook::Topic* topic = book.ForContext(context);
    if (topic == nullptr || !topic->html.contains(QString::number(context))) __builtin_trap();
  }
  for (int context : kHelpContexts) {
    const HelpBook::Topic* topic = book.ForContext(context);
    if (topic != nullptr && book.Find(topic->name) != topic) __builtin_trap();
  }
  return 0;
}
