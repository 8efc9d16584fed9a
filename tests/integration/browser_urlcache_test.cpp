// Clearing the URL cache over the engine's stored data (headless driver's list).
#include <gtest/gtest.h>

#include "browser/UrlCache.h"
#include "platform/headless/headless_driver.h"
#include "platform/urlcache.h"
#include "platform/winbase.h"

using glider::headless::Driver;

namespace {

TEST(UrlCache, EveryEntryIsDeletedLongOnesIncluded) {
  std::wstring longUrl = L"http://site.test/" + std::wstring(3000, L'x');  // past the first 4096-byte buffer
  Driver().SetUrlCache(
      {L"http://site.test/", L"Cookie:glider@site.test/", L"Visited:glider@http://site.test/", longUrl});
  ClearUrlCache();
  EXPECT_TRUE(Driver().UrlCache().empty());
  ClearUrlCache();  // an empty cache ends at once
  EXPECT_TRUE(Driver().UrlCache().empty());
}

TEST(UrlCache, EnumerationAsksForRoomAndEndsWithNoMoreItems) {
  Driver().SetUrlCache({L"Cookie:glider@site.test/"});
  DWORD size = 8;
  INTERNET_CACHE_ENTRY_INFOW small{};
  EXPECT_EQ(FindFirstUrlCacheEntryW(nullptr, &small, &size), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  std::vector<unsigned char> buffer(size);
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
  HANDLE e = FindFirstUrlCacheEntryW(nullptr, entry, &size);
  ASSERT_NE(e, nullptr);
  EXPECT_STREQ(entry->lpszSourceUrlName, L"Cookie:glider@site.test/");
  EXPECT_EQ(entry->CacheEntryType, COOKIE_CACHE_ENTRY);
  EXPECT_FALSE(FindNextUrlCacheEntryW(e, entry, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  EXPECT_TRUE(FindCloseUrlCache(e));
  EXPECT_TRUE(DeleteUrlCacheEntryW(L"Cookie:glider@site.test/"));
  EXPECT_FALSE(DeleteUrlCacheEntryW(L"Cookie:glider@site.test/"));
}

}  // namespace
