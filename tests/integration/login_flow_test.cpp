// A player's way through the client on the headless engine: the login page, the game,
// back, and a social-account login.
#include <gtest/gtest.h>

#include <mutex>

#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "forms/FormGame.h"
#include "forms/FormThirdLogin.h"
#include "platform/core/kernel/process_launcher.h"
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_web.h"
#include "tests/support/client_fixture.h"

using glider::headless::Driver;
using glider::headless::FindWebView;
using glider::headless::WaitUntil;
using glider::headless::WebView;
using glider::test::MakeModule;
using glider::test::OnUi;
using glider::test::RunClient;
using glider::test::TempHome;

namespace {

class LoginFlow : public testing::Test {
 protected:
  void SetUp() override {
    Driver().SetWorkArea({0, 0, 1920, 1040});
    glider::core::SetProcessLauncherForTesting([this](const glider::core::LaunchRequest& r) {
      std::lock_guard<std::mutex> lock(mutex);
      launches.push_back(r);
      return 4243;
    });
    module = MakeModule();
  }
  void TearDown() override { glider::core::SetProcessLauncherForTesting(nullptr); }

  // Runs fn with the page of a window's view on the user-interface thread.
  void OnPage(const std::function<HWND()>& window, const std::function<void(WebView&)>& fn) {
    OnUi([&] {
      WebView* page = FindWebView(ViewOf(window()));
      ASSERT_NE(page, nullptr);
      fn(*page);
    });
  }
  HWND ViewOf(HWND form) {
    if (form == module->formLogin.GetHwnd()) return module->formLogin.view.m_hWnd;
    if (module->formGame && form == module->formGame->GetHwnd()) return module->formGame->view.m_hWnd;
    if (module->formThirdLogin && form == module->formThirdLogin->GetHwnd())
      return module->formThirdLogin->view.m_hWnd;
    return nullptr;
  }
  HWND Login() { return module->formLogin.GetHwnd(); }
  // The login window is laid out in the middle of the work area once its page has loaded.
  bool LoginLaidOut() {
    return WaitUntil([&] {
      RECT r{};
      return IsWindow(Login()) && GetWindowRect(Login(), &r) && r.left == 418 && IsWindowVisible(Login());
    });
  }
  static bool Requested(WebView& page, const std::wstring& url) {
    for (const auto& r : page.Requests())
      if (r.url == url) return true;
    return false;
  }
  std::vector<glider::core::LaunchRequest> Launches() {
    std::lock_guard<std::mutex> lock(mutex);
    return launches;
  }

  TempHome home;
  std::unique_ptr<CGlobalModule> module;
  std::mutex mutex;
  std::vector<glider::core::LaunchRequest> launches;
};

TEST_F(LoginFlow, EnteringTheGameOpensItOnTheCancelledAddressAndReturningReloadsTheLoginPage) {
  const std::wstring enter =
      L"http://127.0.0.1:8730/game/play.php?wd_entergame=1&wd_server=S2&wd_username=bob&x=1";
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(LoginLaidOut());
    std::wstring loginUrl;
    OnPage([&] { return Login(); },
           [&](WebView& page) {
             loginUrl = page.Url();
             page.ClickLink(enter);
           });
    EXPECT_EQ(loginUrl, module->GetLoginUrl());
    ASSERT_TRUE(WaitUntil([&] { return module->formGame != nullptr; }));
    OnUi([&] {
      EXPECT_EQ(module->userName, L"bob&x=1");  // everything after the name, to the end
      EXPECT_EQ(module->gameServer, L"S2");
      EXPECT_EQ(FindWebView(module->formLogin.view.m_hWnd)->Url(), loginUrl);  // the login page stays
    });
    OnPage([&] { return module->formGame->GetHwnd(); },
           [&](WebView& page) {
             page.Settle();
             EXPECT_TRUE(Requested(page, enter));
           });
    size_t loginLoads = 0;
    OnPage([&] { return Login(); }, [&](WebView& page) { loginLoads = page.Requests().size(); });
    OnPage([&] { return module->formGame->GetHwnd(); },
           [&](WebView& page) { page.ClickLink(L"http://127.0.0.1:8730/game/back.php?wd_returnlogin=1"); });
    ASSERT_TRUE(WaitUntil([&] { return module->formGame == nullptr && IsWindowVisible(Login()); }));
    OnPage([&] { return Login(); },
           [&](WebView& page) { EXPECT_EQ(page.Requests().size(), loginLoads + 1); });
    PostMessageW(Login(), WM_EXIT_APP, 0, 0);
  });
  EXPECT_EQ(code, 0);
}

