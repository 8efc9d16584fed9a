#include "tests/support/DownloadRecorder.h"

#include <algorithm>
#include <filesystem>

#include "platform/core/kernel/wide_text.h"

namespace glider::test {

void DownloadRecorder::Callback(uintptr_t userData, uint32_t taskId, int32_t code, int32_t result,
                                uintptr_t extra) {
  auto* self = reinterpret_cast<DownloadRecorder*>(userData);
  DownloadNote note{taskId, code, result, extra, L"", false};
  if (code == DownloadDone) {
    const auto* task = reinterpret_cast<const DownloadTask*>(extra);
    note.destPath = task->destPath;
    std::error_code error;
    note.fileExisted =
        !task->destPath.empty() &&
        std::filesystem::is_regular_file(glider::core::NativePath(task->destPath.c_str()), error);
  }
  {
    std::lock_guard lock(self->mutex_);
    self->notes_.push_back(note);
  }
  self->changed_.notify_all();
}

void DownloadRecorder::Fill(DownloadTask& task, uint32_t taskId) {
  task.callback = &DownloadRecorder::Callback;
  task.userData = reinterpret_cast<uintptr_t>(this);
  task.taskId = taskId;
}

void DownloadRecorder::Clear() {
  std::lock_guard lock(mutex_);
  notes_.clear();
}

std::vector<DownloadNote> DownloadRecorder::Notes() const {
  std::lock_guard lock(mutex_);
  return notes_;
}

std::vector<DownloadNote> DownloadRecorder::Done() const {
  std::vector<DownloadNote> done;
  for (const DownloadNote& note : Notes()) {
    if (note.code == DownloadDone) done.push_back(note);
  }
  return done;
}

std::vector<uintptr_t> DownloadRecorder::Progress() const {
  std::vector<uintptr_t> progress;
  for (const DownloadNote& note : Notes()) {
    if (note.code == DownloadProgress) progress.push_back(note.extra);
  }
  return progress;
}

bool DownloadRecorder::WaitForCode(int32_t code, size_t count, std::chrono::milliseconds deadline) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, deadline, [&] {
    return static_cast<size_t>(std::count_if(notes_.begin(), notes_.end(),
                                             [&](const DownloadNote& n) { return n.code == code; })) >= count;
  });
}

bool DownloadRecorder::WaitForDone(size_t count, std::chrono::milliseconds deadline) const {
  return WaitForCode(DownloadDone, count, deadline);
}

}  // namespace glider::test
