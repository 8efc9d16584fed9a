// Object lifetime and DC state: handles never dangle.
#include <gtest/gtest.h>

#include "tests/support/gdi_canvas.h"

namespace {

TEST(GdiObjects, ABitmapDeletedWhileSelectedLivesUntilDeselected) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
  HGDIOBJ old = SelectObject(dc, bitmap);
  ASSERT_NE(old, nullptr);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_EQ(GetObjectType(bitmap), 0u);                      // the handle is gone at once
  EXPECT_NE(SetPixel(dc, 1, 1, RGB(1, 2, 3)), CLR_INVALID);  // the pixels are not
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(1, 2, 3));
  EXPECT_NE(SelectObject(dc, old), nullptr);  // frees it
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiObjects, ABitmapIsSelectedIntoOneDcAtATime) {
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 4, 4);
  HGDIOBJ old = SelectObject(a, bitmap);
  EXPECT_EQ(SelectObject(b, bitmap), nullptr);
  SelectObject(a, old);
  HGDIOBJ oldB = SelectObject(b, bitmap);
  EXPECT_NE(oldB, nullptr);
  SelectObject(b, oldB);
  DeleteObject(bitmap);
  DeleteDC(a);
  DeleteDC(b);
}

TEST(GdiObjects, RestoreDcBringsBackColoursAndObjects) {
  glider::test::Canvas canvas(2, 2);
  HDC dc = canvas.dc();
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 1, 0, 0, 0, 0, 0, 0, L"宋体");
  SetTextColor(dc, RGB(1, 1, 1));
  const int level = SaveDC(dc);
  EXPECT_EQ(level, 1);
  HGDIOBJ before = SelectObject(dc, font);
  SetTextColor(dc, RGB(9, 9, 9));
  SetBkMode(dc, TRANSPARENT);
  EXPECT_TRUE(DeleteObject(font));  // still selected: freed on restore
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), canvas.bitmap());
  EXPECT_FALSE(RestoreDC(dc, 1));  // nothing saved any more
}

TEST(GdiObjects, DibSectionsDescribeTheirRowOrder) {
  for (bool bottomUp : {false, true}) {
    glider::test::Canvas canvas(3, 2, bottomUp);
    DIBSECTION ds{};
    ASSERT_EQ(GetObjectW(canvas.bitmap(), sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
    EXPECT_EQ(ds.dsBm.bmWidthBytes, 12);
    EXPECT_EQ(ds.dsBmih.biHeight, bottomUp ? 2 : -2);
    EXPECT_EQ(ds.dsBm.bmBitsPixel, 32);
  }
  EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), OBJ_BRUSH);
  EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));  // stock objects survive
  EXPECT_EQ(GetObjectType(GetStockObject(WHITE_BRUSH)), OBJ_BRUSH);
}

}  // namespace
