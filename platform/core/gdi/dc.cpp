// Device contexts, selection, saved states and the stock objects.
#include <algorithm>
#include <cstring>

#include "platform/core/gdi/objects.h"
#include "platform/core/gdi/surface_dc.h"

namespace glider::core::gdi {
namespace {

Bitmap* StockBitmap() {
  static Bitmap* bitmap = [] {
    Bitmap* b = NewBitmap(1, 1, 32, false);
    b->stock = true;
    Register(b);
    return b;
  }();
  return bitmap;
}

void Use(Object* object, Dc* dc) {
  if (object == nullptr) return;
  if (object->kind == Kind::Bitmap && !object->stock) static_cast<Bitmap*>(object)->selectedIn = dc;
  Retain(object);
}

void Unuse(Object* object) {
  if (object == nullptr || object->stock) return;
  if (object->kind == Kind::Bitmap && object->uses == 1) static_cast<Bitmap*>(object)->selectedIn = nullptr;
  gdi::Release(object);
}

void UseState(const DcState& s, Dc* dc) {
  Use(s.bitmap, dc);
  Use(s.font, dc);
  Use(s.brush, dc);
}

void UnuseState(const DcState& s) {
  Unuse(s.bitmap);
  Unuse(s.font);
  Unuse(s.brush);
}

Dc* NewDc() {
  auto* dc = new Dc();
  dc->state.bitmap = StockBitmap();
  dc->state.font = StockFont();
  dc->state.brush = StockBrush(WHITE_BRUSH);
  Register(dc);
  return dc;
}

}  // namespace

Dc::~Dc() {
  for (const DcState& s : saved) UnuseState(s);
  UnuseState(state);
}

Bitmap* NewBitmap(int width, int height, int bpp, bool bottomUp) {
  if (width <= 0 || height <= 0 || (bpp != 24 && bpp != 32)) return nullptr;
  const size_t stride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
  if (stride * static_cast<size_t>(height) > (size_t{1} << 30)) return nullptr;
  auto* b = new Bitmap();
  b->width = width;
  b->height = height;
  b->bpp = bpp;
  b->stride = static_cast<ptrdiff_t>(stride);
  b->bottomUp = bottomUp;
  b->owned.reset(new uint8_t[stride * height]());
  b->data = b->owned.get();
  return b;
}

Dc* LookupDc(HDC hdc) { return LookupAs<Dc>(hdc, Kind::Dc); }

RECT DrawableArea(const Dc& dc) {
  RECT area{0, 0, dc.state.bitmap->width, dc.state.bitmap->height};
  if (dc.hasClip) IntersectRects(&area, area, dc.clip);
  return area;
}

Brush* StockBrush(int index) {
  static Brush* brushes[6] = {};
  static const COLORREF colors[6] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                     RGB(64, 64, 64),    RGB(0, 0, 0),       0};
  static const bool ready = [] {
    for (int i = 0; i < 6; ++i) {
      brushes[i] = new Brush();
      brushes[i]->stock = true;
      brushes[i]->color = colors[i];
      brushes[i]->hollow = i == NULL_BRUSH;
      Register(brushes[i]);
    }
    return true;
  }();
  (void)ready;
  return index >= 0 && index < 6 ? brushes[index] : nullptr;
}

}  // namespace glider::core::gdi

using namespace glider::core::gdi;

HDC CreateCompatibleDC(HDC) { return reinterpret_cast<HDC>(NewDc()); }

BOOL DeleteDC(HDC hdc) {
  Dc* dc = LookupDc(hdc);
  return dc != nullptr && Delete(dc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ handle) {
  Dc* dc = LookupDc(hdc);
  Object* object = Lookup(handle);
  if (dc == nullptr || object == nullptr) return nullptr;
  Object* previous = nullptr;
  switch (object->kind) {
    case Kind::Bitmap: {
      auto* bitmap = static_cast<Bitmap*>(object);
      // A bitmap lives in one DC at a time, and a surface keeps its pixels.
      if (dc->surface || (bitmap->selectedIn != nullptr && bitmap->selectedIn != dc)) return nullptr;
      previous = dc->state.bitmap;
      Use(bitmap, dc);
      dc->state.bitmap = bitmap;
      break;
    }
    case Kind::Font:
      previous = dc->state.font;
      Use(object, dc);
      dc->state.font = static_cast<Font*>(object);
      break;
    case Kind::Brush:
      previous = dc->state.brush;
      Use(object, dc);
      dc->state.brush = static_cast<Brush*>(object);
      break;
    case Kind::Region:
      return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SIMPLEREGION));
    case Kind::Dc:
      return nullptr;
  }
  HGDIOBJ result = reinterpret_cast<HGDIOBJ>(previous);
  Unuse(previous);
  return result;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr) return nullptr;
  switch (type) {
    case OBJ_BITMAP:
      return dc->surface ? nullptr : reinterpret_cast<HGDIOBJ>(dc->state.bitmap);
    case OBJ_FONT:
      return reinterpret_cast<HGDIOBJ>(dc->state.font);
    case OBJ_BRUSH:
      return reinterpret_cast<HGDIOBJ>(dc->state.brush);
    default:
      return nullptr;
  }
}

