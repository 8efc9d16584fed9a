// Translation of GDK input into the values of window messages.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "platform/winuser.h"

namespace glider::gtk {

// The virtual key of a GDK key value, 0 for keys the client has no use for.
int VirtualKeyOf(guint keyval);

// Key and button state of a pointer event as the wParam of a mouse message.
WPARAM KeysOf(guint state);
// The mouse message of a button event, 0 for buttons the client has no use for.
UINT ButtonMessage(guint button, GdkEventType type);

// The last button press, which the desktop's move and size loops start from.
struct LastButton {
  guint button = 1;
  int rootX = 0;
  int rootY = 0;
  guint32 time = GDK_CURRENT_TIME;
};
LastButton& LastButtonEvent();

}  // namespace glider::gtk
