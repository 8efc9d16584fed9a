#include "browser/BrowserView.h"

#include <cstring>
#include <cwchar>

#include "platform/mshtml.h"
#include "platform/oleauto.h"

namespace {

constexpr const wchar_t* kViewClassName = L"TabBrowser";
WNDPROC gHostProc = nullptr;

// Registers "TabBrowser" over the control-hosting class once per process.
bool RegisterViewClass(WNDPROC viewProc) {
  static bool registered = [viewProc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, CAxWindowClassName, &wc)) return false;
    gHostProc = wc.lpfnWndProc;
    wc.lpfnWndProc = viewProc;
    wc.lpszClassName = kViewClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  return registered;
}

std::wstring UrlText(const VARIANT* url) {
  if (!url || url->vt != VT_BSTR || !url->bstrVal) return {};
  return url->bstrVal;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
  return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

// The document of a control, as IHTMLDocument2; null when any step fails.
IHTMLDocument2* DocumentOf(IWebBrowser2* browser) {
  if (!browser) return nullptr;
  CComPtr<IDispatch> disp;
  if (FAILED(browser->get_Document(&disp)) || !disp) return nullptr;
  IHTMLDocument2* doc = nullptr;
  if (FAILED(disp->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&doc)))) return nullptr;
  return doc;
}

BSTR ArgBstr(DISPPARAMS* params, UINT index) {
  VARIANT* v = DispEventArg(params, index);
  return v && v->vt == VT_BSTR ? v->bstrVal : nullptr;
}

}  // namespace

CBrowserView::CBrowserView() { AtlAxWinInit(); }

CBrowserView::~CBrowserView() {
  // A window that outlives its view would call into freed memory.
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

WNDPROC CBrowserView::GetWindowProc() { return ViewWindowProc; }

void CBrowserView::OnFinalMessage(HWND) {}

LRESULT CBrowserView::ViewWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* view = static_cast<CBrowserView*>(cs->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    if (view) view->m_hWnd = hwnd;
  }
  auto* view = reinterpret_cast<CBrowserView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  LRESULT result = 0;
  if (view && view->ProcessWindowMessage(hwnd, msg, wParam, lParam, result, 0)) return result;
  result = CallWindowProcW(gHostProc, hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY && view) {
    view->m_hWnd = nullptr;
    view->OnFinalMessage(hwnd);
  }
  return result;
}

LRESULT CBrowserView::CallSuper(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(gHostProc, m_hWnd, msg, wParam, lParam);
}

BOOL CBrowserView::ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                        DWORD mapId) {
  if (mapId != 0) return FALSE;
  switch (msg) {
    case WM_CREATE: {
      result = CallSuper(msg, wParam, lParam);
      DWORD style = static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE));
      if (!(style & WS_CLIPCHILDREN))
        SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(style | WS_CLIPCHILDREN));
      CComPtr<IUnknown> control;
      if (SUCCEEDED(QueryControl(IID_IUnknown, reinterpret_cast<void**>(&control)))) DispEventAdvise(control);
      CComPtr<IAxWinHostWindow> host;
      if (SUCCEEDED(QueryHost(IID_IAxWinHostWindow, reinterpret_cast<void**>(&host))))
        host->SetExternalUIHandler(static_cast<IDocHostUIHandlerDispatch*>(this));
      return TRUE;
    }
    case WM_DESTROY: {
      CComPtr<IUnknown> control;
      if (SUCCEEDED(QueryControl(IID_IUnknown, reinterpret_cast<void**>(&control))))
        DispEventUnadvise(control);
      return FALSE;
    }
    case WM_SETFOCUS:
      result = CallSuper(msg, wParam, lParam);
      FocusPage();
      return TRUE;
    default:
      return FALSE;
  }
}

