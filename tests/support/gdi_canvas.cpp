#include "tests/support/gdi_canvas.h"

namespace glider::test {

Canvas::Canvas(int width, int height, bool bottomUp) : width_(width), height_(height), bottomUp_(bottomUp) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = bottomUp ? height : -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<uint32_t*>(bits);
  dc_ = CreateCompatibleDC(nullptr);
  old_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
  SelectObject(dc_, old_);
  DeleteDC(dc_);
  DeleteObject(bitmap_);
}

uint32_t& Canvas::At(int x, int y) { return bits_[(bottomUp_ ? height_ - 1 - y : y) * width_ + x]; }

void Canvas::Fill(uint32_t argb) {
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = argb;
}

}  // namespace glider::test
