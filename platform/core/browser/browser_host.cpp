#include "platform/core/browser/browser_host.h"

#include <algorithm>
#include <deque>
#include <unordered_map>

#include "platform/core/browser/script_values.h"
#include "platform/core/window/driver.h"
#include "platform/core/window/window_manager.h"

namespace glider::core {

namespace {

std::unordered_map<HWND, BrowserHost*>& Hosts() {
  static std::unordered_map<HWND, BrowserHost*> hosts;
  return hosts;
}

// The arguments of one event, in declaration order, with the storage they refer to.
class EventCall {
 public:
  EventCall() = default;
  EventCall(const EventCall&) = delete;
  EventCall& operator=(const EventCall&) = delete;
  ~EventCall() {
    for (BSTR s : strings_) SysFreeString(s);
    for (SAFEARRAY* a : arrays_) SafeArrayDestroy(a);
  }

  void Dispatch(IDispatch* d) {
    VARIANT v = Empty();
    v.vt = VT_DISPATCH;
    v.pdispVal = d;
    args_.push_back(v);
  }
  void Bstr(const std::wstring& s) { args_.push_back(BstrValue(s)); }
  void UI4(DWORD n) {
    VARIANT v = Empty();
    v.vt = VT_UI4;
    v.ulVal = n;
    args_.push_back(v);
  }
  // A VARIANT* parameter: the argument refers to a VARIANT holding value.
  void ByRef(const VARIANT& value) { args_.push_back(RefTo(Keep(value))); }
  VARIANT BstrValue(const std::wstring& s) {
    VARIANT v = Empty();
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
    strings_.push_back(v.bstrVal);
    return v;
  }
  static VARIANT I4(LONG n) {
    VARIANT v = Empty();
    v.vt = VT_I4;
    v.lVal = n;
    return v;
  }
  // The POST data parameter: a VARIANT* to a VT_BYREF | VT_VARIANT VARIANT referring to the
  // body (VT_ARRAY | VT_UI1), or to an empty VARIANT when there is none.
  void PostData(const std::string* body) {
    VARIANT inner = Empty();
    if (body && !body->empty()) {
      SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(body->size()));
      if (a) {
        std::copy(body->begin(), body->end(), static_cast<char*>(a->pvData));
        arrays_.push_back(a);
        inner.vt = VT_ARRAY | VT_UI1;
        inner.parray = a;
      }
    }
    ByRef(RefTo(Keep(inner)));
  }
  VARIANT_BOOL* Cancel() {
    VARIANT v = Empty();
    v.vt = VT_BYREF | VT_BOOL;
    v.pboolVal = &flags_.emplace_back(VARIANT_FALSE);
    args_.push_back(v);
    return v.pboolVal;
  }
  IDispatch** DispatchOut() {
    VARIANT v = Empty();
    v.vt = VT_BYREF | VT_DISPATCH;
    v.ppdispVal = &outs_.emplace_back(nullptr);
    args_.push_back(v);
    return v.ppdispVal;
  }
  DISPPARAMS* Params() {
    reversed_.assign(args_.rbegin(), args_.rend());
    params_ = DISPPARAMS{reversed_.data(), nullptr, static_cast<UINT>(reversed_.size()), 0};
    return &params_;
  }

 private:
  static VARIANT Empty() {
    VARIANT v;
    VariantInit(&v);
    return v;
  }
  VARIANT* Keep(const VARIANT& v) { return &values_.emplace_back(v); }
  static VARIANT RefTo(VARIANT* target) {
    VARIANT v = Empty();
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = target;
    return v;
  }

  std::deque<VARIANT> values_;
  std::deque<VARIANT_BOOL> flags_;
  std::deque<IDispatch*> outs_;
  std::vector<BSTR> strings_;
  std::vector<SAFEARRAY*> arrays_;
  std::vector<VARIANT> args_;
  std::vector<VARIANT> reversed_;
  DISPPARAMS params_{};
};

}  // namespace

BrowserHost* HostOf(HWND hwnd) {
  auto it = Hosts().find(hwnd);
  return it == Hosts().end() ? nullptr : it->second;
}

