// Window routing of a running client on the headless driver.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "forms/FormGame.h"
#include "forms/FormThirdLogin.h"
#include "platform/headless/headless_driver.h"
#include "platform/headless/headless_web.h"
#include "tests/support/client_fixture.h"

using glider::headless::Driver;
using glider::headless::WaitUntil;
using glider::test::MakeModule;
using glider::test::OnUi;
using glider::test::RunClient;
using glider::test::TempHome;

namespace {

struct Windows {
  HWND back = nullptr, login = nullptr, game = nullptr, third = nullptr;
};

Windows Read(CGlobalModule& m) {
  Windows w;
  OnUi([&] {
    w.back = m.formBack.GetHwnd();
    w.login = m.formLogin.GetHwnd();
    w.game = m.formGame ? m.formGame->GetHwnd() : nullptr;
    w.third = m.formThirdLogin ? m.formThirdLogin->GetHwnd() : nullptr;
  });
  return w;
}

bool Visible(HWND h) {
  bool v = false;
  OnUi([&] { v = IsWindowVisible(h); });
  return v;
}

RECT RectOf(HWND h) {
  RECT r{};
  OnUi([&] { GetWindowRect(h, &r); });
  return r;
}

class RoutingFlow : public testing::Test {
 protected:
  void SetUp() override {
    Driver().SetWorkArea({0, 0, 1920, 1040});
    Driver().SetMessageBoxAnswerer(nullptr);
    module = MakeModule();
  }
  void TearDown() override { Driver().SetMessageBoxAnswerer(nullptr); }
  bool Started() {
    return WaitUntil([&] { return IsWindow(module->formLogin.GetHwnd()); });
  }
  TempHome home;
  std::unique_ptr<CGlobalModule> module;
};

TEST_F(RoutingFlow, NormalStartParksBothWindowsOffScreenUntilThePageHasLoaded) {
  glider::headless::HoldNewViews(true);
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(Started());
    Windows w = Read(*module);
    for (HWND h : {w.back, w.login}) {
      RECT r = RectOf(h);
      EXPECT_EQ(r.left, -2000);
      EXPECT_EQ(r.top, -2000);
      EXPECT_EQ(r.right - r.left, 1084);
      EXPECT_TRUE(Visible(h));
    }
    OnUi([&] {
      EXPECT_EQ(GetWindow(w.login, GW_OWNER), w.back);
      EXPECT_TRUE(GetWindowLongW(w.login, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
      wchar_t text[32];
      GetWindowTextW(w.login, text, 32);
      EXPECT_STREQ(text, L"Thornmere");
    });
    // The page's first navigation brings both windows into the middle of the work area.
    OnUi([&] {
      auto* view = glider::headless::FindWebView(module->formLogin.view.m_hWnd);
      ASSERT_NE(view, nullptr);
      view->HoldLoads(false);
      view->Resume();
    });
    ASSERT_TRUE(WaitUntil([&] { return RectOf(w.login).left == 418; }));
    EXPECT_EQ(RectOf(w.login).top, 177);
    EXPECT_EQ(RectOf(w.back).left, 418);
    OnUi([&] { EXPECT_FALSE(GetWindowLongW(w.back, GWL_EXSTYLE) & WS_EX_TOOLWINDOW); });
    PostMessageW(w.login, WM_EXIT_APP, 0, 0);
  });
  glider::headless::HoldNewViews(false);
  EXPECT_EQ(code, 0);
}

TEST_F(RoutingFlow, EnteringTheGameFromAnyWindowCoversTheWorkAreaAndLeavingItBringsTheLoginBack) {
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(Started());
    Windows w = Read(*module);
    PostMessageW(w.back, WM_ENTER_GAME, 0, 0);  // any of the client's windows will do
    ASSERT_TRUE(WaitUntil([&] { return module->formGame != nullptr; }));
    Windows in = Read(*module);
    RECT r = RectOf(in.game);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 1920);
    EXPECT_EQ(r.bottom, 1040);
    EXPECT_TRUE(Visible(in.game));
    EXPECT_FALSE(Visible(w.login));
    EXPECT_FALSE(Visible(w.back));

