// Creation, destruction, placement, visibility and activation of windows.
#include <algorithm>

#include "platform/core/text/utf.h"
#include "platform/core/window/driver.h"
#include "platform/core/window/message_queue.h"
#include "platform/core/window/window_manager.h"
#include "platform/core/window/window_ops.h"

using glider::core::CallOn;
using glider::core::GetDriver;
using glider::core::Window;
using glider::core::WindowManager;

namespace glider::core {

namespace {

Window* Owned(HWND hwnd) { return WindowManager::Get().Find(hwnd); }

// Runs fn on the window's thread; false when the window is gone.
template <typename Fn>
bool OnWindowThread(HWND hwnd, Fn&& fn) {
  Window* w = Owned(hwnd);
  if (!w) return false;
  if (w->thread == std::this_thread::get_id()) {
    fn(*w);
    return true;
  }
  auto queue = w->queue;
  bool ok = false;
  CallOn(*queue, [&] {
    if (Window* again = Owned(hwnd)) {
      fn(*again);
      ok = true;
    }
  });
  return ok;
}

void SendSizeMove(Window& w) {
  HWND h = w.handle;
  SendMessageW(h, WM_SIZE, SIZE_RESTORED,
               MAKELPARAM(static_cast<WORD>(w.Width()), static_cast<WORD>(w.Height())));
  if (Window* again = Owned(h))
    SendMessageW(h, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(again->rect.left), static_cast<WORD>(again->rect.top)));
}

}  // namespace

void Activate(HWND hwnd, bool askDriver) {
  WindowManager& m = WindowManager::Get();
  HWND old = m.active;
  if (old == hwnd) return;
  m.active = hwnd;
  if (old && Owned(old)) SendMessageW(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
  if (hwnd && Owned(hwnd)) {
    SendMessageW(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    if (Window* w = Owned(hwnd)) {
      if (askDriver) GetDriver().WindowActivated(*w);
      // The focus goes to the activated window unless it already lies inside it.
      HWND f = m.focus;
      if (!f || (f != hwnd && !IsChild(hwnd, f))) SetFocus(hwnd);
    }
  }
}

// After the active window disappears: its owner if it can take activation, else the
// frontmost visible window of the same thread.
void ActivateNext(Window& gone) {
  WindowManager& m = WindowManager::Get();
  if (m.active != gone.handle) return;
  Window* owner = gone.IsChild() ? nullptr : Owned(gone.parent);
  if (owner && EffectivelyVisible(*owner) && !owner->destroying) {
    Activate(owner->handle, true);
    return;
  }
  for (HWND h : std::vector<HWND>(m.zorder)) {
    Window* w = Owned(h);
    if (w && w != &gone && !w->destroying && EffectivelyVisible(*w) && w->thread == gone.thread &&
        !(w->exStyle & WS_EX_NOACTIVATE)) {
      Activate(h, true);
      return;
    }
  }
  Activate(nullptr, false);
}

void SetVisible(Window& w, bool visible) {
  if (w.visible == visible) return;
  HWND h = w.handle;
  w.visible = visible;
  SendMessageW(h, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
  if (Window* again = Owned(h)) {
    if (visible) {
      WindowManager::Get().Raise(*again);
      if (!again->IsChild()) InvalidateRect(h, nullptr, FALSE);
    }
    GetDriver().WindowShown(*again);
    if (!visible) ActivateNext(*again);
  }
}

void SetIconic(Window& w, bool iconic) {
  if (w.iconic == iconic) return;
  HWND h = w.handle;
  w.iconic = iconic;
  // Owned windows are hidden with a minimised owner and come back with it.
  for (Window* owned : WindowManager::Get().OwnedBy(h)) {
    if (iconic && owned->visible) {
      owned->hiddenWithOwner = true;
      SetVisible(*owned, false);
    } else if (!iconic && owned->hiddenWithOwner) {
      owned->hiddenWithOwner = false;
      SetVisible(*owned, true);
    }
  }
  if (Window* again = Owned(h)) {
    GetDriver().WindowShown(*again);
    if (iconic) {
      SendMessageW(h, WM_SIZE, SIZE_MINIMIZED, 0);
      if (Window* w2 = Owned(h)) ActivateNext(*w2);
    } else {
      SendMessageW(h, WM_SIZE, SIZE_RESTORED,
                   MAKELPARAM(static_cast<WORD>(again->Width()), static_cast<WORD>(again->Height())));
    }
  }
}

void DestroyTree(Window& w) {
  HWND h = w.handle;
  w.destroying = true;
  WindowManager& m = WindowManager::Get();
  // Owned windows go first, as on Windows.
  for (Window* owned : m.OwnedBy(h)) DestroyWindow(owned->handle);
  if (Window* again = Owned(h)) {
    if (again->visible && !again->IsChild()) {
      again->visible = false;
      GetDriver().WindowShown(*again);
    }
    ActivateNext(*again);
    if (m.focus == h) m.focus = nullptr;
  }
  SendMessageW(h, WM_DESTROY, 0, 0);
  for (Window* child : m.ChildrenOf(h)) DestroyTree(*child);
  SendMessageW(h, WM_NCDESTROY, 0, 0);
  if (Window* again = Owned(h)) {
    DropTimersOf(h);
    GetDriver().WindowDestroyed(*again);
    ReleaseWindowResources(*again);
    m.Remove(h);
  }
}

}  // namespace glider::core

using namespace glider::core;

ATOM RegisterClassExW(const WNDCLASSEXW* wc) {
  if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName) || !wc->lpfnWndProc) return 0;
  auto cls = std::make_shared<WindowClass>();
  cls->name = wc->lpszClassName;
  cls->style = wc->style;
  cls->proc = wc->lpfnWndProc;
  cls->instance = wc->hInstance;
  cls->icon = wc->hIcon;
  cls->iconSmall = wc->hIconSm;
  cls->cursor = wc->hCursor;
  cls->background = wc->hbrBackground;
  return WindowManager::Get().AddClass(std::move(cls));
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
  return className && !IS_INTRESOURCE(className) && WindowManager::Get().RemoveClass(className) ? TRUE
                                                                                                : FALSE;
}

