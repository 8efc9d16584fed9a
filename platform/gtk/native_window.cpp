#include "platform/gtk/native_window.h"

#include "platform/core/atl/message_loop.h"
#include "platform/core/gdi/surface_dc.h"
#include "platform/core/text/utf.h"
#include "platform/core/window/input.h"
#include "platform/core/window/window_manager.h"
#include "platform/gtk/input_map.h"
#include "platform/gtk/web_view.h"

namespace glider::gtk {

namespace {

core::Window* RecordOf(NativeWindow* n) { return core::WindowManager::Get().Find(n->hwnd); }

// A window entirely outside the screen stays unmapped: a window manager may pull a mapped
// window back into view, and a window parked at (-2000, -2000) must never be seen.
bool OnScreen(const RECT& r) {
  GdkScreen* screen = gdk_screen_get_default();
  if (!screen) return false;
  GdkDisplay* display = gdk_screen_get_display(screen);
  int n = gdk_display_get_n_monitors(display);
  for (int i = 0; i < n; ++i) {
    GdkRectangle g;
    gdk_monitor_get_geometry(gdk_display_get_monitor(display, i), &g);
    if (r.left < g.x + g.width && r.right > g.x && r.top < g.y + g.height && r.bottom > g.y) return true;
  }
  return false;
}

// The pixels of a colour-keyed window with the key pixels transparent.
uint32_t* KeyedPixels(NativeWindow* n, core::Window& w) {
  n->keyed.resize(w.pixels.pixels.size());
  for (int y = 0; y < w.pixels.height; ++y)
    for (int x = 0; x < w.pixels.width; ++x) {
      const size_t i = static_cast<size_t>(y) * w.pixels.width + x;
      n->keyed[i] = core::ClearPixel(w, x, y) ? 0 : (w.pixels.pixels[i] | 0xFF000000u);
    }
  return n->keyed.data();
}

// The points of a width x height grid where inside(x, y) holds, as a region of runs
// along each row, offset by (dx, dy).
template <class Inside>
cairo_region_t* RegionOfRuns(int width, int height, int dx, int dy, Inside inside) {
  cairo_region_t* region = cairo_region_create();
  for (int y = 0; y < height; ++y) {
    int start = -1;
    for (int x = 0; x <= width; ++x) {
      const bool in = x < width && inside(x, y);
      if (in && start < 0) start = x;
      if (!in && start >= 0) {
        cairo_rectangle_int_t run{dx + start, dy + y, x - start, 1};
        cairo_region_union_rectangle(region, &run);
        start = -1;
      }
    }
  }
  return region;
}

// The pixels that are not clear.
// The pixels that are not clear, and the embedded views in view (they draw over ours).
cairo_region_t* SolidRegion(core::Window& w) {
  cairo_region_t* solid = RegionOfRuns(w.pixels.width, w.pixels.height, 0, 0,
                                       [&](int x, int y) { return !core::ClearPixel(w, x, y); });
  for (core::Window* child : core::WindowManager::Get().ChildrenOf(w.handle)) {
    if (!child->visible) continue;
    cairo_rectangle_int_t r{child->rect.left, child->rect.top, child->Width(), child->Height()};
    cairo_region_union_rectangle(solid, &r);
  }
  return solid;
}

cairo_region_t* RegionOfMask(HRGN hrgn) {
  RECT box{};
  std::vector<uint8_t> mask;
  if (!core::GetRegionMask(hrgn, &box, &mask)) return cairo_region_create();
  const int width = box.right - box.left;
  return RegionOfRuns(width, box.bottom - box.top, box.left, box.top,
                      [&](int x, int y) { return mask[static_cast<size_t>(y) * width + x] != 0; });
}

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
  auto* n = static_cast<NativeWindow*>(data);
  core::Window* w = RecordOf(n);
  if (!w || w->pixels.width <= 0 || w->pixels.height <= 0) return FALSE;
  // Layered windows keep their per-pixel alpha, keyed ones lose their key pixels; the
  // others are opaque.
  const bool keyed = w->layered == core::LayeredMode::ColorKey;
  cairo_format_t format = w->layered == core::LayeredMode::Opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
  uint32_t* pixels = keyed ? KeyedPixels(n, *w) : w->pixels.pixels.data();
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels), format, w->pixels.width,
                                          w->pixels.height, w->pixels.width * 4);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, surface, 0, 0);
  cairo_paint(cr);
  cairo_surface_destroy(surface);
  return FALSE;
}

POINT ScreenPoint(core::Window& w, double x, double y) {
  return POINT{w.rect.left + static_cast<LONG>(x), w.rect.top + static_cast<LONG>(y)};
}

void RememberButton(GdkEventButton* e) {
  LastButton& b = LastButtonEvent();
  b.button = e->button;
  b.rootX = static_cast<int>(e->x_root);
  b.rootY = static_cast<int>(e->y_root);
  b.time = e->time;
}

