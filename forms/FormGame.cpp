#include "forms/FormGame.h"

#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "browser/PageCall.h"
#include "platform/shellapi.h"
#include "util/Processes.h"

CFormGame::~CFormGame() = default;

bool CFormGame::Init(const wchar_t* url) {
  CGlobalModule& m = Module();
  address = url ? url : L"";
  Create(m.windowClass, m.title, m.hInstance, nullptr);
  DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & 0xFF3AFFFF) | 0x000A0000));
  view.CreateBrowser(L"about:blank", window, RECT{308, 170, 910, 547});
  Subscribe(view.notify, this, &CFormGame::OnWebNotify);
  view.blockNewWindows = true;
  view.Navigate(address, "");
  return true;
}

bool CFormGame::ConfirmExit() {
  return MessageBoxW(window, L"正在游戏中，确认退出？", kPromptCaption, MB_YESNO | MB_DEFBUTTON2) == IDYES;
}

bool CFormGame::FillWorkArea() {
  if (!IsWindow(window)) return false;
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(window, HWND_TOP, 0, 0, work.right, work.bottom, SWP_SHOWWINDOW);
  LayoutControls();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  fillsWorkArea = true;
  return true;
}

bool CFormGame::ShowWindowed() {
  if (!IsWindow(window)) return false;
  PlaceAtBoundsCentered();
  LayoutControls();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  fillsWorkArea = false;
  return true;
}

void CFormGame::LayoutControls() {
  RECT client{};
  GetClientRect(window, &client);
  int top = CaptionHeight();
  SetWindowPos(view.m_hWnd, nullptr, 0, top, client.right, client.bottom - top,
               SWP_NOZORDER | SWP_SHOWWINDOW);
  UpdateWindow(window);
}

int CFormGame::CaptionHeight() const { return 27; }

bool CFormGame::CallPageFunction(const wchar_t* name, int first, int second) {
  return ::CallPageFunction(view, name, first, second);
}

void CFormGame::OnWebNotify(unsigned int code, WebNotifyWord, WebNotifyParam lParam) {
  switch (code) {
    case WN_BEFORE_NAVIGATE:
      // Closed once the view's event has returned: the view must not be destroyed
      // from inside its own navigation callback.
      if (view.GetLastUrl().find(L"wd_returnlogin=1") != std::wstring::npos)
        PostMessageW(window, kCloseNow, 0, 0);
      return;
    case WN_TITLE_CHANGE:
      OnTitle(reinterpret_cast<const wchar_t*>(lParam));
      return;
    case WN_NAVIGATE_BLOCKED:
#ifdef GLIDER_LIBRARY
      if (reinterpret_cast<intptr_t>(
              ShellExecuteW(nullptr, L"open", view.GetLastUrl().c_str(), nullptr, nullptr, SW_SHOW)) <= 32)
        ShellExecuteW(nullptr, L"open", L"iexplore", view.GetLastUrl().c_str(), nullptr, SW_SHOW);
#else
      OpenInBrowser(view.GetLastUrl());
#endif
      return;
    default:
      return;
  }
}

void CFormGame::OnTitle(const wchar_t*) {}

bool CFormGame::OnLButtonDown(UINT keyFlags, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  return c->OnLButtonDown(keyFlags, pt);
}

bool CFormGame::OnLButtonUp(UINT keyFlags, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  c->OnLButtonUp(keyFlags, pt);
  return false;
}

bool CFormGame::OnLButtonDblClk(UINT, const POINT*) { return false; }

void CFormGame::OnActivate() { LayoutControls(); }

LRESULT CFormGame::HandleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    // The game asks before it closes; the base handling would close at once.
    if (MessageBoxW(window, kConfirmExitText, kPromptCaption, MB_YESNO | MB_DEFBUTTON2) == IDYES) Close();
    return 0;
  }
  if (message == kCloseNow) {
    Close();
    return 0;
  }
  if (CKXForm::HandleMessage(hwnd, message, wParam, lParam) == 0) return 0;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool CFormGame::PreTranslateMessage(MSG* msg) {
  UINT m = msg->message;
#ifdef GLIDER_LIBRARY
  if ((m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST))
    return view.PreTranslateMessage(msg) != FALSE;
  return false;
#else
  if (m >= WM_KEYFIRST && m <= WM_KEYLAST) return view.PreTranslateMessage(msg) != FALSE;
  if (m < WM_MOUSEFIRST || m > WM_MOUSELAST) return false;
  int x = LOWORD(static_cast<uintptr_t>(msg->lParam));
  int y = HIWORD(static_cast<uintptr_t>(msg->lParam));
  if (m == WM_RBUTTONDOWN || m == WM_RBUTTONUP) {
    // The page sees the right button only through its two functions.
    CallPageFunction(m == WM_RBUTTONDOWN ? L"jjssyyllDown" : L"jjssyyllUp", x, y);
    return true;
  }
  if (m == WM_LBUTTONDOWN && !firstClickDone) {
    firstClickDone = true;
    CallPageFunction(L"7A0E52B9C61F03E8A4D7B250C9E1", 0, 0);
  }
  return view.PreTranslateMessage(msg) != FALSE;
#endif
}
