// The control base and the form: hit testing, routing, sizing zones, tracking, placement.
#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_driver.h"
#include "tests/support/form_host.h"
#include "ui/KXForm.h"

namespace {

// A control that records the moves it is told about.
struct Probe : CKXBaseControl {
  explicit Probe(RECT r, std::vector<Probe*>* calls = nullptr) : log(calls) { bounds = r; }
  bool OnMouseMove(UINT flags, const POINT* pt) override {
    last = *pt;
    if (log) log->push_back(this);
    return CKXBaseControl::OnMouseMove(flags, pt);
  }
  POINT last{-1, -1};
  std::vector<Probe*>* log;
};

struct Button : Probe {
  explicit Button(RECT r) : Probe(r) { className = L"CKXButton"; }
};

class FormTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(glider::test::HostForm(form, RECT{0, 0, 800, 600})); }
  void TearDown() override { glider::test::UnhostForm(form); }
  CKXForm form;
};

TEST(KXBaseControl, HitTestIsInsideBoundsOnlyWhenVisibleAndEnabled) {
  struct Case {
    POINT pt;
    bool visible, enabled, hit;
  } cases[] = {
      {{10, 10}, true, true, true},   {{19, 29}, true, true, true}, {{20, 10}, true, true, false},
      {{10, 30}, true, true, false},  {{9, 10}, true, true, false}, {{10, 10}, false, true, false},
      {{10, 10}, true, false, false},
  };
  for (const Case& c : cases) {
    Probe p({10, 10, 20, 30});
    p.visible = c.visible;
    p.enabled = c.enabled;
    EXPECT_EQ(p.HitTest(&c.pt), c.hit) << c.pt.x << "," << c.pt.y;
  }
  CKXForm form;
  std::wstring cls;
  EXPECT_EQ(form.GetControlClass(cls), L"CKXBaseControl");
}

TEST_F(FormTest, LaterControlsAreOnTopAndHiddenOnesLetThePointerThrough) {
  Probe below({0, 0, 100, 100}), above({50, 50, 150, 150});
  form.AddControl(&below);
  form.AddControl(&above);
  POINT p{60, 60};
  EXPECT_EQ(form.ControlAt(&p), &above);
  above.SetVisible(false, false);
  EXPECT_EQ(form.ControlAt(&p), &below);
  EXPECT_EQ(above.hwnd, form.GetHwnd());
  EXPECT_EQ(above.owner, &form);
  Probe stranger({0, 0, 1, 1});
  EXPECT_FALSE(form.RemoveControl(&stranger));
  EXPECT_EQ(form.children.size(), 2u);
  EXPECT_TRUE(form.RemoveControl(&below));
  EXPECT_EQ(form.children, std::vector<CKXBaseControl*>{&above});
}

TEST_F(FormTest, MovesReachControlsOutsideThePointerFirstAndLeaveIsAMoveAtTheOrigin) {
  std::vector<Probe*> calls;
  Probe corner({0, 0, 10, 10}, &calls), middle({100, 100, 200, 200}, &calls);
  form.AddControl(&corner);
  form.AddControl(&middle);
  POINT p{150, 150};
  form.OnMouseMove(0, &p);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls.back(), &middle);
  calls.clear();
  // WM_MOUSELEAVE carries lParam 0: the control at (0, 0) counts as under the pointer.
  SendMessageW(form.GetHwnd(), WM_MOUSELEAVE, 0, 0);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls.front(), &middle);
  EXPECT_EQ(calls.back(), &corner);
  EXPECT_EQ(corner.last.x, 0);
  EXPECT_EQ(corner.last.y, 0);
  EXPECT_FALSE(form.tracking);
}

