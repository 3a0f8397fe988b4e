#include "characters.h"

#include <QFont>
#include <QPainterPath>
#include <QVector3D>
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "drawing_kit.h"

namespace bonusart {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSuper = 4;  // supersampling factor of every character picture
constexpr double kCx = 55.0;

// ---------------------------------------------------------------------------------------------
// Per-pixel shading of the bodies. A body is described by a function that tells, for a point of
// the picture, whether it lies on the body, the surface normal there (x right, y down, z toward
// the viewer) and the surface colour. Lighting is the same for everyone: a key light from the
// upper left, a little bounce light from the ground and a soft highlight.

struct Texel {
  bool inside = false;
  QVector3D normal;
  QVector3D albedo;  // 0..1 per channel
  double gloss = 0.5;
};

using Surface = std::function<Texel(double x, double y)>;

QVector3D Rgb(int r, int g, int b) {
  return QVector3D(r / 255.0f, g / 255.0f, b / 255.0f);
}

QVector3D Light(const Texel& t, double specular, double shininess) {
  static const QVector3D kEy = QVector3D(-0.55f, -0.65f, 0.75f).normalized();
  static const QVector3D kHalf = (kEy + QVector3D(0, 0, 1)).normalized();
  const double wrap = std::clamp((QVector3D::dotProduct(t.normal, kEy) + 0.4) / 1.4, 0.0, 1.0);
  const double bounce = 0.1 * std::max(0.0f, t.normal.y());
  const double shade = 0.3 + 0.78 * wrap + bounce;
  const double h = std::max(0.0f, QVector3D::dotProduct(t.normal, kHalf));
  const double glint = specular * t.gloss * std::pow(h, shininess);
  QVector3D c = t.albedo * static_cast<float>(shade);
  c += QVector3D(1, 1, 1) * static_cast<float>(glint);
  return c;
}

// Paints the surface over the rectangle `area` (picture units) at the supersampled resolution,
// averaging 2 x 2 samples per pixel so the silhouette is smooth.
void PaintSurface(QPainter& p, const QRectF& area, const Surface& surface, double specular,
                  double shininess) {
  const int w = static_cast<int>(std::ceil(area.width() * kSuper));
  const int h = static_cast<int>(std::ceil(area.height() * kSuper));
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  const double step = 1.0 / kSuper;
  for (int j = 0; j < h; ++j) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(j));
    for (int i = 0; i < w; ++i) {
      QVector3D sum;
      int hits = 0;
      for (int sj = 0; sj < 2; ++sj) {
        for (int si = 0; si < 2; ++si) {
          const double x = area.left() + (i + 0.25 + 0.5 * si) * step;
          const double y = area.top() + (j + 0.25 + 0.5 * sj) * step;
          const Texel t = surface(x, y);
          if (!t.inside) continue;
          sum += Light(t, specular, shininess);
          ++hits;
        }
      }
      if (!hits) {
        line[i] = 0;
        continue;
      }
      const double a = hits / 4.0;
      auto ch = [&](float v) {
        return static_cast<int>(std::lround(std::clamp(v / hits, 0.0f, 1.0f) * 255 * a));
      };
      line[i] = qRgba(ch(sum.x()), ch(sum.y()), ch(sum.z()), static_cast<int>(a * 255));
    }
  }
  p.drawImage(area, img);
}

// Rotation applied to a ball so its markings sit at a pleasing angle. Rows of the matrix.
struct Rotation {
  std::array<QVector3D, 3> rows;
  QVector3D Apply(const QVector3D& v) const {
    return QVector3D(QVector3D::dotProduct(rows[0], v), QVector3D::dotProduct(rows[1], v),
                     QVector3D::dotProduct(rows[2], v));
  }
};

