#include "platform/core/window/window_manager.h"

#include <algorithm>

#include "platform/core/window/driver.h"
#include "platform/wingdi.h"

namespace glider::core {

void PixelBuffer::Resize(int w, int h) {
  w = std::max(w, 0);
  h = std::max(h, 0);
  if (w == width && h == height) return;
  width = w;
  height = h;
  pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
}

namespace {
std::unique_ptr<Driver> gDriver;
}  // namespace

void InstallDriver(std::unique_ptr<Driver> driver) { gDriver = std::move(driver); }
Driver& GetDriver() { return *gDriver; }
bool HasDriver() { return gDriver != nullptr; }

WindowManager& WindowManager::Get() {
  static WindowManager* manager = new WindowManager();  // lives for the whole process
  return *manager;
}

Window* WindowManager::Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  std::lock_guard<std::recursive_mutex> lock(mutex);
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : it->second.get();
}

Window* WindowManager::Add(std::unique_ptr<Window> w) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  w->handle = reinterpret_cast<HWND>(nextHandle_);
  nextHandle_ += 0x10;  // handles are never reused within a run
  Window* raw = w.get();
  windows_[raw->handle] = std::move(w);
  if (!raw->IsChild()) zorder.insert(zorder.begin(), raw->handle);
  return raw;
}

void WindowManager::Unlink(HWND hwnd) {
  std::erase(zorder, hwnd);
  if (active == hwnd) active = nullptr;
  if (focus == hwnd) focus = nullptr;
  if (capture == hwnd) capture = nullptr;
  if (pointerWindow == hwnd) pointerWindow = nullptr;
}

void WindowManager::Remove(HWND hwnd) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  Unlink(hwnd);
  windows_.erase(hwnd);
}

std::vector<Window*> WindowManager::All() {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  std::vector<Window*> out;
  for (auto& [h, w] : windows_) out.push_back(w.get());
  std::sort(out.begin(), out.end(), [](Window* a, Window* b) { return a->handle < b->handle; });
  return out;
}

std::vector<Window*> WindowManager::ChildrenOf(HWND parent) {
  std::vector<Window*> out;
  for (Window* w : All())
    if (w->IsChild() && w->parent == parent) out.push_back(w);
  return out;
}

std::vector<Window*> WindowManager::OwnedBy(HWND owner) {
  std::vector<Window*> out;
  for (Window* w : All())
    if (!w->IsChild() && w->parent == owner) out.push_back(w);
  return out;
}

std::shared_ptr<WindowClass> WindowManager::FindClass(const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  for (auto& c : classes_)
    if (c->name == name) return c;
  return nullptr;
}

ATOM WindowManager::AddClass(std::shared_ptr<WindowClass> cls) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  if (FindClass(cls->name)) return 0;
  classes_.push_back(std::move(cls));
  return static_cast<ATOM>(0xC000 + classes_.size());
}

bool WindowManager::RemoveClass(const std::wstring& name) {
  std::lock_guard<std::recursive_mutex> lock(mutex);
  auto before = classes_.size();
  std::erase_if(classes_, [&](auto& c) { return c->name == name; });
  return classes_.size() != before;
}

namespace {

bool IsTopmost(WindowManager& m, HWND h) {
  Window* w = m.Find(h);
  return w && (w->exStyle & WS_EX_TOPMOST);
}

// Index in zorder where a window of the given band goes when raised.
size_t BandStart(WindowManager& m, bool topmost) {
  if (topmost) return 0;
  size_t i = 0;
  while (i < m.zorder.size() && IsTopmost(m, m.zorder[i])) ++i;
  return i;
}

}  // namespace

void WindowManager::Raise(Window& w) {
  if (w.IsChild()) return;
  std::lock_guard<std::recursive_mutex> lock(mutex);
  std::erase(zorder, w.handle);
  zorder.insert(zorder.begin() + static_cast<long>(BandStart(*this, w.exStyle & WS_EX_TOPMOST)), w.handle);
  // Owned windows always stay above their owner.
  for (Window* owned : OwnedBy(w.handle)) Raise(*owned);
}

void WindowManager::Lower(Window& w) {
  if (w.IsChild()) return;
  std::lock_guard<std::recursive_mutex> lock(mutex);
  std::erase(zorder, w.handle);
  zorder.push_back(w.handle);
}

void WindowManager::PlaceAfter(Window& w, HWND after) {
  if (w.IsChild()) return;
  std::lock_guard<std::recursive_mutex> lock(mutex);
  auto it = std::find(zorder.begin(), zorder.end(), after);
  if (it == zorder.end()) return;
  std::erase(zorder, w.handle);
  it = std::find(zorder.begin(), zorder.end(), after);
  zorder.insert(it + 1, w.handle);
}

RECT ScreenRect(Window& w) {
  RECT r = w.rect;
  WindowManager& m = WindowManager::Get();
  Window* p = w.IsChild() ? m.Find(w.parent) : nullptr;
  while (p) {
    r.left += p->rect.left;
    r.right += p->rect.left;
    r.top += p->rect.top;
    r.bottom += p->rect.top;
    p = p->IsChild() ? m.Find(p->parent) : nullptr;
  }
  return r;
}

bool EffectivelyVisible(Window& w) {
  WindowManager& m = WindowManager::Get();
  Window* cur = &w;
  while (cur) {
    if (!cur->visible || cur->iconic) return false;
    cur = cur->IsChild() ? m.Find(cur->parent) : nullptr;
  }
  return true;
}

namespace {

bool Contains(const RECT& r, POINT pt) {
  return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom;
}

HWND DeepestChildAt(Window& w, POINT pt) {
  auto children = WindowManager::Get().ChildrenOf(w.handle);
  // Later children are above earlier ones.
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Window* c = *it;
    if (c->visible && Contains(ScreenRect(*c), pt)) return DeepestChildAt(*c, pt);
  }
  return w.handle;
}

}  // namespace

bool ClearPixel(const Window& w, int x, int y) {
  if (w.layered == LayeredMode::Opaque) return false;
  if (x < 0 || y < 0 || x >= w.pixels.width || y >= w.pixels.height) return true;
  const uint32_t p = w.pixels.pixels[static_cast<size_t>(y) * w.pixels.width + x];
  if (w.layered == LayeredMode::PerPixelAlpha) return (p >> 24) == 0;
  const COLORREF k = w.colorKey;
  const uint32_t rgb = (uint32_t{GetRValue(k)} << 16) | (uint32_t{GetGValue(k)} << 8) | GetBValue(k);
  return (p & 0x00FFFFFF) == rgb;
}

bool TakesPointer(const Window& w, int x, int y) {
  if (w.region && !PtInRegion(w.region, x, y)) return false;
  return !ClearPixel(w, x, y);
}

HWND WindowFromScreenPoint(POINT pt) {
  WindowManager& m = WindowManager::Get();
  std::lock_guard<std::recursive_mutex> lock(m.mutex);
  for (HWND h : m.zorder) {
    Window* w = m.Find(h);
    if (!w || !EffectivelyVisible(*w) || !w->enabled) continue;
    if (!Contains(w->rect, pt)) continue;
    const HWND hit = DeepestChildAt(*w, pt);
    if (hit == h && !TakesPointer(*w, pt.x - w->rect.left, pt.y - w->rect.top)) continue;
    return hit;
  }
  return nullptr;
}

}  // namespace glider::core