TEST_F(FormTest, TrackingIsArmedOnTheFirstMoveAndAgainAfterHoverOrLeave) {
  POINT p{5, 5};
  form.OnMouseMove(0, &p);
  EXPECT_TRUE(form.tracking);
  EXPECT_FALSE(form.hovered);
  SendMessageW(form.GetHwnd(), WM_MOUSEHOVER, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(form.hovered);
  form.OnMouseMove(0, &p);
  EXPECT_TRUE(form.tracking);
  EXPECT_FALSE(form.hovered);
  form.OnMouseLeave(0, &p);
  EXPECT_FALSE(form.tracking);
}

TEST_F(FormTest, SizingZonesAreTestedInOrderAndButtonsStayClickable) {
  struct Case {
    POINT pt;
    int cursor;  // 0: no zone
    int edge;
  } cases[] = {
      {{3, 8}, 32642, WMSZ_TOPLEFT},
      {{795, 595}, 32642, WMSZ_BOTTOMRIGHT},
      {{795, 4}, 32643, WMSZ_TOPRIGHT},
      {{4, 595}, 32643, WMSZ_BOTTOMLEFT},
      {{5, 300}, 32644, WMSZ_LEFT},
      {{795, 300}, 32644, WMSZ_RIGHT},
      {{400, 5}, 32645, WMSZ_TOP},
      {{400, 595}, 32645, WMSZ_BOTTOM},
      {{6, 300}, 0, 0},
      {{400, 300}, 0, 0},
      {{0, 0}, 0, 0},
  };
  auto& driver = glider::headless::Driver();
  for (const Case& c : cases) {
    size_t loops = driver.SystemLoops().size();
    SetCursor(nullptr);
    EXPECT_EQ(form.SizingHitTest(&c.pt, true), c.cursor != 0) << c.pt.x << "," << c.pt.y;
    if (c.cursor == 0) {
      EXPECT_EQ(driver.SystemLoops().size(), loops);
      continue;
    }
    EXPECT_EQ(driver.CurrentCursor(), c.cursor);
    ASSERT_EQ(driver.SystemLoops().size(), loops + 1);
    EXPECT_TRUE(driver.SystemLoops().back().sizing);
    EXPECT_EQ(driver.SystemLoops().back().edge, c.edge);
  }
  Button button({0, 100, 20, 120});
  form.AddControl(&button);
  POINT onButton{2, 110};
  EXPECT_FALSE(form.SizingHitTest(&onButton, true));
}

TEST_F(FormTest, SizingSwitchesFullWindowDraggingOffForTheLoop) {
  SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, 1, nullptr, 0);
  form.BeginSizing(WMSZ_LEFT, nullptr);
  BOOL on = FALSE;
  SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
  EXPECT_TRUE(on);
}

TEST_F(FormTest, ShowCenteredUsesTheWorkAreaWithoutItsOrigin) {
  glider::headless::Driver().SetWorkArea({0, 0, 1920, 1040});
  ASSERT_TRUE(form.ShowCentered(SW_SHOWNORMAL));
  RECT r;
  GetWindowRect(form.GetHwnd(), &r);
  EXPECT_EQ(r.left, 560);
  EXPECT_EQ(r.top, 220);
  EXPECT_TRUE(IsWindowVisible(form.GetHwnd()));
  CKXForm windowless;
  EXPECT_FALSE(windowless.ShowCentered(SW_SHOW));
}

TEST_F(FormTest, ASecondCreateCreatesNothingAndEveryWindowIsNamedForTheGame) {
  HWND first = form.GetHwnd();
  EXPECT_TRUE(form.Create(glider::test::kTestFormClass, L"other", nullptr, nullptr));
  EXPECT_EQ(form.GetHwnd(), first);
  wchar_t text[64];
  GetWindowTextW(first, text, 64);
  EXPECT_STREQ(text, L"Thornmere");
  EXPECT_EQ(GetWindowLongW(first, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
}

TEST_F(FormTest, CloseDestroysTheWindowButKeepsItsHandle) {
  HWND w = form.GetHwnd();
  SendMessageW(w, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_EQ(form.GetHwnd(), w);
}

}  // namespace
