// A line of text in its bounds, with its own font, optional width from the text,
// shortening with "..." and hover colours; the button builds on it.
#pragma once

#include <string>

#include "platform/wingdi.h"
#include "ui/KXBaseControl.h"

class CKXLabel : public CKXBaseControl {
 public:
  CKXLabel();
  ~CKXLabel() override;
  bool OnMouseMove(UINT keyFlags, const POINT* pt) override;
  void Paint(HDC dc) override;

  virtual void SetText(const wchar_t* text, bool redraw);
  virtual void SetFontSize(int size, int exactSize, bool redraw);
  virtual void SetFontFace(const wchar_t* face, bool redraw);
  virtual void SetHoverUnderline(int normal, int hover, bool redraw);
  virtual void SetUnderline(int on, bool redraw);
  virtual std::wstring GetText();
  virtual void SetStateColors(COLORREF normal, COLORREF hover, COLORREF checked, bool redraw);
  virtual void SetHoverColors(COLORREF normal, COLORREF hover, bool redraw);
  virtual void SetTextColor(COLORREF color, bool redraw);
  virtual void SetDisabledColor(COLORREF color);
  virtual void SetBackColor(COLORREF color, bool opaque);
  virtual void SetFont(HFONT font);
  virtual void SetFormat(UINT flags);
  virtual void SetAutoWidth(bool on, int maxWidth);
  virtual int GetTextWidth();
  virtual void SetBold(bool bold, bool redraw);
  virtual void SetTailLength(int count);

  std::wstring text;
  int fontSize = 12;
  std::wstring fontFace = L"宋体";
  int underline = 0;
  COLORREF textColor = 0;
  COLORREF backColor = 0;
  bool opaque = false;
  HFONT font = nullptr;
  bool fontDirty = false;
  UINT format = 0;
  bool autoWidth = true;
  int maxWidth = 0;
  int cachedWidth = -1;
  int weight = 0;
  int tailLength = 0;
  bool hoverEffects = false;
  bool threeColors = false;
  bool hovering = false;
  int hoverUnderline = 0;
  int normalUnderline = 0;
  COLORREF checkedColor = 0;
  COLORREF hoverColor = 0;
  COLORREF normalColor = 0;
  COLORREF disabledColor = 0xAAAAAA;

 protected:
  // Rebuilds the font when a setter changed it; the font to select, or null.
  HFONT BuildFont();
  // Before a setter that changes the text's extent: measure again from a wide rectangle.
  void WidenForText();
  // The text as it fits in a rectangle ending at `right`: a prefix, "..." and the last
  // tail characters, the first candidate reaching right - 16 (see the label's Paint).
  static std::wstring Shorten(HDC dc, const std::wstring& text, const RECT& measure, int right, int tail);
  // Draws one line centred vertically in r.
  static void DrawLine(HDC dc, const std::wstring& line, RECT r, int textHeight, UINT format);
  // The right edge and height the text takes when drawn from r.left.
  static RECT Measure(HDC dc, const std::wstring& text, const RECT& r);
};
