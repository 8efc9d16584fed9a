#include "ui/ResourceImages.h"

#include <cstring>

#include "platform/globalmem.h"

namespace {

const wchar_t kPngType[] = L"PNG";

// Resource bytes go through a global block and a stream, as the image class
// decodes from a stream. False when the block or the stream cannot be had.
bool DecodeResource(HMODULE module, HRSRC found, CImage* image) {
  const void* bytes = LockResource(LoadResource(module, found));
  const DWORD size = SizeofResource(module, found);
  if (bytes == nullptr) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (block == nullptr) return false;
  void* dest = GlobalLock(block);
  if (dest == nullptr) {
    GlobalFree(block);
    return false;
  }
  std::memcpy(dest, bytes, size);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(block, FALSE, &stream) != S_OK || stream == nullptr) {
    GlobalFree(block);
    return false;
  }
  image->Load(stream);
  stream->Release();
  GlobalFree(block);
  return true;
}

// Scales the colour bytes of every pixel of a 32-bit picture by its alpha.
template <class Scale>
void ScaleByAlpha(CImage* image, Scale scale) {
  for (int y = 0; y < image->GetHeight(); ++y) {
    auto* p = static_cast<uint8_t*>(image->GetPixelAddress(0, y));
    for (int x = 0; x < image->GetWidth(); ++x, p += 4) {
      const unsigned a = p[3];
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(scale(p[c], a));
    }
  }
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT Box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

// Runs a blit with the picture selected into a memory DC.
template <class Blit>
bool WithPictureDc(const CImage& picture, Blit blit) {
  if (picture.IsNull()) return false;
  HDC src = CreateCompatibleDC(nullptr);
  if (src == nullptr) return false;
  HGDIOBJ old = SelectObject(src, static_cast<HBITMAP>(picture));
  const bool ok = blit(src) != FALSE;
  SelectObject(src, old);
  DeleteDC(src);
  return ok;
}

}  // namespace

bool LoadPngResource(HINSTANCE module, CImage* image, UINT id) {
  if (image == nullptr) return false;
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), kPngType);
  if (found == nullptr) {
    if (FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP) == nullptr) return false;
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (bitmap != nullptr) image->Attach(bitmap);
    return false;
  }
  if (!DecodeResource(module, found, image)) return false;
  PremultiplyAlpha(image);
  return true;
}

bool PremultiplyAlpha(CImage* image) {
  if (image == nullptr || image->IsNull() || image->GetBPP() != 32) return false;
  ScaleByAlpha(image, [](unsigned c, unsigned a) { return c * a / 255; });
  return true;
}

bool DrawShadowPng(HRSRC resource, HDC target) {
  CImage picture;
  if (resource == nullptr || !DecodeResource(nullptr, resource, &picture)) return false;
  // Only 32-bit pixels carry an alpha byte to scale by.
  if (picture.GetBPP() == 32)
    ScaleByAlpha(&picture, [](unsigned c, unsigned a) { return (c * a + 127) / 255; });
  const RECT whole = WholePicture(picture);
  if (picture.HasAlphaChannel())
    BlendImage(target, picture, whole, whole);
  else
    StretchImage(target, picture, whole, whole);
  return true;
}

RECT WholePicture(const CImage& picture) { return RECT{0, 0, picture.GetWidth(), picture.GetHeight()}; }

bool BlendImageWith(HDC target, const CImage& picture, const RECT& dest, const RECT& src,
                    BYTE constantAlpha) {
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha,
                            static_cast<BYTE>(picture.HasAlphaChannel() ? AC_SRC_ALPHA : 0)};
  return WithPictureDc(picture, [&](HDC s) {
    return AlphaBlend(target, dest.left, dest.top, Width(dest), Height(dest), s, src.left, src.top,
                      Width(src), Height(src), blend);
  });
}

bool BlendImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src) {
  return BlendImageWith(target, picture, dest, src, 255);
}

bool KeyImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src) {
  return WithPictureDc(picture, [&](HDC s) {
    return TransparentBlt(target, dest.left, dest.top, Width(dest), Height(dest), s, src.left, src.top,
                          Width(src), Height(src), kColorKey);
  });
}

bool StretchImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src) {
  return WithPictureDc(picture, [&](HDC s) {
    return StretchBlt(target, dest.left, dest.top, Width(dest), Height(dest), s, src.left, src.top,
                      Width(src), Height(src), SRCCOPY);
  });
}

bool CopyImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src) {
  return WithPictureDc(picture, [&](HDC s) {
    return BitBlt(target, dest.left, dest.top, Width(src), Height(src), s, src.left, src.top, SRCCOPY);
  });
}

bool HorizontalSlicing(const CImage& picture, const RECT& dest, const Insets& in) {
  const int sum = in.left + in.right;
  return sum > 0 && sum < picture.GetWidth() && sum < Width(dest);
}

bool VerticalSlicing(const CImage& picture, const RECT& dest, const Insets& in) {
  const int sum = in.top + in.bottom;
  return sum > 0 && sum < picture.GetHeight() && sum < Height(dest);
}

bool DrawNineGrid(HDC target, const CImage& picture, const RECT& dest, const Insets& in,
                  ImagePrimitive draw) {
  const bool across = HorizontalSlicing(picture, dest, in), down = VerticalSlicing(picture, dest, in);
  if (!across && !down) return false;
  const int W = picture.GetWidth(), H = picture.GetHeight(), w = Width(dest), h = Height(dest);
  const int x0 = dest.left, y0 = dest.top, x1 = dest.right, y1 = dest.bottom;
  const int L = in.left, T = in.top, R = in.right, B = in.bottom;
  // Columns and rows as (destination start, destination size, source start, source size);
  // an unsliced direction is one band over the whole extent.
  struct Band {
    int d, dn, s, sn;
  };
  const Band cols3[] = {{x0, L, 0, L}, {x0 + L, w - L - R, L, W - L - R}, {x1 - R, R, W - R, R}};
  const Band rows3[] = {{y0, T, 0, T}, {y0 + T, h - T - B, T, H - T - B}, {y1 - B, B, H - B, B}};
  const Band col1[] = {{x0, w, 0, W}};
  const Band row1[] = {{y0, h, 0, H}};
  const Band* cols = across ? cols3 : col1;
  const Band* rows = down ? rows3 : row1;
  const int ncols = across ? 3 : 1, nrows = down ? 3 : 1;
  for (int r = 0; r < nrows; ++r)
    for (int c = 0; c < ncols; ++c)
      draw(target, picture, Box(cols[c].d, rows[r].d, cols[c].dn, rows[r].dn),
           Box(cols[c].s, rows[r].s, cols[c].sn, rows[r].sn));
  return true;
}

RECT PlacePicture(const CImage& picture, const RECT& bounds, bool stretch) {
  if (stretch) return bounds;
  const int W = picture.GetWidth(), H = picture.GetHeight();
  const int room = Height(bounds);
  return Box(bounds.left, bounds.top + (H < room ? (room - H) / 2 : 0), W, H);
}
