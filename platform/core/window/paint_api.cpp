// Invalidation and painting. Painting goes into the window's pixels; the driver presents them.
#include <algorithm>

#include "platform/core/window/driver.h"
#include "platform/core/window/message_queue.h"
#include "platform/core/window/window_manager.h"
#include "platform/core/window/window_ops.h"

using namespace glider::core;

namespace {

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Union(const RECT& a, const RECT& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

RECT Clip(const RECT& r, const Window& w) {
  return RECT{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, w.rect.right - w.rect.left),
              std::min(r.bottom, w.rect.bottom - w.rect.top)};
}

}  // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL) {
  WindowManager& m = WindowManager::Get();
  std::shared_ptr<ThreadQueue> queue;
  {
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    Window* w = m.Find(hwnd);
    if (!w) return FALSE;
    RECT all{0, 0, w->Width(), w->Height()};
    RECT r = rect ? Clip(*rect, *w) : all;
    if (Empty(r)) return TRUE;
    w->invalid = Union(w->invalid, r);
    w->needsPaint = true;
    queue = w->queue;
  }
  Wake(*queue);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT*) {
  Window* w = WindowManager::Get().Find(hwnd);
  if (!w) return FALSE;
  w->needsPaint = false;
  w->invalid = RECT{};
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = WindowManager::Get().Find(hwnd);
  if (!w) return FALSE;
  if (w->needsPaint && EffectivelyVisible(*w)) SendMessageW(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
  if (!IsWindow(hwnd)) return FALSE;
  if (flags & RDW_INVALIDATE) InvalidateRect(hwnd, rect, (flags & RDW_ERASE) ? TRUE : FALSE);
  if (flags & RDW_UPDATENOW) UpdateWindow(hwnd);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  Window* w = WindowManager::Get().Find(hwnd);
  if (!w || !ps) return nullptr;
  *ps = PAINTSTRUCT{};
  ps->rcPaint = Empty(w->invalid) ? RECT{0, 0, w->Width(), w->Height()} : w->invalid;
  w->invalid = RECT{};
  w->needsPaint = false;
  ps->hdc = AcquireWindowDC(*w, &ps->rcPaint);
  return ps->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  ReleaseWindowDC(ps->hdc);
  if (Window* w = WindowManager::Get().Find(hwnd)) GetDriver().Present(*w, ps->rcPaint);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  Window* w = WindowManager::Get().Find(hwnd);
  return w ? AcquireWindowDC(*w, nullptr) : nullptr;
}

int ReleaseDC(HWND hwnd, HDC dc) {
  ReleaseWindowDC(dc);
  if (Window* w = WindowManager::Get().Find(hwnd))
    GetDriver().Present(*w, RECT{0, 0, w->Width(), w->Height()});
  return 1;
}
