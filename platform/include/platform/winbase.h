// Process, file, text-conversion and profile (INI) functions of the kernel.
#pragma once

#include "platform/windef.h"

// Per-thread error code of the last failed call.
DWORD GetLastError();
void SetLastError(DWORD code);

// The process's own arguments: the program path first, arguments holding a space
// in double quotes, joined by spaces. The text stays valid for the process's life.
LPWSTR GetCommandLineW();

// Null module: the executable (/proc/self/exe). Otherwise the file of the ELF object
// that holds the module's resource table. Paths use '/'. A short buffer gets the
// path cut to size-1 characters and ERROR_INSUFFICIENT_BUFFER; the result is size.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// $TMPDIR or "/tmp/", always with a final '/'. Returns the length, or the size
// needed (with the terminator) when the buffer is too small.
DWORD GetTempPathW(DWORD size, LPWSTR buffer);

// Security attributes are ignored; the folder gets mode 0777 less the umask.
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES attributes);

// Code pages. The ANSI code page is UTF-8 on our platform; wide text is UTF-32.
constexpr UINT CP_ACP = 0;
constexpr UINT CP_OEMCP = 1;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD MB_PRECOMPOSED = 0x00000001;
constexpr DWORD MB_ERR_INVALID_CHARS = 0x00000008;
constexpr DWORD WC_COMPOSITECHECK = 0x00000200;
constexpr DWORD WC_ERR_INVALID_CHARS = 0x00000080;
constexpr LONG ERROR_NO_UNICODE_TRANSLATION = 1113;
constexpr LONG ERROR_INVALID_FLAGS = 1004;

// Lengths of -1 mean "up to and including the terminator". A zero output size
// measures. Invalid sequences become U+FFFD unless *_ERR_INVALID_CHARS is given.
// Composition flags are accepted and change nothing (UTF-8 has no precomposed form
// to choose). The default-character arguments are ignored.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR text, int length, LPWSTR out, int outSize);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR text, int length, LPSTR out, int outSize,
                        LPCSTR defaultChar, LPBOOL usedDefaultChar);

// A random (version 4) GUID from the kernel's random source.
HRESULT CoCreateGuid(GUID* guid);

// Goes to stderr when the environment variable GLIDER_DEBUG is set; otherwise nowhere.
void OutputDebugStringW(LPCWSTR text);

// Private profile (INI) files with the Windows semantics: case-insensitive section and
// key names, values trimmed of surrounding blanks and of one pair of enclosing quotes,
// defaults for anything missing, results cut to the buffer. Files are read as UTF-8
// (a BOM is skipped) and new ones written as UTF-8. Writes keep every other line and
// replace the file atomically under an advisory lock (a "<file>.lock" beside it).
DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR out, DWORD size,
                               LPCWSTR file);
UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR file);
BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file);
