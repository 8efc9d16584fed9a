// Fonts: a LOGFONTW and the Pango description it maps to.
#include <cstring>

#include "platform/core/gdi/font_map.h"
#include "platform/core/gdi/objects.h"
#include "platform/core/text/utf.h"

namespace glider::core::gdi {
namespace {

constexpr int kDefaultHeight = -12;
constexpr wchar_t kDefaultFace[] = L"宋体";

// Pixel size of the em for a Windows height: negative is the character height
// (the em), positive the cell height (ascent + descent), zero the default.
double EmPixels(PangoFontDescription* desc, int height) {
  if (height == 0) height = kDefaultHeight;
  if (height < 0) return -height;
  constexpr double kProbe = 100.0;
  pango_font_description_set_absolute_size(desc, kProbe * PANGO_SCALE);
  PangoFontMetrics* metrics = pango_context_get_metrics(FontContext(), desc, nullptr);
  const double cell = (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
                      double(PANGO_SCALE);
  pango_font_metrics_unref(metrics);
  return cell > 0 ? height * kProbe / cell : height;
}

Font* NewFont(const LOGFONTW& log) {
  auto* font = new Font();
  font->log = log;
  font->log.lfFaceName[LF_FACESIZE - 1] = 0;
  const wchar_t* face = font->log.lfFaceName[0] != 0 ? font->log.lfFaceName : kDefaultFace;
  font->desc = pango_font_description_new();
  pango_font_description_set_family(font->desc, WideToUtf8(face).c_str());
  const int weight = log.lfWeight <= 0 ? FW_NORMAL : log.lfWeight > 1000 ? 1000 : log.lfWeight;
  pango_font_description_set_weight(font->desc, static_cast<PangoWeight>(weight));
  pango_font_description_set_style(font->desc, log.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_absolute_size(font->desc, EmPixels(font->desc, log.lfHeight) * PANGO_SCALE);
  return font;
}

}  // namespace

Font::~Font() {
  if (desc != nullptr) pango_font_description_free(desc);
}

Font* StockFont() {
  static Font* font = [] {
    LOGFONTW log{};
    log.lfHeight = kDefaultHeight;
    log.lfWeight = FW_NORMAL;
    std::wcsncpy(log.lfFaceName, kDefaultFace, LF_FACESIZE - 1);
    Font* f = NewFont(log);
    f->stock = true;
    Register(f);
    return f;
  }();
  return font;
}

}  // namespace glider::core::gdi

using namespace glider::core::gdi;

HFONT CreateFontIndirectW(const LOGFONTW* log) {
  if (log == nullptr) return nullptr;
  return reinterpret_cast<HFONT>(Register(NewFont(*log)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face) {
  LOGFONTW log{};
  log.lfHeight = height;
  log.lfWidth = width;
  log.lfEscapement = escapement;
  log.lfOrientation = orientation;
  log.lfWeight = weight;
  log.lfItalic = italic ? 1 : 0;
  log.lfUnderline = underline ? 1 : 0;
  log.lfStrikeOut = strikeOut ? 1 : 0;
  log.lfCharSet = static_cast<BYTE>(charSet);
  log.lfOutPrecision = static_cast<BYTE>(outPrecision);
  log.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  log.lfQuality = static_cast<BYTE>(quality);
  log.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (face != nullptr) std::wcsncpy(log.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&log);
}
