// The desktop's show-desktop request (EWMH _NET_SHOWING_DESKTOP). Kept apart: Xlib's
// names clash with ours.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

namespace glider::gtk {

void ToggleShowingDesktop() {
  GdkDisplay* gd = gdk_display_get_default();
  if (!gd || !GDK_IS_X11_DISPLAY(gd)) return;
  Display* dpy = GDK_DISPLAY_XDISPLAY(gd);
  ::Window root = DefaultRootWindow(dpy);
  Atom showing = XInternAtom(dpy, "_NET_SHOWING_DESKTOP", False);
  long current = 0;
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(dpy, root, showing, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    if (count == 1 && format == 32) current = *reinterpret_cast<long*>(data);
    XFree(data);
  }
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = root;
  ev.xclient.message_type = showing;
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = current ? 0 : 1;
  XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  XFlush(dpy);
}

}  // namespace glider::gtk
