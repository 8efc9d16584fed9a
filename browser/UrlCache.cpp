#include "browser/UrlCache.h"

#include <cstdlib>
#include <cwchar>

#include "platform/urlcache.h"
#include "platform/winbase.h"

namespace {

bool KeepEntry(const wchar_t* url) {
#ifdef GLIDER_LIBRARY
  return std::wcsstr(url, L"Cookie") || std::wcsstr(url, L"Visited");
#else
  (void)url;
  return false;
#endif
}

}  // namespace

void ClearUrlCache() {
  DWORD size = 4096;
  auto* entry = static_cast<INTERNET_CACHE_ENTRY_INFOW*>(std::malloc(size));
  if (!entry) return;
  entry->dwStructSize = size;
  HANDLE enumeration = nullptr;
  // Reads the next entry, with one retry in a buffer of the size the failed read asked for.
  auto read = [&]() -> bool {
    for (int attempt = 0; attempt < 2; ++attempt) {
      DWORD got = size;
      bool ok = enumeration ? FindNextUrlCacheEntryW(enumeration, entry, &got) != FALSE
                            : (enumeration = FindFirstUrlCacheEntryW(nullptr, entry, &got)) != nullptr;
      if (ok) return true;
      if (attempt == 1 || GetLastError() != ERROR_INSUFFICIENT_BUFFER || got <= size) return false;
      std::free(entry);
      size = got;
      entry = static_cast<INTERNET_CACHE_ENTRY_INFOW*>(std::malloc(size));
      if (!entry) return false;
      entry->dwStructSize = size;
    }
    return false;
  };
  while (read()) {
    if (entry->lpszSourceUrlName && !KeepEntry(entry->lpszSourceUrlName))
      DeleteUrlCacheEntryW(entry->lpszSourceUrlName);
  }
  if (enumeration) FindCloseUrlCache(enumeration);
  std::free(entry);
}
