// Posting, sending, retrieving and dispatching messages; the default window procedure.
#include <algorithm>

#include "platform/core/window/driver.h"
#include "platform/core/window/message_queue.h"
#include "platform/core/window/window_manager.h"
#include "platform/core/window/window_ops.h"

using namespace glider::core;

namespace {

DWORD NowMs() {
  using namespace std::chrono;
  return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{hwnd, message, wParam, lParam, NowMs(), WindowManager::Get().cursor};
  return m;
}

// A window of this thread waiting for WM_PAINT.
HWND PaintCandidate() {
  auto self = std::this_thread::get_id();
  for (Window* w : WindowManager::Get().All())
    if (w->thread == self && w->needsPaint && !w->destroying && EffectivelyVisible(*w)) return w->handle;
  return nullptr;
}

enum class Take { Remove, Keep };

// Finds the next message for this thread in Windows' order: calls from other threads,
// posted messages, quit, paint, timers. Returns false when there is none now.
bool NextMessage(MSG* out, Take take, int* waitMs) {
  auto q = CurrentQueue();
  RunPendingCalls(*q);
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    q->woken = false;
    if (!q->posted.empty()) {
      *out = q->posted.front();
      if (take == Take::Remove) q->posted.pop_front();
      return true;
    }
    if (q->quitPosted) {
      *out = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(q->quitCode), 0);
      if (take == Take::Remove) q->quitPosted = false;
      return true;
    }
  }
  if (HWND h = PaintCandidate()) {
    *out = MakeMsg(h, WM_PAINT, 0, 0);
    return true;
  }
  auto now = ThreadQueue::Clock::now();
  std::function<void()> internal;
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    int next = -1;
    for (auto& t : q->timers) {
      if (t.due <= now) {
        if (t.internal) {
          internal = t.internal;
          UINT_PTR id = t.id;
          HWND hwnd = t.hwnd;
          std::erase_if(q->timers, [&](const ThreadQueue::Timer& x) { return x.hwnd == hwnd && x.id == id; });
        } else {
          *out = MakeMsg(t.hwnd, WM_TIMER, t.id, 0);
          if (take == Take::Remove) t.due = now + std::chrono::milliseconds(t.elapse);
          return true;
        }
        break;
      }
      int left =
          static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(t.due - now).count()) + 1;
      next = next < 0 ? left : std::min(next, left);
    }
    if (waitMs) *waitMs = next;
  }
  if (internal) {
    internal();
    return NextMessage(out, take, waitMs);
  }
  return false;
}

}  // namespace

BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<ThreadQueue> queue;
  if (!hwnd) {
    queue = CurrentQueue();
  } else {
    WindowManager& m = WindowManager::Get();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    Window* w = m.Find(hwnd);
    if (!w) return FALSE;
    queue = w->queue;
  }
  Post(*queue, MakeMsg(hwnd, msg, wParam, lParam));
  return TRUE;
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = WindowManager::Get().Find(hwnd);
  if (!w) return 0;
  if (w->thread == std::this_thread::get_id()) return CallWindowProcW(w->proc, hwnd, msg, wParam, lParam);
  auto queue = w->queue;
  LRESULT result = 0;
  CallOn(*queue, [&] {
    if (Window* again = WindowManager::Get().Find(hwnd))
      result = CallWindowProcW(again->proc, hwnd, msg, wParam, lParam);
  });
  return result;
}

BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT removeFlags) {
  if (!msg) return FALSE;
  return NextMessage(msg, (removeFlags & PM_REMOVE) ? Take::Remove : Take::Keep, nullptr) ? TRUE : FALSE;
}

BOOL GetMessageW(MSG* msg, HWND, UINT, UINT) {
  if (!msg) return -1;
  for (;;) {
    int waitMs = -1;
    if (NextMessage(msg, Take::Remove, &waitMs)) return msg->message == WM_QUIT ? FALSE : TRUE;
    auto q = CurrentQueue();
    {
      std::lock_guard<std::mutex> lock(q->mutex);
      if (q->HasWorkLocked()) continue;
    }
    GetDriver().Wait(*q, waitMs);
  }
}

BOOL TranslateMessage(const MSG* msg) {
  // Character messages come with the key messages from the driver already.
  return msg && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) ? TRUE : FALSE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
    return 0;
  }
  Window* w = WindowManager::Get().Find(msg->hwnd);
  if (!w) return 0;
  return CallWindowProcW(w->proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void PostQuitMessage(int exitCode) {
  auto q = CurrentQueue();
  {
    std::lock_guard<std::mutex> lock(q->mutex);
    q->quitPosted = true;
    q->quitCode = exitCode;
  }
  Wake(*q);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = WindowManager::Get().Find(hwnd);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE:
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT:
      SetWindowTextW(hwnd, reinterpret_cast<LPCWSTR>(lParam));
      return TRUE;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MOVE:
          GetDriver().BeginSystemMove(*w);
          return 0;
        case SC_SIZE:
          GetDriver().BeginSystemSize(*w, static_cast<int>(wParam & 0xF));
          return 0;
        case SC_MINIMIZE:
          ShowWindow(hwnd, SW_MINIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(hwnd, SW_RESTORE);
          return 0;
        case SC_CLOSE:
          SendMessageW(hwnd, WM_CLOSE, 0, 0);
          return 0;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !WindowManager::Get().Find(hwnd)) return 0;
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(q->mutex);
  if (!hwnd && id == 0) id = 0x7F00 + q->timers.size();
  std::erase_if(q->timers,
                [&](const ThreadQueue::Timer& t) { return t.hwnd == hwnd && t.id == id && !t.internal; });
  ThreadQueue::Timer t{hwnd, id, std::max(elapse, 10u),
                       ThreadQueue::Clock::now() + std::chrono::milliseconds(elapse), nullptr};
  (void)proc;  // the client passes no timer procedures
  q->timers.push_back(std::move(t));
  return id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto q = CurrentQueue();
  std::lock_guard<std::mutex> lock(q->mutex);
  auto before = q->timers.size();
  std::erase_if(q->timers,
                [&](const ThreadQueue::Timer& t) { return t.hwnd == hwnd && t.id == id && !t.internal; });
  return q->timers.size() != before ? TRUE : FALSE;
}
