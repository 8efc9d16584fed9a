// Window records: what the core knows of every window, whatever driver shows it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/winuser.h"

namespace glider::core {

struct ThreadQueue;

struct WindowClass {
  std::wstring name;
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON iconSmall = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
};

// A window's pixels: 32-bit BGRA, premultiplied, rows of width * 4 bytes.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  void Resize(int w, int h);
};

enum class LayeredMode : uint8_t { Opaque, ColorKey, PerPixelAlpha };

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  // Owner for a top-level window, parent for a child (WS_CHILD).
  HWND parent = nullptr;
  // Screen coordinates for a top-level window, the parent's client coordinates for a child.
  RECT rect{};
  bool visible = false;
  bool iconic = false;
  bool hiddenWithOwner = false;  // hidden because its owner was minimised
  bool enabled = true;
  bool destroying = false;
  bool createdMoveSize = false;
  std::wstring text;
  std::thread::id thread;
  std::shared_ptr<ThreadQueue> queue;
  LONG_PTR userData = 0;
  HINSTANCE instance = nullptr;

  // Painting.
  bool needsPaint = false;
  RECT invalid{};
  PixelBuffer pixels;

  // Shape.
  HRGN region = nullptr;
  LayeredMode layered = LayeredMode::Opaque;
  COLORREF colorKey = 0;

  // Native side, owned by the driver.
  void* driverData = nullptr;

  bool IsChild() const { return (style & WS_CHILD) != 0; }
  int Width() const { return rect.right - rect.left; }
  int Height() const { return rect.bottom - rect.top; }
};

}  // namespace glider::core
