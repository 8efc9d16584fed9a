// The process-wide table of window classes and windows, the stacking order, and the
// active, focus and capture windows.
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/core/window/window.h"

namespace glider::core {

class WindowManager {
 public:
  static WindowManager& Get();

  std::recursive_mutex mutex;

  // Returns null for a handle that is not (or no longer) a window.
  Window* Find(HWND hwnd);
  Window* Add(std::unique_ptr<Window> w);
  void Remove(HWND hwnd);
  std::vector<Window*> All();
  std::vector<Window*> ChildrenOf(HWND parent);
  std::vector<Window*> OwnedBy(HWND owner);

  std::shared_ptr<WindowClass> FindClass(const std::wstring& name);
  ATOM AddClass(std::shared_ptr<WindowClass> cls);
  bool RemoveClass(const std::wstring& name);

  // Top-level windows, front first; topmost windows stay ahead of the others and owned
  // windows ahead of their owners.
  std::vector<HWND> zorder;
  void Raise(Window& w);
  void Lower(Window& w);
  void PlaceAfter(Window& w, HWND after);

  HWND active = nullptr;
  HWND focus = nullptr;
  HWND capture = nullptr;
  bool dragFullWindows = true;

  // Pointer and keyboard as last reported by the driver.
  POINT cursor{};
  HWND pointerWindow = nullptr;
  bool keyDown[256] = {};

 private:
  void Unlink(HWND hwnd);
  std::unordered_map<HWND, std::unique_ptr<Window>> windows_;
  std::vector<std::shared_ptr<WindowClass>> classes_;
  uintptr_t nextHandle_ = 0x10010;
};

// Screen rectangle of a window (children are offset by their ancestors).
RECT ScreenRect(Window& w);
// Whether the window and all its ancestors are visible.
bool EffectivelyVisible(Window& w);
// Whether a pixel (window coordinates) of a layered window is transparent: alpha 0 with
// per-pixel alpha, the key colour with a colour key. Never for other windows.
bool ClearPixel(const Window& w, int x, int y);
// Whether the pointer at a point of the window (window coordinates) reaches it: inside its
// region, on a pixel that is not clear.
bool TakesPointer(const Window& w, int x, int y);
// The top-level window (or child) at a screen point, honouring stacking and visibility.
HWND WindowFromScreenPoint(POINT pt);

}  // namespace glider::core
