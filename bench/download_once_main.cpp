// glider-bench-download URL [DEST]: one download through HTTPDownloader's
// queue and worker threads, as the client runs it, saved to DEST
// (/dev/null by default, like `curl -o /dev/null`). Exits 0 on success.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "net/HTTPDownloader.h"
#include "platform/core/text/utf.h"

namespace {

struct Completion {
  std::mutex mutex;
  std::condition_variable changed;
  bool done = false;
  int32_t result = 0;

  static void Callback(uintptr_t userData, uint32_t, int32_t code, int32_t result, uintptr_t) {
    if (code != DownloadDone) return;
    auto* self = reinterpret_cast<Completion*>(userData);
    {
      std::lock_guard lock(self->mutex);
      self->done = true;
      self->result = result;
    }
    self->changed.notify_all();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s URL [DEST]\n", argv[0]);
    return 2;
  }
  Completion completion;
  DownloadTask task;
  task.url = glider::core::Utf8ToWide(argv[1]);
  task.destPath = glider::core::Utf8ToWide(argc > 2 ? argv[2] : "/dev/null");
  task.deleteOnFailure = 0;  // never unlink the destination, it may be /dev/null
  task.callback = &Completion::Callback;
  task.userData = reinterpret_cast<uintptr_t>(&completion);

  HTTPDownloader downloader;
  if (!downloader.StartWorkers() || downloader.AddTask(task) != 1) return 1;
  bool finished;
  {
    std::unique_lock lock(completion.mutex);
    finished = completion.changed.wait_for(lock, std::chrono::minutes(5), [&] { return completion.done; });
  }
  downloader.StopWorkers();
  if (!finished) {
    std::fprintf(stderr, "no completion within five minutes\n");
    return 1;
  }
  if (completion.result != DownloadOk) std::fprintf(stderr, "download failed: %d\n", completion.result);
  return completion.result == DownloadOk ? 0 : 1;
}
