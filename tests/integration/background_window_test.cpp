// The background window of a running client: its shadow is the layered content, the
// login window's key colour shows it, a press on it drags and clear pixels let through.
#include <gtest/gtest.h>

#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "platform/core/window/window_manager.h"
#include "platform/headless/headless_driver.h"
#include "tests/support/client_fixture.h"

using glider::headless::Driver;
using glider::headless::MouseDown;
using glider::headless::MouseUp;
using glider::headless::WaitUntil;
using glider::test::MakeModule;
using glider::test::OnUi;
using glider::test::RunClient;
using glider::test::TempHome;

namespace {

constexpr COLORREF kKey = RGB(255, 128, 255);
constexpr POINT kOrigin{200, 100};

COLORREF PixelOf(HWND h, int x, int y) {
  HDC dc = GetDC(h);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(h, dc);
  return c;
}

size_t MoveLoopsOf(HWND h) {
  size_t n = 0;
  for (const auto& loop : Driver().SystemLoops()) n += loop.hwnd == h && !loop.sizing;
  return n;
}

TEST(BackgroundWindow, PressOnTheShadowDragsAndClearPixelsLetThePointerThrough) {
  TempHome home;
  Driver().SetWorkArea({0, 0, 1920, 1040});
  auto module = MakeModule();
  const int code = RunClient(*module, [&] {
    ASSERT_TRUE(WaitUntil([&] { return IsWindow(module->formLogin.GetHwnd()); }));
    HWND back = nullptr, login = nullptr;
    OnUi([&] {
      back = module->formBack.GetHwnd();
      login = module->formLogin.GetHwnd();
      SetWindowPos(back, HWND_TOP, kOrigin.x, kOrigin.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    });
    // The login window follows and paints its frame: the key colour over the shadow.
    ASSERT_TRUE(WaitUntil([&] {
      RECT r{};
      GetWindowRect(login, &r);
      return r.left == kOrigin.x && r.top == kOrigin.y && PixelOf(login, 20, 342) == kKey;
    }));
    OnUi([&] {
      EXPECT_EQ(glider::core::WindowFromScreenPoint(POINT{kOrigin.x + 20, kOrigin.y + 342}), back);
      // Pixel (0, 0) of the shadow is clear: nothing of the client is there.
      EXPECT_EQ(glider::core::WindowFromScreenPoint(kOrigin), nullptr);
      // The close button is the login window's own.
      EXPECT_EQ(glider::core::WindowFromScreenPoint(POINT{kOrigin.x + 990, kOrigin.y + 228}), login);
    });
    const size_t before = MoveLoopsOf(back);
    MouseDown(kOrigin);
    MouseUp(kOrigin);
    EXPECT_EQ(MoveLoopsOf(back), before);
    MouseDown(POINT{kOrigin.x + 20, kOrigin.y + 342});
    MouseUp(POINT{kOrigin.x + 20, kOrigin.y + 342});
    EXPECT_TRUE(WaitUntil([&] { return MoveLoopsOf(back) == before + 1; }));
    PostMessageW(login, WM_EXIT_APP, 0, 0);
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
