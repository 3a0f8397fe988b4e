// The eight walking characters of the bonus game: cartoon sports balls (and one bowling pin)
// with big eyes, white gloves and sneakers, each in an eight-frame walk on the spot.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace bonusart {

inline constexpr int kFrameSide = 110;  // one animation frame is 110 x 110 pixels
inline constexpr int kWalkFrames = 8;   // frames in one walking strip
inline constexpr int kBlinkFrame = 5;   // the frame of the cycle with closed eyes
inline constexpr int kCharacterCount = 8;

// Short English name of character `index` (0..7), e.g. "soccer ball".
QString CharacterName(int index);

// Renders frame `frame` (0..7) of character `index` (0..7) on a white 110 x 110 picture.
// Frame 0 is the standing pose with both feet down and eyes open.
QImage RenderCharacterFrame(int index, int frame);

// The whole walking strip of character `index`: 8 frames stacked top to bottom (110 x 880).
QImage RenderWalkStrip(int index);

}  // namespace bonusart
