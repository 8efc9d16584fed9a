// Pictures from resources, premultiplication, nine-grid drawing and the image control.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/synchapi.h"
#include "platform/winresource.h"
#include "res/glider/ids.h"
#include "tests/support/gdi_canvas.h"
#include "ui/KXImage.h"
#include "ui/ResourceImages.h"

namespace {

namespace ids = glider::res::program;
using glider::test::Canvas;

constexpr uint32_t kUntouched = 0xFF123456;

uint32_t PixelOf(CImage& image, int x, int y) {
  uint32_t v;
  std::memcpy(&v, image.GetPixelAddress(x, y), 4);
  return v;
}

void SetPixelOf(CImage& image, int x, int y, uint32_t argb) {
  std::memcpy(image.GetPixelAddress(x, y), &argb, 4);
}

// A 32-bit picture whose every pixel tells which band of a 5-pixel nine-grid it lies in:
// blue is x inside the left border, 100 in the middle, 200 + x inside the right border;
// green the same for y.
void BandedPicture(CImage* image, int width, int height) {
  ASSERT_TRUE(image->Create(width, height, 32));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t b = x < 5 ? x : x >= width - 5 ? 200 + x - (width - 5) : 100;
      const uint32_t g = y < 5 ? y : y >= height - 5 ? 200 + y - (height - 5) : 100;
      SetPixelOf(*image, x, y, 0xFF000000 | (g << 8) | b);
    }
}

TEST(ResourceImages, PremultiplyRoundsDownAndTheShadowRoundsToNearest) {
  // Picture 241 holds (B 200, G 100, R 50, A 128) and (128, 128, 128, A 1).
  CImage image;
  ASSERT_TRUE(LoadPngResource(nullptr, &image, ids::kPngTestAlpha));
  EXPECT_EQ(PixelOf(image, 0, 0), 0x80193264u);
  EXPECT_EQ(PixelOf(image, 1, 0), 0x01000000u);

  Canvas canvas(2, 1);
  ASSERT_TRUE(
      DrawShadowPng(FindResourceW(nullptr, MAKEINTRESOURCEW(ids::kPngTestAlpha), L"PNG"), canvas.dc()));
  EXPECT_EQ(canvas.At(0, 0), 0x80193264u);
  EXPECT_EQ(canvas.At(1, 0), 0x01010101u);
  EXPECT_FALSE(DrawShadowPng(nullptr, canvas.dc()));
}

TEST(ResourceImages, PremultiplyTouchesOnly32BitPictures) {
  CImage rgb;
  ASSERT_TRUE(rgb.Create(2, 2, 24));
  std::memset(rgb.GetPixelAddress(0, 0), 0x80, 3);
  EXPECT_FALSE(PremultiplyAlpha(&rgb));
  EXPECT_EQ(static_cast<uint8_t*>(rgb.GetPixelAddress(0, 0))[0], 0x80);
  CImage empty;
  EXPECT_FALSE(PremultiplyAlpha(&empty));
}

TEST(ResourceImages, ABitmapOnlyIdLoadsButIsNotAPngAndAMissingIdStaysEmpty) {
  CImage keyed;
  EXPECT_FALSE(LoadPngResource(nullptr, &keyed, ids::kBitmapKeyedSample));
  ASSERT_FALSE(keyed.IsNull());
  EXPECT_EQ(keyed.GetWidth(), 16);
  EXPECT_FALSE(keyed.HasAlphaChannel());
  CImage missing;
  EXPECT_FALSE(LoadPngResource(nullptr, &missing, 9999));
  EXPECT_TRUE(missing.IsNull());
}

