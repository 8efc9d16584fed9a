#include <gtest/gtest.h>

#include "platform/core/resources/menu.h"
#include "platform/winresource.h"
#include "res/glider/ids.h"

namespace {

std::wstring Text(HMENU menu, UINT item, UINT flags) {
  wchar_t buffer[32];
  GetMenuStringW(menu, item, buffer, 32, flags);
  return buffer;
}

TEST(LoadMenuW, PageMenuDetachedAsTheGameWindowDoes) {
  HMENU bar = LoadMenuW(nullptr, MAKEINTRESOURCEW(glider::res::program::kMenuPage));
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(GetMenuItemCount(bar), 1);
  EXPECT_EQ(Text(bar, 0, MF_BYPOSITION), L"刷新");
  HMENU popup = GetSubMenu(bar, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(RemoveMenu(bar, 0, MF_BYPOSITION));
  ASSERT_TRUE(DestroyMenu(bar));
  ASSERT_TRUE(IsMenu(popup));
  ASSERT_EQ(GetMenuItemCount(popup), 3);
  const UINT expected[] = {32774, 32778, 32776};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(GetMenuItemID(popup, i), expected[i]);
  EXPECT_EQ(Text(popup, 32778, MF_BYCOMMAND), L"清理缓存");
  EXPECT_EQ(CheckMenuItem(popup, 32776, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
  EXPECT_EQ(CheckMenuItem(popup, 32776, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
  EXPECT_EQ(CheckMenuItem(popup, 1, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_TRUE(DestroyMenu(popup));
  EXPECT_FALSE(IsMenu(popup));
}

TEST(LoadMenuW, TrayMenuHasItsTitleAndEntries) {
  HMENU bar = LoadMenuW(nullptr, MAKEINTRESOURCEW(glider::res::program::kMenuTray));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Text(bar, 0, MF_BYPOSITION), L"Starvale");
  HMENU popup = GetSubMenu(bar, 0);
  EXPECT_EQ(Text(popup, 0, MF_BYPOSITION), L"打开");
  EXPECT_EQ(GetMenuItemID(popup, 1), 32782u);
  EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(-1));
  DestroyMenu(bar);  // takes the attached popup along
  EXPECT_FALSE(IsMenu(popup));
}

TEST(ParseMenu, AcceptsFlagsAndRefusesBrokenText) {
  HMENU menu = glider::core::ParseMenu("POPUP A\n  ITEM 7 CHECKED GRAYED 二 三\n  SEPARATOR\nEND\n");
  ASSERT_NE(menu, nullptr);
  const glider::core::Menu* popup = glider::core::GetMenuData(GetSubMenu(menu, 0));
  ASSERT_EQ(popup->items.size(), 2u);
  EXPECT_EQ(popup->items[0].text, L"二 三");
  EXPECT_EQ(popup->items[0].flags, MF_CHECKED | MF_GRAYED);
  EXPECT_EQ(popup->items[1].flags, MF_SEPARATOR);
  DestroyMenu(menu);
  for (const char* broken : {"POPUP A\nITEM 1 x\n", "ITEM 1 x\n", "POPUP A\nITEM x y\nEND\n", "END\n",
                             "POPUP A\nITEM 70000 big\nEND\n", "POPUP A\nBUTTON 1 x\nEND\n"})
    EXPECT_EQ(glider::core::ParseMenu(broken), nullptr) << broken;
}

}  // namespace
