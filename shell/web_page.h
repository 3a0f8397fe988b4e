// The maker's games page on the web and the command that opens it.
#pragma once

#include <QString>

class Platform;
class QWidget;
class WebBrowser;

// The maker's web site name and its games page. The build sets both (ZELMAR_SITE_NAME,
// ZELMAR_GAMES_PAGE_URL); the defaults name a fictional studio at a reserved example address.
QString SiteName();
QString GamesPageAddress();

// A menu caption whose first letter is its access key; ampersands in text stay plain letters.
QString WithAccessKey(const QString& text);

// The Help menu's caption for the games page: the site name followed by "Games Page".
QString GamesPageCaption();

// Hands the games page to the user's browser. When the hand-over fails the player is told so in
// an error box, then given the address in an information box to visit by hand.
void OpenWebPage(WebBrowser& browser, Platform& platform, QWidget* parent);
