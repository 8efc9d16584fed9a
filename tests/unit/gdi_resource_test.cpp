// Resources of the program build: pictures at their sizes, the bitmap-only id,
// strings and icons.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/atlimage.h"
#include "platform/core/resources/icon.h"
#include "platform/globalmem.h"
#include "platform/winresource.h"
#include "res/glider/ids.h"

namespace {

namespace ids = glider::res::program;

// The image loader's path: resource bytes copied to a global block, a stream
// over it, decoded by the image class.
bool LoadPicture(UINT id, CImage* image) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"PNG");
  if (found == nullptr) return false;
  const DWORD size = SizeofResource(nullptr, found);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  std::memcpy(GlobalLock(block), LockResource(LoadResource(nullptr, found)), size);
  GlobalUnlock(block);
  IStream* stream = nullptr;
  EXPECT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
  const HRESULT hr = image->Load(stream);
  stream->Release();
  EXPECT_EQ(GlobalFree(block), nullptr);
  return SUCCEEDED(hr);
}

struct PictureSize {
  UINT id;
  int width, height;
};

class ProgramPicture : public testing::TestWithParam<PictureSize> {};

TEST_P(ProgramPicture, DecodesWithAlphaAtItsSize) {
  CImage image;
  ASSERT_TRUE(LoadPicture(GetParam().id, &image));
  EXPECT_EQ(image.GetWidth(), GetParam().width);
  EXPECT_EQ(image.GetHeight(), GetParam().height);
  // The frame is keyed (no alpha); every other picture blends per pixel.
  EXPECT_EQ(image.HasAlphaChannel(), GetParam().id != ids::kPngLoginFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ProgramPicture,
    testing::Values(PictureSize{ids::kPngShadow, 1084, 685}, PictureSize{ids::kPngLoginFrame, 29, 30},
                    PictureSize{ids::kPngLoginClose, 32, 32}, PictureSize{ids::kPngLoginMinHover, 29, 29},
                    PictureSize{ids::kPngLoginSite, 125, 34}, PictureSize{ids::kPngLoginService, 124, 34},
                    PictureSize{ids::kPngLoginEnterSpare, 134, 48},
                    PictureSize{ids::kPngGameCaption, 1500, 27}, PictureSize{ids::kPngGameLogo, 25, 25},
                    PictureSize{ids::kPngGameMaxCheckedHover, 28, 24},
                    PictureSize{ids::kPngThirdCaption, 18, 18}, PictureSize{ids::kPngThirdSideBorder, 2, 200},
                    PictureSize{ids::kPngThirdBottomBorder, 200, 2},
                    PictureSize{ids::kPngThirdClosePressed, 28, 28}));

TEST(ProgramPictures, LoginButtonsHaveNoHalfTransparentEdgesToMixWithTheKey) {
  for (UINT id :
       {ids::kPngLoginClose, ids::kPngLoginCloseHover, ids::kPngLoginMin, ids::kPngLoginMinHover,
        ids::kPngLoginSite, ids::kPngLoginSiteHover, ids::kPngLoginSite2, ids::kPngLoginSite2Hover,
        ids::kPngLoginPay, ids::kPngLoginPayHover, ids::kPngLoginService, ids::kPngLoginServiceHover}) {
    CImage image;
    ASSERT_TRUE(LoadPicture(id, &image));
    int partial = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
      for (int x = 0; x < image.GetWidth(); ++x) {
        const uint8_t a = static_cast<const uint8_t*>(image.GetPixelAddress(x, y))[3];
        partial += a != 0 && a != 255;
      }
    EXPECT_EQ(partial, 0) << id;
  }
}

TEST(ImageClass, KeepsStraightColoursExactlyInBottomUpRows) {
  CImage image;
  ASSERT_TRUE(LoadPicture(ids::kPngTestAlpha, &image));
  ASSERT_EQ(image.GetBPP(), 32);
  EXPECT_LT(image.GetPitch(), 0);
  const auto* p = static_cast<const uint8_t*>(image.GetPixelAddress(0, 0));
  EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7]}),
            (std::vector<int>{200, 100, 50, 128, 128, 128, 128, 1}));
}

TEST(ImageClass, ShallowCopiesNeverReleaseTheSharedBitmap) {
  CImage owner;
  ASSERT_TRUE(LoadPicture(ids::kPngTestAlpha, &owner));
  const HBITMAP bitmap = owner;
  {
    CImage copy = owner;
    CImage assigned;
    assigned = copy;
    EXPECT_EQ(static_cast<HBITMAP>(assigned), bitmap);
  }
  BITMAP bm{};
  EXPECT_EQ(GetObjectW(bitmap, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
  owner.Destroy();
  EXPECT_EQ(GetObjectW(bitmap, sizeof(bm), &bm), 0);
}

TEST(Resources, BitmapOnlyIdIsNoPngButLoadsAsA24BitDib) {
  const auto name = MAKEINTRESOURCEW(ids::kBitmapKeyedSample);
  EXPECT_EQ(FindResourceW(nullptr, name, L"PNG"), nullptr);
  ASSERT_NE(FindResourceW(nullptr, name, RT_BITMAP), nullptr);
  auto bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bitmap, nullptr);
  CImage image;
  image.Attach(bitmap);
  EXPECT_EQ(image.GetWidth(), 16);
  EXPECT_EQ(image.GetBPP(), 24);
  EXPECT_FALSE(image.HasAlphaChannel());
  const auto* key = static_cast<const uint8_t*>(image.GetPixelAddress(0, 0));
  EXPECT_EQ((std::vector<int>{key[0], key[1], key[2]}), (std::vector<int>{255, 128, 255}));
}

TEST(Resources, MissingIdsAndTypesFindNothing) {
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(9999), L"PNG"), nullptr);
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(ids::kPngShadow), L"GIF"), nullptr);
  EXPECT_NE(FindResourceW(nullptr, L"#170", L"png"), nullptr);
  EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCEW(9999), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
  CImage image;
  EXPECT_FALSE(LoadPicture(9999, &image));
  EXPECT_TRUE(image.IsNull());
}

TEST(LoadStringW, CopiesTruncatesOrPointsAtTheText) {
  wchar_t buffer[64];
  EXPECT_EQ(LoadStringW(nullptr, 103, buffer, 64), 8);
  EXPECT_STREQ(buffer, L"Vemo游戏微端");
  EXPECT_EQ(LoadStringW(nullptr, 103, buffer, 5), 4);
  EXPECT_STREQ(buffer, L"Vemo");
  const wchar_t* text = nullptr;
  EXPECT_EQ(LoadStringW(nullptr, 109, reinterpret_cast<LPWSTR>(&text), 0), 10);
  EXPECT_STREQ(text, L"VemoGlider");
  EXPECT_EQ(LoadStringW(nullptr, 4242, buffer, 64), 0);
  EXPECT_STREQ(buffer, L"");
}

TEST(LoadIconW, KeepsTheDecodedPictureForTheDriver) {
  HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(ids::kIconAppIcon));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(ids::kIconAppIcon)), icon);
  const glider::core::IconPicture* picture = glider::core::GetIconPicture(icon);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->width, 48);
  EXPECT_EQ(picture->rgba.size(), 48u * 48u * 4u);
  EXPECT_EQ(picture->rgba[3], 0);  // a transparent corner
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_NE(glider::core::GetIconPicture(icon), nullptr);  // shared resource icons stay
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(4242)), nullptr);
}

}  // namespace
