// Small painting helpers shared by the art generators: seeded noise, blurs, metal fills,
// bevels, emoji pictures and text outlines. Everything is deterministic so that running the
// generator twice gives the same pictures.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <cstdint>

namespace art {

// A fixed-seed generator (xorshift32). Its sequence is part of the art: changing the seed or the
// order of draws changes the committed pictures.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // Uniform in [0, 1).
  double Unit() { return (Next() >> 8) * (1.0 / 16777216.0); }
  // Uniform in [-1, 1).
  double Signed() { return Unit() * 2.0 - 1.0; }

 private:
  uint32_t state_;
};

// Blurs the image along y only, treating the top and bottom rows as neighbours (for pictures
// that are scrolled cyclically). radius is in pixels; a box of 2*radius+1 rows.
void BoxBlurVerticalWrap(QImage& image, int radius);

// Blurs an ARGB32 premultiplied image in both directions with clamped edges.
void BoxBlur(QImage& image, int radius);

// A soft shadow of the picture's alpha: the picture's shape in the given colour, blurred.
QImage ShadowOf(const QImage& picture, QColor colour, int radius);

// The colour emoji for text, cropped to its visible pixels (ARGB32 premultiplied). Rendered
// large once and cached, so it can be scaled down cleanly to any cell size.
const QImage& Emoji(const QString& text);

// How many device pixels one unit of the painter's coordinates covers: 1 when painting at the
// design size, k under QPainter::scale(k, k) (the 2x and 4x masters). Helpers that build a
// picture of their own (a shadow, a glow, a fitted emoji) make it this many times larger, so
// their part of the picture is as sharp as the paths and fills around it.
double DeviceScale(const QPainter& p);

// Draws a picture made at device resolution (DeviceScale(p) pixels per unit) with its top-left
// at `at` in the painter's coordinates, pixel for pixel. Without a scale this is exactly
// p.drawImage(at, picture).
void DrawDevicePicture(QPainter& p, const QPointF& at, const QImage& picture);

// Draws a picture scaled smoothly to fit inside box (keeping its aspect), centred.
void DrawFitted(QPainter& p, const QImage& picture, const QRectF& box);

// Draws the picture fitted in box with a soft drop shadow below-right of it (shadow_offset in
// the painter's units).
void DrawWithShadow(QPainter& p, const QImage& picture, const QRectF& box, double shadow_offset);

// Adds brushed-metal streaks (horizontal) over rect with the given strength (0..1).
void BrushedStreaks(QPainter& p, const QRectF& rect, Noise& noise, double strength);

// A chrome-like vertical gradient from light at the top to dark at the bottom.
QLinearGradient ChromeGradient(const QPointF& from, const QPointF& to);

// Fills rect with a raised bevelled plate: a light top-left edge, a dark bottom-right edge and
// the given face brush, rounded by radius.
void RaisedPlate(QPainter& p, const QRectF& rect, double radius, const QBrush& face, double bevel);

// Fills rect as a recess: dark top-left edge, light bottom-right edge.
void SunkenWell(QPainter& p, const QRectF& rect, double radius, const QColor& inside, double bevel);

// The outline of text in font, laid out with its baseline centred in box.
QPainterPath TextPath(const QString& text, const QFont& font, const QRectF& box);

// Paints text as lettering: an outline stroke underneath, then the fill.
void Lettering(QPainter& p, const QPainterPath& path, const QBrush& fill, const QColor& outline,
               double outline_width);

// A font of the given family at a pixel size, bold or heavy.
QFont PixelFont(const QString& family, double pixels, int weight = QFont::Bold);

// Clamps and mixes colours.
QColor Mix(const QColor& a, const QColor& b, double t);
QColor Scaled(const QColor& c, double factor);

}  // namespace art
