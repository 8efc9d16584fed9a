// Labels and buttons: fonts, shortening, the button's state machine and hover looks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/glider/ids.h"
#include "tests/support/form_host.h"
#include "tests/support/gdi_canvas.h"
#include "ui/KXButton.h"
#include "ui/KXForm.h"

namespace {

namespace ids = glider::res::program;
using glider::test::Canvas;

struct LabelProbe : CKXLabel {
  using CKXLabel::BuildFont;
  using CKXLabel::Shorten;
};

// The form's opaque background, as the login window's frame is.
struct Backdrop : CKXBaseControl {
  void Paint(HDC dc) override {
    HBRUSH brush = CreateSolidBrush(RGB(30, 40, 90));
    FillRect(dc, &bounds, brush);
    DeleteObject(brush);
  }
};

struct CountingButton : CKXButton {
  void Paint(HDC dc) override {
    ++paints;
    CKXButton::Paint(dc);
  }
  int paints = 0;
};

// The canvas after painting with the label's font a line the way the label centres it.
std::vector<uint32_t> Rendered(int width, int height, LabelProbe& font, const std::wstring& line, RECT r,
                               UINT format) {
  Canvas canvas(width, height);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SelectObject(canvas.dc(), font.BuildFont());
  RECT calc = r;
  const int h = DrawTextW(canvas.dc(), line.c_str(), -1, &calc, DT_CALCRECT);
  const int shrink = (r.bottom - r.top - h) / 2;
  r.top += shrink;
  r.bottom -= shrink;
  DrawTextW(canvas.dc(), line.c_str(), -1, &r, format);
  return std::vector<uint32_t>(&canvas.At(0, 0), &canvas.At(0, 0) + width * height);
}

std::vector<uint32_t> Painted(int width, int height, CKXBaseControl& c) {
  Canvas canvas(width, height);
  c.Paint(canvas.dc());
  return std::vector<uint32_t>(&canvas.At(0, 0), &canvas.At(0, 0) + width * height);
}

const wchar_t kLongText[] = L"Thornmere awaits beyond the northern gate";

TEST(KXLabel, FontSizeFollowsTheFaceUnlessAnExactSizeIsGiven) {
  struct Case {
    const wchar_t* face;
    int size, exact, expected;
  } cases[] = {
      {L"微软雅黑", 20, 0, 15}, {L"宋体", 20, 0, 20}, {L"微软雅黑", 20, 18, 18}, {L"宋体", 20, 18, 18}};
  for (const Case& c : cases) {
    CKXLabel label;
    label.SetFontFace(c.face, false);
    label.SetFontSize(c.size, c.exact, false);
    EXPECT_EQ(label.fontSize, c.expected) << c.size << "/" << c.exact;
    EXPECT_TRUE(label.fontDirty);
  }
}

TEST(KXLabel, TextWidthIsCachedUntilTheTextChangesAndCappedByMaxWidth) {
  CKXLabel label;
  label.SetText(kLongText, false);
  const int wide = label.GetTextWidth();
  EXPECT_GT(wide, 150);
  label.SetFontSize(30, 0, false);
  EXPECT_EQ(label.GetTextWidth(), wide);
  label.SetAutoWidth(true, 100);
  label.SetText(kLongText, false);
  EXPECT_EQ(label.GetTextWidth(), 100);
}

TEST(KXLabel, AutoWidthLabelWithMaxWidthEndsThatWideWithAShortenedText) {
  LabelProbe label;
  label.SetText(L"Thornmere awaits you here", false);
  label.SetAutoWidth(true, 100);
  const RECT r{0, 0, 100, 20};
  label.SetRect(&r);
  ASSERT_GE(label.GetTextWidth(), 100);
  const std::vector<uint32_t> shown = Painted(400, 20, label);
  EXPECT_EQ(label.bounds.right - label.bounds.left, 100);

  Canvas measure(1, 1);
  SelectObject(measure.dc(), label.BuildFont());
  const std::wstring line =
      LabelProbe::Shorten(measure.dc(), label.text, label.bounds, label.bounds.right, 0);
  ASSERT_GT(line.size(), 3u);
  EXPECT_EQ(line.substr(line.size() - 3), L"...");
  SIZE size{};
  GetTextExtentPoint32W(measure.dc(), line.c_str(), static_cast<int>(line.size()), &size);
  EXPECT_GT(size.cx, 84);
  EXPECT_EQ(shown, Rendered(400, 20, label, line, label.bounds, 0));
  EXPECT_NE(shown, Rendered(400, 20, label, label.text, label.bounds, 0));
}

TEST(KXLabel, FixedWidthLabelNeverShowsTheWholeTextThatDoesNotFit) {
  for (int width : {10, 40, 120}) {
    LabelProbe label;
    label.SetFormat(DT_LEFT | DT_SINGLELINE);  // non-zero: fixed width
    label.SetText(kLongText, false);
    const RECT r{0, 0, width, 20};
    label.SetRect(&r);
    const std::vector<uint32_t> shown = Painted(400, 20, label);
    EXPECT_EQ(label.bounds.right, width);
    Canvas measure(1, 1);
    SelectObject(measure.dc(), label.BuildFont());
    const std::wstring line = LabelProbe::Shorten(measure.dc(), label.text, r, width, 0);
    EXPECT_LT(line.size(), label.text.size() + 3) << width;
    EXPECT_EQ(line.substr(line.size() - 3), L"...");
    EXPECT_EQ(shown, Rendered(400, 20, label, line, r, label.format)) << width;
  }
}

TEST(KXLabel, HiddenLabelNeitherDrawsNorChangesItsBounds) {
  CKXLabel label;
  label.SetText(kLongText, false);
  const RECT r{0, 0, 30, 20};
  label.SetRect(&r);
  label.SetVisible(false, false);
  const RECT before = label.bounds;
  EXPECT_EQ(Painted(40, 20, label), std::vector<uint32_t>(40 * 20, 0));
  EXPECT_EQ(label.bounds.right, before.right);
}

// A button with the login window's close pictures on a form window.
class ButtonOnForm : public testing::Test {
 protected:
  void SetUp() override {
    const RECT r{0, 0, 200, 100};
    ASSERT_TRUE(glider::test::HostForm(form, r));
    button.SetImages(nullptr, ids::kPngLoginClose, ids::kPngLoginCloseHover, ids::kPngLoginCloseHover);
    backdrop.SetRect(&r);
    form.AddControl(&backdrop);
    const RECT b{10, 10, 42, 42};
    button.SetRect(&b);
    form.AddControl(&button);
    ShowWindow(form.GetHwnd(), SW_SHOW);
    UpdateWindow(form.GetHwnd());
    button.paints = 0;
  }
  void TearDown() override { glider::test::UnhostForm(form); }
  HBITMAP Shown() const { return static_cast<HBITMAP>(button.currentImage); }
  CKXForm form;
  Backdrop backdrop;
  CountingButton button;
};

TEST_F(ButtonOnForm, SetStateRepaintsOnlyOnChangeAndRefreshKeepsTheState) {
  ASSERT_TRUE(button.hasAlpha);
  button.SetState(CKXButton::kNormal, true);
  EXPECT_EQ(button.paints, 0);
  button.SetState(CKXButton::kHover, true);
  EXPECT_EQ(button.paints, 1);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.hoverImage));
  button.SetState(CKXButton::kHover, true);
  EXPECT_EQ(button.paints, 1);
  button.SetState(CKXButton::kRefresh, true);
  EXPECT_EQ(button.paints, 2);
  EXPECT_EQ(button.state, CKXButton::kHover);
  button.SetState(CKXButton::kPressed, false);
  EXPECT_EQ(button.paints, 2);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.pressedImage));
}