TEST(ResourceImages, SlicingNeedsInsetsSmallerThanPictureAndDestination) {
  CImage picture;
  ASSERT_TRUE(picture.Create(29, 30, 32));
  struct Case {
    Insets insets;
    RECT dest;
    bool across, down;
  } cases[] = {
      {{5, 5, 5, 5}, {0, 0, 1084, 685}, true, true},    {{0, 0, 0, 0}, {0, 0, 1084, 685}, false, false},
      {{14, 5, 15, 5}, {0, 0, 1084, 685}, false, true}, {{5, 15, 5, 15}, {0, 0, 1084, 685}, true, false},
      {{5, 5, 5, 5}, {0, 0, 10, 10}, false, false},     {{5, 5, 5, 5}, {0, 0, 11, 9}, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HorizontalSlicing(picture, c.dest, c.insets), c.across) << c.insets.left << "," << c.dest.right;
    EXPECT_EQ(VerticalSlicing(picture, c.dest, c.insets), c.down) << c.insets.top << "," << c.dest.bottom;
  }
  Canvas canvas(10, 10);
  EXPECT_FALSE(DrawNineGrid(canvas.dc(), picture, RECT{0, 0, 10, 10}, Insets{5, 5, 5, 5}, StretchImage));
}

TEST(KXImage, OpaqueNineGridKeepsFivePixelBordersAndCornersUnscaled) {
  Canvas canvas(1084, 685);
  CKXImage image;
  BandedPicture(&image.picture, 29, 30);
  image.transparentMode = false;
  image.insets = Insets{5, 5, 5, 5};
  const RECT all{0, 0, 1084, 685};
  image.SetRect(&all);
  image.Paint(canvas.dc());
  int wrong = 0;
  for (int y = 0; y < 685; ++y)
    for (int x = 0; x < 1084; ++x) {
      const uint32_t b = x < 5 ? x : x >= 1079 ? 200 + x - 1079 : 100;
      const uint32_t g = y < 5 ? y : y >= 680 ? 200 + y - 680 : 100;
      wrong += canvas.At(x, y) != (0xFF000000 | (g << 8) | b);
    }
  EXPECT_EQ(wrong, 0);
}

TEST(KXImage, OpaqueWithoutInsetsLandsAtTheWindowOriginWhateverTheBounds) {
  Canvas canvas(40, 40);
  canvas.Fill(kUntouched);
  CKXImage image;
  BandedPicture(&image.picture, 12, 12);
  image.transparentMode = false;
  const RECT r{20, 20, 40, 40};
  image.SetRect(&r);
  image.Paint(canvas.dc());
  EXPECT_EQ(canvas.At(0, 0), PixelOf(image.picture, 0, 0));
  EXPECT_EQ(canvas.At(11, 11), PixelOf(image.picture, 11, 11));
  EXPECT_EQ(canvas.At(25, 25), kUntouched);
}

TEST(KXImage, UnstretchedPictureIsCentredVerticallyAtTheLeft) {
  Canvas canvas(50, 50);
  canvas.Fill(kUntouched);
  CKXImage image;
  ASSERT_TRUE(image.picture.Create(4, 18, 32, CImage::createAlphaChannel));
  for (int y = 0; y < 18; ++y)
    for (int x = 0; x < 4; ++x) SetPixelOf(image.picture, x, y, 0xFF00FF00);
  image.hasAlpha = true;
  image.stretch = false;
  const RECT r{10, 10, 40, 40};
  image.SetRect(&r);
  image.Paint(canvas.dc());
  EXPECT_EQ(canvas.At(10, 15), kUntouched);
  EXPECT_EQ(canvas.At(10, 16), 0xFF00FF00u);
  EXPECT_EQ(canvas.At(13, 33), 0xFF00FF00u);
  EXPECT_EQ(canvas.At(10, 34), kUntouched);
  EXPECT_EQ(canvas.At(14, 20), kUntouched);
}

