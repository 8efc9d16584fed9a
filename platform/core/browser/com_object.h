// A counted COM object implementing one or more interfaces, and the IDispatch part of
// objects that offer no type information and no late-bound members.
#pragma once

#include <atomic>

#include "platform/oaidl.h"

namespace glider::core {

template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  HRESULT QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = Find(riid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

 protected:
  virtual ~ComObject() = default;
  // The interface pointer for riid, or null.
  virtual void* Find(REFIID riid) = 0;

 private:
  std::atomic<ULONG> refs_{1};
};

}  // namespace glider::core

#define GLIDER_NO_LATE_BINDING                                                                    \
  HRESULT GetTypeInfoCount(UINT* count) override {                                                \
    if (count) *count = 0;                                                                        \
    return S_OK;                                                                                  \
  }                                                                                               \
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }                     \
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }    \
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { \
    return E_NOTIMPL;                                                                             \
  }
