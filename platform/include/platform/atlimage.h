// The image class over a DIB section. Decodes PNG pictures: one with alpha
// becomes 32 bits per pixel (B, G, R, A) with the alpha flag set; one without
// keeps 24 bits per pixel. Rows are bottom-up as with the Windows class, so the
// pitch is negative and the bits pointer is the first (top) row.
//
// Copying an image is shallow: the copy shares the bitmap and never releases
// it; only the image that created or attached the bitmap owns it.
#pragma once

#include "platform/objidl.h"
#include "platform/wingdi.h"

namespace ATL {

class CImage {
 public:
  enum DIBOrientation { DIBOR_DEFAULT, DIBOR_BOTTOMUP, DIBOR_TOPDOWN };
  static constexpr DWORD createAlphaChannel = 0x01;

  CImage() = default;
  ~CImage() { Destroy(); }
  CImage(const CImage& other) { CopyFrom(other); }
  CImage& operator=(const CImage& other);

  // Creates a zeroed DIB section; a negative height makes it top-down.
  BOOL Create(int width, int height, int bitsPerPixel, DWORD flags = 0);
  BOOL CreateEx(int width, int height, int bitsPerPixel, DWORD compression, const DWORD* bitMasks = nullptr,
                DWORD flags = 0);
  // Releases the bitmap if this image owns it, and empties the image.
  void Destroy();
  // Takes ownership of a DIB section.
  void Attach(HBITMAP bitmap, DIBOrientation orientation = DIBOR_DEFAULT);
  HBITMAP Detach();

  HRESULT Load(IStream* stream);
  HRESULT Load(const void* data, size_t size);

  bool IsNull() const { return bitmap_ == nullptr; }
  operator HBITMAP() const { return bitmap_; }
  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetBPP() const { return bpp_; }
  int GetPitch() const { return pitch_; }
  void* GetBits() { return bits_; }
  const void* GetBits() const { return bits_; }
  void* GetPixelAddress(int x, int y);
  bool IsDIBSection() const { return bitmap_ != nullptr; }
  bool HasAlphaChannel() const { return hasAlpha_; }
  void SetHasAlphaChannel(bool hasAlpha) { hasAlpha_ = hasAlpha; }

  // A memory DC with the bitmap selected; nested calls share it.
  HDC GetDC() const;
  void ReleaseDC() const;

 private:
  void CopyFrom(const CImage& other);
  bool ReadSection(HBITMAP bitmap);

  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 0;
  int pitch_ = 0;
  void* bits_ = nullptr;
  bool hasAlpha_ = false;
  bool owns_ = false;
  mutable HDC dc_ = nullptr;
  mutable HGDIOBJ oldBitmap_ = nullptr;
  mutable int dcRefs_ = 0;
};

}  // namespace ATL

using ATL::CImage;
