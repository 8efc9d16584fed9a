#include "browser/PageCall.h"

#include "browser/BrowserView.h"
#include "browser/SuperCall.h"
#include "platform/oleauto.h"
#include "util/Text.h"

namespace {

// Looks name up on the view's script and invokes it with args (already reversed, as
// IDispatch expects). Frees nothing of args.
bool InvokeByName(CBrowserView& view, const wchar_t* name, VARIANT* args, UINT count) {
  IDispatch* script = view.GetScript();
  if (!script) return false;
  BSTR member = SysAllocString(name);
  DISPID id = DISPID_UNKNOWN;
  HRESULT hr =
      member ? script->GetIDsOfNames(IID_NULL, &member, 1, LOCALE_SYSTEM_DEFAULT, &id) : E_OUTOFMEMORY;
  if (SUCCEEDED(hr)) {
    DISPPARAMS params{args, nullptr, count, 0};
    VARIANT result;
    VariantInit(&result);
    EXCEPINFO excep{};
    UINT argErr = 0;
    hr = script->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, &result, &excep, &argErr);
    VariantClear(&result);
  }
  SysFreeString(member);
  script->Release();
  return SUCCEEDED(hr);
}

VARIANT IntArg(int value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_INT;
  v.intVal = value;
  return v;
}

}  // namespace

bool CallPageFunction(CBrowserView& view, const wchar_t* name, int first, int second) {
  if (!name) return false;
  VARIANT args[2] = {IntArg(second), IntArg(first)};
  return InvokeByName(view, name, args, 2);
}

bool InvokeWebSuperCall(const std::string& text, CBrowserView& view) {
  std::wstring wide;
  if (!ToWide(text.c_str(), wide)) return false;
  VARIANT args[2] = {IntArg(0), IntArg(WEBCALL_THIRD_LOGIN)};
  args[0].vt = VT_BSTR;
  args[0].bstrVal = SysAllocString(wide.c_str());
  if (!args[0].bstrVal) return false;
  bool ok = InvokeByName(view, L"WebSuperCall", args, 2);
  VariantClear(&args[0]);
  return ok;
}