TEST_F(LoginFlow, ASocialLoginRunsInItsOwnWindowAndItsResultReachesTheLoginPage) {
  const std::wstring social =
      L"http://127.0.0.1:8730/thirdlogin/start.php?wd_thirdlogin=1&otype=wechat&server_id=7";
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(LoginLaidOut());
    OnPage([&] { return Login(); },
           [&](WebView& page) {
             page.DefineFunction(L"WebSuperCall");
             page.OpenWindow(social);
           });
    ASSERT_TRUE(WaitUntil(
        [&] { return module->formThirdLogin && IsWindowVisible(module->formThirdLogin->GetHwnd()); }));
    HWND third = nullptr;
    OnUi([&] {
      third = module->formThirdLogin->GetHwnd();
      EXPECT_EQ(module->formLogin.GetLoginType(), L"wechat");
      EXPECT_EQ(module->formLogin.GetServerId(), L"7");
    });
    bool called = false;
    OnPage([&] { return third; },
           [&](WebView& page) {
             page.Settle();
             EXPECT_TRUE(Requested(page, social));
             EXPECT_TRUE(page.HasExternal());
             called = page.CallExternal(
                 L"DoSuperCall", {glider::core::ScriptValue::Number(101),
                                  glider::core::ScriptValue::String(
                                      LR"({"thirdlogin":"tl","loginaccount":"acc","gameurl":"http://g/"})")});
           });
    EXPECT_TRUE(called);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(third); }));
    std::vector<glider::headless::PageCall> calls;
    ASSERT_TRUE(WaitUntil([&] {
      calls = FindWebView(module->formLogin.view.m_hWnd)->Calls();
      return !calls.empty();
    }));
    ASSERT_EQ(calls[0].name, L"WebSuperCall");
    ASSERT_EQ(calls[0].args.size(), 2u);
    EXPECT_EQ(calls[0].args[0].number, 201);
    const std::wstring& json = calls[0].args[1].text;
    EXPECT_LT(json.find(L"\"gameurl\""), json.find(L"\"loginaccount\""));
    EXPECT_LT(json.find(L"\"loginaccount\""), json.find(L"\"thirdlogin\""));
    EXPECT_NE(json.find(L"\"acc\""), std::wstring::npos);
    PostMessageW(Login(), WM_EXIT_APP, 0, 0);
  });
  EXPECT_EQ(code, 0);
}

TEST_F(LoginFlow, OtherRefusedNavigationsOpenOutsideTheClientAndLoadErrorsAreRecorded) {
  glider::headless::Serve(module->GetLoginUrl(), glider::headless::WebPage{404});
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(LoginLaidOut());
    std::string settings = home.ReadSettings();
    EXPECT_NE(settings.find("[Error]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("ErrorUrl=http://127.0.0.1:8730/controller/client.php"), std::string::npos);
    OnPage([&] { return Login(); }, [&](WebView& page) { page.OpenWindow(L"http://example.test/news"); });
    ASSERT_TRUE(WaitUntil([&] { return !Launches().empty(); }));
    auto l = Launches().back();
    EXPECT_EQ(l.kind, glider::core::LaunchRequest::Kind::kAddress);
    EXPECT_EQ(l.target, "http://example.test/news");
    PostMessageW(Login(), WM_EXIT_APP, 0, 0);
  });
  glider::headless::ClearWeb();
  EXPECT_EQ(code, 0);
}

}  // namespace
