// Layered windows: content given once with its per-pixel alpha, or painted as usual
// with a colour key that is transparent to sight and pointer.
#include <algorithm>
#include <mutex>

#include "platform/core/gdi/surface_dc.h"
#include "platform/core/window/driver.h"
#include "platform/core/window/window_manager.h"
#include "platform/wingdi.h"

using namespace glider::core;

namespace {

Window* Layered(HWND hwnd) {
  Window* w = WindowManager::Get().Find(hwnd);
  return w && (w->exStyle & WS_EX_LAYERED) ? w : nullptr;
}

// Copies width x height pixels from (sx, sy) of the source into the window's buffer;
// pixels outside the source stay transparent.
void CopyContent(Window& w, const PixelView& src, int sx, int sy, unsigned constantAlpha) {
  for (int y = 0; y < w.pixels.height; ++y) {
    uint32_t* out = w.pixels.pixels.data() + static_cast<size_t>(y) * w.pixels.width;
    const int row = sy + y;
    for (int x = 0; x < w.pixels.width; ++x) {
      const int col = sx + x;
      if (row < 0 || row >= src.height || col < 0 || col >= src.width) {
        out[x] = 0;
        continue;
      }
      const uint8_t* p = src.top + row * src.pitch + col * (src.bitsPerPixel / 8);
      uint32_t b = p[0], g = p[1], r = p[2], a = src.bitsPerPixel == 32 ? p[3] : 255;
      if (constantAlpha != 255) {
        b = (b * constantAlpha + 127) / 255;
        g = (g * constantAlpha + 127) / 255;
        r = (r * constantAlpha + 127) / 255;
        a = (a * constantAlpha + 127) / 255;
      }
      out[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
}

}  // namespace

BOOL UpdateLayeredWindow(HWND hwnd, HDC, POINT* destPoint, SIZE* size, HDC hdcSrc, POINT* srcPoint,
                         COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
  Window* w = Layered(hwnd);
  if (!w) return FALSE;
  if (size && (size->cx <= 0 || size->cy <= 0)) return FALSE;
  PixelView src;
  if (hdcSrc && !GetDCPixels(hdcSrc, &src)) return FALSE;
  if (size || destPoint) {
    UINT swp = SWP_NOZORDER | SWP_NOACTIVATE | (size ? 0 : SWP_NOSIZE) | (destPoint ? 0 : SWP_NOMOVE);
    SetWindowPos(hwnd, nullptr, destPoint ? destPoint->x : 0, destPoint ? destPoint->y : 0,
                 size ? size->cx : 0, size ? size->cy : 0, swp);
    w = Layered(hwnd);
    if (!w) return FALSE;
  }
  {
    std::lock_guard<std::recursive_mutex> lock(WindowManager::Get().mutex);
    if (w->pixels.width != w->Width() || w->pixels.height != w->Height())
      w->pixels.Resize(std::max(w->Width(), 1), std::max(w->Height(), 1));
    if (hdcSrc) {
      const unsigned constantAlpha = blend ? blend->SourceConstantAlpha : 255;
      CopyContent(*w, src, srcPoint ? srcPoint->x : 0, srcPoint ? srcPoint->y : 0, constantAlpha);
    }
    if (flags & ULW_ALPHA) {
      w->layered = LayeredMode::PerPixelAlpha;
    } else if (flags & ULW_COLORKEY) {
      w->layered = LayeredMode::ColorKey;
      w->colorKey = key & 0x00FFFFFF;
    } else {
      w->layered = LayeredMode::Opaque;
    }
  }
  GetDriver().WindowShapeChanged(*w);
  GetDriver().Present(*w, RECT{0, 0, w->Width(), w->Height()});
  return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE, DWORD flags) {
  Window* w = Layered(hwnd);
  if (!w) return FALSE;
  {
    std::lock_guard<std::recursive_mutex> lock(WindowManager::Get().mutex);
    if (flags & LWA_COLORKEY) {
      w->layered = LayeredMode::ColorKey;
      w->colorKey = key & 0x00FFFFFF;
    } else if (w->layered == LayeredMode::ColorKey) {
      w->layered = LayeredMode::Opaque;
    }
  }
  GetDriver().WindowShapeChanged(*w);
  return TRUE;
}
