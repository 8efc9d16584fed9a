// Per-thread message queues. Posted messages are thread-safe; sent messages and calls
// from other threads run on the queue's own thread while it waits for messages.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/winuser.h"

namespace glider::core {

struct ThreadQueue {
  using Clock = std::chrono::steady_clock;
  struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    Clock::time_point due;
    std::function<void()> internal;  // core timers run this instead of posting WM_TIMER
  };

  std::thread::id thread;
  std::mutex mutex;
  std::condition_variable cv;
  std::deque<MSG> posted;
  std::deque<std::function<void()>> calls;
  std::vector<Timer> timers;
  bool quitPosted = false;
  int quitCode = 0;
  bool woken = false;
  void* driverData = nullptr;

  // Caller holds mutex.
  bool HasWorkLocked() const { return !posted.empty() || !calls.empty() || quitPosted || woken; }
};

// The calling thread's queue, created on first use.
std::shared_ptr<ThreadQueue> CurrentQueue();
// The queue of the user-interface thread: the first thread that created a window.
std::shared_ptr<ThreadQueue> UiQueue();
void SetUiQueue(std::shared_ptr<ThreadQueue> queue);

void Post(ThreadQueue& queue, const MSG& msg);
// Blocks until the queue has work or timeoutMs passes (-1: no limit): the wait of a
// thread without a native event loop.
void WaitForWork(ThreadQueue& queue, int timeoutMs);
void Wake(ThreadQueue& queue);
// Runs fn on the queue's thread and waits for it; inline when already there.
void CallOn(ThreadQueue& queue, const std::function<void()>& fn);
// Runs calls queued by other threads. Returns whether any ran.
bool RunPendingCalls(ThreadQueue& queue);

// Core timers (hover tracking) on the calling thread's queue.
void StartInternalTimer(HWND hwnd, UINT_PTR id, UINT elapse, std::function<void()> fn);
void StopInternalTimer(HWND hwnd, UINT_PTR id);
void DropTimersOf(HWND hwnd);

// Pumps the calling thread's messages until done() holds (or WM_QUIT, which is reposted).
void RunModalLoop(const std::function<bool()>& done);

}  // namespace glider::core
