// The help file format, the help window and the F1 key.
#include "platform/help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

#include "platform/help_viewer.h"
#include "tests/support/fake_help_viewer.h"

namespace {

QByteArray PngBytes() {
  QImage image(4, 3, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray SampleBook() {
  return "ZELMAR-HELP 1\n"
         "@topic index.html\n"
         "<html><head><title>The Manual</title></head><body>"
         "<a href=\"play.html#keys\">keys</a> <a href=\"about.html\">about</a></body></html>\n"
         "@topic play.html\n"
         "<html><head><title>Playing</title><meta name=\"help-context\" content=\"41003 41005\">"
         "</head><body><p>top</p><a name=\"keys\">Keys</a><img src=\"dot.png\"></body></html>\n"
         "@topic about.html\n"
         "<html><head><meta name=\"help-context\" content=\"41009\"></head><body>us</body></html>\n"
         "@picture dot.png\n" +
         PngBytes().toBase64() + "\n";
}

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes) {
  const QString path = dir.filePath("game.hlp");
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  return path;
}

TEST(HelpBook, FindsTopicsByNameAndContextNumber) {
  HelpBook book;
  QString error;
  ASSERT_TRUE(book.Parse(SampleBook(), &error)) << error.toStdString();
  ASSERT_EQ(book.Topics().size(), 3u);
  EXPECT_EQ(book.Contents().name, "index.html");
  EXPECT_EQ(book.Contents().title, "The Manual");
  EXPECT_EQ(book.Find("about.html")->title, "about.html");  // no <title>: its name
  EXPECT_EQ(book.ForContext(41003)->name, "play.html");
  EXPECT_EQ(book.ForContext(41005)->name, "play.html");
  EXPECT_EQ(book.ForContext(41009)->name, "about.html");
  EXPECT_EQ(book.ForContext(41008), nullptr);
  EXPECT_EQ(book.Contexts(), (std::vector<int>{41003, 41005, 41009}));
  ASSERT_NE(book.Picture("dot.png"), nullptr);
  EXPECT_EQ(*book.Picture("dot.png"), PngBytes());
  EXPECT_EQ(book.Picture("../dot.png"), nullptr);
}

TEST(HelpBook, RefusesDamagedFilesWithAReason) {
  const struct {
    const char* what;
    QByteArray text;
  } cases[] = {
      {"no signature", "@topic a.html\n<p>x</p>\n"},
      {"empty", ""},
      {"no topics", "ZELMAR-HELP 1\n"},
      {"text before the first topic", "ZELMAR-HELP 1\nstray\n@topic a.html\n"},
      {"topic without a name", "ZELMAR-HELP 1\n@topic \n"},
      {"topic named twice", "ZELMAR-HELP 1\n@topic a.html\nx\n@topic a.html\ny\n"},
      {"damaged picture", "ZELMAR-HELP 1\n@topic a.html\nx\n@picture p.png\n*not base64*\n"},
  };
  for (const auto& c : cases) {
    HelpBook book;
    QString error;
    EXPECT_FALSE(book.Parse(c.text, &error)) << c.what;
    EXPECT_FALSE(error.isEmpty()) << c.what;
    EXPECT_TRUE(book.Empty()) << c.what;
  }
}

TEST(HelpWindow, OpensTopicsFollowsLinksAndGoesBackAndForward) {
  QTemporaryDir dir;
  HelpWindow window;
  window.Open(WriteFile(dir, SampleBook()));
  window.ShowContext(41009);
  EXPECT_EQ(window.CurrentTopic(), "about.html");
  EXPECT_FALSE(window.BackButton()->isEnabled());

  window.ContentsButton()->click();
  EXPECT_EQ(window.CurrentTopic(), "index.html");
  EXPECT_EQ(window.windowTitle(), "The Manual");
  emit window.Page()->anchorClicked(QUrl("play.html#keys"));
  EXPECT_EQ(window.CurrentTopic(), "play.html");
  EXPECT_TRUE(window.Page()->toPlainText().contains("Keys"));

  window.BackButton()->click();
  EXPECT_EQ(window.CurrentTopic(), "index.html");
  ASSERT_TRUE(window.ForwardButton()->isEnabled());
  window.ForwardButton()->click();
  EXPECT_EQ(window.CurrentTopic(), "play.html");

  // Links that lead nowhere in the book change nothing.
  emit window.Page()->anchorClicked(QUrl("missing.html"));
  emit window.Page()->anchorClicked(QUrl("file:///etc/passwd"));
  EXPECT_EQ(window.CurrentTopic(), "play.html");

  // A context number the file does not know shows the contents.
  window.ShowContext(12345);
  EXPECT_EQ(window.CurrentTopic(), "index.html");

  const QVariant picture =
      window.Page()->loadResource(QTextDocument::ImageResource, QUrl("dot.png"));
  EXPECT_EQ(picture.value<QImage>().size(), QSize(4, 3));
}

TEST(HelpWindow, MissingHelpFileSaysWhichFileItLookedFor) {
  QTemporaryDir dir;
  const QString path = dir.filePath("nowhere/zelmar-slots.hlp");
  HelpWindow window;
  window.Open(path);
  window.ShowContext(41003);
  window.ShowContents();
  EXPECT_EQ(window.CurrentTopic(), "");
  EXPECT_TRUE(window.Page()->toPlainText().contains(path))
      << window.Page()->toPlainText().toStdString();

  // Once the file is there the same window reads it.
  QDir().mkpath(dir.filePath("nowhere"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(SampleBook());
  file.close();
  window.ShowContext(41003);
  EXPECT_EQ(window.CurrentTopic(), "play.html");
}

TEST(HelpWindowViewer, KeepsOneNonModalWindowAndClosesIt) {
  QTemporaryDir dir;
  std::unique_ptr<HelpViewer> viewer = CreateHelpWindowViewer();
  viewer->SetHelpFile(WriteFile(dir, SampleBook()));
  viewer->ShowContents();
  viewer->ShowContext(41003);
  std::vector<HelpWindow*> shown;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* help = dynamic_cast<HelpWindow*>(w); help && help->isVisible()) shown.push_back(help);
  }
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0]->CurrentTopic(), "play.html");
  EXPECT_EQ(shown[0]->windowModality(), Qt::NonModal);
  viewer->Close();
  EXPECT_FALSE(shown[0]->isVisible());

