// DrawTextW and text measuring: one line through Pango on cairo.
#include <pango/pangocairo.h>

#include <string>

#include "platform/core/gdi/font_map.h"
#include "platform/core/gdi/objects.h"
#include "platform/core/text/utf.h"

namespace glider::core::gdi {
namespace {

constexpr UINT kEllipsis = DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS;

// One line: line breaks become nothing, and "&x" shows "x" unless DT_NOPREFIX.
std::wstring LineText(LPCWSTR text, int length, UINT format) {
  std::wstring in = length < 0 ? std::wstring(text) : std::wstring(text, static_cast<size_t>(length));
  std::wstring out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    wchar_t c = in[i];
    if (c == L'\r' || c == L'\n') continue;
    if (c == L'&' && !(format & DT_NOPREFIX)) {
      if (i + 1 >= in.size()) break;
      c = in[++i];
    }
    out += c;
  }
  return out;
}

PangoLayout* NewLayout(PangoContext* context, const Font& font, const std::wstring& text, UINT format,
                       int maxWidth) {
  PangoLayout* layout = pango_layout_new(context);
  pango_layout_set_font_description(layout, font.desc);
  pango_layout_set_single_paragraph_mode(layout, TRUE);
  PangoAttrList* attrs = pango_attr_list_new();
  if (font.log.lfUnderline) pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
  if (font.log.lfStrikeOut) pango_attr_list_insert(attrs, pango_attr_strikethrough_new(TRUE));
  pango_layout_set_attributes(layout, attrs);
  pango_attr_list_unref(attrs);
  const std::string utf8 = WideToUtf8(text);
  pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
  if ((format & kEllipsis) && maxWidth >= 0) {
    pango_layout_set_width(layout, maxWidth * PANGO_SCALE);
    pango_layout_set_ellipsize(layout,
                               (format & DT_PATH_ELLIPSIS) ? PANGO_ELLIPSIZE_MIDDLE : PANGO_ELLIPSIZE_END);
  }
  return layout;
}

SIZE Extent(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  return SIZE{logical.width, logical.height};
}

// A cairo context over a 32-bit bitmap, in its top-down coordinates.
cairo_t* CairoFor(const Bitmap& b, cairo_surface_t** surface) {
  *surface = cairo_image_surface_create_for_data(b.data, CAIRO_FORMAT_ARGB32, b.width, b.height,
                                                 static_cast<int>(b.stride));
  cairo_t* cr = cairo_create(*surface);
  if (b.bottomUp) {
    cairo_translate(cr, 0, b.height);
    cairo_scale(cr, 1, -1);
  }
  return cr;
}

void Render(Dc& dc, const std::wstring& text, const RECT& rect, UINT format) {
  Bitmap& b = *dc.state.bitmap;
  if (b.bpp != 32) return;
  cairo_surface_t* surface;
  cairo_t* cr = CairoFor(b, &surface);
  PangoContext* context = pango_font_map_create_context(FontMap());
  pango_cairo_context_set_font_options(context, pango_cairo_context_get_font_options(FontContext()));
  pango_cairo_update_context(cr, context);
  PangoLayout* layout = NewLayout(context, *dc.state.font, text, format, rect.right - rect.left);
  const SIZE size = Extent(layout);

  int x = rect.left, y = rect.top;
  if (format & DT_CENTER)
    x = rect.left + (rect.right - rect.left - size.cx) / 2;
  else if (format & DT_RIGHT)
    x = rect.right - size.cx;
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
    y = rect.top + (rect.bottom - rect.top - size.cy) / 2;
  else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
    y = rect.bottom - size.cy;

  RECT clip = DrawableArea(dc);
  if (!(format & DT_NOCLIP)) IntersectRects(&clip, clip, rect);
  cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
  cairo_clip(cr);
  if (dc.state.bkMode == OPAQUE) {
    const COLORREF bk = dc.state.bkColor;
    cairo_set_source_rgb(cr, GetRValue(bk) / 255.0, GetGValue(bk) / 255.0, GetBValue(bk) / 255.0);
    cairo_rectangle(cr, x, y, size.cx, size.cy);
    cairo_fill(cr);
  }
  const COLORREF fg = dc.state.textColor;
  cairo_set_source_rgb(cr, GetRValue(fg) / 255.0, GetGValue(fg) / 255.0, GetBValue(fg) / 255.0);
  cairo_move_to(cr, x, y);
  pango_cairo_show_layout(cr, layout);

  g_object_unref(layout);
  g_object_unref(context);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
}

}  // namespace
}  // namespace glider::core::gdi

using namespace glider::core::gdi;

int DrawTextW(HDC hdc, LPCWSTR text, int length, LPRECT rect, UINT format) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr || text == nullptr || rect == nullptr) return 0;
  const std::wstring line = LineText(text, length, format);
  if (format & DT_CALCRECT) {
    // Measuring widens the rectangle to the whole line; ellipses only apply when drawing.
    PangoLayout* layout = NewLayout(FontContext(), *dc->state.font, line, format, -1);
    const SIZE size = Extent(layout);
    g_object_unref(layout);
    rect->right = rect->left + size.cx;
    rect->bottom = rect->top + size.cy;
    return size.cy;
  }
  PangoLayout* layout = NewLayout(FontContext(), *dc->state.font, line, format, rect->right - rect->left);
  const SIZE size = Extent(layout);
  g_object_unref(layout);
  Render(*dc, line, *rect, format);
  if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
    return (rect->bottom - rect->top - size.cy) / 2 + size.cy;
  if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) return rect->bottom - rect->top;
  return size.cy;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int length, SIZE* size) {
  Dc* dc = LookupDc(hdc);
  if (dc == nullptr || text == nullptr || size == nullptr || length < 0) return FALSE;
  PangoLayout* layout =
      NewLayout(FontContext(), *dc->state.font, LineText(text, length, DT_NOPREFIX), DT_NOPREFIX, -1);
  *size = Extent(layout);
  g_object_unref(layout);
  return TRUE;
}
