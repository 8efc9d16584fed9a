#include "platform/gtk/web_view.h"

#include <webkit2/webkit2.h>

#include <cmath>
#include <cstdio>
#include <map>

#include "platform/core/atl/message_loop.h"
#include "platform/core/text/utf.h"
#include "platform/core/window/window_manager.h"
#include "platform/exdisp.h"
#include "platform/gtk/input_map.h"
#include "platform/gtk/native_window.h"
#include "platform/gtk/web_data.h"
#include "platform/gtk/web_script.h"

namespace glider::gtk {

namespace {

using core::Utf8ToWide;
using core::WideToUtf8;

constexpr int kPageCallDeadlineMs = 5000;

// Hides the scroll bars of every frame; the page can still be scrolled.
constexpr const char* kNoScrollbars =
    "::-webkit-scrollbar { display: none !important; width: 0; height: 0; }";

// window.external as a non-writable property; every member is a method whose call reaches
// the client as a script message.
constexpr const char* kExternalScript = R"JS((function() {
  var post = function(name, args) {
    window.webkit.messageHandlers.gliderExternal.postMessage({name: name, args: Array.prototype.slice.call(args)});
  };
  var external = new Proxy({}, {get: function(target, name) {
    if (typeof name !== 'string') return undefined;
    return function() { post(name, arguments); };
  }});
  try {
    Object.defineProperty(window, 'external', {value: external, writable: false, configurable: false});
  } catch (e) {}
})();)JS";

class WebView;
std::map<HWND, WebView*>& Views() {
  static std::map<HWND, WebView*> views;
  return views;
}

std::wstring WideOf(const char* text) { return text ? Utf8ToWide(text) : std::wstring(); }

