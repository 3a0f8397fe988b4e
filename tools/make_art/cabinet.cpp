#include "cabinet.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "layout.h"
#include "paint_kit.h"
#include "symbols.h"

namespace art {

namespace {

// Regions of the cabinet (beyond the places the game draws on, which are in layout.h).
constexpr QRect kHeader(0, 0, 800, 84);
constexpr QRect kMeterBezel(161, 19, 635 - 161, 72 - 19);
constexpr QRect kCoinPanel(637, 5, 796 - 637, 80 - 5);
constexpr QRect kMarquee(150, 88, 707 - 150, 196 - 88);
constexpr QRect kReelBezel(150, 198, 707 - 150, 452 - 198);
constexpr QRect kReelPanel(156, 210, 701 - 156, 438 - 210);
constexpr QRect kDeck(0, 452, 800, 148);
constexpr QRect kSlotPlate(681, 452, 60, 84);

const QColor kPanelDark(10, 12, 26);  // behind the reels and in the gaps between them
const QColor kMarkerWell(4, 4, 10);   // behind the payline markers
const QColor kKeyFaceColour = QColor::fromRgb(kKeyFace);

void Gunmetal(QPainter& p, const QRectF& r, Noise& noise, double light = 1.0) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, Scaled(QColor(74, 78, 92), light));
  g.setColorAt(0.5, Scaled(QColor(44, 46, 56), light));
  g.setColorAt(1, Scaled(QColor(26, 27, 34), light));
  p.fillRect(r, g);
  BrushedStreaks(p, r, noise, 0.6);
}

// A horizontal chrome rail.
void ChromeRail(QPainter& p, const QRectF& r) {
  p.fillRect(r, ChromeGradient(r.topLeft(), r.bottomLeft()));
}

void Bulb(QPainter& p, const QPointF& c, double r, const QColor& colour) {
  QRadialGradient halo(c, r * 2.4);
  halo.setColorAt(0, QColor(colour.red(), colour.green(), colour.blue(), 120));
  halo.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
  p.setPen(Qt::NoPen);
  p.setBrush(halo);
  p.drawEllipse(c, r * 2.4, r * 2.4);
  QRadialGradient glass(c - QPointF(r * 0.3, r * 0.35), r * 1.2);
  glass.setColorAt(0, Qt::white);
  glass.setColorAt(0.35, Mix(colour, Qt::white, 0.4));
  glass.setColorAt(1, Scaled(colour, 0.55));
  p.setPen(QPen(QColor(40, 40, 46), 1.0));
  p.setBrush(glass);
  p.drawEllipse(c, r, r);
}

void Engraved(QPainter& p, const QString& text, const QRectF& box, double pixels,
              const QColor& colour, int weight = QFont::Bold) {
  const QFont f = PixelFont(QStringLiteral("DejaVu Sans"), pixels, weight);
  const QPainterPath path = TextPath(text, f, box);
  p.save();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 190));
  p.drawPath(path.translated(0.8, 0.8));
  p.setBrush(colour);
  p.drawPath(path);
  p.restore();
}

