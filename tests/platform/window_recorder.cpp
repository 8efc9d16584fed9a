#include "tests/platform/window_recorder.h"

#include <chrono>
#include <string>
#include <thread>

namespace glider::test {

namespace {
WindowRecorder* gCurrent = nullptr;
int gCounter = 0;
}  // namespace

LRESULT WindowRecorder::CALLBACK_Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowRecorder* self = gCurrent;
  if (self) {
    self->log.push_back(Received{hwnd, msg, wParam, lParam});
    LRESULT result = 0;
    if (self->hook && self->hook(hwnd, msg, wParam, lParam, &result)) return result;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

WindowRecorder::WindowRecorder() : name_(L"TestRecorder" + std::to_wstring(++gCounter)) {
  gCurrent = this;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = CALLBACK_Proc;
  wc.lpszClassName = name_.c_str();
  RegisterClassExW(&wc);
}

WindowRecorder::~WindowRecorder() {
  PumpMessages();
  if (gCurrent == this) gCurrent = nullptr;
  UnregisterClassW(name_.c_str(), nullptr);
}

HWND WindowRecorder::Create(DWORD style, DWORD exStyle, HWND parent, RECT r) {
  return CreateWindowExW(exStyle, name_.c_str(), L"t", style, r.left, r.top, r.right - r.left,
                         r.bottom - r.top, parent, nullptr, nullptr, nullptr);
}

std::vector<Received> WindowRecorder::Of(HWND hwnd, UINT message) const {
  std::vector<Received> out;
  for (const auto& r : log)
    if (r.hwnd == hwnd && r.message == message) out.push_back(r);
  return out;
}

std::vector<UINT> WindowRecorder::MessagesOf(HWND hwnd) const {
  std::vector<UINT> out;
  for (const auto& r : log)
    if (r.hwnd == hwnd) out.push_back(r.message);
  return out;
}

void WindowRecorder::Clear() { log.clear(); }

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace glider::test

namespace glider::test {

bool Eventually(const std::function<bool()>& cond, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!cond()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));  // poll interval
  }
  return true;
}

}  // namespace glider::test
