#include "forms/FormLogin.h"

#include "app/GlobalModule.h"
#include "app/Messages.h"

CFormLogin::~CFormLogin() = default;

bool CFormLogin::Init() {
  CGlobalModule& m = Module();
  Create(m.windowClass, m.title, m.hInstance, m.formBack.GetHwnd());
  InitSkin();
  return true;
}

void CFormLogin::OnWebNotify(unsigned int, WebNotifyWord, WebNotifyParam) {}

void CFormLogin::ReloadLoginPage() { returning = true; }

void CFormLogin::PassThirdLoginResult() {}

bool CFormLogin::OnLButtonDown(UINT keyFlags, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  return c->OnLButtonDown(keyFlags, pt);
}

bool CFormLogin::OnLButtonUp(UINT keyFlags, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  c->OnLButtonUp(keyFlags, pt);
  return false;
}

LRESULT CFormLogin::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (CKXForm::HandleMessage(hwnd, message, wParam, lParam) == 0) return 0;
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_CONFIRM_EXIT:
      if (MessageBoxW(window, kConfirmExitText, kPromptCaption, MB_YESNO | MB_DEFBUTTON2) == IDYES) {
        PostQuitMessage(0);
        Close();
      }
      return 0;
    case WM_EXIT_APP:
      Close();
      return 0;
    case WM_THIRD_LOGIN_DONE:
      PassThirdLoginResult();
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

bool CFormLogin::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    SetWindowPos(Module().formBack.GetHwnd(), nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE);
  }
  return false;
}
