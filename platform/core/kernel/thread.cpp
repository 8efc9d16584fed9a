// Threads on pthreads, with Windows' handles, ids and exit codes.
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <new>

#include "platform/core/kernel/kernel_object.h"
#include "platform/errhandlingapi.h"
#include "platform/processthreadsapi.h"
#include "platform/synchapi.h"

using glider::core::KernelObject;

namespace glider::core {
namespace {

class ThreadObject : public WaitableObject {
 public:
  ThreadObject() : WaitableObject(Kind::kThread, true, false) {}

  void Started(DWORD id) {
    std::lock_guard lock(mutex_);
    id_ = id;
    idKnown_.notify_all();
  }
  DWORD WaitForId() {
    std::unique_lock lock(mutex_);
    idKnown_.wait(lock, [this] { return id_ != 0; });
    return id_;
  }
  void Finish(DWORD code) {
    {
      std::lock_guard lock(mutex_);
      if (!terminated_) exitCode_ = code;
      ended_ = true;
    }
    Signal();
  }
  DWORD ExitCode() {
    std::lock_guard lock(mutex_);
    return ended_ || terminated_ ? exitCode_ : STILL_ACTIVE;
  }
  // Gives the thread up: its handle is signalled now with `code`.
  void Abandon(DWORD code) {
    {
      std::lock_guard lock(mutex_);
      if (ended_ || terminated_) return;
      terminated_ = true;
      exitCode_ = code;
      abandoned_.store(true);
    }
    Signal();
  }
  bool abandoned() const { return abandoned_.load(); }

 private:
  std::mutex mutex_;
  std::condition_variable idKnown_;
  std::atomic<bool> abandoned_{false};
  DWORD id_ = 0;
  DWORD exitCode_ = STILL_ACTIVE;
  bool ended_ = false;
  bool terminated_ = false;
};

struct StartBlock {
  std::shared_ptr<ThreadObject> thread;
  LPTHREAD_START_ROUTINE start = nullptr;
  unsigned (*crtStart)(void*) = nullptr;
  void* argument = nullptr;
};

thread_local ThreadObject* currentThread = nullptr;

struct EndGuard {
  ThreadObject* thread;
  DWORD code = 0;
  ~EndGuard() { thread->Finish(code); }
};

void* RunThread(void* raw) {
  std::unique_ptr<StartBlock> block(static_cast<StartBlock*>(raw));
  std::shared_ptr<ThreadObject> thread = block->thread;
  currentThread = thread.get();
  thread->Started(GetCurrentThreadId());
  EndGuard guard{thread.get()};
  guard.code = block->start != nullptr ? block->start(block->argument) : block->crtStart(block->argument);
  return nullptr;
}

HANDLE StartThread(SIZE_T stackSize, StartBlock* block, LPDWORD threadId) {
  std::shared_ptr<ThreadObject> thread = block->thread;
  HANDLE handle = InsertHandle(thread);
  if (handle == nullptr) {
    delete block;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  if (stackSize > 0) pthread_attr_setstacksize(&attributes, stackSize < 65536 ? 65536 : stackSize);
  pthread_t pthread;
  int error = pthread_create(&pthread, &attributes, RunThread, block);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    delete block;
    RemoveHandle(handle, KernelObject::Kind::kThread, false);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  DWORD id = thread->WaitForId();
  if (threadId != nullptr) *threadId = id;
  return handle;
}

std::shared_ptr<ThreadObject> LookupThread(HANDLE thread) {
  auto object = LookupHandleAs<ThreadObject>(thread, KernelObject::Kind::kThread);
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

}  // namespace

bool CurrentThreadAbandoned() { return currentThread != nullptr && currentThread->abandoned(); }

}  // namespace glider::core

HANDLE CreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD creationFlags, LPDWORD threadId) {
  if (start == nullptr || (creationFlags & CREATE_SUSPENDED) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* block = new (std::nothrow) glider::core::StartBlock;
  if (block == nullptr) return nullptr;
  block->thread = std::make_shared<glider::core::ThreadObject>();
  block->start = start;
  block->argument = parameter;
  return glider::core::StartThread(stackSize, block, threadId);
}

uintptr_t _beginthreadex(void* security, unsigned stackSize, unsigned (*start)(void*), void* argList,
                         unsigned initFlag, unsigned* threadAddress) {
  if (start == nullptr || (initFlag & CREATE_SUSPENDED) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto* block = new (std::nothrow) glider::core::StartBlock;
  if (block == nullptr) return 0;
  block->thread = std::make_shared<glider::core::ThreadObject>();
  block->crtStart = start;
  block->argument = argList;
  DWORD id = 0;
  HANDLE handle = glider::core::StartThread(stackSize, block, &id);
  if (threadAddress != nullptr) *threadAddress = id;
  return reinterpret_cast<uintptr_t>(handle);
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  auto object = glider::core::LookupThread(thread);
  if (!object || exitCode == nullptr) return FALSE;
  *exitCode = object->ExitCode();
  return TRUE;
}

BOOL TerminateThread(HANDLE thread, DWORD exitCode) {
  auto object = glider::core::LookupThread(thread);
  if (!object) return FALSE;
  object->Abandon(exitCode);
  return TRUE;
}

DWORD GetCurrentThreadId() {
  thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(getpid()); }

DWORD GetTickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);
}
