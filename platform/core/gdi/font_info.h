// What a font resolves to, for tests and diagnostics (no Pango types here).
#pragma once

#include <string>

#include "platform/wingdi.h"

namespace glider::core {

// The family that a font actually resolves to, e.g. "WenQuanYi Zen Hei".
std::string ResolvedFontFamily(HFONT font);
// Whether our alias file (res/fonts/glider-fonts.conf) was found and loaded.
bool FontAliasesLoaded();

}  // namespace glider::core
