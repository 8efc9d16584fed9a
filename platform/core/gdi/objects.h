// The GDI object types and the device context.
#pragma once

#include <pango/pango.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/core/gdi/gdi_object.h"
#include "platform/wingdi.h"

namespace glider::core::gdi {

struct Dc;

struct Bitmap : Object {
  Bitmap() : Object(Kind::Bitmap) {}
  int width = 0;
  int height = 0;
  int bpp = 32;             // 24 or 32
  ptrdiff_t stride = 0;     // bytes between rows in memory
  bool bottomUp = false;    // memory starts with the bottom row
  uint8_t* data = nullptr;  // first row in memory
  std::unique_ptr<uint8_t[]> owned;
  Dc* selectedIn = nullptr;

  uint8_t* Row(int y) const { return data + (bottomUp ? height - 1 - y : y) * stride; }
  uint8_t* TopRow() const { return Row(0); }
  ptrdiff_t Pitch() const { return bottomUp ? -stride : stride; }
};

// A zeroed bitmap owning its pixels; null when the size is not usable.
Bitmap* NewBitmap(int width, int height, int bpp, bool bottomUp);

struct Brush : Object {
  Brush() : Object(Kind::Brush) {}
  COLORREF color = 0;
  bool hollow = false;
};

struct Font : Object {
  Font() : Object(Kind::Font) {}
  ~Font() override;
  LOGFONTW log{};
  PangoFontDescription* desc = nullptr;
};

struct Region : Object {
  Region() : Object(Kind::Region) {}
  RECT box{};                 // empty when the region is empty
  std::vector<uint8_t> mask;  // box width x box height, 1 inside
};

struct DcState {
  Bitmap* bitmap = nullptr;
  Font* font = nullptr;
  Brush* brush = nullptr;
  COLORREF textColor = 0;
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  int stretchMode = BLACKONWHITE;
};

struct Dc : Object {
  Dc() : Object(Kind::Dc) {}
  ~Dc() override;
  DcState state;
  std::vector<DcState> saved;
  std::unique_ptr<Bitmap> own;  // the default 1 x 1 bitmap, or a surface's pixels
  bool surface = false;
  bool hasClip = false;
  RECT clip{};
};

Dc* LookupDc(HDC hdc);
// The drawable area of a DC: its bitmap's bounds within its clip.
RECT DrawableArea(const Dc& dc);
Font* StockFont();
Brush* StockBrush(int index);

inline bool IntersectRects(RECT* out, const RECT& a, const RECT& b) {
  out->left = a.left > b.left ? a.left : b.left;
  out->top = a.top > b.top ? a.top : b.top;
  out->right = a.right < b.right ? a.right : b.right;
  out->bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
  if (out->left >= out->right || out->top >= out->bottom) {
    *out = RECT{0, 0, 0, 0};
    return false;
  }
  return true;
}

}  // namespace glider::core::gdi
