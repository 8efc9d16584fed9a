#include "platform/core/kernel/kernel_object.h"

#include <chrono>
#include <unordered_map>

#include "platform/errhandlingapi.h"
#include "platform/handleapi.h"

namespace glider::core {

void WaitableObject::Signal() {
  std::lock_guard lock(mutex_);
  signalled_ = true;
  if (manualReset_) {
    changed_.notify_all();
  } else {
    changed_.notify_one();
  }
}

void WaitableObject::Reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

bool WaitableObject::Wait(DWORD milliseconds) {
  std::unique_lock lock(mutex_);
  auto ready = [this] { return signalled_; };
  if (milliseconds == 0xFFFFFFFF) {
    changed_.wait(lock, ready);
  } else if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), ready)) {
    return false;
  }
  if (!manualReset_) signalled_ = false;
  return true;
}

namespace {

struct HandleTable {
  std::mutex mutex;
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects;
  uintptr_t next = 4;
};

HandleTable& Table() {
  static HandleTable* table = new HandleTable;  // outlives every static destructor
  return *table;
}

}  // namespace

HANDLE InsertHandle(std::shared_ptr<KernelObject> object) {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  // Multiples of 4 as on Windows; values are not reused soon, so a stale handle rarely finds a new object.
  for (int tries = 0; tries < 1024; ++tries) {
    uintptr_t value = table.next;
    table.next = value >= 0x3FFFFFF0 ? 4 : value + 4;
    if (table.objects.emplace(value, object).second) return reinterpret_cast<HANDLE>(value);
  }
  return nullptr;
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
  return it == table.objects.end() ? nullptr : it->second;
}

bool RemoveHandle(HANDLE handle, KernelObject::Kind kind, bool anyKindButInternet) {
  std::shared_ptr<KernelObject> released;  // destroyed outside the lock
  HandleTable& table = Table();
  std::lock_guard lock(table.mutex);
  auto it = table.objects.find(reinterpret_cast<uintptr_t>(handle));
  if (it == table.objects.end()) return false;
  KernelObject::Kind found = it->second->kind();
  bool matches = anyKindButInternet ? found != KernelObject::Kind::kInternet : found == kind;
  if (!matches) return false;
  released = std::move(it->second);
  table.objects.erase(it);
  return true;
}

}  // namespace glider::core

BOOL CloseHandle(HANDLE handle) {
  if (!glider::core::RemoveHandle(handle, glider::core::KernelObject::Kind::kFile, true)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}
