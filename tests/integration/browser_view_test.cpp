// The browser view on the headless engine: what it reports, records and refuses.
#include <gtest/gtest.h>

#include "platform/exdisp.h"
#include "tests/support/browser_harness.h"

using glider::headless::Serve;
using glider::headless::WebPage;
using glider::test::BrowserHarness;

namespace {

const std::wstring kStart = L"http://site.test/start";
const std::wstring kNext = L"http://site.test/next";

class BrowserView : public testing::Test {
 protected:
  void SetUp() override {
    glider::headless::ClearWeb();
    h.Navigate(kStart);
    h.Clear();
  }
  BrowserHarness h;
};

TEST(BrowserViewStart, BlankStartAndFirstNavigationReportInOrder) {
  BrowserHarness h;
  EXPECT_TRUE(h.Codes().empty());  // "about:blank" is neither reported nor completes anything
  EXPECT_FALSE(h.Page().AcceptsDrops());
  h.Navigate(kStart);
  using V = std::vector<unsigned int>;
  EXPECT_EQ(h.Codes(), (V{WN_BEFORE_NAVIGATE, WN_NAVIGATE_COMPLETE, WN_DOCUMENT_COMPLETE}));
  EXPECT_EQ(h.view.GetLastUrl(), kStart);
  EXPECT_FALSE(h.Page().Scrollbars());
}

TEST_F(BrowserView, ExeAnywhereInTheAddressIsBlockedInCapitalsNot) {
  struct Case {
    std::wstring url;
    unsigned int code;
  } cases[] = {
      {L"http://site.test/setup.exe", WN_NAVIGATE_BLOCKED},
      {L"http://site.test/get?file=x.exe&y=1", WN_NAVIGATE_BLOCKED},
      {L"http://site.test/SETUP.EXE", WN_BEFORE_NAVIGATE},
  };
  for (const Case& c : cases) {
    BrowserHarness fresh;
    fresh.Navigate(kStart);
    fresh.Clear();
    fresh.Page().ClickLink(c.url);
    ASSERT_FALSE(fresh.notes.empty()) << testing::PrintToString(c.url);
    EXPECT_EQ(fresh.notes[0].code, c.code);
    EXPECT_EQ(fresh.notes[0].lastUrl, c.url);
    bool blocked = c.code == WN_NAVIGATE_BLOCKED;
    EXPECT_EQ(fresh.Page().Url(), blocked ? kStart : c.url);
    EXPECT_EQ(fresh.Codes().size(), blocked ? 1u : 2u);  // a loaded page also completes its document
  }
}

TEST_F(BrowserView, ScriptAndBlankAddressesAreNeitherRecordedReportedNorCancelled) {
  h.Page().SubmitForm(kNext, "a=1");
  h.Clear();
  for (const wchar_t* url : {L"javascript:void(0)", L"about:blank"}) {
    h.Page().ClickLink(url);
    EXPECT_EQ(h.Page().Url(), url);
    EXPECT_EQ(h.view.GetLastUrl(), kNext);
    EXPECT_EQ(h.view.lastPostData, "a=1");
  }
  for (unsigned int code : h.Codes()) {
    EXPECT_NE(code, WN_BEFORE_NAVIGATE);
    EXPECT_NE(code, WN_NAVIGATE_BLOCKED);
  }
}

TEST_F(BrowserView, HandlerCancelsANavigationAndThePageStays) {
  h.answer = [&](unsigned int code, WebNotifyWord) {
    if (code == WN_BEFORE_NAVIGATE) h.view.cancelNavigation = true;
  };
  h.Page().ClickLink(L"http://site.test/?wd_entergame=1");
  EXPECT_EQ(h.Codes(), std::vector<unsigned int>{WN_BEFORE_NAVIGATE});
  EXPECT_EQ(h.Page().Url(), kStart);
}

TEST_F(BrowserView, NewWindowIsRefusedReportedAndTheNextNavigationCompletesAgain) {
  const std::wstring popup = L"http://site.test/?wd_thirdlogin=1&otype=qq&server_id=7";
  h.Page().SetTitle(L"kept");
  h.Clear();
  h.Page().OpenWindow(popup);
  ASSERT_EQ(h.Codes(), std::vector<unsigned int>{WN_NAVIGATE_BLOCKED});
  EXPECT_EQ(h.notes[0].lastUrl, popup);
  EXPECT_EQ(h.Page().Url(), kStart);
  EXPECT_EQ(h.Page().Title(), L"kept");
  EXPECT_TRUE(h.view.navigatePending);
  EXPECT_EQ(h.view.topFrame, nullptr);
  EXPECT_FALSE(h.view.newWindowPending);
  h.Clear();
  h.Page().ClickLink(kNext);
  using V = std::vector<unsigned int>;
  EXPECT_EQ(h.Codes(), (V{WN_BEFORE_NAVIGATE, WN_NAVIGATE_COMPLETE, WN_DOCUMENT_COMPLETE}));
}

TEST_F(BrowserView, FailedLoadsAreErrorsAndAbortsAreNot) {
  Serve(L"http://site.test/missing", WebPage{404});
  Serve(L"http://unreachable.test/", WebPage{200, true});
  for (const wchar_t* url : {L"http://site.test/missing", L"http://unreachable.test/"}) {
    h.Clear();
    h.Navigate(url);
    EXPECT_EQ(h.Codes(), (std::vector<unsigned int>{WN_BEFORE_NAVIGATE, WN_NAVIGATE_ERROR})) << url;
  }
  h.Clear();
  h.Page().HoldLoads(true);
  h.Navigate(L"http://site.test/slow");
  h.Navigate(kNext);  // stops the first load: an abort
  h.Page().HoldLoads(false);
  h.Page().Resume();
  using V = std::vector<unsigned int>;
  EXPECT_EQ(h.Codes(),
            (V{WN_BEFORE_NAVIGATE, WN_BEFORE_NAVIGATE, WN_NAVIGATE_COMPLETE, WN_DOCUMENT_COMPLETE}));
}

TEST_F(BrowserView, OnlyTheTopFrameCompletesTheDocumentAndEveryFrameLosesItsScrollBars) {
  Serve(kNext, WebPage{200, false, L"", {}, {L"http://site.test/frame1", L"http://site.test/frame2"}});
  h.Navigate(kNext);
  int complete = 0, documents = 0;
  for (unsigned int code : h.Codes()) {
    complete += code == WN_NAVIGATE_COMPLETE;
    documents += code == WN_DOCUMENT_COMPLETE;
  }
  EXPECT_EQ(complete, 1);
  EXPECT_EQ(documents, 1);
  EXPECT_EQ(h.notes.back().code, WN_DOCUMENT_COMPLETE);
  for (glider::core::FrameId f : {0, 1, 2}) EXPECT_FALSE(h.Page().Scrollbars(f)) << f;
  h.Clear();
  h.Page().NavigateFrame(1, L"http://site.test/frame3");
  EXPECT_EQ(h.Codes(), std::vector<unsigned int>{WN_BEFORE_NAVIGATE});
}

TEST_F(BrowserView, PostBodyIsRecordedAndTheNextNavigationClearsIt) {
  h.Page().SubmitForm(kNext, "user=a&pass=b");
  ASSERT_FALSE(h.notes.empty());
  EXPECT_EQ(h.notes[0].lastPostData, "user=a&pass=b");
  h.Page().ClickLink(kStart);
  EXPECT_EQ(h.view.lastPostData, "");
  h.Navigate(kNext, "k=v");
  const auto& request = h.Page().Requests().back();
  EXPECT_EQ(request.body, "k=v");
  EXPECT_EQ(request.headers, L"Content-Type: application/x-www-form-urlencoded\r\n");
  EXPECT_EQ(h.view.lastPostData, "k=v");
}

TEST_F(BrowserView, TitlesContextMenuAndFocusReachThePage) {
  h.Page().SetTitle(L"登录");
  ASSERT_EQ(h.Codes(), std::vector<unsigned int>{WN_TITLE_CHANGE});
  EXPECT_EQ(h.notes[0].text, L"登录");
  EXPECT_TRUE(h.Page().ContextMenu(POINT{5, 5}));  // the document's handler leaves the standard menu
  int focus = h.Page().FocusCount();
  h.view.FocusPage();
  EXPECT_EQ(h.Page().FocusCount(), focus + 1);
  EXPECT_FALSE(h.Page().HasExternal());  // nobody answered WN_GET_EXTERNAL
}

TEST_F(BrowserView, InputForTheViewIsForwardedAndOtherInputIsNot) {
  MSG key{h.view.m_hWnd, WM_KEYDOWN, 'C', 0, 0, {}};
  MSG other{h.parent, WM_KEYDOWN, 'C', 0, 0, {}};
  // Nothing is translated on the way: the engine gets the key itself.
  EXPECT_FALSE(h.view.PreTranslateMessage(&key));
  EXPECT_FALSE(h.view.PreTranslateMessage(&other));
  DOCHOSTUIINFO info{};
  EXPECT_EQ(h.view.GetHostInfo(&info), S_OK);
  EXPECT_EQ(info.dwFlags, 0x20000Eu);
  EXPECT_EQ(info.cbSize, 20u);
}

}  // namespace

namespace {

TEST(BrowserViewLifetime, TheWindowGoesWithTheViewAndLongStartAddressesAreWhole) {
  std::wstring start = L"http://site.test/?q=" + std::wstring(5000, L'x');
  HWND hwnd = nullptr;
  {
    BrowserHarness h;
    CBrowserView second;
    hwnd = second.CreateBrowser(start, h.parent, RECT{0, 0, 10, 10});
    ASSERT_TRUE(IsWindow(hwnd));
    glider::headless::FindWebView(hwnd)->Settle();
    EXPECT_EQ(glider::headless::FindWebView(hwnd)->Url(), start);
  }
  EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
