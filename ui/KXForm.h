// The control that owns a top-level window: creates it, handles its messages, keeps and
// paints its controls, routes the pointer to them and gives the window its shape.
#pragma once

#include <vector>

#include "ui/KXBaseControl.h"

class CKXForm : public CKXBaseControl {
 public:
  CKXForm();
  ~CKXForm() override;

  bool OnLButtonDown(UINT keyFlags, const POINT* pt) override;
  bool OnMouseMove(UINT keyFlags, const POINT* pt) override;
  bool OnMouseWheel(WPARAM wheelAndKeys, const POINT* pt) override;
  void Paint(HDC dc) override;
  void Relayout(const POINT* offset) override;

  virtual bool AddControl(CKXBaseControl* c);
  virtual bool RemoveControl(CKXBaseControl* c);
  virtual bool OnMouseLeave(UINT keyFlags, const POINT* pt);
  virtual bool OnMouseHover(UINT keyFlags, const POINT* pt);
  virtual void OnSize();
  virtual void OnMove();
  virtual void OnActivate();
  virtual void EnsureMouseTracking();
  virtual LRESULT BeginSizing(int edge, HWND target);
  virtual bool Create(const wchar_t* windowClass, const wchar_t* title, HINSTANCE instance, HWND parent);
  virtual bool ShowCentered(int showCommand);
  virtual void Hide();
  virtual void Minimize();
  virtual void RestoreAndActivate();
  virtual bool Close();
  virtual void RedrawControls();
  virtual void ReservedFormHook();
  virtual HWND GetHwnd();
  // 0 when handled, 1 when not.
  virtual LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  virtual bool PreTranslateMessage(MSG* msg);

  CKXBaseControl* ControlAt(const POINT* pt);
  // Shows the window at the size of its bounds in the middle of the work area (whose
  // origin is not added), as the game and social login windows place themselves.
  void PlaceAtBoundsCentered();
  void UpdateRegion();
  bool SizingHitTest(const POINT* pt, bool begin);

  bool tracking = false;
  bool hovered = false;
  bool roundCorners = false;
  HWND window = nullptr;
  std::vector<CKXBaseControl*> children;
};

// The position ShowCentered gives a client of the given size in the work area.
POINT CenteredInWorkArea(const RECT& workArea, const RECT& client);
