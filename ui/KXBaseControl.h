// Root of the self-drawn controls: a rectangle in its form's client area.
#pragma once

#include <string>

#include "platform/winuser.h"

class CKXForm;

class CKXBaseControl {
 public:
  CKXBaseControl();
  virtual ~CKXBaseControl();
  virtual bool OnLButtonDown(UINT keyFlags, const POINT* pt);
  virtual bool OnLButtonUp(UINT keyFlags, const POINT* pt);
  virtual bool OnMouseMove(UINT keyFlags, const POINT* pt);
  virtual bool OnLButtonDblClk(UINT keyFlags, const POINT* pt);
  virtual bool OnMouseWheel(WPARAM wheelAndKeys, const POINT* pt);
  virtual void Paint(HDC dc);
  virtual void SetRect(const RECT* r);
  virtual void SetAnchorRect(const RECT* r);
  virtual RECT* GetRect(RECT* out);
  virtual std::wstring& GetControlClass(std::wstring& out);
  virtual void Relayout(const POINT* offset);
  virtual bool HitTest(const POINT* pt);
  virtual void SetOwner(CKXForm* owner);
  virtual void SetVisible(bool visible, bool redraw);
  virtual void SetEnabled(bool enabled, bool redraw);
  virtual void Redraw();
  virtual LRESULT ReservedHook(WPARAM, WPARAM, WPARAM, WPARAM, WPARAM);

  RECT bounds{0, 0, 0, 0};
  HWND hwnd = nullptr;
  HCURSOR cursor;
  CKXForm* owner = nullptr;
  std::wstring className = L"CKXBaseControl";
  RECT anchorRect{0, 0, 0, 0};
  bool visible = true;
  bool enabled = true;
  bool postPaint = false;

 protected:
  void ShowCursor() const;
};
