// The seam between GDI and the window core: DCs that draw straight into a
// window's pixels, the pixels behind any DC, and the mask of a region.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/wingdi.h"

namespace glider::core {

// A DC drawing into a caller-owned 32-bit BGRA buffer (top row first, stride in
// bytes). Drawing is clipped to `clip` when given. The buffer must outlive the
// DC; no bitmap can be selected into it. Release it with ReleaseSurfaceDC.
HDC CreateSurfaceDC(uint32_t* pixels, int width, int height, int stride, const RECT* clip = nullptr);
void ReleaseSurfaceDC(HDC hdc);
// Replaces the clip rectangle of a surface DC (null: the whole buffer).
void SetSurfaceDCClip(HDC hdc, const RECT* clip);

// The pixels of the bitmap selected into a DC. `top` is the top row; `pitch`
// is negative for bottom-up bitmaps; bitsPerPixel is 24 or 32.
struct PixelView {
  uint8_t* top = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t pitch = 0;
  int bitsPerPixel = 0;
};
bool GetDCPixels(HDC hdc, PixelView* view);
bool GetBitmapPixels(HBITMAP bitmap, PixelView* view);

// A region as a mask over its bounding box: box width x box height bytes, row
// by row, 1 inside and 0 outside. An empty region gives an empty box and mask.
bool GetRegionMask(HRGN region, RECT* box, std::vector<uint8_t>* mask);

}  // namespace glider::core