// Yaw about the vertical axis, then pitch about the horizontal axis, then roll in the picture.
Rotation MakeRotation(double yaw_deg, double pitch_deg, double roll_deg) {
  const double a = yaw_deg * kPi / 180, b = pitch_deg * kPi / 180, c = roll_deg * kPi / 180;
  auto mul = [](const std::array<std::array<double, 3>, 3>& m,
                const std::array<std::array<double, 3>, 3>& n) {
    std::array<std::array<double, 3>, 3> r{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k) r[i][j] += m[i][k] * n[k][j];
    return r;
  };
  const std::array<std::array<double, 3>, 3> yaw{
      {{std::cos(a), 0, std::sin(a)}, {0, 1, 0}, {-std::sin(a), 0, std::cos(a)}}};
  const std::array<std::array<double, 3>, 3> pitch{
      {{1, 0, 0}, {0, std::cos(b), -std::sin(b)}, {0, std::sin(b), std::cos(b)}}};
  const std::array<std::array<double, 3>, 3> roll{
      {{std::cos(c), -std::sin(c), 0}, {std::sin(c), std::cos(c), 0}, {0, 0, 1}}};
  const auto m = mul(mul(yaw, pitch), roll);
  Rotation r;
  for (int i = 0; i < 3; ++i) r.rows[i] = QVector3D(m[i][0], m[i][1], m[i][2]);
  return r;
}

// Cheap hash noise in 0..1 on a lattice, smoothly interpolated: the felt, leather and pebble
// textures of the balls.
double Hash3(int x, int y, int z) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                    static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(z) * 2147483647u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return ((h ^ (h >> 16)) & 0xffff) / 65535.0;
}

double Noise(const QVector3D& p, double freq) {
  const double x = p.x() * freq, y = p.y() * freq, z = p.z() * freq;
  const int xi = static_cast<int>(std::floor(x)), yi = static_cast<int>(std::floor(y)),
            zi = static_cast<int>(std::floor(z));
  const double fx = x - xi, fy = y - yi, fz = z - zi;
  auto s = [](double t) { return t * t * (3 - 2 * t); };
  double acc = 0;
  for (int k = 0; k < 8; ++k) {
    const int dx = k & 1, dy = (k >> 1) & 1, dz = (k >> 2) & 1;
    const double w = (dx ? s(fx) : 1 - s(fx)) * (dy ? s(fy) : 1 - s(fy)) * (dz ? s(fz) : 1 - s(fz));
    acc += w * Hash3(xi + dx, yi + dy, zi + dz);
  }
  return acc;
}

// A sphere of radius r centred on c whose colour is given in the ball's own frame.
Surface SphereSurface(QPointF c, double r, double sx, double sy, Rotation rot,
                      std::function<Texel(const QVector3D& ball)> paint) {
  return [=](double x, double y) {
    Texel t;
    const double u = (x - c.x()) / (r * sx), v = (y - c.y()) / (r * sy);
    const double d2 = u * u + v * v;
    if (d2 >= 1.0) return t;
    const QVector3D n(u, v, std::sqrt(1.0 - d2));
    t = paint(rot.Apply(n));
    t.inside = true;
    t.normal = n;
    return t;
  };
}

// The curve of the seam of a tennis ball or a baseball, on the unit sphere.
struct SeamCurve {
  std::vector<QVector3D> points;
  std::vector<double> params;
  SeamCurve() {
    const double a = 0.7, b = 0.3;
    const int n = 900;
    for (int i = 0; i < n; ++i) {
      const double t = 2 * kPi * i / n;
      points.emplace_back(a * std::cos(t) + b * std::cos(3 * t),
                          a * std::sin(t) - b * std::sin(3 * t),
                          2 * std::sqrt(a * b) * std::sin(2 * t));
      params.push_back(t);
    }
  }
  // Angular distance from `n` to the curve, and the curve parameter at the nearest point.
  std::pair<double, double> Nearest(const QVector3D& n) const {
    double best = -2;
    size_t at = 0;
    for (size_t i = 0; i < points.size(); ++i) {
      const double d = QVector3D::dotProduct(points[i], n);
      if (d > best) {
        best = d;
        at = i;
      }
    }
    return {std::acos(std::clamp(best, -1.0, 1.0)), params[at]};
  }
};

const SeamCurve& Seam() {
  static const SeamCurve kSeam;
  return kSeam;
}

// ---------------------------------------------------------------------------------------------
// Ball markings, each a function of the direction in the ball's own frame.

