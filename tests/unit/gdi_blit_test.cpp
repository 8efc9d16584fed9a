// Blits: the exact integer results the skin relies on.
#include <gtest/gtest.h>

#include "platform/core/gdi/surface_dc.h"
#include "tests/support/gdi_canvas.h"

namespace {

using glider::test::Canvas;

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return a << 24 | r << 16 | g << 8 | b;
}

struct BlendCase {
  uint32_t src, dst;
  BYTE constantAlpha, format;
  uint32_t expected;
};

class AlphaBlendRule : public testing::TestWithParam<BlendCase> {};

TEST_P(AlphaBlendRule, GivesTheRoundedResult) {
  const BlendCase& c = GetParam();
  Canvas src(1, 1), dst(1, 1);
  src.At(0, 0) = c.src;
  dst.At(0, 0) = c.dst;
  ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1,
                         BLENDFUNCTION{AC_SRC_OVER, 0, c.constantAlpha, c.format}));
  EXPECT_EQ(dst.At(0, 0), c.expected) << std::hex << dst.At(0, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AlphaBlendRule,
    testing::Values(
        // Premultiplied (50, 100, 200) at alpha 128 over grey: src + dst * 127 / 255, rounded.
        BlendCase{Argb(128, 25, 50, 100), Argb(255, 200, 200, 200), 255, AC_SRC_ALPHA,
                  Argb(255, 125, 150, 200)},
        // A fully transparent black pixel leaves the target unchanged.
        BlendCase{Argb(0, 0, 0, 0), Argb(40, 30, 20, 10), 255, AC_SRC_ALPHA, Argb(40, 30, 20, 10)},
        BlendCase{Argb(255, 3, 2, 1), Argb(255, 90, 90, 90), 255, AC_SRC_ALPHA, Argb(255, 3, 2, 1)},
        // Constant alpha scales the premultiplied source first.
        BlendCase{Argb(255, 50, 100, 200), Argb(255, 0, 0, 0), 128, AC_SRC_ALPHA, Argb(255, 25, 50, 100)},
        // Without source alpha: a plain mix, 200 * 128 + 100 * 127 = 38300 -> 150.
        BlendCase{Argb(255, 200, 200, 200), Argb(255, 100, 100, 100), 128, 0, Argb(255, 150, 150, 150)},
        BlendCase{Argb(255, 200, 200, 200), Argb(255, 100, 100, 100), 0, 0, Argb(255, 100, 100, 100)}));

TEST(AlphaBlend, RefusesASourceRectangleOutsideTheBitmap) {
  Canvas src(4, 4), dst(4, 4);
  EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 4, 4, src.dc(), 1, 0, 4, 4, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}));
}

TEST(TransparentBlt, LeavesKeyPixelsOutWhateverTheirAlpha) {
  Canvas src(4, 1), dst(8, 2);
  const uint32_t key = Argb(255, 255, 128, 255), red = Argb(255, 255, 0, 0), blue = Argb(255, 0, 0, 255);
  src.At(0, 0) = key;
  src.At(1, 0) = red;
  src.At(2, 0) = Argb(0, 255, 128, 255);  // the key with another alpha byte
  src.At(3, 0) = blue;
  const uint32_t green = Argb(255, 0, 255, 0);
  dst.Fill(green);
  ASSERT_TRUE(TransparentBlt(dst.dc(), 0, 0, 8, 2, src.dc(), 0, 0, 4, 1, RGB(255, 128, 255)));
  const uint32_t expected[8] = {green, green, red, red, green, green, blue, blue};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(dst.At(x, y), expected[x]) << x << "," << y;
}

TEST(StretchBlt, SamplesTheNearestPixelBothWays) {
  Canvas src(2, 2), big(4, 4), small(1, 1);
  const uint32_t colors[4] = {Argb(255, 1, 0, 0), Argb(255, 2, 0, 0), Argb(255, 3, 0, 0), Argb(255, 4, 0, 0)};
  for (int i = 0; i < 4; ++i) src.At(i % 2, i / 2) = colors[i];
  ASSERT_TRUE(StretchBlt(big.dc(), 0, 0, 4, 4, src.dc(), 0, 0, 2, 2, SRCCOPY));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(big.At(x, y), colors[(y / 2) * 2 + x / 2]);
  ASSERT_TRUE(StretchBlt(small.dc(), 0, 0, 1, 1, big.dc(), 2, 2, 2, 2, SRCCOPY));
  EXPECT_EQ(small.At(0, 0), colors[3]);
}

TEST(BitBlt, CopiesBetweenRowOrdersAndWithinOneBitmap) {
  Canvas topDown(3, 3), bottomUp(3, 3, true);
  for (int i = 0; i < 9; ++i) topDown.At(i % 3, i / 3) = Argb(255, 0, 0, i);
  ASSERT_TRUE(BitBlt(bottomUp.dc(), 0, 0, 3, 3, topDown.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(bottomUp.At(2, 0), Argb(255, 0, 0, 2));
  EXPECT_EQ(bottomUp.At(0, 2), Argb(255, 0, 0, 6));
  // Overlapping copy one pixel to the right reads the pixels as they were.
  ASSERT_TRUE(BitBlt(topDown.dc(), 1, 0, 2, 1, topDown.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(topDown.At(1, 0), Argb(255, 0, 0, 0));
  EXPECT_EQ(topDown.At(2, 0), Argb(255, 0, 0, 1));
}

TEST(SurfaceDc, DrawsIntoTheCallersPixelsWithinItsClip) {
  uint32_t pixels[4 * 3] = {};
  const RECT clip{1, 1, 3, 2};
  HDC dc = glider::core::CreateSurfaceDC(pixels, 4, 3, 16, &clip);
  ASSERT_NE(dc, nullptr);
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  const RECT all{0, 0, 4, 3};
  FillRect(dc, &all, brush);
  for (int i = 0; i < 12; ++i) {
    const bool inside = i / 4 == 1 && (i % 4 == 1 || i % 4 == 2);
    EXPECT_EQ(pixels[i], inside ? Argb(255, 10, 20, 30) : 0u) << i;
  }
  Canvas other(1, 1);
  EXPECT_EQ(SelectObject(dc, other.bitmap()), nullptr);  // a surface keeps its pixels
  glider::core::PixelView view;
  ASSERT_TRUE(glider::core::GetDCPixels(dc, &view));
  EXPECT_EQ(view.top, reinterpret_cast<uint8_t*>(pixels));
  DeleteObject(brush);
  glider::core::ReleaseSurfaceDC(dc);
}

}  // namespace
