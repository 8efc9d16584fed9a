// The COM objects of the browser control: the control (one per frame), its connection
// point and host window, and the objects of a document.
#include <cwchar>

#include "platform/core/browser/browser_host.h"
#include "platform/core/browser/com_object.h"
#include "platform/core/browser/script_values.h"

namespace glider::core {

namespace {

std::wstring TextOf(const VARIANT* v) {
  if (!v || v->vt != VT_BSTR || !v->bstrVal) return {};
  return std::wstring(v->bstrVal, SysStringLen(v->bstrVal));
}

bool IsEmpty(const VARIANT* v) { return !v || v->vt == VT_EMPTY || v->vt == VT_NULL; }

// Objects of one document stop working when the control is gone or the frame has moved on.
class DocumentPart {
 public:
  DocumentPart(std::shared_ptr<HostLink> link, FrameId frame)
      : link_(std::move(link)), frame_(frame), serial_(link_->host ? link_->host->DocumentSerial() : 0) {}
  BrowserHost* Host() const {
    BrowserHost* h = link_->host;
    if (!h || h->DocumentSerial() != serial_ || !h->Engine()) return nullptr;
    return h;
  }
  std::shared_ptr<HostLink> link_;
  FrameId frame_;
  unsigned serial_;
};

class ScriptObject final : public ComObject<IDispatch>, DocumentPart {
 public:
  using DocumentPart::DocumentPart;
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (count && (!names || !ids)) return E_INVALIDARG;
    BrowserHost* h = Host();
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      ids[i] = DISPID_UNKNOWN;
      std::wstring name = names[i] ? names[i] : L"";
      if (h && !name.empty() && h->Engine()->HasFunction(name))
        ids[i] = h->ScriptId(name);
      else
        hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                 UINT*) override {
    BrowserHost* h = Host();
    if (!h) return E_FAIL;
    const std::wstring* name = h->ScriptName(id);
    if (!name || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (result) VariantInit(result);
    std::wstring copy = *name;
    return h->Engine()->CallFunction(copy, ArgumentsOf(params)) ? S_OK : DISP_E_EXCEPTION;
  }

 private:
  void* Find(REFIID riid) override {
    return riid == IID_IUnknown || riid == IID_IDispatch ? static_cast<IDispatch*>(this) : nullptr;
  }
};

class WindowObject final : public ComObject<IHTMLWindow2>, DocumentPart {
 public:
  using DocumentPart::DocumentPart;
  GLIDER_NO_LATE_BINDING
  HRESULT focus() override {
    BrowserHost* h = Host();
    if (!h) return E_FAIL;
    h->Engine()->Focus();
    return S_OK;
  }

 private:
  void* Find(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLWindow2)
      return static_cast<IHTMLWindow2*>(this);
    return nullptr;
  }
};

class BodyObject final : public ComObject<IHTMLElement, IHTMLBodyElement>, DocumentPart {
 public:
  using DocumentPart::DocumentPart;
  GLIDER_NO_LATE_BINDING
  HRESULT put_scroll(BSTR value) override {
    BrowserHost* h = Host();
    if (!h) return E_FAIL;
    scroll_ = value ? value : L"";
    h->Engine()->SetScrollbars(frame_, scroll_ != L"no");
    return S_OK;
  }
  HRESULT get_scroll(BSTR* value) override {
    if (!value) return E_POINTER;
    *value = SysAllocString(scroll_.c_str());
    return S_OK;
  }

 private:
  void* Find(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLElement)
      return static_cast<IHTMLElement*>(this);
    if (riid == IID_IHTMLBodyElement) return static_cast<IHTMLBodyElement*>(this);
    return nullptr;
  }
  std::wstring scroll_ = L"auto";
};

class DocumentObject final : public ComObject<IHTMLDocument2, ICustomDoc>, DocumentPart {
 public:
  using DocumentPart::DocumentPart;
  GLIDER_NO_LATE_BINDING
  HRESULT get_Script(IDispatch** script) override {
    if (!script) return E_POINTER;
    *script = nullptr;
    BrowserHost* h = Host();
    // While the page loads there is no script to call into.
    if (!h || h->Engine()->Loading()) return E_FAIL;
    *script = new ScriptObject(link_, frame_);
    return S_OK;
  }
  HRESULT get_parentWindow(IHTMLWindow2** window) override {
    if (!window) return E_POINTER;
    *window = nullptr;
    if (!Host()) return E_FAIL;
    *window = new WindowObject(link_, frame_);
    return S_OK;
  }
  HRESULT get_body(IHTMLElement** body) override {
    if (!body) return E_POINTER;
    *body = nullptr;
    if (!Host()) return E_FAIL;
    *body = new BodyObject(link_, frame_);
    return S_OK;
  }
  HRESULT SetUIHandler(IDocHostUIHandler* handler) override {
    BrowserHost* h = Host();
    if (!h) return E_FAIL;
    if (frame_ == kTopFrame) h->SetDocumentUIHandler(handler);
    return S_OK;
  }

