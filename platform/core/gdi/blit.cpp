// BitBlt, StretchBlt, AlphaBlend, TransparentBlt, FillRect and single pixels.
// Our own loops, so that rounding and colour keys give the Windows results.
#include <cstring>
#include <memory>
#include <vector>

#include "platform/core/gdi/blend.h"
#include "platform/core/gdi/objects.h"

namespace glider::core::gdi {
namespace {

inline Bgra ReadPixel(const uint8_t* row, int x, int bpp) {
  if (bpp == 32) {
    const uint8_t* p = row + x * 4;
    return Bgra{p[0], p[1], p[2], p[3]};
  }
  const uint8_t* p = row + x * 3;
  return Bgra{p[0], p[1], p[2], 255};
}

inline void WritePixel(uint8_t* row, int x, int bpp, Bgra v) {
  uint8_t* p = row + x * bpp / 8;
  p[0] = v.b;
  p[1] = v.g;
  p[2] = v.r;
  if (bpp == 32) p[3] = v.a;
}

// A private copy of a source that is also the destination, so that an
// overlapping copy reads the pixels as they were before it started.
std::unique_ptr<Bitmap> Snapshot(const Bitmap& b) {
  std::unique_ptr<Bitmap> copy(NewBitmap(b.width, b.height, b.bpp, b.bottomUp));
  if (copy) std::memcpy(copy->data, b.data, static_cast<size_t>(b.stride) * b.height);
  return copy;
}

struct Transfer {
  Dc* dest;
  RECT to;  // destination rectangle, right and bottom exclusive
  const Bitmap* src;
  int sx, sy, sw, sh;
};

// Calls op(src, dst) -> bool (write) for every destination pixel inside the
// drawable area whose nearest source pixel lies inside the source bitmap.
template <class Op>
void Run(const Transfer& t, Op op) {
  Bitmap& d = *t.dest->state.bitmap;
  std::unique_ptr<Bitmap> copy;
  const Bitmap* s = t.src;
  if (s == &d) {
    copy = Snapshot(d);
    if (!copy) return;
    s = copy.get();
  }
  RECT area;
  if (!IntersectRects(&area, t.to, DrawableArea(*t.dest))) return;
  const int64_t w = t.to.right - t.to.left, h = t.to.bottom - t.to.top;
  // Source column of every destination column, -1 outside the source.
  std::vector<int> columns(static_cast<size_t>(area.right - area.left));
  for (int x = area.left; x < area.right; ++x) {
    const int64_t srcX = t.sx + (static_cast<int64_t>(x - t.to.left) * t.sw) / w;
    columns[static_cast<size_t>(x - area.left)] = srcX < 0 || srcX >= s->width ? -1 : static_cast<int>(srcX);
  }
  for (int y = area.top; y < area.bottom; ++y) {
    const int64_t srcY = t.sy + (static_cast<int64_t>(y - t.to.top) * t.sh) / h;
    if (srcY < 0 || srcY >= s->height) continue;
    const uint8_t* srow = s->Row(static_cast<int>(srcY));
    uint8_t* drow = d.Row(y);
    for (int x = area.left; x < area.right; ++x) {
      const int srcX = columns[static_cast<size_t>(x - area.left)];
      if (srcX < 0) continue;
      Bgra out;
      if (op(ReadPixel(srow, srcX, s->bpp), ReadPixel(drow, x, d.bpp), &out)) WritePixel(drow, x, d.bpp, out);
    }
  }
}

bool SourceInside(const Bitmap& s, int x, int y, int w, int h) {
  return x >= 0 && y >= 0 && w >= 0 && h >= 0 && int64_t{x} + w <= s.width && int64_t{y} + h <= s.height;
}

const auto kCopy = [](Bgra s, Bgra, Bgra* out) {
  *out = s;
  return true;
};

// Whole rows of a 32-bit copy at natural size.
bool FastCopy(Dc* dest, int x, int y, int w, int h, const Bitmap& s, int sx, int sy) {
  Bitmap& d = *dest->state.bitmap;
  if (&s == &d || s.bpp != 32 || d.bpp != 32) return false;
  RECT area;
  if (!IntersectRects(&area, RECT{x, y, x + w, y + h}, DrawableArea(*dest))) return true;
  RECT srcArea{sx + area.left - x, sy + area.top - y, sx + area.right - x, sy + area.bottom - y};
  RECT inside;
  if (!IntersectRects(&inside, srcArea, RECT{0, 0, s.width, s.height})) return true;
  const int dx = x - sx, dy = y - sy;
  for (int row = inside.top; row < inside.bottom; ++row)
    std::memcpy(d.Row(row + dy) + (inside.left + dx) * 4, s.Row(row) + inside.left * 4,
                static_cast<size_t>(inside.right - inside.left) * 4);
  return true;
}

}  // namespace
}  // namespace glider::core::gdi

