#include "tests/support/browser_harness.h"

namespace glider::test {

namespace {

const wchar_t* ParentClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"BrowserHarnessParent";
    return RegisterClassExW(&wc) != 0;
  }();
  return registered ? L"BrowserHarnessParent" : nullptr;
}

}  // namespace

BrowserHarness::BrowserHarness() {
  parent = CreateWindowExW(0, ParentClass(), L"harness", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                           nullptr);
  view.CreateBrowser(L"about:blank", parent, RECT{0, 0, 640, 480});
  Subscribe(view.notify, this, &BrowserHarness::OnWebNotify);
  view.blockNewWindows = true;
  Settle();
}

BrowserHarness::~BrowserHarness() {
  if (parent) DestroyWindow(parent);
}

void BrowserHarness::Navigate(const std::wstring& url, const std::string& body) {
  view.Navigate(url, body);
  Settle();
}

void BrowserHarness::Settle() {
  if (headless::WebView* page = headless::FindWebView(view.m_hWnd)) page->Settle();
}

headless::WebView& BrowserHarness::Page() { return *headless::FindWebView(view.m_hWnd); }

std::vector<unsigned int> BrowserHarness::Codes() const {
  std::vector<unsigned int> codes;
  for (const WebNote& n : notes)
    if (n.code != WN_GET_EXTERNAL) codes.push_back(n.code);
  return codes;
}

void BrowserHarness::OnWebNotify(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam) {
  WebNote note{code, view.lastUrl, view.lastPostData, {}};
  if (code == WN_TITLE_CHANGE && lParam) note.text = reinterpret_cast<const wchar_t*>(lParam);
  notes.push_back(note);
  if (answer) answer(code, wParam);
}

}  // namespace glider::test
