// Pictures from the module's resources and the drawing rules the controls share:
// whole pictures blended, colour-keyed or copied, and nine-grid drawing.
#pragma once

#include "platform/atlimage.h"
#include "platform/winresource.h"

// Pixels of this colour are left out of pictures without alpha; the login window
// uses it as its transparency key.
constexpr COLORREF kColorKey = RGB(255, 128, 255);

// Nine-grid insets of a picture.
struct Insets {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// True when id was found as a PNG (draw it blended); false when it exists only as
// a bitmap (loaded, draw it with the colour key) or not at all (image stays empty).
bool LoadPngResource(HINSTANCE module, CImage* image, UINT id);
// Premultiplies a 32-bit picture in place (rounding down); false for other depths.
bool PremultiplyAlpha(CImage* image);
// Draws a PNG resource of the program's own module at (0, 0) of target, premultiplied
// with rounding to nearest.
bool DrawShadowPng(HRSRC resource, HDC target);

// The drawing primitives: a source rectangle of the picture into a destination
// rectangle of target. Each selects the picture into a memory DC for the call.
using ImagePrimitive = bool (*)(HDC target, const CImage& picture, const RECT& dest, const RECT& src);
// AlphaBlend, AC_SRC_OVER, constant alpha 255, per pixel when the picture has alpha.
bool BlendImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src);
bool BlendImageWith(HDC target, const CImage& picture, const RECT& dest, const RECT& src, BYTE constantAlpha);
// TransparentBlt with kColorKey.
bool KeyImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src);
// StretchBlt, SRCCOPY.
bool StretchImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src);
// BitBlt, SRCCOPY, at the source's natural size at dest's top-left.
bool CopyImage(HDC target, const CImage& picture, const RECT& dest, const RECT& src);

// Whether insets make horizontal or vertical slicing usable for a picture drawn into dest.
bool HorizontalSlicing(const CImage& picture, const RECT& dest, const Insets& insets);
bool VerticalSlicing(const CImage& picture, const RECT& dest, const Insets& insets);
// Draws the picture over dest keeping its borders unscaled; false (nothing drawn)
// when the insets allow no slicing, so the caller draws the whole picture.
bool DrawNineGrid(HDC target, const CImage& picture, const RECT& dest, const Insets& insets,
                  ImagePrimitive draw);
// The picture's own rectangle (0, 0, width, height).
RECT WholePicture(const CImage& picture);
// Where a whole picture goes in bounds: the bounds when stretching, else its natural
// size at the left edge, centred vertically when it is lower than the bounds.
RECT PlacePicture(const CImage& picture, const RECT& bounds, bool stretch);