Texel SoccerPaint(const QVector3D& n) {
  // The 32 faces of the classic ball: 12 pentagons (icosahedron vertices) and 20 hexagons
  // (dodecahedron vertices). A direction belongs to the face whose plane it meets first.
  struct Face {
    QVector3D dir;
    double dist;
    bool pentagon;
  };
  static const std::vector<Face> kFaces = [] {
    const double phi = (1 + std::sqrt(5.0)) / 2;
    std::vector<Face> f;
    auto add_perms = [&](double a, double b, double c, bool pent, double dist) {
      for (int sa : {-1, 1})
        for (int sb : {-1, 1})
          for (int sc : {-1, 1}) {
            const QVector3D v[3] = {QVector3D(sa * a, sb * b, sc * c),
                                    QVector3D(sb * b, sc * c, sa * a),
                                    QVector3D(sc * c, sa * a, sb * b)};
            for (const auto& d : v) {
              const QVector3D u = d.normalized();
              const bool dup = std::any_of(f.begin(), f.end(), [&](const Face& e) {
                return (e.dir - u).lengthSquared() < 1e-6;
              });
              if (!dup) f.push_back({u, dist, pent});
            }
          }
    };
    add_perms(0, 1, phi, true, 2.32743);         // pentagon centres
    add_perms(1, 1, 1, false, 2.26728);          // hexagon centres ...
    add_perms(0, phi, 1 / phi, false, 2.26728);  // ... the rest of them
    return f;
  }();
  double best = -1, second = -1;
  bool pent = false;
  for (const Face& f : kFaces) {
    const double v = QVector3D::dotProduct(f.dir, n) / f.dist;
    if (v > best) {
      second = best;
      best = v;
      pent = f.pentagon;
    } else if (v > second) {
      second = v;
    }
  }
  Texel t;
  const double gap = (best - second) / best;
  if (gap < 0.014) {
    t.albedo = Rgb(105, 108, 122);
  } else if (pent) {
    t.albedo = Rgb(30, 32, 44);
    t.gloss = 0.7;
  } else {
    t.albedo = Rgb(252, 252, 252);
  }
  return t;
}

Texel BasketPaint(const QVector3D& n) {
  Texel t;
  const double w = 0.03;
  const double grain = Noise(n, 38.0);
  if (std::abs(n.x()) < w || std::abs(n.y()) < w || std::abs(std::abs(n.x()) - 0.74) < w) {
    t.albedo = Rgb(38, 22, 16);
    t.gloss = 0.3;
  } else {
    t.albedo = Rgb(238, 118, 36) * static_cast<float>(0.9 + 0.16 * grain);
    t.gloss = 0.35;
  }
  return t;
}

Texel BaseballPaint(const QVector3D& n) {
  Texel t;
  const auto [d, s] = Seam().Nearest(n);
  const double leather = Noise(n, 20.0);
  t.albedo = Rgb(250, 246, 234) * static_cast<float>(0.96 + 0.05 * leather);
  t.gloss = 0.45;
  if (d < 0.018) {
    t.albedo = Rgb(222, 200, 196);
  } else if (d < 0.1) {
    // Red stitches in a chevron on both sides of the seam.
    const double ph = s * 48 / (2 * kPi) - d * 7.5;
    if (ph - std::floor(ph) < 0.45) t.albedo = Rgb(214, 30, 42);
  }
  return t;
}

Texel TennisPaint(const QVector3D& n) {
  Texel t;
  const auto [d, s] = Seam().Nearest(n);
  (void)s;
  const double fuzz = 0.6 * Noise(n, 60.0) + 0.4 * Noise(n, 140.0);
  t.gloss = 0.08;
  if (d < 0.045) {
    t.albedo = Rgb(250, 252, 240);
  } else {
    t.albedo = Rgb(212, 238, 52) * static_cast<float>(0.86 + 0.24 * fuzz);
  }
  return t;
}

// The "8" disc of the billiard ball is a glyph mapped onto the sphere around one direction.
constexpr double kEightDisc = 0.36;  // angular radius of the white disc

