// The page bridge: window.external.DoSuperCall from the page, and command 101 in the client.
#include <gtest/gtest.h>

#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "browser/SuperCall.h"
#include "forms/FormThirdLogin.h"
#include "net/HTTPDownloader.h"
#include "tests/support/browser_harness.h"
#include "tests/support/client_fixture.h"

using glider::core::ScriptValue;
using glider::test::BrowserHarness;

namespace {

TEST(SuperCallNames, OnlyTheExactNameIsKnown) {
  CKXSuperCall bridge;
  struct Case {
    const wchar_t* name;
    DISPID id;
    HRESULT hr;
  } cases[] = {
      {L"DoSuperCall", 0, S_OK},
      {L"dosupercall", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
      {L"DOSUPERCALL", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
      {L"DoSuperCal", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
  };
  for (const Case& c : cases) {
    std::wstring name = c.name;
    LPOLESTR names[] = {name.data()};
    DISPID id = 99;
    EXPECT_EQ(bridge.GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id), c.hr) << c.name;
    EXPECT_EQ(id, c.id) << c.name;
  }
  EXPECT_EQ(bridge.GetIDsOfNames(IID_NULL, nullptr, 0, LOCALE_SYSTEM_DEFAULT, nullptr), S_OK);
}

// A view whose handler hands out the bridge, as the social login window's does.
class Bridge : public testing::Test {
 protected:
  void SetUp() override {
    h.answer = [&](unsigned int code, WebNotifyWord wParam) {
      if (code == WN_GET_EXTERNAL) *reinterpret_cast<IDispatch**>(wParam) = &bridge;
    };
    Subscribe(bridge.notify, this, &Bridge::OnSuperCall);
    h.Navigate(L"http://social.test/login");
  }
  void OnSuperCall(unsigned int code, WebNotifyWord wParam, WebNotifyParam lParam) {
    calls.emplace_back(code, reinterpret_cast<const wchar_t*>(wParam));
    EXPECT_EQ(lParam, reinterpret_cast<WebNotifyParam>(&bridge));
  }
  CKXSuperCall bridge;
  BrowserHarness h;
  std::vector<std::pair<unsigned int, std::wstring>> calls;
};

TEST_F(Bridge, TheCallNeedsACodeAndATextAndNothingMore) {
  ASSERT_TRUE(h.Page().HasExternal());
  using Args = std::vector<ScriptValue>;
  struct Case {
    Args args;
    bool delivered;
    unsigned int code;
  } cases[] = {
      {{ScriptValue::Number(101), ScriptValue::String(L"{}")}, true, 101},
      {{ScriptValue::Number(101)}, false, 0},
      {{ScriptValue::Number(101), ScriptValue::String(L"{}"), ScriptValue::String(L"x")}, false, 0},
      {{ScriptValue::Number(101.5), ScriptValue::String(L"{}")}, false, 0},
      {{ScriptValue::Number(101), ScriptValue::Number(5)}, false, 0},
      {{ScriptValue::String(L"101"), ScriptValue::String(L"{}")}, true, 0},
  };
  for (const Case& c : cases) {
    calls.clear();
    EXPECT_TRUE(h.Page().CallExternal(L"DoSuperCall", c.args));
    ASSERT_EQ(calls.size(), c.delivered ? 1u : 0u);
    if (c.delivered) {
      EXPECT_EQ(calls[0].first, c.code);
      EXPECT_EQ(calls[0].second, L"{}");
    }
  }
  calls.clear();
  EXPECT_FALSE(h.Page().CallExternal(L"dosupercall", {ScriptValue::Number(101), ScriptValue::String(L"{}")}));
  EXPECT_TRUE(calls.empty());
}

TEST(BridgeAbsent, APageWithoutAnOfferedBridgeHasNoExternal) {
  BrowserHarness h;
  h.Navigate(L"http://login.test/");
  EXPECT_FALSE(h.Page().HasExternal());
  EXPECT_FALSE(h.Page().CallExternal(L"DoSuperCall", {ScriptValue::Number(101), ScriptValue::String(L"{}")}));
}

TEST(ThirdLoginResultText, MembersAreReadAsStrings) {
  struct Case {
    std::string json;
    bool ok;
    ThirdLoginResult want;
  } cases[] = {
      {R"({"thirdlogin":"t","loginaccount":"acc","gameurl":"http://g/"})", true, {"t", "acc", "http://g/"}},
      {R"({})", true, {}},
      {R"({"loginaccount":"只"})", true, {"", "只", ""}},
      {R"({"loginaccount":5})", false, {}},
      {R"(["thirdlogin"])", false, {}},
      {R"({"thirdlogin":)", false, {}},
      {std::string(5000, '[') + std::string(5000, ']'), false, {}},
  };
  for (const Case& c : cases) {
    ThirdLoginResult got{"x", "x", "x"};
    EXPECT_EQ(ParseThirdLoginResult(c.json, got), c.ok) << c.json.substr(0, 40);
    if (!c.ok) continue;
    EXPECT_EQ(got.thirdLogin, c.want.thirdLogin);
    EXPECT_EQ(got.loginAccount, c.want.loginAccount);
    EXPECT_EQ(got.gameUrl, c.want.gameUrl);
  }
}

// Command 101 against a module: the windows are plain test windows whose posted
// messages are counted; the downloader's queue is read instead of sending reports.
class ThirdLoginCommand : public testing::Test {
 protected:
  static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE_THIRD_LOGIN || msg == WM_THIRD_LOGIN_DONE) Received().push_back({hwnd, msg});
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  static std::vector<std::pair<HWND, UINT>>& Received() {
    static std::vector<std::pair<HWND, UINT>> received;
    return received;
  }
  void SetUp() override {
    Received().clear();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = L"ThirdLoginCommandTest";
    RegisterClassExW(&wc);
    module = glider::test::MakeModule();
    module->downloader->started = true;  // no workers: submitted reports stay queued
    login =
        CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    third.window =
        CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    module->formLogin.window = login;
    module->formLogin.loginType = L"qq";
    module->formLogin.serverId = L"7";
    module->formThirdLogin = &third;
  }
  void TearDown() override {
    while (DownloadTask* t = module->downloader->Take()) delete t;
    module->downloader->started = false;
    module->formThirdLogin = nullptr;
    module->formLogin.window = nullptr;
    DestroyWindow(login);
    DestroyWindow(third.window);
    third.window = nullptr;
  }
  std::vector<std::wstring> QueuedReports() {
    std::vector<std::wstring> urls;
    for (DownloadTask* t : module->downloader->queue) urls.push_back(t->url);
    return urls;
  }
  std::vector<std::pair<HWND, UINT>> Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    return Received();
  }
  glider::test::TempHome home;
  std::unique_ptr<CGlobalModule> module;
  CFormThirdLogin third;
  HWND login = nullptr;
};

TEST_F(ThirdLoginCommand, StoresTheResultReportsItClosesTheWindowAndTellsTheLoginWindow) {
  DispatchSuperCall(101, LR"({"thirdlogin":"tl","loginaccount":"acc","gameurl":"http://g/"})");
  CFormLogin& f = module->formLogin;
  EXPECT_EQ(f.thirdLogin, "tl");
  EXPECT_EQ(f.loginAccount, "acc");
  EXPECT_EQ(f.socialGameUrl, "http://g/");
  auto reports = QueuedReports();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_NE(reports[0].find(L"/ps.gif?id=38&la=acc&gid=518&sid=7&"), std::wstring::npos);
  EXPECT_NE(reports[0].find(L"&e7=qq&e8=11"), std::wstring::npos);
  auto received = Pump();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0], std::make_pair(third.window, WM_CLOSE_THIRD_LOGIN));
  EXPECT_EQ(received[1], std::make_pair(login, WM_THIRD_LOGIN_DONE));
}

TEST_F(ThirdLoginCommand, MissingMembersStillCompleteTheCommand) {
  module->formLogin.loginType = L"github";
  module->formLogin.thirdLogin = "old";
  DispatchSuperCall(101, L"{}");
  EXPECT_EQ(module->formLogin.thirdLogin, "");
  EXPECT_EQ(QueuedReports().size(), 1u);
  EXPECT_EQ(Pump().size(), 2u);
}

TEST_F(ThirdLoginCommand, OtherCodesBadTextAndHugeTextChangeNothing) {
  std::wstring huge = LR"({"loginaccount":")" + std::wstring(10 * 1024 * 1024, L'a') + L"\"}";
  const std::pair<int, std::wstring> cases[] = {
      {102, LR"({"loginaccount":"acc"})"},
      {101, L"not json"},
      {101, LR"({"loginaccount":["acc"]})"},
      {101, huge},
  };
  for (const auto& [code, text] : cases) {
    module->formLogin.loginAccount = "before";
    DispatchSuperCall(code, text);
    EXPECT_EQ(module->formLogin.loginAccount, "before") << code;
    EXPECT_TRUE(QueuedReports().empty()) << code;
    EXPECT_TRUE(Pump().empty()) << code;
  }
}

}  // namespace
