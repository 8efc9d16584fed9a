#include "ui/KXButton.h"

namespace {

// Buttons blend just short of opaque, as the skin was designed with.
constexpr BYTE kButtonAlpha = 254;

}  // namespace

CKXButton::CKXButton() {
  className = L"CKXButton";
  autoWidth = false;
  format = DT_CENTER;
}

CKXButton::~CKXButton() = default;

bool CKXButton::OnLButtonDown(UINT, const POINT*) {
  ShowCursor();
  SetState(kPressed, true);
  return false;
}

bool CKXButton::OnLButtonUp(UINT, const POINT*) {
  ShowCursor();
  SetState(kReleased, true);
  return false;
}

bool CKXButton::OnMouseMove(UINT keyFlags, const POINT* pt) {
  CKXLabel::OnMouseMove(keyFlags, pt);
  SetState(HitTest(pt) ? kHover : kNormal, true);
  return false;
}

int CKXButton::GetImageWidth() {
  if (!currentImage.IsNull()) return currentImage.GetWidth();
  return normalImage.IsNull() ? 0 : normalImage.GetWidth();
}

int CKXButton::GetImageHeight() {
  if (!currentImage.IsNull()) return currentImage.GetHeight();
  return normalImage.IsNull() ? 0 : normalImage.GetHeight();
}

bool CKXButton::Apply(const CImage& picture) {
  if (picture.IsNull()) return false;
  currentImage = picture;
  return true;
}

void CKXButton::SetState(int s, bool redraw) {
  if (s == state) return;
  const bool refresh = s == kRefresh;
  if (!refresh) state = s;
  const bool lit = state != kNormal;
  bool applied = false;
  if (checked) {
    if (threeColors)
      SetTextColor(checkedColor, true);
    else if (hoverEffects)
      SetTextColor(lit ? hoverColor : normalColor, true);
    const CImage& picture = state == kNormal    ? checkedImage
                            : state == kPressed ? checkedPressedImage
                                                : checkedHoverImage;
    applied = Apply(picture) || (refresh && lit && Apply(checkedImage));
  }
  if (!applied) {
    if (hoverEffects) SetTextColor(lit ? hoverColor : normalColor, true);
    const CImage& picture = state == kNormal ? normalImage : state == kPressed ? pressedImage : hoverImage;
    applied = Apply(picture) || (refresh && Apply(normalImage));
  }
  if (visible && enabled && redraw && (applied || refresh)) Redraw();
}

void CKXButton::SetImages(HINSTANCE module, UINT normalId, UINT hoverId, UINT pressedId) {
  hasAlpha = LoadPngResource(module, &normalImage, normalId);
  LoadPngResource(module, &hoverImage, hoverId);
  LoadPngResource(module, &pressedImage, pressedId);
  currentImage = normalImage;
}

void CKXButton::SetChecked(bool on) {
  if (on == checked) return;
  checked = on;
  SetState(kRefresh, true);
}

void CKXButton::SetEnabled(bool on, bool redraw) {
  if (on) {
    if (checked && !checkedImage.IsNull())
      currentImage = checkedImage;
    else if (!normalImage.IsNull())
      currentImage = normalImage;
  } else {
    currentImage = normalImage;
    if (!checked)
      Apply(disabledImage);
    else if (!Apply(checkedDisabledImage))
      Apply(checkedImage);
  }
  CKXBaseControl::SetEnabled(on, redraw);
}

void CKXButton::Paint(HDC dc) {
  if (!visible) return;
  if (!currentImage.IsNull()) {
    const RECT whole = WholePicture(currentImage);
    if (!transparentMode) {
      CopyImage(dc, currentImage, whole, whole);
    } else if (!DrawNineGrid(dc, currentImage, bounds, insets, hasAlpha ? BlendImage : KeyImage)) {
      const RECT dest = PlacePicture(currentImage, bounds, stretch);
      if (hasAlpha)
        BlendImageWith(dc, currentImage, dest, whole, kButtonAlpha);
      else
        KeyImage(dc, currentImage, dest, whole);
    }
  }
  if (!text.empty()) DrawCaption(dc);
}

void CKXButton::DrawCaption(HDC dc) {
  const RECT r{bounds.left + captionInsets.left, bounds.top + captionInsets.top,
               bounds.right - captionInsets.right, bounds.bottom - captionInsets.bottom};
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, enabled ? textColor : disabledColor);
  if (HFONT f = BuildFont()) SelectObject(dc, f);
  const RECT calc = Measure(dc, text, r);
  const std::wstring line =
      calc.right - calc.left > r.right - r.left ? Shorten(dc, text, r, r.right, tailLength) : text;
  DrawLine(dc, line, r, calc.bottom - calc.top, format);
  RestoreDC(dc, saved);
}
