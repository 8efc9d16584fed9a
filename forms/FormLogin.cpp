#include "forms/FormLogin.h"

#include <json/json.h>

#include "app/Endpoints.h"
#include "app/GlobalModule.h"
#include "app/LaunchModes.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "browser/PageCall.h"
#include "forms/PageKeys.h"
#include "util/Processes.h"
#include "util/Text.h"

CFormLogin::~CFormLogin() = default;

bool CFormLogin::Init() {
  CGlobalModule& m = Module();
  Create(m.windowClass, m.title, m.hInstance, m.formBack.GetHwnd());
  InitSkin();
  view.CreateBrowser(L"about:blank", window, RECT{-100, -100, -50, -50});
  Subscribe(view.notify, this, &CFormLogin::OnWebNotify);
  view.blockNewWindows = true;
  view.Navigate(m.GetLoginUrl(), "");
  view.FocusPage();
  return true;
}

void CFormLogin::OnWebNotify(unsigned int code, WebNotifyWord, WebNotifyParam) {
  CGlobalModule& m = Module();
  const std::wstring url = view.GetLastUrl();
  switch (code) {
    case WN_DOCUMENT_COMPLETE:
      m.reporter.SendActiveReport();
      if (!IsActivated()) SetActivated();
      return;
    case WN_NAVIGATE_ERROR:
      if (returning) return;
      WriteIniString(L"Error", L"ErrorUrl", url);
      ShowLayout(true);
      m.formBack.ShowBackground(retrying);
      return;
    case WN_BEFORE_NAVIGATE: {
      size_t at = url.find(L"wd_username=");
      if (at != std::wstring::npos) m.userName = url.substr(at + 12);
      m.gameServer.clear();
      if (url.find(L"wd_entergame=1") != std::wstring::npos) {
        std::wstring server = GetUrlParam(L"wd_server", url);
        if (!server.empty()) m.gameServer = server;
        view.cancelNavigation = true;
        enterGameUrl = url;
        PostMessageW(window, WM_ENTER_GAME, 0, 0);
      }
      return;
    }
    case WN_NAVIGATE_COMPLETE:
      if (returning) return;
      ShowLayout(false);
      m.formBack.ShowBackground(retrying);
      m.SubmitVersionFileTask();
      return;
    case WN_NAVIGATE_BLOCKED:
      if (url.find(L"wd_thirdlogin") != std::wstring::npos) {
        loginType = GetUrlParam(L"otype", url);
        serverId = GetUrlParam(L"server_id", url);
        view.cancelNavigation = true;
        thirdLoginUrl = url;
        PostMessageW(window, WM_OPEN_THIRD_LOGIN, 0, 0);
      } else {
        OpenInBrowser(url);
      }
      return;
    default:
      return;
  }
}

void CFormLogin::ShowLayout(bool error) {
  CGlobalModule& m = Module();
  DWORD ex = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  ex = (ex & ~0x00040000u) | 0x00000080 | (m.topMost == 1 ? WS_EX_TOPMOST : 0);
  SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(ex));
  RECT work{}, client{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetClientRect(window, &client);
  if (error) {
    SetWindowPos(view.m_hWnd, nullptr, -100, -100, 50, 50, SWP_NOZORDER | SWP_NOREDRAW);
    ShowErrorText();
  } else {
    SetWindowPos(view.m_hWnd, nullptr, 312, 301, 640, 363, SWP_NOZORDER | SWP_NOREDRAW);
  }
  POINT p = CenteredInWorkArea(work, client);
  if (!retrying) ShowWindow(window, SW_HIDE);
  SetWindowPos(window, m.topMost == 1 ? HWND_TOPMOST : HWND_TOP, p.x, p.y, 0, 0, retrying ? 0x4B : 0x49);
  ShowWindow(window, SW_SHOWNORMAL);
}

void CFormLogin::ShowErrorText() {
  statusLabel.SetText(L"检测到您的网络异常，点击这里重试！", true);
  statusLabel.cursor = LoadCursorW(nullptr, IDC_HAND);
}

void CFormLogin::ReloadLoginPage() {
  returning = true;
  view.Navigate(Module().GetLoginUrl(), "");
}

void CFormLogin::PassThirdLoginResult() {
  Json::Value result(Json::objectValue);
  result["thirdlogin"] = thirdLogin;
  result["loginaccount"] = loginAccount;
  result["gameurl"] = socialGameUrl;
  Json::StyledWriter writer;
  InvokeWebSuperCall(writer.write(result), view);
}

bool CFormLogin::OnLButtonDown(UINT keyFlags, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  if (c == &frameImage) {
    SendMessageW(window, WM_SYSCOMMAND, SC_MOVE + 1, 0);
    return true;
  }
  return c->OnLButtonDown(keyFlags, pt);
}

bool CFormLogin::OnLButtonUp(UINT keyFlags, const POINT* pt) {
  CKXBaseControl* c = ControlAt(pt);
  if (!c) return false;
  c->OnLButtonUp(keyFlags, pt);
  CGlobalModule& m = Module();
  if (c == &minimizeButton) {
    ShowWindow(m.formBack.GetHwnd(), SW_MINIMIZE);  // the owned login window goes with it
  } else if (c == &closeButton) {
    if (MessageBoxW(window, kConfirmExitText, kPromptCaption, MB_YESNO | MB_DEFBUTTON2) == IDYES) Close();
  } else if (c == &statusLabel) {
    if (statusLabel.GetText().find(L"异常") == std::wstring::npos) return true;
    retrying = true;
    view.Navigate(m.GetLoginUrl(), "");
    statusLabel.SetText(L"正在检测您的网络环境，请稍后...", true);
    statusLabel.cursor = LoadCursorW(nullptr, IDC_ARROW);
  } else if (c == &serviceButton) {
    OpenInBrowser(endpoints::kServiceUrl);
  } else if (c == &payButton) {
    OpenInBrowser(m.GetPayUrl());
  } else if (c == &siteButton || c == &siteButton2) {
    OpenInBrowser(std::wstring(endpoints::kSiteHost) + L"/velk/");
  } else {
    return false;
  }
  return true;
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
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) return PassKeyToPage(view, msg);
  if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    SetWindowPos(Module().formBack.GetHwnd(), nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE);
  }
  return false;
}
