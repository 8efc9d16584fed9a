// The login window: the platform's login page in the client's skin. Destroying it ends
// the client.
#pragma once

#include <string>

#include "browser/BrowserView.h"
#include "browser/WebNotify.h"
#include "ui/KXButton.h"
#include "ui/KXForm.h"
#include "ui/KXImage.h"
#include "ui/KXLabel.h"

class CFormLogin : public CKXForm {
 public:
  ~CFormLogin() override;
  bool OnLButtonDown(UINT keyFlags, const POINT* pt) override;
  bool OnLButtonUp(UINT keyFlags, const POINT* pt) override;
  LRESULT HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  bool PreTranslateMessage(MSG* msg) override;
  virtual bool Init();

  void OnWebNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam);
  void ShowLayout(bool error);
  // The status line's retry link after a failed load.
  void ShowErrorText();
  void ReloadLoginPage();
  void PassThirdLoginResult();
  // Window styles, colour key, frame, buttons and status line (FormLoginSkin.cpp).
  void InitSkin();

  std::wstring GetEnterGameUrl() const { return enterGameUrl; }
  std::wstring GetThirdLoginUrl() const { return thirdLoginUrl; }
  std::wstring GetLoginType() const { return loginType; }
  std::wstring GetServerId() const { return serverId; }
  void SetThirdLogin(const std::string& v) { thirdLogin = v; }
  void SetLoginAccount(const std::string& v) { loginAccount = v; }
  void SetSocialGameUrl(const std::string& v) { socialGameUrl = v; }

  CKXImage frameImage;
  CKXButton closeButton;
  CKXButton minimizeButton;
  CKXButton siteButton;
  CKXButton serviceButton;
  CKXButton payButton;
  CKXButton siteButton2;
  CBrowserView view;
  CKXLabel statusLabel;
  bool retrying = false;
  std::wstring enterGameUrl;
  std::wstring thirdLoginUrl;
  std::string thirdLogin;
  std::string loginAccount;
  std::wstring loginType;
  std::wstring serverId;
  bool returning = false;
  std::string socialGameUrl;
};
