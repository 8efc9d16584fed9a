#include "platform/core/window/input.h"

#include <map>

#include "platform/core/window/driver.h"
#include "platform/core/window/message_queue.h"
#include "platform/core/window/window_manager.h"
#include "platform/core/window/window_ops.h"

using namespace glider::core;

namespace {

constexpr UINT_PTR kHoverTimer = 0xFFFF0001;
constexpr DWORD kDefaultHoverMs = 400;
constexpr int kHoverSlop = 2;  // half of the default hover rectangle

struct Tracking {
  DWORD flags = 0;
  DWORD hoverMs = kDefaultHoverMs;
  POINT anchor{};
};

// Touched on the user-interface thread only.
std::map<HWND, Tracking>& TrackingTable() {
  static std::map<HWND, Tracking> table;
  return table;
}

LPARAM ClientLParam(HWND hwnd, POINT screen) {
  POINT p = screen;
  ScreenToClient(hwnd, &p);
  return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

void ArmHover(HWND hwnd, Tracking& t) {
  t.anchor = WindowManager::Get().cursor;
  StartInternalTimer(hwnd, kHoverTimer, t.hoverMs, [hwnd] {
    auto& table = TrackingTable();
    auto it = table.find(hwnd);
    if (it == table.end() || !(it->second.flags & TME_HOVER) || !IsWindow(hwnd)) return;
    it->second.flags &= ~TME_HOVER;
    PostMessageW(hwnd, WM_MOUSEHOVER, 0, ClientLParam(hwnd, WindowManager::Get().cursor));
  });
}

void Leave(HWND hwnd) {
  auto& table = TrackingTable();
  auto it = table.find(hwnd);
  if (it == table.end()) return;
  bool wanted = it->second.flags & TME_LEAVE;
  table.erase(it);
  StopInternalTimer(hwnd, kHoverTimer);
  if (wanted && IsWindow(hwnd)) PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
}

void PointerOver(HWND target) {
  WindowManager& m = WindowManager::Get();
  if (m.pointerWindow != target) {
    HWND old = m.pointerWindow;
    m.pointerWindow = target;
    if (old) Leave(old);
  }
  auto& table = TrackingTable();
  auto it = table.find(target);
  if (it != table.end() && (it->second.flags & TME_HOVER)) {
    POINT c = m.cursor;
    if (std::abs(c.x - it->second.anchor.x) > kHoverSlop || std::abs(c.y - it->second.anchor.y) > kHoverSlop)
      ArmHover(target, it->second);
  }
}

struct SystemCursor {
  int id;
};
SystemCursor kCursors[] = {{32512}, {32513}, {32514}, {32642}, {32643}, {32644}, {32645}, {32646}, {32649}};
HCURSOR gCurrentCursor = nullptr;

}  // namespace

namespace glider::core {

void DeliverMouse(HWND topLevel, UINT message, POINT screen, WPARAM keys, int wheelDelta) {
  WindowManager& m = WindowManager::Get();
  m.cursor = screen;
  HWND target = m.capture;
  if (!target) {
    target = WindowFromScreenPoint(screen);
    if (!target || (topLevel && target != topLevel && !IsChild(topLevel, target))) target = topLevel;
  }
  if (!target || !m.Find(target)) return;
  if (message == WM_MOUSEMOVE) PointerOver(target);
  m.keyDown[VK_LBUTTON] = keys & MK_LBUTTON;
  m.keyDown[VK_RBUTTON] = keys & MK_RBUTTON;
  if (message == WM_MOUSEWHEEL) {
    // The wheel goes to the focus window with screen coordinates.
    HWND focus = m.focus && m.Find(m.focus) ? m.focus : target;
    PostMessageW(focus, message, MAKEWPARAM(static_cast<WORD>(keys), static_cast<WORD>(wheelDelta)),
                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    return;
  }
  PostMessageW(target, message, keys, ClientLParam(target, screen));
}

void DeliverPointerLeft() {
  WindowManager& m = WindowManager::Get();
  HWND old = m.pointerWindow;
  m.pointerWindow = nullptr;
  if (old) Leave(old);
}

void DeliverKey(HWND target, UINT message, int virtualKey, LPARAM lParam) {
  WindowManager& m = WindowManager::Get();
  if (virtualKey >= 0 && virtualKey < 256)
    m.keyDown[virtualKey] = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (!target) target = m.focus;
  if (target) PostMessageW(target, message, static_cast<WPARAM>(virtualKey), lParam);
}

void DeliverChar(HWND target, wchar_t ch) {
  if (!target) target = WindowManager::Get().focus;
  if (target) PostMessageW(target, WM_CHAR, static_cast<WPARAM>(ch), 1);
}

void DeliverMoved(HWND hwnd, const RECT& r) {
  Window* w = WindowManager::Get().Find(hwnd);
  if (!w || w->IsChild()) return;
  bool moved = r.left != w->rect.left || r.top != w->rect.top;
  bool sized = r.right - r.left != w->Width() || r.bottom - r.top != w->Height();
  if (!moved && !sized) return;
  w->rect = r;
  if (sized) {
    w->pixels.Resize(r.right - r.left, r.bottom - r.top);
    InvalidateRect(hwnd, nullptr, FALSE);
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(r.right - r.left), static_cast<WORD>(r.bottom - r.top)));
  }
  if (moved && IsWindow(hwnd))
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(r.left), static_cast<WORD>(r.top)));
}

