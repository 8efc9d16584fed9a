// Opens one window hosting a browser view on an address and prints, one line each, the
// web notifications it receives. Commands on standard input, one a line:
//   navigate URL            the view navigates
//   post URL BODY           the view navigates, posting BODY
//   call NAME X Y           CallPageFunction(NAME, X, Y); prints "CALL NAME 1|0"
//   websupercall TEXT       InvokeWebSuperCall(TEXT); prints "WEBSUPERCALL 1|0"
//   clearcache              ClearUrlCache; prints "CLEARED"
//   quit                    ends the program
// Options: --external hands the page a bridge (its calls print "SUPERCALL CODE TEXT");
// --cancel=TEXT cancels navigations whose address contains TEXT. Button presses and key
// presses for the page print "FILTER ..." as the message filter sees them;
// --swallow-input makes the filter consume them, so the page never gets them.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "browser/BrowserView.h"
#include "browser/PageCall.h"
#include "browser/SuperCall.h"
#include "browser/UrlCache.h"
#include "platform/atlapp.h"
#include "platform/core/text/utf.h"
#include "platform/gtk/gtk_driver.h"

namespace {

constexpr UINT WM_PROBE_COMMAND = WM_USER + 1;

std::string Narrow(const std::wstring& s) { return glider::core::WideToUtf8(s); }

void Print(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

class Probe : public CMessageFilter {
 public:
  bool external = false;
  std::wstring cancelText;
  CBrowserView view;
  CKXSuperCall bridge;
  HWND window = nullptr;

  void OnWebNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam) {
    std::string url = Narrow(view.GetLastUrl());
    switch (code) {
      case WN_DOCUMENT_COMPLETE:
        Print("DOCUMENT_COMPLETE " + url);
        break;
      case WN_NAVIGATE_ERROR:
        Print("NAVIGATE_ERROR " + url);
        break;
      case WN_GET_EXTERNAL:
        if (external) *reinterpret_cast<IDispatch**>(wParam) = &bridge;
        break;
      case WN_BEFORE_NAVIGATE: {
        bool cancel = !cancelText.empty() && view.GetLastUrl().find(cancelText) != std::wstring::npos;
        if (cancel) view.cancelNavigation = true;
        Print(std::string(cancel ? "BEFORE_NAVIGATE_CANCELLED " : "BEFORE_NAVIGATE ") + url);
        break;
      }
      case WN_NAVIGATE_COMPLETE:
        Print("NAVIGATE_COMPLETE " + url);
        break;
      case WN_TITLE_CHANGE:
        Print("TITLE " + Narrow(reinterpret_cast<const wchar_t*>(lParam)));
        break;
      case WN_NAVIGATE_BLOCKED:
        Print("NAVIGATE_BLOCKED " + url);
        break;
      default:
        break;
    }
  }

  void OnSuperCall(unsigned int code, WebNotifyWord wParam, WebNotifyParam) {
    Print("SUPERCALL " + std::to_string(static_cast<int>(code)) + " " +
          Narrow(reinterpret_cast<const wchar_t*>(wParam)));
  }

  void Run(const std::string& line) {
    std::string verb = line.substr(0, line.find(' '));
    std::string rest = line.size() > verb.size() ? line.substr(verb.size() + 1) : "";
    if (verb == "navigate") {
      view.Navigate(glider::core::Utf8ToWide(rest), {});
    } else if (verb == "post") {
      size_t space = rest.find(' ');
      view.Navigate(glider::core::Utf8ToWide(rest.substr(0, space)),
                    space == std::string::npos ? "" : rest.substr(space + 1));
    } else if (verb == "call") {
      char name[256] = {};
      int x = 0, y = 0;
      if (std::sscanf(rest.c_str(), "%255s %d %d", name, &x, &y) >= 1) {
        bool ok = CallPageFunction(view, glider::core::Utf8ToWide(name).c_str(), x, y);
        Print(std::string("CALL ") + name + (ok ? " 1" : " 0"));
      }
    } else if (verb == "websupercall") {
      Print(std::string("WEBSUPERCALL ") + (InvokeWebSuperCall(rest, view) ? "1" : "0"));
    } else if (verb == "clearcache") {
      ClearUrlCache();
      Print("CLEARED");
    } else if (verb == "quit") {
      PostQuitMessage(0);
    }
  }

  // Input for the page passes here first; button presses and keys are printed.
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->hwnd == view.m_hWnd && (msg->message == WM_LBUTTONDOWN || msg->message == WM_KEYDOWN)) {
      bool button = msg->message == WM_LBUTTONDOWN;
      Print(std::string(button ? "FILTER WM_LBUTTONDOWN " : "FILTER WM_KEYDOWN ") +
            std::to_string(button ? GET_X_LPARAM(msg->lParam) : static_cast<int>(msg->wParam)) +
            (button ? " " + std::to_string(GET_Y_LPARAM(msg->lParam)) : ""));
      if (swallowInput) return TRUE;
    }
    return view.PreTranslateMessage(msg);
  }
  bool swallowInput = false;
};

Probe* gProbe = nullptr;

LRESULT ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PROBE_COMMAND) {
    auto* line = reinterpret_cast<std::string*>(lParam);
    if (gProbe) gProbe->Run(*line);
    delete line;
    return 0;
  }
  if (msg == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  std::wstring url;
  Probe probe;
  gProbe = &probe;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--external") == 0)
      probe.external = true;
    else if (std::strcmp(argv[i], "--swallow-input") == 0)
      probe.swallowInput = true;
    else if (std::strncmp(argv[i], "--cancel=", 9) == 0)
      probe.cancelText = glider::core::Utf8ToWide(argv[i] + 9);
    else
      url = glider::core::Utf8ToWide(argv[i]);
  }
  if (url.empty()) {
    std::fprintf(stderr, "usage: webview-probe [--external] [--cancel=TEXT] URL\n");
    return 2;
  }
  glider::gtk::Install();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ProbeProc;
  wc.lpszClassName = L"WebViewProbe";
  RegisterClassExW(&wc);
  probe.window = CreateWindowExW(0, L"WebViewProbe", L"webview-probe", WS_POPUP, 0, 0, 800, 600, nullptr,
                                 nullptr, nullptr, nullptr);
  probe.view.CreateBrowser(L"about:blank", probe.window, RECT{0, 0, 800, 600});
  Subscribe(probe.view.notify, &probe, &Probe::OnWebNotify);
  Subscribe(probe.bridge.notify, &probe, &Probe::OnSuperCall);
  probe.view.blockNewWindows = true;
  ShowWindow(probe.window, SW_SHOW);
  probe.view.Navigate(url, {});
  Print("READY");

  HWND target = probe.window;
  std::thread([target] {
    std::string line;
    while (std::getline(std::cin, line))
      PostMessageW(target, WM_PROBE_COMMAND, 0, reinterpret_cast<LPARAM>(new std::string(line)));
    PostMessageW(target, WM_PROBE_COMMAND, 0, reinterpret_cast<LPARAM>(new std::string("quit")));
  }).detach();

  CAppModule app;
  app.Init(nullptr, nullptr);
  CMessageLoop loop;
  loop.AddMessageFilter(&probe);
  app.AddMessageLoop(&loop);
  int code = loop.Run();
  app.RemoveMessageLoop();
  DestroyWindow(probe.window);
  gProbe = nullptr;
  std::_Exit(code);  // the stdin reader may still be blocked
}
