// The bonus game's stage: the stadium background with its caption and white boxes, the lit
// and dim STOP signs, and the bomb strip.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>

namespace bonusart {

inline constexpr int kStadiumWidth = 640;
inline constexpr int kStadiumHeight = 480;
inline constexpr int kBombFrames = 13;

// Top-left corners of the eight 110 x 110 boxes, top row left to right, then the bottom row.
std::array<QPoint, 8> BoxCorners();

// Where the two STOP signs stand in the stadium, and their sizes.
inline constexpr QRect kLeftStop(17, 134, 71, 54);
inline constexpr QRect kRightStop(554, 134, 71, 53);

// The caption written across the top of the stadium.
extern const char* const kCaptionTitle;
extern const char* const kCaptionLines[2];

// The stadium without the STOP signs: sky, floodlights, crowd, pitch, caption and the eight
// framed white boxes (pure white inside).
QImage RenderStadiumBackdrop();

// A STOP sign the size of `place`, drawn over that part of `backdrop`, so that the picture can
// replace that part of the stadium seamlessly. `lit` gives the bright, glowing version.
QImage RenderStopSign(const QImage& backdrop, const QRect& place, bool lit);

// The finished stadium: the backdrop with both STOP signs in their dim state.
QImage RenderStadium(const QImage& backdrop);

// The 110 x 1430 bomb strip: bomb with a burning fuse (frames 0..3), fireball growing and
// fading into smoke (4..11), "YOU LOSE" on black (12).
QImage RenderBombStrip();

}  // namespace bonusart
