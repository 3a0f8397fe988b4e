// Small drawing helpers shared by the bonus-game art generators: supersampled rendering,
// the cartoon parts every character wears (eyes, gloves, shoes), a seeded random source and
// a JPEG writer with full-resolution colour so that white borders stay white.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <functional>

namespace bonusart {

// Outline colour used for every character and prop: a very dark blue-black reads bolder on
// white than pure black and keeps the cartoon look.
inline const QColor kInk(22, 20, 34);

// Renders a w x h picture by painting it `factor` times larger and shrinking it smoothly. The
// painter handed to `paint` already has antialiasing on and is scaled, so `paint` draws in
// the picture's own coordinates. The canvas starts filled with `background`; with a
// transparent background the result keeps its alpha channel.
QImage RenderSupersampled(int w, int h, const QColor& background,
                          const std::function<void(QPainter&)>& paint, int factor = 4);

// A small deterministic random source (xorshift), so every run gives the same pictures.
class Dice {
 public:
  explicit Dice(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next();
  // Uniform in [lo, hi).
  double Uniform(double lo, double hi);
  // Uniform integer in [0, n).
  int Below(int n);

 private:
  std::uint32_t state_;
};

// Big cartoon eyes centred on `centre` (the point between the two eyes). `spacing` is the
// distance between eye centres, `w` and `h` the size of one eye. `look` shifts the pupils.
// A blinking pair is drawn as two closed lids of colour `lid`.
void DrawEyes(QPainter& p, QPointF centre, double spacing, double w, double h, bool blink,
              const QColor& lid, QPointF look = QPointF(0.6, 0.8));

// An open cartoon smile: a dark mouth with a tongue, `width` across, top edge at `centre`.
void DrawSmile(QPainter& p, QPointF centre, double width, double depth);

// A white four-fingered cartoon glove. `wrist` is where the arm meets the cuff, `centre` the
// middle of the hand; the glove is turned so its cuff faces the wrist. `mirror` flips the
// thumb to the other side for the right hand.
void DrawGlove(QPainter& p, QPointF wrist, QPointF centre, double size, bool mirror);

// A cartoon sneaker with a white sole, standing on `groundCentre` (bottom middle), pointing
// left when `pointLeft`; `colour` is the upper.
void DrawShoe(QPainter& p, QPointF ground_centre, double length, bool point_left,
              const QColor& colour);

// A limb drawn as a bold ink stroke from `a` to `b` bending through `bend`.
void DrawLimb(QPainter& p, QPointF a, QPointF bend, QPointF b, double width);

// A soft elliptic shadow on the ground.
void DrawGroundShadow(QPainter& p, QPointF centre, double rx, double ry, double strength);

// Writes `image` as a baseline JPEG with no chroma subsampling at the given quality.
// Returns false (with `error` set) when the file cannot be written.
bool WriteJpeg(const QImage& image, const QString& path, int quality, QString* error);

}  // namespace bonusart
