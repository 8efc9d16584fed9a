// Starting programs and opening addresses through the shell.
#pragma once

#include "platform/windef.h"
#include "platform/winuser.h"  // the show commands

// Values at or below 32 returned by ShellExecuteW are errors.
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_OOM = 8;
constexpr int SE_ERR_NOASSOC = 31;

constexpr DWORD SEE_MASK_DEFAULT = 0x00000000;
constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x00000040;

struct SHELLEXECUTEINFOW {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;
  LPCWSTR lpFile;
  LPCWSTR lpParameters;
  LPCWSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  void* lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIconOrMonitor;
  HANDLE hProcess;
};
using LPSHELLEXECUTEINFOW = SHELLEXECUTEINFOW*;

// Verbs: "open" (or null) of an address (scheme "://", "www." or "mailto:")
// runs `xdg-open` on it; "open" of a program runs it when it is a file or is
// found on PATH, and otherwise returns SE_ERR_FNF (so "iexplore" fails on
// Linux); "runas" runs the program through `pkexec`, which asks for elevation.
// Parameters are split into words with Windows' quoting rules.
HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        int showCommand);
// hProcess is filled only with SEE_MASK_NOCLOSEPROCESS. A refused elevation
// is seen only when pkexec exits, so the call itself still succeeds.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
