// Process tokens: elevation is an effective user id of 0.
#include <unistd.h>

#include <atomic>

#include "platform/core/kernel/elevation.h"
#include "platform/core/kernel/kernel_object.h"
#include "platform/errhandlingapi.h"
#include "platform/securitybaseapi.h"

namespace glider::core {
namespace {

std::atomic<int> forcedElevation{-1};

class TokenObject : public KernelObject {
 public:
  TokenObject() : KernelObject(Kind::kToken) {}
};

}  // namespace

void SetElevatedForTesting(int elevated) { forcedElevation.store(elevated); }

}  // namespace glider::core

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

BOOL OpenProcessToken(HANDLE process, DWORD desiredAccess, HANDLE* token) {
  if (process != GetCurrentProcess() || token == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *token = glider::core::InsertHandle(std::make_shared<glider::core::TokenObject>());
  if (*token == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return TRUE;
}

BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS informationClass, LPVOID information,
                         DWORD informationLength, LPDWORD returnLength) {
  using glider::core::KernelObject;
  if (!glider::core::LookupHandleAs<KernelObject>(token, KernelObject::Kind::kToken)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (informationClass != TokenElevation) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (returnLength != nullptr) *returnLength = sizeof(TOKEN_ELEVATION);
  if (information == nullptr || informationLength < sizeof(TOKEN_ELEVATION)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  int forced = glider::core::forcedElevation.load();
  bool elevated = forced >= 0 ? forced != 0 : geteuid() == 0;
  static_cast<TOKEN_ELEVATION*>(information)->TokenIsElevated = elevated ? 1 : 0;
  return TRUE;
}
