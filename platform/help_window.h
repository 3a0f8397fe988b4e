// The help file and the window that shows it.
//
// A help file is UTF-8 text: the first line is the signature "ZELMAR-HELP 1", then sections,
// each introduced by a line "@topic <name>" (a name such as "playing.html") followed by the
// topic's HTML, or "@picture <name>" (such as "cabinet.png") followed by the picture's bytes in
// base64. The first topic is the contents. A topic answers to the context numbers listed in its
// <meta name="help-context" content="41003 41005"> tag, and shows pictures by their names in
// <img src="...">. One file holds everything, so the manual cannot lose its pictures.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <map>
#include <vector>

class QToolButton;

class HelpBook {
 public:
  struct Topic {
    QString name;
    QString title;  // the HTML <title>, or the name when the topic has none
    QString html;
  };

  // Reads and parses a help file; on failure the book is empty and error says why.
  bool Load(const QString& path, QString* error);
  // Parses help-file text.
  bool Parse(const QByteArray& text, QString* error);

  bool Empty() const { return topics_.empty(); }
  const std::vector<Topic>& Topics() const { return topics_; }
  // The topic called name, or nullptr.
  const Topic* Find(const QString& name) const;
  // The topic that answers to the context number, or nullptr.
  const Topic* ForContext(int context) const;
  // Every context number a topic answers to, ascending.
  std::vector<int> Contexts() const;
  const Topic& Contents() const { return topics_.front(); }
  // The encoded bytes of the picture called name, or nullptr.
  const QByteArray* Picture(const QString& name) const;

 private:
  void Clear();

  std::vector<Topic> topics_;
  std::map<int, size_t> contexts_;
  std::map<QString, QByteArray> pictures_;
};

// The page area: reads topics and pictures from the book and nowhere else.
class HelpPage : public QTextBrowser {
 public:
  HelpPage(const HelpBook& book, QWidget* parent);
  QVariant loadResource(int type, const QUrl& name) override;

 private:
  const HelpBook& book_;
};

// A non-modal window with Contents, Back and Forward buttons over the page. Links to other
// topics and to anchors stay inside the window; web links go to the desktop's browser.
class HelpWindow : public QWidget {
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Loads the help file; when it cannot be read the window says which file it looked for.
  void Open(const QString& path);
  // Shows a topic by context number (the contents when none answers to it).
  void ShowContext(int context);
  void ShowContents();

  const QString& HelpFile() const { return path_; }
  const HelpBook& Book() const { return book_; }
  HelpPage* Page() { return page_; }
  QToolButton* ContentsButton() { return contents_; }
  QToolButton* BackButton() { return back_; }
  QToolButton* ForwardButton() { return forward_; }
  // The topic shown now, or empty (a missing help file shows its own message).
  QString CurrentTopic() const;

 private:
  void ShowTopic(const QString& name, const QString& anchor = {});
  void FollowLink(const QUrl& url);
  void Reload();
  void UpdateTitle();
  void FitToScreen();

  QString path_;
  HelpBook book_;
  HelpPage* page_ = nullptr;
  QToolButton* contents_ = nullptr;
  QToolButton* back_ = nullptr;
  QToolButton* forward_ = nullptr;
};
