#include "platform/atlimage.h"

#include <vector>

#include "platform/core/gdi/png_picture.h"

namespace ATL {

CImage& CImage::operator=(const CImage& other) {
  if (this != &other) {
    Destroy();
    CopyFrom(other);
  }
  return *this;
}

void CImage::CopyFrom(const CImage& other) {
  bitmap_ = other.bitmap_;
  width_ = other.width_;
  height_ = other.height_;
  bpp_ = other.bpp_;
  pitch_ = other.pitch_;
  bits_ = other.bits_;
  hasAlpha_ = other.hasAlpha_;
  owns_ = false;  // the original keeps the bitmap
}

BOOL CImage::Create(int width, int height, int bitsPerPixel, DWORD flags) {
  return CreateEx(width, height, bitsPerPixel, BI_RGB, nullptr, flags);
}

BOOL CImage::CreateEx(int width, int height, int bitsPerPixel, DWORD compression, const DWORD*, DWORD flags) {
  Destroy();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
  info.bmiHeader.biCompression = compression;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return FALSE;
  Attach(bitmap);
  hasAlpha_ = (flags & createAlphaChannel) != 0 && bitsPerPixel == 32;
  return TRUE;
}

void CImage::Destroy() {
  if (dc_ != nullptr) {
    SelectObject(dc_, oldBitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    oldBitmap_ = nullptr;
    dcRefs_ = 0;
  }
  if (owns_ && bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = bpp_ = pitch_ = 0;
  bits_ = nullptr;
  hasAlpha_ = false;
  owns_ = false;
}

bool CImage::ReadSection(HBITMAP bitmap) {
  DIBSECTION ds{};
  if (GetObjectW(bitmap, sizeof(ds), &ds) != sizeof(ds)) return false;
  auto* base = static_cast<uint8_t*>(ds.dsBm.bmBits);
  const bool bottomUp = ds.dsBmih.biHeight > 0;
  width_ = ds.dsBm.bmWidth;
  height_ = ds.dsBm.bmHeight;
  bpp_ = ds.dsBm.bmBitsPixel;
  pitch_ = bottomUp ? -ds.dsBm.bmWidthBytes : ds.dsBm.bmWidthBytes;
  bits_ = bottomUp ? base + static_cast<ptrdiff_t>(height_ - 1) * ds.dsBm.bmWidthBytes : base;
  return true;
}

void CImage::Attach(HBITMAP bitmap, DIBOrientation) {
  Destroy();
  if (bitmap == nullptr || !ReadSection(bitmap)) return;
  bitmap_ = bitmap;
  owns_ = true;
}

HBITMAP CImage::Detach() {
  HBITMAP bitmap = bitmap_;
  owns_ = false;
  Destroy();
  return bitmap;
}

HRESULT CImage::Load(const void* data, size_t size) {
  Destroy();
  glider::core::PngPicture picture;
  if (!glider::core::DecodePng(data, size, &picture)) return E_FAIL;
  HBITMAP bitmap = glider::core::CreateBitmapFromPng(picture);
  if (bitmap == nullptr) return E_OUTOFMEMORY;
  Attach(bitmap);
  hasAlpha_ = picture.alpha;
  return S_OK;
}

HRESULT CImage::Load(IStream* stream) {
  if (stream == nullptr) return E_POINTER;
  std::vector<uint8_t> bytes;
  uint8_t chunk[65536];
  for (;;) {
    ULONG read = 0;
    const HRESULT hr = stream->Read(chunk, sizeof(chunk), &read);
    if (FAILED(hr)) return hr;
    bytes.insert(bytes.end(), chunk, chunk + read);
    if (read == 0 || hr == S_FALSE) break;
  }
  return Load(bytes.data(), bytes.size());
}

void* CImage::GetPixelAddress(int x, int y) {
  if (bits_ == nullptr) return nullptr;
  return static_cast<uint8_t*>(bits_) + static_cast<ptrdiff_t>(y) * pitch_ + x * bpp_ / 8;
}

HDC CImage::GetDC() const {
  if (bitmap_ == nullptr) return nullptr;
  if (dcRefs_++ == 0) {
    dc_ = CreateCompatibleDC(nullptr);
    oldBitmap_ = SelectObject(dc_, bitmap_);
  }
  return dc_;
}

void CImage::ReleaseDC() const {
  if (dcRefs_ == 0 || --dcRefs_ > 0) return;
  SelectObject(dc_, oldBitmap_);
  DeleteDC(dc_);
  dc_ = nullptr;
  oldBitmap_ = nullptr;
}

}  // namespace ATL
