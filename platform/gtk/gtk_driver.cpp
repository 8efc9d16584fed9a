#include "platform/gtk/gtk_driver.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <cstdlib>

#include "platform/core/text/utf.h"
#include "platform/core/window/driver.h"
#include "platform/core/window/message_queue.h"
#include "platform/core/window/window_manager.h"
#include "platform/gtk/input_map.h"
#include "platform/gtk/native_window.h"
#include "platform/gtk/web_view.h"

namespace glider::gtk {

void CreateNative(core::Window& w);
void DestroyNative(core::Window& w);
void ToggleShowingDesktop();

namespace {

const char* CursorName(int id) {
  switch (id) {
    case 32649:
      return "pointer";
    case 32642:
      return "nwse-resize";
    case 32643:
      return "nesw-resize";
    case 32644:
      return "ew-resize";
    case 32645:
      return "ns-resize";
    case 32646:
      return "move";
    case 32513:
      return "text";
    case 32514:
      return "wait";
    default:
      return "default";
  }
}

GdkWindowEdge EdgeOf(int wmsz) {
  switch (wmsz) {
    case 1:
      return GDK_WINDOW_EDGE_WEST;
    case 2:
      return GDK_WINDOW_EDGE_EAST;
    case 3:
      return GDK_WINDOW_EDGE_NORTH;
    case 4:
      return GDK_WINDOW_EDGE_NORTH_WEST;
    case 5:
      return GDK_WINDOW_EDGE_NORTH_EAST;
    case 7:
      return GDK_WINDOW_EDGE_SOUTH_WEST;
    case 8:
      return GDK_WINDOW_EDGE_SOUTH_EAST;
    default:
      return GDK_WINDOW_EDGE_SOUTH;
  }
}

gboolean OnTimeout(gpointer) { return G_SOURCE_REMOVE; }

class GtkDriver : public core::Driver {
 public:
  void WindowCreated(core::Window& w) override {
    if (!w.IsChild()) CreateNative(w);
  }
  void WindowDestroyed(core::Window& w) override { DestroyNative(w); }
  void WindowMoved(core::Window& w) override { Sync(w); }
  void WindowShown(core::Window& w) override { Sync(w); }
  void WindowStyleChanged(core::Window& w) override { SyncNative(w); }
  void WindowStacked(core::Window& w) override {
    SyncNative(w);
    if (NativeWindow* n = NativeOf(w); n && n->mapped) gdk_window_raise(gtk_widget_get_window(n->window));
  }
  void WindowActivated(core::Window& w) override {
    if (NativeWindow* n = NativeOf(w); n && n->mapped)
      gtk_window_present_with_time(GTK_WINDOW(n->window), gtk_get_current_event_time());
  }
  void WindowTextChanged(core::Window& w) override {
    if (NativeWindow* n = NativeOf(w))
      gtk_window_set_title(GTK_WINDOW(n->window), core::WideToUtf8(w.text).c_str());
  }
  void WindowShapeChanged(core::Window& w) override { SyncShape(w); }
  void Present(core::Window& w, const RECT& r) override {
    if (w.layered == core::LayeredMode::ColorKey) SyncShape(w);
    if (NativeWindow* n = NativeOf(w); n && n->mapped)
      gtk_widget_queue_draw_area(n->fixed, r.left, r.top, r.right - r.left, r.bottom - r.top);
  }

  void SetCursor(int id) override {
    GdkDisplay* display = gdk_display_get_default();
    GdkCursor* cursor = gdk_cursor_new_from_name(display, CursorName(id));
    for (core::Window* w : core::WindowManager::Get().All())
      if (NativeWindow* n = NativeOf(*w); n && n->mapped)
        gdk_window_set_cursor(gtk_widget_get_window(n->window), cursor);
    if (cursor) g_object_unref(cursor);
  }

  std::unique_ptr<core::WebEngine> CreateWebEngine(core::Window& w, core::WebEngineHost& host) override {
    return CreateWebView(w, host);
  }
  std::vector<std::wstring> UrlCacheEntries() override {
    std::vector<std::wstring> entries;
    OnUiThread([&] { entries = WebDataEntries(); });
    return entries;
  }
  bool DeleteUrlCacheEntry(const std::wstring& sourceUrl) override {
    bool deleted = false;
    OnUiThread([&] { deleted = DeleteWebDataEntry(sourceUrl); });
    return deleted;
  }

  RECT WorkArea() override {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor) monitor = gdk_display_get_monitor(display, 0);
    GdkRectangle r{0, 0, 1920, 1040};
    if (monitor) gdk_monitor_get_workarea(monitor, &r);
    return RECT{r.x, r.y, r.x + r.width, r.y + r.height};
  }