HWND CBrowserView::CreateBrowser(const std::wstring& url, HWND parent, const RECT& rect) {
  if (!RegisterViewClass(ViewWindowProc)) return nullptr;
  HWND hwnd = CreateWindowExW(0, kViewClassName, url.c_str(), WS_CHILD | WS_VISIBLE, rect.left, rect.top,
                              rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr, this);
  if (!hwnd) return nullptr;
  CComPtr<IWebBrowser2> browser;
  if (SUCCEEDED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
    browser->put_RegisterAsDropTarget(VARIANT_FALSE);
  return hwnd;
}

bool CBrowserView::Navigate(const std::wstring& url, const std::string& postData) {
  lastUrl = url;
  CComPtr<IWebBrowser2> browser;
  if (FAILED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser) return false;
  VARIANT address, flags, target, body, headers;
  for (VARIANT* v : {&address, &flags, &target, &body, &headers}) VariantInit(v);
  address.vt = VT_BSTR;
  address.bstrVal = SysAllocString(url.c_str());
  if (postData.empty()) {
    HRESULT hr = browser->Navigate2(&address, &flags, &target, &body, &headers);
    VariantClear(&address);
    if (FAILED(hr)) return false;
  } else {
    headers.vt = VT_BSTR;
    headers.bstrVal = SysAllocString(L"Content-Type: application/x-www-form-urlencoded\r\n");
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(postData.size()));
    void* data = nullptr;
    if (bytes && SUCCEEDED(SafeArrayAccessData(bytes, &data))) {
      std::memcpy(data, postData.data(), postData.size());
      SafeArrayUnaccessData(bytes);
      body.vt = VT_ARRAY | VT_UI1;
      body.parray = bytes;
    } else if (bytes) {
      SafeArrayDestroy(bytes);
    }
    browser->Navigate2(&address, &flags, &target, &body, &headers);
    for (VARIANT* v : {&address, &body, &headers}) VariantClear(v);
  }
  browser->put_Silent(VARIANT_TRUE);
  navigatePending = true;
  topFrame = nullptr;
  return true;
}

void CBrowserView::Refresh() {
  CComPtr<IWebBrowser2> browser;
  if (SUCCEEDED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) && browser)
    browser->Refresh();
}

void CBrowserView::FocusPage() {
  CComPtr<IWebBrowser2> browser;
  if (FAILED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)))) return;
  CComPtr<IHTMLDocument2> doc = nullptr;
  doc.p = DocumentOf(browser);
  if (!doc) return;
  CComPtr<IHTMLWindow2> window;
  if (FAILED(doc->get_parentWindow(&window)) || !window) return;
  window->focus();
}

IDispatch* CBrowserView::GetScript() {
  CComPtr<IWebBrowser2> browser;
  if (FAILED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)))) return nullptr;
  CComPtr<IHTMLDocument2> doc;
  doc.p = DocumentOf(browser);
  if (!doc) return nullptr;
  IDispatch* script = nullptr;
  if (FAILED(doc->get_Script(&script))) return nullptr;
  return script;
}

BOOL CBrowserView::PreTranslateMessage(MSG* msg) {
  if (!msg || !m_hWnd) return FALSE;
  bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
  bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
  if (!key && !mouse) return FALSE;
  if (msg->hwnd != m_hWnd && !IsChild(m_hWnd, msg->hwnd)) return FALSE;
  return SendMessageW(m_hWnd, WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(msg)) != 0 ? TRUE : FALSE;
}

void CBrowserView::FireView(unsigned int code) {
  Fire(notify, code, 0, reinterpret_cast<WebNotifyParam>(this));
}

void CBrowserView::OnSinkEvent(UINT, DISPID dispid, DISPPARAMS* p) {
  auto disp = [p](UINT i) -> IDispatch* {
    VARIANT* v = DispEventArg(p, i);
    return v && v->vt == VT_DISPATCH ? v->pdispVal : nullptr;
  };
  auto cancel = [p](UINT i) -> VARIANT_BOOL* {
    VARIANT* v = DispEventArg(p, i);
    return v && v->vt == (VT_BYREF | VT_BOOL) ? v->pboolVal : nullptr;
  };
  auto dispOut = [p](UINT i) -> IDispatch** {
    VARIANT* v = DispEventArg(p, i);
    return v && v->vt == (VT_BYREF | VT_DISPATCH) ? v->ppdispVal : nullptr;
  };
  switch (dispid) {
    case DISPID_DOCUMENTCOMPLETE:
      DocumentComplete(disp(0), DispEventArg(p, 1));
      break;
    case DISPID_TITLECHANGE:
      TitleChange(ArgBstr(p, 0));
      break;
    case DISPID_BEFORENAVIGATE2:
      BeforeNavigate2(disp(0), DispEventArg(p, 1), DispEventArg(p, 2), DispEventArg(p, 3),
                      p && p->cArgs > 4 ? &p->rgvarg[p->cArgs - 5] : nullptr, DispEventArg(p, 5), cancel(6));
      break;
    case DISPID_NEWWINDOW2:
      NewWindow2(dispOut(0), cancel(1));
      break;
    case DISPID_NEWWINDOW3: {
      VARIANT* flags = DispEventArg(p, 2);
      NewWindow3(dispOut(0), cancel(1), flags && flags->vt == VT_UI4 ? flags->ulVal : 0, ArgBstr(p, 3),
                 ArgBstr(p, 4));
      break;
    }
    case DISPID_NAVIGATEERROR:
      NavigateError(disp(0), DispEventArg(p, 1), DispEventArg(p, 2), DispEventArg(p, 3), cancel(4));
      break;
    case DISPID_NAVIGATECOMPLETE2:
      NavigateComplete2(disp(0), DispEventArg(p, 1));
      break;
    default:
      break;
  }
}

