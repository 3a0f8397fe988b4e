#include "platform/window_manager.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

bool WindowsGetMaximised() {
  const auto* x11 =
      qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr) return true;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  if (screen == nullptr) return true;
  // A window manager that follows the desktop conventions names its check window on the root.
  constexpr char kCheck[] = "_NET_SUPPORTING_WM_CHECK";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, std::strlen(kCheck), kCheck), nullptr);
  if (atom == nullptr) return true;
  const xcb_atom_t check = atom->atom;
  std::free(atom);
  if (check == XCB_ATOM_NONE) return false;  // no client ever named it: no window manager
  xcb_get_property_reply_t* property = xcb_get_property_reply(
      connection,
      xcb_get_property(connection, 0, screen->root, check, XCB_GET_PROPERTY_TYPE_ANY, 0, 1),
      nullptr);
  if (property == nullptr) return true;
  const bool found = xcb_get_property_value_length(property) >= 4;
  std::free(property);
  return found;
}