 private:
  void* Find(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IHTMLDocument2)
      return static_cast<IHTMLDocument2*>(this);
    if (riid == IID_ICustomDoc) return static_cast<ICustomDoc*>(this);
    return nullptr;
  }
};

}  // namespace

class BrowserObject final
    : public ComObject<IWebBrowser2, IConnectionPointContainer, IConnectionPoint, IAxWinHostWindow> {
 public:
  BrowserObject(std::shared_ptr<HostLink> link, FrameId frame) : link_(std::move(link)), frame_(frame) {}
  GLIDER_NO_LATE_BINDING

  HRESULT Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                    VARIANT* headers) override {
    WebEngine* e = TopEngine();
    if (!e) return E_FAIL;
    if (!url || url->vt != VT_BSTR || !IsEmpty(flags) || !IsEmpty(target)) return E_INVALIDARG;
    std::string body;
    if (postData && postData->vt == (VT_ARRAY | VT_UI1) && postData->parray) {
      SAFEARRAY* a = postData->parray;
      LONG lo = 0, hi = -1;
      SafeArrayGetLBound(a, 1, &lo);
      SafeArrayGetUBound(a, 1, &hi);
      void* data = nullptr;
      if (hi >= lo && SUCCEEDED(SafeArrayAccessData(a, &data))) {
        body.assign(static_cast<const char*>(data), static_cast<size_t>(hi - lo + 1));
        SafeArrayUnaccessData(a);
      }
    } else if (!IsEmpty(postData)) {
      return E_INVALIDARG;
    }
    e->Navigate(TextOf(url), body, TextOf(headers));
    return S_OK;
  }
  HRESULT Refresh() override {
    WebEngine* e = TopEngine();
    if (!e) return E_FAIL;
    e->Reload();
    return S_OK;
  }
  HRESULT Stop() override {
    WebEngine* e = TopEngine();
    if (!e) return E_FAIL;
    e->Stop();
    return S_OK;
  }
  HRESULT get_LocationURL(BSTR* url) override {
    if (!url) return E_POINTER;
    WebEngine* e = TopEngine();
    *url = SysAllocString(e ? e->Url().c_str() : L"");
    return S_OK;
  }
  HRESULT get_Busy(VARIANT_BOOL* busy) override {
    if (!busy) return E_POINTER;
    WebEngine* e = TopEngine();
    *busy = e && e->Loading() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT get_Document(IDispatch** document) override {
    if (!document) return E_POINTER;
    *document = nullptr;
    BrowserHost* h = link_->host;
    if (!h || !h->FrameHasDocument(frame_)) return S_OK;
    return NewDocument(link_, frame_, document);
  }
  // Our engines never show script-error dialogs, so being silent is all there is.
  HRESULT put_Silent(VARIANT_BOOL) override { return TopEngine() ? S_OK : E_FAIL; }
  HRESULT put_RegisterAsDropTarget(VARIANT_BOOL accept) override {
    WebEngine* e = TopEngine();
    if (!e) return E_FAIL;
    e->SetDropTarget(accept != VARIANT_FALSE);
    return S_OK;
  }

  HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (frame_ != kTopFrame || !(riid == DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
    *point = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  HRESULT Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    BrowserHost* h = link_->host;
    IDispatch* d = nullptr;
    if (!h || FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&d))) || !d)
      return CONNECT_E_CANNOTCONNECT;
    *cookie = h->AddSink(d);
    d->Release();
    return S_OK;
  }
  HRESULT Unadvise(DWORD cookie) override {
    BrowserHost* h = link_->host;
    return h && h->RemoveSink(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
  }
  HRESULT SetExternalUIHandler(IDocHostUIHandlerDispatch* handler) override {
    BrowserHost* h = link_->host;
    if (!h) return E_FAIL;
    h->SetExternalUIHandler(handler);
    return S_OK;
  }

 private:
  WebEngine* TopEngine() {
    BrowserHost* h = link_->host;
    return h && frame_ == kTopFrame ? h->Engine() : nullptr;
  }
  void* Find(REFIID riid) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser2)
      return static_cast<IWebBrowser2*>(this);
    if (frame_ != kTopFrame) return nullptr;
    if (riid == IID_IConnectionPointContainer) return static_cast<IConnectionPointContainer*>(this);
    if (riid == IID_IConnectionPoint) return static_cast<IConnectionPoint*>(this);
    if (riid == IID_IAxWinHostWindow) return static_cast<IAxWinHostWindow*>(this);
    return nullptr;
  }
  std::shared_ptr<HostLink> link_;
  FrameId frame_;
};

BrowserObject* NewBrowserObject(std::shared_ptr<HostLink> link, FrameId frame) {
  return new BrowserObject(std::move(link), frame);
}

IDispatch* AsDispatch(BrowserObject* object) { return static_cast<IWebBrowser2*>(object); }

void ReleaseObject(BrowserObject* object) {
  if (object) static_cast<IWebBrowser2*>(object)->Release();
}

HRESULT NewDocument(std::shared_ptr<HostLink> link, FrameId frame, IDispatch** out) {
  *out = static_cast<IHTMLDocument2*>(new DocumentObject(std::move(link), frame));
  return S_OK;
}

}  // namespace glider::core