void CBrowserView::DocumentComplete(IDispatch* pDisp, VARIANT*) {
  if (pDisp && pDisp == topFrame) FireView(WN_DOCUMENT_COMPLETE);
  if (!noScroll || !pDisp) return;
  CComPtr<IWebBrowser2> browser;
  if (FAILED(pDisp->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)))) return;
  CComPtr<IHTMLDocument2> doc;
  doc.p = DocumentOf(browser);
  if (!doc) return;
  CComPtr<IHTMLElement> body;
  if (FAILED(doc->get_body(&body)) || !body) return;
  CComPtr<IHTMLBodyElement> bodyElement;
  if (FAILED(body->QueryInterface(IID_IHTMLBodyElement, reinterpret_cast<void**>(&bodyElement)))) return;
  BSTR no = SysAllocString(L"no");
  bodyElement->put_scroll(no);
  SysFreeString(no);
}

void CBrowserView::TitleChange(BSTR text) {
  Fire(notify, WN_TITLE_CHANGE, 0, reinterpret_cast<WebNotifyParam>(text ? text : L""));
}

void CBrowserView::BeforeNavigate2(IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT* postData, VARIANT*,
                                   VARIANT_BOOL* cancel) {
  cancelNavigation = false;
  std::wstring address = UrlText(url);
  if (!StartsWith(address, L"javascript") && !StartsWith(address, L"about:blank")) {
    lastUrl = address;
    lastPostData.clear();
    // postData is the argument itself: a reference to the VARIANT that refers to the body.
    VARIANT* data = postData && postData->vt == (VT_BYREF | VT_VARIANT) ? postData->pvarVal : nullptr;
    if (data && data->vt == (VT_BYREF | VT_VARIANT) && data->pvarVal && data->pvarVal->vt != VT_EMPTY) {
      SAFEARRAY* bytes = data->pvarVal->vt == (VT_ARRAY | VT_UI1) ? data->pvarVal->parray : nullptr;
      LONG lo = 0, hi = -1;
      void* raw = nullptr;
      if (bytes && SUCCEEDED(SafeArrayGetLBound(bytes, 1, &lo)) &&
          SUCCEEDED(SafeArrayGetUBound(bytes, 1, &hi)) && hi >= lo &&
          SUCCEEDED(SafeArrayAccessData(bytes, &raw))) {
        lastPostData.assign(static_cast<const char*>(raw), static_cast<size_t>(hi - lo + 1));
        SafeArrayUnaccessData(bytes);
      }
    }
    if (newWindowPending || address.find(L".exe") != std::wstring::npos) {
      cancelNavigation = true;
      newWindowPending = false;
      FireView(WN_NAVIGATE_BLOCKED);
    } else {
      FireView(WN_BEFORE_NAVIGATE);
    }
  }
  if (cancelNavigation && cancel) *cancel = VARIANT_TRUE;
}

void CBrowserView::NewWindow2(IDispatch**, VARIANT_BOOL* cancel) {
  if (cancel) *cancel = blockNewWindows ? VARIANT_TRUE : VARIANT_FALSE;
}

void CBrowserView::NewWindow3(IDispatch**, VARIANT_BOOL* cancel, DWORD, BSTR, BSTR url) {
  std::wstring address = url ? url : L"";
#ifdef GLIDER_LIBRARY
  if (address.find(L"127.0.0.1") != std::wstring::npos) {
    if (cancel) *cancel = VARIANT_TRUE;
    return;
  }
#endif
  if (cancel) *cancel = blockNewWindows ? VARIANT_TRUE : VARIANT_FALSE;
  newWindowPending = true;
  Navigate(address, std::string());
}

