// A window class for tests that records the messages its windows receive.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/winuser.h"

namespace glider::test {

struct Received {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class WindowRecorder {
 public:
  WindowRecorder();
  ~WindowRecorder();
  HWND Create(DWORD style = WS_POPUP, DWORD exStyle = 0, HWND parent = nullptr, RECT r = {0, 0, 100, 100});
  std::vector<Received> Of(HWND hwnd, UINT message) const;
  std::vector<UINT> MessagesOf(HWND hwnd) const;
  void Clear();
  // Called for every message before it is recorded; a result stops default handling.
  std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT*)> hook;

  std::vector<Received> log;
  const wchar_t* className() const { return name_.c_str(); }

 private:
  static LRESULT CALLBACK_Proc(HWND, UINT, WPARAM, LPARAM);
  std::wstring name_;
};

// Pumps the calling thread's queue until it is empty.
void PumpMessages();

// Polls cond on the calling thread until it holds or the deadline passes.
bool Eventually(const std::function<bool()>& cond, int timeoutMs = 5000);

}  // namespace glider::test