TEST_F(ButtonOnForm, CheckedWithoutCheckedPicturesLooksUnchecked) {
  CKXButton plain;
  plain.SetImages(nullptr, ids::kPngLoginClose, ids::kPngLoginCloseHover, ids::kPngLoginCloseHover);
  plain.SetRect(&button.bounds);
  button.SetChecked(true);
  EXPECT_EQ(button.paints, 1);
  for (int s : {CKXButton::kHover, CKXButton::kPressed, CKXButton::kReleased, CKXButton::kNormal}) {
    button.SetState(s, false);
    plain.SetState(s, false);
    const CImage& own = s == CKXButton::kNormal    ? button.normalImage
                        : s == CKXButton::kPressed ? button.pressedImage
                                                   : button.hoverImage;
    EXPECT_EQ(Shown(), static_cast<HBITMAP>(own)) << s;
    EXPECT_EQ(Painted(60, 60, button), Painted(60, 60, plain)) << s;
  }
}

TEST_F(ButtonOnForm, CheckedPicturesAreShownWhileChecked) {
  LoadPngResource(nullptr, &button.checkedImage, ids::kPngGameMaxChecked);
  LoadPngResource(nullptr, &button.checkedHoverImage, ids::kPngGameMaxCheckedHover);
  button.SetChecked(true);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.checkedImage));
  button.SetState(CKXButton::kHover, false);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.checkedHoverImage));
  button.SetChecked(false);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.hoverImage));
}

TEST_F(ButtonOnForm, PointerMovesShowTheHoverLookAndLeavingDropsIt) {
  HWND h = form.GetHwnd();
  HDC dc = GetDC(h);
  const COLORREF normal = GetPixel(dc, 26, 26);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  EXPECT_EQ(button.state, CKXButton::kHover);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.hoverImage));
  EXPECT_NE(GetPixel(dc, 26, 26), normal);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(100, 80));
  EXPECT_EQ(button.state, CKXButton::kNormal);
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
  SendMessageW(h, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(button.state, CKXButton::kNormal);
  EXPECT_EQ(GetPixel(dc, 26, 26), normal);
  ReleaseDC(h, dc);
}

TEST_F(ButtonOnForm, DisabledButtonShowsItsDisabledPicture) {
  LoadPngResource(nullptr, &button.disabledImage, ids::kPngLoginMin);
  button.SetEnabled(false, false);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.disabledImage));
  button.SetEnabled(true, false);
  EXPECT_EQ(Shown(), static_cast<HBITMAP>(button.normalImage));
}

}  // namespace
