// A thread with its stop flag, listed in a process-wide registry while it lives.
#pragma once

#include <cstddef>

#include "platform/windef.h"

class CThreadHolder {
 public:
  CThreadHolder();
  // Asks the thread to stop and waits for it without a time limit.
  virtual ~CThreadHolder();
  CThreadHolder(const CThreadHolder&) = delete;
  CThreadHolder& operator=(const CThreadHolder&) = delete;

  // The thread function handed to _beginthreadex; its argument is the holder.
  static unsigned ThreadEntry(void* holder);
  void Unregister();

  HANDLE threadHandle = nullptr;
  volatile LONG stopFlag = 1;  // written with InterlockedExchange, read with ReadStopFlag
  unsigned (*threadProc)(void*) = nullptr;
  void* threadArg = nullptr;
  DWORD autoUnregister = 0;
};

inline bool ReadStopFlag(const volatile LONG* flag) { return __atomic_load_n(flag, __ATOMIC_ACQUIRE) != 0; }

// How often the registry lists `holder` as live, and as finished.
size_t ThreadHolderLiveCount(const CThreadHolder* holder);
size_t ThreadHolderFinishedCount(const CThreadHolder* holder);
