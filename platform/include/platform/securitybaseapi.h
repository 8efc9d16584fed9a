// Process tokens, only as far as the elevation test needs them.
#pragma once

#include "platform/windef.h"

constexpr DWORD TOKEN_QUERY = 0x0008;

enum TOKEN_INFORMATION_CLASS {
  TokenUser = 1,
  TokenElevation = 20,
};

struct TOKEN_ELEVATION {
  DWORD TokenIsElevated;
};

// The pseudo handle of the calling process (needs no closing).
HANDLE GetCurrentProcess();
// Only the calling process's token can be opened.
BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token);
// Only TokenElevation is answered: elevated means an effective user id of 0.
BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS informationClass, LPVOID information,
                         DWORD informationLength, LPDWORD returnLength);
