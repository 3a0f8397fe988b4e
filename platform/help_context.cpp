#include "platform/help_context.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr char kProperty[] = "zelmarHelpContext";
}

void SetHelpContext(QWidget* widget, int context) {
  if (widget != nullptr) widget->setProperty(kProperty, context);
}

int HelpContext(const QWidget* widget) {
  return widget != nullptr ? widget->property(kProperty).toInt() : 0;
}

int FindHelpContext(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    if (const int context = HelpContext(widget); context != 0) return context;
  }
  return 0;
}
