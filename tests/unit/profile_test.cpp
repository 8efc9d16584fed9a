// INI files with the Windows profile semantics.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/text/utf.h"
#include "platform/winbase.h"
#include "tests/support/scratch_home.h"

namespace {

using glider::core::Utf8ToWide;
using glider::core::WideToUtf8;
using glider::test::ReadText;
using glider::test::ScratchHome;
using glider::test::WriteText;

std::wstring Wide(const std::filesystem::path& p) { return Utf8ToWide(p.string()); }

const std::string kSample = std::string(
                                "; settings\n"
                                "[Common]\n"
                                "RunCount = 41 \n"
                                "Refer=\"quoted value\"\n"
                                "Single='x'\n"
                                "Mixed=\"open\n"
                                "Empty=\n"
                                "  Spaced  =  a b  \n"
                                "Long=") +
                            std::string(300, 'x') +
                            "\n"
                            "[Other]\n"
                            "Key=other\n"
                            "[common]\n"
                            "RunCount=99\n"
                            "[设置]\n"
                            "名字=游戏\n";

TEST(Profile, ReadsValuesTheWindowsWay) {
  struct Case {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* fallback;
    DWORD size;
    std::wstring expected;
  } cases[] = {
      {L"Common", L"RunCount", L"d", 260, L"41"},
      {L"COMMON", L"runcount", L"d", 260, L"41"},  // names ignore case; the first section counts
      {L"Common", L"Refer", L"d", 260, L"quoted value"},
      {L"Common", L"Single", L"d", 260, L"x"},
      {L"Common", L"Mixed", L"d", 260, L"\"open"},
      {L"Common", L"Empty", L"d", 260, L""},  // present but empty is not missing
      {L"Common", L"Spaced", L"d", 260, L"a b"},
      {L"Common", L"Missing", L"dflt  ", 260, L"dflt"},
      {L"Common", L"Missing", nullptr, 260, L""},
      {L"Nowhere", L"RunCount", L"d", 260, L"d"},
      {L"Common", L"Long", L"d", 260, std::wstring(259, L'x')},
      {L"Common", L"RunCount", L"d", 2, L"4"},
      {L"Other", L"Key", L"d", 260, L"other"},
      {L"设置", L"名字", L"d", 260, L"游戏"},
  };
  ScratchHome home;
  auto file = home.Root() / "a.ini";
  WriteText(file, kSample);
  for (const Case& c : cases) {
    wchar_t buffer[300];
    DWORD n = GetPrivateProfileStringW(c.section, c.key, c.fallback, buffer, c.size, Wide(file).c_str());
    EXPECT_EQ(std::wstring(buffer), c.expected) << WideToUtf8(c.section) << "/" << WideToUtf8(c.key);
    EXPECT_EQ(n, c.expected.size()) << WideToUtf8(c.key);
  }
  wchar_t buffer[16];
  EXPECT_EQ(GetPrivateProfileStringW(L"Common", L"RunCount", L"none", buffer, 16,
                                     Wide(home.Root() / "missing.ini").c_str()),
            4u);
  EXPECT_EQ(std::wstring(buffer), L"none");
  // A BOM is skipped.
  WriteText(file, "\xEF\xBB\xBF[A]\nk=v\n");
  GetPrivateProfileStringW(L"A", L"k", L"", buffer, 16, Wide(file).c_str());
  EXPECT_EQ(std::wstring(buffer), L"v");
}

TEST(Profile, ListsSectionAndKeyNames) {
  ScratchHome home;
  auto file = Wide(home.Root() / "a.ini");
  WriteText(home.Root() / "a.ini", "[A]\nk=1\nj=2\n[B]\n");
  wchar_t buffer[32];
  DWORD n = GetPrivateProfileStringW(nullptr, nullptr, L"", buffer, 32, file.c_str());
  EXPECT_EQ(std::wstring(buffer, n + 1), std::wstring(L"A\0B\0\0", 5));
  n = GetPrivateProfileStringW(L"a", nullptr, L"", buffer, 32, file.c_str());
  EXPECT_EQ(std::wstring(buffer, n + 1), std::wstring(L"k\0j\0\0", 5));
  // Cut to fit, still ending in two terminators.
  n = GetPrivateProfileStringW(L"a", nullptr, L"", buffer, 4, file.c_str());
  EXPECT_EQ(n, 2u);
  EXPECT_EQ(std::wstring(buffer, 4), std::wstring(L"k\0\0\0", 4));
}

TEST(Profile, ReadsIntegersAsWindowsDoes) {
  struct Case {
    const char* value;  // nullptr: no such key
    int expected;
  } cases[] = {
      {"41", 41},
      {"-5", -5},
      {"+3", 3},
      {"12ab", 12},
      {"abc", 0},
      {"", 7},
      {nullptr, 7},
      {"0x1F", 31},
      {"0X10", 16},
      {"010", 10},
      {"0b101", 5},
      {"0o17", 15},
      {"\"8\"", 8},
      {"4294967297", 1},
      {"- 4", 0},
      {"0x", 0},
      {"2147483648", INT32_MIN},
  };
  ScratchHome home;
  auto file = home.Root() / "n.ini";
  for (const Case& c : cases) {
    WriteText(file, c.value ? std::string("[S]\nv=") + c.value + "\n" : std::string("[S]\n"));
    int got = static_cast<int>(GetPrivateProfileIntW(L"S", L"v", 7, Wide(file).c_str()));
    EXPECT_EQ(got, c.expected) << (c.value ? c.value : "(missing)");
  }
}

struct WriteCase {
  const char* before;  // nullptr: no file
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* value;
  const char* after;  // nullptr: still no file
};

TEST(Profile, WritesKeepEverythingElse) {
  const WriteCase cases[] = {
      {nullptr, L"Install", L"InstallTime", L"2024-03-05 10:20:30",
       "[Install]\nInstallTime=2024-03-05 10:20:30\n"},
      {"[A]\nk=1\n\n[B]\nx=2\n", L"A", L"new", L"3", "[A]\nk=1\nnew=3\n\n[B]\nx=2\n"},
      {"; top\n[A]\n  Key = old\n; tail\n", L"a", L"KEY", L"new", "; top\n[A]\nKey=new\n; tail\n"},
      {"[A]\r\nk=1\r\n", L"A", L"k2", L"2", "[A]\r\nk=1\r\nk2=2\r\n"},
      {"[A]\nk=1", L"B", L"x", L"1", "[A]\nk=1\n[B]\nx=1\n"},
      {"[A]\nk=1\nj=2\n", L"A", L"K", nullptr, "[A]\nj=2\n"},
      {"[A]\nk=1\n[B]\nj=2\n[a]\nm=3\n", L"A", nullptr, nullptr, "[B]\nj=2\n"},
      {"\xEF\xBB\xBF[A]\nk=1\n", L"A", L"k", L"2", "\xEF\xBB\xBF[A]\nk=2\n"},
      {"[A]\n", L"A", L"名", L"游戏", "[A]\n名=游戏\n"},
      {nullptr, L"A", L"k", nullptr, nullptr},
      {nullptr, L"A", nullptr, nullptr, nullptr},
  };
  for (const WriteCase& c : cases) {
    ScratchHome home;
    auto file = home.Root() / "w.ini";
    if (c.before) WriteText(file, c.before);
    EXPECT_TRUE(WritePrivateProfileStringW(c.section, c.key, c.value, Wide(file).c_str()))
        << (c.before ? c.before : "(none)");
    if (c.after) {
      EXPECT_EQ(ReadText(file), c.after);
    } else {
      EXPECT_FALSE(std::filesystem::exists(file));
    }
  }
}

TEST(Profile, RefusesLineBreaksThatWouldForgeLines) {
  ScratchHome home;
  auto file = home.Root() / "w.ini";
  WriteText(file, "[Error]\nErrorUrl=a\n");
  EXPECT_FALSE(
      WritePrivateProfileStringW(L"Error", L"ErrorUrl", L"x\n[Common]\nRunCount=0", Wide(file).c_str()));
  EXPECT_FALSE(WritePrivateProfileStringW(L"Error", L"a=b", L"x", Wide(file).c_str()));
  EXPECT_EQ(ReadText(file), "[Error]\nErrorUrl=a\n");
}

TEST(Profile, AWriteIntoAMissingFolderFails) {
  ScratchHome home;
  auto file = home.Root() / "no" / "such" / "w.ini";
  EXPECT_FALSE(WritePrivateProfileStringW(L"A", L"k", L"v", Wide(file).c_str()));
  EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
}

}  // namespace