BOOL GetClassInfoExW(HINSTANCE, LPCWSTR className, WNDCLASSEXW* wc) {
  if (!className || IS_INTRESOURCE(className) || !wc) return FALSE;
  auto cls = WindowManager::Get().FindClass(className);
  if (!cls) return FALSE;
  wc->style = cls->style;
  wc->lpfnWndProc = cls->proc;
  wc->cbClsExtra = 0;
  wc->cbWndExtra = 0;
  wc->hInstance = cls->instance;
  wc->hIcon = cls->icon;
  wc->hCursor = cls->cursor;
  wc->hbrBackground = cls->background;
  wc->lpszMenuName = nullptr;
  wc->lpszClassName = className;
  wc->hIconSm = cls->iconSmall;
  return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  WindowManager& m = WindowManager::Get();
  if (!className || IS_INTRESOURCE(className)) return nullptr;
  auto cls = m.FindClass(className);
  if (!cls) return nullptr;
  if ((style & WS_CHILD) && !m.Find(parent)) return nullptr;
  if (parent && !m.Find(parent)) return nullptr;

  auto queue = CurrentQueue();
  if (!UiQueue()) SetUiQueue(queue);

  auto rec = std::make_unique<Window>();
  rec->cls = cls;
  rec->proc = cls->proc;
  rec->style = style & ~WS_VISIBLE;
  rec->exStyle = exStyle;
  rec->parent = parent;
  rec->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  rec->text = windowName ? windowName : L"";
  rec->thread = std::this_thread::get_id();
  rec->queue = queue;
  rec->instance = instance;
  rec->pixels.Resize(width, height);
  Window* w = m.Add(std::move(rec));
  HWND h = w->handle;

  GetDriver().WindowCreated(*w);

  CREATESTRUCTW cs{param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
                   windowName, className, exStyle};
  if (!SendMessageW(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) && Owned(h)) {
    DestroyTree(*Owned(h));
    return nullptr;
  }
  if (!Owned(h)) return nullptr;
  if (SendMessageW(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    if (Window* again = Owned(h)) DestroyTree(*again);
    return nullptr;
  }
  Window* again = Owned(h);
  if (!again) return nullptr;
  SendSizeMove(*again);
  if ((style & WS_VISIBLE) && Owned(h)) ShowWindow(h, SW_SHOW);
  return Owned(h) ? h : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  return OnWindowThread(hwnd,
                        [](Window& w) {
                          if (!w.destroying) DestroyTree(w);
                        })
             ? TRUE
             : FALSE;
}

BOOL IsWindow(HWND hwnd) { return WindowManager::Get().Find(hwnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hwnd) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard<std::recursive_mutex> lock(m.mutex);
  Window* w = m.Find(hwnd);
  if (!w) return FALSE;
  // Windows reports a minimised window as visible.
  for (Window* cur = w; cur; cur = cur->IsChild() ? m.Find(cur->parent) : nullptr)
    if (!cur->visible) return FALSE;
  return TRUE;
}

BOOL IsIconic(HWND hwnd) {
  Window* w = Owned(hwnd);
  return w && w->iconic ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  WindowManager& m = WindowManager::Get();
  Window* w = m.Find(hwnd);
  while (w && w->IsChild()) {
    if (w->parent == parent) return TRUE;
    w = m.Find(w->parent);
  }
  return FALSE;
}

HWND GetParent(HWND hwnd) {
  Window* w = Owned(hwnd);
  return w ? w->parent : nullptr;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Window* w = Owned(hwnd);
  if (!w || cmd != GW_OWNER || w->IsChild()) return nullptr;
  return w->parent;
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  BOOL wasVisible = FALSE;
  OnWindowThread(hwnd, [&](Window& w) {
    wasVisible = w.visible ? TRUE : FALSE;
    HWND h = w.handle;
    switch (cmd) {
      case SW_HIDE:
        SetVisible(w, false);
        break;
      case SW_MINIMIZE:
      case SW_SHOWMINIMIZED:
      case SW_SHOWMINNOACTIVE:
        if (!w.visible) SetVisible(w, true);
        if (Window* again = Owned(h)) SetIconic(*again, true);
        break;
      case SW_SHOWNA:
      case SW_SHOWNOACTIVATE:
        SetVisible(w, true);
        if (Window* again = Owned(h); again && cmd == SW_SHOWNOACTIVATE) SetIconic(*again, false);
        break;
      default:  // SW_SHOWNORMAL, SW_SHOW, SW_RESTORE, SW_MAXIMIZE
        SetVisible(w, true);
        if (Window* again = Owned(h); again && cmd != SW_SHOW) SetIconic(*again, false);
        if (Window* again = Owned(h);
            again && !again->IsChild() && !again->iconic && !(again->exStyle & WS_EX_NOACTIVATE))
          Activate(h, true);
        break;
    }
  });
  return wasVisible;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return OnWindowThread(hwnd,
                        [&](Window& w) {
                          HWND h = w.handle;
                          WindowManager& m = WindowManager::Get();
                          if (!(flags & SWP_NOZORDER) && !w.IsChild()) {
                            if (insertAfter == HWND_TOPMOST) {
                              w.exStyle |= WS_EX_TOPMOST;
                              m.Raise(w);
                            } else if (insertAfter == HWND_NOTOPMOST) {
                              w.exStyle &= ~WS_EX_TOPMOST;
                              m.Raise(w);
                            } else if (insertAfter == HWND_TOP) {
                              m.Raise(w);
                            } else if (insertAfter == HWND_BOTTOM) {
                              m.Lower(w);
                            } else {
                              m.PlaceAfter(w, insertAfter);
                            }
                            GetDriver().WindowStacked(w);
                          }
                          RECT old = w.rect;
                          RECT r = old;
                          if (!(flags & SWP_NOMOVE)) {
                            r.right = x + (old.right - old.left);
                            r.bottom = y + (old.bottom - old.top);
                            r.left = x;
                            r.top = y;
                          }
                          if (!(flags & SWP_NOSIZE)) {
                            r.right = r.left + std::max(cx, 0);
                            r.bottom = r.top + std::max(cy, 0);
                          }
                          bool moved = r.left != old.left || r.top != old.top;
                          bool sized = (r.right - r.left) != (old.right - old.left) ||
                                       (r.bottom - r.top) != (old.bottom - old.top);
                          if (moved || sized) {
                            w.rect = r;
                            if (sized) w.pixels.Resize(r.right - r.left, r.bottom - r.top);
                            GetDriver().WindowMoved(w);
                            if (sized) {
                              InvalidateRect(h, nullptr, FALSE);
                              SendMessageW(h, WM_SIZE, SIZE_RESTORED,
                                           MAKELPARAM(static_cast<WORD>(r.right - r.left),
                                                      static_cast<WORD>(r.bottom - r.top)));
                            }
                            if (moved && Owned(h))
                              SendMessageW(h, WM_MOVE, 0,
                                           MAKELPARAM(static_cast<WORD>(r.left), static_cast<WORD>(r.top)));
                          }
                          if (Window* again = Owned(h)) {
                            if (flags & SWP_SHOWWINDOW)
                              SetVisible(*again, true);
                            else if (flags & SWP_HIDEWINDOW)
                              SetVisible(*again, false);
                          }
                        })
             ? TRUE
             : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard<std::recursive_mutex> lock(m.mutex);
  Window* w = m.Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ScreenRect(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard<std::recursive_mutex> lock(m.mutex);
  Window* w = m.Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, w->Width(), w->Height()};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* pt) {
  RECT r;
  if (!pt || !GetWindowRect(hwnd, &r)) return FALSE;
  pt->x += r.left;
  pt->y += r.top;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* pt) {
  RECT r;
  if (!pt || !GetWindowRect(hwnd, &r)) return FALSE;
  pt->x -= r.left;
  pt->y -= r.top;
  return TRUE;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  Window* w = Owned(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG>(w->style | (w->visible ? WS_VISIBLE : 0) | (w->iconic ? WS_MINIMIZE : 0));
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->exStyle);
    case GWLP_USERDATA:
      return w->userData;
    case GWLP_WNDPROC:
      return reinterpret_cast<LONG_PTR>(w->proc);
    default:
      return 0;
  }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  LONG_PTR old = 0;
  OnWindowThread(hwnd, [&](Window& w) {
    old = GetWindowLongPtrW(hwnd, index);
    switch (index) {
      case GWL_STYLE: {
        DWORD s = static_cast<DWORD>(value);
        // Visibility changes through ShowWindow only.
        w.style = (s & ~(WS_VISIBLE | WS_MINIMIZE)) | (w.style & WS_CHILD);
        GetDriver().WindowStyleChanged(w);
        break;
      }
      case GWL_EXSTYLE:
        w.exStyle = static_cast<DWORD>(value);
        GetDriver().WindowStyleChanged(w);
        break;
      case GWLP_USERDATA:
        w.userData = value;
        break;
      case GWLP_WNDPROC:
        w.proc = reinterpret_cast<WNDPROC>(value);
        break;
      default:
        break;
    }
  });
  return old;
}

