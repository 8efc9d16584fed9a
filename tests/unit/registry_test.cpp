// The file-backed registry and the Run key's autostart entries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/core/registry/autostart.h"
#include "platform/winreg.h"
#include "tests/support/scratch_home.h"

namespace {

using glider::test::ReadText;
using glider::test::ScratchHome;

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LONG QueryText(HKEY key, const wchar_t* name, std::wstring& text) {
  wchar_t buffer[300] = {};
  DWORD size = sizeof buffer, type = 0;
  LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  if (status == ERROR_SUCCESS) {
    EXPECT_EQ(type, REG_SZ);
    text = buffer;
  }
  return status;
}

TEST(Registry, KeysOpenOnlyWhenTheyExistAndCreateMakesThePath) {
  ScratchHome home;
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Vemo\\velk", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\Vemo\\velk", &key), ERROR_SUCCESS);
  DWORD seven = 7;
  EXPECT_EQ(RegSetValueExW(key, L"Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), 4),
            ERROR_SUCCESS);
  EXPECT_EQ(SetText(key, L"Name", L"游戏 one"), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);

  // A parent opens too; names ignore case; other hives are apart.
  HKEY parent = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\vemo", 0, KEY_READ, &parent), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExW(parent, L"VELK", 0, KEY_QUERY_VALUE, &key), ERROR_SUCCESS);
  HKEY other = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Vemo", 0, KEY_READ, &other), ERROR_FILE_NOT_FOUND);

  DWORD value = 0, size = 4, type = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"count", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(value, 7u);
  std::wstring text;
  EXPECT_EQ(QueryText(key, L"NAME", text), ERROR_SUCCESS);
  EXPECT_EQ(text, L"游戏 one");
  // Size query, then a buffer that is too small.
  size = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"Name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 7 * sizeof(wchar_t));
  wchar_t small[2];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueExW(key, L"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 7 * sizeof(wchar_t));
  // Read-only handle: no writes.
  EXPECT_EQ(SetText(key, L"Name", L"x"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(QueryText(key, L"Missing", text), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  RegCloseKey(parent);
  EXPECT_TRUE(std::filesystem::exists(home.Config() / "glider-registry" / "HKEY_CURRENT_USER.reg"));
}

TEST(Registry, ValuesAreDeletedAndBadPathsRefused) {
  ScratchHome home;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\A", &key), ERROR_SUCCESS);
  SetText(key, L"v", L"1");
  EXPECT_EQ(RegDeleteValueW(key, L"V"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key, L"v"), ERROR_FILE_NOT_FOUND);
  std::wstring text;
  EXPECT_EQ(QueryText(key, L"v", text), ERROR_FILE_NOT_FOUND);
  RegCloseKey(key);
  for (const wchar_t* bad : {L"\\SOFTWARE\\A", L"Software\\\\A", L"Software\\A\\"}) {
    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, bad, 0, KEY_READ, &opened), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, bad, &opened), ERROR_BAD_PATHNAME);
  }
  DWORD size = 4;
  EXPECT_EQ(RegQueryValueExW(reinterpret_cast<HKEY>(&size), L"v", nullptr, nullptr, nullptr, &size),
            ERROR_INVALID_HANDLE);
}

TEST(Registry, TheRunKeyIsTheAutostartFolder) {
  ScratchHome home;
  HKEY run = nullptr;
  // The Run key is always there, as on Windows.
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &run), ERROR_SUCCESS);
  std::wstring text;
  EXPECT_EQ(QueryText(run, L"Thornmere", text), ERROR_FILE_NOT_FOUND);
  const std::wstring data = L"\"/home/a b/glider\" /autorun";
  EXPECT_EQ(SetText(run, L"Thornmere", data), ERROR_SUCCESS);
  RegCloseKey(run);

  auto entry = home.Config() / "autostart" / "Thornmere.desktop";
  std::string desktop = ReadText(entry);
  EXPECT_NE(desktop.find("[Desktop Entry]\n"), std::string::npos) << desktop;
  EXPECT_NE(desktop.find("\nType=Application\n"), std::string::npos) << desktop;
  EXPECT_NE(desktop.find("\nExec=\"/home/a b/glider\" /autorun\n"), std::string::npos) << desktop;

  ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, L"software\\microsoft\\windows\\currentversion\\run", &run),
            ERROR_SUCCESS);
  EXPECT_EQ(QueryText(run, L"Thornmere", text), ERROR_SUCCESS);
  EXPECT_EQ(text, data);
  EXPECT_EQ(RegDeleteValueW(run, L"Thornmere"), ERROR_SUCCESS);
  EXPECT_FALSE(std::filesystem::exists(entry));
  EXPECT_EQ(RegDeleteValueW(run, L"Thornmere"), ERROR_FILE_NOT_FOUND);
  // A value name never leaves the folder.
  EXPECT_EQ(SetText(run, L"../escape", data), ERROR_INVALID_PARAMETER);
  RegCloseKey(run);
}

TEST(Registry, CommandLinesSurviveTheDesktopEntry) {
  struct Case {
    const wchar_t* line;
    const char* exec;
    const wchar_t* back;  // nullptr: the line itself
  } cases[] = {
      {L"\"/opt/glider/glider\" /autorun", "\"/opt/glider/glider\" /autorun", nullptr},
      {L"/opt/glider/glider /autorun", "/opt/glider/glider /autorun", nullptr},
      {L"\"/opt/100%/$x`\" /autorun", "\"/opt/100%%/\\\\$x\\\\`\" /autorun", nullptr},
      {L"\"/a\\b\"", "\"/a\\\\\\\\b\"", nullptr},
      {L"/path/a&b", "\"/path/a&b\"", L"\"/path/a&b\""},
  };
  for (const Case& c : cases) {
    std::string exec = glider::core::DesktopExecFromCommandLine(c.line);
    EXPECT_EQ(exec, c.exec);
    EXPECT_EQ(glider::core::CommandLineFromDesktopExec(exec), c.back ? c.back : c.line);
  }
}

}  // namespace
