// Fakes for the help and web seams: they record what the game asked for.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "platform/help_viewer.h"
#include "platform/web_browser.h"

class FakeHelpViewer : public HelpViewer {
 public:
  static constexpr int kContents = -1;  // recorded for ShowContents

  void SetHelpFile(const QString& path) override { HelpFile = path; }
  void ShowContext(int context) override { Shown.push_back(context); }
  void ShowContents() override { Shown.push_back(kContents); }
  void Close() override { ++Closes; }

  QString HelpFile;
  std::vector<int> Shown;  // context numbers asked for, kContents for the contents
  int Closes = 0;
};

class FakeWebBrowser : public WebBrowser {
 public:
  bool OpenUrl(const QString& address) override {
    Opened.push_back(address);
    if (OnOpen) OnOpen();
    return Succeeds;
  }

  bool Succeeds = true;
  std::vector<QString> Opened;
  std::function<void()> OnOpen;
};
