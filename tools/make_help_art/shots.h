// Pictures of the game for the manual, taken from the real windows in an offscreen session.
#pragma once

#include <QDir>

namespace help_art {

// Plays a short game with fixed seeds and saves cabinet.png, bet_keys.png, win.png and
// bonus.png into dir. False when a picture could not be made.
bool TakeScreenshots(const QDir& dir);

}  // namespace help_art