class WebView final : public core::WebEngine {
 public:
  WebView(core::Window& w, core::WebEngineHost& host) : hwnd_(w.handle), host_(host) {
    content_ = webkit_user_content_manager_new();
    view_ = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", SharedContext(),
                                    "user-content-manager", content_, nullptr));
    g_object_ref_sink(view_);
    WebKitSettings* settings = webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view_));
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_javascript_can_open_windows_automatically(settings, TRUE);
    webkit_settings_set_enable_developer_extras(settings, FALSE);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(OnDecidePolicy), this);
    g_signal_connect(view_, "create", G_CALLBACK(OnCreate), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(OnLoadChanged), this);
    g_signal_connect(view_, "load-failed", G_CALLBACK(OnLoadFailed), this);
    g_signal_connect(view_, "notify::title", G_CALLBACK(OnTitle), this);
    g_signal_connect(view_, "context-menu", G_CALLBACK(OnContextMenu), this);
    g_signal_connect(view_, "event", G_CALLBACK(OnInput), this);
    // The page waits while its dialog is handled: no calls into it from in there. The
    // default handler ends the emission, so the flag goes when the loop is next idle.
    g_signal_connect(view_, "script-dialog", G_CALLBACK(OnScriptDialog), this);
    g_signal_connect(content_, "script-message-received::gliderExternal", G_CALLBACK(OnScriptMessage), this);
    webkit_user_content_manager_register_script_message_handler(content_, "gliderExternal");
    Views()[hwnd_] = this;
    PlaceWebView(w);
  }

  ~WebView() override {
    Views().erase(hwnd_);
    g_signal_handlers_disconnect_by_data(view_, this);
    g_signal_handlers_disconnect_by_data(content_, this);
    webkit_user_content_manager_unregister_script_message_handler(content_, "gliderExternal");
    gtk_widget_destroy(view_);
    g_object_unref(view_);
    g_object_unref(content_);
  }

  // core::WebEngine
  void Navigate(const std::wstring& url, const std::string& postBody, const std::wstring&) override {
    if (postBody.empty()) {
      webkit_web_view_load_uri(Web(), WideToUtf8(url).c_str());
      return;
    }
    // WebKit loads no request with a body: a page that posts the form does.
    std::string html = PostingPage(WideToUtf8(url), postBody);
    webkit_web_view_load_html(Web(), html.c_str(), "about:blank");
  }
  void Reload() override { webkit_web_view_reload(Web()); }
  void Stop() override { webkit_web_view_stop_loading(Web()); }
  std::wstring Url() override { return WideOf(webkit_web_view_get_uri(Web())); }
  bool HasDocument() override { return hasDocument_; }
  bool Loading() override { return loading_; }

  bool HasFunction(const std::wstring& name) override {
    if (!hasDocument_) return false;
    std::string script = "typeof window[" + JsString(name) + "] === 'function'";
    bool isFunction = false;
    return Evaluate(script, &isFunction) && isFunction;
  }
  bool CallFunction(const std::wstring& name, const std::vector<core::ScriptValue>& args) override {
    if (!hasDocument_ || loading_) return false;
    std::string script = "window[" + JsString(name) + "](" + JsArguments(args) + "); true";
    return Evaluate(script, nullptr);
  }
  void Focus() override { gtk_widget_grab_focus(view_); }
  void SetScrollbars(core::FrameId, bool show) override {
    if (show == !noScrollbars_) return;
    noScrollbars_ = !show;
    webkit_user_content_manager_remove_all_style_sheets(content_);
    if (!noScrollbars_) return;
    WebKitUserStyleSheet* sheet = webkit_user_style_sheet_new(
        kNoScrollbars, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES, WEBKIT_USER_STYLE_LEVEL_USER, nullptr, nullptr);
    webkit_user_content_manager_add_style_sheet(content_, sheet);
    webkit_user_style_sheet_unref(sheet);
  }
  void SetDropTarget(bool accept) override {
    if (!accept) gtk_drag_dest_unset(view_);
  }

  void Place(core::Window& w) {
    core::WindowManager& m = core::WindowManager::Get();
    core::Window* top = &w;
    while (top && top->IsChild()) top = m.Find(top->parent);
    NativeWindow* n = top ? NativeOf(*top) : nullptr;
    if (!n) return;
    if (gtk_widget_get_parent(view_) != n->fixed) {
      if (GtkWidget* old = gtk_widget_get_parent(view_)) gtk_container_remove(GTK_CONTAINER(old), view_);
      gtk_fixed_put(GTK_FIXED(n->fixed), view_, 0, 0);
    }
    RECT child = core::ScreenRect(w);
    int x = child.left - top->rect.left, y = child.top - top->rect.top;
    gtk_fixed_move(GTK_FIXED(n->fixed), view_, x, y);
    gtk_widget_set_size_request(view_, std::max(1, w.Width()), std::max(1, w.Height()));
    if (core::EffectivelyVisible(w) && w.Width() > 0 && w.Height() > 0)
      gtk_widget_show(view_);
    else
      gtk_widget_hide(view_);
  }

  GtkWidget* Widget() const { return view_; }

 private:
  WebKitWebView* Web() const { return WEBKIT_WEB_VIEW(view_); }

  // Evaluates script in the page and waits for its answer (or the deadline) while the
  // main context runs. The page can be blocked inside `create`: no call then.
  bool Evaluate(const std::string& script, bool* boolResult) {
    if (blocked_) return false;
    struct Pending {
      bool done = false;
      bool ok = false;
      bool value = false;
      bool abandoned = false;
    };
    auto* pending = new Pending();
    GCancellable* cancellable = g_cancellable_new();
    webkit_web_view_evaluate_javascript(
        Web(), script.c_str(), -1, nullptr, nullptr, cancellable,
        +[](GObject* source, GAsyncResult* result, gpointer data) {
          auto* p = static_cast<Pending*>(data);
          GError* error = nullptr;
          JSCValue* value =
              webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
          if (value) {
            p->ok = true;
            p->value = jsc_value_is_boolean(value) && jsc_value_to_boolean(value);
            g_object_unref(value);
          }
          if (error) g_error_free(error);
          p->done = true;
          if (p->abandoned) delete p;
        },
        pending);
    bool timedOut = false;
    guint timer = g_timeout_add(
        kPageCallDeadlineMs,
        +[](gpointer flag) -> gboolean {
          *static_cast<bool*>(flag) = true;
          return G_SOURCE_REMOVE;
        },
        &timedOut);
    while (!pending->done && !timedOut) g_main_context_iteration(nullptr, TRUE);
    if (!timedOut) g_source_remove(timer);
    bool ok = pending->done && pending->ok;
    if (boolResult) *boolResult = pending->value;
    if (pending->done) {
      delete pending;
    } else {
      pending->abandoned = true;
      g_cancellable_cancel(cancellable);
    }
    g_object_unref(cancellable);
    return ok;
  }

  static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer data) {
    auto* self = static_cast<WebView*>(data);
    switch (type) {
      case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION: {
        auto* nav = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
        WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(nav);
        std::wstring url = WideOf(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
        // Sub-frames are not told apart here: every navigation counts as the top frame's.
        if (!self->host_.BeforeNavigate(core::kTopFrame, url, nullptr)) {
          webkit_policy_decision_ignore(decision);
          return TRUE;
        }
        self->SetExternal(self->host_.WantsExternal());
        webkit_policy_decision_use(decision);
        return TRUE;
      }
      case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION: {
        auto* nav = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
        WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(nav);
        std::wstring url = WideOf(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
        webkit_policy_decision_ignore(decision);
        self->host_.NewWindow(url, self->Url());
        return TRUE;
      }
      case WEBKIT_POLICY_DECISION_TYPE_RESPONSE: {
        auto* response = WEBKIT_RESPONSE_POLICY_DECISION(decision);
        // Nothing is downloaded: a response the view cannot show ends the navigation.
        if (!webkit_response_policy_decision_is_mime_type_supported(response))
          webkit_policy_decision_ignore(decision);
        else
          webkit_policy_decision_use(decision);
        return TRUE;
      }
      default:
        return FALSE;
    }
  }

  static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer data) {
    auto* self = static_cast<WebView*>(data);
    std::wstring url = WideOf(webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
    self->blocked_ = true;
    self->host_.NewWindow(url, self->Url());
    self->blocked_ = false;
    return nullptr;  // no window for the page
  }

  static void OnLoadChanged(WebKitWebView* web, WebKitLoadEvent event, gpointer data) {
    auto* self = static_cast<WebView*>(data);
    std::wstring url = WideOf(webkit_web_view_get_uri(web));
    switch (event) {
      case WEBKIT_LOAD_STARTED:
        self->loading_ = true;
        self->failed_ = false;
        break;
      case WEBKIT_LOAD_COMMITTED: {
        self->hasDocument_ = true;
        guint status = 0;
        if (WebKitWebResource* main = webkit_web_view_get_main_resource(web))
          if (WebKitURIResponse* response = webkit_web_resource_get_response(main))
            status = webkit_uri_response_get_status_code(response);
        // WebKit loads an error status like any page; the control reports it as an error.
        if (status >= 400 && self->host_.NavigateError(core::kTopFrame, url, static_cast<HRESULT>(status))) {
          self->failed_ = true;
          webkit_web_view_stop_loading(web);
          return;
        }
        self->host_.NavigateComplete(core::kTopFrame, url);
        break;
      }
      case WEBKIT_LOAD_FINISHED:
        self->loading_ = false;
        if (!self->failed_) self->host_.DocumentComplete(core::kTopFrame, url);
        self->failed_ = false;
        break;
      default:
        break;
    }
  }

  static gboolean OnLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar* uri, GError* error, gpointer data) {
    auto* self = static_cast<WebView*>(data);
    if (self->failed_) return TRUE;  // already reported (an error status we stopped)
    self->failed_ = true;
    self->loading_ = false;
    bool aborted = g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
                   g_error_matches(error, WEBKIT_POLICY_ERROR,
                                   WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
    HRESULT status = aborted ? E_ABORT : INET_E_CANNOT_CONNECT;
    if (!aborted && error && error->domain == G_RESOLVER_ERROR) status = INET_E_RESOURCE_NOT_FOUND;
    bool cancel = self->host_.NavigateError(core::kTopFrame, WideOf(uri), status);
    return cancel || aborted ? TRUE : FALSE;
  }

  static void OnTitle(WebKitWebView* web, GParamSpec*, gpointer data) {
    static_cast<WebView*>(data)->host_.TitleChange(WideOf(webkit_web_view_get_title(web)));
  }

  static gboolean OnContextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent* event, WebKitHitTestResult*,
                                gpointer data) {
    POINT pt{0, 0};
    gdouble x = 0, y = 0;
    if (event && gdk_event_get_root_coords(event, &x, &y))
      pt = POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
    return static_cast<WebView*>(data)->host_.ShowContextMenu(pt) ? FALSE : TRUE;
  }

  static gboolean OnScriptDialog(WebKitWebView*, WebKitScriptDialog*, gpointer data) {
    auto* self = static_cast<WebView*>(data);
    self->blocked_ = true;
    g_idle_add(
        +[](gpointer hwnd) -> gboolean {
          auto it = Views().find(static_cast<HWND>(hwnd));
          if (it != Views().end()) it->second->blocked_ = false;
          return G_SOURCE_REMOVE;
        },
        self->hwnd_);
    return FALSE;
  }

  static void OnScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
    auto* self = static_cast<WebView*>(data);
    if (!self->external_) return;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    JSCValue* message = webkit_javascript_result_get_js_value(result);
    G_GNUC_END_IGNORE_DEPRECATIONS
    std::wstring method;
    std::vector<core::ScriptValue> args;
    if (!ReadExternalCall(message, method, args)) return;
    self->host_.CallExternal(method, args);
  }

  // Input for the page goes past the thread's message filters first.
  static gboolean OnInput(GtkWidget* widget, GdkEvent* event, gpointer data) {
    auto* self = static_cast<WebView*>(data);
    MSG msg{self->hwnd_, 0, 0, 0, static_cast<DWORD>(gdk_event_get_time(event)), {}};
    gdouble rx = 0, ry = 0;
    if (gdk_event_get_root_coords(event, &rx, &ry))
      msg.pt = POINT{static_cast<LONG>(rx), static_cast<LONG>(ry)};
    gdouble x = 0, y = 0;
    gdk_event_get_coords(event, &x, &y);
    LPARAM at =
        MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
    switch (event->type) {
      case GDK_MOTION_NOTIFY:
        msg.message = WM_MOUSEMOVE;
        msg.wParam = KeysOf(reinterpret_cast<GdkEventMotion*>(event)->state);
        msg.lParam = at;
        break;
      case GDK_BUTTON_PRESS:
      case GDK_2BUTTON_PRESS:
      case GDK_BUTTON_RELEASE: {
        auto* e = reinterpret_cast<GdkEventButton*>(event);
        msg.message = ButtonMessage(e->button, event->type);
        msg.wParam = KeysOf(e->state);
        msg.lParam = at;
        break;
      }
      case GDK_SCROLL: {
        auto* e = reinterpret_cast<GdkEventScroll*>(event);
        int delta = e->direction == GDK_SCROLL_UP ? 120 : e->direction == GDK_SCROLL_DOWN ? -120 : 0;
        if (e->direction == GDK_SCROLL_SMOOTH) delta = static_cast<int>(-e->delta_y * 120);
        msg.message = WM_MOUSEWHEEL;
        msg.wParam =
            MAKEWPARAM(static_cast<WORD>(KeysOf(e->state)), static_cast<WORD>(static_cast<SHORT>(delta)));
        msg.lParam = MAKELPARAM(static_cast<WORD>(msg.pt.x), static_cast<WORD>(msg.pt.y));
        break;
      }
      case GDK_KEY_PRESS:
      case GDK_KEY_RELEASE: {
        auto* e = reinterpret_cast<GdkEventKey*>(event);
        bool down = event->type == GDK_KEY_PRESS;
        bool alt = e->state & GDK_MOD1_MASK;
        msg.message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
        msg.wParam = static_cast<WPARAM>(VirtualKeyOf(e->keyval));
        msg.lParam = down ? 1 : static_cast<LPARAM>(0xC0000001);
        if (!msg.wParam) return FALSE;
        // WebKit hands a key the page left alone back to GTK, which brings it here again.
        KeySeen seen{e->time, e->keyval, event->type};
        if (seen == self->lastKey_) return FALSE;
        self->lastKey_ = seen;
        break;
      }
      default:
        return FALSE;
    }
    if (!msg.message) return FALSE;
    (void)widget;
    return core::OfferToMessageFilters(&msg) ? TRUE : FALSE;
  }

  void SetExternal(bool enabled) {
    if (enabled == external_) return;
    external_ = enabled;
    webkit_user_content_manager_remove_all_scripts(content_);
    if (!enabled) return;
    WebKitUserScript* script =
        webkit_user_script_new(kExternalScript, WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                               WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr);
    webkit_user_content_manager_add_script(content_, script);
    webkit_user_script_unref(script);
  }

  struct KeySeen {
    guint32 time = 0;
    guint keyval = 0;
    GdkEventType type = GDK_NOTHING;
    bool operator==(const KeySeen&) const = default;
  };

  HWND hwnd_;
  core::WebEngineHost& host_;
  KeySeen lastKey_;
  WebKitUserContentManager* content_ = nullptr;
  GtkWidget* view_ = nullptr;
  bool hasDocument_ = false;
  bool loading_ = false;
  bool failed_ = false;
  bool external_ = false;
  bool noScrollbars_ = false;
  bool blocked_ = false;
};

}  // namespace

std::unique_ptr<core::WebEngine> CreateWebView(core::Window& w, core::WebEngineHost& host) {
  return std::make_unique<WebView>(w, host);
}

void PlaceWebView(core::Window& w) {
  auto it = Views().find(w.handle);
  if (it != Views().end()) it->second->Place(w);
}

bool InEmbeddedView(GtkWidget* widget) {
  for (GtkWidget* cur = widget; cur; cur = gtk_widget_get_parent(cur))
    if (WEBKIT_IS_WEB_VIEW(cur)) return true;
  return false;
}

}  // namespace glider::gtk