TEST(KXImage, WithoutAPictureItDrawsNothingAndHasNoSize) {
  Canvas canvas(20, 20);
  canvas.Fill(kUntouched);
  CKXImage image;
  const RECT r{0, 0, 20, 20};
  image.SetRect(&r);
  image.transparentMode = false;
  image.Paint(canvas.dc());
  image.transparentMode = true;
  image.Paint(canvas.dc());
  EXPECT_EQ(image.GetImageWidth(), 0);
  EXPECT_EQ(image.GetImageHeight(), 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(canvas.At(x, y), kUntouched);
}

TEST(KXImage, ABitmapOnlyPictureIsDrawnWithoutItsKeyColour) {
  // Picture 240: 16 x 8, the left half the key colour, the right half solid, (15, 0) marked.
  Canvas canvas(16, 8);
  canvas.Fill(kUntouched);
  CKXImage image;
  image.hasAlpha = LoadPngResource(nullptr, &image.picture, ids::kBitmapKeyedSample);
  const RECT r{0, 0, 16, 8};
  image.SetRect(&r);
  image.Paint(canvas.dc());
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.At(x, y), kUntouched) << x << "," << y;
  EXPECT_EQ(canvas.At(15, 0), 0xFF102030u);
  EXPECT_NE(canvas.At(8, 4), kUntouched);
}

TEST(KXImage, AFullyTransparentPixelLeavesTheTargetUnchangedWhenBlended) {
  Canvas canvas(1, 1);
  canvas.Fill(kUntouched);
  CKXImage image;
  ASSERT_TRUE(image.picture.Create(1, 1, 32, CImage::createAlphaChannel));
  SetPixelOf(image.picture, 0, 0, 0x00FFFFFF);
  ASSERT_TRUE(PremultiplyAlpha(&image.picture));
  EXPECT_EQ(PixelOf(image.picture, 0, 0), 0u);
  image.hasAlpha = true;
  const RECT r{0, 0, 1, 1};
  image.SetRect(&r);
  image.Paint(canvas.dc());
  EXPECT_EQ(canvas.At(0, 0), kUntouched);
}

}  // namespace

namespace {

TEST(KXImageAnimate, WithoutFramesTheThreadEndsAtOnceAndItsOwnPictureStays) {
  Canvas canvas(40, 40);
  CKXImageAnimate animation;
  animation.hasAlpha = LoadPngResource(nullptr, &animation.picture, ids::kPngLoginClose);
  const RECT r{0, 0, 40, 40};
  animation.SetRect(&r);
  animation.Paint(canvas.dc());
  ASSERT_NE(animation.thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(animation.thread, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(animation.frameIndex, -1);
  EXPECT_EQ(animation.GetImageWidth(), 32);
  EXPECT_TRUE(animation.postPaint);
}

TEST(KXImageAnimate, FramesRunInOrderAndWrapAround) {
  CKXImageAnimate animation;
  animation.LoadFrames(nullptr, {static_cast<WORD>(ids::kPngLoginClose), static_cast<WORD>(ids::kPngLoginMin),
                                 static_cast<WORD>(ids::kPngLoginSite)});
  ASSERT_EQ(animation.frames.size(), 3u);
  EXPECT_TRUE(animation.hasAlpha);
  animation.frameInterval = 1;
  Canvas canvas(200, 40);
  animation.Paint(canvas.dc());
  // Each index the thread shows follows the one before, modulo the frame count.
  std::vector<int> seen{animation.frameIndex.load()};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (seen.size() < 6 && std::chrono::steady_clock::now() < deadline) {
    const int now = animation.frameIndex;
    if (now != seen.back()) seen.push_back(now);
  }
  ASSERT_GE(seen.size(), 5u);
  // Five steps through three frames pass every frame and go back to an earlier one.
  bool wrapped = false;
  for (size_t i = 1; i < seen.size(); ++i) {
    EXPECT_GE(seen[i], 0);
    EXPECT_LT(seen[i], 3);
    wrapped |= seen[i] < seen[i - 1];
  }
  EXPECT_TRUE(wrapped);
  animation.stopRequested = 1;
  ASSERT_EQ(WaitForSingleObject(animation.thread, 5000), WAIT_OBJECT_0);
  animation.Paint(canvas.dc());
  const CImage& shown = *animation.frames[static_cast<size_t>(animation.frameIndex.load())];
  EXPECT_EQ(static_cast<HBITMAP>(animation.picture), static_cast<HBITMAP>(shown));
}

}  // namespace
