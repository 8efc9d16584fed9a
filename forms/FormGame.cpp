#include "forms/FormGame.h"

#include "app/GlobalModule.h"
#include "app/Messages.h"

CFormGame::~CFormGame() = default;

bool CFormGame::Init(const wchar_t* url) {
  CGlobalModule& m = Module();
  address = url ? url : L"";
  Create(m.windowClass, m.title, m.hInstance, nullptr);
  DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>((style & 0xFF3AFFFF) | 0x000A0000));
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
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int x = (bounds.left + work.right - bounds.right) / 2;
  int y = (bounds.top + work.bottom - bounds.bottom) / 2;
  SetWindowPos(window, HWND_TOP, x, y, bounds.right - bounds.left, bounds.bottom - bounds.top, SWP_SHOWWINDOW);
  LayoutControls();
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  fillsWorkArea = false;
  return true;
}

void CFormGame::LayoutControls() { UpdateWindow(window); }

void CFormGame::OnWebNotify(unsigned int, WebNotifyWord, WebNotifyParam) {}

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
  if (CKXForm::HandleMessage(hwnd, message, wParam, lParam) == 0) return 0;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool CFormGame::PreTranslateMessage(MSG*) { return false; }
