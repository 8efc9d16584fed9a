#include "forms/FormThirdLogin.h"

#include "app/GlobalModule.h"
#include "app/Messages.h"

CFormThirdLogin::~CFormThirdLogin() = default;

bool CFormThirdLogin::Init(const wchar_t* url) {
  CGlobalModule& m = Module();
  address = url ? url : L"";
  Create(m.windowClass, m.title, m.hInstance, nullptr);
  DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & 0xFF3AFFFF) | 0x000A0008));
  roundCorners = true;
  UpdateRegion();
  return true;
}

bool CFormThirdLogin::ShowAndLayout() {
  if (!IsWindow(window)) return false;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int x = (bounds.left + work.right - bounds.right) / 2;
  int y = (bounds.top + work.bottom - bounds.bottom) / 2;
  SetWindowPos(window, HWND_TOP, x, y, bounds.right - bounds.left, bounds.bottom - bounds.top, SWP_SHOWWINDOW);
  Layout();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return true;
}

void CFormThirdLogin::Layout() {}

void CFormThirdLogin::OnWebNotify(unsigned int, WebNotifyWord, WebNotifyParam) {}
void CFormThirdLogin::OnSuperCall(unsigned int, WebNotifyWord, WebNotifyParam) {}

bool CFormThirdLogin::OnMouseMove(UINT keyFlags, const POINT* pt) {
  bool result = CKXForm::OnMouseMove(keyFlags, pt);
  SizingHitTest(pt, false);
  Layout();
  return result;
}

bool CFormThirdLogin::OnLButtonDown(UINT keyFlags, const POINT* pt) {
  if (SizingHitTest(pt, true)) return true;
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  return c->OnLButtonDown(keyFlags, pt);
}

bool CFormThirdLogin::OnLButtonUp(UINT keyFlags, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  c->OnLButtonUp(keyFlags, pt);
  return false;
}

LRESULT CFormThirdLogin::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (CKXForm::HandleMessage(hwnd, message, wParam, lParam) == 0) return 0;
  if (message == WM_CLOSE_THIRD_LOGIN) {
    Close();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool CFormThirdLogin::PreTranslateMessage(MSG*) { return false; }