BOOL DeleteObject(HGDIOBJ handle) {
  Object* object = Lookup(handle);
  if (object == nullptr || object->kind == Kind::Dc) return FALSE;
  return Delete(object) ? TRUE : FALSE;
}

HGDIOBJ GetStockObject(int index) {
  if (index == SYSTEM_FONT || index == DEFAULT_GUI_FONT) return reinterpret_cast<HGDIOBJ>(StockFont());
  return reinterpret_cast<HGDIOBJ>(StockBrush(index));
}

DWORD GetObjectType(HGDIOBJ handle) {
  Object* object = Lookup(handle);
  if (object == nullptr) return 0;
  switch (object->kind) {
    case Kind::Bitmap:
      return OBJ_BITMAP;
    case Kind::Brush:
      return OBJ_BRUSH;
    case Kind::Font:
      return OBJ_FONT;
    case Kind::Region:
      return OBJ_REGION;
    case Kind::Dc:
      return static_cast<Dc*>(object)->surface ? OBJ_DC : OBJ_MEMDC;
  }
  return 0;
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer) {
  Object* object = Lookup(handle);
  if (object == nullptr) return 0;
  if (object->kind == Kind::Font) {
    if (buffer == nullptr) return sizeof(LOGFONTW);
    const int n = std::min<int>(size, sizeof(LOGFONTW));
    if (n <= 0) return 0;
    std::memcpy(buffer, &static_cast<Font*>(object)->log, n);
    return n;
  }
  if (object->kind != Kind::Bitmap) return 0;
  const auto* b = static_cast<Bitmap*>(object);
  if (buffer == nullptr) return sizeof(BITMAP);
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  BITMAP bm{0, b->width, b->height, static_cast<LONG>(b->stride), 1, static_cast<WORD>(b->bpp), b->data};
  if (size < static_cast<int>(sizeof(DIBSECTION))) {
    std::memcpy(buffer, &bm, sizeof(bm));
    return sizeof(BITMAP);
  }
  DIBSECTION ds{};
  ds.dsBm = bm;
  ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
  ds.dsBmih.biWidth = b->width;
  ds.dsBmih.biHeight = b->bottomUp ? b->height : -b->height;
  ds.dsBmih.biPlanes = 1;
  ds.dsBmih.biBitCount = static_cast<WORD>(b->bpp);
  ds.dsBmih.biCompression = BI_RGB;
  ds.dsBmih.biSizeImage = static_cast<DWORD>(b->stride * b->height);
  std::memcpy(buffer, &ds, sizeof(ds));
  return sizeof(DIBSECTION);
}

int SaveDC(HDC hdc) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr) return 0;
  UseState(dc->state, dc);
  dc->saved.push_back(dc->state);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int level) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr) return FALSE;
  const int count = static_cast<int>(dc->saved.size());
  const int target = level < 0 ? count + 1 + level : level;
  if (target < 1 || target > count) return FALSE;
  UnuseState(dc->state);
  dc->state = dc->saved[target - 1];
  for (int i = count - 1; i >= target; --i) UnuseState(dc->saved[i]);
  dc->saved.resize(target - 1);
  return TRUE;
}

#define GLIDER_DC_ATTRIBUTE(Type, Get, Set, field, bad) \
  Type Set(HDC hdc, Type value) {                       \
    Dc* dc = LookupDc(hdc);                             \
    if (dc == nullptr) return bad;                      \
    Type old = dc->state.field;                         \
    dc->state.field = value;                            \
    return old;                                         \
  }                                                     \
  Type Get(HDC hdc) {                                   \
    Dc* dc = LookupDc(hdc);                             \
    return dc == nullptr ? bad : dc->state.field;       \
  }