  // While a dialog waits for the player, the help window belongs to it so that it can be read;
  // when the dialog goes, the next request makes a new one.
  auto* dialog = new QDialog;
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->show();
  ASSERT_EQ(QApplication::activeModalWidget(), dialog);
  viewer->ShowContext(41009);
  auto* owned = dialog->findChild<HelpWindow*>();
  ASSERT_NE(owned, nullptr);
  EXPECT_TRUE(owned->isVisible());
  EXPECT_EQ(owned->CurrentTopic(), "about.html");
  delete dialog;
  viewer->ShowContents();
  int visible = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* help = dynamic_cast<HelpWindow*>(w);
    if (help && help->isVisible()) {
      ++visible;
      EXPECT_EQ(help->parentWidget(), nullptr);
      EXPECT_EQ(help->CurrentTopic(), "index.html");
    }
  }
  EXPECT_EQ(visible, 1);
  viewer->Close();
}

TEST(HelpKey, F1OpensTheTopicOfTheNearestWidgetInTheSameWindow) {
  FakeHelpViewer viewer;
  HelpKey key(viewer);
  QWidget window;
  SetHelpContext(&window, 41003);
  auto* panel = new QWidget(&window);
  auto* button = new QPushButton(panel);
  auto* own = new QPushButton(panel);
  SetHelpContext(own, 41005);
  auto* bare = new QWidget(&window, Qt::Window);  // a window without a topic of its own
  auto* inner = new QPushButton(bare);

  auto press = [](QWidget* w, int k = Qt::Key_F1) {
    QKeyEvent event(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  };
  press(button);
  press(own);
  press(inner);
  press(button, Qt::Key_F2);
  EXPECT_EQ(viewer.shown, (std::vector<int>{41003, 41005, FakeHelpViewer::kContents}));
  EXPECT_EQ(HelpContextOf(inner), 0);
}

}  // namespace