LONG GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }
LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  LONG_PTR v =
      index == GWL_STYLE || index == GWL_EXSTYLE ? static_cast<LONG_PTR>(static_cast<DWORD>(value)) : value;
  return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, v));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  return OnWindowThread(hwnd,
                        [&](Window& w) {
                          w.text = text ? text : L"";
                          GetDriver().WindowTextChanged(w);
                        })
             ? TRUE
             : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
  Window* w = Owned(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  return static_cast<int>(CopyToBuffer(w->text, buffer, static_cast<size_t>(size)));
}

int GetClassNameW(HWND hwnd, LPWSTR buffer, int size) {
  Window* w = Owned(hwnd);
  if (!w || !buffer || size <= 0) return 0;
  return static_cast<int>(CopyToBuffer(w->cls->name, buffer, static_cast<size_t>(size)));
}

HWND GetForegroundWindow() { return WindowManager::Get().active; }
HWND GetActiveWindow() { return WindowManager::Get().active; }

BOOL SetForegroundWindow(HWND hwnd) {
  return OnWindowThread(hwnd,
                        [&](Window& w) {
                          HWND top = w.handle;
                          WindowManager& m = WindowManager::Get();
                          while (Window* cur = m.Find(top)) {
                            if (!cur->IsChild()) break;
                            top = cur->parent;
                          }
                          if (Window* t = m.Find(top)) m.Raise(*t);
                          Activate(top, true);
                        })
             ? TRUE
             : FALSE;
}

HWND SetActiveWindow(HWND hwnd) {
  HWND old = WindowManager::Get().active;
  SetForegroundWindow(hwnd);
  return old;
}

HWND GetFocus() { return WindowManager::Get().focus; }

HWND SetFocus(HWND hwnd) {
  WindowManager& m = WindowManager::Get();
  HWND old = m.focus;
  if (old == hwnd) return old;
  if (hwnd && !m.Find(hwnd)) return nullptr;
  m.focus = hwnd;
  if (old && m.Find(old)) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && m.Find(hwnd)) {
    SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    if (Window* w = m.Find(hwnd)) GetDriver().WindowFocused(*w);
  }
  return old;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  BOOL wasDisabled = FALSE;
  OnWindowThread(hwnd, [&](Window& w) {
    wasDisabled = w.enabled ? FALSE : TRUE;
    w.enabled = enable != FALSE;
  });
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Owned(hwnd);
  return w && w->enabled ? TRUE : FALSE;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  return OnWindowThread(hwnd,
                        [&](Window& w) {
                          ReplaceRegion(w, region);
                          GetDriver().WindowShapeChanged(w);
                          if (redraw) InvalidateRect(hwnd, nullptr, FALSE);
                        })
             ? 1
             : 0;
}
