#include <gtest/gtest.h>

#include "platform/core/gdi/surface_dc.h"
#include "platform/wingdi.h"

namespace {

TEST(Regions, RectanglesExcludeTheirRightAndBottomEdges) {
  HRGN r = CreateRectRgn(10, 10, 20, 30);
  EXPECT_TRUE(PtInRegion(r, 10, 10));
  EXPECT_TRUE(PtInRegion(r, 19, 29));
  EXPECT_FALSE(PtInRegion(r, 20, 15));
  EXPECT_FALSE(PtInRegion(r, 15, 30));
  RECT box;
  EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 20);
  DeleteObject(r);
  EXPECT_FALSE(PtInRegion(r, 10, 10));  // a deleted region is no region
}

TEST(Regions, RoundRectangleCutsOnlyTheCorners) {
  HRGN r = CreateRoundRectRgn(0, 0, 800, 600, 4, 4);
  struct Case {
    int x, y;
    bool in;
  } cases[] = {{0, 0, false}, {799, 0, false}, {0, 599, false}, {799, 599, false}, {1, 1, true},
               {2, 0, true},  {400, 0, true},  {0, 300, true},  {799, 300, true}};
  for (const Case& c : cases) EXPECT_EQ(PtInRegion(r, c.x, c.y) != FALSE, c.in) << c.x << "," << c.y;
  RECT box;
  std::vector<uint8_t> mask;
  ASSERT_TRUE(glider::core::GetRegionMask(r, &box, &mask));
  EXPECT_EQ(box.right - box.left, 800);
  ASSERT_EQ(mask.size(), 800u * 600u);
  EXPECT_EQ(mask[0], 0);
  EXPECT_EQ(mask[600 * 300 + 0], 1);
  DeleteObject(r);
}

TEST(Regions, CombineInPlace) {
  HRGN a = CreateRectRgn(0, 0, 10, 10);
  HRGN b = CreateRectRgn(5, 0, 15, 10);
  EXPECT_EQ(CombineRgn(a, a, b, RGN_DIFF), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(a, 4, 5));
  EXPECT_FALSE(PtInRegion(a, 5, 5));
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), SIMPLEREGION);
  EXPECT_TRUE(PtInRegion(a, 14, 9));
  EXPECT_EQ(CombineRgn(a, a, b, RGN_XOR), SIMPLEREGION);  // 0..5 is left
  EXPECT_EQ(CombineRgn(a, a, a, RGN_DIFF), NULLREGION);
  DeleteObject(a);
  DeleteObject(b);
}

}  // namespace
