// The game's windows that draw themselves (the cabinet, the bonus game) as the desktop's
// accessibility tree shows them: their keys, meters, texts and cells as objects with roles,
// names as drawn, states, places and presses.
#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The factory for QAccessible::installFactory: the interface of the cabinet or the bonus game
// when object is one, else none. Qt asks it only once an assistive technology is listening.
QAccessibleInterface* GameWindowsAccessible(const QString& class_name, QObject* object);

// The name a reel cell showing symbol code is read by: the pay table's words for it.
QString SymbolName(int code);
