#include "platform/help_window.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/file_bytes.h"

namespace {

constexpr char kSignature[] = "ZELMAR-HELP 1";
constexpr char kTopicMark[] = "@topic ";
constexpr char kPictureMark[] = "@picture ";

QString TitleOf(const QString& html) {
  static const QRegularExpression kTitle(
      QStringLiteral("<title>(.*?)</title>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch m = kTitle.match(html);
  return m.hasMatch() ? m.captured(1).simplified() : QString();
}

std::vector<int> ContextsOf(const QString& html) {
  static const QRegularExpression kContextMeta(
      QStringLiteral("<meta\\s+name=\"help-context\"\\s+content=\"([^\"]*)\""),
      QRegularExpression::CaseInsensitiveOption);
  std::vector<int> contexts;
  for (auto it = kContextMeta.globalMatch(html); it.hasNext();) {
    for (const QString& word : it.next().captured(1).split(' ', Qt::SkipEmptyParts)) {
      bool ok = false;
      const int context = word.toInt(&ok);
      if (ok && context > 0) contexts.push_back(context);
    }
  }
  return contexts;
}

QString Escaped(const QString& text) {
  return text.toHtmlEscaped();
}

}  // namespace

void HelpBook::Clear() {
  topics_.clear();
  contexts_.clear();
  pictures_.clear();
}

bool HelpBook::Load(const QString& path, QString* error) {
  Clear();
  // A help file in the program's resources, or one on disk opened without waiting: a pipe or
  // a device in its place is no help file rather than a hang.
  QFile file(path);
  if (!OpenForReading(file, error)) return false;
  return Parse(file.readAll(), error);
}

bool HelpBook::Parse(const QByteArray& text, QString* error) {
  Clear();
  auto fail = [&](const QString& why) {
    Clear();
    if (error) *error = why;
    return false;
  };
  const QList<QByteArray> lines = text.split('\n');
  if (lines.front().trimmed() != kSignature) {
    return fail(QStringLiteral("this is not a Zelmar Slots help file"));
  }
  QByteArray* picture = nullptr;  // the picture being read, while in a picture section
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    const bool topic_mark = line.startsWith(kTopicMark);
    if (topic_mark || line.startsWith(kPictureMark)) {
      const QString name = QString::fromUtf8(line.mid(topic_mark ? sizeof(kTopicMark) - 1
                                                                 : sizeof(kPictureMark) - 1))
                               .trimmed();
      if (name.isEmpty() || Find(name) != nullptr || pictures_.count(name) != 0) {
        return fail(QStringLiteral("line %1: a section without a name or named twice").arg(i + 1));
      }
      if (topic_mark) {
        topics_.push_back({name, QString(), QString()});
        picture = nullptr;
      } else {
        picture = &pictures_[name];
      }
    } else if (picture != nullptr) {
      *picture += line.trimmed();
    } else if (!topics_.empty()) {
      topics_.back().html += QString::fromUtf8(line) + '\n';
    } else if (!line.trimmed().isEmpty()) {
      return fail(QStringLiteral("line %1: text before the first topic").arg(i + 1));
    }
  }
  if (topics_.empty()) return fail(QStringLiteral("the file has no topics"));
  for (auto& [name, bytes] : pictures_) {
    const auto decoded =
        QByteArray::fromBase64Encoding(bytes, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) return fail(QStringLiteral("the picture %1 is damaged").arg(name));
    bytes = *decoded;
  }
  for (size_t t = 0; t < topics_.size(); ++t) {
    Topic& topic = topics_[t];
    topic.title = TitleOf(topic.html);
    if (topic.title.isEmpty()) topic.title = topic.name;
    for (int context : ContextsOf(topic.html)) contexts_.emplace(context, t);  // first one wins
  }
  return true;
}

const HelpBook::Topic* HelpBook::Find(const QString& name) const {
  for (const Topic& topic : topics_) {
    if (topic.name == name) return &topic;
  }
  return nullptr;
}

const HelpBook::Topic* HelpBook::ForContext(int context) const {
  const auto it = contexts_.find(context);
  return it == contexts_.end() ? nullptr : &topics_[it->second];
}

std::vector<int> HelpBook::Contexts() const {
  std::vector<int> all;
  for (const auto& [context, topic] : contexts_) all.push_back(context);
  return all;
}

const QByteArray* HelpBook::Picture(const QString& name) const {
  const auto it = pictures_.find(name);
  return it == pictures_.end() ? nullptr : &it->second;
}

HelpPage::HelpPage(const HelpBook& book, QWidget* parent) : QTextBrowser(parent), book_(book) {
  setOpenLinks(false);
}

QVariant HelpPage::loadResource(int type, const QUrl& name) {
  if (!name.scheme().isEmpty()) return {};
  const QString file = name.path();
  if (type == QTextDocument::HtmlResource) {
    const HelpBook::Topic* topic = book_.Find(file);
    return topic ? QVariant(topic->html) : QVariant();
  }
  if (type == QTextDocument::ImageResource) {
    const QByteArray* bytes = book_.Picture(file);
    QImage picture;
    if (bytes != nullptr && picture.loadFromData(*bytes)) return picture;
    // A missing picture leaves a small grey box, not a broken layout.
    QImage blank(16, 16, QImage::Format_RGB32);
    blank.fill(Qt::lightGray);
    return blank;
  }
  return {};
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowModality(Qt::NonModal);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  auto* bar = new QHBoxLayout;
  auto make_button = [&](const QString& caption) {
    auto* button = new QToolButton(this);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(false);
    bar->addWidget(button);
    return button;
  };
  contents_ = make_button(QStringLiteral("&Contents"));
  back_ = make_button(QStringLiteral("&Back"));
  forward_ = make_button(QStringLiteral("&Forward"));
  bar->addStretch();
  layout->addLayout(bar);
  page_ = new HelpPage(book_, this);
  layout->addWidget(page_);

  back_->setShortcut(QKeySequence::Back);
  forward_->setShortcut(QKeySequence::Forward);
  back_->setEnabled(false);
  forward_->setEnabled(false);
  // Escape puts the manual away, as it does for the game's other windows.
  auto* put_away = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(put_away, &QShortcut::activated, this, &QWidget::close);
  connect(contents_, &QToolButton::clicked, this, [this] { ShowContents(); });
  connect(back_, &QToolButton::clicked, page_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, page_, &QTextBrowser::forward);
  connect(page_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(page_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(page_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { FollowLink(url); });
  connect(page_, &QTextBrowser::sourceChanged, this, [this] { UpdateTitle(); });
  connect(page_, &QTextBrowser::historyChanged, this, [this] { UpdateTitle(); });
  setWindowTitle(QStringLiteral("Help"));
  FitToScreen();
}

void HelpWindow::FitToScreen() {
  // Wide enough for the pictures of the game, never wider or taller than the screen allows.
  constexpr int kMinWidth = 640;
  constexpr int kMaxWidth = 1000;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect room = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  const int width =
      std::min(std::clamp(room.width() / 2, kMinWidth, kMaxWidth), room.width() * 9 / 10);
  resize(width, room.height() * 85 / 100);
  move(room.center() - rect().center());
}

void HelpWindow::Open(const QString& path) {
  if (path == path_ && !book_.Empty()) return;
  path_ = path;
  Reload();
}

void HelpWindow::Reload() {
  QString error;
  page_->clearHistory();
  page_->setSource(QUrl());
  if (!book_.Load(path_, &error)) {
    setWindowTitle(QStringLiteral("Help"));
    page_->setHtml(QStringLiteral("<h2>The help file could not be opened</h2>"
                                  "<p>The game looked for its help here:</p>"
                                  "<p><b>%1</b></p><p>(%2)</p>"
                                  "<p>Put the help file that came with the game beside the "
                                  "program to read the manual.</p>")
                       .arg(Escaped(QDir::toNativeSeparators(path_)), Escaped(error)));
  }
}

void HelpWindow::ShowContext(int context) {
  if (book_.Empty()) Reload();
  if (book_.Empty()) return;
  const HelpBook::Topic* topic = book_.ForContext(context);
  ShowTopic(topic ? topic->name : book_.Contents().name);
}

void HelpWindow::ShowContents() {
  if (book_.Empty()) Reload();
  if (book_.Empty()) return;
  ShowTopic(book_.Contents().name);
}

QString HelpWindow::CurrentTopic() const {
  if (book_.Empty()) return {};
  const QString name = page_->source().path();
  return book_.Find(name) ? name : QString();
}

void HelpWindow::ShowTopic(const QString& name, const QString& anchor) {
  QUrl url(name);
  if (!anchor.isEmpty()) url.setFragment(anchor);
  if (url == page_->source()) {
    page_->scrollToAnchor(anchor);
    return;
  }
  page_->setSource(url, QTextDocument::HtmlResource);
  if (anchor.isEmpty()) page_->verticalScrollBar()->setValue(0);
  UpdateTitle();
}

void HelpWindow::UpdateTitle() {
  const HelpBook::Topic* topic = book_.Find(page_->source().path());
  if (topic == nullptr) {
    setWindowTitle(QStringLiteral("Help"));
  } else if (topic == &book_.Contents()) {
    setWindowTitle(topic->title);
  } else {
    setWindowTitle(topic->title + QStringLiteral(" - ") + book_.Contents().title);
  }
}

void HelpWindow::FollowLink(const QUrl& url) {
  if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
      url.scheme() == QLatin1String("mailto")) {
    QDesktopServices::openUrl(url);
    return;
  }
  if (!url.scheme().isEmpty()) return;
  const QString name = url.path().isEmpty() ? page_->source().path() : url.path();
  if (book_.Find(name) != nullptr) ShowTopic(name, url.fragment());
}
