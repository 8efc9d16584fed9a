// Translation of GDK input into the values of window messages.
#pragma once

#include <gtk/gtk.h>

#include <string>

namespace glider::gtk {

// The virtual key of a GDK key value, 0 for keys the client has no use for.
int VirtualKeyOf(guint keyval);

// The last button press, which the desktop's move and size loops start from.
struct LastButton {
  guint button = 1;
  int rootX = 0;
  int rootY = 0;
  guint32 time = GDK_CURRENT_TIME;
};
LastButton& LastButtonEvent();

}  // namespace glider::gtk