gboolean OnEvent(GtkWidget*, GdkEvent* event, gpointer data) {
  auto* n = static_cast<NativeWindow*>(data);
  core::Window* w = RecordOf(n);
  if (!w) return FALSE;
  HWND h = n->hwnd;
  // An embedded view takes its own input (offered to the message filters on the way);
  // keys go to it while it has the focus.
  bool key = event->type == GDK_KEY_PRESS || event->type == GDK_KEY_RELEASE;
  if (key ? InEmbeddedView(gtk_window_get_focus(GTK_WINDOW(n->window)))
          : InEmbeddedView(gtk_get_event_widget(event)))
    return FALSE;
  switch (event->type) {
    case GDK_MOTION_NOTIFY: {
      auto* e = reinterpret_cast<GdkEventMotion*>(event);
      core::DeliverMouse(h, WM_MOUSEMOVE, ScreenPoint(*w, e->x, e->y), KeysOf(e->state));
      return TRUE;
    }
    case GDK_BUTTON_PRESS:
    case GDK_2BUTTON_PRESS:
    case GDK_BUTTON_RELEASE: {
      auto* e = reinterpret_cast<GdkEventButton*>(event);
      if (event->type != GDK_BUTTON_RELEASE) RememberButton(e);
      if (event->type == GDK_BUTTON_RELEASE && n->systemLoop) n->systemLoop = false;
      UINT msg = ButtonMessage(e->button, event->type);
      if (msg) core::DeliverMouse(h, msg, ScreenPoint(*w, e->x, e->y), KeysOf(e->state));
      return TRUE;
    }
    case GDK_SCROLL: {
      auto* e = reinterpret_cast<GdkEventScroll*>(event);
      int delta = e->direction == GDK_SCROLL_UP ? 120 : e->direction == GDK_SCROLL_DOWN ? -120 : 0;
      if (e->direction == GDK_SCROLL_SMOOTH) delta = static_cast<int>(-e->delta_y * 120);
      if (delta) core::DeliverMouse(h, WM_MOUSEWHEEL, ScreenPoint(*w, e->x, e->y), KeysOf(e->state), delta);
      return TRUE;
    }
    case GDK_ENTER_NOTIFY: {
      // A pointer that arrives over our pixels, from outside or from an embedded view, is a
      // move there, as on Windows.
      auto* e = reinterpret_cast<GdkEventCrossing*>(event);
      core::DeliverMouse(h, WM_MOUSEMOVE, ScreenPoint(*w, e->x, e->y), KeysOf(e->state));
      return FALSE;
    }
    case GDK_LEAVE_NOTIFY: {
      auto* e = reinterpret_cast<GdkEventCrossing*>(event);
      if (e->detail != GDK_NOTIFY_INFERIOR) core::DeliverPointerLeft();
      return FALSE;
    }
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE: {
      auto* e = reinterpret_cast<GdkEventKey*>(event);
      bool down = event->type == GDK_KEY_PRESS;
      int vk = VirtualKeyOf(e->keyval);
      HWND focus = core::WindowManager::Get().focus;
      if (!focus) focus = h;
      bool alt = e->state & GDK_MOD1_MASK;
      UINT msg = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
      if (vk) core::DeliverKey(focus, msg, vk, down ? 1 : static_cast<LPARAM>(0xC0000001));
      gunichar ch = gdk_keyval_to_unicode(e->keyval);
      if (down && ch && !(e->state & GDK_CONTROL_MASK) && !alt)
        core::DeliverChar(focus, static_cast<wchar_t>(ch));
      return TRUE;
    }
    case GDK_FOCUS_CHANGE: {
      auto* e = reinterpret_cast<GdkEventFocus*>(event);
      core::DeliverActivated(h, e->in != 0);
      return FALSE;
    }
    case GDK_CONFIGURE: {
      auto* e = reinterpret_cast<GdkEventConfigure*>(event);
      // Only moves and sizes the user makes through the desktop are reported back; our
      // own requests are already in the record.
      if (n->systemLoop && n->mapped) {
        int x = 0, y = 0;
        gtk_window_get_position(GTK_WINDOW(n->window), &x, &y);
        core::DeliverMoved(h, RECT{x, y, x + e->width, y + e->height});
      }
      return FALSE;
    }
    case GDK_DELETE:
      core::DeliverCloseRequest(h);
      return TRUE;
    case GDK_WINDOW_STATE: {
      auto* e = reinterpret_cast<GdkEventWindowState*>(event);
      if (e->changed_mask & GDK_WINDOW_STATE_ICONIFIED) {
        bool iconic = e->new_window_state & GDK_WINDOW_STATE_ICONIFIED;
        if (iconic != n->iconified) {
          n->iconified = iconic;
          if (iconic != w->iconic) core::DeliverIconic(h, iconic);
        }
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

NativeWindow* NativeOf(core::Window& w) { return static_cast<NativeWindow*>(w.driverData); }

void CreateNative(core::Window& w) {
  auto* n = new NativeWindow();
  n->hwnd = w.handle;
  n->window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* gw = GTK_WINDOW(n->window);
  gtk_window_set_decorated(gw, FALSE);
  gtk_window_set_resizable(gw, TRUE);
  gtk_widget_set_app_paintable(n->window, TRUE);
  GdkScreen* screen = gtk_widget_get_screen(n->window);
  if (GdkVisual* rgba = gdk_screen_get_rgba_visual(screen)) gtk_widget_set_visual(n->window, rgba);
  n->fixed = gtk_fixed_new();
  gtk_widget_set_has_window(n->fixed, FALSE);
  gtk_container_add(GTK_CONTAINER(n->window), n->fixed);
  gtk_widget_show(n->fixed);
  gtk_widget_add_events(n->window, GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                       GDK_SCROLL_MASK | GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK |
                                       GDK_LEAVE_NOTIFY_MASK | GDK_ENTER_NOTIFY_MASK | GDK_FOCUS_CHANGE_MASK |
                                       GDK_STRUCTURE_MASK);
  g_signal_connect(n->fixed, "draw", G_CALLBACK(OnDraw), n);
  g_signal_connect(n->window, "event", G_CALLBACK(OnEvent), n);
  gtk_window_set_title(gw, core::WideToUtf8(w.text).c_str());
  gtk_window_set_default_size(gw, std::max(1, w.Width()), std::max(1, w.Height()));
  gtk_window_move(gw, w.rect.left, w.rect.top);
  // The X window exists from the start, unmapped until the window is in view.
  gtk_widget_realize(n->window);
  if (GdkWindow* gdk = gtk_widget_get_window(n->window))
    gdk_window_move_resize(gdk, w.rect.left, w.rect.top, std::max(1, w.Width()), std::max(1, w.Height()));
  w.driverData = n;
}

void DestroyNative(core::Window& w) {
  NativeWindow* n = NativeOf(w);
  if (!n) return;
  w.driverData = nullptr;
  gtk_widget_destroy(n->window);
  delete n;
}

void SyncNative(core::Window& w) {
  NativeWindow* n = NativeOf(w);
  if (!n) return;
  GtkWindow* gw = GTK_WINDOW(n->window);
  gtk_window_set_keep_above(gw, (w.exStyle & WS_EX_TOPMOST) != 0);
  bool tool = (w.exStyle & WS_EX_TOOLWINDOW) && !(w.exStyle & WS_EX_APPWINDOW);
  gtk_window_set_skip_taskbar_hint(gw, tool);
  core::Window* owner = core::WindowManager::Get().Find(w.parent);
  NativeWindow* ownerNative = owner ? NativeOf(*owner) : nullptr;
  gtk_window_set_transient_for(gw, ownerNative ? GTK_WINDOW(ownerNative->window) : nullptr);

  int width = std::max(1, w.Width()), height = std::max(1, w.Height());
  int curW = 0, curH = 0;
  gtk_window_get_size(gw, &curW, &curH);
  if (curW != width || curH != height) gtk_window_resize(gw, width, height);
  gtk_window_set_default_size(gw, width, height);
  if (n->lastX != w.rect.left || n->lastY != w.rect.top || !n->mapped) {
    gtk_window_move(gw, w.rect.left, w.rect.top);
    n->lastX = w.rect.left;
    n->lastY = w.rect.top;
  }

  bool show = w.visible && OnScreen(w.rect);
  if (!n->mapped) {
    if (GdkWindow* gdk = gtk_widget_get_window(n->window))
      gdk_window_move_resize(gdk, w.rect.left, w.rect.top, width, height);
  }
  if (show && !n->mapped) {
    gtk_widget_show(n->window);
    gtk_window_move(gw, w.rect.left, w.rect.top);
    n->mapped = true;
  } else if (!show && n->mapped) {
    gtk_widget_hide(n->window);
    n->mapped = false;
    n->iconified = false;
  }
  if (n->mapped && w.iconic != n->iconified) {
    n->iconified = w.iconic;
    if (w.iconic)
      gtk_window_iconify(gw);
    else
      gtk_window_deiconify(gw);
  }
}

void SyncShape(core::Window& w) {
  NativeWindow* n = NativeOf(w);
  if (!n) return;
  // The window shape is the region; without a compositor, clear pixels are cut out of
  // it too, so a shadow or a keyed frame is still drawn without a black surround.
  const bool layered = w.layered != core::LayeredMode::Opaque;
  cairo_region_t* solid = layered ? SolidRegion(w) : nullptr;
  cairo_region_t* shape = w.region ? RegionOfMask(w.region) : nullptr;
  if (solid && !gdk_screen_is_composited(gtk_widget_get_screen(n->window))) {
    if (shape)
      cairo_region_intersect(shape, solid);
    else
      shape = cairo_region_copy(solid);
  }
  gtk_widget_shape_combine_region(n->window, shape);
  gtk_widget_input_shape_combine_region(n->window, solid);
  if (shape) cairo_region_destroy(shape);
  if (solid) cairo_region_destroy(solid);
}

}  // namespace glider::gtk
