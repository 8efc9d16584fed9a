// Kernel objects behind HANDLE values. Handles are small numbers looked up
// in one table, so a stale or foreign value is refused instead of followed.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/windef.h"

namespace glider::core {

class KernelObject {
 public:
  enum class Kind { kFile, kEvent, kThread, kProcess, kSnapshot, kToken, kInternet };
  explicit KernelObject(Kind kind) : kind_(kind) {}
  virtual ~KernelObject() = default;
  KernelObject(const KernelObject&) = delete;
  KernelObject& operator=(const KernelObject&) = delete;
  Kind kind() const { return kind_; }

 private:
  Kind kind_;
};

// An object that WaitForSingleObject can wait on.
class WaitableObject : public KernelObject {
 public:
  WaitableObject(Kind kind, bool manualReset, bool signalled)
      : KernelObject(kind), manualReset_(manualReset), signalled_(signalled) {}
  void Signal();
  void Reset();
  // True when signalled within `milliseconds` (INFINITE waits for ever).
  bool Wait(DWORD milliseconds);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool manualReset_;
  bool signalled_;
};

// Returns null when the table is full (never in practice).
HANDLE InsertHandle(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> LookupHandle(HANDLE handle);
// Removes the handle; false when it was not open.
bool RemoveHandle(HANDLE handle, KernelObject::Kind kind, bool anyKindButInternet);

// True in a thread that TerminateThread has given up: its waits and sleeps
// return at once so that it reaches its end soon.
bool CurrentThreadAbandoned();

template <typename T>
std::shared_ptr<T> LookupHandleAs(HANDLE handle, KernelObject::Kind kind) {
  std::shared_ptr<KernelObject> object = LookupHandle(handle);
  if (!object || object->kind() != kind) return nullptr;
  return std::static_pointer_cast<T>(object);
}

}  // namespace glider::core