Texel EightPaint(const QVector3D& n) {
  static const QImage kGlyph = [] {
    QImage g(128, 128, QImage::Format_Grayscale8);
    g.fill(255);
    QPainter p(&g);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(104);
    p.setFont(f);
    p.setPen(QColor(20, 20, 28));
    p.drawText(QRect(0, 4, 128, 128), Qt::AlignCenter, QStringLiteral("8"));
    return g;
  }();
  Texel t;
  const QVector3D axis(0, 0, 1);
  const double c = QVector3D::dotProduct(n, axis);
  const double disc_cos = std::cos(kEightDisc);
  if (c > disc_cos) {
    // Tangent-plane coordinates inside the disc, -1..1.
    const double u = n.x() / std::sin(kEightDisc), v = n.y() / std::sin(kEightDisc);
    const int gx = std::clamp(static_cast<int>((u * 0.62 + 0.5) * 128), 0, 127);
    const int gy = std::clamp(static_cast<int>((v * 0.62 + 0.5) * 128), 0, 127);
    const double ink = qGray(kGlyph.pixel(gx, gy)) / 255.0;
    t.albedo = Rgb(20, 20, 28) + (Rgb(250, 250, 244) - Rgb(20, 20, 28)) * static_cast<float>(ink);
  } else {
    t.albedo = Rgb(22, 22, 34);
  }
  t.gloss = 1.0;
  return t;
}

Texel BeachPaint(const QVector3D& n) {
  static const QVector3D kColours[6] = {Rgb(236, 38, 44),   Rgb(252, 252, 248), Rgb(34, 110, 226),
                                        Rgb(252, 252, 248), Rgb(255, 200, 24),  Rgb(252, 252, 248)};
  Texel t;
  t.gloss = 0.9;
  if (std::abs(n.y()) > 0.93) {
    t.albedo = std::abs(n.y()) > 0.945 ? Rgb(252, 252, 248) : Rgb(60, 60, 70);
    return t;
  }
  const double lon = std::atan2(n.x(), n.z()) + kPi;  // 0..2pi
  const double g = lon / (2 * kPi) * 6;
  const int gore = static_cast<int>(g) % 6;
  const double edge = std::min(g - std::floor(g), std::ceil(g) - g);
  t.albedo = kColours[gore];
  if (edge * std::sqrt(1 - n.y() * n.y()) < 0.012) t.albedo *= 0.78f;
  return t;
}

// ---------------------------------------------------------------------------------------------
// Bodies that are not spheres.

// Catmull-Rom through (y, half width) points: the profile of the bowling pin.
double PinHalfWidth(double y) {
  static const std::vector<std::pair<double, double>> kProfile = {
      {13, 0},    {14, 5.5},  {16, 9.0},  {19, 11.6}, {23, 13.2}, {27, 13.4}, {31, 12.3},
      {35, 10.2}, {39, 8.8},  {43, 9.6},  {48, 13.0}, {54, 17.6}, {60, 21.0}, {66, 22.6},
      {72, 22.4}, {78, 20.4}, {84, 17.0}, {88, 14.2}, {90, 13.0}};
  if (y <= kProfile.front().first || y >= kProfile.back().first) return 0;
  size_t i = 1;
  while (kProfile[i].first < y) ++i;
  const auto get = [&](int j) {
    return kProfile[std::clamp<int>(j, 0, static_cast<int>(kProfile.size()) - 1)].second;
  };
  const double y0 = kProfile[i - 1].first, y1 = kProfile[i].first;
  const double t = (y - y0) / (y1 - y0);
  const double p0 = get(static_cast<int>(i) - 2), p1 = get(static_cast<int>(i) - 1),
               p2 = get(static_cast<int>(i)), p3 = get(static_cast<int>(i) + 1);
  return 0.5 * ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                (-p0 + 3 * p1 - 3 * p2 + p3) * t * t * t);
}

constexpr double kPinTop = 13, kPinBottom = 90;

QPainterPath PinOutline(double dy, double sx, double sy) {
  QPainterPath path;
  const double cy = 52;
  auto to_y = [&](double y) { return cy + (y - cy) * sy + dy; };
  path.moveTo(kCx, to_y(kPinTop));
  for (double y = kPinTop + 0.25; y <= kPinBottom; y += 0.25)
    path.lineTo(kCx + PinHalfWidth(std::min(y, kPinBottom - 0.01)) * sx, to_y(y));
  path.quadTo(kCx, to_y(kPinBottom + 1.6), kCx - PinHalfWidth(kPinBottom - 0.01) * sx,
              to_y(kPinBottom));
  for (double y = kPinBottom; y >= kPinTop; y -= 0.25)
    path.lineTo(kCx - PinHalfWidth(std::min(y, kPinBottom - 0.01)) * sx, to_y(y));
  path.closeSubpath();
  return path;
}

