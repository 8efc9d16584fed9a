// Per-pixel arithmetic of the blits, in integers with rounding to nearest.
#pragma once

#include <cstdint>

namespace glider::core::gdi {

struct Bgra {
  uint8_t b, g, r, a;
};

// x / 255 rounded to nearest, for 0 <= x <= 255 * 255 * 2.
constexpr unsigned Div255(unsigned x) { return (x + 127) / 255; }

constexpr uint8_t Clamp255(unsigned v) { return static_cast<uint8_t>(v > 255 ? 255 : v); }

// AC_SRC_OVER with a premultiplied source (AC_SRC_ALPHA): the source scaled by
// the constant alpha, then dst = src + dst * (255 - srcAlpha) / 255.
constexpr Bgra BlendPerPixel(Bgra s, Bgra d, unsigned constantAlpha) {
  if (constantAlpha != 255) {
    s = Bgra{
        static_cast<uint8_t>(Div255(s.b * constantAlpha)), static_cast<uint8_t>(Div255(s.g * constantAlpha)),
        static_cast<uint8_t>(Div255(s.r * constantAlpha)), static_cast<uint8_t>(Div255(s.a * constantAlpha))};
  }
  const unsigned k = 255 - s.a;
  return Bgra{Clamp255(s.b + Div255(d.b * k)), Clamp255(s.g + Div255(d.g * k)),
              Clamp255(s.r + Div255(d.r * k)), Clamp255(s.a + Div255(d.a * k))};
}

// AC_SRC_OVER without source alpha: a constant mix of source and destination.
constexpr Bgra BlendConstant(Bgra s, Bgra d, unsigned constantAlpha) {
  const unsigned k = 255 - constantAlpha;
  return Bgra{static_cast<uint8_t>(Div255(s.b * constantAlpha + d.b * k)),
              static_cast<uint8_t>(Div255(s.g * constantAlpha + d.g * k)),
              static_cast<uint8_t>(Div255(s.r * constantAlpha + d.r * k)),
              static_cast<uint8_t>(Div255(s.a * constantAlpha + d.a * k))};
}

}  // namespace glider::core::gdi
