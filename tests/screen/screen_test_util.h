// Small helpers shared by the screen tests.
#pragma once

#include <QImage>
#include <QRgb>
#include <cstdlib>
#include <string>

// True when two colours differ by at most tolerance in each channel (JPEG is lossy).
inline bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

inline QRgb Rgb(QRgb c) {
  return c | 0xff000000u;
}