void PaintHeader(QPainter& p, Noise& noise) {
  Gunmetal(p, kHeader, noise);
  ChromeRail(p, QRectF(0, 80, 800, 5));

  // Logo niche: a dark recess with a soft blue light behind the logo.
  SunkenWell(p, QRectF(3, 5, 141, 76), 8, QColor(8, 10, 24), 2);
  QRadialGradient glow(QPointF(70, 44), 70);
  glow.setColorAt(0, QColor(60, 90, 200, 150));
  glow.setColorAt(1, QColor(60, 90, 200, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawRoundedRect(QRectF(5, 7, 137, 72), 7, 7);

  // Meter bezel: chrome ring whose inner edge is the meter frame the game paints.
  const QRectF bezel = kMeterBezel;
  QPainterPath ring;
  ring.addRoundedRect(bezel, 9, 9);
  p.setBrush(ChromeGradient(bezel.topLeft(), bezel.bottomLeft()));
  p.setPen(QPen(QColor(20, 20, 26), 1));
  p.drawPath(ring);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(24, 24, 30));
  p.drawRoundedRect(QRectF(art::AsQRect(layout::kMeterFrame)).adjusted(-2, -2, 2, 2), 5, 5);
  p.setBrush(Qt::black);
  p.drawRect(art::AsQRect(layout::kMeterFrame));

  // Coin panel: a chrome plate holding the white value box and a service light.
  RaisedPlate(p, kCoinPanel, 8, QColor(52, 54, 64), 2.5);
  BrushedStreaks(p, QRectF(kCoinPanel).adjusted(3, 3, -3, -3), noise, 0.5);
  const QRectF box = kCoinBox;
  SunkenWell(p, box.adjusted(-3, -3, 3, 3), 5, Qt::white, 2);
  p.fillRect(box, Qt::white);
  Engraved(p, QStringLiteral("COIN VALUE"), QRectF(box.left() - 4, 60, box.width() + 8, 13), 8.5,
           QColor(220, 224, 232));
  // Service light: a two-tier lamp.
  const QRectF lamp(712, 12, 72, 62);
  p.setPen(QPen(QColor(20, 20, 24), 1));
  p.setBrush(ChromeGradient(QPointF(0, lamp.bottom() - 8), QPointF(0, lamp.bottom())));
  p.drawRoundedRect(QRectF(lamp.left() + 8, lamp.bottom() - 8, lamp.width() - 16, 8), 2, 2);
  for (int tier = 0; tier < 2; ++tier) {
    const QRectF t(lamp.left() + 12, lamp.top() + 2 + tier * 26, lamp.width() - 24, 24);
    const QColor c = tier == 0 ? QColor(255, 60, 50) : QColor(255, 250, 235);
    QLinearGradient glass(t.topLeft(), t.topRight());
    glass.setColorAt(0, Scaled(c, 0.55));
    glass.setColorAt(0.3, Mix(c, Qt::white, 0.5));
    glass.setColorAt(0.6, c);
    glass.setColorAt(1, Scaled(c, 0.45));
    p.setBrush(glass);
    p.drawRoundedRect(t, 4, 4);
  }
  p.setBrush(ChromeGradient(QPointF(0, lamp.top()), QPointF(0, lamp.top() + 4)));
  p.drawRoundedRect(QRectF(lamp.left() + 10, lamp.top(), lamp.width() - 20, 4), 2, 2);
  Engraved(p, QStringLiteral("7"), QRectF(lamp.left() + 12, lamp.top() + 2, lamp.width() - 24, 24),
           18, QColor(255, 240, 200), QFont::Black);
  Engraved(p, QStringLiteral("SERVICE"),
           QRectF(lamp.left() + 12, lamp.top() + 28, lamp.width() - 24, 24), 8, QColor(120, 30, 30),
           QFont::Black);
}

// A round medallion on the marquee; the right one is the patch the game restores at each
// spin.
void Medallion(QPainter& p, const QPointF& c, double r, const QColor& rim, const QColor& core,
               const QString& emoji, const QString& caption) {
  p.save();
  p.setPen(Qt::NoPen);
  // Starburst behind.
  for (int i = 0; i < 24; ++i) {
    const double a0 = (i * 15 - 4) * M_PI / 180, a1 = (i * 15 + 4) * M_PI / 180;
    const double rr = i % 2 ? r * 1.02 : r * 1.08;
    p.setBrush(QColor(255, 220, 120, i % 2 ? 120 : 200));
    p.drawPolygon(QPolygonF({c, c + QPointF(rr * std::cos(a0), rr * std::sin(a0)),
                             c + QPointF(rr * std::cos(a1), rr * std::sin(a1))}));
  }
  QRadialGradient ring_fill(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
  ring_fill.setColorAt(0, Mix(rim, Qt::white, 0.6));
  ring_fill.setColorAt(0.6, rim);
  ring_fill.setColorAt(1, Scaled(rim, 0.45));
  p.setBrush(ring_fill);
  p.setPen(QPen(QColor(40, 20, 0), 1.2));
  p.drawEllipse(c, r * 0.86, r * 0.86);
  QRadialGradient core_fill(c - QPointF(0, r * 0.25), r * 0.8);
  core_fill.setColorAt(0, Mix(core, Qt::white, 0.35));
  core_fill.setColorAt(1, Scaled(core, 0.4));
  p.setBrush(core_fill);
  p.drawEllipse(c, r * 0.7, r * 0.7);
  DrawWithShadow(p, Emoji(emoji), QRectF(c.x() - r * 0.42, c.y() - r * 0.52, r * 0.84, r * 0.7), 2);
  const QFont f = PixelFont(QStringLiteral("DejaVu Sans"), r * 0.24, QFont::Black);
  QPainterPath text = TextPath(caption, f, QRectF(c.x() - r, c.y() + r * 0.2, 2 * r, r * 0.36));
  Lettering(p, text, QColor(255, 244, 200), QColor(60, 10, 0), 2.2);
  // Gloss.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 50));
  p.drawEllipse(QRectF(c.x() - r * 0.5, c.y() - r * 0.66, r, r * 0.5));
  p.restore();
}

void PaintMarquee(QPainter& p, Noise& noise) {
  const QRectF m = kMarquee;
  RaisedPlate(p, m, 10, QColor(30, 30, 40), 4);
  const QRectF glass = m.adjusted(5, 5, -5, -5);
  QPainterPath glass_path;
  glass_path.addRoundedRect(glass, 7, 7);
  p.save();
  p.setClipPath(glass_path);
  QLinearGradient sky(glass.topLeft(), glass.bottomLeft());
  sky.setColorAt(0, QColor(6, 14, 60));
  sky.setColorAt(0.6, QColor(20, 50, 140));
  sky.setColorAt(1, QColor(10, 70, 40));
  p.fillRect(glass, sky);
  // A playing field seen from the stands: stripes of turf and its white lines, faintly.
  const double turf_top = glass.top() + glass.height() * 0.62;
  for (int i = 0; i < 12; ++i) {
    const QRectF stripe(glass.left() + i * glass.width() / 12, turf_top, glass.width() / 12,
                        glass.bottom() - turf_top);
    p.fillRect(stripe, i % 2 ? QColor(30, 110, 50, 150) : QColor(40, 130, 60, 150));
  }
  p.setPen(QPen(QColor(255, 255, 255, 70), 1.5));
  p.setBrush(Qt::NoBrush);
  p.drawLine(QPointF(glass.left(), turf_top + 2), QPointF(glass.right(), turf_top + 2));
  p.drawEllipse(QPointF(glass.center().x(), glass.bottom() + 6), 60, 20);
  p.drawLine(QPointF(glass.center().x(), turf_top + 2),
             QPointF(glass.center().x(), glass.bottom()));
  // Floodlight beams from the top corners and a row of lamps.
  for (int side = 0; side < 2; ++side) {
    const double x = side == 0 ? glass.left() + 20 : glass.right() - 20;
    QLinearGradient beam(QPointF(x, glass.top()), QPointF(glass.center().x(), glass.bottom()));
    beam.setColorAt(0, QColor(255, 255, 230, 90));
    beam.setColorAt(1, QColor(255, 255, 230, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(beam);
    const double dir = side == 0 ? 1 : -1;
    p.drawPolygon(QPolygonF({QPointF(x, glass.top() + 6), QPointF(x + dir * 140, glass.bottom()),
                             QPointF(x + dir * 280, glass.bottom())}));
    for (int k = 0; k < 4; ++k) {
      const QPointF c(x + dir * (k * 9 - 4), glass.top() + 7 + (k % 2) * 6);
      QRadialGradient lamp(c, 7);
      lamp.setColorAt(0, QColor(255, 255, 255, 255));
      lamp.setColorAt(0.3, QColor(255, 250, 210, 200));
      lamp.setColorAt(1, QColor(255, 250, 210, 0));
      p.setBrush(lamp);
      p.drawEllipse(c, 7, 7);
    }
  }
  // Sparkles in the dark upper part.
  for (int i = 0; i < 60; ++i) {
    const QPointF c(glass.left() + noise.Unit() * glass.width(),
                    glass.top() + noise.Unit() * glass.height() * 0.55);
    const int a = 40 + static_cast<int>(noise.Unit() * 120);
    p.setBrush(QColor(255, 255, 255, a));
    const double r = 0.4 + noise.Unit() * 0.8;
    p.drawEllipse(c, r, r);
  }
  p.restore();

  // The title.
  const QRectF title_box(300, 100, 256, 52);
  QFont title = PixelFont(QStringLiteral("DejaVu Sans"), 40, QFont::Black);
  QPainterPath word = TextPath(QStringLiteral("GRAND SLAM"), title, title_box);
  QRectF b = word.boundingRect();
  QTransform fit;
  fit.translate(title_box.center().x(), title_box.center().y());
  fit.shear(-0.1, 0);
  fit.scale(title_box.width() / b.width(), 40.0 / b.height());
  fit.translate(-b.center().x(), -b.center().y());
  word = fit.map(word);
  b = word.boundingRect();
  QLinearGradient gold(QPointF(0, b.top()), QPointF(0, b.bottom()));
  gold.setColorAt(0, QColor(255, 253, 220));
  gold.setColorAt(0.45, QColor(255, 206, 50));
  gold.setColorAt(0.52, QColor(200, 120, 10));
  gold.setColorAt(1, QColor(255, 228, 120));
  // The glow is blurred at device resolution, its radius scaled with the picture.
  const int k = static_cast<int>(std::lround(DeviceScale(p)));
  const QImage glow_shape = [&] {
    QImage img(800 * k, 600 * k, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter q(&img);
    q.setRenderHint(QPainter::Antialiasing);
    if (k != 1) q.scale(k, k);
    q.setPen(QPen(QColor(255, 160, 40, 200), 6));
    q.setBrush(QColor(255, 160, 40, 200));
    q.drawPath(word);
    q.end();
    for (int i = 0; i < 3; ++i) BoxBlur(img, 4 * k);
    return img;
  }();
  DrawDevicePicture(p, QPointF(0, 0), glow_shape);
  Lettering(p, word, QColor(0, 0, 0, 0), QColor(10, 0, 20), 6);
  Lettering(p, word, gold, QColor(170, 30, 10), 2.6);
  const QRectF sub(300, 156, 256, 24);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 140));
  p.drawRoundedRect(sub.adjusted(10, 2, -10, -2), 9, 9);
  Engraved(p, QStringLiteral("9 LINES  \u2022  WILDS  \u2022  BONUS GAME"), sub, 10.5,
           QColor(240, 244, 255), QFont::Black);

  // Medallions: a trophy on the left, mirrored about the reels' centre by the jackpot light on
  // the right (the patch the game restores).
  const QPointF right = QRectF(art::AsQRect(layout::kSpinPatch)).center();
  const double reel_centre = (layout::kReelsLeft - layout::kLeftFrameStrip + layout::kReelsLeft +
                              4 * layout::kReelPitch + layout::kCell + layout::kRightFrameStrip) /
                             2.0;
  const QPointF left(2 * reel_centre - right.x(), right.y());
  Medallion(p, left, 40, QColor(230, 180, 60), QColor(20, 60, 160), QString::fromUtf8("\U0001F3C6"),
            QStringLiteral("BONUS"));
  Medallion(p, right, 40, QColor(230, 180, 60), QColor(190, 20, 30), QString::fromUtf8("\u2B50"),
            QStringLiteral("JACKPOT"));
}

void PaintPillars(QPainter& p, Noise& noise) {
  const QColor leather(70, 10, 18);
  for (const QRectF pillar : {QRectF(0, 86, 148, 366), QRectF(709, 86, 91, 366)}) {
    QLinearGradient g(pillar.topLeft(), pillar.topRight());
    g.setColorAt(0, Scaled(leather, 0.5));
    g.setColorAt(0.5, leather);
    g.setColorAt(1, Scaled(leather, 0.5));
    p.fillRect(pillar, g);
    // Quilted stitching.
    p.save();
    p.setClipRect(pillar);
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    for (double d = -400; d < 400; d += 22) {
      p.drawLine(QPointF(pillar.left() + d, pillar.top()),
                 QPointF(pillar.left() + d + 400, pillar.top() + 400));
      p.drawLine(QPointF(pillar.right() - d, pillar.top()),
                 QPointF(pillar.right() - d - 400, pillar.top() + 400));
    }
    p.restore();
    for (int i = 0; i < 9000 / 100; ++i) {
      const QPointF c(pillar.left() + noise.Unit() * pillar.width(),
                      pillar.top() + noise.Unit() * pillar.height());
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 255, 255, 8));
      p.drawEllipse(c, 2, 2);
    }
  }
  // Chasing lights down the outer edges.
  const QColor bulbs[3] = {QColor(255, 210, 60), QColor(255, 80, 60), QColor(255, 250, 230)};
  for (int i = 0; i < 12; ++i) {
    const double y = 104 + i * 30;
    p.setPen(Qt::NoPen);
    Bulb(p, QPointF(12, y), 5, bulbs[i % 3]);
    Bulb(p, QPointF(788, y), 5, bulbs[(i + 1) % 3]);
  }
  // Chrome edges of the pillars.
  p.fillRect(QRectF(24, 86, 3, 366), ChromeGradient(QPointF(24, 0), QPointF(27, 0)));
  p.fillRect(QRectF(773, 86, 3, 366), ChromeGradient(QPointF(773, 0), QPointF(776, 0)));

  // Info cards: the wild on the left pillar, the scatter badge on the right.
  auto card = [&](const QRectF& r, int code, const QStringList& lines) {
    RaisedPlate(p, r, 6, QColor(20, 16, 30), 2.5);
    const int cell = 56;
    // The symbol is painted at the picture's own resolution, not enlarged from 56 pixels.
    const int k = static_cast<int>(std::lround(DeviceScale(p)));
    QImage tile(cell * k, cell * k, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::black);
    {
      QPainter q(&tile);
      if (k != 1) q.scale(k, k);
      PaintSymbol(q, code, cell);
    }
    const QPointF at(r.center().x() - cell / 2.0, r.top() + 8);
    DrawDevicePicture(p, at, tile);
    p.setPen(QPen(QColor(220, 190, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(at, QSizeF(cell, cell)).adjusted(-0.5, -0.5, 0.5, 0.5));
    for (int i = 0; i < lines.size(); ++i) {
      Engraved(p, lines[i], QRectF(r.left() + 2, r.top() + 70 + i * 13, r.width() - 4, 12),
               i == 0 ? 10.5 : 8.5, i == 0 ? QColor(255, 214, 80) : QColor(230, 230, 240),
               QFont::Black);
    }
  };
  card(QRectF(34, 214, 106, 130), 0,
       {QStringLiteral("WILD"), QStringLiteral("STANDS FOR"), QStringLiteral("ALL SPORTS"),
        QStringLiteral("SYMBOLS")});
  card(QRectF(714, 214, 56, 170), 7,
       {QStringLiteral("3+"), QStringLiteral("BADGES"), QStringLiteral("PAY ANY"),
        QStringLiteral("PLACE &"), QStringLiteral("START"), QStringLiteral("BONUS")});
}

void PaintReelArea(QPainter& p, Noise& noise) {
  const QRectF bezel = kReelBezel;
  // Outer chrome bezel with a deep shadow line inside it.
  QPainterPath outer;
  outer.addRoundedRect(bezel, 12, 12);
  p.setPen(QPen(QColor(10, 10, 14), 1.5));
  p.setBrush(ChromeGradient(bezel.topLeft(), bezel.bottomLeft()));
  p.drawPath(outer);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(8, 8, 14));
  p.drawRoundedRect(bezel.adjusted(5, 5, -5, -5), 8, 8);
  // The dark panel behind the reels: plain enough for the payline paths to read.
  QLinearGradient panel(QPointF(0, kReelPanel.top()), QPointF(0, kReelPanel.bottom()));
  panel.setColorAt(0, Mix(kPanelDark, Qt::black, 0.3));
  panel.setColorAt(0.5, kPanelDark);
  panel.setColorAt(1, Mix(kPanelDark, Qt::black, 0.3));
  p.fillRect(kReelPanel, panel);
  // Top and bottom rails across the whole reel block.
  ChromeRail(p, QRectF(kReelPanel.left(), 200, kReelPanel.width(), 10));
  ChromeRail(p, QRectF(kReelPanel.left(), 438, kReelPanel.width(), 10));
  // Marker wells.
  for (const QRect& well : {kLeftMarkers, kRightMarkers}) {
    p.fillRect(QRectF(well).adjusted(-2, -2, 2, 2), QColor(2, 2, 6));
    p.fillRect(well, kMarkerWell);
  }
  (void)noise;
  // The reel windows: black inside (the symbols cover them).
  for (int i = 0; i < kReels; ++i) {
    p.fillRect(QRect(layout::kReelsLeft + i * layout::kReelPitch, layout::kReelsTop, layout::kCell,
                     kReelHeight),
               Qt::black);
  }
}

// The frame strips beside each reel window, painted pixel by pixel as polished rods: the game
// copies exactly these columns back over the payline paths. In a picture k times the design
// size each design pixel is a k x k block (the rods keep their exact colours), the light still
// falling off smoothly down the rods.
void PaintFrameStrips(QImage& img, int k) {
  static const QColor kLeft[layout::kLeftFrameStrip] = {QColor(70, 74, 86), QColor(236, 238, 246),
                                                        QColor(168, 174, 188), QColor(40, 42, 50)};
  static const QColor kRight[layout::kRightFrameStrip] = {QColor(40, 42, 50), QColor(200, 204, 216),
                                                          QColor(82, 86, 98)};
  for (int i = 0; i < kReels; ++i) {
    const int left = layout::kReelsLeft - layout::kLeftFrameStrip + i * layout::kReelPitch;
    const int right = layout::kReelsLeft + layout::kCell + i * layout::kReelPitch;
    auto put = [&](int x, int device_y, QRgb colour) {
      for (int dx = 0; dx < k; ++dx) img.setPixel(x * k + dx, device_y, colour);
    };
    for (int y = layout::kReelsTop * k; y < (layout::kReelsTop + kReelHeight) * k; ++y) {
      // Slightly brighter toward the top, as if lit from above.
      const double light = 1.08 - 0.16 * (y - layout::kReelsTop * k) / (kReelHeight * k);
      for (int c = 0; c < layout::kLeftFrameStrip; ++c)
        put(left + c, y, Scaled(kLeft[c], light).rgb());
      for (int c = 0; c < layout::kRightFrameStrip; ++c)
        put(right + c, y, Scaled(kRight[c], light).rgb());
    }
    // Caps where the strips meet the rails.
    for (int c = 0; c < layout::kLeftFrameStrip + layout::kCell + layout::kRightFrameStrip; ++c) {
      for (int dy = 0; dy < k; ++dy) {
        put(left + c, (layout::kReelsTop - 1) * k + dy, qRgb(30, 32, 40));
        put(left + c, (layout::kReelsTop + kReelHeight) * k + dy, qRgb(30, 32, 40));
      }
    }
  }
}

void PaintDeck(QPainter& p, Noise& noise) {
  QLinearGradient slope(QPointF(0, kDeck.top()), QPointF(0, kDeck.bottom()));
  slope.setColorAt(0, QColor(88, 92, 108));
  slope.setColorAt(0.25, QColor(52, 54, 66));
  slope.setColorAt(1, QColor(18, 18, 24));
  p.fillRect(kDeck, slope);
  BrushedStreaks(p, kDeck, noise, 0.7);
  ChromeRail(p, QRectF(0, kDeck.top(), 800, 5));

  // Bet key tray.
  const QRectF tray(95, 479, 402, 42);
  SunkenWell(p, tray, 8, QColor(22, 22, 30), 2.5);
  Engraved(p, QStringLiteral("PAYLINES"), QRectF(99, 486, 66, 12), 9, QColor(230, 232, 240),
           QFont::Black);
  Engraved(p, QStringLiteral("BET / LINE"), QRectF(99, 502, 92, 12), 9, QColor(230, 232, 240),
           QFont::Black);
  auto key = [&](int left, int top, int width) {
    const QRectF face(left, top, width, layout::kBetKeyHeight);
    p.save();
    p.setPen(Qt::NoPen);
    // A raised rim: light above-left, dark below-right, then the flat face the game fills.
    p.setBrush(QColor(255, 248, 225));
    p.drawRoundedRect(face.adjusted(-3, -3, 2, 2), 3, 3);
    p.setBrush(QColor(90, 70, 30));
    p.drawRoundedRect(face.adjusted(-2, -2, 3, 3), 3, 3);
    p.setBrush(Scaled(kKeyFaceColour, 0.8));
    p.drawRoundedRect(face.adjusted(-2, -2, 2, 2), 2, 2);
    p.restore();
    p.fillRect(face.adjusted(-1, -1, 1, 1), kKeyFaceColour);
  };
  for (const layout::BetKey& bet_key : layout::kBetKeyTable) {
    key(bet_key.left, bet_key.top, bet_key.width);
  }

  // BET MAX / SPIN housing.
  SunkenWell(p, QRectF(536, 479, 134, 47), 9, QColor(14, 14, 18), 2.5);
  p.fillRect(kBetMaxKey, QColor(18, 18, 22));
  p.fillRect(kSpinKey, QColor(18, 18, 22));

  // Coin entry: a dark plate with the slot (white "Insert" sits on it), then a light chrome
  // plate under it (black "Coins" sits on it), then the coin return cup.
  const QRectF plate = kSlotPlate;
  RaisedPlate(p, plate, 6, QColor(60, 62, 72), 2.5);
  const QRectF dark(plate.left() + 4, plate.top() + 4, plate.width() - 8, 478 - plate.top() - 4);
  p.setPen(Qt::NoPen);
  QLinearGradient dark_fill(dark.topLeft(), dark.bottomLeft());
  dark_fill.setColorAt(0, QColor(40, 6, 10));
  dark_fill.setColorAt(1, QColor(16, 2, 4));
  p.setBrush(dark_fill);
  p.drawRoundedRect(dark, 4, 4);
  // The slot itself: a chrome bezel with a narrow slit, lit red from inside.
  const QRectF bezel(layout::kSlotLabelX - 15, dark.top() + 1, 30, 7);
  p.setBrush(ChromeGradient(bezel.topLeft(), bezel.bottomLeft()));
  p.drawRoundedRect(bezel, 3, 3);
  const QRectF slit = bezel.adjusted(4, 2.5, -4, -2.5);
  QLinearGradient inside(slit.topLeft(), slit.topRight());
  inside.setColorAt(0, QColor(60, 0, 0));
  inside.setColorAt(0.5, QColor(255, 70, 40));
  inside.setColorAt(1, QColor(60, 0, 0));
  p.setBrush(inside);
  p.drawRoundedRect(slit, 1.5, 1.5);
  const QRectF light(plate.left() + 4, 479, plate.width() - 8, 15);
  QLinearGradient chrome(light.topLeft(), light.bottomLeft());
  chrome.setColorAt(0, QColor(250, 250, 252));
  chrome.setColorAt(0.5, QColor(214, 218, 226));
  chrome.setColorAt(1, QColor(178, 182, 192));
  p.setBrush(chrome);
  p.drawRoundedRect(light, 3, 3);
  const QRectF cup(plate.left() + 12, 501, plate.width() - 24, 26);
  SunkenWell(p, cup, 5, QColor(8, 8, 10), 2);
  ChromeRail(p, QRectF(cup.left() + 3, cup.top() + 3, cup.width() - 6, 4));

  // Belly: speaker grilles either side of a lit glass.
  for (const QRectF grille : {QRectF(20, 540, 190, 54), QRectF(590, 540, 190, 54)}) {
    SunkenWell(p, grille, 8, QColor(14, 14, 18), 2);
    p.setPen(Qt::NoPen);
    for (double y = grille.top() + 7; y < grille.bottom() - 4; y += 6) {
      for (double x = grille.left() + 7 + (static_cast<int>(y) % 12 ? 3 : 0);
           x < grille.right() - 4; x += 6) {
        p.setBrush(QColor(110, 114, 130, 140));
        p.drawEllipse(QPointF(x + 0.5, y + 0.5), 2.0, 2.0);
        p.setBrush(QColor(0, 0, 0));
        p.drawEllipse(QPointF(x, y), 1.7, 1.7);
      }
    }
  }
  const QRectF belly(226, 536, 348, 60);
  RaisedPlate(p, belly, 8, QColor(30, 30, 40), 3);
  const QRectF belly_glass = belly.adjusted(5, 5, -5, -5);
  QLinearGradient bg(belly_glass.topLeft(), belly_glass.bottomLeft());
  bg.setColorAt(0, QColor(120, 10, 20));
  bg.setColorAt(1, QColor(40, 0, 10));
  p.setBrush(bg);
  p.drawRoundedRect(belly_glass, 5, 5);
  const char* balls[] = {"\u26BD", "\U0001F3C0", "\U0001F3C8",
                         "\u26BE", "\U0001F3BE", "\U0001F3B1"};
  for (int i = 0; i < 6; ++i) {
    const double x = belly_glass.left() + 14 + i * 56;
    DrawWithShadow(p, Emoji(QString::fromUtf8(balls[i])), QRectF(x, belly_glass.top() + 8, 34, 34),
                   2);
  }
}

}  // namespace

QImage MakeBackground(int scale) {
  QImage img(kDesignWidth * scale, layout::kDesignHeight * scale,
             QImage::Format_ARGB32_Premultiplied);
  img.fill(QColor(8, 8, 14));
  Noise noise(20240611u);
  {
    QPainter p(&img);
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                     QPainter::TextAntialiasing);
    if (scale != 1) p.scale(scale, scale);
    PaintHeader(p, noise);
    PaintPillars(p, noise);
    PaintMarquee(p, noise);
    PaintReelArea(p, noise);
    PaintDeck(p, noise);
  }
  PaintFrameStrips(img, scale);
  return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace art
