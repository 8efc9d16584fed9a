// The URL cache enumeration over the driver's stored web data.
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "platform/core/window/driver.h"
#include "platform/urlcache.h"
#include "platform/winbase.h"

namespace {

struct Enumeration {
  std::vector<std::wstring> entries;
  size_t next = 0;
};

DWORD Needed(const std::wstring& url) {
  return static_cast<DWORD>(sizeof(INTERNET_CACHE_ENTRY_INFOW) + (url.size() + 1) * sizeof(wchar_t));
}

BOOL ReadEntry(Enumeration& e, LPINTERNET_CACHE_ENTRY_INFOW entry, LPDWORD size) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (e.next >= e.entries.size()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  const std::wstring& url = e.entries[e.next];
  DWORD needed = Needed(url);
  if (!entry || *size < needed) {
    *size = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memset(entry, 0, sizeof(*entry));
  entry->dwStructSize = sizeof(*entry);
  auto* text = reinterpret_cast<wchar_t*>(entry + 1);
  std::wmemcpy(text, url.c_str(), url.size() + 1);
  entry->lpszSourceUrlName = text;
  entry->CacheEntryType = url.rfind(L"Cookie:", 0) == 0 ? COOKIE_CACHE_ENTRY : NORMAL_CACHE_ENTRY;
  *size = needed;
  ++e.next;
  return TRUE;
}

std::vector<std::wstring> Snapshot() {
  if (!glider::core::HasDriver()) return {};
  return glider::core::GetDriver().UrlCacheEntries();
}

}  // namespace

HANDLE FindFirstUrlCacheEntryW(LPCWSTR, LPINTERNET_CACHE_ENTRY_INFOW entry, LPDWORD size) {
  auto* e = new (std::nothrow) Enumeration{Snapshot(), 0};
  if (!e) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (!ReadEntry(*e, entry, size)) {
    delete e;
    return nullptr;
  }
  return e;
}

BOOL FindNextUrlCacheEntryW(HANDLE enumeration, LPINTERNET_CACHE_ENTRY_INFOW entry, LPDWORD size) {
  if (!enumeration) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return ReadEntry(*static_cast<Enumeration*>(enumeration), entry, size);
}

BOOL FindCloseUrlCache(HANDLE enumeration) {
  if (!enumeration) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  delete static_cast<Enumeration*>(enumeration);
  return TRUE;
}

BOOL DeleteUrlCacheEntryW(LPCWSTR sourceUrl) {
  if (!sourceUrl || !glider::core::HasDriver()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (glider::core::GetDriver().DeleteUrlCacheEntry(sourceUrl)) return TRUE;
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}
