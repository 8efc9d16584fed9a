#include "net/HTTPDownloader.h"

#include <new>

#include "platform/core/inet/inet_stop.h"
#include "platform/handleapi.h"
#include "platform/processthreadsapi.h"

namespace {

// Workers whose thread was terminated: kept reachable, never freed.
std::list<DownloadWorker*>& AbandonedWorkers() {
  static auto* workers = new std::list<DownloadWorker*>;
  return *workers;
}

unsigned WorkerLoop(void* raw) {
  auto* worker = static_cast<DownloadWorker*>(raw);
  const volatile LONG* stopFlag = &worker->holder.stopFlag;
  // A stop request also wakes this thread's blocking network calls.
  glider::core::BindInternetStopFlag(stopFlag);
  while (!ReadStopFlag(stopFlag)) {
    DownloadTask* task = worker->downloader->Take();
    if (task == nullptr) {
      WaitForSingleObject(worker->wakeEvent, HTTPDownloader::kIdleWaitMs);
      continue;
    }
    ProcessDownloadTask(task, stopFlag, worker->wakeEvent);
  }
  glider::core::BindInternetStopFlag(nullptr);
  return 0;
}

}  // namespace

HTTPDownloader::HTTPDownloader() {
  InitializeCriticalSection(&queueLock);
  InitializeCriticalSection(&workersLock);
}

HTTPDownloader::~HTTPDownloader() {
  StopWorkers();
  DeleteCriticalSection(&workersLock);
  DeleteCriticalSection(&queueLock);
  for (DownloadTask* task : queue) delete task;
  queue.clear();
}

bool HTTPDownloader::StartWorkers() {
  if (started) return true;
  for (int i = 0; i < workerCount; ++i) {
    auto* worker = new (std::nothrow) DownloadWorker;
    if (worker == nullptr) continue;
    worker->downloader = this;
    worker->wakeEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    worker->holder.threadProc = WorkerLoop;
    worker->holder.threadArg = worker;
    InterlockedExchange(&worker->holder.stopFlag, 0);
    uintptr_t thread = worker->wakeEvent != nullptr ? _beginthreadex(nullptr, 0, CThreadHolder::ThreadEntry,
                                                                     &worker->holder, 0, nullptr)
                                                    : 0;
    worker->holder.threadHandle = reinterpret_cast<HANDLE>(thread);
    if (thread == 0) {
      StopWorker(worker);
      continue;
    }
    EnterCriticalSection(&workersLock);
    workers.push_back(worker);
    LeaveCriticalSection(&workersLock);
  }
  started = !workers.empty();
  return started;
}

int HTTPDownloader::AddTask(const DownloadTask& task) {
  DownloadTask* copy = CopyDownloadTask(task);
  if (copy == nullptr) return 0;
  EnterCriticalSection(&queueLock);
  queue.push_back(copy);
  LeaveCriticalSection(&queueLock);
  EnterCriticalSection(&workersLock);
  for (DownloadWorker* worker : workers) SetEvent(worker->wakeEvent);
  LeaveCriticalSection(&workersLock);
  return 1;
}

DownloadTask* HTTPDownloader::Take() {
  DownloadTask* task = nullptr;
  EnterCriticalSection(&queueLock);
  if (!queue.empty()) {
    task = queue.front();
    queue.pop_front();
  }
  LeaveCriticalSection(&queueLock);
  return task;
}

void HTTPDownloader::StopWorker(DownloadWorker* worker) {
  CThreadHolder& holder = worker->holder;
  InterlockedExchange(&holder.stopFlag, 1);
  glider::core::WakeInternetCalls(&holder.stopFlag);
  if (worker->wakeEvent != nullptr) SetEvent(worker->wakeEvent);
  if (holder.threadHandle != nullptr) {
    if (WaitForSingleObject(holder.threadHandle, kStopWaitMs) == WAIT_TIMEOUT) {
      TerminateThread(holder.threadHandle, 0);
      // A terminated thread may still run on and use its worker: the worker is
      // left allocated (and its event open) rather than freed under it.
      CloseHandle(holder.threadHandle);
      holder.threadHandle = nullptr;
      AbandonedWorkers().push_back(worker);  // only StopWorkers' thread gets here
      return;
    }
    CloseHandle(holder.threadHandle);
    holder.threadHandle = nullptr;
  }
  if (worker->wakeEvent != nullptr) CloseHandle(worker->wakeEvent);
  delete worker;
}

void HTTPDownloader::StopWorkers() {
  for (;;) {
    EnterCriticalSection(&workersLock);
    DownloadWorker* worker = workers.empty() ? nullptr : workers.front();
    if (worker != nullptr) workers.pop_front();
    LeaveCriticalSection(&workersLock);
    if (worker == nullptr) break;
    StopWorker(worker);
  }
  started = false;
}
