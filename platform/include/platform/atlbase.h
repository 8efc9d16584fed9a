// The ATL pieces for COM the client uses: a counted interface pointer, connection points
// and an event sink that delivers a source's events to a member function.
#pragma once

#include "platform/oleauto.h"

template <typename T>
class CComPtr {
 public:
  CComPtr() = default;
  CComPtr(T* p) : p(p) {
    if (p) p->AddRef();
  }
  CComPtr(const CComPtr& o) : CComPtr(o.p) {}
  CComPtr& operator=(const CComPtr& o) {
    if (this != &o) {
      Release();
      p = o.p;
      if (p) p->AddRef();
    }
    return *this;
  }
  ~CComPtr() { Release(); }
  void Release() {
    if (p) {
      T* old = p;
      p = nullptr;
      old->Release();
    }
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
  operator T*() const { return p; }
  // Gives up the pointer without releasing it.
  T* Detach() {
    T* old = p;
    p = nullptr;
    return old;
  }
  template <typename Q>
  HRESULT QueryInterface(REFIID riid, Q** out) const {
    if (!p) return E_POINTER;
    return p->QueryInterface(riid, reinterpret_cast<void**>(out));
  }
  T* p = nullptr;
};

inline constexpr IID IID_IConnectionPointContainer = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPoint = {
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200);
constexpr HRESULT CONNECT_E_CANNOTCONNECT = static_cast<HRESULT>(0x80040202);

struct IConnectionPoint : IUnknown {
  virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
  virtual HRESULT Unadvise(DWORD cookie) = 0;

 protected:
  ~IConnectionPoint() = default;
};

struct IConnectionPointContainer : IUnknown {
  virtual HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** point) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

HRESULT AtlAdvise(IUnknown* source, IUnknown* sink, const IID& iid, DWORD* cookie);
HRESULT AtlUnadvise(IUnknown* source, const IID& iid, DWORD cookie);

// An event sink for the dispatch interface *pdiid of the control with id nID. Events
// arrive at T::OnSinkEvent(nID, dispid, params); the sink holds no reference on T.
template <UINT nID, class T, const IID* pdiid>
class IDispEventSimpleImpl {
 public:
  HRESULT DispEventAdvise(IUnknown* source) {
    if (cookie_) return S_FALSE;
    return AtlAdvise(source, &sink_, *pdiid, &cookie_);
  }
  HRESULT DispEventUnadvise(IUnknown* source) {
    if (!cookie_) return CONNECT_E_NOCONNECTION;
    HRESULT hr = AtlUnadvise(source, *pdiid, cookie_);
    cookie_ = 0;
    return hr;
  }

 protected:
  ~IDispEventSimpleImpl() = default;

 private:
  struct Sink final : IDispatch {
    explicit Sink(IDispEventSimpleImpl* o) : owner(o) {}
    HRESULT QueryInterface(REFIID riid, void** out) override {
      if (!out) return E_POINTER;
      if (riid == IID_IUnknown || riid == IID_IDispatch || riid == *pdiid) {
        *out = static_cast<IDispatch*>(this);
        return S_OK;
      }
      *out = nullptr;
      return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT GetTypeInfoCount(UINT* count) override {
      if (count) *count = 0;
      return E_NOTIMPL;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
      static_cast<T*>(owner)->OnSinkEvent(nID, id, params);
      return S_OK;
    }
    IDispEventSimpleImpl* owner;
  };
  Sink sink_{this};
  DWORD cookie_ = 0;
};

// The argument at position index (0 = first in the event's declaration) of an event call.
// A VT_BYREF | VT_VARIANT argument is seen through to the VARIANT it refers to.
inline VARIANT* DispEventArg(DISPPARAMS* params, UINT index) {
  if (!params || index >= params->cArgs) return nullptr;
  VARIANT* v = &params->rgvarg[params->cArgs - 1 - index];
  if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) return v->pvarVal;
  return v;
}
