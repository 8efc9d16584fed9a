#include "net/ThreadHolder.h"

#include <algorithm>
#include <list>

#include "platform/handleapi.h"
#include "platform/synchapi.h"

namespace {

struct ThreadHolderRegistry {
  ThreadHolderRegistry() { InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  std::list<CThreadHolder*> live;
  std::list<CThreadHolder*> finished;
};

// Created on first use and never destroyed: holders may outlive static destruction.
ThreadHolderRegistry& Registry() {
  static ThreadHolderRegistry* registry = new ThreadHolderRegistry;
  return *registry;
}

size_t CountIn(const std::list<CThreadHolder*>& list, const CThreadHolder* holder) {
  ThreadHolderRegistry& registry = Registry();
  EnterCriticalSection(&registry.lock);
  size_t count = static_cast<size_t>(std::count(list.begin(), list.end(), holder));
  LeaveCriticalSection(&registry.lock);
  return count;
}

}  // namespace

CThreadHolder::CThreadHolder() {
  ThreadHolderRegistry& registry = Registry();
  EnterCriticalSection(&registry.lock);
  if (std::find(registry.live.begin(), registry.live.end(), this) == registry.live.end()) {
    registry.live.push_back(this);
  }
  LeaveCriticalSection(&registry.lock);
}

CThreadHolder::~CThreadHolder() {
  InterlockedExchange(&stopFlag, 1);
  if (threadHandle != nullptr) {
    WaitForSingleObject(threadHandle, INFINITE);
    CloseHandle(threadHandle);
    threadHandle = nullptr;
  }
  if (autoUnregister == 0) Unregister();
}

unsigned CThreadHolder::ThreadEntry(void* raw) {
  auto* holder = static_cast<CThreadHolder*>(raw);
  if (holder == nullptr) return 0;
  if (holder->threadProc != nullptr) holder->threadProc(holder->threadArg);
  if (holder->autoUnregister != 0) holder->Unregister();
  return 0;
}

void CThreadHolder::Unregister() {
  ThreadHolderRegistry& registry = Registry();
  EnterCriticalSection(&registry.lock);
  registry.live.remove(this);
  if (autoUnregister != 0) registry.finished.push_back(this);
  LeaveCriticalSection(&registry.lock);
}

size_t ThreadHolderLiveCount(const CThreadHolder* holder) { return CountIn(Registry().live, holder); }
size_t ThreadHolderFinishedCount(const CThreadHolder* holder) { return CountIn(Registry().finished, holder); }
