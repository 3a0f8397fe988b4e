#include "shell/web_page.h"

#include "platform/platform.h"
#include "platform/web_browser.h"

#ifndef ZELMAR_SITE_NAME
#define ZELMAR_SITE_NAME "Velvetfern Studio"
#endif
#ifndef ZELMAR_GAMES_PAGE_URL
#define ZELMAR_GAMES_PAGE_URL "https://velvetfern.example.org/games/"
#endif

QString SiteName() {
  return QStringLiteral(ZELMAR_SITE_NAME);
}

QString GamesPageAddress() {
  return QStringLiteral(ZELMAR_GAMES_PAGE_URL);
}

QString WithAccessKey(const QString& text) {
  QString caption = text;
  caption.replace('&', QStringLiteral("&&"));
  return '&' + caption;
}

QString GamesPageCaption() {
  return WithAccessKey(SiteName() + QStringLiteral(" Games Page"));
}

void OpenWebPage(WebBrowser& browser, Platform& platform, QWidget* parent) {
  if (browser.OpenUrl(GamesPageAddress())) return;
  platform.ShowError(parent, QStringLiteral("Could not find a web browser on your system!"));
  platform.ShowMessage(
      parent, QStringLiteral("Information"),
      QStringLiteral("Please visit the %1 web site at:\n\n%2").arg(SiteName(), GamesPageAddress()));
}
