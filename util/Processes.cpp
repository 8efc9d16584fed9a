#include "util/Processes.h"

#include "platform/handleapi.h"
#include "platform/securitybaseapi.h"
#include "platform/shellapi.h"
#include "platform/winuser.h"

void OpenInBrowser(const std::wstring& address) {
  auto first = reinterpret_cast<intptr_t>(
      ShellExecuteW(nullptr, L"open", L"iexplore", address.c_str(), nullptr, SW_SHOW));
  if (first <= 32) ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

bool IsProcessElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  bool elevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) &&
                  elevation.TokenIsElevated != 0;
  CloseHandle(token);
  return elevated;
}
