// Art built in memory for the screen tests and benchmarks: every picture has the sizes and
// layout of the carried art, with flat, distinct colours so a probe can tell exactly which
// picture, cell or row a window pixel came from.
#pragma once

#include <QImage>
#include <QRgb>

#include "screen/main_art.h"

namespace synthetic {

// Background.
inline constexpr QRgb kBackground = qRgb(40, 44, 48);
inline constexpr QRgb kFrameLeft = qRgb(201, 150, 50);   // strips x 204..207 + 92i
inline constexpr QRgb kFrameRight = qRgb(150, 201, 51);  // strips x 283..285 + 92i
inline constexpr QRgb kReelWindow = qRgb(20, 20, 90);    // inside the reel windows
inline constexpr QRgb kKeyArt = qRgb(90, 60, 30);        // the bet keys in the art
inline constexpr QRgb kKeySample = qRgb(12, 123, 234);   // the one pixel (188, 492)
inline constexpr QRgb kCoinBox = qRgb(255, 255, 255);    // the coin value's white box
inline constexpr QRgb kPatch = qRgb(77, 7, 177);         // (560, 99)-(644, 184)

// Keys: unlit upper half, lit lower half.
inline constexpr QRgb kMaxBetUnlit = qRgb(100, 0, 0);
inline constexpr QRgb kMaxBetLit = qRgb(250, 10, 10);
inline constexpr QRgb kSpinUnlit = qRgb(0, 100, 0);
inline constexpr QRgb kSpinLit = qRgb(10, 250, 10);

// Logo: a filled block in the middle of its 125 x 70 picture, masked; black elsewhere.
inline constexpr QRgb kLogo = qRgb(230, 200, 20);
inline constexpr int kLogoShapeLeft = 20, kLogoShapeTop = 15, kLogoShapeRight = 105,
                     kLogoShapeBottom = 55;

// The colours of marker rows 0..8, lit; a dim marker's squares are half as bright.
QRgb MarkerColour(int row);
QRgb DimMarkerColour(int row);

// Symbol sheet cell colour of code c (0..23), and the spin strip's colour of row y: every row
// of the strip has its own colour so the rows a slice shows can be read back.
QRgb SymbolColour(int code);
QRgb StripColour(int row);

// Digit strips: cell d, column x inside the cell (0..15).
QRgb GreenDigit(int d, int x);
QRgb RedDigit(int d, int x);

MainArt MakeArt();

// A symbol sheet of cell side cell, each cell flat in colour, for per-width sheet files.
QImage MakeSheet(int cell, QRgb tint);

}  // namespace synthetic
