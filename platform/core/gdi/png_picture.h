// PNG decoding into DIB sections, shared by the image class, LoadImageW and
// icons. Pixels stay straight (not premultiplied): callers premultiply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/wingdi.h"

namespace glider::core {

struct PngPicture {
  int width = 0;
  int height = 0;
  bool alpha = false;           // the file carries transparency
  std::vector<uint8_t> pixels;  // top-down, tight: BGRA when alpha, else BGR
};

bool DecodePng(const void* data, size_t size, PngPicture* out);
// A bottom-up DIB section: 32 bits per pixel with alpha, else 24.
HBITMAP CreateBitmapFromPng(const PngPicture& picture);

}  // namespace glider::core
