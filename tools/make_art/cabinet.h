// The cabinet: the 800 x 600 background picture of the main screen.
#pragma once

#include <QImage>

namespace art {

// The whole cabinet on the design grid, with empty reel windows, key housings, the coin panel
// and the coin slot, built around the places listed in layout.h.
QImage MakeBackground();

}  // namespace art