    // A second request brings the running game forward instead of opening another.
    OnUi([&] { ShowWindow(in.game, SW_MINIMIZE); });
    PostMessageW(w.login, WM_ENTER_GAME, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsIconic(in.game) && GetForegroundWindow() == in.game; }));
    EXPECT_EQ(Read(*module).game, in.game);

    // Watch the background window's activation while the game closes.
    static std::vector<UINT>* activations;
    static WNDPROC original;
    std::vector<UINT> seen;
    activations = &seen;
    OnUi([&] {
      original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w.back, GWLP_WNDPROC));
      SetWindowLongPtrW(w.back, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
                          if (m == WM_ACTIVATE) activations->push_back(LOWORD(wp));
                          return original(h, m, wp, lp);
                        }));
      DestroyWindow(in.game);
    });
    EXPECT_EQ(Read(*module).game, nullptr);
    EXPECT_TRUE(Visible(w.back));
    EXPECT_TRUE(Visible(w.login));
    OnUi([&] { EXPECT_EQ(GetForegroundWindow(), w.login); });
    EXPECT_EQ(std::count(seen.begin(), seen.end(), static_cast<UINT>(WA_ACTIVE)), 0);
    EXPECT_TRUE(module->formLogin.returning);
    OnUi([&] { SetWindowLongPtrW(w.back, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original)); });
    PostMessageW(w.login, WM_EXIT_APP, 0, 0);
  });
  EXPECT_EQ(code, 0);
}

TEST_F(RoutingFlow, ASecondSocialLoginClosesTheFirstWindowBeforeTheNewOneIsShown) {
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(Started());
    Windows w = Read(*module);
    PostMessageW(w.login, WM_OPEN_THIRD_LOGIN, 0, 0);
    ASSERT_TRUE(WaitUntil(
        [&] { return module->formThirdLogin && IsWindowVisible(module->formThirdLogin->GetHwnd()); }));
    HWND first = Read(*module).third;
    RECT r = RectOf(first);
    EXPECT_EQ(r.left, 560);
    EXPECT_EQ(r.top, 220);
    EXPECT_EQ(r.right - r.left, 800);

    PostMessageW(first, WM_OPEN_THIRD_LOGIN, 0, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return module->formThirdLogin && module->formThirdLogin->GetHwnd() != first; }));
    HWND second = Read(*module).third;
    OnUi([&] {
      EXPECT_FALSE(IsWindow(first));
      EXPECT_TRUE(IsWindowVisible(second));
    });
    PostMessageW(second, WM_CLOSE_THIRD_LOGIN, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(second); }));
    PostMessageW(w.login, WM_EXIT_APP, 0, 0);
  });
  EXPECT_EQ(code, 0);
}

TEST_F(RoutingFlow, ConfirmExitAnsweredNoChangesNothingAndYesEndsEvenDuringAGame) {
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(Started());
    Windows w = Read(*module);
    PostMessageW(w.login, WM_ENTER_GAME, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return module->formGame != nullptr; }));

    PostMessageW(w.login, WM_CONFIRM_EXIT, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Driver().OpenMessageBoxes() == 1; }));
    auto box = Driver().MessageBoxes().back();
    EXPECT_EQ(box.text, L"此操作将退出游戏，是否继续？");
    EXPECT_EQ(box.caption, L"提示");
    EXPECT_EQ(box.type, MB_YESNO | MB_DEFBUTTON2);
    EXPECT_EQ(box.owner, w.login);
    Driver().AnswerMessageBox(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return Driver().OpenMessageBoxes() == 0; }));
    OnUi([&] {
      EXPECT_TRUE(IsWindow(w.login));
      EXPECT_TRUE(module->formGame && IsWindowVisible(module->formGame->GetHwnd()));
    });

    PostMessageW(w.login, WM_CONFIRM_EXIT, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Driver().OpenMessageBoxes() == 1; }));
    Driver().AnswerMessageBox(IDYES);
  });
  EXPECT_EQ(code, 0);
}

TEST_F(RoutingFlow, StaleHandlesGoToTheDefaultProcedure) {
  int code = RunClient(*module, [&] {
    ASSERT_TRUE(Started());
    Windows w = Read(*module);
    OnUi([&] { EXPECT_EQ(AppWindowProc(reinterpret_cast<HWND>(0x1234), WM_USER + 50, 0, 0), 0); });
    PostMessageW(w.login, WM_EXIT_APP, 0, 0);
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