Surface PinSurface(double dy, double sx, double sy) {
  return [=](double x, double y) {
    Texel t;
    const double cy = 52;
    const double py = cy + (y - dy - cy) / sy;  // back to the unsquashed profile
    const double w = PinHalfWidth(py) * sx;
    if (py <= kPinTop || py >= kPinBottom + 1.5 || w <= 0.01) return t;
    double u = (x - kCx) / w;
    if (py >= kPinBottom) {
      // The rounded base below the last profile row.
      const double bw = PinHalfWidth(kPinBottom - 0.01) * sx;
      u = (x - kCx) / bw;
      if (std::abs(u) >= 1 || (py - kPinBottom) > 1.6 * (1 - u * u)) return t;
    } else if (std::abs(u) >= 1) {
      return t;
    }
    const double slope = (PinHalfWidth(py + 0.5) - PinHalfWidth(py - 0.5));
    const double z = std::sqrt(std::max(0.0, 1 - u * u));
    t.inside = true;
    t.normal = QVector3D(u, -slope * 0.8 * z, z).normalized();
    // Two red bands around the neck, bowing downward as seen from a little above.
    const double band = py - 2.2 * z;
    const bool red = (band > 35.6 && band < 38.6) || (band > 40.4 && band < 43.0);
    t.albedo = red ? Rgb(222, 26, 40) : Rgb(252, 250, 246);
    t.gloss = 0.9;
    return t;
  };
}

// The American football: a pointed spheroid lying across, laces on top.
constexpr double kFootRx = 38, kFootRy = 27;

double FootballHalfHeight(double xn) {  // xn in -1..1 along the long axis
  return kFootRy * std::pow(std::max(0.0, 1 - xn * xn), 0.78);
}

QPainterPath FootballOutline(QPointF c, double sx, double sy) {
  QPainterPath path;
  const int n = 240;
  for (int i = 0; i <= n; ++i) {
    const double xn = -1 + 2.0 * i / n;
    const QPointF pt(c.x() + xn * kFootRx * sx, c.y() - FootballHalfHeight(xn) * sy);
    i == 0 ? path.moveTo(pt) : path.lineTo(pt);
  }
  for (int i = n; i >= 0; --i) {
    const double xn = -1 + 2.0 * i / n;
    path.lineTo(c.x() + xn * kFootRx * sx, c.y() + FootballHalfHeight(xn) * sy);
  }
  path.closeSubpath();
  return path;
}

Surface FootballSurface(QPointF c, double sx, double sy) {
  return [=](double x, double y) {
    Texel t;
    const double xn = (x - c.x()) / (kFootRx * sx);
    if (std::abs(xn) >= 1) return t;
    const double h = FootballHalfHeight(xn) * sy;
    const double v = (y - c.y()) / h;
    if (h <= 0.01 || std::abs(v) >= 1) return t;
    const double z = std::sqrt(1 - v * v);
    const double slope = (FootballHalfHeight(std::min(1.0, xn + 0.01)) -
                          FootballHalfHeight(std::max(-1.0, xn - 0.01))) /
                         0.02 / kFootRx;
    t.inside = true;
    t.normal = QVector3D(-slope * z, v, z).normalized();
    // White bands near both tips, bending with the surface.
    const double band_x = std::abs(xn) + 0.05 * (1 - v * v);
    const double pebble = Noise(QVector3D(x, y, 0) * 0.12f, 3.0);
    t.albedo = Rgb(150, 70, 30) * static_cast<float>(0.9 + 0.16 * pebble);
    if (band_x > 0.62 && band_x < 0.72) t.albedo = Rgb(250, 248, 240);
    t.gloss = 0.45;
    return t;
  };
}

// ---------------------------------------------------------------------------------------------

