// The registry: a small file-backed store per hive under $XDG_CONFIG_HOME/glider-registry/.
// Names are case-insensitive and separated by backslashes. The current user's
// "Software\Microsoft\Windows\CurrentVersion\Run" key is the XDG autostart folder:
// value NAME is ~/.config/autostart/NAME.desktop with the value's data as its Exec= line.
#pragma once

#include "platform/windef.h"

using REGSAM = DWORD;
using LSTATUS = LONG;
using PHKEY = HKEY*;

inline const HKEY HKEY_CLASSES_ROOT =
    reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<LONG>(0x80000000)));
inline const HKEY HKEY_CURRENT_USER =
    reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<LONG>(0x80000001)));
inline const HKEY HKEY_LOCAL_MACHINE =
    reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<LONG>(0x80000002)));
inline const HKEY HKEY_USERS = reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<LONG>(0x80000003)));

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = 0x20019;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

constexpr LONG ERROR_BAD_PATHNAME = 161;

// A key opens only when it exists; the access asked for is recorded and checked.
LSTATUS RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the key, creating every missing key along the path.
LSTATUS RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result);
// Text data is wchar_t (4 bytes each on our platform) with its terminator counted.
LSTATUS RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LSTATUS RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
LSTATUS RegDeleteValueW(HKEY key, LPCWSTR name);
LSTATUS RegCloseKey(HKEY key);
