// The manual shipped beside the program: every topic the game opens exists, every link and
// picture in it leads somewhere, and every topic can be reached from the contents.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include "platform/help_window.h"
#include "shell/help_topics.h"
#include "shell/web_page.h"

namespace {

class HelpFile : public ::testing::Test {
 protected:
  void SetUp() override {
    QString error;
    ASSERT_TRUE(book_.Load(QStringLiteral(ZELMAR_HELP_FILE), &error)) << error.toStdString();
  }

  static QStringList Captures(const QString& html, const char* pattern) {
    const QRegularExpression re(QLatin1String(pattern), QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    for (auto it = re.globalMatch(html); it.hasNext();) found << it.next().captured(1);
    return found;
  }

  HelpBook book_;
};

TEST_F(HelpFile, AnswersToEveryContextNumberTheGameOpens) {
  const struct {
    int context;
    const char* title;
  } expected[] = {
      {kMainWindowHelp, "How to play"},
      {kBorrowButtonsHelp, "Borrowing and paying back credits"},
      {kSavedGamesHelp, "Saving and opening games"},
      {kCompanyHelp, "About "},
      {kPayoffChartHelp, "Payoffs"},
  };
  for (const auto& e : expected) {
    const HelpBook::Topic* topic = book_.ForContext(e.context);
    ASSERT_NE(topic, nullptr) << e.context;
    EXPECT_TRUE(topic->title.startsWith(QLatin1String(e.title))) << e.context;
  }
  EXPECT_EQ(book_.Contents().title, "Zelmar Slots Manual");
  EXPECT_TRUE(book_.ForContext(kCompanyHelp)->html.contains(GamesPageAddress()));
}

TEST_F(HelpFile, EveryLinkAndPictureResolvesAndEveryTopicIsReachable) {
  QSet<QString> reachable{book_.Contents().name};
  QStringList to_visit{book_.Contents().name};
  while (!to_visit.isEmpty()) {
    const HelpBook::Topic* topic = book_.Find(to_visit.takeFirst());
    const QString where = topic->name + ": ";
    EXPECT_FALSE(topic->html.contains(QRegularExpression(QStringLiteral("@[A-Z_]+@"))))
        << (where + "a value the build should have filled in").toStdString();
    for (const QString& href : Captures(topic->html, "href=\"([^\"]*)\"")) {
      const QUrl url(href);
      ASSERT_TRUE(url.scheme().isEmpty()) << (where + href).toStdString();
      const HelpBook::Topic* target = url.path().isEmpty() ? topic : book_.Find(url.path());
      ASSERT_NE(target, nullptr) << (where + href).toStdString();
      if (url.hasFragment()) {
        EXPECT_TRUE(Captures(target->html, "<a name=\"([^\"]*)\"").contains(url.fragment()))
            << (where + href).toStdString();
      }
      if (!reachable.contains(target->name)) {
        reachable.insert(target->name);
        to_visit << target->name;
      }
    }
    for (const QString& src : Captures(topic->html, "<img[^>]*src=\"([^\"]*)\"")) {
      const QByteArray* bytes = book_.Picture(src);
      ASSERT_NE(bytes, nullptr) << (where + src).toStdString();
      EXPECT_FALSE(QImage::fromData(*bytes).isNull()) << (where + src).toStdString();
    }
  }
  for (const HelpBook::Topic& topic : book_.Topics()) {
    EXPECT_TRUE(reachable.contains(topic.name)) << topic.name.toStdString();
    EXPECT_NE(topic.title, topic.name) << topic.name.toStdString() << " has no <title>";
  }
}

}  // namespace