struct Pose {
  double bob;        // vertical move of the body (negative is up)
  double lift_left;  // how high the left shoe is raised
  double lift_right;
  double swing_left;  // vertical move of the left glove (positive is down)
  double swing_right;
  double sx, sy;  // squash and stretch of the body
  bool blink;
};

Pose PoseOf(int frame) {
  const double ph = 2 * kPi * frame / kWalkFrames;
  const double s = std::sin(ph), a = std::abs(s);
  Pose p;
  p.bob = -2.4 * a;
  p.lift_left = 6.5 * std::max(0.0, s);
  p.lift_right = 6.5 * std::max(0.0, -s);
  p.swing_left = 6.0 * s;
  p.swing_right = -6.0 * s;
  // Squashed a little when both feet land, stretched a little at the top of a step.
  p.sx = 1.0 + 0.03 * (1 - a) - 0.01 * a;
  p.sy = 1.0 / p.sx;
  p.blink = frame == kBlinkFrame;
  return p;
}

enum class BodyKind { Sphere, Football, Pin };

struct Character {
  QString name;
  BodyKind kind;
  std::function<Texel(const QVector3D&)> paint;  // for spheres
  Rotation rotation;
  double specular, shininess;
  QColor shoe;
  // Layout in the unmoved pose.
  double body_y, radius;  // centre and radius of a sphere body (halfwidth for others)
  double shoulder_y, hand_y, hip_y, hand_out;
  QPointF eyes;
  double eye_w, eye_h, eye_spacing;
  QPointF mouth;
  double mouth_w, mouth_depth;
  QColor lid;  // colour of the closed eyelids, close to the body's
};

std::vector<Character> MakeCast() {
  std::vector<Character> cast;
  auto sphere = [](QString name, std::function<Texel(const QVector3D&)> paint, Rotation rot,
                   double gloss, double shine, QColor shoe, QColor lid) {
    Character c;
    c.name = name;
    c.kind = BodyKind::Sphere;
    c.paint = std::move(paint);
    c.rotation = rot;
    c.specular = gloss;
    c.shininess = shine;
    c.shoe = shoe;
    c.lid = lid;
    c.body_y = 49;
    c.radius = 29;
    c.shoulder_y = 54;
    c.hand_y = 63;
    c.hip_y = 74;
    c.hand_out = 9;
    c.eyes = QPointF(kCx, 44);
    c.eye_w = 14;
    c.eye_h = 18;
    c.eye_spacing = 16;
    c.mouth = QPointF(kCx, 59);
    c.mouth_w = 16;
    c.mouth_depth = 4.6;
    return c;
  };
  cast.push_back(sphere("soccer ball", SoccerPaint, MakeRotation(18, -28, 8), 0.5, 30,
                        QColor(30, 120, 230), QColor(236, 236, 240)));
  cast.push_back(sphere("basketball", BasketPaint, MakeRotation(28, -24, 12), 0.35, 18,
                        QColor(40, 60, 170), QColor(240, 130, 50)));
  cast.push_back(sphere("baseball", BaseballPaint, MakeRotation(-5, 62, 80), 0.35, 22,
                        QColor(200, 30, 40), QColor(246, 242, 230)));
  cast.push_back(sphere("tennis ball", TennisPaint, MakeRotation(0, 0, -12), 0.12, 10,
                        QColor(30, 150, 90), QColor(214, 238, 70)));
  {
    Character c = sphere("American football", nullptr, {}, 0.45, 20, QColor(230, 140, 20),
                         QColor(170, 86, 40));
    c.kind = BodyKind::Football;
    c.body_y = 51;
    c.radius = kFootRx;
    c.shoulder_y = 56;
    c.hand_y = 64;
    c.hip_y = 72;
    c.hand_out = 1;
    c.eyes = QPointF(kCx, 50);
    c.eye_w = 13;
    c.eye_h = 16;
    c.eye_spacing = 15;
    c.mouth = QPointF(kCx, 63);
    c.mouth_w = 15;
    c.mouth_depth = 4.0;
    cast.push_back(c);
  }
  {
    Character c = sphere("billiard eight ball", EightPaint, MakeRotation(-17, -44, -6), 1.1, 60,
                         QColor(220, 30, 40), QColor(104, 106, 130));
    c.eyes = QPointF(kCx, 51);
    c.eye_w = 13.5;
    c.eye_h = 17;
    c.mouth = QPointF(kCx, 65);
    c.mouth_w = 15;
    c.mouth_depth = 4.2;
    cast.push_back(c);
  }
  cast.push_back(sphere("beach ball", BeachPaint, MakeRotation(-92, 38, 0), 0.9, 50,
                        QColor(250, 190, 20), QColor(244, 244, 246)));
  {
    Character c =
        sphere("bowling pin", nullptr, {}, 0.7, 40, QColor(120, 40, 170), QColor(236, 234, 240));
    c.kind = BodyKind::Pin;
    c.body_y = 52;
    c.radius = 22.6;
    c.shoulder_y = 60;
    c.hand_y = 68;
    c.hip_y = 84;
    c.hand_out = 10;
    c.eyes = QPointF(kCx, 22.5);
    c.eye_w = 11;
    c.eye_h = 13.5;
    c.eye_spacing = 11;
    c.mouth = QPointF(kCx, 31);
    c.mouth_w = 10;
    c.mouth_depth = 2.6;
    cast.push_back(c);
  }
  return cast;
}

