#include <unistd.h>

#include "platform/securitybaseapi.h"
#include "platform/sysinfoapi.h"

namespace {
// The process token is the only token there is; its handle is a fixed token value.
int gProcessToken;
}  // namespace

BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) {
  if (!token || process != GetCurrentProcess() || !(access & TOKEN_QUERY)) return FALSE;
  *token = &gProcessToken;
  return TRUE;
}

BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS cls, LPVOID info, DWORD length, DWORD* returned) {
  if (token != &gProcessToken || cls != TokenElevation) return FALSE;
  if (returned) *returned = sizeof(TOKEN_ELEVATION);
  if (!info || length < sizeof(TOKEN_ELEVATION)) return FALSE;
  static_cast<TOKEN_ELEVATION*>(info)->TokenIsElevated = geteuid() == 0 ? 1 : 0;
  return TRUE;
}

BOOL CloseTokenHandle(HANDLE token) { return token == &gProcessToken ? TRUE : FALSE; }
