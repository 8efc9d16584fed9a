// A memory DC with a 32-bit DIB section selected, for pixel tests.
#pragma once

#include <cstdint>

#include "platform/wingdi.h"

namespace glider::test {

class Canvas {
 public:
  // bottomUp selects the row order of the DIB section (positive biHeight).
  Canvas(int width, int height, bool bottomUp = false);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Pixel as 0xAARRGGBB (bytes B, G, R, A in memory).
  uint32_t& At(int x, int y);
  void Fill(uint32_t argb);

 private:
  int width_, height_;
  bool bottomUp_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

}  // namespace glider::test
