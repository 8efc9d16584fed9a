// The page bridge: the window.external object of the social login page, whose one method
// "DoSuperCall" hands a command to the client.
#pragma once

#include <map>
#include <string>

#include "browser/WebNotify.h"
#include "platform/oaidl.h"

constexpr int SUPERCALL_THIRD_LOGIN = 101;  // page -> client: the result of a social login
constexpr int WEBCALL_THIRD_LOGIN = 201;    // client -> page: the same result for the login page

// A member of its window object; it is never counted or deleted through COM.
class CKXSuperCall : public IDispatch {
 public:
  CKXSuperCall();
  CKXSuperCall(const CKXSuperCall&) = delete;
  CKXSuperCall& operator=(const CKXSuperCall&) = delete;

  HRESULT QueryInterface(REFIID riid, void** out) override;
  ULONG AddRef() override;
  ULONG Release() override;
  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  // "DoSuperCall"(code, text): notify gets (code, the text, this object).
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* excepInfo, UINT* argErr) override;

  std::map<std::wstring, DISPID> names;
  CWebNotify notify;
};

// The three members of a social-login result (text in the ANSI code page).
struct ThirdLoginResult {
  std::string thirdLogin;
  std::string loginAccount;
  std::string gameUrl;
};

// Texts longer than this are no command: a page cannot make the client hold or parse
// an unbounded text.
constexpr size_t kMaxSuperCallText = 64 * 1024;

// Reads the JSON object of a social-login result; a missing member is empty. False for
// text that is not JSON, not an object, or has one of the members as another type.
bool ParseThirdLoginResult(const std::string& json, ThirdLoginResult& out);

// Carries out one call of "DoSuperCall".
void DispatchSuperCall(int code, const std::wstring& text);

// Command 101 in the client: the result stored in the login window, the social-login
// report, the social login window closed and the login window told.
void CompleteThirdLogin(const ThirdLoginResult& result);
