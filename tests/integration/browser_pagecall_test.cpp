// Calls from the client into page functions, on the headless engine.
#include <gtest/gtest.h>

#include "browser/PageCall.h"
#include "browser/SuperCall.h"
#include "tests/support/browser_harness.h"

using glider::core::ScriptValue;
using glider::headless::Serve;
using glider::headless::WebPage;
using glider::test::BrowserHarness;

namespace {

const std::wstring kGame = L"http://game.test/play";

class PageCall : public testing::Test {
 protected:
  void SetUp() override {
    Serve(kGame, WebPage{200, false, L"game", {L"jjssyyllDown", L"WebSuperCall"}});
    h.Navigate(kGame);
  }
  BrowserHarness h;
};

TEST_F(PageCall, ArgumentsReachThePageInTheirOrder) {
  ASSERT_TRUE(CallPageFunction(h.view, L"jjssyyllDown", 30, 40));
  ASSERT_EQ(h.Page().Calls().size(), 1u);
  const auto& call = h.Page().Calls()[0];
  EXPECT_EQ(call.name, L"jjssyyllDown");
  ASSERT_EQ(call.args.size(), 2u);
  EXPECT_EQ(call.args[0].number, 30);
  EXPECT_EQ(call.args[1].number, 40);
}

TEST_F(PageCall, TheSocialLoginResultReachesWebSuperCall) {
  std::string text = "{\n   \"loginaccount\" : \"\xE5\x8F\xAA\"\n}\n";
  ASSERT_TRUE(InvokeWebSuperCall(text, h.view));
  ASSERT_EQ(h.Page().Calls().size(), 1u);
  const auto& args = h.Page().Calls()[0].args;
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[0].kind, ScriptValue::Kind::Number);
  EXPECT_EQ(args[0].number, WEBCALL_THIRD_LOGIN);
  EXPECT_EQ(args[1].text, L"{\n   \"loginaccount\" : \"只\"\n}\n");
}

TEST_F(PageCall, MissingOrThrowingFunctionsFailAndMissingOnesAreNotInvoked) {
  EXPECT_FALSE(CallPageFunction(h.view, L"jjssyyllUp", 1, 2));
  EXPECT_TRUE(h.Page().Calls().empty());
  h.Page().RemoveFunction(L"jjssyyllDown");
  EXPECT_FALSE(CallPageFunction(h.view, L"jjssyyllDown", 1, 2));
  EXPECT_TRUE(h.Page().Calls().empty());
  h.Page().DefineFunction(L"7A0E52B9C61F03E8A4D7B250C9E1");
  h.Page().MakeThrow(L"7A0E52B9C61F03E8A4D7B250C9E1");
  EXPECT_FALSE(CallPageFunction(h.view, L"7A0E52B9C61F03E8A4D7B250C9E1", 0, 0));
  EXPECT_EQ(h.Page().Calls().size(), 1u);
}

TEST_F(PageCall, CallsWhileThePageLoadsAreDropped) {
  h.Page().HoldLoads(true);
  h.Navigate(kGame);
  ASSERT_TRUE(h.Page().Loading());
  EXPECT_FALSE(CallPageFunction(h.view, L"jjssyyllDown", 1, 2));
  EXPECT_FALSE(InvokeWebSuperCall("{}", h.view));
  EXPECT_TRUE(h.Page().Calls().empty());
  h.Page().Resume();
  EXPECT_TRUE(CallPageFunction(h.view, L"jjssyyllDown", 1, 2));
  EXPECT_EQ(h.Page().Calls().size(), 1u);
}

}  // namespace
