// Whether the desktop maximises a window that asks for it: on an X11 display only a running
// window manager does, and a bare X server (a kiosk session, a virtual display) leaves the window
// at the size it was given.
#pragma once

// False only on an X11 display where no window manager runs; true wherever it can't be told.
// Needs the QGuiApplication.
bool WindowsGetMaximised();
