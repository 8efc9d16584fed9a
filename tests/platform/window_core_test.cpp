// The window core on the headless driver: the messages Windows sends and the state it keeps.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/atlapp.h"
#include "platform/core/window/message_queue.h"
#include "platform/headless/headless_driver.h"
#include "tests/platform/window_recorder.h"

using glider::test::Eventually;
using glider::test::PumpMessages;
using glider::test::WindowRecorder;

namespace {

TEST(WindowCore, CreationSendsCreateThenSizeAndMove) {
  WindowRecorder rec;
  HWND w = rec.Create(WS_POPUP, 0, nullptr, {10, 20, 110, 70});
  ASSERT_TRUE(IsWindow(w));
  auto msgs = rec.MessagesOf(w);
  ASSERT_GE(msgs.size(), 4u);
  EXPECT_EQ(msgs[0], WM_NCCREATE);
  EXPECT_EQ(msgs[1], WM_CREATE);
  EXPECT_EQ(msgs[2], WM_SIZE);
  EXPECT_EQ(msgs[3], WM_MOVE);
  EXPECT_FALSE(IsWindowVisible(w));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.bottom, 70);
  DestroyWindow(w);
}

TEST(WindowCore, DestroyingAnOwnerDestroysOwnedWindowsFirst) {
  WindowRecorder rec;
  HWND owner = rec.Create();
  HWND owned = rec.Create(WS_POPUP, 0, owner);
  HWND child = rec.Create(WS_CHILD, 0, owner);
  rec.Clear();
  ASSERT_TRUE(DestroyWindow(owner));
  std::vector<HWND> destroyed;
  for (auto& r : rec.log)
    if (r.message == WM_DESTROY) destroyed.push_back(r.hwnd);
  ASSERT_EQ(destroyed.size(), 3u);
  EXPECT_EQ(destroyed[0], owned);
  EXPECT_EQ(destroyed[1], owner);
  EXPECT_EQ(destroyed[2], child);
  EXPECT_FALSE(IsWindow(owner));
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(DestroyWindow(owner));
}

