// Collects a downloader's notifications for tests; pass Callback and the
// recorder's address as a task's callback and userData.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "net/DownloadTask.h"

namespace glider::test {

struct DownloadNote {
  uint32_t taskId;
  int32_t code;
  int32_t result;
  uintptr_t extra;
  std::wstring destPath;  // with DownloadDone: where the file went
  bool fileExisted;       // with DownloadDone: the file was there during the notification
};

class DownloadRecorder {
 public:
  static void Callback(uintptr_t userData, uint32_t taskId, int32_t code, int32_t result, uintptr_t extra);
  void Fill(DownloadTask& task, uint32_t taskId = 0);

  void Clear();
  std::vector<DownloadNote> Notes() const;
  std::vector<DownloadNote> Done() const;
  std::vector<uintptr_t> Progress() const;
  bool WaitForDone(size_t count, std::chrono::milliseconds deadline = std::chrono::seconds(20)) const;
  bool WaitForCode(int32_t code, size_t count,
                   std::chrono::milliseconds deadline = std::chrono::seconds(20)) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<DownloadNote> notes_;
};

}  // namespace glider::test
