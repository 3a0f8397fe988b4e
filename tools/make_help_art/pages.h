// The manual's pictures and pages that come straight from the game's rules and art: the pay
// table page with its symbol pictures, and the diagram of the nine paylines.
#pragma once

#include <QByteArray>
#include <QImage>

namespace help_art {

// The "Payoffs" topic, every figure read from the game's pay table and scatter rule.
QByteArray PayoffsPage();

// The symbol of code (0..21) cut from the symbol sheet and scaled to side pixels.
QImage SymbolPicture(const QImage& sheet, int code, int side);

// The nine paylines, each drawn on a small 5 x 3 grid of the reel window.
QImage PaylinesDiagram();

}  // namespace help_art
