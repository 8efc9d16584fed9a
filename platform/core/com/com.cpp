#include <atomic>

#include "platform/core/window/driver.h"
#include "platform/objbase.h"

namespace {

thread_local int gComInits = 0;

class ShellApplication final : public IShellDispatch4 {
 public:
  HRESULT QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IShellDispatch4) {
      *out = static_cast<IShellDispatch4*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT ToggleDesktop() override {
    if (!glider::core::HasDriver()) return E_FAIL;
    glider::core::GetDriver().ToggleDesktop();
    return S_OK;
  }

 private:
  ~ShellApplication() = default;
  std::atomic<ULONG> refs_{1};
};

}  // namespace

HRESULT CoInitialize(LPVOID) { return gComInits++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (gComInits > 0) --gComInits;
}

HRESULT OleInitialize(LPVOID reserved) { return CoInitialize(reserved); }
void OleUninitialize() { CoUninitialize(); }

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown*, DWORD, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (gComInits <= 0) return CO_E_NOTINITIALIZED;
  if (!(clsid == CLSID_Shell)) return REGDB_E_CLASSNOTREG;
  auto* shell = new ShellApplication();
  HRESULT hr = shell->QueryInterface(riid, out);
  shell->Release();
  return hr;
}
