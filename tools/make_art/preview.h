// A mock of the main screen built from the generated art, to judge the art as a player sees it.
#pragma once

#include <QImage>
#include <QString>

namespace art {

// Paints the main screen at the given screen width the way the game lays it out: background,
// payline markers (the first linesBet lit) and paths, reels at rest at stops 3, 30, 7, 2, 7,
// meters, keys, coin value and logo. Art is read from artDir (main/ and beside/).
QImage MakePreview(const QString& art_dir, int screen_width, int lines_bet);

}  // namespace art
