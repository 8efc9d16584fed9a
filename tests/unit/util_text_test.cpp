// The application's text helpers.
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "tests/support/scratch_home.h"
#include "util/Text.h"

namespace {

TEST(UtilText, RemoveAll) {
  struct Case {
    std::wstring text, pattern, expected;
  } cases[] = {
      {L"3.0.0.1", L".", L"3001"},
      {L"0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9", L"-", L"0A1B2C3D4E5F60718293A4B5C6D7E8F9"},
      {L"aaab", L"ab", L"aa"},  // the removal does not make a new match
      {L"xyx", L"", L"xyx"},
      {L"", L".", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(RemoveAll(c.text, c.pattern), c.expected);
}

TEST(UtilText, SplitString) {
  using Pieces = std::vector<std::wstring>;
  struct Case {
    std::wstring separator, text;
    Pieces expected;
  } cases[] = {
      {L",", L"a,b,c", {L"a", L"b", L"c"}},
      {L",", L"a,b,", {L"a", L"b"}},
      {L",", L",a", {L"", L"a"}},
      {L",", L"a,,b", {L"a", L"", L"b"}},
      {L",", L"", {}},
      {L"::", L"x::y", {L"x", L"y"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitString(c.separator, c.text), c.expected) << c.text.size();
}

TEST(UtilText, ParseInt) {
  struct Case {
    std::wstring text;
    int expected;
  } cases[] = {
      {L"12ab", 12},
      {L"ab12", 0},
      {L"", 0},
      {L"  -7", -7},
      {L"+5", 5},
      {L"2147483647", 2147483647},
      {L"-2147483648", INT32_MIN},
      {L"2147483648", 0},
      {L"99999999999999999999", 0},
      {L"-", 0},
      {L"0x1A", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseInt(c.text), c.expected) << c.text.size();
}

TEST(UtilText, GetUrlParam) {
  struct Case {
    std::wstring name, address, expected;
  } cases[] = {
      {L"id", L"http://h/p?server_id=7&id=9", L"7"},  // a plain substring search
      {L"wd_username", L"http://h/?a=1&wd_username=p1&wd_server=S2", L"p1"},
      {L"wd_server", L"http://h/?a=1&wd_username=p1&wd_server=S2", L"S2"},
      {L"x", L"http://h/?a=1", L""},
      {L"a", L"http://h/?a=", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(GetUrlParam(c.name, c.address), c.expected);
}

TEST(UtilText, GuidTextIsFreshOnEveryThread) {
  std::vector<std::wstring> texts(8 * 50);
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i) texts[t * 50 + i] = NewGuidText();
    });
  for (auto& thread : threads) thread.join();
  std::set<std::wstring> distinct(texts.begin(), texts.end());
  EXPECT_EQ(distinct.size(), texts.size());
  for (const std::wstring& text : texts) {
    ASSERT_EQ(text.size(), 36u);
    for (size_t i = 0; i < text.size(); ++i) {
      bool dash = i == 8 || i == 13 || i == 18 || i == 23;
      EXPECT_TRUE(dash ? text[i] == L'-' : (iswdigit(text[i]) || (text[i] >= L'A' && text[i] <= L'F'))) << i;
    }
  }
}

TEST(UtilText, HexTextAndConversions) {
  const unsigned char bytes[16] = {0x00, 0x01, 0x7F, 0x80, 0xAB, 0xCD, 0xEF, 0xFF,
                                   0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x9A};
  EXPECT_EQ(HexText(bytes), L"00017f80abcdefff102030405060709a");
  std::string narrow = "unchanged";
  EXPECT_FALSE(ToNarrow(nullptr, narrow));
  EXPECT_EQ(narrow, "unchanged");
  EXPECT_TRUE(ToNarrow(L"游戏 ok", narrow));
  EXPECT_EQ(narrow, "游戏 ok");
  EXPECT_TRUE(ToNarrow(L"", narrow));
  EXPECT_EQ(narrow, "");
  std::wstring wide = L"unchanged";
  EXPECT_FALSE(ToWide(nullptr, wide));
  EXPECT_EQ(wide, L"unchanged");
  EXPECT_TRUE(ToWide("{\"k\":\"游戏\"}", wide));
  EXPECT_EQ(wide, L"{\"k\":\"游戏\"}");
}

TEST(UtilText, FormatLocalTime) {
  glider::test::ScratchHome home;
  home.SetEnv("TZ", "UTC0");
  tzset();
  const std::time_t t = 1709634030;  // 2024-03-05 10:20:30 UTC
  EXPECT_EQ(FormatLocalTime(L"%Y-%m-%d %H:%M:%S", t), L"2024-03-05 10:20:30");
  EXPECT_EQ(FormatLocalTime(L"%Y%m%d%H%M%S", t), L"20240305102030");
  EXPECT_EQ(FormatLocalTime(L"", t), L"");
  EXPECT_EQ(FormatLocalTime(std::wstring(200, L'x').c_str(), t), L"");  // does not fit in 128
  EXPECT_EQ(FormatLocalTime(nullptr, t), L"");
}

}  // namespace
