#include "platform/core/gdi/png_picture.h"

#include <png.h>

#include <cstring>

namespace glider::core {

bool DecodePng(const void* data, size_t size, PngPicture* out) {
  if (data == nullptr || size == 0 || out == nullptr) return false;
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size)) return false;
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    return false;
  }
  const bool alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  out->width = static_cast<int>(image.width);
  out->height = static_cast<int>(image.height);
  out->alpha = alpha;
  out->pixels.swap(pixels);
  return true;
}

HBITMAP CreateBitmapFromPng(const PngPicture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return nullptr;
  const int bpp = picture.alpha ? 32 : 24;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = picture.height;  // bottom-up
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bpp);
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  const size_t rowBytes = static_cast<size_t>(picture.width) * bpp / 8;
  const size_t stride = ((static_cast<size_t>(picture.width) * bpp + 31) / 32) * 4;
  auto* base = static_cast<uint8_t*>(bits);
  for (int y = 0; y < picture.height; ++y)
    std::memcpy(base + (picture.height - 1 - y) * stride, picture.pixels.data() + y * rowBytes, rowBytes);
  return bitmap;
}

}  // namespace glider::core
