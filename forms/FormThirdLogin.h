// The social login window: a resizable popup with its own frame and the social page.
#pragma once

#include <string>

#include "browser/BrowserView.h"
#include "browser/SuperCall.h"
#include "browser/WebNotify.h"
#include "ui/KXForm.h"

class CFormThirdLogin : public CKXForm {
 public:
  ~CFormThirdLogin() override;
  bool OnLButtonDown(UINT keyFlags, const POINT* pt) override;
  bool OnLButtonUp(UINT keyFlags, const POINT* pt) override;
  bool OnMouseMove(UINT keyFlags, const POINT* pt) override;
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg) override;
  virtual bool Init(const wchar_t* address);

  bool ShowAndLayout();
  void Layout();
  void OnWebNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam);
  void OnSuperCall(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam);

  void OnTitle();

  CBrowserView view;
  CKXSuperCall bridge;
  std::wstring address;
};
