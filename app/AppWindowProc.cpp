#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "forms/FormGame.h"
#include "forms/FormThirdLogin.h"
#include "platform/winresource.h"

namespace {

void EnterGame(CGlobalModule& m) {
  if (m.formGame && IsWindow(m.formGame->GetHwnd())) {
    // One game at a time: a second request brings the running game forward.
    m.formGame->RestoreAndActivate();
    return;
  }
  m.formGame = new CFormGame();
  RECT bounds{0, 0, 1250, 700};
  m.formGame->SetRect(&bounds);
  m.formGame->Init(m.formLogin.GetEnterGameUrl().c_str());
  m.formGame->FillWorkArea();
  ShowWindow(m.formLogin.GetHwnd(), SW_HIDE);
  ShowWindow(m.formBack.GetHwnd(), SW_HIDE);
}

void OpenThirdLogin(CGlobalModule& m) {
  if (m.formThirdLogin) {
    SendMessageW(m.formThirdLogin->GetHwnd(), WM_CLOSE_THIRD_LOGIN, 0, 0);
    delete m.formThirdLogin;  // its window is gone now
  }
  m.formThirdLogin = new CFormThirdLogin();
  RECT bounds{0, 0, 800, 600};
  m.formThirdLogin->SetRect(&bounds);
  m.formThirdLogin->Init(m.formLogin.GetThirdLoginUrl().c_str());
  m.formThirdLogin->ShowAndLayout();
}

LRESULT GameDestroyed(CGlobalModule& m, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CFormGame* game = m.formGame;
  game->HandleMessage(hwnd, msg, wParam, lParam);
  m.formGame = nullptr;
  m.RetireGameForm(game);
  m.formLogin.ReloadLoginPage();
  HWND back = m.formBack.GetHwnd();
  HWND login = m.formLogin.GetHwnd();
  SetWindowPos(back, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
  ShowWindow(back, SW_SHOWNA);
  ShowWindow(login, SW_SHOWNA);
  SetForegroundWindow(login);
  m.formLogin.RedrawControls();
  return 0;
}

}  // namespace

LRESULT AppWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CGlobalModule& m = Module();
  if (msg == WM_ENTER_GAME) {
    EnterGame(m);
    return 0;
  }
  if (msg == WM_OPEN_THIRD_LOGIN) OpenThirdLogin(m);

  if (m.formThirdLogin && hwnd == m.formThirdLogin->GetHwnd())
    return m.formThirdLogin->HandleMessage(hwnd, msg, wParam, lParam);
  if (hwnd == m.formBack.GetHwnd()) return m.formBack.HandleMessage(hwnd, msg, wParam, lParam);
  if (hwnd == m.formLogin.GetHwnd()) return m.formLogin.HandleMessage(hwnd, msg, wParam, lParam);
  if (m.formGame && hwnd == m.formGame->GetHwnd()) {
    if (msg != WM_DESTROY) return m.formGame->HandleMessage(hwnd, msg, wParam, lParam);
    return GameDestroyed(m, hwnd, msg, wParam, lParam);
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ATOM RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(WNDCLASSEXW);
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = AppWindowProc;
  wc.hInstance = instance;
#ifdef GLIDER_LIBRARY
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(136));
#else
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(151));
#endif
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(COLOR_WINDOW + 1));
  wc.lpszClassName = Module().windowClass;
  return RegisterClassExW(&wc);
}