const std::vector<Character>& Cast() {
  static const std::vector<Character> kCast = MakeCast();
  return kCast;
}

void DrawBody(QPainter& p, const Character& ch, const Pose& pose) {
  // Squash and stretch keep the body standing on its lowest point.
  const double bottom = ch.kind == BodyKind::Pin        ? kPinBottom
                        : ch.kind == BodyKind::Football ? ch.body_y + kFootRy
                                                        : ch.body_y + ch.radius;
  const double cy = bottom - (bottom - ch.body_y) * pose.sy + pose.bob;
  const QPen outline(kInk, 2.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  switch (ch.kind) {
    case BodyKind::Sphere: {
      const double rx = ch.radius * pose.sx, ry = ch.radius * pose.sy;
      const QPointF c(kCx, cy);
      PaintSurface(p, QRectF(kCx - rx - 1, cy - ry - 1, 2 * rx + 2, 2 * ry + 2),
                   SphereSurface(c, ch.radius, pose.sx, pose.sy, ch.rotation, ch.paint),
                   ch.specular, ch.shininess);
      p.setPen(outline);
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(c, rx, ry);
      break;
    }
    case BodyKind::Football: {
      const QPointF c(kCx, cy);
      PaintSurface(p,
                   QRectF(kCx - kFootRx * pose.sx - 1, cy - kFootRy * pose.sy - 1,
                          2 * kFootRx * pose.sx + 2, 2 * kFootRy * pose.sy + 2),
                   FootballSurface(c, pose.sx, pose.sy), ch.specular, ch.shininess);
      // Laces along the top seam.
      const double top = cy - kFootRy * pose.sy;
      p.setPen(QPen(QColor(70, 30, 12), 1.1, Qt::SolidLine, Qt::RoundCap));
      QPainterPath seam;
      seam.moveTo(kCx - 17, top + 8.5);
      seam.quadTo(kCx, top + 5.0, kCx + 17, top + 8.5);
      p.setBrush(Qt::NoBrush);
      p.drawPath(seam);
      p.setPen(QPen(QColor(250, 248, 240), 2.0, Qt::SolidLine, Qt::RoundCap));
      QPainterPath lace;
      lace.moveTo(kCx - 12, top + 7.3);
      lace.quadTo(kCx, top + 4.6, kCx + 12, top + 7.3);
      p.drawPath(lace);
      for (int i = -2; i <= 2; ++i) {
        const double x = kCx + i * 5.0;
        const double y = top + 6.4 - 0.9 * (1 - (i * i) / 4.0) + 0.0;
        p.drawLine(QPointF(x, y - 2.4), QPointF(x, y + 2.4));
      }
      p.setPen(outline);
      p.drawPath(FootballOutline(c, pose.sx, pose.sy));
      break;
    }
    case BodyKind::Pin: {
      const double dy = cy - ch.body_y;
      PaintSurface(p, QRectF(kCx - 25 * pose.sx, kPinTop - 2 + dy, 50 * pose.sx, 82),
                   PinSurface(dy, pose.sx, pose.sy), ch.specular, ch.shininess);
      p.setPen(outline);
      p.setBrush(Qt::NoBrush);
      p.drawPath(PinOutline(dy, pose.sx, pose.sy));
      break;
    }
  }
}

void DrawFrame(QPainter& p, const Character& ch, int frame) {
  const Pose pose = PoseOf(frame);
  const double ground = 98.0;
  DrawGroundShadow(p, QPointF(kCx, ground - 0.5), 27 - 2 * std::abs(pose.bob), 3.6, 1.0);

  // Legs, then the body in front of their tops.
  const double hip = ch.hip_y + pose.bob;
  const double leg_w = 3.2;
  const QPointF ankle_l(kCx - 12, ground - 9 - pose.lift_left);
  const QPointF ankle_r(kCx + 12, ground - 9 - pose.lift_right);
  DrawLimb(p, QPointF(kCx - 8, hip), QPointF(kCx - 11, (hip + ankle_l.y()) / 2), ankle_l, leg_w);
  DrawLimb(p, QPointF(kCx + 8, hip), QPointF(kCx + 11, (hip + ankle_r.y()) / 2), ankle_r, leg_w);

  // Arms start inside the body so the body hides their roots.
  const double half_w = ch.kind == BodyKind::Pin ? 20.5 : ch.radius * 0.8;
  const QPointF shoulder_l(kCx - half_w, ch.shoulder_y + pose.bob);
  const QPointF shoulder_r(kCx + half_w, ch.shoulder_y + pose.bob);
  const double reach = (ch.kind == BodyKind::Pin ? 22.6 : ch.radius) + ch.hand_out;
  const QPointF hand_l(kCx - reach + 0.25 * pose.swing_left,
                       ch.hand_y + pose.bob + pose.swing_left);
  const QPointF hand_r(kCx + reach - 0.25 * pose.swing_right,
                       ch.hand_y + pose.bob + pose.swing_right);
  DrawLimb(p, shoulder_l, (shoulder_l + hand_l) / 2 + QPointF(-3, 3), hand_l, 3.0);
  DrawLimb(p, shoulder_r, (shoulder_r + hand_r) / 2 + QPointF(3, 3), hand_r, 3.0);

  DrawBody(p, ch, pose);

  DrawShoe(p, QPointF(kCx - 14, ground - pose.lift_left), 21, true, ch.shoe);
  DrawShoe(p, QPointF(kCx + 14, ground - pose.lift_right), 21, false, ch.shoe);

  // Face.
  const QPointF lift(0, pose.bob);
  DrawEyes(p, ch.eyes + lift, ch.eye_spacing, ch.eye_w, ch.eye_h, pose.blink, ch.lid);
  DrawSmile(p, ch.mouth + lift, ch.mouth_w, ch.mouth_depth);

  // Gloves last: they swing in front of everything.
  auto wrist_of = [](QPointF shoulder, QPointF hand) {
    const QPointF d = hand - shoulder;
    const double len = std::hypot(d.x(), d.y());
    return hand - d * (7.0 / len);
  };
  DrawGlove(p, wrist_of(shoulder_l, hand_l), hand_l, 7.6, false);
  DrawGlove(p, wrist_of(shoulder_r, hand_r), hand_r, 7.6, true);
}

}  // namespace

QString CharacterName(int index) {
  return Cast().at(static_cast<size_t>(index)).name;
}

QImage RenderCharacterFrame(int index, int frame) {
  const Character& ch = Cast().at(static_cast<size_t>(index));
  return RenderSupersampled(
      kFrameSide, kFrameSide, Qt::white, [&](QPainter& p) { DrawFrame(p, ch, frame); }, kSuper);
}

QImage RenderWalkStrip(int index) {
  QImage strip(kFrameSide, kFrameSide * kWalkFrames, QImage::Format_RGB32);
  QPainter p(&strip);
  for (int f = 0; f < kWalkFrames; ++f)
    p.drawImage(0, f * kFrameSide, RenderCharacterFrame(index, f));
  return strip;
}

}  // namespace bonusart
