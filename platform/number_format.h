// Numbers written for the player in the user's own notation: the decimal and thousands
// separators of the current locale (LC_ALL / LC_NUMERIC / LANG, or QLocale's default).
#pragma once

#include <QString>
#include <cstdint>

// value with its digits grouped in thousands and no decimals, right-aligned with spaces in at
// least width characters ("%10.0n": 1000 -> "     1,000" in English, "     1.000" in German).
QString FormatGrouped(int64_t value, int width);

// value with decimals fixed digits and no grouping, right-aligned with spaces in at least width
// characters ("%7.2f": 100 -> " 100.00", 1000 -> "1000.00"; German "100,00").
QString FormatFixed(double value, int decimals, int width);
