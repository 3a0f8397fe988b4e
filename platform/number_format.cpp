#include "platform/number_format.h"

#include <QLocale>

QString FormatGrouped(int64_t value, int width) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(static_cast<qlonglong>(value)).rightJustified(width, QLatin1Char(' '));
}

QString FormatFixed(double value, int decimals, int width) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
  return locale.toString(value, 'f', decimals).rightJustified(width, QLatin1Char(' '));
}
