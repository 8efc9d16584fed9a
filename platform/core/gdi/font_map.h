// The Pango font map of our GDI: fontconfig with the system's configuration
// plus our own aliases (res/fonts/glider-fonts.conf), so that Windows face
// names resolve to an installed CJK font without installing anything.
#pragma once

#include <pango/pango.h>

#include <string>

#include "platform/wingdi.h"

namespace glider::core::gdi {

PangoFontMap* FontMap();
// A context for measuring and drawing, with gray antialiasing and hinted metrics.
PangoContext* FontContext();
// Whether our alias file was found and loaded.
bool FontAliasesLoaded();

}  // namespace glider::core::gdi

namespace glider::core {
// The family that a font actually resolves to, e.g. "WenQuanYi Zen Hei".
std::string ResolvedFontFamily(HFONT font);
}  // namespace glider::core
