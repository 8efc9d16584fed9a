// Layered windows: content with per-pixel alpha or a colour key, and the pointer
// passing through their clear pixels and outside a window's region.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/gdi/surface_dc.h"
#include "platform/core/window/window_manager.h"
#include "platform/wingdi.h"
#include "tests/platform/window_recorder.h"

using glider::core::WindowFromScreenPoint;
using glider::test::WindowRecorder;

namespace {

constexpr COLORREF kKey = RGB(255, 128, 255);

// A 4 x 2 memory bitmap selected into its own DC, with its pixels at hand.
struct Source {
  Source() : dc(CreateCompatibleDC(nullptr)), bitmap(CreateCompatibleBitmap(dc, 4, 2)) {
    old = SelectObject(dc, bitmap);
    glider::core::PixelView view;
    if (glider::core::GetDCPixels(dc, &view)) top = view.top, pitch = view.pitch;
  }
  ~Source() {
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  void Set(int x, int y, uint32_t argb) { std::memcpy(top + y * pitch + x * 4, &argb, 4); }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ old = nullptr;
  uint8_t* top = nullptr;
  ptrdiff_t pitch = 0;
};

class LayeredWindow : public testing::Test {
 protected:
  void SetUp() override {
    below = rec.Create(WS_POPUP, 0, nullptr, {0, 0, 200, 200});
    ShowWindow(below, SW_SHOWNA);
    layered = rec.Create(WS_POPUP, WS_EX_LAYERED, nullptr, {0, 0, 10, 10});
    ShowWindow(layered, SW_SHOWNA);
  }
  void TearDown() override {
    DestroyWindow(layered);
    DestroyWindow(below);
  }
  WindowRecorder rec;
  HWND below = nullptr, layered = nullptr;
};

TEST_F(LayeredWindow, PerPixelAlphaContentIsPlacedAndAlphaZeroLetsThePointerThrough) {
  Source src;
  // Row 0: clear, faint, half, opaque; row 1: opaque.
  const uint32_t pixels[8] = {0x00000000, 0x01010101, 0x80402010, 0xFF102030,
                              0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000};
  ASSERT_NE(src.top, nullptr);
  for (int i = 0; i < 8; ++i) src.Set(i % 4, i / 4, pixels[i]);
  POINT dest{50, 60}, from{0, 0};
  SIZE size{4, 2};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ASSERT_TRUE(UpdateLayeredWindow(layered, nullptr, &dest, &size, src.dc, &from, 0, &blend, ULW_ALPHA));
  RECT r;
  GetWindowRect(layered, &r);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.top, 60);
  EXPECT_EQ(r.right, 54);
  EXPECT_EQ(r.bottom, 62);
  struct Case {
    POINT pt;
    HWND hit;
  } cases[] = {{{50, 60}, below}, {{51, 60}, layered}, {{52, 60}, layered}, {{53, 61}, layered}};
  for (const Case& c : cases) EXPECT_EQ(WindowFromScreenPoint(c.pt), c.hit) << c.pt.x << "," << c.pt.y;
  HDC dc = GetDC(layered);
  EXPECT_EQ(GetPixel(dc, 3, 0), RGB(0x10, 0x20, 0x30));
  ReleaseDC(layered, dc);
}

TEST_F(LayeredWindow, KeyColouredPixelsLetThePointerThrough) {
  ASSERT_TRUE(SetLayeredWindowAttributes(layered, kKey, 0, LWA_COLORKEY));
  HDC dc = GetDC(layered);
  HBRUSH key = CreateSolidBrush(kKey), solid = CreateSolidBrush(RGB(255, 128, 254));
  const RECT left{0, 0, 5, 10}, right{5, 0, 10, 10};
  FillRect(dc, &left, key);
  FillRect(dc, &right, solid);
  DeleteObject(key);
  DeleteObject(solid);
  ReleaseDC(layered, dc);
  EXPECT_EQ(WindowFromScreenPoint(POINT{2, 2}), below);
  EXPECT_EQ(WindowFromScreenPoint(POINT{7, 2}), layered);
  // Windows that are not layered take the pointer whatever their colour.
  EXPECT_FALSE(SetLayeredWindowAttributes(below, kKey, 0, LWA_COLORKEY));
}

TEST_F(LayeredWindow, PointsOutsideTheRegionGoToTheWindowBelow) {
  SetWindowLongW(layered, GWL_EXSTYLE, 0);
  SetWindowRgn(layered, CreateRectRgn(0, 0, 5, 10), FALSE);
  EXPECT_EQ(WindowFromScreenPoint(POINT{2, 2}), layered);
  EXPECT_EQ(WindowFromScreenPoint(POINT{7, 2}), below);
  EXPECT_FALSE(
      UpdateLayeredWindow(layered, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, ULW_ALPHA));
}

}  // namespace
