// Fonts and DrawTextW: Windows face names resolve through our aliases, and
// text lands where the format flags say.
#include <gtest/gtest.h>

#include "platform/core/gdi/font_info.h"
#include "tests/support/gdi_canvas.h"

namespace {

using glider::test::Canvas;

HFONT Font(int height, const wchar_t* face) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
}

class FaceAlias : public testing::TestWithParam<const wchar_t*> {};

TEST_P(FaceAlias, MeasuresChineseTextWithTheInstalledCjkFont) {
  ASSERT_TRUE(glider::core::FontAliasesLoaded());
  HFONT font = Font(-14, GetParam());
  EXPECT_EQ(glider::core::ResolvedFontFamily(font), "WenQuanYi Zen Hei");
  Canvas canvas(1, 1);
  HGDIOBJ old = SelectObject(canvas.dc(), font);
  RECT rect{10, 20, 10, 20};
  const int height = DrawTextW(canvas.dc(), L"官方网站", -1, &rect, DT_CALCRECT | DT_SINGLELINE);
  // Four full-width characters of a 14-pixel em.
  EXPECT_GE(rect.right - rect.left, 4 * 12);
  EXPECT_LE(rect.right - rect.left, 4 * 16);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.bottom - rect.top, height);
  EXPECT_GT(height, 12);
  SelectObject(canvas.dc(), old);
  DeleteObject(font);
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceAlias, testing::Values(L"宋体", L"微软雅黑"));

TEST(CreateFontW, PositiveHeightIsTheCellAndNegativeTheEm) {
  Canvas canvas(1, 1);
  auto lineHeight = [&](int height) {
    HFONT font = Font(height, L"宋体");
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    RECT rect{};
    const int h = DrawTextW(canvas.dc(), L"字", 1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(canvas.dc(), old);
    DeleteObject(font);
    return h;
  };
  EXPECT_NEAR(lineHeight(26), 26, 2);
  EXPECT_GT(lineHeight(-26), lineHeight(26));
}

// The box around every pixel that differs from the background.
RECT InkBox(Canvas& c, uint32_t background) {
  RECT box{c.width(), c.height(), -1, -1};
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.At(x, y) != background) {
        box.left = std::min<LONG>(box.left, x), box.right = std::max<LONG>(box.right, x + 1);
        box.top = std::min<LONG>(box.top, y), box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

TEST(DrawTextW, CentresOneLineAndClipsToTheRectangle) {
  for (bool bottomUp : {false, true}) {
    Canvas canvas(200, 60, bottomUp);
    canvas.Fill(0xFF000000);
    HFONT font = Font(-16, L"宋体");
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), RGB(255, 255, 255));
    RECT rect{50, 10, 150, 50};
    DrawTextW(canvas.dc(), L"充值", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const RECT ink = InkBox(canvas, 0xFF000000);
    ASSERT_LT(ink.left, ink.right) << "nothing drawn";
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 3) << bottomUp;
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 4) << bottomUp;
    // Text wider than its rectangle stays inside it.
    canvas.Fill(0xFF000000);
    RECT narrow{90, 10, 110, 50};
    DrawTextW(canvas.dc(), L"客服中心客服中心", -1, &narrow, DT_LEFT | DT_SINGLELINE);
    const RECT clipped = InkBox(canvas, 0xFF000000);
    EXPECT_GE(clipped.left, 90);
    EXPECT_LE(clipped.right, 110);
    SelectObject(canvas.dc(), old);
    DeleteObject(font);
  }
}

}  // namespace
