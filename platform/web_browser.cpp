#include "platform/web_browser.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

class DesktopWebBrowser : public WebBrowser {
 public:
  bool OpenUrl(const QString& address) override {
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && QDesktopServices::openUrl(url);
  }
};

}  // namespace

std::unique_ptr<WebBrowser> CreateDesktopWebBrowser() {
  return std::make_unique<DesktopWebBrowser>();
}
