// Events, waits, critical sections, Sleep.
#include <time.h>

#include <cerrno>
#include <mutex>
#include <new>

#include "platform/core/kernel/kernel_object.h"
#include "platform/errhandlingapi.h"
#include "platform/synchapi.h"

using glider::core::KernelObject;
using glider::core::WaitableObject;

namespace {

std::shared_ptr<WaitableObject> LookupEvent(HANDLE event) {
  auto object = glider::core::LookupHandleAs<WaitableObject>(event, KernelObject::Kind::kEvent);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

std::recursive_mutex* Lock(LPCRITICAL_SECTION section) {
  return static_cast<std::recursive_mutex*>(section->DebugInfo);
}

}  // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL initialState, LPCWSTR name) {
  auto event = std::make_shared<WaitableObject>(KernelObject::Kind::kEvent, manualReset != FALSE,
                                                initialState != FALSE);
  HANDLE handle = glider::core::InsertHandle(event);
  if (handle == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

BOOL SetEvent(HANDLE event) {
  auto object = LookupEvent(event);
  if (!object) return FALSE;
  object->Signal();
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  auto object = LookupEvent(event);
  if (!object) return FALSE;
  object->Reset();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  std::shared_ptr<KernelObject> object = glider::core::LookupHandle(handle);
  bool waitable = object && (object->kind() == KernelObject::Kind::kEvent ||
                             object->kind() == KernelObject::Kind::kThread ||
                             object->kind() == KernelObject::Kind::kProcess);
  if (!waitable) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  if (glider::core::CurrentThreadAbandoned()) return WAIT_FAILED;
  // The object stays alive while we wait even if another thread closes the handle.
  return static_cast<WaitableObject*>(object.get())->Wait(milliseconds) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  *section = {};
  section->DebugInfo = new (std::nothrow) std::recursive_mutex;
  section->LockCount = -1;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) { Lock(section)->lock(); }

void LeaveCriticalSection(LPCRITICAL_SECTION section) { Lock(section)->unlock(); }

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  delete Lock(section);
  section->DebugInfo = nullptr;
}

void Sleep(DWORD milliseconds) {
  if (glider::core::CurrentThreadAbandoned()) return;
  timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
  }
}
