// Regions as masks over their bounding boxes: exact, simple to combine, and
// what the window core needs to shape a window.
#include <algorithm>
#include <cmath>

#include "platform/core/gdi/objects.h"
#include "platform/core/gdi/surface_dc.h"

namespace glider::core::gdi {
namespace {

Region* LookupRegion(HRGN handle) { return LookupAs<Region>(handle, Kind::Region); }

bool Inside(const RECT& box, const std::vector<uint8_t>& mask, int x, int y) {
  if (x < box.left || y < box.top || x >= box.right || y >= box.bottom) return false;
  return mask[static_cast<size_t>(y - box.top) * (box.right - box.left) + (x - box.left)] != 0;
}

bool Inside(const Region& r, int x, int y) { return Inside(r.box, r.mask, x, y); }

// Shrinks the box to the pixels inside and reports the region's complexity.
int Normalize(Region* r) {
  const int w = r->box.right - r->box.left, h = r->box.bottom - r->box.top;
  int left = w, top = h, right = -1, bottom = -1;
  size_t count = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (r->mask[static_cast<size_t>(y) * w + x]) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
        ++count;
      }
  if (count == 0) {
    r->box = RECT{0, 0, 0, 0};
    r->mask.clear();
    return NULLREGION;
  }
  if (left != 0 || top != 0 || right != w - 1 || bottom != h - 1) {
    const int nw = right - left + 1, nh = bottom - top + 1;
    std::vector<uint8_t> mask(static_cast<size_t>(nw) * nh);
    for (int y = 0; y < nh; ++y)
      std::copy_n(&r->mask[static_cast<size_t>(y + top) * w + left], nw, &mask[static_cast<size_t>(y) * nw]);
    r->mask.swap(mask);
    r->box = RECT{r->box.left + left, r->box.top + top, r->box.left + right + 1, r->box.top + bottom + 1};
  }
  return count == r->mask.size() ? SIMPLEREGION : COMPLEXREGION;
}

template <class InsideFn>
HRGN NewRegion(RECT box, InsideFn inside) {
  auto* r = new Region();
  if (box.left < box.right && box.top < box.bottom) {
    r->box = box;
    const int w = box.right - box.left;
    r->mask.resize(static_cast<size_t>(w) * (box.bottom - box.top));
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x)
        r->mask[static_cast<size_t>(y - box.top) * w + (x - box.left)] = inside(x, y) ? 1 : 0;
    Normalize(r);
  }
  return reinterpret_cast<HRGN>(Register(r));
}

RECT Ordered(int left, int top, int right, int bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

}  // namespace
}  // namespace glider::core::gdi

using namespace glider::core::gdi;

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRegion(Ordered(left, top, right, bottom), [](int, int) { return true; });
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  return rect == nullptr ? nullptr : CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  const RECT box = Ordered(left, top, right, bottom);
  const double rx = std::min(std::abs(ellipseWidth), int(box.right - box.left)) / 2.0;
  const double ry = std::min(std::abs(ellipseHeight), int(box.bottom - box.top)) / 2.0;
  // A pixel belongs to the region when its centre lies inside the rounded rectangle.
  return NewRegion(box, [&](int x, int y) {
    if (rx <= 0 || ry <= 0) return true;
    const double px = x + 0.5, py = y + 0.5;
    const double cx = std::clamp(px, box.left + rx, box.right - rx);
    const double cy = std::clamp(py, box.top + ry, box.bottom - ry);
    const double dx = (px - cx) / rx, dy = (py - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  });
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  Region* d = LookupRegion(dest);
  Region* a = LookupRegion(src1);
  Region* b = mode == RGN_COPY ? a : LookupRegion(src2);
  if (d == nullptr || a == nullptr || b == nullptr || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  RECT box = a->box;
  if (mode == RGN_OR || mode == RGN_XOR) {
    if (box.left >= box.right)
      box = b->box;
    else if (b->box.left < b->box.right)
      box = RECT{std::min(a->box.left, b->box.left), std::min(a->box.top, b->box.top),
                 std::max(a->box.right, b->box.right), std::max(a->box.bottom, b->box.bottom)};
  }
  // dest may be one of the sources
  const RECT boxA = a->box, boxB = b->box;
  const std::vector<uint8_t> maskA = a->mask, maskB = b->mask;
  Region result;
  result.box = box;
  const int w = box.right - box.left;
  result.mask.assign(static_cast<size_t>(std::max(w, 0)) * std::max<int>(box.bottom - box.top, 0), 0);
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      const bool ia = Inside(boxA, maskA, x, y), ib = Inside(boxB, maskB, x, y);
      bool in = false;
      switch (mode) {
        case RGN_AND:
          in = ia && ib;
          break;
        case RGN_OR:
          in = ia || ib;
          break;
        case RGN_XOR:
          in = ia != ib;
          break;
        case RGN_DIFF:
          in = ia && !ib;
          break;
        default:
          in = ia;
          break;
      }
      result.mask[static_cast<size_t>(y - box.top) * w + (x - box.left)] = in ? 1 : 0;
    }
  const int kind = result.mask.empty() ? (result.box = RECT{}, NULLREGION) : Normalize(&result);
  d->box = result.box;
  d->mask.swap(result.mask);
  return kind;
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  Region* r = LookupRegion(handle);
  return r != nullptr && Inside(*r, x, y) ? TRUE : FALSE;
}

int GetRgnBox(HRGN handle, LPRECT rect) {
  Region* r = LookupRegion(handle);
  if (r == nullptr || rect == nullptr) return ERROR;
  *rect = r->box;
  if (r->mask.empty()) return NULLREGION;
  for (uint8_t v : r->mask)
    if (!v) return COMPLEXREGION;
  return SIMPLEREGION;
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  Region* r = LookupRegion(handle);
  if (r == nullptr) return ERROR;
  if (!r->mask.empty())
    r->box = RECT{r->box.left + dx, r->box.top + dy, r->box.right + dx, r->box.bottom + dy};
  RECT box;
  return GetRgnBox(handle, &box);
}

BOOL EqualRgn(HRGN a, HRGN b) {
  Region* ra = LookupRegion(a);
  Region* rb = LookupRegion(b);
  if (ra == nullptr || rb == nullptr) return FALSE;
  return ra->mask == rb->mask && ra->box.left == rb->box.left && ra->box.top == rb->box.top &&
                 ra->box.right == rb->box.right && ra->box.bottom == rb->box.bottom
             ? TRUE
             : FALSE;
}

bool glider::core::GetRegionMask(HRGN handle, RECT* box, std::vector<uint8_t>* mask) {
  Region* r = LookupRegion(handle);
  if (r == nullptr) return false;
  if (box != nullptr) *box = r->box;
  if (mask != nullptr) *mask = r->mask;
  return true;
}
