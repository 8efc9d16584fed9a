#include "forms/FormThirdLogin.h"

#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "forms/PageKeys.h"
#include "platform/shellapi.h"
#include "util/Processes.h"

CFormThirdLogin::~CFormThirdLogin() = default;

bool CFormThirdLogin::Init(const wchar_t* url) {
  CGlobalModule& m = Module();
  address = url ? url : L"";
  Create(m.windowClass, m.title, m.hInstance, nullptr);
  DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & 0xFF3AFFFF) | 0x000A0008));
  roundCorners = true;
  UpdateRegion();
  view.CreateBrowser(L"about:blank", window, RECT{0, 0, 1, 1});
  Subscribe(view.notify, this, &CFormThirdLogin::OnWebNotify);
  Subscribe(bridge.notify, this, &CFormThirdLogin::OnSuperCall);
  view.blockNewWindows = true;
  view.Navigate(address, "");
  return true;
}

bool CFormThirdLogin::ShowAndLayout() {
  if (!IsWindow(window)) return false;
  PlaceAtBoundsCentered();
  Layout();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return true;
}

void CFormThirdLogin::Layout() {
  RECT client{};
  GetClientRect(window, &client);
  const int caption = 18;  // the caption picture's height
  SetWindowPos(view.m_hWnd, HWND_TOP, 2, caption + 12, client.right - 4, client.bottom - caption - 14,
               SWP_SHOWWINDOW);
}

void CFormThirdLogin::OnWebNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam) {
  switch (code) {
    case WN_GET_EXTERNAL:
      if (wParam) *reinterpret_cast<IDispatch**>(wParam) = &bridge;
      return;
    case WN_TITLE_CHANGE:
      OnTitle();
      return;
    case WN_NAVIGATE_BLOCKED: {
      std::wstring address = view.GetLastUrl();
#ifdef GLIDER_LIBRARY
      if (reinterpret_cast<intptr_t>(
              ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) <= 32)
        ShellExecuteW(nullptr, L"open", L"iexplore", address.c_str(), nullptr, SW_SHOWNORMAL);
#else
      OpenInBrowser(address);
#endif
      return;
    }
    default:
      return;
  }
}

void CFormThirdLogin::OnTitle() {}

void CFormThirdLogin::OnSuperCall(unsigned int code, WebNotifyWord wParam, WebNotifyParam) {
  std::wstring text = wParam ? reinterpret_cast<const wchar_t*>(wParam) : L"";
  DispatchSuperCall(static_cast<int>(code), text);
}

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

bool CFormThirdLogin::PreTranslateMessage(MSG* msg) {
  if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST) return false;
  return PassKeyToPage(view, msg);
}
