// One HTTP transfer queued on the downloader, its notifications and results.
#pragma once

#include <string>

#include "platform/windef.h"

// Notification codes.
enum DownloadNotify : int32_t {
  DownloadStarted = 1,
  DownloadProgress = 2,
  DownloadDone = 3,
};

// Results of a transfer.
enum DownloadResult : int32_t {
  DownloadOk = 0,
  DownloadCancelled = -1,
  DownloadOpenFailed = -2,
  DownloadRequestFailed = -3,
  DownloadBadStatus = -4,
  DownloadCreateFailed = -5,
  DownloadReadFailed = -6,
  DownloadWriteFailed = -7,
};

// The kinds of task the application queues (the callback's second argument).
enum DownloadTaskId : uint32_t {
  TaskVersionFile = 0,
  TaskUpgradeProgram = 1,
  TaskInstallReport = 3,
  TaskUninstallReport = 4,
  TaskActiveReport = 5,
  TaskThirdInstallReport = 6,
};

// (userData, taskId, code, result, extra). userData and extra are pointer-sized
// here: the module passes itself as userData, and extra carries the task's
// address with DownloadDone.
using DownloadCallback = void (*)(uintptr_t userData, uint32_t taskId, int32_t code, int32_t result,
                                  uintptr_t extra);

struct DownloadTask {
  DownloadTask() = default;
  ~DownloadTask() { delete[] postData; }
  DownloadTask(const DownloadTask&) = delete;
  DownloadTask& operator=(const DownloadTask&) = delete;

  std::wstring url;
  std::wstring destPath;
  BYTE* postData = nullptr;  // owned; allocate with new[]; null: GET
  DWORD postLength = 0;
  int32_t retries = 0;
  DownloadCallback callback = nullptr;
  uintptr_t userData = 0;
  uint32_t taskId = 0;
#ifdef GLIDER_LIBRARY
  uint32_t lengthOptional = 0;
#endif
  uint32_t nameFromUrl = 0;
  uint32_t uniqueName = 0;
  uint32_t deleteOnFailure = 1;
};

// A deep copy (post data only when there is some); null when memory runs out.
DownloadTask* CopyDownloadTask(const DownloadTask& task);
