// The Pango font map of our GDI: fontconfig with the system's configuration
// plus our own aliases (res/fonts/glider-fonts.conf), so that Windows face
// names resolve to an installed CJK font without installing anything.
#pragma once

#include <pango/pango.h>

#include "platform/core/gdi/font_info.h"

namespace glider::core::gdi {

PangoFontMap* FontMap();
// A context for measuring and drawing, with gray antialiasing and hinted
// metrics. Text is measured and drawn on the UI thread only.
PangoContext* FontContext();

}  // namespace glider::core::gdi
