#include "platform/headless/headless_driver.h"

#include <algorithm>
#include <chrono>

#include "platform/core/window/input.h"
#include "platform/core/window/message_queue.h"
#include "platform/headless/headless_web.h"

namespace glider::headless {

namespace {
HeadlessDriver* gDriver = nullptr;
}  // namespace

HeadlessDriver& Install() {
  auto driver = std::make_unique<HeadlessDriver>();
  gDriver = driver.get();
  core::InstallDriver(std::move(driver));
  return *gDriver;
}

HeadlessDriver& Driver() { return *gDriver; }

RECT HeadlessDriver::WorkArea() {
  std::lock_guard<std::mutex> lock(mutex_);
  return workArea_;
}

void HeadlessDriver::SetWorkArea(const RECT& r) {
  std::lock_guard<std::mutex> lock(mutex_);
  workArea_ = r;
}

void HeadlessDriver::SetMessageBoxAnswerer(std::function<int(const core::MessageBoxRequest&)> answerer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answerer_ = std::move(answerer);
}

int HeadlessDriver::MessageBox(const core::MessageBoxRequest& request) {
  size_t index;
  std::function<int(const core::MessageBoxRequest&)> answerer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.push_back(MessageBoxRecord{request.owner, request.text, request.caption, request.type, 0});
    index = boxes_.size() - 1;
    answerer = answerer_;
    if (!answerer) open_.push_back(index);
  }
  if (answerer) {
    int answer = answerer(request);
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_[index].answer = answer;
    return answer;
  }
  // A modal box: the thread keeps handling its messages until the test answers.
  core::RunModalLoop([&] {
    std::lock_guard<std::mutex> lock(mutex_);
    return boxes_[index].answer != 0;
  });
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase(open_, index);
  return boxes_[index].answer;
}

std::vector<MessageBoxRecord> HeadlessDriver::MessageBoxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

int HeadlessDriver::OpenMessageBoxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  int n = 0;
  for (size_t i : open_)
    if (boxes_[i].answer == 0) ++n;
  return n;
}

bool HeadlessDriver::AnswerMessageBox(int answer) {
  std::shared_ptr<core::ThreadQueue> queue;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t chosen = boxes_.size();
    for (size_t i : open_)
      if (boxes_[i].answer == 0) {
        chosen = i;
        break;
      }
    if (chosen == boxes_.size()) return false;
    boxes_[chosen].answer = answer;
  }
  if (auto ui = core::UiQueue()) core::Wake(*ui);
  return true;
}

void HeadlessDriver::Wait(core::ThreadQueue& queue, int timeoutMs) { core::WaitForWork(queue, timeoutMs); }

void HeadlessDriver::BeginSystemMove(core::Window& w) {
  std::lock_guard<std::mutex> lock(mutex_);
  loops_.push_back(SystemLoopRecord{w.handle, false, 0});
}

void HeadlessDriver::BeginSystemSize(core::Window& w, int edge) {
  std::lock_guard<std::mutex> lock(mutex_);
  loops_.push_back(SystemLoopRecord{w.handle, true, edge});
}

std::vector<SystemLoopRecord> HeadlessDriver::SystemLoops() {
  std::lock_guard<std::mutex> lock(mutex_);
  return loops_;
}

void HeadlessDriver::ToggleDesktop() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++desktopToggles_;
}

int HeadlessDriver::DesktopToggles() {
  std::lock_guard<std::mutex> lock(mutex_);
  return desktopToggles_;
}

void HeadlessDriver::SetCursor(int systemCursorId) {
  std::lock_guard<std::mutex> lock(mutex_);
  cursor_ = systemCursorId;
}

int HeadlessDriver::CurrentCursor() {
  std::lock_guard<std::mutex> lock(mutex_);
  return cursor_;
}

void HeadlessDriver::WindowActivated(core::Window&) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++activations_;
}

std::unique_ptr<core::WebEngine> HeadlessDriver::CreateWebEngine(core::Window& w, core::WebEngineHost& host) {
  return std::make_unique<WebView>(w.handle, host);
}

std::vector<std::wstring> HeadlessDriver::UrlCacheEntries() { return UrlCache(); }

bool HeadlessDriver::DeleteUrlCacheEntry(const std::wstring& sourceUrl) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = std::find(urlCache_.begin(), urlCache_.end(), sourceUrl);
  if (it == urlCache_.end()) return false;
  urlCache_.erase(it);
  return true;
}

void HeadlessDriver::SetUrlCache(std::vector<std::wstring> entries) {
  std::lock_guard<std::mutex> lock(mutex_);
  urlCache_ = std::move(entries);
}

std::vector<std::wstring> HeadlessDriver::UrlCache() {
  std::lock_guard<std::mutex> lock(mutex_);
  return urlCache_;
}

int HeadlessDriver::NativeActivations() {
  std::lock_guard<std::mutex> lock(mutex_);
  return activations_;
}

void RunOnUi(const std::function<void()>& fn) {
  auto ui = core::UiQueue();
  if (!ui) ui = core::CurrentQueue();
  core::CallOn(*ui, fn);
}

void MouseMove(POINT screen, WPARAM keys) {
  RunOnUi([&] { core::DeliverMouse(nullptr, WM_MOUSEMOVE, screen, keys); });
}

void MouseDown(POINT screen, UINT message) {
  WPARAM keys = message == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON;
  RunOnUi([&] {
    core::DeliverMouse(nullptr, WM_MOUSEMOVE, screen, 0);
    core::DeliverMouse(nullptr, message, screen, keys);
  });
}

void MouseUp(POINT screen, UINT message) {
  RunOnUi([&] { core::DeliverMouse(nullptr, message, screen, 0); });
}

void Click(POINT screen) {
  MouseDown(screen);
  MouseUp(screen);
}

void DoubleClick(POINT screen) {
  Click(screen);
  RunOnUi([&] {
    core::DeliverMouse(nullptr, WM_LBUTTONDBLCLK, screen, MK_LBUTTON);
    core::DeliverMouse(nullptr, WM_LBUTTONUP, screen, 0);
  });
}

void PointerLeave() {
  RunOnUi([] { core::DeliverPointerLeft(); });
}

void Key(HWND target, int virtualKey, bool down) {
  RunOnUi([&] { core::DeliverKey(target, down ? WM_KEYDOWN : WM_KEYUP, virtualKey, down ? 1 : 0xC0000001); });
}

bool WaitUntil(const std::function<bool()>& cond, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    bool ok = false;
    RunOnUi([&] { ok = cond(); });
    if (ok) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));  // poll interval, not a wait for an event
  }
}

}  // namespace glider::headless
