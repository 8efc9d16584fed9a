#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "net/HTTPDownloader.h"
#include "platform/handleapi.h"
#include "tests/support/DownloadRecorder.h"
#include "tests/support/LoopbackHttpServer.h"

namespace {

using glider::test::DownloadRecorder;
using glider::test::HttpRequest;
using glider::test::HttpResponse;
using glider::test::LoopbackHttpServer;

void Queue(HTTPDownloader& downloader, DownloadRecorder& recorder, const std::wstring& url, uint32_t id = 0) {
  DownloadTask task;
  task.url = url;
  recorder.Fill(task, id);
  ASSERT_EQ(downloader.AddTask(task), 1);
}

TEST(ThreadHolder, ListedOnceWhileAlive) {
  auto* holder = new CThreadHolder;
  EXPECT_EQ(ThreadHolderLiveCount(holder), 1u);
  EXPECT_EQ(holder->stopFlag, 1);
  delete holder;
  EXPECT_EQ(ThreadHolderLiveCount(holder), 0u);
}

TEST(DownloadWorkers, StartTwiceAndRunATaskQueuedBeforeStart) {
  LoopbackHttpServer server([](const HttpRequest&) { return HttpResponse{}; });
  DownloadRecorder recorder;
  HTTPDownloader downloader;
  Queue(downloader, recorder, server.Url("/a"));
  EXPECT_TRUE(downloader.StartWorkers());
  EXPECT_TRUE(downloader.StartWorkers());
  EXPECT_EQ(downloader.workers.size(), 2u);
  ASSERT_TRUE(recorder.WaitForDone(1));
  EXPECT_EQ(recorder.Done()[0].result, DownloadOk);
  downloader.StopWorkers();
  EXPECT_FALSE(downloader.IsStarted());
  EXPECT_TRUE(downloader.workers.empty());

  // Tasks queued while stopped wait for the next start, which makes fresh workers.
  Queue(downloader, recorder, server.Url("/b"));
  EXPECT_EQ(downloader.queue.size(), 1u);
  EXPECT_TRUE(downloader.StartWorkers());
  EXPECT_EQ(downloader.workers.size(), 2u);
  EXPECT_TRUE(recorder.WaitForDone(2));
}

// Holds requests until opened, counting how many are held at once.
struct Gate {
  std::mutex mutex;
  std::condition_variable changed;
  bool open = false;
  int inside = 0;
  int most = 0;
  HttpResponse Pass() {
    std::unique_lock lock(mutex);
    most = std::max(most, ++inside);
    changed.notify_all();
    changed.wait(lock, [this] { return open; });
    --inside;
    return HttpResponse{};
  }
  // Both requests must be inside before the gate opens, or the count proves nothing.
  bool WaitInside(int n) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [&] { return inside >= n; });
  }
  void Open() {
    std::lock_guard lock(mutex);
    open = true;
    changed.notify_all();
  }
};

TEST(DownloadWorkers, ThreeTasksRunTwoAtATime) {
  Gate gate;
  LoopbackHttpServer server([&](const HttpRequest&) { return gate.Pass(); });
  DownloadRecorder recorder;
  HTTPDownloader downloader;
  ASSERT_TRUE(downloader.StartWorkers());
  for (uint32_t id = 0; id < 3; ++id) Queue(downloader, recorder, server.Url("/t"), id);
  ASSERT_TRUE(server.WaitForRequests(2));
  ASSERT_TRUE(recorder.WaitForCode(DownloadStarted, 2));
  ASSERT_TRUE(gate.WaitInside(2));
  EXPECT_EQ(recorder.Notes().size(), 2u);  // the third is still queued
  gate.Open();
  ASSERT_TRUE(recorder.WaitForDone(3));
  EXPECT_EQ(gate.most, 2);
  downloader.StopWorkers();
}

void QueueFollowUp(uintptr_t userData, uint32_t taskId, int32_t code, int32_t result, uintptr_t extra);

