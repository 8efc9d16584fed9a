// The login window's skin in a running client: a colour-keyed layered window with the
// frame, the six buttons in their order and places with hand cursors, and the status line.
#include <gtest/gtest.h>

#include <vector>

#include "app/GlobalModule.h"
#include "app/Messages.h"
#include "platform/core/window/window_manager.h"
#include "platform/headless/headless_driver.h"
#include "tests/support/client_fixture.h"

using glider::headless::WaitUntil;
using glider::test::MakeModule;
using glider::test::OnUi;
using glider::test::RunClient;
using glider::test::TempHome;

namespace {

TEST(LoginSkin, FrameButtonsAndStatusLineInTheirOrderOnAColourKeyedWindow) {
  TempHome home;
  auto module = MakeModule();
  const int code = RunClient(*module, [&] {
    ASSERT_TRUE(WaitUntil([&] { return IsWindow(module->formLogin.GetHwnd()); }));
    CFormLogin& f = module->formLogin;
    OnUi([&] {
      const std::vector<CKXBaseControl*> order{&f.frameImage,  &f.minimizeButton, &f.closeButton,
                                               &f.siteButton,  &f.payButton,      &f.serviceButton,
                                               &f.siteButton2, &f.statusLabel};
      EXPECT_EQ(f.children, order);
      HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
      for (CKXButton* b : {&f.minimizeButton, &f.closeButton, &f.siteButton, &f.payButton, &f.serviceButton,
                           &f.siteButton2}) {
        EXPECT_EQ(b->cursor, hand);
        EXPECT_TRUE(b->hasAlpha);
        EXPECT_EQ(b->GetImageWidth(), b->bounds.right - b->bounds.left);
      }
      EXPECT_EQ(f.closeButton.bounds.left, 975);
      EXPECT_EQ(f.siteButton2.bounds.top, 255);
      EXPECT_EQ(f.statusLabel.cursor, hand);
      EXPECT_EQ(f.statusLabel.textColor, 0x0000FFFFu);
      EXPECT_EQ(f.statusLabel.fontSize, 26);
      EXPECT_FALSE(f.frameImage.transparentMode);
      EXPECT_EQ(f.frameImage.GetImageWidth(), 29);
      glider::core::Window* w = glider::core::WindowManager::Get().Find(f.GetHwnd());
      ASSERT_NE(w, nullptr);
      EXPECT_EQ(w->layered, glider::core::LayeredMode::ColorKey);
      EXPECT_EQ(w->colorKey, 0x00FF80FFu);
      EXPECT_TRUE(w->exStyle & WS_EX_LAYERED);
    });
    PostMessageW(f.GetHwnd(), WM_EXIT_APP, 0, 0);
  });
  EXPECT_EQ(code, 0);
}

}  // namespace
