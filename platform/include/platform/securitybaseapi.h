// The elevation query of the process token. Elevated means effective user id 0.
#pragma once

#include "platform/sysinfoapi.h"
#include "platform/windef.h"

constexpr DWORD TOKEN_QUERY = 0x0008;

enum TOKEN_INFORMATION_CLASS { TokenElevation = 20 };

struct TOKEN_ELEVATION {
  DWORD TokenIsElevated;
};

BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token);
BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS cls, LPVOID info, DWORD length, DWORD* returned);
// Tokens are closed with this (our kernel handles are closed with CloseHandle).
BOOL CloseTokenHandle(HANDLE token);