struct FollowUp {
  HTTPDownloader* downloader;
  DownloadRecorder* recorder;
  std::wstring url;
};

void QueueFollowUp(uintptr_t userData, uint32_t taskId, int32_t code, int32_t result, uintptr_t extra) {
  auto* follow = reinterpret_cast<FollowUp*>(userData);
  if (code == DownloadDone) Queue(*follow->downloader, *follow->recorder, follow->url, 9);
}

TEST(DownloadWorkers, CallbackMayQueueAnotherTask) {
  LoopbackHttpServer server([](const HttpRequest&) { return HttpResponse{}; });
  DownloadRecorder recorder;
  HTTPDownloader downloader;
  FollowUp follow{&downloader, &recorder, server.Url("/second")};
  DownloadTask task;
  task.url = server.Url("/first");
  task.callback = QueueFollowUp;
  task.userData = reinterpret_cast<uintptr_t>(&follow);
  downloader.StartWorkers();
  downloader.AddTask(task);
  ASSERT_TRUE(recorder.WaitForDone(1));
  EXPECT_EQ(recorder.Done()[0].taskId, 9u);
}

TEST(DownloadWorkers, StopDuringStalledTransferSendsNoCompletion) {
  LoopbackHttpServer server([](const HttpRequest&) {
    HttpResponse response;
    response.body = glider::test::PatternBody(30000);
    response.sendBytes = 5000;
    response.stall = true;
    return response;
  });
  DownloadRecorder recorder;
  HTTPDownloader downloader;
  std::filesystem::path file = std::filesystem::temp_directory_path() / "glider_stalled_download";
  DownloadTask task;
  task.url = server.Url("/s");
  task.destPath = file.wstring();
  recorder.Fill(task);
  downloader.StartWorkers();
  downloader.AddTask(task);
  ASSERT_TRUE(server.WaitForStalls(1));
  downloader.StopWorkers();  // wakes the waiting transfer instead of terminating it
  EXPECT_TRUE(recorder.Done().empty());
  EXPECT_FALSE(std::filesystem::exists(file));
  ASSERT_FALSE(recorder.Notes().empty());
  EXPECT_EQ(recorder.Notes()[0].code, DownloadStarted);
}

HANDLE blockStarted = nullptr;
HANDLE blockRelease = nullptr;

void BlockInStarted(uintptr_t, uint32_t, int32_t code, int32_t, uintptr_t extra) {
  if (code != DownloadStarted) return;
  SetEvent(blockStarted);
  WaitForSingleObject(blockRelease, INFINITE);
}

TEST(DownloadWorkers, StopTerminatesAWorkerThatDoesNotReact) {
  blockStarted = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  blockRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HTTPDownloader downloader;
  DownloadTask task;
  task.url = L"http://127.0.0.1:1/x";
  task.callback = BlockInStarted;
  downloader.StartWorkers();
  downloader.AddTask(task);
  ASSERT_EQ(WaitForSingleObject(blockStarted, 10000), WAIT_OBJECT_0);
  downloader.StopWorkers();  // gives the blocked worker up after its time
  EXPECT_FALSE(downloader.IsStarted());
  EXPECT_TRUE(downloader.workers.empty());
  SetEvent(blockRelease);  // the given-up thread then ends by itself
  CloseHandle(blockStarted);
  CloseHandle(blockRelease);
}

TEST(DownloadWorkers, StopWhileIdleLeavesQueuedTasks) {
  HTTPDownloader downloader;
  ASSERT_TRUE(downloader.StartWorkers());
  downloader.StopWorkers();
  EXPECT_FALSE(downloader.IsStarted());
  DownloadRecorder recorder;
  Queue(downloader, recorder, L"http://127.0.0.1:1/never");
  EXPECT_EQ(downloader.queue.size(), 1u);  // freed unnotified with the downloader
}

}  // namespace
