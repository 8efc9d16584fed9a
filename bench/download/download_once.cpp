// Downloads one address to a file through the client's downloader and prints the
// result code and the bytes written; the throughput script times it.
#include <condition_variable>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>

#include "net/HTTPDownloader.h"
#include "platform/core/text/utf.h"

namespace {

std::mutex gMutex;
std::condition_variable gDone;
bool gFinished = false;
int gResult = 1;

void OnNotify(uintptr_t, uint32_t, int32_t code, int32_t result, uintptr_t) {
  if (code != DownloadDone) return;
  std::lock_guard<std::mutex> lock(gMutex);
  gFinished = true;
  gResult = result;
  gDone.notify_all();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: download_once URL FILE\n");
    return 2;
  }
  HTTPDownloader downloader;
  if (!downloader.StartWorkers()) return 1;
  DownloadTask task;
  task.url = glider::core::Utf8ToWide(argv[1]);
  task.destPath = glider::core::Utf8ToWide(argv[2]);
  task.callback = OnNotify;
  downloader.AddTask(task);
  std::unique_lock<std::mutex> lock(gMutex);
  gDone.wait(lock, [] { return gFinished; });
  lock.unlock();
  downloader.StopWorkers();
  std::printf("result %d\n", gResult);
  return gResult == 0 ? 0 : 1;
}
