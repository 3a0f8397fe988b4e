// The web seam: hands an address to the desktop's web browser.
#pragma once

#include <QString>
#include <memory>

class WebBrowser {
 public:
  virtual ~WebBrowser() = default;
  // Asks the desktop to show the address in the user's browser. False when the hand-over
  // failed (no browser is set up); a browser that fails after taking the address goes unnoticed.
  virtual bool OpenUrl(const QString& address) = 0;
};

// The desktop's browser, through QDesktopServices.
std::unique_ptr<WebBrowser> CreateDesktopWebBrowser();
