// WinINet's URL cache, over the web engine's stored data: cache, cookies and site
// storage, one entry per kind and site. Cookie entries are named "Cookie:user@site/";
// others carry the site's address. Callable from any thread.
#pragma once

#include "platform/windef.h"

struct INTERNET_CACHE_ENTRY_INFOW {
  DWORD dwStructSize;
  LPWSTR lpszSourceUrlName;
  LPWSTR lpszLocalFileName;
  DWORD CacheEntryType;
  DWORD dwUseCount;
  DWORD dwHitRate;
  DWORD dwSizeLow;
  DWORD dwSizeHigh;
  FILETIME LastModifiedTime;
  FILETIME ExpireTime;
  FILETIME LastAccessTime;
  FILETIME LastSyncTime;
  LPWSTR lpHeaderInfo;
  DWORD dwHeaderInfoSize;
  LPWSTR lpszFileExtension;
  DWORD dwExemptDelta;
};
using LPINTERNET_CACHE_ENTRY_INFOW = INTERNET_CACHE_ENTRY_INFOW*;

constexpr DWORD NORMAL_CACHE_ENTRY = 0x00000001;
constexpr DWORD COOKIE_CACHE_ENTRY = 0x00100000;
constexpr DWORD URLHISTORY_CACHE_ENTRY = 0x00200000;

// The entry and the text it points to are written into the caller's buffer of *size
// bytes. Too small: null or FALSE with ERROR_INSUFFICIENT_BUFFER and *size the size
// needed. No (more) entries: ERROR_NO_MORE_ITEMS. The enumeration sees the entries as
// they were when it started.
HANDLE FindFirstUrlCacheEntryW(LPCWSTR pattern, LPINTERNET_CACHE_ENTRY_INFOW entry, LPDWORD size);
BOOL FindNextUrlCacheEntryW(HANDLE enumeration, LPINTERNET_CACHE_ENTRY_INFOW entry, LPDWORD size);
BOOL FindCloseUrlCache(HANDLE enumeration);
BOOL DeleteUrlCacheEntryW(LPCWSTR sourceUrl);
