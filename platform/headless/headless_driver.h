// The test driver: the same window records with no screen. Tests answer message boxes,
// click and type at screen points, set the work area and read where windows are.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/core/window/driver.h"

namespace glider::headless {

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::wstring text;
  std::wstring caption;
  UINT type = 0;
  int answer = 0;
};

struct SystemLoopRecord {
  HWND hwnd = nullptr;
  bool sizing = false;
  int edge = 0;
};

class HeadlessDriver : public core::Driver {
 public:
  RECT WorkArea() override;
  int MessageBox(const core::MessageBoxRequest& request) override;
  void Wait(core::ThreadQueue& queue, int timeoutMs) override;
  void Wake(core::ThreadQueue& queue) override {}
  void BeginSystemMove(core::Window& w) override;
  void BeginSystemSize(core::Window& w, int edge) override;
  void ToggleDesktop() override;
  void SetCursor(int systemCursorId) override;
  void WindowActivated(core::Window& w) override;
  std::unique_ptr<core::WebEngine> CreateWebEngine(core::Window& w, core::WebEngineHost& host) override;
  std::vector<std::wstring> UrlCacheEntries() override;
  bool DeleteUrlCacheEntry(const std::wstring& sourceUrl) override;

  // Test side; callable from any thread.
  void SetWorkArea(const RECT& r);
  // Answers every message box at once; without one, boxes stay open until AnswerMessageBox.
  void SetMessageBoxAnswerer(std::function<int(const core::MessageBoxRequest&)> answerer);
  std::vector<MessageBoxRecord> MessageBoxes();
  int OpenMessageBoxes();
  // Answers the oldest open message box; false when none is open.
  bool AnswerMessageBox(int answer);
  std::vector<SystemLoopRecord> SystemLoops();
  int DesktopToggles();
  int CurrentCursor();
  int NativeActivations();
  // The engines' stored data as the URL cache lists it.
  void SetUrlCache(std::vector<std::wstring> entries);
  std::vector<std::wstring> UrlCache();

 private:
  std::mutex mutex_;
  RECT workArea_{0, 0, 1920, 1040};
  std::function<int(const core::MessageBoxRequest&)> answerer_;
  std::vector<MessageBoxRecord> boxes_;
  std::vector<size_t> open_;
  std::vector<SystemLoopRecord> loops_;
  int desktopToggles_ = 0;
  int cursor_ = 0;
  int activations_ = 0;
  std::vector<std::wstring> urlCache_;
};

// Installs the headless driver for the process (test mains call this once).
HeadlessDriver& Install();
HeadlessDriver& Driver();

// Runs fn on the user-interface thread and waits for it.
void RunOnUi(const std::function<void()>& fn);

// Pointer and keyboard input at screen points, delivered on the user-interface thread.
void MouseMove(POINT screen, WPARAM keys = 0);
void MouseDown(POINT screen, UINT message = 0x0201);
void MouseUp(POINT screen, UINT message = 0x0202);
void Click(POINT screen);
void DoubleClick(POINT screen);
void PointerLeave();
void Key(HWND target, int virtualKey, bool down);

// Waits until cond holds (checked on the user-interface thread) or the deadline passes.
// Call it from a thread other than the user-interface thread.
bool WaitUntil(const std::function<bool()>& cond, int timeoutMs = 5000);

}  // namespace glider::headless
