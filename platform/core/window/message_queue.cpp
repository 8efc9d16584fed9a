#include "platform/core/window/message_queue.h"

#include <algorithm>

#include "platform/core/window/driver.h"

namespace glider::core {

namespace {

std::mutex gUiMutex;
std::shared_ptr<ThreadQueue> gUiQueue;

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
  thread_local std::shared_ptr<ThreadQueue> queue = [] {
    auto q = std::make_shared<ThreadQueue>();
    q->thread = std::this_thread::get_id();
    return q;
  }();
  return queue;
}

std::shared_ptr<ThreadQueue> UiQueue() {
  std::lock_guard<std::mutex> lock(gUiMutex);
  return gUiQueue;
}

void SetUiQueue(std::shared_ptr<ThreadQueue> queue) {
  std::lock_guard<std::mutex> lock(gUiMutex);
  gUiQueue = std::move(queue);
}

void Wake(ThreadQueue& queue) {
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.woken = true;
  }
  queue.cv.notify_all();
  if (HasDriver()) GetDriver().Wake(queue);
}

void Post(ThreadQueue& queue, const MSG& msg) {
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.posted.push_back(msg);
  }
  Wake(queue);
}

void WaitForWork(ThreadQueue& queue, int timeoutMs) {
  std::unique_lock<std::mutex> lock(queue.mutex);
  auto ready = [&] { return queue.HasWorkLocked(); };
  if (timeoutMs < 0)
    queue.cv.wait(lock, ready);
  else
    queue.cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  queue.woken = false;
}

bool RunPendingCalls(ThreadQueue& queue) {
  bool ran = false;
  for (;;) {
    std::function<void()> call;
    {
      std::lock_guard<std::mutex> lock(queue.mutex);
      if (queue.calls.empty()) return ran;
      call = std::move(queue.calls.front());
      queue.calls.pop_front();
    }
    call();
    ran = true;
  }
}

void CallOn(ThreadQueue& queue, const std::function<void()>& fn) {
  if (queue.thread == std::this_thread::get_id()) {
    fn();
    return;
  }
  struct Done {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
  };
  auto done = std::make_shared<Done>();
  {
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.calls.push_back([fn, done] {
      fn();
      std::lock_guard<std::mutex> l(done->mutex);
      done->done = true;
      done->cv.notify_all();
    });
  }
  Wake(queue);
  std::unique_lock<std::mutex> lock(done->mutex);
  done->cv.wait(lock, [&] { return done->done; });
}

void StartInternalTimer(HWND hwnd, UINT_PTR id, UINT elapse, std::function<void()> fn) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(q->mutex);
  auto it = std::find_if(q->timers.begin(), q->timers.end(),
                         [&](const ThreadQueue::Timer& t) { return t.hwnd == hwnd && t.id == id; });
  ThreadQueue::Timer timer{hwnd, id, elapse, ThreadQueue::Clock::now() + std::chrono::milliseconds(elapse),
                           std::move(fn)};
  if (it != q->timers.end())
    *it = std::move(timer);
  else
    q->timers.push_back(std::move(timer));
}

void StopInternalTimer(HWND hwnd, UINT_PTR id) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(q->mutex);
  std::erase_if(q->timers, [&](const ThreadQueue::Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

void DropTimersOf(HWND hwnd) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(q->mutex);
  std::erase_if(q->timers, [&](const ThreadQueue::Timer& t) { return t.hwnd == hwnd; });
  std::erase_if(q->posted, [&](const MSG& m) { return m.hwnd == hwnd && m.message == WM_TIMER; });
}

void RunModalLoop(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      continue;
    }
    auto q = CurrentQueue();
    {
      std::lock_guard<std::mutex> lock(q->mutex);
      if (q->HasWorkLocked()) {
        q->woken = false;
        continue;
      }
    }
    if (done()) return;
    GetDriver().Wait(*q, 50);
  }
}

}  // namespace glider::core
