#include "ui/KXLabel.h"

namespace {

constexpr int kWideForText = 800;
constexpr int kEllipsisSlack = 16;

}  // namespace

CKXLabel::CKXLabel() { className = L"CKXLabel"; }

CKXLabel::~CKXLabel() {
  if (font) DeleteObject(font);
}

HFONT CKXLabel::BuildFont() {
  if (fontDirty) {
    if (font) DeleteObject(font);
    font = CreateFontW(fontSize, 0, 0, 0, weight, FALSE, static_cast<DWORD>(underline), FALSE, 0, 0, 0, 0,
                       0x20, fontFace.c_str());
    fontDirty = false;
  }
  return font;
}

void CKXLabel::WidenForText() {
  if (autoWidth) bounds.right = bounds.left + kWideForText;
}

RECT CKXLabel::Measure(HDC dc, const std::wstring& s, const RECT& r) {
  RECT calc = r;
  const int height = DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &calc, DT_CALCRECT);
  calc.bottom = calc.top + height;
  return calc;
}

std::wstring CKXLabel::Shorten(HDC dc, const std::wstring& s, const RECT& measure, int right, int tail) {
  const int length = static_cast<int>(s.size());
  if (tail >= length) return s;
  const std::wstring end = L"..." + s.substr(static_cast<size_t>(length - tail));
  std::wstring candidate;
  for (int i = 0; tail + i < length; ++i) {
    candidate = s.substr(0, static_cast<size_t>(i)) + end;
    if (Measure(dc, candidate, measure).right + kEllipsisSlack > right) break;
  }
  return candidate;
}

void CKXLabel::DrawLine(HDC dc, const std::wstring& line, RECT r, int textHeight, UINT fmt) {
  const int shrink = (r.bottom - r.top - textHeight) / 2;
  r.top += shrink;
  r.bottom -= shrink;
  DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, fmt);
}

void CKXLabel::Paint(HDC dc) {
  if (!visible) return;
  const int saved = SaveDC(dc);
  ::SetBkColor(dc, backColor);
  SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
  ::SetTextColor(dc, enabled ? textColor : disabledColor);
  if (HFONT f = BuildFont()) SelectObject(dc, f);
  const RECT calc = Measure(dc, text, bounds);
  if (autoWidth) {
    const int w = calc.right - calc.left;
    bounds.right = bounds.left + (maxWidth > 0 && w > maxWidth ? maxWidth : w);
  }
  const std::wstring line = calc.right > bounds.right ? Shorten(dc, text, bounds, bounds.right, 0) : text;
  DrawLine(dc, line, bounds, calc.bottom - calc.top, format);
  RestoreDC(dc, saved);
}

bool CKXLabel::OnMouseMove(UINT keyFlags, const POINT* pt) {
  CKXBaseControl::OnMouseMove(keyFlags, pt);
  if (!hoverEffects) return false;
  const bool inside = HitTest(pt);
  if (inside && !hovering) {
    hovering = true;
    SetUnderline(hoverUnderline, false);
    SetTextColor(hoverColor, true);
  } else if (!inside && hovering) {
    hovering = false;
    SetUnderline(normalUnderline, false);
    SetTextColor(normalColor, true);
  }
  return false;
}

void CKXLabel::SetText(const wchar_t* s, bool redraw) {
  WidenForText();
  text = s ? s : L"";
  fontDirty = true;
  cachedWidth = -1;
  if (redraw) Redraw();
}

void CKXLabel::SetFontSize(int size, int exactSize, bool redraw) {
  WidenForText();
  fontSize = exactSize > 0 ? exactSize : fontFace == L"微软雅黑" ? size - 5 : size;
  fontDirty = true;
  if (redraw) Redraw();
}

void CKXLabel::SetFontFace(const wchar_t* face, bool redraw) {
  WidenForText();
  fontFace = face ? face : L"";
  fontDirty = true;
  if (redraw) Redraw();
}

void CKXLabel::SetHoverUnderline(int normal, int hover, bool redraw) {
  hoverEffects = true;
  normalUnderline = normal;
  hoverUnderline = hover;
  underline = normal;
  if (redraw) Redraw();
}

void CKXLabel::SetUnderline(int on, bool redraw) {
  underline = on;
  fontDirty = true;
  if (redraw) Redraw();
}

std::wstring CKXLabel::GetText() { return text; }

void CKXLabel::SetStateColors(COLORREF normal, COLORREF hover, COLORREF checked, bool redraw) {
  hoverEffects = true;
  threeColors = true;
  normalColor = normal;
  hoverColor = hover;
  checkedColor = checked;
  textColor = normal;
  if (redraw) Redraw();
}

void CKXLabel::SetHoverColors(COLORREF normal, COLORREF hover, bool redraw) {
  hoverEffects = true;
  normalColor = normal;
  hoverColor = hover;
  textColor = normal;
  if (redraw) Redraw();
}

void CKXLabel::SetTextColor(COLORREF color, bool redraw) {
  if (color == textColor) return;
  textColor = color;
  fontDirty = true;
  if (redraw) Redraw();
}

void CKXLabel::SetDisabledColor(COLORREF color) { disabledColor = color; }

void CKXLabel::SetBackColor(COLORREF color, bool isOpaque) {
  if (color == backColor) return;
  backColor = color;
  opaque = isOpaque;
  Redraw();
}

void CKXLabel::SetFont(HFONT f) {
  if (font) DeleteObject(font);
  font = f;
}

void CKXLabel::SetFormat(UINT flags) {
  format = flags;
  if (flags != 0) autoWidth = false;
}

void CKXLabel::SetAutoWidth(bool on, int max) {
  autoWidth = on;
  maxWidth = max;
}

int CKXLabel::GetTextWidth() {
  if (cachedWidth >= 0) return cachedWidth;
  // Without a window, a memory DC measures the same way.
  HDC windowDc = hwnd ? GetDC(hwnd) : nullptr;
  HDC dc = windowDc ? windowDc : CreateCompatibleDC(nullptr);
  if (dc == nullptr) return 0;
  const int saved = SaveDC(dc);
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, textColor);
  if (HFONT f = BuildFont()) SelectObject(dc, f);
  const RECT calc = Measure(dc, text, bounds);
  RestoreDC(dc, saved);
  if (windowDc)
    ReleaseDC(hwnd, windowDc);
  else
    DeleteDC(dc);
  const int w = calc.right - calc.left;
  cachedWidth = maxWidth != 0 && maxWidth < w ? maxWidth : w;
  return cachedWidth;
}

void CKXLabel::SetBold(bool bold, bool redraw) {
  const int target = bold ? 700 : 0;
  if (target == weight) return;
  weight = target;
  fontDirty = true;
  if (redraw) Redraw();
}

void CKXLabel::SetTailLength(int count) { tailLength = count; }