GLIDER_DC_ATTRIBUTE(COLORREF, GetTextColor, SetTextColor, textColor, CLR_INVALID)
GLIDER_DC_ATTRIBUTE(COLORREF, GetBkColor, SetBkColor, bkColor, CLR_INVALID)
#undef GLIDER_DC_ATTRIBUTE

namespace {
int SetMode(HDC hdc, int DcState::*field, int mode, int first, int last) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr || mode < first || mode > last) return 0;
  const int old = dc->state.*field;
  dc->state.*field = mode;
  return old;
}

int GetMode(HDC hdc, int DcState::*field) {
  Dc* dc = LookupDc(hdc);
  return dc == nullptr ? 0 : dc->state.*field;
}
}  // namespace

int SetBkMode(HDC hdc, int mode) { return SetMode(hdc, &DcState::bkMode, mode, TRANSPARENT, OPAQUE); }
int GetBkMode(HDC hdc) { return GetMode(hdc, &DcState::bkMode); }
int SetStretchBltMode(HDC hdc, int mode) {
  return SetMode(hdc, &DcState::stretchMode, mode, BLACKONWHITE, HALFTONE);
}
int GetStretchBltMode(HDC hdc) { return GetMode(hdc, &DcState::stretchMode); }

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width == 0 || height == 0) return reinterpret_cast<HBITMAP>(StockBitmap());
  Bitmap* b = NewBitmap(width, height, 32, false);
  return b == nullptr ? nullptr : reinterpret_cast<HBITMAP>(Register(b));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
  if (bits != nullptr) *bits = nullptr;
  if (info == nullptr || usage != DIB_RGB_COLORS || section != nullptr) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biHeight == 0 || h.biPlanes != 1) return nullptr;
  const bool plain = h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && h.biBitCount == 32);
  if (!plain) return nullptr;
  Bitmap* b = NewBitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, h.biBitCount, h.biHeight > 0);
  if (b == nullptr) return nullptr;
  if (bits != nullptr) *bits = b->data;
  return reinterpret_cast<HBITMAP>(Register(b));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* brush = new Brush();
  brush->color = color & 0x00FFFFFF;
  return reinterpret_cast<HBRUSH>(Register(brush));
}

namespace glider::core {

HDC CreateSurfaceDC(uint32_t* pixels, int width, int height, int stride, const RECT* clip) {
  if (pixels == nullptr || width <= 0 || height <= 0 || stride < width * 4) return nullptr;
  Dc* dc = NewDc();
  dc->surface = true;
  dc->own = std::make_unique<Bitmap>();
  dc->own->width = width;
  dc->own->height = height;
  dc->own->stride = stride;
  dc->own->data = reinterpret_cast<uint8_t*>(pixels);
  dc->own->stock = true;  // not counted, never freed through a handle
  dc->state.bitmap = dc->own.get();
  SetSurfaceDCClip(reinterpret_cast<HDC>(dc), clip);
  return reinterpret_cast<HDC>(dc);
}

void ReleaseSurfaceDC(HDC hdc) {
  Dc* dc = LookupDc(hdc);
  if (dc != nullptr && dc->surface) Delete(dc);
}

void SetSurfaceDCClip(HDC hdc, const RECT* clip) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr || !dc->surface) return;
  dc->hasClip = clip != nullptr;
  if (clip != nullptr) dc->clip = *clip;
}

namespace {
bool ViewOf(const Bitmap* b, PixelView* view) {
  if (b == nullptr || view == nullptr) return false;
  view->top = b->TopRow();
  view->width = b->width;
  view->height = b->height;
  view->pitch = b->Pitch();
  view->bitsPerPixel = b->bpp;
  return true;
}
}  // namespace

bool GetDCPixels(HDC hdc, PixelView* view) {
  Dc* dc = LookupDc(hdc);
  return dc != nullptr && ViewOf(dc->state.bitmap, view);
}

bool GetBitmapPixels(HBITMAP bitmap, PixelView* view) {
  return ViewOf(LookupAs<Bitmap>(bitmap, Kind::Bitmap), view);
}

}  // namespace glider::core