BrowserHost::BrowserHost(HWND hwnd) : hwnd_(hwnd) {
  link->host = this;
  Hosts()[hwnd] = this;
  control_ = NewBrowserObject(link, kTopFrame);
  if (Window* w = WindowManager::Get().Find(hwnd)) engine_ = GetDriver().CreateWebEngine(*w, *this);
}

BrowserHost::~BrowserHost() {
  // The engine goes first: it reports nothing more.
  engine_.reset();
  link->host = nullptr;
  Hosts().erase(hwnd_);
  SetDocumentUIHandler(nullptr);
  SetExternalUIHandler(nullptr);
  for (auto& [cookie, sink] : sinks_) sink->Release();
  sinks_.clear();
  for (auto& [id, frame] : frames_) ReleaseObject(frame);
  ReleaseObject(control_);
}

IDispatch* BrowserHost::FrameDispatch(FrameId frame) {
  if (frame == kTopFrame) return AsDispatch(control_);
  auto it = frames_.find(frame);
  if (it == frames_.end()) it = frames_.emplace(frame, NewBrowserObject(link, frame)).first;
  return AsDispatch(it->second);
}

bool BrowserHost::FrameHasDocument(FrameId frame) {
  if (frame == kTopFrame) return engine_ && engine_->HasDocument();
  return std::find(committedFrames_.begin(), committedFrames_.end(), frame) != committedFrames_.end();
}

DWORD BrowserHost::AddSink(IDispatch* sink) {
  sink->AddRef();
  sinks_.emplace_back(nextCookie_, sink);
  return nextCookie_++;
}

bool BrowserHost::RemoveSink(DWORD cookie) {
  auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const auto& s) { return s.first == cookie; });
  if (it == sinks_.end()) return false;
  IDispatch* sink = it->second;
  sinks_.erase(it);
  sink->Release();
  return true;
}

template <typename T>
static void Replace(T*& slot, T* value) {
  if (value) value->AddRef();
  T* old = slot;
  slot = value;
  if (old) old->Release();
}

void BrowserHost::SetDocumentUIHandler(IDocHostUIHandler* handler) { Replace(docHandler_, handler); }
void BrowserHost::SetExternalUIHandler(IDocHostUIHandlerDispatch* handler) { Replace(hostHandler_, handler); }

DISPID BrowserHost::ScriptId(const std::wstring& name) {
  auto it = scriptIds_.find(name);
  if (it != scriptIds_.end()) return it->second;
  DISPID id = static_cast<DISPID>(1000 + scriptIds_.size());
  scriptIds_.emplace(name, id);
  return id;
}

const std::wstring* BrowserHost::ScriptName(DISPID id) const {
  for (auto& [name, value] : scriptIds_)
    if (value == id) return &name;
  return nullptr;
}

void BrowserHost::Fire(DISPID id, DISPPARAMS* params) {
  // A sink may disconnect while it is told.
  auto sinks = sinks_;
  for (auto& [cookie, sink] : sinks) {
    sink->AddRef();
    sink->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, params, nullptr, nullptr, nullptr);
    sink->Release();
  }
}

bool BrowserHost::BeforeNavigate(FrameId frame, const std::wstring& url, const std::string* postData) {
  EventCall call;
  call.Dispatch(FrameDispatch(frame));
  call.ByRef(call.BstrValue(url));
  call.ByRef(EventCall::I4(0));
  call.ByRef(call.BstrValue(L""));
  call.PostData(postData);
  call.ByRef(call.BstrValue(L""));
  VARIANT_BOOL* cancel = call.Cancel();
  Fire(DISPID_BEFORENAVIGATE2, call.Params());
  return *cancel == VARIANT_FALSE;
}

void BrowserHost::NewWindow(const std::wstring& url, const std::wstring& referrer) {
  {
    EventCall call;
    IDispatch** out = call.DispatchOut();
    call.Cancel();
    call.UI4(NWMF_USERINITED);
    call.Bstr(referrer);
    call.Bstr(url);
    Fire(DISPID_NEWWINDOW3, call.Params());
    if (*out) (*out)->Release();
  }
  EventCall call;
  IDispatch** out = call.DispatchOut();
  call.Cancel();
  Fire(DISPID_NEWWINDOW2, call.Params());
  // Our engines open no second window, whatever the sinks answered.
  if (*out) (*out)->Release();
}

