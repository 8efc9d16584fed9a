// The client's folders and files in a scratch home.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/text/utf.h"
#include "tests/support/scratch_home.h"
#include "util/Folders.h"

namespace {

using glider::core::Utf8ToWide;
using glider::core::WideToUtf8;
using glider::test::ScratchHome;

TEST(UtilFolders, DataFolderSitsInApplicationDataAndExists) {
  ScratchHome home;
  std::wstring expected = Utf8ToWide(home.Config().string()) + L"/Vemo游戏/velk/";
  EXPECT_EQ(GetDataFolder(), expected);
  EXPECT_TRUE(std::filesystem::is_directory(WideToUtf8(expected)));
  EXPECT_EQ(GetSettingsPath(), expected + L"Glider.ini");
  EXPECT_EQ(GetUpgradeFolder(), expected + L"Upgrade/");
  EXPECT_TRUE(std::filesystem::is_directory(WideToUtf8(expected + L"Upgrade/")));
  EXPECT_EQ(GetLastUpgradePath(), expected + L"Upgrade/LastUpgrade.ini");
  EXPECT_EQ(GetUpgradeProgramPath(), expected + L"Upgrade/VemoGliderUpgrade.exe");

  // Cached until reset; the upgrade folder comes back when removed.
  std::filesystem::remove_all(WideToUtf8(expected + L"Upgrade/"));
  home.SetEnv("XDG_CONFIG_HOME", (home.Root() / "elsewhere").string());
  EXPECT_EQ(GetDataFolder(), expected);
  EXPECT_EQ(GetUpgradeFolder(), expected + L"Upgrade/");
  EXPECT_TRUE(std::filesystem::is_directory(WideToUtf8(expected + L"Upgrade/")));
  glider::util::ResetFolderCachesForTesting();
  EXPECT_EQ(GetDataFolder(), Utf8ToWide((home.Root() / "elsewhere").string()) + L"/Vemo游戏/velk/");
}

TEST(UtilFolders, TempAndProgramFolders) {
  ScratchHome home;
  std::wstring temp = Utf8ToWide((home.Root() / "tmp").string()) + L"/";
  EXPECT_EQ(GetTempFolder(), temp);
  home.SetEnv("TMPDIR", "/somewhere");
  EXPECT_EQ(GetTempFolder(), temp);  // cached
  auto exe = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(GetProgramFolder(), Utf8ToWide(exe.parent_path().string()) + L"/");
}

TEST(UtilFolders, CreateFolderTree) {
  ScratchHome home;
  std::wstring root = Utf8ToWide(home.Root().string());
  glider::test::WriteText(home.Root() / "file", "x");
  struct Case {
    std::wstring path;
    bool expected;
  } cases[] = {
      {root + L"/a/b/c/", true},     {root + L"/a/b/c", true},  // exists already
      {root + L"/x/y", true},                                   // no final separator
      {root + L"/file/sub/", false}, {L"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CreateFolderTree(c.path), c.expected) << WideToUtf8(c.path);
    if (c.expected) {
      EXPECT_TRUE(std::filesystem::is_directory(WideToUtf8(c.path)));
    }
  }
  // A bare name is made in the current folder.
  auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(home.Root());
  EXPECT_TRUE(CreateFolderTree(L"bare"));
  EXPECT_TRUE(std::filesystem::is_directory(home.Root() / "bare"));
  std::filesystem::current_path(cwd);
}

TEST(UtilFolders, EnsureTrailingBackslash) {
  EXPECT_EQ(EnsureTrailingBackslash(L""), L"");
  EXPECT_EQ(EnsureTrailingBackslash(L"/a"), L"/a/");
  EXPECT_EQ(EnsureTrailingBackslash(L"/a/"), L"/a/");
}

}  // namespace