  void BeginSystemMove(core::Window& w) override {
    NativeWindow* n = NativeOf(w);
    if (!n || !n->mapped) return;
    n->systemLoop = true;
    LastButton& b = LastButtonEvent();
    gtk_window_begin_move_drag(GTK_WINDOW(n->window), static_cast<gint>(b.button), b.rootX, b.rootY, b.time);
  }

  void BeginSystemSize(core::Window& w, int edge) override {
    NativeWindow* n = NativeOf(w);
    if (!n || !n->mapped) return;
    n->systemLoop = true;
    LastButton& b = LastButtonEvent();
    gtk_window_begin_resize_drag(GTK_WINDOW(n->window), EdgeOf(edge), static_cast<gint>(b.button), b.rootX,
                                 b.rootY, b.time);
  }

  void ToggleDesktop() override { ToggleShowingDesktop(); }

  int MessageBox(const core::MessageBoxRequest& request) override {
    core::Window* owner = core::WindowManager::Get().Find(request.owner);
    NativeWindow* on = owner ? NativeOf(*owner) : nullptr;
    GtkWindow* parent = on && on->mapped ? GTK_WINDOW(on->window) : nullptr;
    bool yesNo = (request.type & 0xF) == MB_YESNO;
    GtkWidget* dialog =
        gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, yesNo ? GTK_MESSAGE_QUESTION : GTK_MESSAGE_INFO,
                               GTK_BUTTONS_NONE, "%s", core::WideToUtf8(request.text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), core::WideToUtf8(request.caption).c_str());
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    if (yesNo) {
      gtk_dialog_add_button(GTK_DIALOG(dialog), "是(_Y)", IDYES);
      gtk_dialog_add_button(GTK_DIALOG(dialog), "否(_N)", IDNO);
      gtk_dialog_set_default_response(GTK_DIALOG(dialog), (request.type & MB_DEFBUTTON2) ? IDNO : IDYES);
    } else {
      gtk_dialog_add_button(GTK_DIALOG(dialog), "确定", IDOK);
      gtk_dialog_set_default_response(GTK_DIALOG(dialog), IDOK);
    }
    int answer = 0;
    g_signal_connect(dialog, "response",
                     G_CALLBACK(+[](GtkDialog*, gint id, gpointer data) { *static_cast<int*>(data) = id; }),
                     &answer);
    gtk_widget_show_all(dialog);
    gtk_window_present(GTK_WINDOW(dialog));
    core::RunModalLoop([&] { return answer != 0; });
    gtk_widget_destroy(dialog);
    if (answer == IDYES || answer == IDNO || answer == IDOK) return answer;
    // Closed without a button: the safe answer.
    return yesNo ? IDNO : IDOK;
  }

  void Wait(core::ThreadQueue& queue, int timeoutMs) override {
    if (queue.thread != uiThread_) {
      core::WaitForWork(queue, timeoutMs);
      return;
    }
    guint timer = timeoutMs >= 0 ? g_timeout_add(static_cast<guint>(timeoutMs), OnTimeout, nullptr) : 0;
    g_main_context_iteration(nullptr, TRUE);
    if (timer) {
      if (GSource* s = g_main_context_find_source_by_id(nullptr, timer)) g_source_destroy(s);
    }
  }

  void Wake(core::ThreadQueue& queue) override {
    if (queue.thread == uiThread_) g_main_context_wakeup(nullptr);
  }

  std::thread::id uiThread_ = std::this_thread::get_id();

 private:
  // Children are embedded views; their native side follows the record too.
  static void Sync(core::Window& w) {
    if (w.IsChild()) {
      PlaceWebView(w);
      // A keyed or clear parent must not cut its embedded view out of its shape.
      if (core::Window* parent = core::WindowManager::Get().Find(w.parent);
          parent && parent->layered != core::LayeredMode::Opaque)
        SyncShape(*parent);
      return;
    }
    SyncNative(w);
    // Embedded views sit at offsets from their top-level window.
    for (core::Window* child : core::WindowManager::Get().ChildrenOf(w.handle)) PlaceWebView(*child);
  }
  void OnUiThread(const std::function<void()>& fn) {
    if (std::this_thread::get_id() == uiThread_) {
      fn();
      return;
    }
    auto ui = core::UiQueue();
    if (ui) core::CallOn(*ui, fn);
  }
};

}  // namespace

void Install() {
  // Absolute window positions need X11; a Wayland session runs us through XWayland.
  gdk_set_allowed_backends("x11");
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fprintf(stderr, "glider: cannot open the X display\n");
    std::exit(1);
  }
  core::InstallDriver(std::make_unique<GtkDriver>());
}

}  // namespace glider::gtk
