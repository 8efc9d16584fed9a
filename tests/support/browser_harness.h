// A browser view in a window of its own on the headless engine, with the web
// notifications it delivers recorded. Use on the user-interface thread.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "browser/BrowserView.h"
#include "platform/headless/headless_web.h"

namespace glider::test {

struct WebNote {
  unsigned int code;
  std::wstring lastUrl;      // the view's lastUrl during delivery
  std::string lastPostData;  // likewise
  std::wstring text;         // the title of WN_TITLE_CHANGE
};

class BrowserHarness {
 public:
  BrowserHarness();
  ~BrowserHarness();
  BrowserHarness(const BrowserHarness&) = delete;
  BrowserHarness& operator=(const BrowserHarness&) = delete;

  // The view's own navigation, run to its end.
  void Navigate(const std::wstring& url, const std::string& body = {});
  // Runs what the engine has queued.
  void Settle();
  headless::WebView& Page();
  // The codes delivered, without WN_GET_EXTERNAL (the engine asks for window.external
  // before every page it loads).
  std::vector<unsigned int> Codes() const;
  void Clear() { notes.clear(); }

  void OnWebNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam);

  HWND parent = nullptr;
  CBrowserView view;
  std::vector<WebNote> notes;
  // Called for each notification after it is recorded (a handler's answer).
  std::function<void(unsigned int code, WebNotifyWord wParam)> answer;
};

}  // namespace glider::test
