// Which server versions are offered to this client (its own version is 3000).
#include "app/Upgrade.h"

#include <gtest/gtest.h>

namespace {

TEST(Upgrade, VersionRanges) {
  struct Case {
    const wchar_t* range;
    bool in;
  } cases[] = {
      {L"", true},           {L"3000", true},       {L"2000-3000", true}, {L"2999", false},
      {L"3001-4000", false}, {L"abc,3000", true},   {L"2000-", false},    {L"1-2-3000", false},
      {L",,3000,", true},    {L"2999,3001", false}, {L"3000-3000", true}, {L" 3000", true},
  };
  for (const Case& c : cases) EXPECT_EQ(IsVersionInRange(c.range), c.in) << c.range;
}

TEST(Upgrade, OfferedOnlyWhenNewerThanTheClientAndThanTheLastHandOver) {
  struct Case {
    const wchar_t* remote;
    const wchar_t* range;
    const wchar_t* last;
    bool offered;
  } cases[] = {
      {L"3.0.0.1", L"", L"", true},
      {L"3.0.0.1", L"3000", L"", true},
      {L"3.0.0.1", L"2000-3000", L"", true},
      {L"3.0.0.0", L"", L"", false},
      {L"3.0.0.1", L"", L"3.0.0.1", false},
      {L"3.0.0.2", L"", L"3.0.0.1", true},
      {L"3.1", L"", L"", false},
      {L"", L"", L"", false},
      {L"x", L"", L"", false},
      {L"3.0.0.1", L"2999", L"", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShouldOfferUpgrade(c.remote, c.range, c.last), c.offered)
        << c.remote << " " << c.range << " " << c.last;
  EXPECT_EQ(VersionNumber(L"3.0.0.1"), 3001);
  EXPECT_EQ(VersionNumber(L"3.1"), 31);
}

}  // namespace
