// Device contexts on window pixels and the GDI resources a window holds.
#include <algorithm>

#include "platform/core/gdi/surface_dc.h"
#include "platform/core/window/window_ops.h"

namespace glider::core {

HDC AcquireWindowDC(Window& w, const RECT* clip) {
  if (w.pixels.width <= 0 || w.pixels.height <= 0)
    w.pixels.Resize(std::max(w.Width(), 1), std::max(w.Height(), 1));
  return CreateSurfaceDC(w.pixels.pixels.data(), w.pixels.width, w.pixels.height, w.pixels.width * 4, clip);
}

void ReleaseWindowDC(HDC dc) {
  if (dc) ReleaseSurfaceDC(dc);
}

void ReplaceRegion(Window& w, HRGN region) {
  if (w.region && w.region != region) DeleteObject(w.region);
  w.region = region;
}

void ReleaseWindowResources(Window& w) { ReplaceRegion(w, nullptr); }

}  // namespace glider::core
