// Command 101 reaches the login window, the reporter and the social login window.
#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "browser/SuperCall.h"
#include "forms/FormThirdLogin.h"

namespace {

int LoginTypeCode(const std::wstring& type) {
  if (type == L"qq") return 11;
  if (type == L"weibo") return 12;
  if (type == L"wechat") return 13;
  return 0;  // another service: no code of its own
}

}  // namespace

void CompleteThirdLogin(const ThirdLoginResult& result) {
  CGlobalModule& m = Module();
  CFormLogin& login = m.formLogin;
  std::wstring loginType = login.GetLoginType();
  std::wstring serverId = login.GetServerId();
  login.SetThirdLogin(result.thirdLogin);
  login.SetLoginAccount(result.loginAccount);
  login.SetSocialGameUrl(result.gameUrl);
  m.reporter.SendSocialLoginReport(result.loginAccount, serverId, loginType, LoginTypeCode(loginType));
  if (m.formThirdLogin) PostMessageW(m.formThirdLogin->GetHwnd(), WM_CLOSE_THIRD_LOGIN, 0, 0);
  PostMessageW(login.GetHwnd(), WM_THIRD_LOGIN_DONE, 0, 0);
}
