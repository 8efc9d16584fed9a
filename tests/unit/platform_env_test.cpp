// Command line, module and folder paths, GUIDs, debug output and code pages.
#include <gnu/libc-version.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/core/env/command_line.h"
#include "platform/core/resource_module.h"
#include "platform/core/text/utf.h"
#include "platform/windows.h"
#include "tests/support/scratch_home.h"

namespace {

using glider::core::Utf8ToWide;
using glider::test::ScratchHome;

std::wstring SelfExe() { return Utf8ToWide(std::filesystem::read_symlink("/proc/self/exe").string()); }

TEST(PlatformEnv, CommandLineQuotesArgumentsWithSpaces) {
  EXPECT_EQ(glider::core::JoinCommandLine({L"/opt/my app/glider", L"/autorun", L"", L"a\tb"}),
            L"\"/opt/my app/glider\" /autorun \"\" \"a\tb\"");
  std::wstring own = GetCommandLineW();
  EXPECT_NE(own.find(L"unit_tests"), std::wstring::npos);
  glider::core::SetCommandLineOverride(L"/opt/glider/glider /setupsucc");
  EXPECT_EQ(std::wstring(GetCommandLineW()), L"/opt/glider/glider /setupsucc");
  glider::core::SetCommandLineOverride(std::nullopt);
  EXPECT_EQ(std::wstring(GetCommandLineW()), own);
}

TEST(PlatformEnv, ModuleFileNames) {
  wchar_t buffer[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  EXPECT_EQ(std::wstring(buffer, n), SelfExe());
  // A short buffer: cut, terminated, the size returned.
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 4), 4u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::wstring(buffer), SelfExe().substr(0, 3));
  // A resource table in this executable names it; an object in libc names libc.
  static const glider::core::ResourceModule table{nullptr, 0};
  n = GetModuleFileNameW(reinterpret_cast<HMODULE>(const_cast<glider::core::ResourceModule*>(&table)), buffer,
                         MAX_PATH);
  EXPECT_EQ(std::wstring(buffer, n), SelfExe());
  n = GetModuleFileNameW(reinterpret_cast<HMODULE>(reinterpret_cast<uintptr_t>(&gnu_get_libc_version)),
                         buffer, MAX_PATH);
  EXPECT_NE(std::wstring(buffer, n).find(L"libc"), std::wstring::npos) << std::wstring(buffer, n).size();
}

TEST(PlatformEnv, TempAndApplicationDataFolders) {
  ScratchHome home;
  wchar_t buffer[MAX_PATH];
  struct Case {
    std::optional<std::string> tmpdir;
    std::wstring expected;
  } cases[] = {{"/var/x", L"/var/x/"}, {"/var/y/", L"/var/y/"}, {std::nullopt, L"/tmp/"}, {"", L"/tmp/"}};
  for (const Case& c : cases) {
    home.SetEnv("TMPDIR", c.tmpdir);
    DWORD n = GetTempPathW(MAX_PATH, buffer);
    EXPECT_EQ(std::wstring(buffer, n), c.expected);
    EXPECT_EQ(GetTempPathW(2, buffer), c.expected.size() + 1);
  }
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE));
  EXPECT_EQ(std::wstring(buffer), Utf8ToWide(home.Config().string()));
  home.SetEnv("XDG_CONFIG_HOME", std::nullopt);
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE));
  EXPECT_EQ(std::wstring(buffer), Utf8ToWide((home.Root() / ".config").string()));
  EXPECT_FALSE(SHGetSpecialFolderPathW(nullptr, buffer, 5, FALSE));
}

TEST(PlatformEnv, DirectoriesAndExistence) {
  ScratchHome home;
  std::wstring folder = Utf8ToWide((home.Root() / "d").string());
  EXPECT_FALSE(PathFileExistsW(folder.c_str()));
  EXPECT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_TRUE(PathFileExistsW(folder.c_str()));
  EXPECT_FALSE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryW((folder + L"/x/y").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(PlatformEnv, GuidsAreRandomVersionFour) {
  GUID a{}, b{};
  ASSERT_EQ(CoCreateGuid(&a), S_OK);
  ASSERT_EQ(CoCreateGuid(&b), S_OK);
  EXPECT_NE(std::memcmp(&a, &b, sizeof a), 0);
  EXPECT_EQ(a.Data3 >> 12, 4);
  EXPECT_EQ(a.Data4[0] & 0xC0, 0x80);
  EXPECT_EQ(CoCreateGuid(nullptr), E_INVALIDARG);
}

TEST(PlatformEnv, DebugOutputOnlyWhenAsked) {
  ScratchHome home;
  home.SetEnv("GLIDER_DEBUG", std::nullopt);
  testing::internal::CaptureStderr();
  OutputDebugStringW(L"hidden");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  home.SetEnv("GLIDER_DEBUG", "1");
  testing::internal::CaptureStderr();
  OutputDebugStringW(L"DoSuperCall 游戏");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "DoSuperCall 游戏");
}

TEST(PlatformEnv, CodePagesAreUtf8) {
  struct Case {
    std::string narrow;
    std::wstring wide;
  } cases[] = {{"", L""}, {"abc", L"abc"}, {"游戏", L"游戏"}, {"\xF0\x9F\x8E\xAE", L"\U0001F3AE"}};
  for (const Case& c : cases) {
    wchar_t wide[16];
    int n = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, c.narrow.c_str(), -1, wide, 16);
    EXPECT_EQ(n, static_cast<int>(c.wide.size() + 1));
    EXPECT_EQ(std::wstring(wide), c.wide);
    char narrow[16];
    n = WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, c.wide.c_str(), -1, narrow, 16, nullptr, nullptr);
    EXPECT_EQ(n, static_cast<int>(c.narrow.size() + 1));
    EXPECT_EQ(std::string(narrow), c.narrow);
  }
  // Measuring, a short buffer, and invalid input.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "游戏", 6, nullptr, 0), 2);
  wchar_t one[1];
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "游戏", 6, one, 1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  wchar_t wide[8];
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0,
                                "a\xFF"
                                "b",
                                3, wide, 8),
            3);
  EXPECT_EQ(std::wstring(wide, 3), L"a\uFFFDb");
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "a\xFF", 2, wide, 8), 0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xE6\xB8", 2, wide, 8), 1);  // cut sequence
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xC0\xAF", 2, wide, 8), 1);  // overlong '/'
  EXPECT_EQ(wide[0], L'\uFFFD');
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wide, 8), 0);
}

}  // namespace