void DeliverActivated(HWND hwnd, bool active) {
  WindowManager& m = WindowManager::Get();
  if (!m.Find(hwnd)) return;
  if (active)
    Activate(hwnd, false);
  else if (m.active == hwnd)
    Activate(nullptr, false);
}

void DeliverCloseRequest(HWND hwnd) {
  if (IsWindow(hwnd)) PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DeliverIconic(HWND hwnd, bool iconic) {
  if (Window* w = WindowManager::Get().Find(hwnd)) SetIconic(*w, iconic);
}

int SystemCursorId(HCURSOR cursor) {
  for (auto& c : kCursors)
    if (reinterpret_cast<HCURSOR>(&c) == cursor) return c.id;
  return 0;
}

}  // namespace glider::core

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  if (instance || !IS_INTRESOURCE(name)) return nullptr;
  int id = static_cast<int>(reinterpret_cast<uintptr_t>(name));
  for (auto& c : kCursors)
    if (c.id == id) return reinterpret_cast<HCURSOR>(&c);
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = gCurrentCursor;
  if (cursor != old) {
    gCurrentCursor = cursor;
    if (HasDriver()) GetDriver().SetCursor(SystemCursorId(cursor));
  }
  return old;
}

BOOL GetCursorPos(POINT* pt) {
  if (!pt) return FALSE;
  *pt = WindowManager::Get().cursor;
  return TRUE;
}

SHORT GetKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= 256) return 0;
  return WindowManager::Get().keyDown[virtualKey] ? static_cast<SHORT>(0x8000) : 0;
}

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  if (!tme || !IsWindow(tme->hwndTrack)) return FALSE;
  HWND hwnd = tme->hwndTrack;
  auto& table = TrackingTable();
  if (tme->dwFlags & TME_CANCEL) {
    auto it = table.find(hwnd);
    if (it != table.end()) {
      it->second.flags &= ~(tme->dwFlags & (TME_HOVER | TME_LEAVE));
      if (!(it->second.flags & TME_HOVER)) StopInternalTimer(hwnd, kHoverTimer);
    }
    return TRUE;
  }
  WindowManager& m = WindowManager::Get();
  if (m.pointerWindow != hwnd) {
    // As on Windows: asking for leave while the pointer is elsewhere reports it at once.
    if (tme->dwFlags & TME_LEAVE) PostMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    return TRUE;
  }
  Tracking& t = table[hwnd];
  t.flags |= tme->dwFlags & (TME_HOVER | TME_LEAVE);
  if (tme->dwFlags & TME_HOVER) {
    t.hoverMs = tme->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : tme->dwHoverTime;
    ArmHover(hwnd, t);
  }
  return TRUE;
}

BOOL _TrackMouseEvent(TRACKMOUSEEVENT* tme) { return TrackMouseEvent(tme); }

HWND SetCapture(HWND hwnd) {
  WindowManager& m = WindowManager::Get();
  HWND old = m.capture;
  m.capture = m.Find(hwnd) ? hwnd : nullptr;
  return old;
}

BOOL ReleaseCapture() {
  WindowManager::Get().capture = nullptr;
  return TRUE;
}

HWND GetCapture() { return WindowManager::Get().capture; }
