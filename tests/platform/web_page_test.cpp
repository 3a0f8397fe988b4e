// The games-page command: the address goes to the browser, and a failed hand-over tells the
// player, then gives the address to visit by hand.
#include "shell/web_page.h"

#include <gtest/gtest.h>

#include <QUrl>

#include "tests/support/fake_help_viewer.h"
#include "tests/support/fake_platform.h"

namespace {

TEST(OpenWebPage, HandsTheAddressOverOrExplainsInTwoBoxes) {
  for (const bool succeeds : {true, false}) {
    FakePlatform platform;
    FakeWebBrowser browser;
    browser.succeeds = succeeds;
    OpenWebPage(browser, platform, nullptr);
    EXPECT_EQ(browser.opened, std::vector<QString>{GamesPageAddress()});
    if (succeeds) {
      EXPECT_TRUE(platform.messages.empty());
      continue;
    }
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[0].error);
    EXPECT_EQ(platform.messages[0].text, "Could not find a web browser on your system!");
    EXPECT_FALSE(platform.messages[1].error);
    EXPECT_EQ(platform.messages[1].caption, "Information");
    EXPECT_TRUE(platform.messages[1].text.contains(GamesPageAddress()));
    EXPECT_TRUE(platform.messages[1].text.contains(SiteName()));
  }
}

TEST(GamesPage, IsAWebAddressAndItsCaptionNamesTheSite) {
  const QUrl url(GamesPageAddress(), QUrl::StrictMode);
  EXPECT_TRUE(url.isValid() && url.scheme().startsWith("http") && !url.host().isEmpty())
      << GamesPageAddress().toStdString();
  EXPECT_EQ(GamesPageCaption(), WithAccessKey(SiteName() + " Games Page"));
  // An ampersand in a name is shown, not taken for the access key.
  EXPECT_EQ(WithAccessKey("Hook & Line"), "&Hook && Line");
}

}  // namespace
