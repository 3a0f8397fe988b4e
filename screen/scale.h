// Scaling of the 800 x 600 design grid to the screen. The factor comes from the layout width
// alone (the screen width, or less where the screen is too short for the keys; see
// screen/layout_width.h) and is read anew on every call.
#pragma once

#include <functional>

// Sets where the current layout width comes from (the main window hands in the width it laid
// the cabinet out for; tests hand in a fixed width). An empty function restores the default
// source, which reports the design width 800.
void SetLayoutWidthSource(std::function<int()> source);

// The current layout width in pixels, as the source reports it now. A source that reports no
// usable width (below 1) counts as the design width 800, so nothing scales to nothing.
int CurrentLayoutWidth();

// A design value in window pixels at the current layout width: v * (width / 800), truncated.
int Scale(int v);
