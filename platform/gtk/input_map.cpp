#include "platform/gtk/input_map.h"

#include <gdk/gdkkeysyms.h>

#include "platform/winuser.h"

namespace glider::gtk {

int VirtualKeyOf(guint keyval) {
  guint upper = gdk_keyval_to_upper(keyval);
  if (upper >= GDK_KEY_A && upper <= GDK_KEY_Z) return static_cast<int>('A' + (upper - GDK_KEY_A));
  if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) return static_cast<int>('0' + (keyval - GDK_KEY_0));
  if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F12) return 0x70 + static_cast<int>(keyval - GDK_KEY_F1);
  switch (keyval) {
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
      return VK_TAB;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
      return VK_RETURN;
    case GDK_KEY_BackSpace:
      return VK_BACK;
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete:
      return VK_DELETE;
    case GDK_KEY_Escape:
      return VK_ESCAPE;
    case GDK_KEY_space:
      return VK_SPACE;
    case GDK_KEY_Left:
      return VK_LEFT;
    case GDK_KEY_Right:
      return VK_RIGHT;
    case GDK_KEY_Up:
      return VK_UP;
    case GDK_KEY_Down:
      return VK_DOWN;
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
      return VK_SHIFT;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
      return VK_CONTROL;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
      return VK_MENU;
    default:
      return 0;
  }
}

LastButton& LastButtonEvent() {
  static LastButton last;
  return last;
}

WPARAM KeysOf(guint state) {
  WPARAM keys = 0;
  if (state & GDK_BUTTON1_MASK) keys |= MK_LBUTTON;
  if (state & GDK_BUTTON3_MASK) keys |= MK_RBUTTON;
  if (state & GDK_BUTTON2_MASK) keys |= MK_MBUTTON;
  if (state & GDK_SHIFT_MASK) keys |= MK_SHIFT;
  if (state & GDK_CONTROL_MASK) keys |= MK_CONTROL;
  return keys;
}

UINT ButtonMessage(guint button, GdkEventType type) {
  bool down = type == GDK_BUTTON_PRESS;
  bool dbl = type == GDK_2BUTTON_PRESS;
  switch (button) {
    case 1:
      return dbl ? WM_LBUTTONDBLCLK : down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case 3:
      return dbl ? WM_RBUTTONDBLCLK : down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case 2:
      return dbl ? WM_MBUTTONDBLCLK : down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
      return 0;
  }
}

}  // namespace glider::gtk
