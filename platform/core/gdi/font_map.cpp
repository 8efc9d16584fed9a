#include "platform/core/gdi/font_map.h"

#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>
#include <unistd.h>

#include "platform/core/gdi/objects.h"

namespace glider::core::gdi {
namespace {

bool aliasesLoaded = false;

// Beside the executable first (an installed layout), then the source tree.
std::string FindAliasFile() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
  if (n > 0) {
    std::string dir(exe, static_cast<size_t>(n));
    dir.erase(dir.rfind('/') + 1);
    for (const char* rel : {"glider-fonts.conf", "fonts/glider-fonts.conf"})
      if (access((dir + rel).c_str(), R_OK) == 0) return dir + rel;
  }
#ifdef GLIDER_FONTS_CONF
  if (access(GLIDER_FONTS_CONF, R_OK) == 0) return GLIDER_FONTS_CONF;
#endif
  return {};
}

PangoFontMap* CreateFontMap() {
  PangoFontMap* map = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
  if (map == nullptr) map = pango_cairo_font_map_new();
  FcConfig* config = FcInitLoadConfigAndFonts();
  const std::string aliases = FindAliasFile();
  if (config != nullptr && !aliases.empty())
    aliasesLoaded = FcConfigParseAndLoad(config, reinterpret_cast<const FcChar8*>(aliases.c_str()), FcTrue);
  if (config != nullptr && PANGO_IS_FC_FONT_MAP(map))
    pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(map), config);
  if (config != nullptr) FcConfigDestroy(config);
  return map;
}

}  // namespace

PangoFontMap* FontMap() {
  static PangoFontMap* map = CreateFontMap();
  return map;
}

PangoContext* FontContext() {
  static PangoContext* context = [] {
    PangoContext* c = pango_font_map_create_context(FontMap());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(c, options);
    cairo_font_options_destroy(options);
    return c;
  }();
  return context;
}

}  // namespace glider::core::gdi

bool glider::core::FontAliasesLoaded() {
  gdi::FontMap();
  return gdi::aliasesLoaded;
}

std::string glider::core::ResolvedFontFamily(HFONT handle) {
  using namespace glider::core::gdi;
  auto* font = LookupAs<Font>(handle, Kind::Font);
  if (font == nullptr) font = LookupAs<Font>(GetStockObject(DEFAULT_GUI_FONT), Kind::Font);
  PangoFont* loaded = pango_font_map_load_font(FontMap(), FontContext(), font->desc);
  if (loaded == nullptr) return {};
  PangoFontDescription* desc = pango_font_describe(loaded);
  std::string family = pango_font_description_get_family(desc) ? pango_font_description_get_family(desc) : "";
  pango_font_description_free(desc);
  g_object_unref(loaded);
  return family;
}

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig hands Pango's font-matching thread patterns it caches for the life
// of the process out of LeakSanitizer's sight; they are not leaks of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
