// The bonus game as the desktop's accessibility tree shows it: its caption, its eight boxes (a
// ball not yet picked, or what it showed), the two STOP signs while they may be pressed, the
// total won so far and what the game says at its end.
#pragma once

class BonusGameWindow;
class QAccessibleInterface;

// The window's interface, made when an assistive technology first asks for it.
QAccessibleInterface* MakeBonusGameAccessible(BonusGameWindow* window);
