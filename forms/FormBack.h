// The background window: a layered shadow beneath the login window that moves with it.
#pragma once

#include "ui/KXForm.h"
#include "ui/KXImage.h"

class CFormBack : public CKXForm {
 public:
  bool OnLButtonDown(UINT keyFlags, const POINT* pt) override;
#if defined(GLIDER_LIBRARY)
  void Paint(HDC dc) override;
#endif
  void OnMove() override;
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual bool Init();

  void ShowBackground(bool keepPosition);

#if defined(GLIDER_LIBRARY)
  CKXImage backImage;
  CKXImageAnimate animation;
#endif

 private:
  // Gives the layered window its content: the shadow picture, or the children drawn
  // off-screen in the shared-library build. moveToOrigin as the first rendering does.
  void RenderLayered(bool moveToOrigin);
};