TEST(WindowCore, SetWindowPosSendsOnlyWhatChanged) {
  WindowRecorder rec;
  HWND w = rec.Create();
  rec.Clear();
  SetWindowPos(w, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(rec.Of(w, WM_MOVE).size(), 1u);
  EXPECT_TRUE(rec.Of(w, WM_SIZE).empty());
  rec.Clear();
  SetWindowPos(w, nullptr, 99, 99, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(rec.Of(w, WM_MOVE).empty());
  ASSERT_EQ(rec.Of(w, WM_SIZE).size(), 1u);
  EXPECT_EQ(rec.Of(w, WM_SIZE)[0].lParam, MAKELPARAM(300, 200));
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ((RECT{5, 6, 305, 206}.left), r.left);
  EXPECT_EQ(r.right, 305);
  SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  DestroyWindow(w);
}

TEST(WindowCore, ShowActivatesUnlessAskedNotTo) {
  WindowRecorder rec;
  HWND a = rec.Create();
  HWND b = rec.Create();
  ShowWindow(a, SW_SHOWNORMAL);
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(rec.Of(a, WM_SHOWWINDOW).size(), 1u);
  ShowWindow(b, SW_SHOWNA);
  EXPECT_TRUE(IsWindowVisible(b));
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_TRUE(rec.Of(b, WM_ACTIVATE).empty());
  SetWindowPos(b, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetForegroundWindow(), a);
  SetForegroundWindow(b);
  EXPECT_EQ(GetForegroundWindow(), b);
  auto deact = rec.Of(a, WM_ACTIVATE);
  ASSERT_FALSE(deact.empty());
  EXPECT_EQ(LOWORD(deact.back().wParam), WA_INACTIVE);
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(WindowCore, MinimisingAnOwnerHidesItsOwnedWindowsUntilRestored) {
  WindowRecorder rec;
  HWND owner = rec.Create();
  HWND owned = rec.Create(WS_POPUP, 0, owner);
  ShowWindow(owner, SW_SHOWNORMAL);
  ShowWindow(owned, SW_SHOWNORMAL);
  ShowWindow(owner, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(owner));
  EXPECT_FALSE(IsWindowVisible(owned));
  ShowWindow(owner, SW_RESTORE);
  EXPECT_FALSE(IsIconic(owner));
  EXPECT_TRUE(IsWindowVisible(owned));
  DestroyWindow(owner);
}

TEST(WindowCore, MessagesFromOtherThreadsArriveOnTheWindowsThread) {
  WindowRecorder rec;
  HWND w = rec.Create();
  std::thread::id seen;
  rec.hook = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT* result) {
    if (msg != WM_USER + 1) return false;
    seen = std::this_thread::get_id();
    *result = 42;
    return true;
  };
  std::atomic<LRESULT> sent{0};
  std::thread worker([&] {
    PostMessageW(w, WM_USER + 2, 7, 8);
    sent = SendMessageW(w, WM_USER + 1, 0, 0);
  });
  ASSERT_TRUE(Eventually([&] {
    PumpMessages();
    return sent.load() == 42;
  }));
  worker.join();
  PumpMessages();
  EXPECT_EQ(seen, std::this_thread::get_id());
  ASSERT_EQ(rec.Of(w, WM_USER + 2).size(), 1u);
  EXPECT_EQ(rec.Of(w, WM_USER + 2)[0].wParam, 7u);
  rec.hook = nullptr;
  DestroyWindow(w);
}

TEST(WindowCore, MessageLoopOffersFiltersLastAddedFirstAndEndsWithTheQuitCode) {
  struct Filter : CMessageFilter {
    std::vector<int>* order;
    int id;
    bool eat;
    BOOL PreTranslateMessage(MSG* msg) override {
      if (msg->message != WM_USER + 5) return FALSE;
      order->push_back(id);
      return eat ? TRUE : FALSE;
    }
  };
  WindowRecorder rec;
  HWND w = rec.Create();
  std::vector<int> order;
  Filter first, second;
  first.order = second.order = &order;
  first.id = 1;
  first.eat = false;
  second.id = 2;
  second.eat = true;
  CMessageLoop loop;
  loop.AddMessageFilter(&first);
  loop.AddMessageFilter(&second);
  PostMessageW(w, WM_USER + 5, 0, 0);
  PostMessageW(w, WM_USER + 6, 0, 0);
  PostQuitMessage(3);
  EXPECT_EQ(loop.Run(), 3);
  EXPECT_EQ(order, std::vector<int>{2});
  EXPECT_TRUE(rec.Of(w, WM_USER + 5).empty());  // consumed by the filter
  EXPECT_EQ(rec.Of(w, WM_USER + 6).size(), 1u);
  DestroyWindow(w);
}

TEST(WindowCore, MessageBoxFromAWorkerRunsOnTheWindowsThreadAndBlocksOnlyTheWorker) {
  auto& driver = glider::headless::Driver();
  WindowRecorder rec;
  rec.hook = [](HWND, UINT msg, WPARAM, LPARAM, LRESULT*) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return false;
  };
  std::shared_ptr<glider::core::ThreadQueue> uiQueue;
  std::atomic<HWND> w{nullptr};
  // The window lives on its own thread with its own loop, as the client's windows do.
  std::thread ui([&] {
    uiQueue = glider::core::CurrentQueue();
    w = rec.Create();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  });
  ASSERT_TRUE(Eventually([&] { return w.load() != nullptr; }));
  std::atomic<int> answer{0};
  std::thread worker([&] { answer = MessageBoxW(w, L"检测", L"升级提醒", MB_OK); });
  ASSERT_TRUE(Eventually([&] { return driver.OpenMessageBoxes() == 1; }));
  PostMessageW(w, WM_USER + 9, 0, 0);
  EXPECT_TRUE(Eventually([&] {
    bool seen = false;
    glider::core::CallOn(*uiQueue, [&] { seen = !rec.Of(w, WM_USER + 9).empty(); });
    return seen;
  }));
  EXPECT_EQ(answer.load(), 0);
  ASSERT_TRUE(driver.AnswerMessageBox(IDOK));
  worker.join();
  EXPECT_EQ(answer.load(), IDOK);
  auto boxes = driver.MessageBoxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back().owner, w.load());
  EXPECT_EQ(boxes.back().caption, L"升级提醒");
  PostMessageW(w, WM_CLOSE, 0, 0);
  ui.join();
  rec.hook = nullptr;
}

TEST(WindowCore, LeaveIsReportedWhenThePointerGoesAndHoverAfterItRests) {
  WindowRecorder rec;
  HWND w = rec.Create(WS_POPUP, 0, nullptr, {0, 0, 200, 200});
  ShowWindow(w, SW_SHOWNORMAL);
  glider::headless::MouseMove({50, 50});
  PumpMessages();
  TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, w, 10};
  ASSERT_TRUE(_TrackMouseEvent(&tme));
  ASSERT_TRUE(Eventually([&] {
    PumpMessages();
    return !rec.Of(w, WM_MOUSEHOVER).empty();
  }));
  EXPECT_EQ(rec.Of(w, WM_MOUSEHOVER)[0].lParam, MAKELPARAM(50, 50));
  glider::headless::PointerLeave();
  PumpMessages();
  ASSERT_EQ(rec.Of(w, WM_MOUSELEAVE).size(), 1u);
  EXPECT_EQ(rec.Of(w, WM_MOUSELEAVE)[0].lParam, 0);
  // Asking for leave while the pointer is elsewhere reports it at once.
  tme.dwFlags = TME_LEAVE;
  _TrackMouseEvent(&tme);
  PumpMessages();
  EXPECT_EQ(rec.Of(w, WM_MOUSELEAVE).size(), 2u);
  DestroyWindow(w);
}

TEST(WindowCore, RedrawWithUpdateNowPaintsBeforeReturning) {
  WindowRecorder rec;
  HWND w = rec.Create();
  ShowWindow(w, SW_SHOWNORMAL);
  PumpMessages();
  rec.Clear();
  RECT r{1, 1, 5, 5};
  RedrawWindow(w, &r, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
  EXPECT_EQ(rec.Of(w, WM_PAINT).size(), 1u);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message == WM_PAINT);
  DestroyWindow(w);
}

}  // namespace
