// The background window: a layered shadow beneath the login window that moves with it.
#pragma once

#include "ui/KXForm.h"

class CFormBack : public CKXForm {
 public:
  bool OnLButtonDown(UINT keyFlags, const POINT* pt) override;
  void OnMove() override;
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual bool Init();

  void ShowBackground(bool keepPosition);
};
