// Fakes for the help and web seams: they record what the game asked for.
#pragma once

#include <QString>
#include <vector>

#include "platform/help_viewer.h"
#include "platform/web_browser.h"

class FakeHelpViewer : public HelpViewer {
 public:
  static constexpr int kContents = -1;  // recorded for ShowContents

  void SetHelpFile(const QString& path) override { help_file = path; }
  void ShowContext(int context) override { shown.push_back(context); }
  void ShowContents() override { shown.push_back(kContents); }
  void Close() override { ++closes; }

  QString help_file;
  std::vector<int> shown;  // context numbers asked for, kContents for the contents
  int closes = 0;
};

class FakeWebBrowser : public WebBrowser {
 public:
  bool OpenUrl(const QString& address) override {
    opened.push_back(address);
    return succeeds;
  }

  bool succeeds = true;
  std::vector<QString> opened;
};
