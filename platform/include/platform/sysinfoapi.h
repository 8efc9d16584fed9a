// System version and processor affinity.
#pragma once

#include "platform/windef.h"

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};
using LPOSVERSIONINFOW = OSVERSIONINFOW*;
using PDWORD_PTR = DWORD_PTR*;

// The kernel's version means nothing to a Windows program: this reports the NT platform, version 10.0.
BOOL GetVersionExW(LPOSVERSIONINFOW info);

// Pseudo-handle of the calling process; it needs no closing.
HANDLE GetCurrentProcess();

// Masks cover the first 64 processors. The system mask is the set of online processors.
BOOL GetProcessAffinityMask(HANDLE process, PDWORD_PTR processMask, PDWORD_PTR systemMask);

// Linux affinity is per thread: this reads and sets the calling thread's mask, so other threads of the
// process keep theirs (the Windows call moves every thread of the process).
BOOL SetProcessAffinityMask(HANDLE process, DWORD_PTR processMask);
