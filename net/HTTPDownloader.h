// The download queue and its two worker threads.
#pragma once

#include <list>

#include "net/DownloadTask.h"
#include "net/ThreadHolder.h"
#include "platform/synchapi.h"

class HTTPDownloader;

struct DownloadWorker {
  CThreadHolder holder;  // its stop flag is the worker's
  HTTPDownloader* downloader = nullptr;
  HANDLE wakeEvent = nullptr;  // auto-reset
};

class HTTPDownloader {
 public:
  static constexpr DWORD kStopWaitMs = 5000;
  static constexpr DWORD kIdleWaitMs = 10000;

  HTTPDownloader();
  ~HTTPDownloader();
  HTTPDownloader(const HTTPDownloader&) = delete;
  HTTPDownloader& operator=(const HTTPDownloader&) = delete;

  // Starts the workers unless they run; false only when none could be started.
  bool StartWorkers();
  // Queues a deep copy of `task` and wakes the workers: 1, or 0 without memory.
  int AddTask(const DownloadTask& task);
  // The first queued task, or null.
  DownloadTask* Take();
  // Stops each worker in turn (a busy one is terminated after kStopWaitMs).
  // Queued tasks stay queued and are not notified.
  void StopWorkers();
  bool IsStarted() const { return started; }

  std::list<DownloadTask*> queue;
  CRITICAL_SECTION queueLock;
  bool started = false;
  int workerCount = 2;
  std::list<DownloadWorker*> workers;

 private:
  void StopWorker(DownloadWorker* worker);
  // Guards the worker list against AddTask on a worker thread while
  // StopWorkers destroys workers; held only to signal or unlink.
  CRITICAL_SECTION workersLock;
};

// What a worker does with one task it took: notifies, runs the attempts,
// deletes a failed file, frees the task. Reads `stopFlag`; waits between
// attempts on `wakeEvent`, which a stop request signals.
void ProcessDownloadTask(DownloadTask* task, const volatile LONG* stopFlag, HANDLE wakeEvent);

// One attempt. `pathSettled` keeps the file path settled by the first attempt.
// With `lengthOptional` a body without Content-Length is read to its end
// (the shared-library build's report downloads).
int RunDownloadTransfer(DownloadTask& task, const volatile LONG* stopFlag, bool& pathSettled,
                        bool lengthOptional);
