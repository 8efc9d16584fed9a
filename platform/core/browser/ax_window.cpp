// The control-hosting window class "AtlAxWin90" and ATL's helpers around it.
#include <mutex>

#include "platform/atlhost.h"
#include "platform/core/browser/browser_host.h"
#include "platform/core/window/window_manager.h"

using glider::core::BrowserHost;
using glider::core::HostOf;

namespace {

LRESULT HostWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE: {
      auto* host = new BrowserHost(hwnd);
      // The window text is the address the control starts on.
      glider::core::Window* w = glider::core::WindowManager::Get().Find(hwnd);
      std::wstring address = w ? w->text : std::wstring();
      if (!address.empty() && host->Engine()) host->Engine()->Navigate(address, {}, {});
      return 0;
    }
    case WM_SETFOCUS:
      if (BrowserHost* host = HostOf(hwnd); host && host->Engine()) host->Engine()->Focus();
      return 0;
    case WM_FORWARDMSG:
      // The engine translates its own accelerators when it gets the input.
      return 0;
    case WM_NCDESTROY:
      delete HostOf(hwnd);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

BOOL AtlAxWinInit() {
  static std::once_flag once;
  static BOOL registered = FALSE;
  std::call_once(once, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = HostWindowProc;
    wc.lpszClassName = CAxWindowClassName;
    registered = RegisterClassExW(&wc) != 0 ? TRUE : FALSE;
  });
  return registered;
}

HRESULT CAxWindow::QueryControl(REFIID riid, void** out) const {
  if (!out) return E_POINTER;
  *out = nullptr;
  BrowserHost* host = HostOf(m_hWnd);
  if (!host || !host->Control()) return E_FAIL;
  return glider::core::AsDispatch(host->Control())->QueryInterface(riid, out);
}

HRESULT CAxWindow::QueryHost(REFIID riid, void** out) const {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!(riid == IID_IAxWinHostWindow) && !(riid == IID_IUnknown)) return E_NOINTERFACE;
  return QueryControl(riid, out);
}

namespace {

HRESULT FindPoint(IUnknown* source, const IID& iid, CComPtr<IConnectionPoint>& point) {
  if (!source) return E_INVALIDARG;
  CComPtr<IConnectionPointContainer> container;
  HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(hr)) return hr;
  return container->FindConnectionPoint(iid, &point);
}

}  // namespace

HRESULT AtlAdvise(IUnknown* source, IUnknown* sink, const IID& iid, DWORD* cookie) {
  if (!sink || !cookie) return E_INVALIDARG;
  CComPtr<IConnectionPoint> point;
  HRESULT hr = FindPoint(source, iid, point);
  return FAILED(hr) ? hr : point->Advise(sink, cookie);
}

HRESULT AtlUnadvise(IUnknown* source, const IID& iid, DWORD cookie) {
  CComPtr<IConnectionPoint> point;
  HRESULT hr = FindPoint(source, iid, point);
  return FAILED(hr) ? hr : point->Unadvise(cookie);
}
