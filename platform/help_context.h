// Help topics by context number. A window or control may carry the number of its topic; a help
// request (F1) opens the topic of the focused control or of its nearest parent that has one.
#pragma once

class QWidget;

// Gives widget the help topic context (0 removes it).
void SetHelpContext(QWidget* widget, int context);

// The topic widget carries itself, 0 when none.
int HelpContext(const QWidget* widget);

// The topic of widget or of its nearest parent that carries one, 0 when none does.
int FindHelpContext(const QWidget* widget);