void BrowserHost::NavigateComplete(FrameId frame, const std::wstring& url) {
  if (frame == kTopFrame) {
    // A new document: its UI handler is installed anew by whoever wants one.
    ++documentSerial_;
    committedFrames_.clear();
    SetDocumentUIHandler(nullptr);
  } else if (!FrameHasDocument(frame)) {
    committedFrames_.push_back(frame);
  }
  EventCall call;
  call.Dispatch(FrameDispatch(frame));
  call.ByRef(call.BstrValue(url));
  Fire(DISPID_NAVIGATECOMPLETE2, call.Params());
  if (frame == kTopFrame) ApplyHostInfo();
}

void BrowserHost::DocumentComplete(FrameId frame, const std::wstring& url) {
  EventCall call;
  call.Dispatch(FrameDispatch(frame));
  call.ByRef(call.BstrValue(url));
  Fire(DISPID_DOCUMENTCOMPLETE, call.Params());
}

bool BrowserHost::NavigateError(FrameId frame, const std::wstring& url, HRESULT status) {
  EventCall call;
  call.Dispatch(FrameDispatch(frame));
  call.ByRef(call.BstrValue(url));
  call.ByRef(call.BstrValue(L""));
  call.ByRef(EventCall::I4(status));
  VARIANT_BOOL* cancel = call.Cancel();
  Fire(DISPID_NAVIGATEERROR, call.Params());
  return *cancel != VARIANT_FALSE;
}

void BrowserHost::TitleChange(const std::wstring& title) {
  EventCall call;
  call.Bstr(title);
  Fire(DISPID_TITLECHANGE, call.Params());
}

IDispatch* BrowserHost::External() {
  IDispatch* external = nullptr;
  if (docHandler_)
    docHandler_->GetExternal(&external);
  else if (hostHandler_)
    hostHandler_->GetExternal(&external);
  return external;
}

bool BrowserHost::WantsExternal() {
  IDispatch* external = External();
  if (!external) return false;
  external->Release();
  return true;
}

bool BrowserHost::CallExternal(const std::wstring& method, const std::vector<ScriptValue>& args) {
  IDispatch* external = External();
  if (!external) return false;
  std::wstring name = method;
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr = external->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
  if (SUCCEEDED(hr)) {
    VariantArgs callArgs(args);
    VARIANT result;
    VariantInit(&result);
    hr = external->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_METHOD, callArgs.Params(), &result,
                          nullptr, nullptr);
    VariantClear(&result);
  }
  external->Release();
  return SUCCEEDED(hr);
}

bool BrowserHost::ShowContextMenu(POINT screen) {
  if (docHandler_) return docHandler_->ShowContextMenu(0, &screen, nullptr, nullptr) != S_OK;
  if (hostHandler_) {
    HRESULT result = S_FALSE;
    if (SUCCEEDED(hostHandler_->ShowContextMenu(0, static_cast<DWORD>(screen.x), static_cast<DWORD>(screen.y),
                                                nullptr, nullptr, &result)))
      return result != S_OK;
  }
  return true;
}

void BrowserHost::ApplyHostInfo() {
  if (!engine_) return;
  DWORD flags = 0;
  if (docHandler_) {
    DOCHOSTUIINFO info{sizeof(DOCHOSTUIINFO), 0, 0, nullptr, nullptr};
    if (FAILED(docHandler_->GetHostInfo(&info))) return;
    flags = info.dwFlags;
  } else if (hostHandler_) {
    DWORD dbl = 0;
    if (FAILED(hostHandler_->GetHostInfo(&flags, &dbl))) return;
  }
  if (flags & DOCHOSTUIFLAG_SCROLL_NO) engine_->SetScrollbars(kTopFrame, false);
}

}  // namespace glider::core
