// The cabinet: the 800 x 600 background picture of the main screen.
#pragma once

#include <QImage>

namespace art {

// The whole cabinet on the design grid, with empty reel windows, key housings, the coin panel
// and the coin slot, built around the places listed in layout.h. scale 2 or 4 paints the same
// drawing at 2 or 4 times the design size (1600 x 1200, 3200 x 2400) for large screens.
QImage MakeBackground(int scale = 1);

}  // namespace art