void CBrowserView::NavigateError(IDispatch*, VARIANT*, VARIANT*, VARIANT* statusCode, VARIANT_BOOL* cancel) {
  LONG status = statusCode && statusCode->vt == VT_I4 ? statusCode->lVal : 0;
  if (status == E_ABORT) return;
  FireView(WN_NAVIGATE_ERROR);
  if (cancel) *cancel = VARIANT_TRUE;
}

void CBrowserView::NavigateComplete2(IDispatch* pDisp, VARIANT* url) {
  if (navigatePending && UrlText(url) != L"about:blank") {
    navigatePending = false;
    topFrame = pDisp;
    FireView(WN_NAVIGATE_COMPLETE);
  }
  CComPtr<IWebBrowser2> browser;
  if (FAILED(QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)))) return;
  CComPtr<IDispatch> doc;
  if (FAILED(browser->get_Document(&doc)) || !doc) return;
  CComPtr<ICustomDoc> custom;
  if (FAILED(doc->QueryInterface(IID_ICustomDoc, reinterpret_cast<void**>(&custom)))) return;
  custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
}

// UI handlers.

HRESULT CBrowserView::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_INVALIDARG;
  if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler) {
    *out = static_cast<IDocHostUIHandler*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CBrowserView::AddRef() { return static_cast<ULONG>(++refCount); }
ULONG CBrowserView::Release() { return static_cast<ULONG>(--refCount); }

HRESULT CBrowserView::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return E_NOTIMPL;
}
HRESULT CBrowserView::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT CBrowserView::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT CBrowserView::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT CBrowserView::ShowContextMenu(DWORD, DWORD, DWORD, IUnknown*, IDispatch*, HRESULT* result) {
  if (result) *result = S_OK;
  return S_OK;
}
HRESULT CBrowserView::GetHostInfo(DWORD*, DWORD*) { return S_OK; }
HRESULT CBrowserView::ShowUI(DWORD, IUnknown*, IUnknown*, IUnknown*, IUnknown*, HRESULT*) { return S_OK; }
HRESULT CBrowserView::HideUI() { return S_OK; }
HRESULT CBrowserView::UpdateUI() { return S_OK; }
HRESULT CBrowserView::EnableModeless(VARIANT_BOOL) { return S_OK; }
HRESULT CBrowserView::OnDocWindowActivate(VARIANT_BOOL) { return S_OK; }
HRESULT CBrowserView::OnFrameWindowActivate(VARIANT_BOOL) { return S_OK; }
HRESULT CBrowserView::ResizeBorder(LONG, LONG, LONG, LONG, IUnknown*, VARIANT_BOOL) { return S_OK; }
HRESULT CBrowserView::TranslateAccelerator(DWORD_PTR, DWORD, DWORD_PTR, DWORD_PTR, BSTR, DWORD, HRESULT*) {
  return S_OK;
}
HRESULT CBrowserView::GetOptionKeyPath(LPOLESTR*, DWORD) { return S_OK; }
HRESULT CBrowserView::GetDropTarget(IUnknown*, IUnknown**) { return S_OK; }
HRESULT CBrowserView::GetExternal(IDispatch** external) {
  Fire(notify, WN_GET_EXTERNAL, reinterpret_cast<WebNotifyWord>(external),
       reinterpret_cast<WebNotifyParam>(this));
  return S_OK;
}
HRESULT CBrowserView::TranslateUrl(DWORD, LPWSTR, LPWSTR*) { return E_NOTIMPL; }
HRESULT CBrowserView::FilterDataObject(IUnknown*, IUnknown**) { return E_NOTIMPL; }

HRESULT CBrowserView::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }
HRESULT CBrowserView::GetHostInfo(DOCHOSTUIINFO* info) {
  if (!info) return E_POINTER;
  info->cbSize = 20;
  info->dwFlags |= DOCHOSTUIFLAG_DISABLE_HELP_MENU | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;
  if (noScroll) info->dwFlags |= DOCHOSTUIFLAG_SCROLL_NO;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  info->pchHostCss = nullptr;
  info->pchHostNS = nullptr;
  return S_OK;
}
HRESULT CBrowserView::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                             IOleInPlaceUIWindow*) {
  return E_NOTIMPL;
}
HRESULT CBrowserView::EnableModeless(BOOL) { return E_NOTIMPL; }
HRESULT CBrowserView::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
HRESULT CBrowserView::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
HRESULT CBrowserView::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
HRESULT CBrowserView::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return E_NOTIMPL; }
HRESULT CBrowserView::GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }
HRESULT CBrowserView::FilterDataObject(IDataObject*, IDataObject**) { return E_NOTIMPL; }