using namespace glider::core::gdi;

BOOL StretchBlt(HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw, int sh,
                DWORD rop) {
  Dc* dest = LookupDc(hdcDest);
  Dc* src = LookupDc(hdcSrc);
  if (dest == nullptr || src == nullptr || rop != SRCCOPY || w < 0 || h < 0 || sw < 0 || sh < 0) return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return TRUE;
  Run(Transfer{dest, RECT{x, y, x + w, y + h}, src->state.bitmap, sx, sy, sw, sh}, kCopy);
  return TRUE;
}

BOOL BitBlt(HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, DWORD rop) {
  Dc* dest = LookupDc(hdcDest);
  Dc* src = LookupDc(hdcSrc);
  if (dest == nullptr || src == nullptr || rop != SRCCOPY) return FALSE;
  if (w <= 0 || h <= 0) return TRUE;
  if (FastCopy(dest, x, y, w, h, *src->state.bitmap, sx, sy)) return TRUE;
  return StretchBlt(hdcDest, x, y, w, h, hdcSrc, sx, sy, w, h, rop);
}

BOOL AlphaBlend(HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend) {
  Dc* dest = LookupDc(hdcDest);
  Dc* src = LookupDc(hdcSrc);
  if (dest == nullptr || src == nullptr || blend.BlendOp != AC_SRC_OVER || blend.BlendFlags != 0)
    return FALSE;
  if (w < 0 || h < 0 || !SourceInside(*src->state.bitmap, sx, sy, sw, sh)) return FALSE;
  if (w == 0 || h == 0 || sw == 0 || sh == 0) return TRUE;
  const unsigned alpha = blend.SourceConstantAlpha;
  const Transfer t{dest, RECT{x, y, x + w, y + h}, src->state.bitmap, sx, sy, sw, sh};
  if (blend.AlphaFormat & AC_SRC_ALPHA) {
    Run(t, [alpha](Bgra s, Bgra d, Bgra* out) {
      *out = BlendPerPixel(s, d, alpha);
      return true;
    });
  } else {
    Run(t, [alpha](Bgra s, Bgra d, Bgra* out) {
      *out = BlendConstant(s, d, alpha);
      return true;
    });
  }
  return TRUE;
}

BOOL TransparentBlt(HDC hdcDest, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw, int sh,
                    UINT transparent) {
  Dc* dest = LookupDc(hdcDest);
  Dc* src = LookupDc(hdcSrc);
  if (dest == nullptr || src == nullptr || w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return FALSE;
  if (!SourceInside(*src->state.bitmap, sx, sy, sw, sh)) return FALSE;
  const Bgra key{GetBValue(transparent), GetGValue(transparent), GetRValue(transparent), 0};
  Run(Transfer{dest, RECT{x, y, x + w, y + h}, src->state.bitmap, sx, sy, sw, sh},
      [key](Bgra s, Bgra, Bgra* out) {
        if (s.b == key.b && s.g == key.g && s.r == key.r) return false;
        *out = s;
        return true;
      });
  return TRUE;
}

int FillRect(HDC hdc, const RECT* rect, HBRUSH handle) {
  Dc* dc = LookupDc(hdc);
  auto* brush = LookupAs<Brush>(handle, Kind::Brush);
  if (dc == nullptr || rect == nullptr || brush == nullptr) return 0;
  if (brush->hollow) return 1;
  RECT area;
  if (!IntersectRects(&area, *rect, DrawableArea(*dc))) return 1;
  Bitmap& b = *dc->state.bitmap;
  const Bgra color{GetBValue(brush->color), GetGValue(brush->color), GetRValue(brush->color), 255};
  for (int y = area.top; y < area.bottom; ++y) {
    uint8_t* row = b.Row(y);
    for (int x = area.left; x < area.right; ++x) WritePixel(row, x, b.bpp, color);
  }
  return 1;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr) return CLR_INVALID;
  const RECT area = DrawableArea(*dc);
  if (x < area.left || y < area.top || x >= area.right || y >= area.bottom) return CLR_INVALID;
  const Bgra p = ReadPixel(dc->state.bitmap->Row(y), x, dc->state.bitmap->bpp);
  return RGB(p.r, p.g, p.b);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr) return CLR_INVALID;
  const RECT area = DrawableArea(*dc);
  if (x < area.left || y < area.top || x >= area.right || y >= area.bottom) return CLR_INVALID;
  WritePixel(dc->state.bitmap->Row(y), x, dc->state.bitmap->bpp,
             Bgra{GetBValue(color), GetGValue(color), GetRValue(color), 255});
  return color & 0x00FFFFFF;
}
