#include "browser/SuperCall.h"

#include <json/json.h>

#include <exception>
#include <memory>

#include "platform/winbase.h"
#include "util/Text.h"

namespace {

constexpr DISPID kDoSuperCall = 0;

}  // namespace

CKXSuperCall::CKXSuperCall() { names[L"DoSuperCall"] = kDoSuperCall; }

HRESULT CKXSuperCall::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CKXSuperCall::AddRef() { return 1; }
ULONG CKXSuperCall::Release() { return 1; }
HRESULT CKXSuperCall::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
HRESULT CKXSuperCall::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT CKXSuperCall::GetIDsOfNames(REFIID, LPOLESTR* list, UINT count, LCID, DISPID* ids) {
  if (count && (!list || !ids)) return E_INVALIDARG;
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    auto it = list[i] ? names.find(list[i]) : names.end();
    if (it != names.end()) {
      ids[i] = it->second;
    } else {
      ids[i] = DISPID_UNKNOWN;
      hr = DISP_E_UNKNOWNNAME;
    }
  }
  return hr;
}

HRESULT CKXSuperCall::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  if (id != kDoSuperCall) return S_OK;
  if (!params || params->cArgs != 2 || !params->rgvarg) return S_FALSE;
  const VARIANT& first = params->rgvarg[1];
  const VARIANT& second = params->rgvarg[0];
  if (first.vt != VT_I4 && first.vt != VT_BSTR) return S_FALSE;
  if (second.vt != VT_BSTR) return S_FALSE;
  // A code given as text names no command.
  int code = first.vt == VT_I4 ? first.lVal : 0;
  std::wstring text = second.bstrVal ? second.bstrVal : L"";
  Fire(notify, static_cast<unsigned int>(code), reinterpret_cast<WebNotifyWord>(text.c_str()),
       reinterpret_cast<WebNotifyParam>(this));
  return S_OK;
}

bool ParseThirdLoginResult(const std::string& json, ThirdLoginResult& out) {
  Json::CharReaderBuilder builder;
  builder["collectComments"] = false;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  bool parsed = false;
  // JsonCpp throws when nesting goes past its stack limit.
  try {
    parsed = reader->parse(json.data(), json.data() + json.size(), &root, &errors);
  } catch (const std::exception&) {
    parsed = false;
  }
  if (!parsed || !root.isObject()) return false;
  ThirdLoginResult result;
  const std::pair<const char*, std::string*> members[] = {{"thirdlogin", &result.thirdLogin},
                                                          {"loginaccount", &result.loginAccount},
                                                          {"gameurl", &result.gameUrl}};
  for (const auto& [name, field] : members) {
    const Json::Value* v = root.find(name, name + std::char_traits<char>::length(name));
    if (!v) continue;
    if (!v->isString()) return false;
    *field = v->asString();
  }
  out = std::move(result);
  return true;
}

void DispatchSuperCall(int code, const std::wstring& text) {
  OutputDebugStringW(L"DoSuperCall param==");
  if (text.size() > kMaxSuperCallText) {
    OutputDebugStringW(L"(text too long, ignored)");
    return;
  }
  OutputDebugStringW(text.c_str());
  std::string narrow;
  if (!ToNarrow(text.c_str(), narrow)) return;
  ThirdLoginResult result;
  if (!ParseThirdLoginResult(narrow, result) || code != SUPERCALL_THIRD_LOGIN) return;
  CompleteThirdLogin(result);
}
