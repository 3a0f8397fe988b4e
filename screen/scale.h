// Scaling of the 800 x 600 design grid to the screen. The factor comes from the screen width
// alone and is read anew on every call, so a change of resolution while the game runs is
// followed by everything that scales, while the art prepared at start-up stays as it was.
#pragma once

#include <functional>

// Sets where the current screen width comes from (the main window hands in the desktop's
// screen; tests hand in a fixed width). An empty function restores the default source, which
// reports the design width 800.
void SetScreenWidthSource(std::function<int()> source);

// The current screen width in pixels, as the source reports it now. A source that reports no
// usable width (below 1) counts as the design width 800, so nothing scales to nothing.
int CurrentScreenWidth();

// A design value in window pixels at the current screen width: v * (width / 800), truncated.
int Scale(int v);
