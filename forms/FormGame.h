// The game window: the game page over the work area or in a smaller window.
#pragma once

#include <string>

#include "browser/BrowserView.h"
#include "browser/WebNotify.h"
#include "ui/KXForm.h"

class CFormGame : public CKXForm {
 public:
  ~CFormGame() override;
  bool OnLButtonDown(UINT keyFlags, const POINT* pt) override;
  bool OnLButtonUp(UINT keyFlags, const POINT* pt) override;
  bool OnLButtonDblClk(UINT keyFlags, const POINT* pt) override;
  void OnActivate() override;
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg) override;
  virtual bool ConfirmExit();
  virtual bool Init(const wchar_t* address);

  bool FillWorkArea();
  bool ShowWindowed();
  void LayoutControls();
  bool CallPageFunction(const wchar_t* name, int first, int second);
  int CaptionHeight() const;
  void OnTitle(const wchar_t* title);
  // Closes the window once the current event has returned.
  static constexpr UINT kCloseNow = WM_USER + 300;
  void OnWebNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam);

  CBrowserView view;
  std::wstring address;
  bool iconShown = false;
  bool fillsWorkArea = false;
  bool firstClickDone = false;
};
